#ifndef TENARAI_APP_STUDY_STUDYGRID_H
#define TENARAI_APP_STUDY_STUDYGRID_H

#include <QObject>

class TCanvasView;
class TReferencePane;
struct TCommands;

/**
 * @brief The grid for placing proportions: none, 3 × 3 or 4 × 4, over the reference's image
 * and, with the same divisions, over the canvas's square, never in the drawing. G steps through
 * them; the reference window's menu chooses one too. Remembered.
 */
class TStudyGrid final : public QObject
{
    Q_OBJECT
public:
    TStudyGrid(TCanvasView& canvas, const TCommands& commands, TReferencePane& references, QObject* parent);
    void Set(int divisions);

private:
    TCanvasView& FCanvas;
    TReferencePane& FReferences;
    int FDivisions = 0;
};

#endif
