#ifndef TENARAI_APP_CANVASVIEW_H
#define TENARAI_APP_CANVASVIEW_H

#include "practice/ShiftState.h"

#include <QWidget>

class TBitmap;

/**
 * @brief The drawing canvas on screen: shows its bitmap scaled to fit, keeping proportions
 * (one pixel per unit when the side is whole), and reports pointer events in local units.
 *
 * While a button is held after a press here, moves and the release keep coming here wherever
 * the pointer goes. Only mouse events are taken: a pen or a finger arrives as the mouse events
 * Qt makes for it, so each sample draws exactly once.
 */
class TCanvasView final : public QWidget
{
    Q_OBJECT
public:
    explicit TCanvasView(QWidget* parent);

    void SetBitmap(const TBitmap* bitmap);
    // Repaints the part of the screen that shows these bitmap pixels.
    void UpdatePixels(const QRect& pixels);
    // Flashes the canvas once, briefly: the time of the drawing is up.
    void Flash();

signals:
    void MouseDown(Qt::MouseButton button, TShiftState shift, float x, float y);
    void MouseMove(TShiftState shift, float x, float y);
    void MouseUp(Qt::MouseButton button, TShiftState shift, float x, float y);
    void Resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRectF TargetRect() const;

    const TBitmap* FBitmap = nullptr;
    bool FFlashing = false;
};

#endif
