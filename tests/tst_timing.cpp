#include "FormFixture.h"
#include "app/Application.h"
#include "app/study/ReferenceWindow.h"
#include "practice/ElapsedTime.h"

#include <QSoundEffect>

// Time under the learner's hand: pause, more time, breaks and cues, with a clock the test moves.
class TestTiming : public QObject
{
    Q_OBJECT

private:
    // The window's clock texts once the timer has shown the clock's reading.
    static void ClocksRead(TFormFixture& f, const QString& draw, const QString& total)
    {
        QTRY_COMPARE(f.Text("DrawTimeText"), draw);
        QCOMPARE(f.Text("TotalDrawTimeText"), total);
    }

private slots:
    // Space stops both clocks with the drawing kept; Space again, or the next press, carries
    // on from where the drawing clock stood, and the total leaves the pause out.
    void pauseKeepsTheDrawing()
    {
        TFormFixture f;
        QAction* pause = f.Command("PauseCommand");
        f.Key(Qt::Key_Space); // nothing under way: nothing happens
        QVERIFY(!f.Form->ClocksRunning());
        QCOMPARE(pause->text(), "一時停止");

        f.Stroke(QPoint(100, 100), QPoint(300, 100));
        f.Clock.Advance(1000);
        ClocksRead(f, "00:01.000", "00:01.000");
        const QImage drawn = f.Pixels().copy();
        f.Key(Qt::Key_Space);
        QVERIFY(!f.Form->ClocksRunning());
        QCOMPARE(pause->text(), "再開");
        QVERIFY(f.Bar()->isVisible());
        QCOMPARE(f.Bar()->Text(), "一時停止中");
        f.Clock.Advance(60000);
        QCOMPARE(f.Text("DrawTimeText"), "00:01.000");
        QCOMPARE(f.Pixels(), drawn);
        QVERIFY(f.Form->Thumbnails().isEmpty());

        f.Key(Qt::Key_Space);
        QVERIFY(f.Form->ClocksRunning());
        QCOMPARE(pause->text(), "一時停止");
        f.Clock.Advance(500);
        ClocksRead(f, "00:01.500", "00:01.500");
        QVERIFY(!f.Bar()->isVisible());

        // Paused again, resumed by a stroke this time.
        f.Key(Qt::Key_Space);
        f.Clock.Advance(30000);
        f.Stroke(QPoint(100, 200), QPoint(300, 200));
        QVERIFY(f.Form->ClocksRunning());
        f.Clock.Advance(500);
        ClocksRead(f, "00:02.000", "00:02.000");
        QTRY_COMPARE(pause->text(), "一時停止");

        // Finished while paused: stamped with the time drawn, the pause not in the total.
        f.Key(Qt::Key_Space);
        f.Clock.Advance(9000);
        f.Click("Next");
        QCOMPARE(f.Form->Thumbnails().size(), 1);
        QCOMPARE(f.Form->Thumbnails()[0].Stamp(), "00:02.000");
        QCOMPARE(f.Form->Thumbnails()[0].TotalMs(), 2000);
        f.Clock.Advance(4000);
        f.Stroke(QPoint(100, 300), QPoint(300, 300));
        f.Clock.Advance(250);
        ClocksRead(f, "00:00.250", "00:02.250");
    }

    // A limited drawing paused halfway is finished when its drawn time reaches the limit.
    void pausedDrawingEndsAtItsLimit()
    {
        TFormFixture f;
        f.Form->SetPlan(*TPlan::Parse("1x3s"), false);
        f.Stroke(QPoint(100, 100), QPoint(300, 100));
        f.Clock.Advance(1500);
        ClocksRead(f, "00:01.500", "00:01.500");
        f.Key(Qt::Key_Space);
        f.Clock.Advance(4000);
        QTest::qWait(60);
        QVERIFY(f.Form->Thumbnails().isEmpty());
        QVERIFY(!AllWhite(f.Pixels()));
        QCOMPARE(f.Bar()->Text(), "1/1 · 3秒 · 一時停止中");
        f.Key(Qt::Key_Space);
        f.Clock.Advance(1499);
        ClocksRead(f, "00:02.999", "00:02.999");
        QVERIFY(f.Form->Thumbnails().isEmpty());
        f.Clock.Advance(5000);
        QTRY_COMPARE(f.Form->Thumbnails().size(), 1);
        QCOMPARE(f.Form->Thumbnails()[0].Stamp(), "00:03.000");
        QCOMPARE(f.Form->Thumbnails()[0].TotalMs(), 3000);
    }

