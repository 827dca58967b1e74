#include "app/plan/PlanRunner.h"

#include "app/BottomBand.h"
#include "app/Commands.h"
#include "app/Settings.h"
#include "app/plan/CountdownBar.h"
#include "app/plan/PlanDialog.h"
#include "practice/Clock.h"
#include "practice/Practice.h"
#include "practice/PracticeTimer.h"

#include <QAction>
#include <QCoreApplication>
#include <QActionGroup>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <array>

namespace {
constexpr qint64 kMoreTimeMs = 30000;
// Ticks at these times left, as a teacher counts down the last seconds.
constexpr std::array<qint64, 4> kCueMs{10000, 3000, 2000, 1000};
constexpr int kBreakTickMs = 100;
const char* const kTimeUpSound = "qrc:/sounds/timeup.wav";
const char* const kTickSound = "qrc:/sounds/tick.wav";

QString BreakText(qint64 leftMs)
{
    const qint64 s = (leftMs + 999) / 1000;
    return QCoreApplication::translate("TPlanRunner", "休憩 %1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}
} // namespace

TPlanRunner::TPlanRunner(const TPractice& practice, TPracticeTimer& timer, const TCommands& commands,
                         TBottomBand& band, QWidget* window)
    : QObject(window), FPractice(practice), FTimer(timer), FCommands(commands), FWindow(window),
      FBar(new TCountdownBar(window)), FBreakTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("PlanRunner"));
    FBar->setObjectName(QStringLiteral("CountdownBar"));
    FBar->hide();
    band.Add(FBar, TBottomBand::TSlot::Countdown);
    connect(&timer, &TPracticeTimer::Ticked, this, &TPlanRunner::Tick);
    connect(&practice, &TPractice::DrawingAdded, this, &TPlanRunner::DrawingAdded);
    connect(&practice, &TPractice::Cleared, this, &TPlanRunner::Restart);
    FBreakTimer->setInterval(kBreakTickMs);
    connect(FBreakTimer, &QTimer::timeout, this, &TPlanRunner::UpdateCountdown);
    connect(commands.Plans, &QActionGroup::triggered, this, &TPlanRunner::PlanCommandExecute);
    connect(commands.Pause, &QAction::triggered, this, &TPlanRunner::PauseCommandExecute);
    connect(commands.MoreTime, &QAction::triggered, this, &TPlanRunner::MoreTimeCommandExecute);
    const std::unique_ptr<QSettings> settings = OpenSettings();
    for (auto [action, key, on] : {std::tuple{commands.TimeUpSound, Settings::TimeUpSound, true},
                                   std::tuple{commands.Cues, Settings::Cues, false}}) {
        action->setChecked(settings->value(QLatin1String(key), on).toBool());
        connect(action, &QAction::toggled, this,
                [key = key](bool checked) { OpenSettings()->setValue(QLatin1String(key), checked); });
    }
    SetPlan(TPlan::Parse(settings->value(QLatin1String(Settings::Plan)).toString()).value_or(TPlan()), false);
}

void TPlanRunner::SetPlan(const TPlan& plan, bool remember)
{
    // A drawing under way keeps the limit it started with.
    FProgress.SetPlan(plan, FPractice.Count() + (FTimer.DrawingInProgress() ? 1 : 0));
    FCommands.PlanEntry(plan)->setChecked(true);
    if (remember)
        OpenSettings()->setValue(QLatin1String(Settings::Plan), plan.Text());
    if (!plan.IsEmpty() && !FTimeUpSound) {
        // Loaded ahead, so the first time-up sounds at once. With no sound device it stays silent.
        FTimeUpSound = new QSoundEffect(this);
        FTimeUpSound->setSource(QUrl(QLatin1String(kTimeUpSound)));
    }
    Update();
    emit PlanChanged(plan.Text());
}

void TPlanRunner::Update()
{
    if (!FTimer.DrawingInProgress()) {
        FTimer.SetLimit(FProgress.LimitOf(FPractice.Count()));
        FNextCue = 0;
        FBlinked = false;
    }
    UpdateCountdown();
}

void TPlanRunner::DrawingAdded(const TFinishedDrawing&, bool finishedNow)
{
    // Recovered drawings come in a row; the window brings the plan along after the last.
    if (finishedNow)
        DrawingFinished();
}

void TPlanRunner::DrawingFinished()
{
    EndBreak(false);
    FBreakOver = false;
    Update();
    const qsizetype finished = FPractice.Count();
    if (const qint64 rest = FProgress.BreakAfter(finished - 1))
        StartBreak(rest);
    if (FProgress.EndedAt(finished) && !FProgress.EndedAt(finished - 1))
        emit PlanEnded();
}

void TPlanRunner::Restart()
{
    EndBreak(false);
    FBreakOver = false;
    FProgress.Restart();
    Update();
}

