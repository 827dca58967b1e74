#ifndef TENARAI_PRACTICE_PLANPROGRESS_H
#define TENARAI_PRACTICE_PLANPROGRESS_H

#include "practice/Plan.h"

#include <QString>

/**
 * @brief Where a practice stands in its plan: the plan began with one of the practice's
 * drawings (a drawing already under way when it was chosen keeps the limit it had), so drawing
 * n of the practice is drawing n − start of the plan.
 */
class TPlanProgress final
{
public:
    // The plan starts with the practice's drawing `firstDrawing` (from 0).
    void SetPlan(TPlan plan, qsizetype firstDrawing);
    const TPlan& Plan() const { return FPlan; }
    // A new practice: the plan starts again with its first drawing.
    void Restart() { FStart = 0; }

    // The limit of the practice's drawing `drawing` (from 0); 0 for none.
    qint64 LimitOf(qsizetype drawing) const;
    // Whether the practice's drawing `drawing` comes after the plan's last one.
    bool EndedAt(qsizetype drawing) const;
    // The break that follows the practice's drawing `drawing`; 0 for none.
    qint64 BreakAfter(qsizetype drawing) const;
    // What the countdown bar says for that drawing with its limit: "3/10 · 30秒", "2 · 1分",
    // "プラン終了", or the limit alone for a drawing begun before the plan.
    QString Text(qsizetype drawing, qint64 limitMs) const;

private:
    TPlan FPlan;
    qsizetype FStart = 0;
};

#endif
