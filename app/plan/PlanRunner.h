#ifndef TENARAI_APP_PLAN_PLANRUNNER_H
#define TENARAI_APP_PLAN_PLANRUNNER_H

#include "practice/PlanProgress.h"

#include <QObject>
#include <QRect>

class QAction;
class QSoundEffect;
class QTimer;
class QWidget;
class TBottomBand;
class TCountdownBar;
class TFinishedDrawing;
class TPractice;
class TPracticeTimer;
struct TCommands;

/**
 * @brief The practice plan at work, and the time under the learner's hand: the plan chosen in
 * the menu (and remembered), the limit it sets on each drawing, the countdown bar, the breaks
 * between drawings, pause and "+30秒", the cues before time-up, and at time-up the sound and
 * the TimeUp signal, on which the window finishes the drawing. It follows the clocks' owner and
 * the practice: their ticks, finished drawings and new practices.
 */
class TPlanRunner final : public QObject
{
    Q_OBJECT
public:
    TPlanRunner(const TPractice& practice, TPracticeTimer& timer, const TCommands& commands, TBottomBand& band,
                QWidget* window);

    // Starts with the next drawing when one is under way; a remembered plan is the next start's.
    void SetPlan(const TPlan& plan, bool remember = true);
    const TPlan& Plan() const { return FProgress.Plan(); }

    // The practice moved on (a reset, a recovery, a plan): the limit of the next drawing,
    // unless one is under way, and the bar.
    void Update();
    bool OnBreak() const { return FBreakEndMs > 0; }

signals:
    void TimeUp();
    // The plan in force, as its text form.
    void PlanChanged(const QString& text);
    // A break of the plan began (true) or ended (false).
    void BreakChanged(bool on);
    // The plan's last drawing was finished.
    void PlanEnded();

private:
    // A drawing joined the practice; a finished one brings the next limit and maybe a break.
    void DrawingAdded(const TFinishedDrawing& drawing, bool finishedNow);
    void DrawingFinished();
    // A new practice: the plan starts again.
    void Restart();
    // The clocks ticked: the bar follows, the cues sound, and TimeUp comes at the limit.
    void Tick();
    void PlanCommandExecute(QAction* entry);
    void PauseCommandExecute();
    void MoreTimeCommandExecute();
    void StartBreak(qint64 ms);
    void EndBreak(bool timeUp);
    void Cue();
    void UpdateCountdown();
    void Play(QSoundEffect*& sound, const char* source);

    const TPractice& FPractice;
    TPracticeTimer& FTimer;
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
