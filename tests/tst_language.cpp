#include "FormFixture.h"
#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/DialogService.h"
#include "app/Language.h"
#include "app/Settings.h"

#include <QMenu>

namespace {
QStringList TopBand(const TFormFixture& f)
{
    QStringList texts;
    for (const char* button : {"Finish", "StartButton", "UsePenButton", "UseEraserButton", "Next"})
        texts << f.Button(button)->text();
    for (const char* label : {"Text1", "Text2", "NextCountTextLabel"})
        texts << f.Text(label);
    return texts;
}

QStringList MenuTexts(const TFormFixture& f)
{
    QStringList texts;
    for (QAction* a : f.Form->ProgramMenu()->actions())
        if (!a->isSeparator())
            texts << a->text();
    return texts;
}
} // namespace

// Japanese unless English is chosen, whatever the system's locale says.
class TestLanguage : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { LoadLanguage(TLanguage::Japanese); }

    // Started under an English locale, the window is today's Japanese one.
    void japaneseWhateverTheLocale()
    {
        QCOMPARE(qgetenv("LANG"), "en_US.UTF-8");
        TFormFixture f;
        QCOMPARE(ChosenLanguage({"tenarai"}), TLanguage::Japanese);
        LoadLanguage(ChosenLanguage({"tenarai"}));
        f.Restart(false);
        QCOMPARE(TopBand(f), (QStringList{"結果を保存", "リセット", "ペン", "消しゴム", "Next", "経過時間",
                                          "総経過時間", "描いた枚数"}));
        QCOMPARE(f.Form->windowTitle(), "名前は決まっていません");
        QCOMPARE(MenuTexts(f).first(), "練習プラン");
        QCOMPARE(MenuTexts(f).last(), "Tenarai について");
        const std::unique_ptr<QMessageBox> box = MakeConfirmationBox(QStringLiteral("?"), mbNo);
        QCOMPARE(box->windowTitle(), "確認");
        QVERIFY(BoxButton(box.get(), "はい") && BoxButton(box.get(), "いいえ"));
        // Qt's own buttons speak Japanese too.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), "キャンセル");
    }

    void englishByChoice()
    {
        TFormFixture f;
        LoadLanguage(TLanguage::English);
        f.Restart(false);
        QCOMPARE(TopBand(f), (QStringList{"Save results", "Reset", "Pen", "Eraser", "Next", "Time",
                                          "Total time", "Drawings"}));
        QCOMPARE(f.Form->windowTitle(), "Untitled");
        const QStringList menu = MenuTexts(f);
        QCOMPARE(menu.first(), "Practice plan");
        QVERIFY(menu.contains("Review") && menu.contains("Practice record") && menu.contains("日本語"));
        const std::unique_ptr<QMessageBox> box = MakeConfirmationBox(QStringLiteral("?"), mbNo);
        QCOMPARE(box->windowTitle(), "Confirm");
        QVERIFY(BoxButton(box.get(), "Yes") && BoxButton(box.get(), "No"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
        // The practice's own words: a save with nothing to save.
        f.Click("Finish");
        QCOMPARE(f.Dialogs.Log.Messages, QStringList{"Nothing to save yet: no drawings"});
        // The clocks read the same digits in either language.
        QCOMPARE(f.Text("DrawTimeText"), "00:00.000");
    }

    // --language wins over the remembered choice, which wins over nothing; a bad one is named.
    void theChoice_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("remembered");
        QTest::addColumn<TLanguage>("language");
        QTest::newRow("nothing") << QStringList{"tenarai"} << "" << TLanguage::Japanese;
        QTest::newRow("remembered") << QStringList{"tenarai"} << "en" << TLanguage::English;
        QTest::newRow("asked") << QStringList{"tenarai", "--language", "en"} << "" << TLanguage::English;
        QTest::newRow("asked, with =") << QStringList{"tenarai", "--language=en"} << "" << TLanguage::English;
        QTest::newRow("asked over remembered")
            << QStringList{"tenarai", "--language", "ja"} << "en" << TLanguage::Japanese;
        QTest::newRow("unknown") << QStringList{"tenarai", "--language", "fr"} << "en" << TLanguage::Japanese;
    }
    void theChoice()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, remembered);
        QFETCH(TLanguage, language);
        TFormFixture f;
        if (!remembered.isEmpty())
            OpenSettings()->setValue("interface/language", remembered);
        QCOMPARE(ChosenLanguage(arguments), language);
    }

    // The terminal speaks the chosen language: help, and a bad option.
    void commandLineInTheChosenLanguage()
    {
        LoadLanguage(TLanguage::English);
        const TCommandLine help = ReadCommandLine({"tenarai", "--language", "en", "--help"});
        QCOMPARE(help.ExitCode, 0);
        QVERIFY2(help.Output.startsWith("Usage: tenarai [options]") &&
                     help.Output.contains("--language ja|en"),
                 qPrintable(help.Output));
        const TCommandLine bad = ReadCommandLine({"tenarai", "--language", "fr"});
        QCOMPARE(bad.ExitCode, 2);
        QCOMPARE(bad.Error, "tenarai: --language takes ja or en: fr\nSee tenarai --help for more.\n");
        const TCommandLine plan = ReadCommandLine({"tenarai", "--plan", "10x"});
        QVERIFY2(plan.Error.startsWith("tenarai: Cannot read the value of --plan: \"10x\": "),
                 qPrintable(plan.Error));
        LoadLanguage(TLanguage::Japanese);
        QVERIFY(ReadCommandLine({"tenarai", "--help"}).Output.startsWith("使い方: tenarai [オプション]"));
    }

    // The menu's entry names the other language in itself; the choice is the next start's.
    void theMenuEntryRemembersTheOther()
    {
        TFormFixture f;
        QAction* entry = f.Command("LanguageCommand");
        QCOMPARE(entry->text(), "English");
        entry->trigger();
        QCOMPARE(f.Dialogs.Log.Messages, QStringList{"Tenarai will be in English from its next start."});
        QCOMPARE(ChosenLanguage({"tenarai"}), TLanguage::English);
        QCOMPARE(f.Button("Finish")->text(), "結果を保存"); // this run stays as it is
    }
};

int main(int argc, char** argv)
{
    qputenv("LANG", "en_US.UTF-8");
    qputenv("LANGUAGE", "en");
    qputenv("LC_ALL", "en_US.UTF-8");
    TApplication::PrepareStart();
    TApplication app(argc, argv);
    LoadLanguage(TLanguage::Japanese);
    TestLanguage test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_language.moc"
