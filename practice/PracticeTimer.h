#ifndef TENARAI_PRACTICE_PRACTICETIMER_H
#define TENARAI_PRACTICE_PRACTICETIMER_H

#include "practice/PracticeClocks.h"

#include <QObject>

class QTimer;
class TClock;

/**
 * @brief The owner of the practice clocks and of their 30 ms timer, `CountTimer`, whose
 * enabled flag is whether the clocks run. It says when they tick; the window shows the readings
 * and the plan runner counts down, both listening, and both ask it whether the clocks run.
 */
class TPracticeTimer final : public QObject
{
    Q_OBJECT
public:
    explicit TPracticeTimer(const TClock& clock, QObject* parent = nullptr);

    const TPracticeClocks& Clocks() const { return FClocks; }
    bool Running() const;
    // The clocks run, or an unfinished drawing waits on the canvas.
    bool DrawingInProgress() const { return Running() || FClocks.HoldsUnfinishedDrawing(); }

    // An admitted press on the canvas: starts or resumes the clocks.
    void Press();
    // The drawing under way was finished: the clocks stop.
    void Stop();
    // The user pauses the drawing under way, or carries on with it.
    void Pause();
    void Resume();
    void Reset();
    void Restore(qint64 totalMs, qint64 drawMs);
    void SetLimit(qint64 ms) { FClocks.SetLimit(ms); }

signals:
    // Every 30 ms while the clocks run.
    void Ticked();

private:
    void SetRunning(bool running);

    TPracticeClocks FClocks; // StartDrawTime, InitialDrawTime and IsFirstStart
    QTimer* CountTimer;
};

#endif
