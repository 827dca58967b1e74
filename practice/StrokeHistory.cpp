#include "practice/StrokeHistory.h"

#include <cstring>

void TStrokeHistory::BeginStroke(const QImage& canvas)
{
    FBefore = canvas;
    FTouched = QRect();
    FInStroke = true;
}

void TStrokeHistory::EndStroke(const QImage& canvas)
{
    if (!FInStroke)
        return;
    FInStroke = false;
    const QRect area = FTouched & canvas.rect() & FBefore.rect();
    TStep step{area, FBefore.copy(area), canvas.copy(area)};
    FBefore = QImage();
    if (area.isEmpty())
        return;
    while (FSteps.size() > FDone) {
        FBytes -= FSteps.last().Before.sizeInBytes() + FSteps.last().After.sizeInBytes();
        FSteps.removeLast();
    }
    FBytes += step.Before.sizeInBytes() + step.After.sizeInBytes();
    FSteps.append(std::move(step));
    FDone = FSteps.size();
    while (FBytes > FBudget && !FSteps.isEmpty()) {
        FBytes -= FSteps.first().Before.sizeInBytes() + FSteps.first().After.sizeInBytes();
        FSteps.removeFirst();
        --FDone;
    }
}

void TStrokeHistory::Put(QImage& canvas, const QImage& pixels, QPoint at)
{
    const int bytes = pixels.width() * 4;
    for (int y = 0; y < pixels.height(); ++y)
        std::memcpy(canvas.scanLine(at.y() + y) + at.x() * 4, pixels.constScanLine(y), size_t(bytes));
}

QRect TStrokeHistory::Undo(QImage& canvas)
{
    if (!CanUndo())
        return {};
    if (!canvas.rect().contains(FSteps[FDone - 1].Area)) {
        Clear(); // a canvas of another size: the steps no longer fit it
        return {};
    }
    const TStep& step = FSteps[--FDone];
    Put(canvas, step.Before, step.Area.topLeft());
    return step.Area;
}

QRect TStrokeHistory::Redo(QImage& canvas)
{
    if (!CanRedo())
        return {};
    if (!canvas.rect().contains(FSteps[FDone].Area)) {
        Clear();
        return {};
    }
    const TStep& step = FSteps[FDone++];
    Put(canvas, step.After, step.Area.topLeft());
    return step.Area;
}

void TStrokeHistory::Clear()
{
    FSteps.clear();
    FDone = 0;
    FBytes = 0;
    FBefore = QImage();
    FTouched = QRect();
    FInStroke = false;
}
