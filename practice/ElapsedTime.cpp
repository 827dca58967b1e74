#include "practice/ElapsedTime.h"

#include <cstdlib>

qint64 ElapsedMilliseconds(qint64 from, qint64 to)
{
    return std::llabs(to - from);
}

QString ElapsedTimeText(qint64 milliseconds)
{
    const qint64 minutes = milliseconds / 60000;
    const qint64 seconds = (milliseconds / 1000) % 60;
    const qint64 millis = milliseconds % 1000;
    return QString::asprintf("%.2lld:%.2lld.%.3lld", minutes, seconds, millis);
}
