#ifndef TENARAI_APP_REVIEWER_REVIEW_H
#define TENARAI_APP_REVIEWER_REVIEW_H

#include "practice/FinishedDrawing.h"

#include <QList>
#include <QObject>

class QWidget;
class TPractice;
class TReviewWindow;
struct TCommands;

/**
 * @brief The review of the practice: the "振り返り" command (R) and window, which follows the
 * practice as it goes on and is emptied by a save or a reset, and opens by itself when a plan
 * ends ("プラン終了後に振り返る", remembered). The window holds its images only while shown;
 * the drawings are the practice's own.
 */
class TReview final : public QObject
{
    Q_OBJECT
public:
    TReview(const TPractice& practice, const TCommands& commands, QWidget* mainWindow);
    ~TReview() override;

    void PlanEnded();
    void Show();
    void Toggle();
    // Shows a saved practice instead of this one, until the window is closed.
    void ShowPast(const QList<struct TReviewPair>& pairs);
    TReviewWindow* Window() const { return FWindow; }

protected:
    // A hidden window lets its images go.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DrawingAdded(const TFinishedDrawing& drawing);
    void PracticeCleared();
    void Fill();
    void Append(const TFinishedDrawing& drawing, int number);

    const TPractice& FPractice;
    const TCommands& FCommands;
    QWidget* FMainWindow;
    TReviewWindow* FWindow = nullptr; // made when first shown
    int FGeneration = 0; // references read for an emptied window are not put in it
    bool FPast = false;  // the window shows a saved practice
};

#endif
