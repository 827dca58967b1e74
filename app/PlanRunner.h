#ifndef TENARAI_APP_PLANRUNNER_H
#define TENARAI_APP_PLANRUNNER_H

#include "practice/PlanProgress.h"

#include <QObject>
#include <QRect>

class QAction;
class QSoundEffect;
class QWidget;
class TCountdownBar;
class TPracticeView;
struct TCommands;

/**
 * @brief The practice plan at work: the plan chosen in the menu (and remembered), the limit it
 * sets on each drawing, the countdown bar, and at time-up the sound and the TimeUp signal, on
 * which the window finishes the drawing.
 */
class TPlanRunner final : public QObject
{
    Q_OBJECT
public:
    TPlanRunner(TPracticeView& practice, const TCommands& commands, QWidget* window);

    // Starts with the next drawing when one is under way; a remembered plan is the next start's.
    void SetPlan(const TPlan& plan, bool remember = true);
    const TPlan& Plan() const { return FProgress.Plan(); }

    // The practice moved on (a drawing finished, a reset, a recovery): the limit of the next
    // drawing, unless one is under way, and the bar.
    void Update();
    // A new practice: the plan starts again.
    void Restart();
    // The clocks ticked: the bar follows, and TimeUp comes once the limit is reached.
    void Tick();
    // Lays the bar in the window's free bottom band, given the canvas's place in the window.
    void PlaceBar(QSize window, QRect canvas);

signals:
    void TimeUp();

private:
    void PlanCommandExecute(QAction* entry);
    void UpdateCountdown();

    TPracticeView& FPractice;
    const TCommands& FCommands;
    QWidget* FWindow;
    TPlanProgress FProgress;
    TCountdownBar* FBar;
    QSoundEffect* FTimeUpSound = nullptr; // made when a plan first needs it
};

#endif
