#ifndef TENARAI_APP_SETTINGS_H
#define TENARAI_APP_SETTINGS_H

#include <QSettings>
#include <memory>

namespace Settings {
// Keys of what the program remembers between runs.
inline constexpr auto Plan = "practice/plan";
inline constexpr auto TimeUpSound = "practice/timeUpSound";
inline constexpr auto Cues = "practice/cues";
inline constexpr auto ReferenceFolder = "references/folder";
inline constexpr auto ReferenceGrey = "references/grey";
inline constexpr auto ReferenceMirror = "references/mirror";
inline constexpr auto ReferenceOnTop = "references/onTop";
inline constexpr auto ReferenceFlip = "references/flip";
inline constexpr auto ReferenceBlur = "references/blur";
inline constexpr auto ReferenceTones = "references/tones";
inline constexpr auto ReferenceMemory = "references/memorySeconds";
inline constexpr auto Grid = "references/grid";
inline constexpr auto ReferenceGeometry = "references/geometry";
inline constexpr auto ReviewGeometry = "review/geometry";
inline constexpr auto ReviewAfterPlan = "review/afterPlan";
inline constexpr auto RecordGeometry = "record/geometry";
inline constexpr auto Language = "interface/language"; // "ja" or "en"
} // namespace Settings

/**
 * @brief The program's settings, where QSettings keeps those of organisation "io.github.tenarai"
 * and application "Tenarai" ($XDG_CONFIG_HOME/io.github.tenarai/Tenarai.conf).
 *
 * The folder is looked up at every call, not once per process as QSettings does, so tests can
 * give each window a settings file of its own.
 */
std::unique_ptr<QSettings> OpenSettings();

#endif
