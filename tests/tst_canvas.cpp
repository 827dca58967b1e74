#include "FormFixture.h"
#include "app/Application.h"
#include "practice/ToolCursor.h"

#include <QPointingDevice>

namespace {
// A pen of a tablet, one device for each end, as Qt names them.
const QPointingDevice* PenDevice(QPointingDevice::PointerType end)
{
    static const QPointingDevice tip(
        "pen", 7001, QInputDevice::DeviceType::Stylus, QPointingDevice::PointerType::Pen,
        QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 3);
    static const QPointingDevice eraser(
        "pen eraser", 7001, QInputDevice::DeviceType::Stylus, QPointingDevice::PointerType::Eraser,
        QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 3);
    return end == QPointingDevice::PointerType::Eraser ? &eraser : &tip;
}

// Plays a sequence of pointer events on the canvas along a path, as a tablet and Qt may
// deliver them. Steps: "near"/"far" the pen comes and goes; "press", "move", "release" tablet
// events at the path's next point (press and release stay where they are); "hover" a move with
// no button where the pen is; "mouse" the mouse event Qt would make of the last tablet event;
// "eraser"/"tip" which end the next events use.
class TPen
{
public:
    TPen(TCanvasView* canvas, QList<QPoint> path) : FCanvas(canvas), FPath(std::move(path)) {}

    void Play(const QStringList& steps)
    {
        for (const QString& step : steps) {
            if (step == "eraser" || step == "tip")
                FEnd = step == "eraser" ? QPointingDevice::PointerType::Eraser
                                        : QPointingDevice::PointerType::Pen;
            else if (step == "near" || step == "far")
                Proximity(step == "near" ? QEvent::TabletEnterProximity : QEvent::TabletLeaveProximity);
            else if (step == "press")
                Tablet(QEvent::TabletPress, Qt::LeftButton, Qt::LeftButton);
            else if (step == "hover")
                Tablet(QEvent::TabletMove, Qt::NoButton, Qt::NoButton);
            else if (step == "hover")
                Tablet(QEvent::TabletMove, Qt::NoButton, Qt::NoButton);
            else if (step == "move")
                Tablet(QEvent::TabletMove, Qt::NoButton, FDown ? Qt::LeftButton : Qt::NoButton, true);
            else if (step == "release")
                Tablet(QEvent::TabletRelease, Qt::LeftButton, Qt::NoButton);
            else if (step == "mouse")
                Mouse();
        }
    }

private:
    void Proximity(QEvent::Type type)
    {
        QTabletEvent event(type, PenDevice(FEnd), {}, {}, 0, 0, 0, 0, 0, 0, Qt::NoModifier, Qt::NoButton,
                           Qt::NoButton);
        QApplication::sendEvent(qApp, &event);
    }
    void Tablet(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, bool advance = false)
    {
        if (advance && FNext + 1 < FPath.size())
            ++FNext;
        FDown = buttons & Qt::LeftButton;
        FLastType = type;
        FLastButton = button;
        FLastButtons = buttons;
        const QPointF at = FPath[FNext];
        QTabletEvent event(type, PenDevice(FEnd), at, FCanvas->mapToGlobal(at), 0.7, 10, -5, 0, 0, 0,
                           Qt::NoModifier, button, buttons);
        QApplication::sendEvent(FCanvas, &event);
    }
    void Mouse()
    {
        const QEvent::Type type = FLastType == QEvent::TabletPress     ? QEvent::MouseButtonPress
                                  : FLastType == QEvent::TabletRelease ? QEvent::MouseButtonRelease
                                                                       : QEvent::MouseMove;
        const QPointF at = FPath[FNext];
        QMouseEvent event(type, at, FCanvas->mapToGlobal(at), FLastButton, FLastButtons, Qt::NoModifier,
                          PenDevice(FEnd));
        QApplication::sendEvent(FCanvas, &event);
    }

    TCanvasView* FCanvas;
    QList<QPoint> FPath;
    qsizetype FNext = 0;
    QPointingDevice::PointerType FEnd = QPointingDevice::PointerType::Pen;
    bool FDown = false;
    QEvent::Type FLastType = QEvent::None;
    Qt::MouseButton FLastButton = Qt::NoButton;
    Qt::MouseButtons FLastButtons;
};

const QList<QPoint> kPath{{100, 200}, {160, 210}, {220, 190}, {300, 240}};

// The path drawn with the mouse on the canvas: what a pen must draw too.
QImage MouseDrawn(TFormFixture& f)
{
    QWindow* w = f.Form->windowHandle();
    const QPoint origin = f.Canvas()->mapTo(f.Form.get(), QPoint(0, 0));
    QTest::mousePress(w, Qt::LeftButton, {}, origin + kPath[0]);
    for (const QPoint& p : kPath.mid(1))
        QTest::mouseMove(w, origin + p);
    QTest::mouseRelease(w, Qt::LeftButton, {}, origin + kPath.last());
    QImage drawn = f.Pixels().copy();
    f.Click("Next");
    return drawn;
}

// The box of the black pixels of a cursor picture.
QRect BlackBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 200 && qGray(image.pixel(x, y)) < 64)
                box |= QRect(x, y, 1, 1);
    return box;
}
} // namespace

