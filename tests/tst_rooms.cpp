#include "FakeDialogs.h"
#include "TestSupport.h"
#include "app/Commands.h"
#include "app/plan/CountdownBar.h"
#include "app/recovery/JournalKeeper.h"
#include "app/plan/PlanRunner.h"
#include "app/BottomBand.h"
#include "app/study/ReferencePane.h"
#include "app/study/ReferenceWindow.h"
#include "journal/Journal.h"
#include "practice/Practice.h"
#include "practice/PracticeTimer.h"
#include "practice/Thumbnail.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QtTest>
#include <sys/mount.h>

namespace {
TFinishedDrawing Drawing(const QString& stamp);

// A practice without a window, on a clock the test moves.
struct TPracticeRig
{
    void Press() { Timer.Press(); }
    void Finish(const QString& stamp = QStringLiteral("00:01.000"))
    {
        Timer.Stop();
        Practice.Add(Drawing(stamp));
    }
    void Tick() { emit Timer.Ticked(); }
    const TPracticeClocks& Clocks() const { return Timer.Clocks(); }

    TManualClock Clock;
    TPractice Practice{nullptr};
    TPracticeTimer Timer{Clock};
    TBitmap Canvas;
};

// Settings and state of the test's own, and a window to own the rooms.
class TRoomFixture
{
public:
    TRoomFixture()
    {
        qputenv("XDG_STATE_HOME", FState.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", FConfig.path().toLocal8Bit());
        Commands = std::make_unique<TCommands>(&Window);
        Band = std::make_unique<TBottomBand>(&Window);
    }

    TFakeDialogScope Dialogs;
    QWidget Window;
    std::unique_ptr<TCommands> Commands;
    std::unique_ptr<TBottomBand> Band;

private:
    QTemporaryDir FState;
    QTemporaryDir FConfig;
};

TFinishedDrawing Drawing(const QString& stamp)
{
    TBitmap canvas;
    canvas.SetSize(100, 100);
    canvas.Clear(TAlphaColors::White);
    return TFinishedDrawing::Pack(MakeThumbnail(canvas, stamp), stamp, 1000);
}
} // namespace

class TestRooms : public QObject
{
    Q_OBJECT

private slots:
    // The plan runner sets each drawing's limit, counts it down on the bar and says when time
    // is up, once per drawing; a plan chosen during a drawing starts with the next one.
    void planRunnerLimitsEachDrawing()
    {
        TRoomFixture f;
        TPracticeRig practice;
        TPlanRunner runner(practice.Practice, practice.Timer, *f.Commands, *f.Band, &f.Window);
        QSignalSpy timeUps(&runner, &TPlanRunner::TimeUp);
        auto* bar = f.Window.findChild<TCountdownBar*>("CountdownBar");
        QVERIFY(bar && bar->isHidden());

        runner.SetPlan(*TPlan::Parse("2x10s,1x1m"));
        QVERIFY(!bar->isHidden());
        QCOMPARE(practice.Clocks().LimitMs(), 10000);
        QCOMPARE(bar->Text(), "1/2 · 10秒");
        QCOMPARE(f.Commands->PlanEntry(runner.Plan())->isChecked(), true);

        practice.Press();
        practice.Clock.Advance(9999);
        practice.Tick();
        QCOMPARE(timeUps.size(), 0);
        QVERIFY(bar->Warning());
        practice.Clock.Advance(1);
        practice.Tick();
        QCOMPARE(timeUps.size(), 1);
        practice.Finish();
        QCOMPARE(bar->Text(), "2/2 · 10秒");

        // Chosen during the second drawing: that one keeps 10 s, the plan starts after it.
        practice.Press();
        runner.SetPlan(*TPlan::Parse("1x30s"));
        QCOMPARE(practice.Clocks().LimitMs(), 10000);
        practice.Clock.Advance(10000);
        practice.Tick();
        QCOMPARE(timeUps.size(), 2);
        practice.Finish();
        QCOMPARE(practice.Clocks().LimitMs(), 30000);
        QCOMPARE(bar->Text(), "1/1 · 30秒");
        practice.Finish();
        QCOMPARE(bar->Text(), "プラン終了");
        QCOMPARE(practice.Clocks().LimitMs(), 0);

        // A new practice starts the plan again; the plan is what the next start takes.
        practice.Practice.Clear();
        QCOMPARE(practice.Clocks().LimitMs(), 30000);
        TRoomFixture* same = &f;
        TPlanRunner next(practice.Practice, practice.Timer, *same->Commands, *same->Band, &same->Window);
        QCOMPARE(next.Plan(), *TPlan::Parse("1x30s"));
    }

