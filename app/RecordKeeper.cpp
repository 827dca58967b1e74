#include "app/RecordKeeper.h"

#include "app/Commands.h"
#include "app/DialogService.h"
#include "app/PlanRunner.h"
#include "app/PracticeView.h"
#include "app/RecordWindow.h"
#include "app/ReferencePane.h"
#include "history/History.h"
#include "practice/ElapsedTime.h"
#include "practice/PracticeClocks.h"
#include "review/Pairs.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

namespace {
constexpr int kCellsPerSheet = 64;
} // namespace

TRecordKeeper::TRecordKeeper(TPracticeView& practice, const TCommands& commands, const TPlanRunner& plan,
                             const TReferencePane& references, std::function<QDateTime()> now,
                             QWidget* window)
    : QObject(window), FPractice(practice), FPlan(plan), FReferences(references), FNow(std::move(now)),
      FMainWindow(window), FHistory(std::make_unique<THistory>())
{
    setObjectName(QStringLiteral("RecordKeeper"));
    connect(commands.History, &QAction::triggered, this, &TRecordKeeper::ShowWindow);
    connect(FHistory.get(), &THistory::Failed, this, [this](const QString& reason) {
        Tell(QStringLiteral("練習の記録を保存できません。\n") + reason);
    });
    connect(FHistory.get(), &THistory::MovedAside, this, [this](const QString& path) {
        Tell(QStringLiteral("練習の記録が壊れていたため、そのまま残して新しく始めました。\n") +
             QDir::toNativeSeparators(path));
    });
    connect(FHistory.get(), &THistory::Recorded, this, [this] {
        if (FWindow && FWindow->isVisible())
            FWindow->Reload();
    });
}

TRecordKeeper::~TRecordKeeper() = default;

void TRecordKeeper::Tell(const QString& message)
{
    if (FTold)
        return;
    FTold = true;
    ShowMessage(message);
}

void TRecordKeeper::DrawingAdded(const TFinishedDrawing& drawing, bool finishedNow)
{
    const std::optional<qint64> drawMs = ElapsedTimeMs(drawing.Stamp());
    if (FDrawings.isEmpty() && finishedNow)
        FStarted = FNow().addMSecs(-drawMs.value_or(0));
    const qint64 limit = finishedNow ? FPractice.PracticeClocks().LimitMs() : 0;
    const int index = int(FDrawings.size());
    FDrawings.append(
        {index + 1, drawMs, limit > 0 ? std::optional<qint64>(limit) : std::nullopt,
         drawing.Reference().IsEmpty() ? std::nullopt : std::optional<QString>(drawing.Reference().Path),
         index / kCellsPerSheet + 1, index % kCellsPerSheet});
    FTotalMs = drawing.TotalMs();
}

void TRecordKeeper::PracticeCleared()
{
    FDrawings.clear();
    FStarted = {};
    FTotalMs = 0;
}

void TRecordKeeper::PracticeSaved(const QStringList& files, const QDateTime& when)
{
    if (files.isEmpty() || FDrawings.isEmpty())
        return;
    TPracticeRecord practice;
    practice.StartedUtc = FStarted.toUTC();
    practice.SavedUtc = when.toUTC();
    practice.UtcOffsetMin = when.offsetFromUtc() / 60;
    practice.Drawings = int(FDrawings.size());
    practice.TotalMs = FTotalMs;
    practice.Plan = FPlan.Plan().Text();
    practice.ReferenceFolder = FReferences.Folder();
    const QFileInfo first(files.first());
    practice.ResultFolder = first.absolutePath();
    practice.Stamp = first.completeBaseName().section(QLatin1Char('_'), 0, 1);
    practice.DrawingRows = FDrawings;
    FHistory->Record(practice);
}

void TRecordKeeper::ShowWindow()
{
    if (!FWindow) {
        FWindow = new TRecordWindow(FMainWindow, *FHistory, FNow);
        FWindow->addActions(FMainWindow->actions());
        connect(FWindow, &TRecordWindow::PracticeOpened, this, &TRecordKeeper::PracticeOpened);
    }
    FWindow->Reload();
    FWindow->show();
    FWindow->raise();
}
