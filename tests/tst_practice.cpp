#include "TestSupport.h"
#include "practice/DrawingSheet.h"
#include "practice/ElapsedTime.h"
#include "practice/Plan.h"
#include "practice/PracticeClocks.h"
#include "practice/Thumbnail.h"
#include "raster/Canvas.h"

#include <QtTest>

class TestPractice : public QObject
{
    Q_OBJECT

private:
    // A white n × n sheet, fitted as the window would fit it.
    static TDrawingSheet WhiteSheet(int n)
    {
        TDrawingSheet sheet;
        sheet.Refit(QSizeF(n, n));
        return sheet;
    }

private slots:
    void elapsedText_data()
    {
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<QString>("text");
        QTest::newRow("nothing") << qint64(0) << "00:00.000";
        QTest::newRow("one minute, one second, 234 ms") << qint64(61234) << "01:01.234";
        QTest::newRow("a millisecond short of an hour") << qint64(3599999) << "59:59.999";
        QTest::newRow("100 minutes widen the field") << qint64(6000000) << "100:00.000";
    }
    void elapsedText()
    {
        QFETCH(qint64, ms);
        QFETCH(QString, text);
        QCOMPARE(ElapsedTimeText(ms), text);
        QCOMPARE(ElapsedMilliseconds(5000, 5000 + ms), ms);
        QCOMPARE(ElapsedMilliseconds(5000 + ms, 5000), ms);
    }

    // not started → running → stopped → running, with "Next" twice in a row and a press while
    // running; every pause between a "Next" and the next press is left out of the total.
    void clockStates()
    {
        TManualClock clock;
        TPracticeClocks clocks(clock);
        bool running = false;
        const auto press = [&] {
            clocks.Press(running);
            running = true;
        };
        const auto next = [&] {
            running = false;
            clocks.Stop();
        };

        clocks.Reset();
        QVERIFY(clocks.IsFirstStart());
        clock.Advance(7000); // between the reset and the first press: counts nowhere
        press();
        QVERIFY(!clocks.IsFirstStart());
        QCOMPARE(clocks.DrawTimeText(), "00:00.000");
        QCOMPARE(clocks.TotalDrawTimeText(), "00:00.000");

        clock.Advance(1500);
        press(); // pen lifted and put down again: no clock changes
        clock.Advance(500);
        QCOMPARE(clocks.DrawTimeText(), "00:02.000");
        QCOMPARE(clocks.TotalDrawTimeText(), "00:02.000");

        next();
        clock.Advance(3000); // counts: it lies between two presses of "Next"
        next();
        clock.Advance(60000); // the pause after the last "Next": left out
        press();
        QCOMPARE(clocks.DrawTimeText(), "00:00.000");
        QCOMPARE(clocks.TotalDrawTimeText(), "00:05.000");
        clock.Advance(1234);
        QCOMPARE(clocks.DrawTimeText(), "00:01.234");
        QCOMPARE(clocks.TotalDrawTimeText(), "00:06.234");

        clocks.Reset();
        QVERIFY(clocks.IsFirstStart());
        QCOMPARE(clocks.StartDrawTime(), clock.NowMs());
        QCOMPARE(clocks.InitialDrawTime(), clock.NowMs());
    }

    void fitSide_data()
    {
        QTest::addColumn<QSizeF>("layout");
        QTest::addColumn<float>("side");
        QTest::addColumn<int>("pixels");
        QTest::newRow("taller than wide") << QSizeF(667, 729) << 667.0f << 667;
        QTest::newRow("wider than tall") << QSizeF(800, 600) << 600.0f << 600;
        QTest::newRow("square") << QSizeF(500, 500) << 500.0f << 500;
        QTest::newRow("fraction") << QSizeF(666.5, 700) << 666.5f << 666;
        QTest::newRow("squeezed to nothing") << QSizeF(0, 300) << 0.0f << 0;
    }
    void fitSide()
    {
        QFETCH(QSizeF, layout);
        QFETCH(float, side);
        QFETCH(int, pixels);
        QCOMPARE(FitSide(layout), side);
        TDrawingSheet sheet;
        sheet.Refit(QSizeF(side, side));
        QCOMPARE(sheet.Bitmap().Width(), pixels);
        QCOMPARE(sheet.Bitmap().Height(), pixels);
        if (pixels > 0)
            QVERIFY(AllWhite(sheet.Bitmap().Image()));
    }

