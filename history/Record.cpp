#include "history/Record.h"

#include <QCoreApplication>

QString TotalsText(const TTotals& totals)
{
    const qint64 seconds = totals.TotalMs / 1000;
    QString time;
    if (seconds >= 3600)
        time = QCoreApplication::translate("THistory", "%1時間%2分").arg(seconds / 3600).arg(seconds / 60 % 60);
    else
        time = QCoreApplication::translate("THistory", "%1分%2秒").arg(seconds / 60).arg(seconds % 60);
    return QCoreApplication::translate("THistory", "%n枚 · %1", nullptr, int(totals.Drawings)).arg(time);
}
