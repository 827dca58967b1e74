#ifndef TENARAI_PRACTICE_PRACTICECLOCKS_H
#define TENARAI_PRACTICE_PRACTICECLOCKS_H

#include <QString>

class TClock;

/**
 * @brief The two practice clocks: the current drawing's time and the total time without pauses.
 *
 * Whether they run is not kept here: it is the enabled flag of the count timer that
 * TPracticeTimer keeps beside them, which the caller passes in. While they run, StartDrawTime is the start of the current drawing; while
 * stopped, the moment they stopped. InitialDrawTime is moved later by every pause, so that
 * now − InitialDrawTime is the practice time without pauses.
 */
class TPracticeClocks final
{
public:
    explicit TPracticeClocks(const TClock& clock) : FClock(clock) {}

    // Both clocks back to their start: not started, nothing counted.
    void Reset();
    // The rule for an admitted press on the canvas, given whether the clocks run now. Stopped
    // clocks must be started by the caller right after (it enables the timer).
    void Press(bool running);
    // A drawing was finished: a pause, if one follows, starts now (at the limit, when running
    // clocks passed it), or went on from the moment stopped clocks stopped.
    void Stop(bool running = true);
    /**
     * @brief The user pauses the drawing under way: the clocks stop now (at the limit, if it came
     * first) with the drawing kept, and the next press carries on from its time, the pause left
     * out of the total. The caller stops the timer.
     */
    void Pause();
    bool Paused() const { return FPaused; }

    /**
     * @brief Stopped clocks as a recovered practice left them: `totalMs` on the total, and
     * `drawMs` already spent on an unfinished drawing, which the next press carries on from
     * (negative when the practice stopped after a finished drawing).
     */
    void Restore(qint64 totalMs, qint64 drawMs = -1);
    // Whether the stopped clocks hold an unfinished drawing's time (see Restore).
    bool HoldsUnfinishedDrawing() const { return FHoldsUnfinished; }
    // The exact time of the drawing being finished now: the running clocks' reading, the time
    // an unfinished drawing holds, or 0 when nothing is under way.
    qint64 FinishingDrawMs(bool running) const
    {
        return running ? DrawTimeMs() : FHoldsUnfinished ? FCarriedMs : 0;
    }

    /**
     * @brief A time limit for the drawing (0: none). While the clocks run they stop counting at
     * the limit: the drawing's time reads exactly the limit, and whatever comes after it until
     * the clocks are stopped counts as a pause.
     */
    void SetLimit(qint64 ms) { FLimitMs = ms; }
    qint64 LimitMs() const { return FLimitMs; }
    bool LimitReached() const;

    // The readings while the clocks run.
    QString DrawTimeText() const;
    qint64 DrawTimeMs() const;
    qint64 TotalDrawTimeMs() const;
    // The total as the stopped clocks hold it.
    qint64 StoppedTotalMs() const { return FStartDrawTime - FInitialDrawTime; }
    QString TotalDrawTimeText() const;

    qint64 StartDrawTime() const { return FStartDrawTime; }
    qint64 InitialDrawTime() const { return FInitialDrawTime; }
    bool IsFirstStart() const { return FIsFirstStart; }
    const TClock& Clock() const { return FClock; }

private:
    const TClock& FClock;
    qint64 FStartDrawTime = 0;
    qint64 FInitialDrawTime = 0;
    bool FIsFirstStart = true;
    qint64 FCarriedMs = 0; // drawing time the next press carries on from
    bool FHoldsUnfinished = false;
    bool FPaused = false;
    qint64 FLimitMs = 0;

    // Now, or the moment the drawing reached its limit if that came first.
    qint64 Reading() const;
};

#endif
