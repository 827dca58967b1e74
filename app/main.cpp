#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Display.h"
#include "app/Language.h"
#include "app/MainUnit.h"
#include "app/UnixSignals.h"
#include "history/Database.h"
#include "history/History.h"
#include "raster/Error.h"

#include <QSessionManager>
#include <csignal>
#include <cstdio>

int main(int argc, char** argv)
{
    // The command line is read before anything needs a display, so a mistake in it never
    // opens a window.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Japanese unless the user chose English; the terminal's messages follow the choice too.
    LoadLanguage(ChosenLanguage(arguments));
    TCommandLine commandLine;
    {
        // An application without a display, only while the command line is read and a record
        // exported, so that what reads it (a plan's faults too) speaks the chosen language.
        QCoreApplication reading(argc, argv);
        InstallLanguage();
        commandLine = ReadCommandLine(arguments);
        if (commandLine.ExitCode) {
            std::fputs(commandLine.Output.toLocal8Bit().constData(), stdout);
            std::fputs(commandLine.Error.toLocal8Bit().constData(), stderr);
            return *commandLine.ExitCode;
        }
        if (!commandLine.ExportHistory.isEmpty()) {
            // No window: the record is read and written, and the program ends.
            try {
                THistoryDatabase(THistory::DefaultPath()).ExportCsv(commandLine.ExportHistory);
            } catch (const EError& error) {
                std::fputs(
                    TerminalText(QT_TRANSLATE_NOOP("Terminal", "tenarai: 練習の記録を書き出せませんでした: %1\n"))
                        .arg(error.Message())
                        .toLocal8Bit()
                        .constData(),
                    stderr);
                return 1;
            }
            return 0;
        }
    }

    // Past a file-size limit a write then fails with EFBIG and is reported like any other,
    // instead of the signal ending the program with a temporary file left behind.
    std::signal(SIGXFSZ, SIG_IGN);
    TDisplayProbe display;
    if (!display.Reach()) {
        std::fputs(TerminalText(QT_TRANSLATE_NOOP("Terminal", "tenarai: ディスプレイに接続できません。\n")).toLocal8Bit().constData(),
                   stderr);
        return 1;
    }
    TDisplayProbe::RetryFailedStarts(argv);
    TApplication::PrepareStart();
    TApplication app(argc, argv);
    display.Release();
    // Our texts and Qt's own dialogs and buttons in the chosen language.
    InstallLanguage();
    TMainForm MainForm;
    if (commandLine.Plan)
        MainForm.SetPlan(*commandLine.Plan, false);
    MainForm.SetResultFolder(commandLine.ResultFolder);
    MainForm.show();
    if (!commandLine.References.isEmpty())
        MainForm.OpenReferences(commandLine.References, false);
    else
        MainForm.ReopenReferences();
    MainForm.RecoverPractice();

    // A logout, a shutdown or a closed terminal: no question can be asked, so the practice goes
    // to the journal, where the next start offers it back.
    TUnixSignals stops({SIGTERM, SIGHUP});
    QObject::connect(&stops, &TUnixSignals::Received, &MainForm, [&MainForm] {
        MainForm.FlushJournal();
        QCoreApplication::exit(0);
    });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &MainForm,
                     [&MainForm](QSessionManager&) { MainForm.FlushJournal(); });
    return app.exec();
}
