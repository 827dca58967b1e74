#include "app/canvas/CanvasView.h"

#include "references/GridPainter.h"
#include "practice/ToolCursor.h"
#include "raster/Bitmap.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTabletEvent>
#include <QTimer>
#include <cmath>

namespace {
bool FromPen(const QInputDevice* device)
{
    if (!device)
        return false;
    switch (device->type()) {
    case QInputDevice::DeviceType::Stylus:
    case QInputDevice::DeviceType::Airbrush:
    case QInputDevice::DeviceType::Puck:
        return true;
    default:
        return false;
    }
}

bool FromTouch(const QInputDevice* device)
{
    return device && (device->type() == QInputDevice::DeviceType::TouchScreen ||
                      device->type() == QInputDevice::DeviceType::TouchPad);
}
} // namespace

TCanvasView::TCanvasView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    // Proximity reaches the application, not a widget.
    QCoreApplication::instance()->installEventFilter(this);
    UpdateCursor();
}

TCanvasView::~TCanvasView() = default;

void TCanvasView::SetBitmap(const TBitmap* bitmap)
{
    FBitmap = bitmap;
    update();
}

void TCanvasView::SetTool(TTool tool)
{
    if (tool == FTool)
        return;
    FTool = tool;
    UpdateCursor();
}

void TCanvasView::SetMirrored(bool mirrored)
{
    FMirrored = mirrored;
    update();
}

void TCanvasView::SetGrid(int divisions)
{
    FGrid = divisions;
    update();
}

void TCanvasView::UpdateCursor()
{
    // One canvas pixel is one unit, shown devicePixelRatio device pixels wide.
    const qreal scale = devicePixelRatioF();
    FCursorScale = scale;
    const QImage image = ToolCursorImage(FTool, scale);
    const int hot = image.width() / 2;
    setCursor(QCursor(QPixmap::fromImage(image), int(hot / scale), int(hot / scale)));
}

bool TCanvasView::PenNear() const
{
    // Hovering, a pen sends moves all the time: where a driver never says it left, it has left
    // once they stop.
    constexpr int quietMs = 500;
    return FInProximity || (FLastPenEvent.isValid() && FLastPenEvent.elapsed() < quietMs);
}

