#include "app/Display.h"

#include <QProcess>
#include <QtTest>
#include <cstdio>

namespace {
constexpr auto kFailingStart = "--start-that-cannot-connect";

// A start as the program makes it, whose application then cannot connect, as Qt says it.
int FailingStart(char** argv)
{
    std::printf("start %s\n", qgetenv("TENARAI_DISPLAY_ATTEMPT").constData());
    std::fflush(stdout);
    TDisplayProbe::RetryFailedStarts(argv);
    qFatal("This application failed to start because no Qt platform plugin could be initialized.");
}
} // namespace

class TestDisplay : public QObject
{
    Q_OBJECT

private slots:
    // The X server may reset the application's connection; the start is made again, a few
    // times, then the program says why it ends and exits 1, never with a core dump.
    void failedStartsAreMadeAgain()
    {
        QProcess start;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "xcb");
        environment.remove("TENARAI_DISPLAY_ATTEMPT");
        start.setProcessEnvironment(environment);
        start.start(QCoreApplication::applicationFilePath(), {kFailingStart});
        QVERIFY(start.waitForFinished(20000));
        QCOMPARE(start.exitStatus(), QProcess::NormalExit);
        QCOMPARE(start.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(start.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
                 QStringList({"start ", "start 2", "start 3", "start 4", "start 5"}));
        QVERIFY(QString::fromUtf8(start.readAllStandardError())
                    .endsWith("tenarai: ディスプレイに接続できません。\n"));
    }

    // Another platform needs no X: nothing is retried, and Qt's failure stays Qt's.
    void otherPlatformsAreLeftAlone()
    {
        QProcess start;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        start.setProcessEnvironment(environment);
        start.start(QCoreApplication::applicationFilePath(), {kFailingStart});
        QVERIFY(start.waitForFinished(20000));
        QCOMPARE(start.exitStatus(), QProcess::CrashExit);
        QCOMPARE(start.readAllStandardOutput(), QByteArray("start \n"));
    }
};

int main(int argc, char** argv)
{
    if (argc == 2 && qstrcmp(argv[1], kFailingStart) == 0)
        return FailingStart(argv);
    QCoreApplication app(argc, argv);
    TestDisplay test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_display.moc"
