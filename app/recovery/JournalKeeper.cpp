#include "app/recovery/JournalKeeper.h"

#include "app/DialogService.h"
#include "journal/Journal.h"
#include "practice/Practice.h"
#include "practice/PracticeTimer.h"
#include "practice/Thumbnail.h"

#include <QDir>
#include <QFutureWatcher>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <optional>

namespace {
// The drawing in progress goes to the journal at most this often: often enough that a crash
// costs seconds of work, seldom enough that a stroke never waits for the disk.
constexpr int kSnapshotInterval = 5000;
} // namespace

TJournalKeeper::TJournalKeeper(const TPractice& practice, const TPracticeTimer& timer, const TBitmap& canvas,
                               QObject* parent)
    : QObject(parent), FPractice(practice), FTimer(timer), FCanvas(canvas), FJournal(std::make_unique<TJournal>(Journal::DefaultRoot())),
      FSnapshotTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("JournalKeeper"));
    FSnapshotTimer->setObjectName(QStringLiteral("SnapshotTimer"));
    FSnapshotTimer->setInterval(kSnapshotInterval);
    FSnapshotTimer->start();
    connect(FSnapshotTimer, &QTimer::timeout, this, &TJournalKeeper::SnapshotTimerTimer);
    connect(FJournal.get(), &TJournal::WriteFailed, this, &TJournalKeeper::JournalWriteFailed);
    connect(&practice, &TPractice::DrawingAdded, this, &TJournalKeeper::Append);
    connect(&practice, &TPractice::Cleared, this, &TJournalKeeper::Discard);
    connect(&practice, &TPractice::Saved, this, &TJournalKeeper::Discard);
    // After the save's end has run its course: the window has started the next practice.
    connect(
        &practice, &TPractice::SavingChanged, this,
        [this](bool saving) {
            if (!saving && FWaiting && !FPractice.IsSaving())
                Offer(std::exchange(FWaiting, nullptr));
        },
        Qt::QueuedConnection);
}

TJournalKeeper::~TJournalKeeper() = default;

void TJournalKeeper::Append(const TFinishedDrawing& drawing, bool finishedNow)
{
    // A recovered drawing is in the journal that is adopted for it.
    if (!finishedNow)
        return;
    FJournal->Append(drawing);
    FJournal->DropSnapshot();
    FCanvasChanged = false;
}

void TJournalKeeper::Discard()
{
    FJournal->Discard();
    FCanvasChanged = false;
}

void TJournalKeeper::SnapshotTimerTimer()
{
    if (!FCanvasChanged)
        return;
    FCanvasChanged = false;
    // The clocks run while the canvas changes, so their readings are the drawing's.
    const TPracticeClocks& clocks = FTimer.Clocks();
    FJournal->Snapshot(FCanvas.Image(), clocks.DrawTimeMs(), clocks.TotalDrawTimeMs());
}

void TJournalKeeper::Flush()
{
    SnapshotTimerTimer();
    FJournal->WaitForWrites();
}

void TJournalKeeper::JournalWriteFailed(const QString& reason)
{
    // The practice goes on in memory; later writes retry quietly, so one box is enough.
    if (FJournalWarned)
        return;
    FJournalWarned = true;
    ShowMessage(
        tr("練習の一時保存ができません。このまま続けられますが、異常終了すると描いた絵は失われます。\n") +
        reason);
}

struct TJournalKeeper::TFound
{
    std::optional<TStaleJournal> Journal;
    TRecoveredPractice Practice;
};

void TJournalKeeper::Recover()
{
    FRecovering = true;
    FindNext({});
}

void TJournalKeeper::FindNext(std::shared_ptr<TFound> declined)
{
    auto* watcher = new QFutureWatcher<std::shared_ptr<TFound>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        watcher->deleteLater();
        Offer(watcher->result());
    });
    watcher->setFuture(QtConcurrent::run([declined = std::move(declined)] {
        if (declined && declined->Journal)
            declined->Journal->Remove();
        auto found = std::make_shared<TFound>();
        for (TStaleJournal& stale : FindStaleJournals(Journal::DefaultRoot())) {
            TRecoveredPractice practice = stale.Read();
            if (practice.IsEmpty()) {
                stale.Remove();
                continue;
            }
            // The drawer's small copies too: thousands of them would hold up the window.
            for (const TFinishedDrawing& drawing : std::as_const(practice.Drawings))
                practice.ListImages << ListImageOf(drawing.Image());
            found->Practice = std::move(practice);
            found->Journal = std::move(stale);
            break;
        }
        return found;
    }));
}

void TJournalKeeper::Offer(std::shared_ptr<TFound> found)
{
    if (!found->Journal) {
        FRecovering = false;
        emit RecoveryEnded();
        return;
    }
    if (FPractice.IsSaving()) {
        // Putting it back now would change the practice whose sheets are being written.
        FWaiting = std::move(found);
        return;
    }
    const TRecoveredPractice& practice = found->Practice;
    bool restore = false;
    // Say what is there: the finished drawings, or, with none, the one in progress.
    const qsizetype count = practice.Drawings.size();
    const QString what = count == 0 && !practice.Canvas.isNull() ? tr("描きかけの絵")
                                                                 : tr("%n枚", nullptr, int(count));
    MessageDialog(tr("前回の練習が保存されないまま残っています（%1）。復元しますか？").arg(what),
                  TMsgDlgType::mtConfirmation, mbYes | mbNo, mbYes, 0,
                  [&](TModalResult answer) { restore = answer == mrYes; });
    if (!restore) {
        FindNext(std::move(found));
        return;
    }
    emit RestoreRequested(practice);
    if (found->Journal->IsWritable()) {
        FJournal->Adopt(std::move(*found->Journal), practice);
    } else {
        // Restored all the same; the journal says its own reason when a write fails, once.
        FJournalWarned = true;
        ShowMessage(tr("一時保存のフォルダーに書き込めません。書き込めるようになるまで、練習は一"
                                   "時保存されません。\n") +
                    QDir::toNativeSeparators(found->Journal->Folder()));
    }
    if (practice.Skipped > 0)
        ShowMessage(tr("読み込めなかった絵が%n枚ありました。", nullptr, practice.Skipped));
    // One practice at a time: the others stay and are offered at the next start.
    FRecovering = false;
    emit RecoveryEnded();
}
