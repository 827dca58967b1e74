#ifndef TENARAI_PRACTICE_ELAPSEDTIME_H
#define TENARAI_PRACTICE_ELAPSEDTIME_H

#include <QString>
#include <optional>

// The milliseconds between two instants, whichever comes first.
qint64 ElapsedMilliseconds(qint64 from, qint64 to);

// "mm:ss.fff"; the minutes widen past 99 instead of wrapping (100:00.000).
QString ElapsedTimeText(qint64 milliseconds);
// The milliseconds of such a text ("01:01.234"); nothing when it is not one.
std::optional<qint64> ElapsedTimeMs(const QString& text);

#endif
