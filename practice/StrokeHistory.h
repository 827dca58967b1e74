#ifndef TENARAI_PRACTICE_STROKEHISTORY_H
#define TENARAI_PRACTICE_STROKEHISTORY_H

#include <QImage>
#include <QList>
#include <QRect>

/**
 * @brief The strokes of the drawing in progress, for undo and redo.
 *
 * A step is one stroke from press to release, kept as the pixels of the rectangle it touched,
 * before and after. Steps are dropped oldest first once they hold more than the budget.
 */
class TStrokeHistory final
{
public:
    // 64 MiB: hundreds of ordinary strokes, a few dozen that sweep the whole canvas.
    static constexpr qsizetype DefaultBudget = 64 * 1024 * 1024;

    explicit TStrokeHistory(qsizetype budgetBytes = DefaultBudget) : FBudget(budgetBytes) {}

    // A stroke starts on this canvas (shared, not copied, until the stroke draws).
    void BeginStroke(const QImage& canvas);
    void Touch(const QRect& pixels) { FTouched |= pixels; }
    // The stroke ended on this canvas; a stroke that drew nothing is no step. A new step drops
    // the steps that could have been redone.
    void EndStroke(const QImage& canvas);

    bool CanUndo() const { return FDone > 0; }
    bool CanRedo() const { return FDone < FSteps.size(); }
    // Puts the last step's old pixels back and returns where; empty when there is nothing to undo.
    QRect Undo(QImage& canvas);
    QRect Redo(QImage& canvas);
    void Clear();

    qsizetype Steps() const { return FSteps.size(); }
    qsizetype Bytes() const { return FBytes; }

private:
    struct TStep
    {
        QRect Area;
        QImage Before;
        QImage After;
    };
    static void Put(QImage& canvas, const QImage& pixels, QPoint at);

    qsizetype FBudget;
    QList<TStep> FSteps;
    qsizetype FDone = 0; // steps [0, FDone) are on the canvas
    qsizetype FBytes = 0;
    QImage FBefore; // the canvas when the stroke began
    QRect FTouched;
    bool FInStroke = false;
};

#endif
