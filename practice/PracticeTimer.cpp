#include "practice/PracticeTimer.h"

#include <QTimer>

namespace {
constexpr int kCountInterval = 30; // ms: fast enough that the milliseconds look alive
} // namespace

TPracticeTimer::TPracticeTimer(const TClock& clock, QObject* parent)
    : QObject(parent), FClocks(clock), CountTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("PracticeTimer"));
    CountTimer->setObjectName(QStringLiteral("CountTimer"));
    CountTimer->setInterval(kCountInterval);
    CountTimer->setTimerType(Qt::PreciseTimer);
    connect(CountTimer, &QTimer::timeout, this, &TPracticeTimer::Ticked);
}

bool TPracticeTimer::Running() const
{
    return CountTimer->isActive();
}

void TPracticeTimer::Press()
{
    const bool running = Running();
    FClocks.Press(running);
    SetRunning(true);
}

void TPracticeTimer::Stop()
{
    FClocks.Stop(Running());
    SetRunning(false);
}

void TPracticeTimer::Pause()
{
    if (!Running())
        return;
    FClocks.Pause();
    SetRunning(false);
}

void TPracticeTimer::Resume()
{
    if (Running() || !FClocks.Paused())
        return;
    FClocks.Press(false);
    SetRunning(true);
}

void TPracticeTimer::Reset()
{
    SetRunning(false);
    FClocks.Reset();
}

void TPracticeTimer::Restore(qint64 totalMs, qint64 drawMs)
{
    SetRunning(false);
    FClocks.Restore(totalMs, drawMs);
}

void TPracticeTimer::SetRunning(bool running)
{
    if (running == Running())
        return;
    running ? CountTimer->start() : CountTimer->stop();
}
