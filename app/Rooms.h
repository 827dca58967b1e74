#ifndef TENARAI_APP_ROOMS_H
#define TENARAI_APP_ROOMS_H

#include "app/canvas/MirrorView.h"
#include "app/canvas/PenEnds.h"
#include "app/plan/PlanRunner.h"
#include "app/record/RecordKeeper.h"
#include "app/recovery/JournalKeeper.h"
#include "app/reviewer/Review.h"
#include "app/saving/ResultFolder.h"
#include "app/saving/SaveProgress.h"
#include "app/study/ReferencePane.h"
#include "app/study/StudyGrid.h"

#include <QDateTime>
#include <functional>

class QWidget;
class TBitmap;
class TBottomBand;
class TCanvasView;
class TPractice;
class TPracticeTimer;
struct TCommands;

/**
 * @brief The window's rooms, one per feature, made together and owned by the window through
 * their QObject parent. Each takes its commands, reads the one practice and follows its
 * signals; what one room tells another is connected here, what a room tells the window is
 * connected by the window.
 */
struct TRooms
{
    // What the rooms are given of the window.
    struct TPlaces
    {
        const TPractice& Practice;
        TPracticeTimer& Timer;
        const TBitmap& Canvas; // the drawing in progress
        TCanvasView& View;
        TBottomBand& Band;
        const TCommands& Commands;
        std::function<QDateTime()> Now;
        QWidget* Window;
    };
    explicit TRooms(const TPlaces& places);

    TJournalKeeper* Journal;
    TPlanRunner* Plan;
    TReferencePane* References;
    TResultFolder* Results;
    TPenEnds* PenEnds;
    TMirrorView* Mirror;
    TReview* Review;
    TRecordKeeper* Record;
    TStudyGrid* Grid;
    TSaveProgress* Saving;
};

#endif
