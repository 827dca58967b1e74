#include "app/record/RecordKeeper.h"

#include "app/Commands.h"
#include "app/DialogService.h"
#include "app/record/RecordWindow.h"
#include "history/History.h"
#include "practice/Practice.h"
#include "review/Pairs.h"

#include <QAction>
#include <QDir>

TRecordKeeper::TRecordKeeper(const TPractice& practice, const TCommands& commands, std::function<QDateTime()> now,
                             QWidget* window)
    : QObject(window), FNow(std::move(now)), FMainWindow(window), FHistory(std::make_unique<THistory>())
{
    setObjectName(QStringLiteral("RecordKeeper"));
    connect(&practice, &TPractice::Saved, this,
            [this, &practice](const TSavedSheets& sheets) { FHistory->Record(RecordOf(practice, sheets)); });
    connect(commands.History, &QAction::triggered, this, &TRecordKeeper::ShowWindow);
    connect(FHistory.get(), &THistory::Failed, this, [this](const QString& reason) {
        Tell(tr("練習の記録を保存できません。\n") + reason);
    });
    connect(FHistory.get(), &THistory::MovedAside, this, [this](const QString& path) {
        Tell(tr("練習の記録が壊れていたため、そのまま残して新しく始めました。\n") +
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

TPracticeRecord TRecordKeeper::RecordOf(const TPractice& practice, const TSavedSheets& sheets)
{
    const QList<TFinishedDrawing>& drawings = practice.Drawings();
    TPracticeRecord record;
    record.StartedUtc = practice.Started().toUTC();
    record.SavedUtc = sheets.When.toUTC();
    record.UtcOffsetMin = sheets.When.offsetFromUtc() / 60;
    record.Drawings = int(drawings.size());
    record.TotalMs = drawings.isEmpty() ? 0 : drawings.last().TotalMs();
    record.Plan = practice.PlanText();
    record.ReferenceFolder = practice.ReferenceFolder();
    record.ResultFolder = sheets.Folder;
    record.Stamp = sheets.Stamp;
    for (qsizetype i = 0; i < drawings.size(); ++i) {
        const TFinishedDrawing& drawing = drawings[i];
        const TSheetPlace place = sheets.Places.value(i, PlaceOf(i));
        record.DrawingRows.append(
            {int(i + 1), drawing.DrawMs(),
             drawing.LimitMs() > 0 ? std::optional<qint64>(drawing.LimitMs()) : std::nullopt,
             drawing.Reference().IsEmpty() ? std::nullopt : std::optional<QString>(drawing.Reference().Path),
             place.Sheet, place.Cell});
    }
    return record;
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
