#ifndef TENARAI_PRACTICE_CLOCK_H
#define TENARAI_PRACTICE_CLOCK_H

#include <QElapsedTimer>
#include <QtGlobal>

// A source of instants in whole milliseconds. Only differences of its readings mean anything.
class TClock
{
public:
    virtual ~TClock() = default;
    virtual qint64 NowMs() const = 0;
};

// Monotonic: a change of the computer's date or time, daylight saving included, never shows
// in the practice clocks.
class TSteadyClock final : public TClock
{
public:
    TSteadyClock() { FTimer.start(); }
    // The one the program's clocks run on.
    static const TSteadyClock& Shared()
    {
        static const TSteadyClock clock;
        return clock;
    }
    qint64 NowMs() const override { return FTimer.elapsed(); }

private:
    QElapsedTimer FTimer;
};

#endif
