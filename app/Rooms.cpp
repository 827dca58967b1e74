#include "app/Rooms.h"

#include <QWidget>

TRooms::TRooms(TPracticeView& practice, TCanvasView& canvas, const TCommands& commands,
               std::function<QDateTime()> now, QWidget* window)
    : Journal(new TJournalKeeper(practice, window)), Plan(new TPlanRunner(practice, commands, window)),
      References(new TReferencePane(commands, window)), Results(new TResultFolder(commands, window)),
      PenEnds(new TPenEnds(canvas, commands, window)), Mirror(new TMirrorView(canvas, commands, window)),
      Review(new TReview(commands, window)),
      Record(new TRecordKeeper(practice, commands, *Plan, *References, std::move(now), window)),
      Grid(new TStudyGrid(canvas, commands, *References, window)), Saving(new TSaveProgress(window))
{
    QObject::connect(Record, &TRecordKeeper::PracticeOpened, Review, &TReview::ShowPast);
    QObject::connect(Plan, &TPlanRunner::PlanEnded, Review, &TReview::PlanEnded);
    QObject::connect(Plan, &TPlanRunner::BreakChanged, References, &TReferencePane::SetResting);
}
