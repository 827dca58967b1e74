#include "app/reviewer/PairView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

namespace {
const QColor kInk(0xe0, 0x10, 0x40); // strong against photographs, greys and white alike
const QColor kGround(0x30, 0x30, 0x30);
} // namespace

TPairView::TPairView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PairView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 200);
}

void TPairView::SetPair(const TReviewPair& pair)
{
    FPair = pair;
    FInk = InkLayer(pair.Drawing, kInk);
    FFrame = {};
    update();
}

void TPairView::SetOverlay(bool overlay)
{
    FOverlay = overlay;
    update();
}

void TPairView::SetOpacity(double opacity)
{
    FOpacity = opacity;
    update();
}

void TPairView::SetFrame(const TOverlayFrame& frame)
{
    FFrame = frame;
    update();
}

QRectF TPairView::OverlayRect() const
{
    const qreal side = qMin(width(), height()) - 16;
    return QRectF((width() - side) / 2, (height() - side) / 2, side, side);
}

void TPairView::PaintReference(QPainter& painter, const QRectF& target) const
{
    painter.fillRect(target, Qt::white);
    if (!FPair.Reference.isNull())
        painter.drawImage(target, FPair.Reference);
}

void TPairView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), kGround);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    if (FPair.Drawing.isNull())
        return;
    if (!FOverlay || !FPair.HasReference) {
        // Side by side: two squares, as large as the view allows.
        const int count = FPair.HasReference ? 2 : 1;
        const qreal side = qMin((width() - 8.0 * (count + 1)) / count, height() - 16.0);
        const qreal top = (height() - side) / 2;
        qreal left = (width() - count * side - 8.0 * (count - 1)) / 2;
        painter.drawImage(QRectF(left, top, side, side), FPair.Drawing);
        if (FPair.HasReference)
            PaintReference(painter, QRectF(left + side + 8, top, side, side));
        return;
    }
    const QRectF cell = OverlayRect();
    painter.fillRect(cell, Qt::white);
    painter.setOpacity(FOpacity);
    PaintReference(painter, cell);
    painter.setOpacity(1);
    painter.setClipRect(cell);
    // The ink's frame is in cell pixels; the screen shows the cell at this scale.
    const qreal toScreen = cell.width() / FPair.Drawing.width();
    const qreal side = FPair.Drawing.width();
    const QPointF topLeft = FFrame.Map(QPointF(0, 0), side);
    painter.drawImage(
        QRectF(cell.topLeft() + topLeft * toScreen, QSizeF(side, side) * FFrame.Scale * toScreen), FInk);
}

void TPairView::mousePressEvent(QMouseEvent* event)
{
    FDragFrom = event->position();
}

void TPairView::mouseMoveEvent(QMouseEvent* event)
{
    if (!FOverlay || !(event->buttons() & Qt::LeftButton) || FPair.Drawing.isNull())
        return;
    const qreal toCell = FPair.Drawing.width() / OverlayRect().width();
    FFrame.Shift += (event->position() - FDragFrom) * toCell;
    FDragFrom = event->position();
    update();
}

void TPairView::mouseDoubleClickEvent(QMouseEvent*)
{
    SetFrame({});
}

void TPairView::wheelEvent(QWheelEvent* event)
{
    if (!FOverlay)
        return;
    const double steps = event->angleDelta().y() / 120.0;
    FFrame.Scale = qBound(Fit::MinScale, FFrame.Scale * std::pow(1.05, steps), Fit::MaxScale);
    update();
}
