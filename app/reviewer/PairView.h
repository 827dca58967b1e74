#ifndef TENARAI_APP_REVIEWER_PAIRVIEW_H
#define TENARAI_APP_REVIEWER_PAIRVIEW_H

#include "review/Fit.h"
#include "review/Pairs.h"

#include <QWidget>

/**
 * @brief One pair of the review, large: the drawing beside its reference, or laid over it
 * ("重ねる"): the drawing's lines in a strong colour over the reference at an opacity of the
 * user's choice. Over it, dragging moves the drawing, the wheel scales it and a double-click
 * brings back the starting frame.
 */
class TPairView final : public QWidget
{
    Q_OBJECT
public:
    explicit TPairView(QWidget* parent);

    void SetPair(const TReviewPair& pair);
    const TReviewPair& Pair() const { return FPair; }
    void SetOverlay(bool overlay);
    bool Overlay() const { return FOverlay; }
    void SetOpacity(double opacity);
    void SetFrame(const TOverlayFrame& frame);
    const TOverlayFrame& Frame() const { return FFrame; }
    // Where the cell is drawn on screen in overlay: a square, centred.
    QRectF OverlayRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void PaintReference(QPainter& painter, const QRectF& target) const;

    TReviewPair FPair;
    QImage FInk;
    bool FOverlay = false;
    double FOpacity = 0.6;
    TOverlayFrame FFrame;
    QPointF FDragFrom;
};

#endif