    // The bottom band, and the bar in it, lie in the free band at the bottom, beside a wide
    // window's canvas, never over the top band.
    void bottomBandPlacesTheBar_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QRect>("canvas");
        QTest::addColumn<QRect>("bar");
        QTest::newRow("tall") << QSize(668, 727) << QRect(0, 31, 667, 667) << QRect(0, 709, 668, 18);
        QTest::newRow("wide") << QSize(1000, 500) << QRect(250, 0, 501, 501) << QRect(751, 482, 249, 18);
        QTest::newRow("no room") << QSize(200, 40) << QRect(0, 0, 200, 40) << QRect(0, 49, 200, 18);
    }
    void bottomBandPlacesTheBar()
    {
        QFETCH(QSize, window);
        QFETCH(QRect, canvas);
        QFETCH(QRect, bar);
        TRoomFixture f;
        f.Window.resize(window);
        f.Window.show();
        TPracticeRig practice;
        TPlanRunner runner(practice.Practice, practice.Timer, *f.Commands, *f.Band, &f.Window);
        runner.SetPlan(*TPlan::Parse("1x30s"), false);
        f.Band->Place(window, canvas);
        QCOMPARE(f.Band->Geometry(), bar);
        QCOMPARE(f.Window.findChild<TCountdownBar*>("CountdownBar")->geometry(), bar);
    }

    // The band lays out what is shown, left to right: the save's progress, the countdown in the
    // room left, the mirror mark at the right end even without a countdown.
    void bottomBandLaysOutWhatIsShown()
    {
        TRoomFixture f;
        f.Window.resize(668, 727);
        f.Window.show();
        QLabel progress("保存中 1/2", &f.Window), mark("反転表示中", &f.Window);
        QWidget countdown(&f.Window);
        for (QWidget* item : std::initializer_list<QWidget*>{&progress, &mark, &countdown})
            item->show();
        f.Band->Add(&mark, TBottomBand::TSlot::Mark);
        f.Band->Add(&countdown, TBottomBand::TSlot::Countdown);
        f.Band->Add(&progress, TBottomBand::TSlot::Progress);
        f.Band->Place(QSize(668, 727), QRect(0, 31, 667, 667));
        QCOMPARE(mark.geometry().right(), 667);
        QCOMPARE(progress.geometry().left(), 0);
        QCOMPARE(countdown.geometry().left(), progress.geometry().right() + 1);
        QCOMPARE(countdown.geometry().right() + 1, mark.geometry().left());
        countdown.hide();
        progress.hide();
        QCOMPARE(mark.geometry().right(), 667);
        QCOMPARE(mark.geometry().top(), 709);
    }