void TPlanRunner::Tick()
{
    if (FTimer.Running()) {
        // The first press of the next drawing ends a break, and what the bar said of it.
        EndBreak(false);
        FBreakOver = false;
        Cue();
    }
    UpdateCountdown();
    if (!FTimer.Clocks().LimitReached())
        return;
    if (FCommands.TimeUpSound->isChecked())
        Play(FTimeUpSound, kTimeUpSound);
    emit TimeUp();
}

void TPlanRunner::PauseCommandExecute()
{
    if (FTimer.Running())
        FTimer.Pause();
    else
        FTimer.Resume();
    UpdateCountdown();
}

void TPlanRunner::MoreTimeCommandExecute()
{
    const TPracticeClocks& clocks = FTimer.Clocks();
    if (!FTimer.DrawingInProgress() || clocks.LimitMs() <= 0)
        return;
    FTimer.SetLimit(clocks.LimitMs() + kMoreTimeMs);
    // The ticks start again from what is left now.
    const qint64 left = clocks.LimitMs() - clocks.DrawTimeMs();
    FNextCue = 0;
    while (FNextCue < int(kCueMs.size()) && kCueMs[FNextCue] >= left)
        ++FNextCue;
    UpdateCountdown();
}

void TPlanRunner::StartBreak(qint64 ms)
{
    FBreakEndMs = FTimer.Clocks().Clock().NowMs() + ms;
    FBreakTimer->start();
    emit BreakChanged(true);
    UpdateCountdown();
}

void TPlanRunner::EndBreak(bool timeUp)
{
    if (!OnBreak())
        return;
    FBreakEndMs = 0;
    FBreakTimer->stop();
    FBreakOver = timeUp;
    if (timeUp && FCommands.TimeUpSound->isChecked())
        Play(FTimeUpSound, kTimeUpSound);
    emit BreakChanged(false);
}

void TPlanRunner::Cue()
{
    const TPracticeClocks& clocks = FTimer.Clocks();
    const qint64 limit = clocks.LimitMs();
    if (limit <= 0 || !FCommands.Cues->isChecked())
        return;
    const qint64 spent = clocks.DrawTimeMs();
    if (!FBlinked && spent * 2 >= limit) {
        FBlinked = true;
        FBar->Blink();
    }
    // A cue as long as the drawing itself, or longer, would sound at its start: it is left out.
    bool due = false;
    while (FNextCue < int(kCueMs.size()) && limit - spent <= kCueMs[FNextCue]) {
        due = due || kCueMs[FNextCue] < limit;
        ++FNextCue;
    }
    if (due && spent < limit)
        Play(FTickSound, kTickSound);
}

void TPlanRunner::Play(QSoundEffect*& sound, const char* source)
{
    if (!sound) {
        sound = new QSoundEffect(this);
        sound->setSource(QUrl(QLatin1String(source)));
    }
    sound->play();
}

void TPlanRunner::UpdateCountdown()
{
    const TPracticeClocks& clocks = FTimer.Clocks();
    const qint64 limit = clocks.LimitMs();
    FCommands.Pause->setText(clocks.Paused() ? tr("再開") : tr("一時停止"));
    FCommands.MoreTime->setEnabled(limit > 0 && FTimer.DrawingInProgress());
    FBar->setVisible(!Plan().IsEmpty() || clocks.Paused());
    if (OnBreak()) {
        const qint64 left = FBreakEndMs - clocks.Clock().NowMs();
        if (left <= 0) {
            EndBreak(true);
            FBar->SetState(tr("休憩終了"), 0, 0);
        } else {
            const qint64 length = FProgress.BreakAfter(FPractice.Count() - 1);
            FBar->SetState(BreakText(left), left, qMax(length, left));
        }
        return;
    }
    if (FBreakOver) {
        FBar->SetState(tr("休憩終了"), 0, 0);
        return;
    }
    const qint64 spent = FTimer.Running() || clocks.Paused() ? clocks.DrawTimeMs() : 0;
    QString text = FProgress.Text(FPractice.Count(), limit);
    if (clocks.Paused())
        text = text.isEmpty() ? tr("一時停止中") : text + tr(" · 一時停止中");
    FBar->SetState(text, limit - spent, limit);
}

void TPlanRunner::PlanCommandExecute(QAction* entry)
{
    if (entry != FCommands.CustomPlan) {
        SetPlan(TPlan::Parse(entry->data().toString()).value_or(TPlan()));
        return;
    }
    TPlanDialog dialog(Plan(), FWindow);
    if (dialog.exec() == QDialog::Accepted && dialog.Plan())
        SetPlan(*dialog.Plan());
    else
        FCommands.PlanEntry(Plan())->setChecked(true);
}
