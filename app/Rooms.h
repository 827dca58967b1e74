#ifndef TENARAI_APP_ROOMS_H
#define TENARAI_APP_ROOMS_H

#include "app/JournalKeeper.h"
#include "app/MirrorView.h"
#include "app/PenEnds.h"
#include "app/PlanRunner.h"
#include "app/ReferencePane.h"
#include "app/ResultFolder.h"
#include "app/Review.h"

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
    TRooms(TPracticeView& practice, TCanvasView& canvas, const TCommands& commands, QWidget* window);

    TJournalKeeper* Journal;
    TPlanRunner* Plan;
    TReferencePane* References;
    TResultFolder* Results;
    TPenEnds* PenEnds;
    TMirrorView* Mirror;
    TReview* Review;
};

#endif
