#ifndef TENARAI_APP_ROOMS_H
#define TENARAI_APP_ROOMS_H

#include "app/JournalKeeper.h"
#include "app/MirrorView.h"
#include "app/PenEnds.h"
#include "app/PlanRunner.h"
#include "app/RecordKeeper.h"
#include "app/ReferencePane.h"
#include "app/ResultFolder.h"
#include "app/SaveProgress.h"
#include "app/Review.h"
#include "app/StudyGrid.h"

class QWidget;
class TCanvasView;
class TPracticeView;
struct TCommands;

/**
 * @brief The window's rooms, one per feature, made together and owned by the window through
 * their QObject parent. Each takes its commands and talks through signals; what one room tells
 * another is connected here, what a room tells the window is connected by the window.
 */
struct TRooms
{
    TRooms(TPracticeView& practice, TCanvasView& canvas, const TCommands& commands,
           std::function<QDateTime()> now, QWidget* window);

    // The practice's events reach the rooms that follow the practice.
    template <class TWindow> void Follow(TWindow* window)
    {
        QObject::connect(window, &TWindow::DrawingAdded, Review, &TReview::DrawingAdded);
        QObject::connect(window, &TWindow::PracticeCleared, Review, &TReview::PracticeCleared);
        QObject::connect(window, &TWindow::DrawingAdded, Record, &TRecordKeeper::DrawingAdded);
        QObject::connect(window, &TWindow::PracticeCleared, Record, &TRecordKeeper::PracticeCleared);
        QObject::connect(window, &TWindow::PracticeSaved, Record, &TRecordKeeper::PracticeSaved);
    }

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
