#include "practice/ToolCursor.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {
constexpr qreal kCrossArm = 5; // canvas pixels from the centre: a cross small enough to aim with
} // namespace

QImage ToolCursorImage(TTool tool, qreal scale)
{
    const qreal reach = tool == TTool::Eraser ? Tools::EraserThickness / 2 : kCrossArm;
    // The picture holds the outline's white edge beyond the tool, and has an odd side, so its
    // centre falls on a pixel.
    const int side = 2 * int(std::ceil((reach + 2) * scale)) + 1;
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QPointF centre(side / 2.0, side / 2.0);
    QPainterPath shape;
    if (tool == TTool::Eraser) {
        const qreal radius = Tools::EraserThickness / 2 * scale;
        shape.addEllipse(centre, radius, radius);
    } else {
        // Whole pixels from the centre pixel's middle, so the lines end crisp.
        const qreal arm = std::floor(kCrossArm * scale) + 0.5;
        shape.moveTo(centre - QPointF(arm, 0));
        shape.lineTo(centre + QPointF(arm, 0));
        shape.moveTo(centre - QPointF(0, arm));
        shape.lineTo(centre + QPointF(0, arm));
    }
    // One canvas pixel wide, edged by one more on each side.
    painter.strokePath(shape, QPen(Qt::white, 3 * scale, Qt::SolidLine, Qt::SquareCap));
    painter.strokePath(shape, QPen(Qt::black, scale, Qt::SolidLine, Qt::FlatCap));
    painter.end();
    image.setDevicePixelRatio(scale);
    return image;
}
