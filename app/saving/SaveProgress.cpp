#include "app/saving/SaveProgress.h"

#include "app/BottomBand.h"
#include "app/Controls.h"
#include "export/ResultSheets.h"

#include <QLabel>
#include <QPromise>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

namespace {
// The pause between showing the activity dialog and writing, as the save has always had.
constexpr int kShowPauseMs = 100;
} // namespace

TSaveProgress::TSaveProgress(TBottomBand& band, QWidget* window) : QObject(window), FLabel(new QLabel(window))
{
    setObjectName(QStringLiteral("SaveProgress"));
    FLabel->setObjectName(QStringLiteral("SaveProgressText"));
    FLabel->setAlignment(Qt::AlignCenter);
    FLabel->setAutoFillBackground(true);
    FLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont font = FLabel->font();
    font.setPixelSize(TBottomBand::Height - 5);
    FLabel->setFont(font);
    FLabel->setMinimumWidth(FLabel->fontMetrics().horizontalAdvance(tr("保存中 000/000")) + 12);
    FLabel->hide();
    band.Add(FLabel, TBottomBand::TSlot::Progress);
    FPool.setMaxThreadCount(1);
    connect(&FWatcher, &QFutureWatcherBase::progressValueChanged, this,
            [this](int done) { Show(done, FWatcher.progressMaximum()); });
    connect(&FWatcher, &QFutureWatcherBase::finished, this, &TSaveProgress::Done);
}

// The job holds nothing of ours; a save still running finishes its files before the pool goes.
TSaveProgress::~TSaveProgress() = default;

void TSaveProgress::Start(QList<TFinishedDrawing> drawings, std::function<QDateTime()> now, QString folder)
{
    FRunning = true;
    ++FStarted;
    FBusy = std::make_unique<TBusyCursor>();
    Show(0, 0);
    QTimer::singleShot(
        kShowPauseMs, this,
        [this, drawings = std::move(drawings), now = std::move(now), folder = std::move(folder)] {
            FWatcher.setFuture(QtConcurrent::run(
                &FPool,
                [drawings, folder](QPromise<TSavedSheets>& promise, const QDateTime& when) {
                    promise.setProgressRange(0, int(drawings.size()));
                    try {
                        promise.addResult(SaveSheets(drawings, when, {}, folder, [&promise](int done, int) {
                            promise.setProgressValue(done);
                        }));
                    } catch (...) {
                        promise.setException(std::current_exception());
                    }
                },
                now()));
        });
}

void TSaveProgress::Done()
{
    TSaveOutcome outcome;
    try {
        outcome.Sheets = FWatcher.result();
    } catch (...) {
        outcome.Error = std::current_exception();
    }
    FRunning = false;
    FLabel->hide();
    FBusy.reset();
    emit Finished(outcome);
}

void TSaveProgress::Show(int done, int total)
{
    FLabel->setText(total > 0 ? tr("保存中 %1/%2").arg(done).arg(total) : tr("保存中"));
    FLabel->show();
}