    // The journal keeper snapshots the canvas only when it changed, writes each finished
    // drawing, warns once when it cannot write, and offers a stale practice back.
    void journalKeeperKeepsThePractice()
    {
        TRoomFixture f;
        TPracticeRig practice;
        practice.Canvas.SetSize(40, 40);
        practice.Canvas.Clear(TAlphaColors::White);
        {
            TJournalKeeper keeper(practice.Practice, practice.Timer, practice.Canvas, nullptr);
            keeper.Flush();
            QVERIFY(keeper.Journal().Folder().isEmpty());
            keeper.CanvasChanged();
            keeper.Flush();
            const QString folder = keeper.Journal().Folder();
            QVERIFY(QFile::exists(folder + "/canvas-000001.png"));
            QVERIFY(QFile::remove(folder + "/canvas-000001.png"));
            keeper.Flush(); // unchanged: nothing is written again
            QVERIFY(!QFile::exists(folder + "/canvas-000001.png"));

            practice.Finish("00:01.500");
            keeper.Flush();
            QVERIFY(QFile::exists(folder + "/drawing-000001.png"));
            QVERIFY(!QFile::exists(folder + "/canvas-000001.png"));
        }

        TPracticeRig later;
        TJournalKeeper next(later.Practice, later.Timer, later.Canvas, nullptr);
        QStringList restored;
        connect(&next, &TJournalKeeper::RestoreRequested, this, [&](const TRecoveredPractice& practice) {
            for (const TFinishedDrawing& drawing : practice.Drawings)
                restored << drawing.Stamp();
        });
        f.Dialogs.Log.Answers = {mrYes};
        next.Recover();
        QTRY_VERIFY(!next.IsRecovering());
        QCOMPARE(f.Dialogs.Log.Questions,
                 QStringList{"前回の練習が保存されないまま残っています（1枚）。復元しますか？"});
        QCOMPARE(restored, QStringList{"00:01.500"});
        // Carried on in its own folder: the next drawing joins it.
        later.Finish("00:02.000");
        next.Flush();
        QVERIFY(QFile::exists(next.Journal().Folder() + "/drawing-000002.png"));

        // Unwritable: one message however many writes fail.
        later.Practice.Clear();
        QTemporaryDir elsewhere;
        qputenv("XDG_STATE_HOME", elsewhere.path().toLocal8Bit());
        QFile blocker(elsewhere.filePath("tenarai"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        TPracticeRig third;
        TJournalKeeper blocked(third.Practice, third.Timer, third.Canvas, nullptr);
        for (int i = 0; i < 3; ++i)
            third.Finish();
        blocked.Flush();
        QTRY_COMPARE(f.Dialogs.Log.Messages.size(), 1);
        QTest::qWait(20);
        QCOMPARE(f.Dialogs.Log.Messages.size(), 1);
    }

    // A journal in a state folder that cannot be written, read only or full, is offered all the
    // same, and the user is told that the practice cannot be kept until it can.
    void journalInAFolderThatCannotBeWritten_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("deadLock"); // the killed program's lock is still there
        QTest::newRow("read only") << "read only" << false;
        QTest::newRow("read only, lock left") << "read only" << true;
        QTest::newRow("full") << "full" << false;
    }
    void journalInAFolderThatCannotBeWritten()
    {
        QFETCH(QString, folder);
        QFETCH(bool, deadLock);
        TRoomFixture f;
        TPracticeRig practice;
        const QString root = qEnvironmentVariable("XDG_STATE_HOME") + "/tenarai";
        QVERIFY(QDir().mkpath(root));
        if (::mount("tmpfs", qPrintable(root), "tmpfs", 0, "size=256k") != 0)
            QSKIP("no tmpfs can be mounted here");
        const auto unmount = qScopeGuard([&] { ::umount(qPrintable(root)); });
        QString journal;
        {
            TJournalKeeper keeper(practice.Practice, practice.Timer, practice.Canvas, nullptr);
            practice.Finish("00:01.500");
            keeper.Flush();
            journal = keeper.Journal().Folder();
        }
        if (deadLock) // as a program killed at once leaves it: a process that is gone
            WriteText(journal + ".lock", "999999\ntenarai\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        if (folder == "full") {
            QFile filler(root + "/filler");
            QVERIFY(filler.open(QIODevice::WriteOnly));
            const QByteArray block(4096, 'x');
            while (filler.write(block) == block.size() && filler.flush()) {
            }
        } else {
            QCOMPARE(::mount("tmpfs", qPrintable(root), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=256k"), 0);
        }

        TPracticeRig later;
        TJournalKeeper next(later.Practice, later.Timer, later.Canvas, nullptr);
        QStringList restored;
        connect(&next, &TJournalKeeper::RestoreRequested, this, [&](const TRecoveredPractice& practice) {
            for (const TFinishedDrawing& drawing : practice.Drawings)
                restored << drawing.Stamp();
        });
        f.Dialogs.Log.Answers = {mrYes};
        next.Recover();
        QTRY_VERIFY(!next.IsRecovering());
        QCOMPARE(f.Dialogs.Log.Questions,
                 QStringList{"前回の練習が保存されないまま残っています（1枚）。復元しますか？"});
        QCOMPARE(restored, QStringList{"00:01.500"});
        QCOMPARE(f.Dialogs.Log.Messages.size(), 1);
        QVERIFY2(f.Dialogs.Log.Messages[0].startsWith("一時保存のフォルダーに書き込めません。"),
                 qPrintable(f.Dialogs.Log.Messages[0]));
        // The journal is still there to be offered again.
        QVERIFY(QFileInfo::exists(journal + "/drawing-000001.png"));
        // Drawing on: the failing writes add no second message.
        later.Finish("00:02.000");
        next.Flush();
        QTest::qWait(20);
        QCOMPARE(f.Dialogs.Log.Messages.size(), 1);
    }

    // A journal that holds only the drawing in progress says so, not "0枚".
    void journalWithOnlyTheDrawingInProgress()
    {
        TRoomFixture f;
        TPracticeRig practice;
        practice.Canvas.SetSize(40, 40);
        practice.Canvas.Clear(TAlphaColors::White);
        {
            TJournalKeeper keeper(practice.Practice, practice.Timer, practice.Canvas, nullptr);
            keeper.CanvasChanged();
            keeper.Flush();
        }
        TJournalKeeper next(practice.Practice, practice.Timer, practice.Canvas, nullptr);
        f.Dialogs.Log.Answers = {mrNo};
        next.Recover();
        QTRY_VERIFY(!next.IsRecovering());
        QCOMPARE(f.Dialogs.Log.Questions,
                 QStringList{"前回の練習が保存されないまま残っています（描きかけの絵）。復元しますか？"});
    }

    // The reference pane links each drawing to the reference on show, with its view; nothing
    // is linked before one is shown or after the pane is closed.
    void referencePaneLinksTheShownReference()
    {
        TRoomFixture f;
        TReferencePane pane(*f.Commands, &f.Window);
        QCOMPARE(pane.CurrentLink(), TReferenceLink());
        QTemporaryDir refs;
        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(refs.filePath("only.png")));

        pane.Open(refs.path());
        QVERIFY(f.Commands->SkipReference->isEnabled());
        QTRY_VERIFY(!pane.Window()->View().isNull());
        pane.Window()->findChild<QAction*>("GreyCommand")->trigger();
        const TReferenceLink link = pane.CurrentLink();
        QCOMPARE(link.Path, refs.filePath("only.png"));
        QVERIFY(link.Grey && !link.Mirror);

        f.Commands->CloseReferences->trigger();
        QVERIFY(!pane.Window()->isVisible());
        QVERIFY(!f.Commands->SkipReference->isEnabled());
        QCOMPARE(pane.CurrentLink(), TReferenceLink());
    }
};

QTEST_MAIN(TestRooms)
#include "tst_rooms.moc"
