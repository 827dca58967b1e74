#include "practice/PlanProgress.h"

#include <QCoreApplication>

void TPlanProgress::SetPlan(TPlan plan, qsizetype firstDrawing)
{
    FPlan = std::move(plan);
    FStart = firstDrawing;
}

qint64 TPlanProgress::LimitOf(qsizetype drawing) const
{
    const qsizetype inPlan = drawing - FStart;
    return inPlan >= 0 ? FPlan.PlaceOf(int(inPlan)).LimitMs : 0;
}

bool TPlanProgress::EndedAt(qsizetype drawing) const
{
    const qsizetype inPlan = drawing - FStart;
    return inPlan >= 0 && FPlan.PlaceOf(int(inPlan)).Ended;
}

qint64 TPlanProgress::BreakAfter(qsizetype drawing) const
{
    const qsizetype inPlan = drawing - FStart;
    return inPlan >= 0 ? FPlan.BreakAfter(int(inPlan)) : 0;
}

QString TPlanProgress::Text(qsizetype drawing, qint64 limitMs) const
{
    QString text = limitMs > 0 ? LimitText(limitMs) : QString();
    const qsizetype inPlan = drawing - FStart;
    if (inPlan < 0 || FPlan.IsEmpty())
        return text;
    const TPlan::TPlace place = FPlan.PlaceOf(int(inPlan));
    if (place.Ended)
        return QCoreApplication::translate("TPlanProgress", "プラン終了");
    if (place.Count > 0)
        return QStringLiteral("%1/%2 · %3").arg(place.Number).arg(place.Count).arg(text);
    return QStringLiteral("%1 · %2").arg(place.Number).arg(text);
}
