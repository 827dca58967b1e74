#ifndef TENARAI_APP_CANVAS_MIRRORVIEW_H
#define TENARAI_APP_CANVAS_MIRRORVIEW_H

#include <QObject>

class QLabel;
class QWidget;
class TBottomBand;
class TCanvasView;
struct TCommands;

/**
 * @brief "左右反転表示": the canvas shown mirrored left to right, to see a drawing's proportion
 * errors with fresh eyes, and the "反転表示中" mark in the window's bottom band while it is.
 * Only the view turns: the drawing, its thumbnail, the journal and the sheets never do.
 */
class TMirrorView final : public QObject
{
    Q_OBJECT
public:
    TMirrorView(TCanvasView& canvas, const TCommands& commands, TBottomBand& band, QWidget* window);

private:
    void SetMirrored(bool mirrored);

    TCanvasView& FCanvas;
    QLabel* FMark;
};

#endif