QRectF TCanvasView::TargetRect() const
{
    if (!FBitmap || FBitmap->IsEmpty())
        return {};
    const qreal scale = qMin(width() / qreal(FBitmap->Width()), height() / qreal(FBitmap->Height()));
    const QSizeF size(FBitmap->Width() * scale, FBitmap->Height() * scale);
    return QRectF(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

QPointF TCanvasView::ToBitmap(QPointF p) const
{
    return FMirrored ? QPointF(width() - p.x(), p.y()) : p;
}

void TCanvasView::UpdatePixels(const QRect& pixels)
{
    if (pixels.isEmpty() || !FBitmap || FBitmap->IsEmpty())
        return;
    const QRectF target = TargetRect();
    const qreal scale = target.width() / FBitmap->Width();
    QRectF area(target.left() + pixels.left() * scale, target.top() + pixels.top() * scale,
                pixels.width() * scale, pixels.height() * scale);
    if (FMirrored)
        area.moveLeft(width() - area.right());
    update(area.toAlignedRect().adjusted(-1, -1, 1, 1));
}

void TCanvasView::paintEvent(QPaintEvent* event)
{
    if (devicePixelRatioF() != FCursorScale)
        UpdateCursor(); // moved to a screen of another scale
    QPainter painter(this);
    QRect dirty = event->rect();
    painter.fillRect(dirty, palette().window());
    if (!FBitmap || FBitmap->IsEmpty())
        return;
    if (FMirrored) {
        // Everything below is painted in the bitmap's own orientation.
        painter.translate(width(), 0);
        painter.scale(-1, 1);
        dirty.moveLeft(width() - 1 - dirty.right());
    }
    const QRectF target = TargetRect();
    // Nearest-neighbour keeps the 1-pixel pen crisp at any screen scale.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const qreal scale = target.width() / FBitmap->Width();
    const QRectF wanted = QRectF(dirty) & target;
    if (wanted.isEmpty())
        return;
    const QRect source =
        QRectF((wanted.left() - target.left()) / scale, (wanted.top() - target.top()) / scale,
               wanted.width() / scale, wanted.height() / scale)
            .toAlignedRect() &
        QRect(0, 0, FBitmap->Width(), FBitmap->Height());
    const QRectF drawn(target.left() + source.left() * scale, target.top() + source.top() * scale,
                       source.width() * scale, source.height() * scale);
    painter.drawImage(drawn, FBitmap->Image(), source);
    if (FFlashing)
        painter.fillRect(wanted, QColor(255, 196, 0, 120));
    PaintStudyGrid(painter, target, FGrid);
}

void TCanvasView::Flash()
{
    // Long enough to be seen from the corner of the eye, short enough not to hide the next stroke.
    constexpr int flashMs = 180;
    FFlashing = true;
    update();
    QTimer::singleShot(flashMs, this, [this] {
        FFlashing = false;
        update();
    });
}

bool TCanvasView::TakesMouse(const QMouseEvent& event) const
{
    // During a pen stroke every mouse event is the pen's, or a hand's: the pen draws it once.
    if (FTabletDown)
        return false;
    if (PenNear() && (FromPen(event.device()) || FromTouch(event.device())))
        return false;
    return true;
}

void TCanvasView::mousePressEvent(QMouseEvent* event)
{
    if (!TakesMouse(*event))
        return;
    const QPointF p = ToBitmap(event->position());
    emit MouseDown(event->button(), ShiftStateOf(*event), float(p.x()), float(p.y()));
}

void TCanvasView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A quick second press is a press like any other.
    mousePressEvent(event);
}

void TCanvasView::mouseMoveEvent(QMouseEvent* event)
{
    if (!TakesMouse(*event))
        return;
    const QPointF p = ToBitmap(event->position());
    emit MouseMove(ShiftStateOf(*event), float(p.x()), float(p.y()));
}

void TCanvasView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!TakesMouse(*event))
        return;
    const QPointF p = ToBitmap(event->position());
    emit MouseUp(event->button(), ShiftStateOf(*event), float(p.x()), float(p.y()));
}

void TCanvasView::PenEnd(const QTabletEvent& event)
{
    const bool eraser = event.pointerType() == QPointingDevice::PointerType::Eraser;
    if (eraser == FEraserEnd)
        return;
    FEraserEnd = eraser;
    emit EraserEndChanged(eraser);
}

void TCanvasView::tabletEvent(QTabletEvent* event)
{
    // Pressure and tilt are read and left alone: the pen stays one pixel wide.
    event->accept();
    FLastPenEvent.start();
    const QPointF p = ToBitmap(event->position());
    const TShiftState shift = ShiftStateOf(*event) | ssPen;
    switch (event->type()) {
    case QEvent::TabletPress:
        PenEnd(*event);
        FTabletDown = true;
        emit MouseDown(event->button(), shift, float(p.x()), float(p.y()));
        break;
    case QEvent::TabletMove:
        if (FTabletDown)
            emit MouseMove(shift, float(p.x()), float(p.y()));
        break;
    case QEvent::TabletRelease:
        if (FTabletDown) {
            FTabletDown = false;
            emit MouseUp(event->button(), shift, float(p.x()), float(p.y()));
        }
        break;
    default:
        break;
    }
}

bool TCanvasView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::TabletEnterProximity) {
        FInProximity = true;
        PenEnd(*static_cast<QTabletEvent*>(event));
    } else if (event->type() == QEvent::TabletLeaveProximity) {
        FInProximity = false;
        FLastPenEvent.invalidate();
        FTabletDown = false;
    }
    return QWidget::eventFilter(watched, event);
}

void TCanvasView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    emit Resized();
}
