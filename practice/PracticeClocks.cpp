#include "practice/PracticeClocks.h"

#include "practice/Clock.h"
#include "practice/ElapsedTime.h"

void TPracticeClocks::Reset()
{
    FStartDrawTime = FClock.NowMs();
    FInitialDrawTime = FClock.NowMs();
    FIsFirstStart = true;
}

void TPracticeClocks::Press(bool running)
{
    if (!running) {
        // Leave the pause since the clocks stopped out of the total.
        FInitialDrawTime += FClock.NowMs() - FStartDrawTime;
        FStartDrawTime = FClock.NowMs();
    }
    if (FIsFirstStart) {
        // The time between the reset and the first press counts nowhere.
        FInitialDrawTime = FClock.NowMs();
        FIsFirstStart = false;
    }
}

void TPracticeClocks::Stop()
{
    FStartDrawTime = FClock.NowMs();
}

void TPracticeClocks::Restore(qint64 totalMs)
{
    FStartDrawTime = FClock.NowMs();
    FInitialDrawTime = FStartDrawTime - totalMs;
    FIsFirstStart = false;
}

qint64 TPracticeClocks::TotalDrawTimeMs() const
{
    return ElapsedMilliseconds(FInitialDrawTime, FClock.NowMs());
}

QString TPracticeClocks::DrawTimeText() const
{
    return ElapsedTimeText(ElapsedMilliseconds(FStartDrawTime, FClock.NowMs()));
}

QString TPracticeClocks::TotalDrawTimeText() const
{
    return ElapsedTimeText(TotalDrawTimeMs());
}