    void refitCarriesTheDrawing()
    {
        TDrawingSheet sheet = WhiteSheet(600);
        sheet.Bitmap().Image().setPixel(0, 0, 0xFF000000);
        sheet.Bitmap().Image().setPixel(599, 599, 0xFF000000);

        sheet.Refit(QSizeF(667, 667)); // (667 − 600) / 2 = 33.5, truncated
        const QImage grown = sheet.Bitmap().Image();
        QCOMPARE(grown.pixel(33, 33), 0xFF000000u);
        QCOMPARE(grown.pixel(632, 632), 0xFF000000u);
        QCOMPARE(DarkBox(grown), QRect(QPoint(33, 33), QPoint(632, 632)));
        QCOMPARE(grown.pixel(32, 33), 0xFFFFFFFFu);
        QCOMPARE(grown.pixel(666, 666), 0xFFFFFFFFu);

        sheet.Refit(QSizeF(600, 600)); // shrinking is its inverse: the middle part, as it was
        QCOMPARE(DarkBox(sheet.Bitmap().Image()), QRect(QPoint(0, 0), QPoint(599, 599)));
    }

    // A resize never destroys or moves what was drawn: what a shrink cuts off is kept aside
    // and comes back, in its place, when the canvas grows again; so do strokes drawn while large.
    void resizesGiveBackTheDrawing_data()
    {
        QTest::addColumn<QList<int>>("sides");
        QTest::newRow("shrink, then restore") << QList<int>{300, 667};
        QTest::newRow("maximise, then restore") << QList<int>{1017, 667};
        QTest::newRow("many steps") << QList<int>{500, 331, 900, 1, 0, 1500, 667};
        QTest::newRow("odd differences") << QList<int>{666, 665, 640, 667};
    }
    void resizesGiveBackTheDrawing()
    {
        QFETCH(QList<int>, sides);
        TDrawingSheet sheet = WhiteSheet(667);
        // Marks at the corners and the middle, and a line across.
        for (const QPoint p :
             {QPoint(0, 0), QPoint(666, 0), QPoint(0, 666), QPoint(666, 666), QPoint(333, 333)})
            sheet.Bitmap().Image().setPixel(p, 0xFF000000);
        sheet.MouseDown(ssLeft, QPointF(10, 600));
        sheet.MouseMove(ssLeft, QPointF(650, 620), TTool::Pen);
        sheet.MouseUp();
        const QImage before = sheet.Bitmap().Image().copy();
        for (const int side : sides)
            sheet.Refit(QSizeF(side, side));
        QCOMPARE(sheet.Bitmap().Image(), before);

        // A stroke drawn while the canvas is large, partly outside the normal size, is kept too.
        sheet.Refit(QSizeF(1001, 1001)); // the old canvas sits at 167
        sheet.MouseDown(ssLeft, QPointF(20, 500));
        sheet.MouseMove(ssLeft, QPointF(980, 500), TTool::Pen);
        sheet.MouseUp();
        const QImage large = sheet.Bitmap().Image().copy();
        sheet.Refit(QSizeF(667, 667));
        QCOMPARE(sheet.Bitmap().Image().pixel(0, 333), 0xFF000000u);
        QCOMPARE(sheet.Bitmap().Image().pixel(666, 333), 0xFF000000u);
        sheet.Refit(QSizeF(1001, 1001));
        QCOMPARE(sheet.Bitmap().Image(), large);

        // Clearing clears what was kept aside too.
        sheet.Clear();
        sheet.Refit(QSizeF(300, 300));
        sheet.Refit(QSizeF(1001, 1001));
        QVERIFY(AllWhite(sheet.Bitmap().Image()));
    }

