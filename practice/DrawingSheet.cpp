#include "practice/DrawingSheet.h"

#include "raster/Canvas.h"

#include <cmath>
#include <cstring>

bool IsAdmitted(TShiftState shift)
{
    return shift & (ssLeft | ssTouch);
}

float FitSide(QSizeF layout)
{
    const float w = float(layout.width());
    const float h = float(layout.height());
    return w > h ? h : w;
}

bool TDrawingSheet::MouseDown(TShiftState shift, QPointF pos)
{
    if (!IsAdmitted(shift))
        return false;
    FDownPos = pos;
    FPress = true;
    FHistory.BeginStroke(FBitmap.Image());
    return true;
}

void TDrawingSheet::MouseUp()
{
    if (FPress)
        FHistory.EndStroke(FBitmap.Image());
    FPress = false;
}

QRect TDrawingSheet::Undo()
{
    MouseUp();
    return FHistory.Undo(FBitmap.Image());
}

QRect TDrawingSheet::Redo()
{
    MouseUp();
    return FHistory.Redo(FBitmap.Image());
}

QRect TDrawingSheet::MouseMove(TShiftState shift, QPointF pos, TTool tool)
{
    if (!IsAdmitted(shift))
        return {};
    if (!FPress) {
        // The pointer came in with the button already held: start the stroke here.
        FPress = true;
        FDownPos = pos;
        FHistory.BeginStroke(FBitmap.Image());
        return {};
    }
    TCanvas canvas(FBitmap);
    QRect touched;
    {
        TCanvasScope scene(canvas);
        if (!scene)
            return {};
        const bool pen = tool == TTool::Pen;
        canvas.Stroke.Thickness = pen ? Tools::PenThickness : Tools::EraserThickness;
        canvas.Stroke.Color = pen ? Tools::PenColor : Tools::EraserColor;
        canvas.Stroke.Kind = TBrushKind::Solid;
        touched = canvas.DrawLine(FDownPos, pos, 1.0f);
    }
    FDownPos = pos;
    FHistory.Touch(touched);
    return touched;
}

void TDrawingSheet::Clear()
{
    FPress = false;
    FHistory.Clear();
    FBitmap.Clear(TAlphaColors::White);
    FWorld = QImage();
    FWorldRect = QRect();
}

void TDrawingSheet::SetCanvas(const QImage& canvas)
{
    FBitmap.SetSize(canvas.width(), canvas.height());
    FBitmap.Image() = canvas.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    FWorld = QImage();
    FWorldRect = QRect();
    FOrigin = QPoint(-(canvas.width() / 2), -(canvas.height() / 2));
    FHistory.Clear();
}

namespace {
// Copies `source` into `target` with its top-left at `at`, clipped, unblended.
void Put(QImage& target, const QImage& source, QPoint at)
{
    const QRect area = QRect(at, source.size()) & target.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        std::memcpy(reinterpret_cast<QRgb*>(target.scanLine(y)) + area.left(),
                    reinterpret_cast<const QRgb*>(source.constScanLine(y - at.y())) + (area.left() - at.x()),
                    size_t(area.width()) * sizeof(QRgb));
}
} // namespace

void TDrawingSheet::Refit(QSizeF control)
{
    FHistory.Clear();
    const int n = qMax(0, int(std::floor(float(control.width()))));

    // The canvas as it is goes back into the whole drawing.
    const QRect shown(FOrigin, FBitmap.Image().size());
    if (!FBitmap.IsEmpty()) {
        if (FWorld.isNull() || !FWorldRect.contains(shown)) {
            const QRect united = FWorldRect.isNull() ? shown : (FWorldRect | shown);
            QImage grown(united.size(), QImage::Format_ARGB32_Premultiplied);
            grown.fill(Qt::white);
            if (!FWorld.isNull())
                Put(grown, FWorld, FWorldRect.topLeft() - united.topLeft());
            FWorld = grown;
            FWorldRect = united;
        }
        Put(FWorld, FBitmap.Image(), shown.topLeft() - FWorldRect.topLeft());
    }

    // Every canvas is centred on the same point of the drawing, its top-left half its side
    // before it: any sequence of resizes that ends at a size shows exactly what that size
    // showed before, however many steps a drag makes.
    FOrigin = QPoint(-(n / 2), -(n / 2));
    FBitmap.SetSize(n, n);
    FBitmap.Clear(TAlphaColors::White);
    if (!FWorld.isNull() && !FBitmap.IsEmpty())
        Put(FBitmap.Image(), FWorld, FWorldRect.topLeft() - FOrigin);
}