    // "+30秒" lengthens only the drawing under way; the stamp is the time drawn.
    void moreTimeForOneDrawing()
    {
        TFormFixture f;
        f.Form->SetPlan(*TPlan::Parse("30s"), false);
        QAction* more = f.Command("MoreTimeCommand");
        QVERIFY(!more->isEnabled()); // nothing under way
        f.Stroke(QPoint(100, 100), QPoint(300, 100));
        QTRY_VERIFY(more->isEnabled());
        f.Key(Qt::Key_Plus);
        f.Key(Qt::Key_Equal);
        QCOMPARE(f.Form->Thumbnails().size(), 0);
        f.Clock.Advance(60000);
        QTRY_COMPARE(f.Bar()->Text(), "1 · 1分30秒");
        QVERIFY(f.Form->Thumbnails().isEmpty());
        f.Clock.Advance(30000);
        QTRY_COMPARE(f.Form->Thumbnails().size(), 1);
        QCOMPARE(f.Form->Thumbnails()[0].Stamp(), "01:30.000");
        QCOMPARE(f.Bar()->Text(), "2 · 30秒");
        QVERIFY(!more->isEnabled());
    }

    // A break follows its drawing by itself, counts down on the bar, shows in the reference
    // window, is never a drawing, and a press ends it early.
    void breaksBetweenDrawings()
    {
        TFormFixture f;
        QTemporaryDir refs;
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QVERIFY(image.save(refs.filePath("a.png")));
        f.Form->OpenReferences(refs.path(), false);
        f.Form->SetPlan(*TPlan::Parse("1x2s,rest2s,1x2s,休憩1m,1x2s"), false);
        f.Stroke(QPoint(100, 100), QPoint(300, 100));
        f.Clock.Advance(2000);
        QTRY_COMPARE(f.Form->Thumbnails().size(), 1);
        QCOMPARE(f.Bar()->Text(), "休憩 0:02");
        QCOMPARE(f.Form->ReferenceWindow()->Notice(), "休憩");
        QCOMPARE(f.Text("NextCountText"), "1");
        f.Clock.Advance(1200);
        QTRY_COMPARE(f.Bar()->Text(), "休憩 0:01");
        f.Clock.Advance(800);
        QTRY_COMPARE(f.Bar()->Text(), "休憩終了");
        QVERIFY(f.Form->ReferenceWindow()->Notice().isEmpty());
        QVERIFY(!f.Form->ClocksRunning());

        f.Clock.Advance(10000); // waiting after the break counts nowhere
        f.Stroke(QPoint(100, 200), QPoint(300, 200));
        QTRY_COMPARE(f.Bar()->Text(), "1/1 · 2秒");
        f.Clock.Advance(2000);
        QTRY_COMPARE(f.Form->Thumbnails().size(), 2);
        QCOMPARE(f.Form->Thumbnails()[1].Stamp(), "00:02.000");
        QCOMPARE(f.Form->Thumbnails()[1].TotalMs(), 4000);

        // A minute's break, ended by the next press after ten seconds.
        QCOMPARE(f.Bar()->Text(), "休憩 1:00");
        f.Clock.Advance(10000);
        QTRY_COMPARE(f.Bar()->Text(), "休憩 0:50");
        f.Stroke(QPoint(100, 300), QPoint(300, 300));
        QTRY_COMPARE(f.Bar()->Text(), "1/1 · 2秒");
        QVERIFY(f.Form->ReferenceWindow()->Notice().isEmpty());
        f.Clock.Advance(2000);
        QTRY_COMPARE(f.Form->Thumbnails().size(), 3);
        QCOMPARE(f.Form->Thumbnails()[2].TotalMs(), 6000);
        QCOMPARE(f.Bar()->Text(), "プラン終了");
    }

    // The focused button never takes Space: after clicking "Next" it pauses.
    void spaceNeverPressesAButton()
    {
        TFormFixture f;
        f.Stroke(QPoint(100, 100), QPoint(300, 100));
        f.Click("Next");
        f.Button("Next")->setFocus();
        QVERIFY(f.Button("Next")->hasFocus());
        f.Stroke(QPoint(100, 200), QPoint(300, 200));
        f.Key(Qt::Key_Space);
        QCOMPARE(f.Form->Thumbnails().size(), 1);
        QVERIFY(!f.Form->ClocksRunning());
        QCOMPARE(f.Command("PauseCommand")->text(), "再開");
    }

    // Cues, when asked for: a blink at half time, then ticks in the last ten seconds; remembered.
    void cuesBeforeTimeUp()
    {
        TFormFixture f;
        QVERIFY(!f.Command("CuesCommand")->isChecked());
        f.Command("CuesCommand")->trigger();
        f.Form->SetPlan(*TPlan::Parse("20s"), false);
        const auto ticks = [&] {
            for (QSoundEffect* sound : f.Form->findChildren<QSoundEffect*>())
                if (sound->source().toString().endsWith("tick.wav"))
                    return true;
            return false;
        };
        f.Stroke(QPoint(100, 100), QPoint(300, 100));
        f.Clock.Advance(9000);
        ClocksRead(f, "00:09.000", "00:09.000");
        QVERIFY(!f.Bar()->Blinking());
        f.Clock.Advance(1000);
        QTRY_VERIFY(f.Bar()->Blinking());
        QVERIFY(ticks()); // ten seconds left
        f.Restart();
        QVERIFY(f.Command("CuesCommand")->isChecked());
    }
};

int main(int argc, char** argv)
{
    TApplication::PrepareStart();
    TApplication app(argc, argv);
    TestTiming test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_timing.moc"
