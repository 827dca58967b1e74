#ifndef TENARAI_RASTER_CANVAS_H
#define TENARAI_RASTER_CANVAS_H

#include "raster/Color.h"

#include <QPainter>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <optional>

class TBitmap;

enum class TBrushKind
{
    None,
    Solid
};
enum class TStrokeCap
{
    Flat,
    Round
};
enum class TStrokeJoin
{
    Miter,
    Round,
    Bevel
};
enum class TStrokeDash
{
    Solid,
    Dash,
    Dot
};

// How a line is drawn: kind, colour and thickness, with flat caps and miter joins unless set.
class TStrokeBrush final
{
public:
    TStrokeBrush(TBrushKind kind, TAlphaColor color) : Kind(kind), Color(color) {}

    TBrushKind Kind;
    TAlphaColor Color;
    float Thickness = 1.0f;
    TStrokeCap Cap = TStrokeCap::Flat;
    TStrokeJoin Join = TStrokeJoin::Miter;
    TStrokeDash Dash = TStrokeDash::Solid;
};

// Draws on one bitmap between BeginScene and EndScene. Lines are not antialiased: the 1-pixel
// pen must stay one crisp pixel wide, and every colour it leaves is one the tools chose.
class TCanvas final
{
public:
    explicit TCanvas(TBitmap& bitmap);
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    ~TCanvas();

    // False for a bitmap without pixels; then nothing may be drawn and EndScene is not called.
    bool BeginScene();
    void EndScene();
    bool InScene() const { return FPainter.has_value(); }

    // Drawing mixes by alpha when true; when false, drawn pixels replace what was there.
    bool Blending = true;
    TStrokeBrush Stroke{TBrushKind::Solid, TAlphaColors::Black};

    // Both return the rectangle of pixels the line may have changed, clipped to the bitmap.
    QRect DrawLine(QPointF from, QPointF to, float opacity);
    QRect DrawLine(QPointF from, QPointF to, float opacity, const TStrokeBrush& brush);
    // The source rectangle scaled into the destination; smooth unless highSpeed.
    void DrawBitmap(const TBitmap& source, const QRectF& srcRect, const QRectF& dstRect, float opacity,
                    bool highSpeed);

    // The painter of the current scene, for text layout.
    QPainter& Painter();

private:
    TBitmap& FBitmap;
    std::optional<QPainter> FPainter;
};

// Begun means ended: the scene opened here is closed when the scope ends, also on an exception.
class TCanvasScope final
{
public:
    explicit TCanvasScope(TCanvas& canvas) : FCanvas(canvas), FBegun(canvas.BeginScene()) {}
    TCanvasScope(const TCanvasScope&) = delete;
    TCanvasScope& operator=(const TCanvasScope&) = delete;
    ~TCanvasScope()
    {
        if (FBegun)
            FCanvas.EndScene();
    }

    bool Begun() const { return FBegun; }
    explicit operator bool() const { return FBegun; }

private:
    TCanvas& FCanvas;
    bool FBegun;
};

#endif
