#ifndef TENARAI_JOURNAL_JOURNAL_H
#define TENARAI_JOURNAL_JOURNAL_H

#include "practice/FinishedDrawing.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <functional>
#include <memory>
#include <vector>

class QLockFile;

/**
 * The crash journal: the practice in progress, kept on disk so that a crash, a kill or a power
 * cut loses nothing finished.
 *
 * Each running program keeps a folder of its own below the state folder, named by the UTC time
 * it first wrote (so names sort oldest first) and its process id, with a lock file beside it:
 *
 *     <root>/20261210-053000-123-4242/        drawing-000001.png, ..., manifest.json, canvas-000004.png
 *     <root>/20261210-053000-123-4242.lock
 *
 * A drawing file is the drawing's stored form, written once. The manifest lists the drawings in
 * order with their stamps and the total, and is replaced whole. The canvas file is the drawing
 * in progress, numbered as the drawing it will become, so a snapshot that outlived its drawing
 * is recognised and ignored. Every file is written atomically and the folder synced.
 */
namespace Journal {
// $XDG_STATE_HOME/tenarai, or ~/.local/state/tenarai when that is not set to an absolute path.
QString DefaultRoot();
} // namespace Journal

// What a journal held, read back.
struct TRecoveredPractice
{
    QList<TFinishedDrawing> Drawings;
    QStringList Files;       // the file each drawing was read from
    QImage Canvas;           // the drawing in progress; null when there was none
    qint64 CanvasDrawMs = 0; // its drawing clock when it was snapshotted
    qint64 TotalMs = 0;      // the total clock: at the snapshot when there is a canvas
    int Skipped = 0;         // drawings the journal named, or held, that could not be read
    QList<QImage> ListImages; // the drawings' small copies for a list, where the reader made them

    bool IsEmpty() const { return Drawings.isEmpty() && Canvas.isNull() && Skipped == 0; }
};

// A journal whose program is no longer running, locked by this one while it holds it.
class TStaleJournal final
{
public:
    TStaleJournal(QString folder, std::unique_ptr<QLockFile> lock);
    TStaleJournal(TStaleJournal&&) noexcept;
    TStaleJournal& operator=(TStaleJournal&&) noexcept;
    ~TStaleJournal();

    const QString& Folder() const { return FFolder; }
    // Whether it is locked and can be carried on; not when its folder cannot be written (read
    // only, or full), where it can only be read.
    bool IsWritable() const { return FLock != nullptr; }
    /**
     * @brief Reads whatever can be read: drawings in the manifest's order (in file order when
     * the manifest is broken), skipping and counting what is missing, damaged, not an image,
     * not a regular file, or a symbolic link. Never blocks on a special file.
     */
    TRecoveredPractice Read() const;
    // Deletes the journal and then its lock.
    void Remove();

private:
    friend class TJournal;
    QString FFolder;
    std::unique_ptr<QLockFile> FLock;
};

// The journals left by programs that are no longer running, oldest first: those in a folder
// that cannot be written too, unlocked.
std::vector<TStaleJournal> FindStaleJournals(const QString& root);

/**
 * @brief The running practice's journal. Writes run on a worker thread in the order they were
 * asked for, so the caller never waits on the disk; a failure is reported by WriteFailed and
 * everything not yet written is tried again with the next write.
 */
class TJournal final : public QObject
{
    Q_OBJECT
public:
    explicit TJournal(QString root, QObject* parent = nullptr);
    // Waits for the writes in flight. What was written stays for recovery, unless nothing was.
    ~TJournal() override;

    void Append(const TFinishedDrawing& drawing);
    // The drawing in progress with its clocks, replacing the last snapshot.
    void Snapshot(const QImage& canvas, qint64 drawMs, qint64 totalMs);
    void DropSnapshot();
    // The practice was saved or thrown away: everything written goes.
    void Discard();
    // Carries on a recovered practice in its own folder.
    void Adopt(TStaleJournal journal, const TRecoveredPractice& practice);
    // Blocks until every write asked for so far has been done or has failed.
    void WaitForWrites();
    // This program's folder; empty until the first write made it.
    QString Folder() const;

signals:
    void WriteFailed(const QString& reason);

private:
    struct TState;
    void Post(std::function<void(TState&)> task);

    std::shared_ptr<TState> FState;
    QThreadPool FPool;
};

#endif
