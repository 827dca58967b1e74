#include "raster/Canvas.h"

#include "raster/Bitmap.h"

#include <QPen>
#include <cmath>

TCanvas::TCanvas(TBitmap& bitmap) : FBitmap(bitmap)
{}

TCanvas::~TCanvas()
{
    if (FPainter)
        EndScene();
}

bool TCanvas::BeginScene()
{
    if (FBitmap.IsEmpty() || FPainter)
        return false;
    FPainter.emplace();
    if (!FPainter->begin(&FBitmap.Image())) {
        FPainter.reset();
        return false;
    }
    FPainter->setCompositionMode(Blending ? QPainter::CompositionMode_SourceOver
                                          : QPainter::CompositionMode_Source);
    return true;
}

void TCanvas::EndScene()
{
    if (!FPainter)
        return;
    FPainter->end();
    FPainter.reset();
}

QPainter& TCanvas::Painter()
{
    Q_ASSERT(FPainter);
    return *FPainter;
}

QRect TCanvas::DrawLine(QPointF from, QPointF to, float opacity)
{
    return DrawLine(from, to, opacity, Stroke);
}

QRect TCanvas::DrawLine(QPointF from, QPointF to, float opacity, const TStrokeBrush& brush)
{
    if (!FPainter || brush.Kind == TBrushKind::None)
        return {};
    QPen pen{QColor::fromRgba(brush.Color)};
    pen.setWidthF(brush.Thickness);
    pen.setCapStyle(brush.Cap == TStrokeCap::Flat ? Qt::FlatCap : Qt::RoundCap);
    pen.setJoinStyle(brush.Join == TStrokeJoin::Miter   ? Qt::MiterJoin
                     : brush.Join == TStrokeJoin::Round ? Qt::RoundJoin
                                                        : Qt::BevelJoin);
    pen.setStyle(brush.Dash == TStrokeDash::Solid  ? Qt::SolidLine
                 : brush.Dash == TStrokeDash::Dash ? Qt::DashLine
                                                   : Qt::DotLine);
    QPainter& p = *FPainter;
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setOpacity(opacity);
    p.setPen(pen);
    p.drawLine(from, to);

    // Half the width covers the line's sides; the extra pixels cover miter corners and
    // the rounding of an aliased line's ends.
    const int grow = int(std::ceil(brush.Thickness / 2)) + 2;
    const QRectF span = QRectF(from, to).normalized();
    const QRect touched = QRect(QPoint(int(std::floor(span.left())), int(std::floor(span.top()))),
                                QPoint(int(std::ceil(span.right())), int(std::ceil(span.bottom()))))
                              .adjusted(-grow, -grow, grow, grow);
    return touched & QRect(0, 0, FBitmap.Width(), FBitmap.Height());
}

void TCanvas::DrawBitmap(const TBitmap& source, const QRectF& srcRect, const QRectF& dstRect, float opacity,
                         bool highSpeed)
{
    if (!FPainter || source.IsEmpty())
        return;
    QPainter& p = *FPainter;
    p.setOpacity(opacity);
    const QRect dst = dstRect.toAlignedRect();
    if (highSpeed) {
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        p.drawImage(dstRect, source.Image(), srcRect);
        return;
    }
    // QImage::scaled averages the source area when reducing, so 1-pixel lines survive a
    // reduction instead of falling between the sampled pixels of a bilinear filter.
    const QImage part = source.Image().copy(srcRect.toAlignedRect());
    p.drawImage(dst.topLeft(), part.scaled(dst.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}
