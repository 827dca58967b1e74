#include "practice/ElapsedTime.h"

#include <QRegularExpression>
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

std::optional<qint64> ElapsedTimeMs(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d+):(\\d{2})\\.(\\d{3})$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return (match.captured(1).toLongLong() * 60 + match.captured(2).toLongLong()) * 1000 +
           match.captured(3).toLongLong();
}
