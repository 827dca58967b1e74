#include "practice/PracticeClocks.h"

#include "practice/Clock.h"
#include "practice/ElapsedTime.h"

void TPracticeClocks::Reset()
{
    FStartDrawTime = FClock.NowMs();
    FInitialDrawTime = FClock.NowMs();
    FIsFirstStart = true;
    FCarriedMs = 0;
    FHoldsUnfinished = false;
    FPaused = false;
}

void TPracticeClocks::Press(bool running)
{
    if (!running) {
        // Leave the pause since the clocks stopped out of the total.
        FInitialDrawTime += FClock.NowMs() - FStartDrawTime;
        FStartDrawTime = FClock.NowMs() - FCarriedMs;
        FCarriedMs = 0;
        FHoldsUnfinished = false;
        FPaused = false;
    }
    if (FIsFirstStart) {
        // The time between the reset and the first press counts nowhere.
        FInitialDrawTime = FClock.NowMs();
        FIsFirstStart = false;
    }
}

void TPracticeClocks::Stop(bool running)
{
    if (running)
        FStartDrawTime = Reading();
    FCarriedMs = 0;
    FHoldsUnfinished = false;
    FPaused = false;
}

void TPracticeClocks::Pause()
{
    const qint64 stopped = Reading();
    FCarriedMs = stopped - FStartDrawTime;
    FStartDrawTime = stopped;
    FHoldsUnfinished = true;
    FPaused = true;
}

void TPracticeClocks::Restore(qint64 totalMs, qint64 drawMs)
{
    FStartDrawTime = FClock.NowMs();
    FInitialDrawTime = FStartDrawTime - totalMs;
    FIsFirstStart = false;
    FCarriedMs = qMax<qint64>(0, drawMs);
    FHoldsUnfinished = drawMs >= 0;
}

qint64 TPracticeClocks::TotalDrawTimeMs() const
{
    return ElapsedMilliseconds(FInitialDrawTime, Reading());
}

qint64 TPracticeClocks::Reading() const
{
    const qint64 now = FClock.NowMs();
    return FLimitMs > 0 ? qMin(now, FStartDrawTime + FLimitMs) : now;
}

bool TPracticeClocks::LimitReached() const
{
    return FLimitMs > 0 && FClock.NowMs() - FStartDrawTime >= FLimitMs;
}

qint64 TPracticeClocks::DrawTimeMs() const
{
    return ElapsedMilliseconds(FStartDrawTime, Reading());
}

QString TPracticeClocks::DrawTimeText() const
{
    return ElapsedTimeText(DrawTimeMs());
}

QString TPracticeClocks::TotalDrawTimeText() const
{
    return ElapsedTimeText(TotalDrawTimeMs());
}
