#include "practice/Practice.h"

TPractice::TPractice(std::function<QDateTime()> now, QObject* parent) : QObject(parent), FNow(std::move(now))
{
    setObjectName(QStringLiteral("Practice"));
    if (!FNow)
        FNow = [] { return QDateTime::currentDateTime(); };
}

void TPractice::Add(const TFinishedDrawing& drawing, bool finishedNow)
{
    if (FDrawings.isEmpty() && finishedNow)
        FStarted = FNow().addMSecs(-drawing.DrawMs());
    FDrawings.append(drawing);
    emit DrawingAdded(FDrawings.last(), finishedNow);
}

void TPractice::Clear()
{
    FDrawings.clear();
    FStarted = {};
    emit Cleared();
}

void TPractice::BeginSave()
{
    FSaving = true;
    emit SavingChanged(true);
}

void TPractice::EndSave()
{
    FSaving = false;
    emit SavingChanged(false);
}
