#ifndef TENARAI_APP_PRACTICEVIEW_H
#define TENARAI_APP_PRACTICEVIEW_H

#include <QtGlobal>

class TBitmap;
class TPracticeClocks;

/**
 * @brief What the window's rooms may read of the practice: its drawings, the canvas and the
 * clocks (on which the plan runner sets limits). The window implements it; a room never reaches the window's
 * controls.
 */
class TPracticeView
{
public:
    // The drawings finished so far in this practice.
    virtual qsizetype FinishedDrawings() const = 0;
    // The clocks run, or an unfinished drawing waits on the canvas.
    virtual bool DrawingInProgress() const = 0;
    virtual bool ClocksRunning() const = 0;
    virtual TPracticeClocks& PracticeClocks() = 0;
    // Starts or stops the clocks' timer; the caller has brought the clocks themselves along.
    virtual void SetClocksRunning(bool running) = 0;
    // The drawing in progress.
    virtual const TBitmap& CanvasBitmap() const = 0;

protected:
    ~TPracticeView() = default;
};

#endif
