#ifndef TENARAI_APP_PLANRUNNER_H
#define TENARAI_APP_PLANRUNNER_H

#include "practice/PlanProgress.h"

#include <QObject>
#include <QRect>

class QAction;
class QSoundEffect;
class QTimer;
class QWidget;
class TCountdownBar;
class TPracticeView;
struct TCommands;

/**
 * @brief The practice plan at work, and the time under the learner's hand: the plan chosen in
 * the menu (and remembered), the limit it sets on each drawing, the countdown bar, the breaks
 * between drawings, pause and "+30秒", the cues before time-up, and at time-up the sound and
 * the TimeUp signal, on which the window finishes the drawing.
 */
class TPlanRunner final : public QObject
{
    Q_OBJECT
public:
    TPlanRunner(TPracticeView& practice, const TCommands& commands, QWidget* window);

    // Starts with the next drawing when one is under way; a remembered plan is the next start's.
    void SetPlan(const TPlan& plan, bool remember = true);
    const TPlan& Plan() const { return FProgress.Plan(); }

    // The practice moved on (a reset, a recovery, a plan): the limit of the next drawing,
    // unless one is under way, and the bar.
    void Update();
    // A drawing was finished: the next one's limit, and the break that may come first.
    void DrawingFinished();
    // A new practice: the plan starts again.
    void Restart();
    // The clocks ticked: the bar follows, the cues sound, and TimeUp comes at the limit.
    void Tick();
    // Lays the bar in the window's free bottom band, given the canvas's place in the window.
    void PlaceBar(QSize window, QRect canvas);
    bool OnBreak() const { return FBreakEndMs > 0; }

signals:
    void TimeUp();
    // A break of the plan began (true) or ended (false).
    void BreakChanged(bool on);
    // The plan's last drawing was finished.
    void PlanEnded();

private:
    void PlanCommandExecute(QAction* entry);
    void PauseCommandExecute();
    void MoreTimeCommandExecute();
    void StartBreak(qint64 ms);
    void EndBreak(bool timeUp);
    void Cue();
    void UpdateCountdown();
    void Play(QSoundEffect*& sound, const char* source);

    TPracticeView& FPractice;
    const TCommands& FCommands;
    QWidget* FWindow;
    TPlanProgress FProgress;
    TCountdownBar* FBar;
    QTimer* FBreakTimer;
    qint64 FBreakEndMs = 0;               // on the practice clock; 0: no break
    bool FBreakOver = false;              // the bar says so until the next drawing starts
    int FNextCue = 0;                     // of the cue times, the next one still to sound
    bool FBlinked = false;                // at half time of this drawing
    QSoundEffect* FTimeUpSound = nullptr; // each made when first needed
    QSoundEffect* FTickSound = nullptr;
};

#endif