class TestCanvas : public QObject
{
    Q_OBJECT

private slots:
    // However Qt interleaves a pen's tablet events with the mouse events made of them, each
    // sample draws once, exactly as the mouse draws the same path.
    void penDrawsEachSampleOnce_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::newRow("tablet events alone") << "near,press,move,move,move,release,far";
        QTest::newRow("each followed by its mouse event")
            << "near,press,mouse,move,mouse,move,mouse,move,mouse,release,mouse,far";
        QTest::newRow("mouse events first") << "mouse,press,mouse,move,mouse,move,mouse,move,release,mouse";
        QTest::newRow("no proximity events") << "press,move,mouse,move,move,mouse,release,mouse";
        QTest::newRow("hovering before and after")
            << "near,hover,hover,press,move,move,move,release,hover,far";
    }
    void penDrawsEachSampleOnce()
    {
        QFETCH(QString, steps);
        TFormFixture f;
        const QImage expected = MouseDrawn(f);
        QSignalSpy moves(f.Canvas(), &TCanvasView::MouseMove);
        TPen(f.Canvas(), kPath).Play(steps.split(','));
        QCOMPARE(f.Pixels(), expected);
        QCOMPARE(moves.size(), 3);
        QVERIFY(moves.first().at(0).value<TShiftState>() & ssPen);
        QVERIFY(f.Form->ClocksRunning());
    }

    // The eraser end erases whatever tool is selected; the tip brings the tool back.
    void eraserEndErases()
    {
        TFormFixture f;
        f.Stroke(QPoint(200, 100), QPoint(200, 300));
        QCOMPARE(DarkBox(f.Pixels()), QRect(QPoint(200, 100), QPoint(200, 299)));
        TPen pen(f.Canvas(), {{150, 200}, {250, 200}});
        pen.Play({"eraser", "near"});
        QVERIFY(f.Command("EraserCommand")->isChecked());
        QVERIFY(!f.Button("UseEraserButton")->isEnabled());
        pen.Play({"press", "move", "release"});
        QVERIFY(AllWhite(f.Pixels(), QRect(195, 196, 10, 8)));
        QVERIFY(!AllWhite(f.Pixels(), QRect(200, 100, 1, 50)));
        pen.Play({"far", "tip", "near"});
        QVERIFY(f.Command("PenCommand")->isChecked());
        QVERIFY(!f.Button("UsePenButton")->isEnabled());

        // Chosen by hand before, the eraser stays after the eraser end.
        f.Command("EraserCommand")->trigger();
        pen.Play({"far", "eraser", "near", "press", "release", "far", "tip", "near"});
        QVERIFY(f.Command("EraserCommand")->isChecked());
    }

    // A hand on the screen while the pen is near draws nothing; once the pen is gone it does.
    void touchWhilePenIsNearIsIgnored()
    {
        TFormFixture f;
        static QPointingDevice* screen = QTest::createTouchDevice();
        QWindow* w = f.Form->windowHandle();
        const QPoint origin = f.Canvas()->mapTo(f.Form.get(), QPoint(0, 0));
        const auto touch = [&](int y) {
            QTest::touchEvent(w, screen).press(0, origin + QPoint(100, y));
            QTest::touchEvent(w, screen).move(0, origin + QPoint(300, y));
            QTest::touchEvent(w, screen).release(0, origin + QPoint(300, y));
        };
        TPen pen(f.Canvas(), kPath);
        pen.Play({"near"});
        touch(300);
        QVERIFY(AllWhite(f.Pixels()));
        pen.Play({"far"});
        touch(400);
        QCOMPARE(DarkBox(f.Pixels()), QRect(QPoint(100, 400), QPoint(299, 400)));
    }

    // The cursor is the tool at the size the canvas shows it, edged so it shows on any ground.
    void toolCursors_data()
    {
        QTest::addColumn<qreal>("scale");
        QTest::newRow("1") << qreal(1);
        QTest::newRow("1.5") << qreal(1.5);
        QTest::newRow("2") << qreal(2);
    }
    void toolCursors()
    {
        QFETCH(qreal, scale);
        const QImage eraser = ToolCursorImage(TTool::Eraser, scale);
        QCOMPARE(eraser.devicePixelRatio(), scale);
        const QRect ring = BlackBox(eraser);
        QVERIFY2(qAbs(ring.width() - Tools::EraserThickness * scale) <= 1.5,
                 qPrintable(QString::number(ring.width())));
        QCOMPARE(ring.center(), eraser.rect().center());
        QCOMPARE(qAlpha(eraser.pixel(eraser.rect().center())), 0); // the drawing shows inside
        const QImage cross = ToolCursorImage(TTool::Pen, scale);
        const QRect arms = BlackBox(cross);
        QVERIFY(qAbs(arms.width() - 10 * scale) <= 1.5);
        QCOMPARE(arms.center(), cross.rect().center());
        // White beside the black: visible on a black drawing too.
        const QPoint end(arms.right() + 1, cross.rect().center().y());
        QVERIFY(qGray(cross.pixel(end)) > 200 && qAlpha(cross.pixel(end)) > 100);

        // The canvas shows the tool in use.
        TFormFixture f;
        const auto shown = [&] { return f.Canvas()->cursor().pixmap().toImage(); };
        const QImage pen = shown();
        QCOMPARE(BlackBox(pen).size(),
                 BlackBox(ToolCursorImage(TTool::Pen, f.Canvas()->devicePixelRatioF())).size());
        f.Command("EraserCommand")->trigger();
        QVERIFY(shown() != pen);
        QCOMPARE(BlackBox(shown()).size(),
                 BlackBox(ToolCursorImage(TTool::Eraser, f.Canvas()->devicePixelRatioF())).size());
        f.Command("PenCommand")->trigger();
        QCOMPARE(shown(), pen);
    }

    // Mirrored, the canvas shows the drawing turned and a stroke lands under the pointer; the
    // drawing itself, its thumbnail and the sheets never turn, and the view stays as set.
    void mirrorView()
    {
        TFormFixture f;
        f.Stroke(QPoint(100, 200), QPoint(200, 200));
        const QImage drawn = f.Pixels().copy();
        f.Key(Qt::Key_M);
        QVERIFY(f.Command("MirrorViewCommand")->isChecked());
        auto* mark = f.Form->findChild<QLabel*>("MirrorMark");
        QVERIFY(mark && mark->isVisible());
        QCOMPARE(mark->text(), "反転表示中");
        QVERIFY(mark->geometry().top() >= f.Canvas()->geometry().bottom());
        QCOMPARE(f.Pixels(), drawn);
        const int side = f.Pixels().width();
        QImage screen = f.Canvas()->grab().toImage();
        QCOMPARE(DarkBox(screen), QRect(QPoint(side - 200, 200), QPoint(side - 101, 200)));

        // Drawn near the left edge of the screen (beside the drawer's strip): in the drawing it
        // lies near the right edge.
        f.Stroke(QPoint(30, 400), QPoint(80, 400));
        QCOMPARE(DarkBox(f.Pixels(), QRect(0, 390, side, 20)),
                 QRect(QPoint(side - 80, 400), QPoint(side - 31, 400)));
        screen = f.Canvas()->grab().toImage();
        QCOMPARE(DarkBox(screen, QRect(0, 390, side, 20)), QRect(QPoint(30, 400), QPoint(79, 400)));

        f.Click("Next");
        QVERIFY(f.Command("MirrorViewCommand")->isChecked());
        const QImage thumbnail = f.Form->Thumbnails()[0].Image();
        QVERIFY(!AllWhite(thumbnail, QRect(512 * (side - 80) / side, 300, 512 * 49 / side, 10)));
        f.Click("Finish");
        QVERIFY(f.Command("MirrorViewCommand")->isChecked());
        const QImage sheet("result/20240307_143015_1.png");
        QCOMPARE(sheet.size(), QSize(4096, 4096));
        QVERIFY(!AllWhite(sheet, QRect(512 * (side - 80) / side, 300, 512 * 49 / side, 10)));
        QVERIFY(AllWhite(sheet, QRect(512 * 30 / side, 300, 512 * 49 / side, 10)));

        f.Key(Qt::Key_M);
        QVERIFY(!mark->isVisible());
        QVERIFY(!f.Canvas()->Mirrored());
    }
};

int main(int argc, char** argv)
{
    TApplication::PrepareStart();
    TApplication app(argc, argv);
    TestCanvas test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_canvas.moc"