    void penSegment()
    {
        TDrawingSheet sheet = WhiteSheet(100);
        QVERIFY(sheet.MouseDown(ssLeft, QPointF(10, 20)));
        const QRect touched = sheet.MouseMove(ssLeft, QPointF(60, 20), TTool::Pen);
        const QImage img = sheet.Bitmap().Image();
        for (int x = 11; x < 60; ++x) {
            QCOMPARE(img.pixel(x, 20), 0xFF000000u);
            QCOMPARE(img.pixel(x, 19), 0xFFFFFFFFu);
            QCOMPARE(img.pixel(x, 21), 0xFFFFFFFFu);
        }
        const QRect ink = DarkBox(img);
        QVERIFY(ink.height() == 1);
        QVERIFY(touched.contains(ink)); // the repainted rectangle covers what changed
        QVERIFY(touched.width() < 70 && touched.height() < 10);
        QCOMPARE(sheet.DownPos(), QPointF(60, 20));
    }

    void eraserBand()
    {
        TDrawingSheet sheet = WhiteSheet(100);
        sheet.Bitmap().Clear(TAlphaColors::Black);
        sheet.MouseDown(ssLeft, QPointF(20, 50));
        sheet.MouseMove(ssLeft, QPointF(80, 50), TTool::Eraser);
        const QImage img = sheet.Bitmap().Image();
        int white = 0;
        for (int y = 0; y < 100; ++y)
            white += img.pixel(50, y) == 0xFFFFFFFFu;
        QCOMPARE(white, 10);
        QCOMPARE(img.pixel(50, 50), 0xFFFFFFFFu);
        QCOMPARE(img.pixel(50, 40), 0xFF000000u);
        QCOMPARE(img.pixel(50, 60), 0xFF000000u);
    }

    void pointerAdmission_data()
    {
        QTest::addColumn<int>("shift");
        QTest::addColumn<bool>("admitted");
        QTest::newRow("left button") << int(ssLeft) << true;
        QTest::newRow("touch") << int(ssTouch) << true;
        QTest::newRow("left with shift") << int(ssLeft | ssShift) << true;
        QTest::newRow("right button") << int(ssRight) << false;
        QTest::newRow("middle button") << int(ssMiddle) << false;
        QTest::newRow("no button") << 0 << false;
    }
    void pointerAdmission()
    {
        QFETCH(int, shift);
        QFETCH(bool, admitted);
        const TShiftState state = TShiftState::fromInt(shift);
        TDrawingSheet sheet = WhiteSheet(100);
        QCOMPARE(sheet.MouseDown(state, QPointF(10, 10)), admitted);
        QCOMPARE(sheet.Pressed(), admitted);
        sheet.MouseMove(state, QPointF(50, 50), TTool::Pen);
        sheet.MouseMove(state, QPointF(90, 10), TTool::Pen);
        QCOMPARE(!AllWhite(sheet.Bitmap().Image()), admitted);
    }

    void pressAndReleaseLeaveNoMark()
    {
        TDrawingSheet sheet = WhiteSheet(100);
        sheet.MouseDown(ssLeft, QPointF(40, 40));
        sheet.MouseUp();
        QVERIFY(!sheet.Pressed());
        QVERIFY(AllWhite(sheet.Bitmap().Image()));
    }

    void enteringWithButtonHeldStartsAtFirstPoint()
    {
        TDrawingSheet sheet = WhiteSheet(100);
        QVERIFY(sheet.MouseMove(ssLeft, QPointF(30, 30), TTool::Pen).isEmpty());
        QVERIFY(sheet.Pressed());
        QVERIFY(AllWhite(sheet.Bitmap().Image()));
        sheet.MouseMove(ssLeft, QPointF(30, 70), TTool::Pen);
        QCOMPARE(DarkBox(sheet.Bitmap().Image()).left(), 30);
        QVERIFY(DarkBox(sheet.Bitmap().Image()).top() >= 30);
    }

