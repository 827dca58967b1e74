#ifndef TENARAI_APP_RECOVERY_JOURNALKEEPER_H
#define TENARAI_APP_RECOVERY_JOURNALKEEPER_H

#include <QObject>
#include <memory>

class QTimer;
class TBitmap;
class TFinishedDrawing;
class TJournal;
class TPractice;
class TPracticeTimer;
struct TRecoveredPractice;

/**
 * @brief Keeps the practice in the crash journal: every finished drawing, a snapshot of the
 * drawing in progress every few seconds while it changes, the one warning when the journal
 * cannot be written, and at start-up the offer of a practice an earlier program left unsaved.
 * It follows the practice: a finished drawing is written, a saved or cleared practice goes.
 * An offer that comes while the practice is being saved waits for the save's end.
 */
class TJournalKeeper final : public QObject
{
    Q_OBJECT
public:
    // The canvas and the clocks are read when a snapshot is due.
    TJournalKeeper(const TPractice& practice, const TPracticeTimer& timer, const TBitmap& canvas, QObject* parent);
    ~TJournalKeeper() override;

    TJournal& Journal() const { return *FJournal; }

    // The canvas changed; the next snapshot takes it.
    void CanvasChanged() { FCanvasChanged = true; }
    // Brings the journal up to date, the drawing in progress included, and waits until it is on
    // disk: the session is ending, or the program is told to stop.
    void Flush();
    // Offers each practice that an earlier program left unsaved, oldest first, until one is
    // taken; RestoreRequested puts it back on the window before the journal adopts it. The
    // journals are read on a worker, so the window answers at once however large they are.
    void Recover();
    bool IsRecovering() const { return FRecovering; }

signals:
    void RestoreRequested(const TRecoveredPractice& practice);
    // The offers are over: one was taken, or none was left.
    void RecoveryEnded();

private:
    struct TFound;
    // Removes the journal declined, if any, then looks for the next one, on a worker.
    void FindNext(std::shared_ptr<TFound> declined);
    void Offer(std::shared_ptr<TFound> found);
    // A drawing was finished: it is written, and the snapshot of it is no longer needed.
    void Append(const TFinishedDrawing& drawing, bool finishedNow);
    // The practice was saved or thrown away.
    void Discard();
    void SnapshotTimerTimer();
    void JournalWriteFailed(const QString& reason);

    const TPractice& FPractice;
    const TPracticeTimer& FTimer;
    const TBitmap& FCanvas;
    std::shared_ptr<TFound> FWaiting; // an offer held back until the save is over
    std::unique_ptr<TJournal> FJournal;
    QTimer* FSnapshotTimer;
    bool FCanvasChanged = false; // since the last snapshot
    bool FJournalWarned = false; // the user is told once that the journal cannot be written
    bool FRecovering = false;
};

#endif
