#include "FakeDialogs.h"
#include "TestSupport.h"
#include "app/Application.h"
#include "app/canvas/CanvasView.h"
#include "app/MainUnit.h"

#include <QAction>
#include <QtTest>

// Run at the screen scale given by QT_SCALE_FACTOR: one unit stays one canvas pixel, the pointer
// lands on the pixel under it, and the 1-pixel pen is shown crisp, without grey edges.
class TestHiDpi : public QObject
{
    Q_OBJECT

private slots:
    void penStaysOnePixelAndCrisp()
    {
        TFakeDialogScope dialogs;
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const qreal dpr = form.devicePixelRatioF();
        QCOMPARE(dpr, qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());

        auto* canvas = form.findChild<TCanvasView*>("PaintImage");
        QWindow* w = form.windowHandle();
        const QPoint origin = canvas->mapTo(&form, QPoint(0, 0));
        QTest::mousePress(w, Qt::LeftButton, {}, origin + QPoint(100, 300));
        QTest::mouseMove(w, origin + QPoint(250, 300));
        QTest::mouseMove(w, origin + QPoint(400, 300));
        QTest::mouseRelease(w, Qt::LeftButton, {}, origin + QPoint(400, 300));

        const QImage pixels = form.CanvasBitmap().Image();
        QCOMPARE(pixels.size(), QSize(667, 667));
        // Flat caps: a segment covers its start pixel, not its end one.
        QCOMPARE(DarkBox(pixels), QRect(QPoint(100, 300), QPoint(399, 300)));

        const QImage screen = canvas->grab().toImage();
        QCOMPARE(screen.width(), qRound(667 * dpr));
        const int x = qRound(250 * dpr);
        int dark = 0;
        for (int y = 0; y < screen.height(); ++y) {
            const QRgb p = screen.pixel(x, y);
            QVERIFY2(p == 0xFF000000u || p == 0xFFFFFFFFu, qPrintable(QString::number(p, 16)));
            if (p == 0xFF000000u) {
                ++dark;
                QVERIFY(qAbs(y - 300 * dpr) <= dpr);
            }
        }
        QVERIFY(dark == qFloor(dpr) || dark == qCeil(dpr));
    }

    // The pointer shows the tool at the size the canvas shows it: the eraser's ring is ten
    // canvas pixels across, in device pixels at this scale.
    void cursorShowsTheToolAtScale()
    {
        TFakeDialogScope dialogs;
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const qreal dpr = form.devicePixelRatioF();
        auto* canvas = form.findChild<TCanvasView*>("PaintImage");
        form.findChild<QAction*>("EraserCommand")->trigger();
        const QPixmap cursor = canvas->cursor().pixmap();
        QCOMPARE(cursor.devicePixelRatio(), dpr);
        const QImage image = cursor.toImage();
        int left = image.width(), right = -1;
        const int y = image.height() / 2;
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 200 && qGray(image.pixel(x, y)) < 64) {
                left = qMin(left, x);
                right = qMax(right, x);
            }
        QVERIFY2(qAbs(right - left + 1 - 10 * dpr) <= 1.5, qPrintable(QString::number(right - left + 1)));
        // Its hot spot is the ring's centre, to the logical pixel.
        QVERIFY(qAbs(canvas->cursor().hotSpot().x() - image.width() / 2.0 / dpr) <= 1);
        QVERIFY(qAbs(canvas->cursor().hotSpot().y() - image.height() / 2.0 / dpr) <= 1);
    }
};

int main(int argc, char** argv)
{
    TApplication::PrepareStart();
    TApplication app(argc, argv);
    TestHiDpi test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_hidpi.moc"
