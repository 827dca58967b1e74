#ifndef TENARAI_APP_CANVAS_CANVASVIEW_H
#define TENARAI_APP_CANVAS_CANVASVIEW_H

#include "practice/DrawingSheet.h"
#include "practice/ShiftState.h"

#include <QElapsedTimer>
#include <QWidget>

class QTabletEvent;

/**
 * @brief The drawing canvas on screen: shows its bitmap scaled to fit, keeping proportions
 * (one pixel per unit when the side is whole), and reports pointer events in bitmap units.
 *
 * Mouse, finger and pen each draw every sample once. A pen's tablet events are taken here
 * and accepted, so Qt makes no mouse events of them; mouse events that a pen's driver sends
 * all the same are left out while the pen is near, and so is a touch then (the hand resting
 * on the screen). While a button is held after a press here, moves and the release keep
 * coming here wherever the pointer goes. The view may be mirrored left to right: the bitmap
 * is not, and a stroke lands under the pointer.
 */
class TCanvasView final : public QWidget
{
    Q_OBJECT
public:
    explicit TCanvasView(QWidget* parent);
    ~TCanvasView() override;

    void SetBitmap(const TBitmap* bitmap);
    // Repaints the part of the screen that shows these bitmap pixels.
    void UpdatePixels(const QRect& pixels);
    // Flashes the canvas once, briefly: the time of the drawing is up.
    void Flash();
    // The pointer shows this tool at its size.
    void SetTool(TTool tool);
    void SetMirrored(bool mirrored);
    // A grid over the canvas's square, painted over the drawing and never into it: 0 for none.
    void SetGrid(int divisions);
    int Grid() const { return FGrid; }
    bool Mirrored() const { return FMirrored; }

signals:
    void MouseDown(Qt::MouseButton button, TShiftState shift, float x, float y);
    void MouseMove(TShiftState shift, float x, float y);
    void MouseUp(Qt::MouseButton button, TShiftState shift, float x, float y);
    void Resized();
    // The pen was turned to its eraser end (true) or back to its tip (false).
    void EraserEndChanged(bool eraser);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void tabletEvent(QTabletEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QRectF TargetRect() const;
    // From the screen's units to the bitmap's, and back: they differ only when mirrored.
    QPointF ToBitmap(QPointF p) const;
    bool TakesMouse(const QMouseEvent& event) const;
    bool PenNear() const;
    void PenEnd(const QTabletEvent& event);
    void UpdateCursor();

    const TBitmap* FBitmap = nullptr;
    bool FFlashing = false;
    bool FMirrored = false;
    int FGrid = 0;
    TTool FTool = TTool::Pen;
    qreal FCursorScale = 0;
    bool FInProximity = false;   // the pen said it came near and has not said it left
    QElapsedTimer FLastPenEvent; // since the pen's last tablet event
    bool FTabletDown = false;    // a pen stroke is under way
    bool FEraserEnd = false;
};

#endif
