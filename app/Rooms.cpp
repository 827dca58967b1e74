#include "app/Rooms.h"

#include <QWidget>

TRooms::TRooms(const TPlaces& p)
    : Journal(new TJournalKeeper(p.Practice, p.Timer, p.Canvas, p.Window)),
      Plan(new TPlanRunner(p.Practice, p.Timer, p.Commands, p.Band, p.Window)),
      References(new TReferencePane(p.Commands, p.Window)),
      Results(new TResultFolder(p.Commands, p.Window)), PenEnds(new TPenEnds(p.View, p.Commands, p.Window)),
      Mirror(new TMirrorView(p.View, p.Commands, p.Band, p.Window)),
      Review(new TReview(p.Practice, p.Commands, p.Window)),
      Record(new TRecordKeeper(p.Practice, p.Commands, p.Now, p.Window)),
      Grid(new TStudyGrid(p.View, p.Commands, *References, p.Window)), Saving(new TSaveProgress(p.Band, p.Window))
{
    QObject::connect(Record, &TRecordKeeper::PracticeOpened, Review, &TReview::ShowPast);
    QObject::connect(Plan, &TPlanRunner::PlanEnded, Review, &TReview::PlanEnded);
    QObject::connect(Plan, &TPlanRunner::BreakChanged, References, &TReferencePane::SetResting);
}
