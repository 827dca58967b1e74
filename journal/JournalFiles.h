#ifndef TENARAI_JOURNAL_JOURNALFILES_H
#define TENARAI_JOURNAL_JOURNALFILES_H

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <optional>

// The files of a journal folder, shared by the journal that writes them and the recovery that
// reads them back.
namespace JournalFiles {
inline const auto Manifest = QStringLiteral("manifest.json");
inline const auto Format = QStringLiteral("tenarai-journal");
inline constexpr auto DrawKey = "DrawMs";
inline constexpr auto TotalKey = "TotalMs";
// Where files that could not be read are kept, below the state folder.
inline const auto AsideFolder = QStringLiteral("unreadable");

QString DrawingName(int number);
QString CanvasName(int number);
// The kept copy of drawing `number`'s reference: "reference-000001.jpg" or ".png".
QString ReferenceName(int number, const QString& suffix);
// The number in a drawing file's name, or 0 when the name is not one of ours.
int DrawingNumber(const QString& name);

/**
 * @brief A regular file's bytes, or nothing. Symbolic links are not followed, and a FIFO or
 * device is refused before anything is read from it, so a hostile journal cannot make the
 * program hang or read outside its folder.
 */
std::optional<QByteArray> ReadPlainFile(const QString& path);
// The canvas of the drawing in progress, with its clocks when they were kept.
QImage ReadCanvas(const QString& path, qint64& drawMs, qint64& totalMs);
// Writes the file atomically; raises EError.
void WriteBytes(const QString& path, const QByteArray& bytes);
QString CannotMake(const QString& path, int err);

enum class TUnread
{
    Remove,   // the practice was saved or thrown away
    SetAside, // drawing files left unread go to "<root>/unreadable/<journal>/", never away
};
/**
 * @brief Clears a journal folder of every file but those named in `keep`. What could not be
 * read today may be mended by hand, so recovery sets unread drawing files aside. Links go,
 * never what they point to.
 */
void ClearFolder(const QString& folder, const QStringList& keep = {}, TUnread unread = TUnread::Remove);
} // namespace JournalFiles

#endif
