#include "history/Record.h"

QString TotalsText(const TTotals& totals)
{
    const qint64 seconds = totals.TotalMs / 1000;
    QString time;
    if (seconds >= 3600)
        time = QStringLiteral("%1時間%2分").arg(seconds / 3600).arg(seconds / 60 % 60);
    else
        time = QStringLiteral("%1分%2秒").arg(seconds / 60).arg(seconds % 60);
    return QStringLiteral("%1枚 · %2").arg(totals.Drawings).arg(time);
}
