#include "app/CanvasView.h"

#include "raster/Bitmap.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <cmath>

TCanvasView::TCanvasView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    setCursor(Qt::CrossCursor);
}

void TCanvasView::SetBitmap(const TBitmap* bitmap)
{
    FBitmap = bitmap;
    update();
}

QRectF TCanvasView::TargetRect() const
{
    if (!FBitmap || FBitmap->IsEmpty())
        return {};
    const qreal scale = qMin(width() / qreal(FBitmap->Width()), height() / qreal(FBitmap->Height()));
    const QSizeF size(FBitmap->Width() * scale, FBitmap->Height() * scale);
    return QRectF(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void TCanvasView::UpdatePixels(const QRect& pixels)
{
    if (pixels.isEmpty() || !FBitmap || FBitmap->IsEmpty())
        return;
    const QRectF target = TargetRect();
    const qreal scale = target.width() / FBitmap->Width();
    const QRectF area(target.left() + pixels.left() * scale, target.top() + pixels.top() * scale,
                      pixels.width() * scale, pixels.height() * scale);
    update(area.toAlignedRect().adjusted(-1, -1, 1, 1));
}

void TCanvasView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect dirty = event->rect();
    painter.fillRect(dirty, palette().window());
    if (!FBitmap || FBitmap->IsEmpty())
        return;
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

void TCanvasView::mousePressEvent(QMouseEvent* event)
{
    const QPointF p = event->position();
    emit MouseDown(event->button(), ShiftStateOf(*event), float(p.x()), float(p.y()));
}

void TCanvasView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A quick second press is a press like any other.
    mousePressEvent(event);
}

void TCanvasView::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF p = event->position();
    emit MouseMove(ShiftStateOf(*event), float(p.x()), float(p.y()));
}

void TCanvasView::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF p = event->position();
    emit MouseUp(event->button(), ShiftStateOf(*event), float(p.x()), float(p.y()));
}

void TCanvasView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    emit Resized();
}