    void movesOutsideAreClipped()
    {
        TDrawingSheet sheet = WhiteSheet(100);
        sheet.MouseDown(ssLeft, QPointF(50, 50));
        const QRect touched = sheet.MouseMove(ssLeft, QPointF(250, 50), TTool::Pen);
        sheet.MouseMove(ssLeft, QPointF(250, -80), TTool::Pen);
        QVERIFY(QRect(0, 0, 100, 100).contains(touched));
        const QImage img = sheet.Bitmap().Image();
        QCOMPARE(img.pixel(99, 50), 0xFF000000u);
        QCOMPARE(DarkBox(img), QRect(QPoint(50, 50), QPoint(99, 50)));
    }

    void planText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("canonical"); // empty: refused
        QTest::addColumn<QString>("message");
        QTest::newRow("counts") << "10x30s,5x1m,2x5m"
                                << "10x30s,5x1m,2x5m"
                                << "";
        QTest::newRow("open last item") << "2x30s,1m"
                                        << "2x30s,1m"
                                        << "";
        QTest::newRow("one limit for all") << "45s"
                                           << "45s"
                                           << "";
        QTest::newRow("minutes and seconds") << "3x1m30s"
                                             << "3x1m30s"
                                             << "";
        QTest::newRow("seconds past a minute") << "90s"
                                               << "1m30s"
                                               << "";
        QTest::newRow("spaces around the parts") << " 10 x 30s , 5 X 1m "
                                                 << "10x30s,5x1m"
                                                 << "";
        QTest::newRow("the longest") << "99m"
                                     << "99m"
                                     << "";
        QTest::newRow("zero count") << "0x30s"
                                    << ""
                                    << "「0x30s」: 枚数は1から9999までです";
        QTest::newRow("count missing") << "x30s"
                                       << ""
                                       << "「x30s」: 枚数がありません";
        QTest::newRow("duration missing") << "10x"
                                          << ""
                                          << "「10x」: 時間がありません";
        QTest::newRow("no unit") << "30"
                                 << ""
                                 << "「30」: 時間には単位（s または m）を付けてください";
        QTest::newRow("zero time") << "0s"
                                   << ""
                                   << "「0s」: 時間は1秒から99分までです";
        QTest::newRow("too long") << "5x100m"
                                  << ""
                                  << "「5x100m」: 時間は1秒から99分までです";
        QTest::newRow("hours") << "1h"
                               << ""
                               << "「1h」: 読めない時間です（例: 30s、2m、1m30s）";
        QTest::newRow("empty item") << "10x30s,,5x1m"
                                    << ""
                                    << "2番目の項目が空です";
        QTest::newRow("trailing comma") << "10x30s,"
                                        << ""
                                        << "2番目の項目が空です";
        QTest::newRow("empty") << "  "
                               << ""
                               << "プランが空です（例: 10x30s, 5x1m）";
        QTest::newRow("open item not last") << "1m,5x2m"
                                            << ""
                                            << "「1m」: 枚数を省けるのは最後の項目だけです";
        QTest::newRow("leading zeros") << "0001x0000000000030s,00002x01m"
                                       << "1x30s,2x1m"
                                       << "";
        QTest::newRow("breaks") << "10x30s,休憩2m,5x1m"
                                << "10x30s,休憩2m,5x1m"
                                << "";
        QTest::newRow("rest") << "2x1m, REST 1m30s ,2m"
                              << "2x1m,休憩1m30s,2m"
                              << "";
        QTest::newRow("zero break") << "1x30s,休憩0s,1x30s"
                                    << ""
                                    << "「休憩0s」: 時間は1秒から99分までです";
        QTest::newRow("break last") << "2x30s,休憩1m"
                                    << ""
                                    << "「休憩1m」: 最後の項目を休憩にはできません";
        QTest::newRow("break first") << "rest1m,2x30s"
                                     << ""
                                     << "「rest1m」: 最初の項目を休憩にはできません";
        QTest::newRow("two breaks") << "2x30s,休憩1m,rest2m,1m"
                                    << ""
                                    << "「rest2m」: 休憩が続いています";
        QTest::newRow("counted break") << "2x30s,3x休憩1m,1m"
                                       << ""
                                       << "「3x休憩1m」: 休憩には枚数を付けられません";
        QTest::newRow("huge number") << "99999999999999999999s"
                                     << ""
                                     << "「99999999999999999999s」: 時間は1秒から99分までです";
    }
    void planText()
    {
        QFETCH(QString, text);
        QFETCH(QString, canonical);
        QFETCH(QString, message);
        QString error;
        const std::optional<TPlan> plan = TPlan::Parse(text, &error);
        QCOMPARE(plan.has_value(), !canonical.isEmpty());
        if (plan) {
            QCOMPARE(plan->Text(), canonical);
            QCOMPARE(TPlan::Parse(plan->Text()), plan);
        } else {
            QCOMPARE(error, message);
        }
    }

    void planPlaces()
    {
        const TPlan plan = *TPlan::Parse("2x30s,1x2m");
        QCOMPARE(plan.PlaceOf(0).LimitMs, 30000);
        QCOMPARE(plan.PlaceOf(1).Number, 2);
        QCOMPARE(plan.PlaceOf(1).Count, 2);
        QCOMPARE(plan.PlaceOf(2).LimitMs, 120000);
        QCOMPARE(plan.PlaceOf(2).Number, 1);
        QVERIFY(plan.PlaceOf(3).Ended);
        QCOMPARE(plan.PlaceOf(3).LimitMs, 0);
        // Breaks fall between drawings and are never counted as one.
        const TPlan rests = *TPlan::Parse("2x30s,休憩1m,1x2m,rest10s,1m");
        QCOMPARE(rests.PlaceOf(2).LimitMs, 120000);
        QCOMPARE(rests.PlaceOf(3).LimitMs, 60000);
        QCOMPARE(rests.PlaceOf(3).Count, 0);
        const QList<qint64> breaks{0, 60000, 10000, 0, 0};
        for (int drawing = 0; drawing < breaks.size(); ++drawing)
            QCOMPARE(rests.BreakAfter(drawing), breaks[drawing]);
        const TPlan open = *TPlan::Parse("1x10s,1m");
        QCOMPARE(open.PlaceOf(500).LimitMs, 60000);
        QCOMPARE(open.PlaceOf(500).Number, 500);
        QVERIFY(!open.PlaceOf(500).Ended);
        QCOMPARE(LimitText(30000), "30秒");
        QCOMPARE(LimitText(120000), "2分");
        QCOMPARE(LimitText(90000), "1分30秒");
    }

    // The drawing clock stops counting at the limit: the drawing reads the limit exactly, and
    // the time until the clocks are stopped is a pause.
    void clocksStopAtTheLimit()
    {
        TManualClock clock;
        TPracticeClocks clocks(clock);
        clocks.Reset();
        clocks.SetLimit(30000);
        clocks.Press(false);
        clock.Advance(29990);
        QVERIFY(!clocks.LimitReached());
        clock.Advance(37); // the timer's tick comes a little late
        QVERIFY(clocks.LimitReached());
        QCOMPARE(clocks.DrawTimeText(), "00:30.000");
        QCOMPARE(clocks.TotalDrawTimeText(), "00:30.000");
        clocks.Stop(true);
        QCOMPARE(clocks.StoppedTotalMs(), 30000);
        clock.Advance(10000);
        clocks.Press(false);
        clock.Advance(5000);
        QCOMPARE(clocks.DrawTimeText(), "00:05.000");
        QCOMPARE(clocks.TotalDrawTimeText(), "00:35.000");
    }

    // Strokes as steps: undo and redo put back exactly the pixels each stroke changed. The
    // canvas is compared with one on which only the strokes that should remain were drawn.
    void undoRedo_data()
    {
        QTest::addColumn<QString>("script");       // p: pen stroke, e: eraser stroke, u: undo, r: redo
        QTest::addColumn<QList<int>>("remaining"); // the strokes, by place in the script, left on
        QTest::addColumn<bool>("canUndo");
        QTest::addColumn<bool>("canRedo");
        QTest::newRow("one pen stroke") << "p" << QList<int>{0} << true << false;
        QTest::newRow("undone") << "pu" << QList<int>{} << false << true;
        QTest::newRow("undo past the first step") << "puuu" << QList<int>{} << false << true;
        QTest::newRow("redone") << "ppuur" << QList<int>{0} << true << true;
        QTest::newRow("redo past the last step") << "ppuurrrr" << QList<int>{0, 1} << true << false;
        QTest::newRow("new stroke after undo drops the redo") << "ppupr" << QList<int>{0, 3} << true << false;
        QTest::newRow("eraser stroke undone") << "peu" << QList<int>{0} << true << true;
        QTest::newRow("eraser stroke redone") << "peur" << QList<int>{0, 1} << true << false;
    }
    void undoRedo()
    {
        QFETCH(QString, script);
        QFETCH(QList<int>, remaining);
        QFETCH(bool, canUndo);
        QFETCH(bool, canRedo);
        // A pen stroke draws a line at a height of its own; an eraser stroke wipes the line of
        // the pen stroke before it.
        const auto stroke = [&](TDrawingSheet& sheet, int at) {
            const bool pen = script[at] == 'p';
            const int y = 20 + 20 * int(script.left(at + 1).lastIndexOf('p'));
            QVERIFY(sheet.MouseDown(ssLeft, QPointF(10, y)));
            sheet.MouseMove(ssLeft, QPointF(150, y), pen ? TTool::Pen : TTool::Eraser);
            sheet.MouseMove(ssLeft, QPointF(290, y), pen ? TTool::Pen : TTool::Eraser);
            sheet.MouseUp();
        };
        TDrawingSheet sheet;
        sheet.Refit(QSizeF(300, 300));
        sheet.Bitmap().Clear(TAlphaColors::White);
        for (int i = 0; i < script.size(); ++i) {
            if (script[i] == 'u')
                sheet.Undo();
            else if (script[i] == 'r')
                sheet.Redo();
            else
                stroke(sheet, i);
        }
        TDrawingSheet expected;
        expected.Refit(QSizeF(300, 300));
        expected.Bitmap().Clear(TAlphaColors::White);
        for (const int i : remaining)
            stroke(expected, i);
        QCOMPARE(sheet.Bitmap().Image(), expected.Bitmap().Image());
        QCOMPARE(sheet.History().CanUndo(), canUndo);
        QCOMPARE(sheet.History().CanRedo(), canRedo);
    }

    // Only the touched rectangle is kept, and the oldest steps go when the budget is spent.
    void historyIsBounded()
    {
        QImage canvas(400, 400, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::white);
        TStrokeHistory history(3 * 2 * 100 * 100 * 4); // room for three 100 × 100 steps
        for (int i = 0; i < 5; ++i) {
            history.BeginStroke(canvas);
            const QRect area(i * 50, 0, 100, 100);
            canvas.setPixel(area.center(), qRgb(0, 0, 0));
            history.Touch(area);
            history.EndStroke(canvas);
        }
        QCOMPARE(history.Steps(), 3);
        QCOMPARE(history.Bytes(), 3 * 2 * 100 * 100 * 4);
        int undone = 0;
        while (!history.Undo(canvas).isEmpty())
            ++undone;
        QCOMPARE(undone, 3);
        // The two oldest strokes stay on the canvas: their steps were dropped.
        QCOMPARE(canvas.pixel(QRect(0, 0, 100, 100).center()), qRgb(0, 0, 0));
        QCOMPARE(canvas.pixel(QRect(50, 0, 100, 100).center()), qRgb(0, 0, 0));
        QCOMPARE(canvas.pixel(QRect(100, 0, 100, 100).center()), qRgb(255, 255, 255));
        // A refit leaves nothing to undo.
        TDrawingSheet sheet;
        sheet.Refit(QSizeF(200, 200));
        sheet.MouseDown(ssLeft, QPointF(10, 10));
        sheet.MouseMove(ssLeft, QPointF(100, 10), TTool::Pen);
        sheet.MouseUp();
        QVERIFY(sheet.History().CanUndo());
        sheet.Refit(QSizeF(300, 300));
        QVERIFY(!sheet.History().CanUndo());
    }

    void thumbnailScalesTheWholeCanvas_data()
    {
        QTest::addColumn<int>("side");
        QTest::newRow("reduced from 667") << 667;
        QTest::newRow("enlarged from 300") << 300;
    }
    void thumbnailScalesTheWholeCanvas()
    {
        QFETCH(int, side);
        TBitmap canvas(side, side);
        canvas.Clear(TAlphaColors::White);
        QImage& img = canvas.Image();
        const int m = 6; // 6 × 6 marks at the corners survive any reduction
        for (int y = 0; y < m; ++y)
            for (int x = 0; x < m; ++x) {
                img.setPixel(x, y, 0xFF000000);
                img.setPixel(side - 1 - x, y, 0xFF000000);
                img.setPixel(x, side - 1 - y, 0xFF000000);
                img.setPixel(side - 1 - x, side - 1 - y, 0xFF000000);
            }
        const TBitmap thumb = MakeThumbnail(canvas, QString());
        QCOMPARE(thumb.Width(), 512);
        QCOMPARE(thumb.Height(), 512);
        const QImage t = thumb.Image();
        QVERIFY(IsDark(t.pixel(0, 0)));
        QVERIFY(IsDark(t.pixel(511, 0)));
        QVERIFY(IsDark(t.pixel(0, 511)));
        QVERIFY(IsDark(t.pixel(511, 511)));
        QVERIFY(!IsDark(t.pixel(256, 256)));
    }

    void thumbnailStamp()
    {
        TBitmap canvas(667, 667);
        canvas.Clear(TAlphaColors::White);
        const TBitmap thumb = MakeThumbnail(canvas, QStringLiteral("01:01.234"));
        const QImage t = thumb.Image();
        const QRect ink = DarkBox(t);
        QVERIFY(!ink.isEmpty());
        QVERIFY2(ink.left() < 8 && ink.top() < 12,
                 qPrintable(QString::number(ink.left()) + "," + QString::number(ink.top())));
        QVERIFY(ink.right() < 160 && ink.bottom() < 30); // 20-pixel text, one line
        // Antialiasing of the stamp stays grey: the sheets can be stored as greyscale.
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 200; ++x) {
                const QRgb p = t.pixel(x, y);
                QVERIFY(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p) && qAlpha(p) == 255);
            }
        QVERIFY(AllWhite(t, QRect(0, 40, 512, 472)));
    }

    void emptyCanvasGivesWhiteStampedThumbnail()
    {
        const TBitmap thumb = MakeThumbnail(TBitmap(), QStringLiteral("00:00.000"));
        QCOMPARE(thumb.Width(), 512);
        QVERIFY(!DarkBox(thumb.Image()).isEmpty());
        QVERIFY(AllWhite(thumb.Image(), QRect(0, 40, 512, 472)));
        QCOMPARE(ListImageOf(thumb.Image()).size(), QSize(128, 128));
    }
};

QTEST_MAIN(TestPractice)
#include "tst_practice.moc"
