#include "practice/DrawingSheet.h"

#include "raster/Canvas.h"

#include <cmath>

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

void TDrawingSheet::Refit(QSizeF control)
{
    FHistory.Clear();
    const TBitmap snapshot = FBitmap;
    const int n = int(std::floor(float(control.width())));
    FBitmap.SetSize(n, n);

    const auto offset = [](double controlSide, int oldSide) {
        return qMax(0, int(std::trunc((controlSide - oldSide) / 2)));
    };
    const auto extent = [](double controlSide, int oldSide) {
        return oldSide > controlSide ? int(std::trunc(controlSide)) : oldSide;
    };
    const int destX = offset(control.width(), snapshot.Width());
    const int destY = offset(control.height(), snapshot.Height());
    const int copyW = extent(control.width(), snapshot.Width());
    const int copyH = extent(control.height(), snapshot.Height());

    FBitmap.Clear(TAlphaColors::White);
    FBitmap.CopyFromBitmap(snapshot, QRect(0, 0, copyW, copyH), destX, destY);
}
