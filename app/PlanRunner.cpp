#include "app/PlanRunner.h"

#include "app/Commands.h"
#include "app/CountdownBar.h"
#include "app/PlanDialog.h"
#include "app/PracticeView.h"
#include "app/Settings.h"
#include "practice/PracticeClocks.h"

#include <QAction>
#include <QActionGroup>
#include <QSoundEffect>
#include <QUrl>
#include <QWidget>

TPlanRunner::TPlanRunner(TPracticeView& practice, const TCommands& commands, QWidget* window)
    : QObject(window), FPractice(practice), FCommands(commands), FWindow(window),
      FBar(new TCountdownBar(window))
{
    setObjectName(QStringLiteral("PlanRunner"));
    FBar->setObjectName(QStringLiteral("CountdownBar"));
    FBar->hide();
    connect(commands.Plans, &QActionGroup::triggered, this, &TPlanRunner::PlanCommandExecute);
    const std::unique_ptr<QSettings> settings = OpenSettings();
    commands.TimeUpSound->setChecked(settings->value(QLatin1String(Settings::TimeUpSound), true).toBool());
    connect(commands.TimeUpSound, &QAction::toggled, this,
            [](bool on) { OpenSettings()->setValue(QLatin1String(Settings::TimeUpSound), on); });
    SetPlan(TPlan::Parse(settings->value(QLatin1String(Settings::Plan)).toString()).value_or(TPlan()), false);
}

void TPlanRunner::SetPlan(const TPlan& plan, bool remember)
{
    // A drawing under way keeps the limit it started with.
    FProgress.SetPlan(plan, FPractice.FinishedDrawings() + (FPractice.DrawingInProgress() ? 1 : 0));
    FCommands.PlanEntry(plan)->setChecked(true);
    if (remember)
        OpenSettings()->setValue(QLatin1String(Settings::Plan), plan.Text());
    if (!plan.IsEmpty() && !FTimeUpSound) {
        // Loaded ahead, so the first time-up sounds at once. With no sound device it stays silent.
        FTimeUpSound = new QSoundEffect(this);
        FTimeUpSound->setSource(QUrl(QStringLiteral("qrc:/sounds/timeup.wav")));
    }
    FBar->setVisible(!plan.IsEmpty());
    Update();
}

void TPlanRunner::Update()
{
    if (!FPractice.DrawingInProgress())
        FPractice.PracticeClocks().SetLimit(FProgress.LimitOf(FPractice.FinishedDrawings()));
    UpdateCountdown();
}

void TPlanRunner::Restart()
{
    FProgress.Restart();
    Update();
}

void TPlanRunner::Tick()
{
    UpdateCountdown();
    if (!FPractice.PracticeClocks().LimitReached())
        return;
    if (FTimeUpSound && FCommands.TimeUpSound->isChecked())
        FTimeUpSound->play();
    emit TimeUp();
}

void TPlanRunner::UpdateCountdown()
{
    if (Plan().IsEmpty())
        return;
    const TPracticeClocks& clocks = FPractice.PracticeClocks();
    const qint64 limit = clocks.LimitMs();
    const qint64 spent = FPractice.ClocksRunning() ? clocks.DrawTimeMs() : 0;
    FBar->SetState(FProgress.Text(FPractice.FinishedDrawings(), limit), limit - spent, limit);
}

void TPlanRunner::PlaceBar(QSize window, QRect canvas)
{
    // In the free band at the window's bottom edge: below the canvas when the window is tall,
    // beside it when it is wide, over the canvas's foot when there is no band at all; never
    // over the top band's controls.
    constexpr int topBand = 49;
    const int h = TCountdownBar::BarHeight;
    const int y = qMax(topBand, window.height() - h);
    const int right = window.width() - (canvas.right() + 1);
    if (window.height() - (canvas.bottom() + 1) >= h || right < 80)
        FBar->setGeometry(0, y, window.width(), h);
    else
        FBar->setGeometry(canvas.right() + 1, y, right, h);
    FBar->raise();
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
