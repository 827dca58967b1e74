#include "app/reviewer/Review.h"

#include "app/Commands.h"
#include "app/reviewer/ReviewWindow.h"
#include "app/Settings.h"
#include "practice/Practice.h"
#include "practice/ReferenceCell.h"
#include "review/Pairs.h"

#include <QAction>
#include <QEvent>
#include <QFutureWatcher>
#include <QtConcurrent>

TReview::TReview(const TPractice& practice, const TCommands& commands, QWidget* mainWindow)
    : QObject(mainWindow), FPractice(practice), FCommands(commands), FMainWindow(mainWindow)
{
    setObjectName(QStringLiteral("Review"));
    connect(&practice, &TPractice::DrawingAdded, this, &TReview::DrawingAdded);
    connect(&practice, &TPractice::Cleared, this, &TReview::PracticeCleared);
    connect(commands.Review, &QAction::triggered, this, &TReview::Toggle);
    commands.ReviewAfterPlan->setChecked(
        OpenSettings()->value(QLatin1String(Settings::ReviewAfterPlan), true).toBool());
    connect(commands.ReviewAfterPlan, &QAction::toggled, this,
            [](bool on) { OpenSettings()->setValue(QLatin1String(Settings::ReviewAfterPlan), on); });
}

TReview::~TReview() = default;

void TReview::DrawingAdded(const TFinishedDrawing& drawing)
{
    // A window opened by the same drawing's arrival (a plan's end) has it already.
    if (FWindow && FWindow->isVisible() && !FPast && FWindow->Count() < FPractice.Count())
        Append(drawing, int(FPractice.Count()));
}

void TReview::PracticeCleared()
{
    if (FPast)
        return;
    ++FGeneration;
    if (FWindow)
        FWindow->Clear();
}

void TReview::PlanEnded()
{
    if (FCommands.ReviewAfterPlan->isChecked())
        Show();
}

void TReview::Toggle()
{
    if (FWindow && FWindow->isVisible())
        FWindow->hide();
    else
        Show();
}

void TReview::ShowPast(const QList<TReviewPair>& pairs)
{
    Show();
    ++FGeneration;
    FPast = true;
    FWindow->Clear();
    for (const TReviewPair& pair : pairs)
        FWindow->AddPair(pair);
}

void TReview::Show()
{
    if (!FWindow) {
        FWindow = new TReviewWindow(FMainWindow);
        // The program's keys work here too: R closes the window again.
        FWindow->addActions(FMainWindow->actions());
        FWindow->installEventFilter(this);
    }
    if (!FWindow->isVisible() || FPast) {
        FPast = false;
        Fill();
    }
    FWindow->show();
    FWindow->raise();
}

bool TReview::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FWindow && event->type() == QEvent::Hide) {
        ++FGeneration;
        FPast = false;
        FWindow->Clear();
    }
    return QObject::eventFilter(watched, event);
}

void TReview::Fill()
{
    ++FGeneration;
    FWindow->Clear();
    const QList<TFinishedDrawing>& drawings = FPractice.Drawings();
    for (qsizetype i = 0; i < drawings.size(); ++i)
        Append(drawings[i], int(i + 1));
}

void TReview::Append(const TFinishedDrawing& drawing, int number)
{
    FWindow->AddPair(PairOf(drawing, number));
    if (drawing.Reference().IsEmpty())
        return;
    // The file is read on a worker; the window takes it if it still shows this practice.
    auto* watcher = new QFutureWatcher<QImage>(this);
    const int generation = FGeneration;
    const int index = FWindow->Count() - 1;
    connect(watcher, &QFutureWatcher<QImage>::finished, this, [this, watcher, generation, index] {
        if (generation == FGeneration && FWindow)
            FWindow->SetReference(index, watcher->result());
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run(ReferenceCell, drawing.Reference()));
}
