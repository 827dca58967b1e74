#ifndef TENARAI_APP_LANGUAGE_H
#define TENARAI_APP_LANGUAGE_H

#include <QString>
#include <QStringList>
#include <optional>

class QCoreApplication;

// The languages Tenarai speaks: Japanese, its own, in which every text is written, and English.
enum class TLanguage
{
    Japanese,
    English
};

std::optional<TLanguage> LanguageNamed(const QString& code); // "ja" or "en"
QString LanguageCode(TLanguage language);

/**
 * @brief The language of this run: `--language` on the command line, else the one chosen in the
 * menu and remembered, else Japanese. The system's locale (LANG, LANGUAGE) has no say.
 */
TLanguage ChosenLanguage(const QStringList& arguments);
// Remembers the language the next start takes, and says so in that language.
void ChooseLanguage(TLanguage language);

/**
 * @brief Takes the language's texts: at once for the terminal's, and for the windows and Qt's own
 * dialogs once InstallLanguage has put them on the application. Japanese needs no translation
 * of ours, only Qt's own in Japanese.
 */
void LoadLanguage(TLanguage language);
void InstallLanguage();
TLanguage CurrentLanguage();

// A text for the terminal, in the loaded language even before the application exists. The
// source is marked with QT_TRANSLATE_NOOP("Terminal", ...).
QString TerminalText(const char* source);

#endif
