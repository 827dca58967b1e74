#include "app/Language.h"

#include "app/DialogService.h"
#include "app/Settings.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace {
struct TTexts
{
    TLanguage Language = TLanguage::Japanese;
    QTranslator Ours;                       // the embedded translation of Tenarai's texts
    QTranslator Qts;                        // Qt's own dialogs and buttons
    QPointer<QCoreApplication> InstalledOn; // translators go with the application they are on
};

TTexts& Texts()
{
    static TTexts texts;
    return texts;
}
} // namespace

std::optional<TLanguage> LanguageNamed(const QString& code)
{
    if (code == QLatin1String("ja"))
        return TLanguage::Japanese;
    if (code == QLatin1String("en"))
        return TLanguage::English;
    return std::nullopt;
}

QString LanguageCode(TLanguage language)
{
    return language == TLanguage::English ? QStringLiteral("en") : QStringLiteral("ja");
}

TLanguage ChosenLanguage(const QStringList& arguments)
{
    // Only a well-formed choice counts here; the command line's reader names a bad one.
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if ((argument == QLatin1String("--language") || argument == QLatin1String("-language")) &&
            i + 1 < arguments.size())
            return LanguageNamed(arguments[i + 1]).value_or(TLanguage::Japanese);
        for (const QLatin1String prefix : {QLatin1String("--language="), QLatin1String("-language=")})
            if (argument.startsWith(prefix))
                return LanguageNamed(argument.mid(prefix.size())).value_or(TLanguage::Japanese);
    }
    return LanguageNamed(OpenSettings()->value(QLatin1String(Settings::Language)).toString())
        .value_or(TLanguage::Japanese);
}

void ChooseLanguage(TLanguage language)
{
    OpenSettings()->setValue(QLatin1String(Settings::Language), LanguageCode(language));
    // In the language chosen, which the one who chose it reads.
    ShowMessage(language == TLanguage::English
                    ? QStringLiteral("Tenarai will be in English from its next start.")
                    : QStringLiteral("次回の起動から日本語で表示されます。"));
}

void LoadLanguage(TLanguage language)
{
    TTexts& texts = Texts();
    if (texts.InstalledOn) {
        QCoreApplication::removeTranslator(&texts.Ours);
        QCoreApplication::removeTranslator(&texts.Qts);
        texts.InstalledOn = nullptr;
    }
    texts.Language = language;
    if (language == TLanguage::English) {
        // Qt's own texts are English already.
        [[maybe_unused]] const bool loaded = texts.Ours.load(QStringLiteral(":/i18n/tenarai_en.qm"));
        Q_ASSERT(loaded);
        [[maybe_unused]] const bool cleared = texts.Qts.load(QString());
    } else {
        [[maybe_unused]] const bool cleared = texts.Ours.load(QString());
        [[maybe_unused]] const bool loaded =
            texts.Qts.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    }
    if (QCoreApplication::instance())
        InstallLanguage();
}

void InstallLanguage()
{
    TTexts& texts = Texts();
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || texts.InstalledOn == app)
        return;
    QCoreApplication::installTranslator(&texts.Qts);
    QCoreApplication::installTranslator(&texts.Ours);
    texts.InstalledOn = app;
}

TLanguage CurrentLanguage()
{
    return Texts().Language;
}

QString TerminalText(const char* source)
{
    const QString text = Texts().Ours.translate("Terminal", source);
    return text.isEmpty() ? QString::fromUtf8(source) : text;
}
