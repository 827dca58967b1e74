#ifndef TENARAI_PRACTICE_DRAWINGSHEET_H
#define TENARAI_PRACTICE_DRAWINGSHEET_H

#include "practice/ShiftState.h"
#include "practice/StrokeHistory.h"
#include "raster/Bitmap.h"

#include <QPointF>
#include <QRect>
#include <QSizeF>

enum class TTool
{
    Pen,
    Eraser
};

namespace Tools {
inline constexpr float PenThickness = 1.0f;
inline constexpr TAlphaColor PenColor = TAlphaColors::Black;
// Ten pixels: wide enough to wipe a pen line with a quick pass, narrow enough to aim.
inline constexpr float EraserThickness = 10.0f;
inline constexpr TAlphaColor EraserColor = TAlphaColors::White;
} // namespace Tools

// A press or move is ours when the left button is held or a finger touches.
bool IsAdmitted(TShiftState shift);

// The side of the largest square that fits the layout.
float FitSide(QSizeF layout);

/**
 * @brief The drawing and the pointer that draws on it.
 *
 * Positions are the canvas control's local units, used as bitmap pixels unchanged: the bitmap's
 * side is the control's side rounded down, so one unit is one pixel.
 */
class TDrawingSheet final
{
public:
    TBitmap& Bitmap() { return FBitmap; }
    const TBitmap& Bitmap() const { return FBitmap; }

    // Stores where a stroke starts; true when the press was admitted (the clocks then start).
    bool MouseDown(TShiftState shift, QPointF pos);
    // Draws one straight segment from the last position with the tool and returns the pixels
    // it may have changed; empty when nothing was drawn.
    QRect MouseMove(TShiftState shift, QPointF pos, TTool tool);
    // Ends the stroke; it becomes one step of the history.
    void MouseUp();

    // The strokes of the drawing, for undo and redo.
    const TStrokeHistory& History() const { return FHistory; }
    // Takes back the last stroke (ending one under way first) and returns the pixels it changed.
    QRect Undo();
    QRect Redo();

    bool Pressed() const { return FPress; }
    QPointF DownPos() const { return FDownPos; }

    /**
     * @brief Makes the bitmap fit a control of the given size, which the caller has just made square.
     *
     * The bitmap becomes n × n with n the side rounded down, showing the drawing unscaled and
     * centred as before: when the canvas grew, the old drawing sits in its middle; when it
     * shrank, its middle part is shown, and what falls outside is kept aside, so that growing
     * again brings it back where it was. Every side is centred on the same point of the drawing
     * (its top-left n / 2 pixels before it, rounded down), so nothing drawn is lost or moved by
     * any sequence of resizes. The history no longer fits and is cleared.
     */
    void Refit(QSizeF control);
    // A white canvas of the same size: no stroke under way, no history, nothing kept aside.
    void Clear();
    // Puts a whole drawing on the canvas (a recovered one); the next Refit fits it as any other.
    void SetCanvas(const QImage& canvas);

private:
    TBitmap FBitmap;
    QPointF FDownPos;
    bool FPress = false;
    TStrokeHistory FHistory;
    // The whole drawing, of which the bitmap shows the part at FOrigin: the canvas as it is and
    // what earlier, larger canvases held beyond it. Brought up to date at each refit.
    QImage FWorld;
    QRect FWorldRect; // where FWorld lies in drawing coordinates
    QPoint FOrigin;   // where the bitmap's top-left lies in drawing coordinates: −(side / 2)
};

#endif
