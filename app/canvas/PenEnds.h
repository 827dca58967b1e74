#ifndef TENARAI_APP_CANVAS_PENENDS_H
#define TENARAI_APP_CANVAS_PENENDS_H

#include <QObject>

class TCanvasView;
struct TCommands;

/**
 * @brief The pen's two ends: turned to its eraser end the pen erases, whatever tool is
 * selected, and turned back it draws with the tool selected before. It selects the tools
 * through their commands, so the buttons and the menu show what is in use.
 */
class TPenEnds final : public QObject
{
    Q_OBJECT
public:
    TPenEnds(TCanvasView& canvas, const TCommands& commands, QObject* parent);

private:
    void EraserEndChanged(bool eraser);

    const TCommands& FCommands;
    bool FPenBefore = true; // the tool selected when the eraser end came
};

#endif
