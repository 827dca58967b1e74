#include "TestSupport.h"
#include "practice/DrawingSheet.h"
#include "practice/ElapsedTime.h"
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

        sheet.Refit(QSizeF(600, 600)); // shrinking keeps the top-left part
        QCOMPARE(DarkBox(sheet.Bitmap().Image()), QRect(33, 33, 1, 1));
        sheet.Refit(QSizeF(667, 667)); // and growing centres what is left
        QCOMPARE(DarkBox(sheet.Bitmap().Image()), QRect(66, 66, 1, 1));
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
