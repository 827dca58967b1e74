#include "journal/Journal.h"

#include "journal/JournalFiles.h"
#include "raster/Error.h"
#include "raster/PngWriter.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QMutex>
#include <cerrno>
#include <sys/stat.h>

using namespace JournalFiles;

struct TJournal::TState
{
    struct TEntry
    {
        QString File;
        TFinishedDrawing Drawing;
        bool Written = false;
    };

    QString Root;
    std::unique_ptr<QLockFile> Lock;
    QList<TEntry> Entries;
    int NextNumber = 1;
    QString CanvasFile; // the snapshot on disk, if any

    mutable QMutex FolderMutex; // the folder is read by the owner's thread too
    QString FolderPath;

    QString Folder() const
    {
        const QMutexLocker locker(&FolderMutex);
        return FolderPath;
    }
    void SetFolder(const QString& path)
    {
        const QMutexLocker locker(&FolderMutex);
        FolderPath = path;
    }
    QString PathOf(const QString& name) const { return Folder() + QLatin1Char('/') + name; }

    // Takes the lock first and makes the folder second, so no other program ever sees this
    // folder without a live lock beside it.
    void Open()
    {
        if (!Folder().isEmpty())
            return;
        errno = 0;
        if (!QDir().mkpath(Root)) {
            const QFileInfo root(Root);
            throw EError(
                CannotMake(Root, root.exists() && !root.isDir() ? ENOTDIR : (errno ? errno : EACCES)));
        }
        // Two journals of one process started in the same millisecond share a name: the
        // second takes the next free suffix rather than failing on the first one's lock.
        const QString stem =
            Root + QLatin1Char('/') +
            QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz-")) +
            QString::number(QCoreApplication::applicationPid());
        QString path = stem;
        auto lock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
        lock->setStaleLockTime(0);
        errno = 0;
        for (int suffix = 2; !lock->tryLock(0); ++suffix) {
            if (lock->error() != QLockFile::LockFailedError || suffix > 100)
                throw EError(
                    CannotMake(path + QStringLiteral(".lock"),
                               lock->error() == QLockFile::PermissionError ? EACCES : (errno ? errno : EIO)));
            path = stem + QLatin1Char('-') + QString::number(suffix);
            lock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
            lock->setStaleLockTime(0);
            errno = 0;
        }
        errno = 0;
        if (::mkdir(QFile::encodeName(path).constData(), 0700) != 0 && errno != EEXIST)
            throw EError(CannotMake(path, errno));
        Lock = std::move(lock);
        SetFolder(path);
    }

    void WriteManifest()
    {
        QJsonArray drawings;
        for (const TEntry& entry : std::as_const(Entries)) {
            QJsonObject item{{QStringLiteral("file"), entry.File},
                             {QStringLiteral("stamp"), entry.Drawing.Stamp()},
                             {QStringLiteral("total_ms"), entry.Drawing.TotalMs()}};
            const TReferenceLink& reference = entry.Drawing.Reference();
            if (!reference.IsEmpty())
                item.insert(QStringLiteral("reference"), ReferenceLink::ToJson(reference));
            drawings.append(item);
        }
        const QJsonObject manifest{
            {QStringLiteral("format"), Format},
            {QStringLiteral("version"), 1},
            {QStringLiteral("total_ms"), Entries.isEmpty() ? 0 : Entries.last().Drawing.TotalMs()},
            {QStringLiteral("drawings"), drawings}};
        WriteBytes(PathOf(Manifest), QJsonDocument(manifest).toJson(QJsonDocument::Compact));
    }

    // Writes what is not on disk yet, then the manifest that names it.
    void Sync()
    {
        Open();
        for (TEntry& entry : Entries) {
            if (entry.Written)
                continue;
            // The reference's copy first: a drawing file on disk has everything it names.
            const QByteArray& shown = entry.Drawing.Reference().Shown;
            if (!shown.isEmpty())
                WriteBytes(
                    PathOf(ReferenceName(DrawingNumber(entry.File), ReferenceLink::ShownSuffix(shown))),
                    shown);
            WriteBytes(PathOf(entry.File), entry.Drawing.Stored());
            entry.Written = true;
        }
        WriteManifest();
    }

    void RemoveCanvas()
    {
        if (CanvasFile.isEmpty())
            return;
        QFile::remove(PathOf(CanvasFile));
        CanvasFile.clear();
    }
};

TJournal::TJournal(QString root, QObject* parent) : QObject(parent), FState(std::make_shared<TState>())
{
    FState->Root = std::move(root);
    // One worker: the writes keep the order in which they were asked for.
    FPool.setMaxThreadCount(1);
    FPool.setExpiryTimeout(-1);
}

TJournal::~TJournal()
{
    FPool.waitForDone();
    TState& state = *FState;
    if (!state.Folder().isEmpty() && state.Entries.isEmpty() && state.CanvasFile.isEmpty()) {
        QDir(state.Folder()).removeRecursively();
        state.Lock->unlock();
    }
}

void TJournal::Post(std::function<void(TState&)> task)
{
    FPool.start([this, state = FState, task = std::move(task)] {
        try {
            task(*state);
        } catch (const std::exception& error) {
            const auto* failure = dynamic_cast<const EError*>(&error);
            const QString reason = failure ? failure->Message() : QString::fromUtf8(error.what());
            QMetaObject::invokeMethod(
                this, [this, reason] { emit WriteFailed(reason); }, Qt::QueuedConnection);
        }
    });
}

void TJournal::Append(const TFinishedDrawing& drawing)
{
    Post([drawing](TState& state) {
        state.Entries.append({DrawingName(state.NextNumber++), drawing, false});
        state.Sync();
    });
}

void TJournal::Snapshot(const QImage& canvas, qint64 drawMs, qint64 totalMs)
{
    Post([canvas, drawMs, totalMs](TState& state) {
        state.Sync();
        const QString name = CanvasName(state.NextNumber);
        WriteBytes(state.PathOf(name), EncodePng(canvas, {{DrawKey, QByteArray::number(drawMs)},
                                                          {TotalKey, QByteArray::number(totalMs)}}));
        if (state.CanvasFile != name)
            state.RemoveCanvas();
        state.CanvasFile = name;
    });
}

void TJournal::DropSnapshot()
{
    Post([](TState& state) { state.RemoveCanvas(); });
}

void TJournal::Discard()
{
    Post([](TState& state) {
        state.Entries.clear();
        state.NextNumber = 1;
        state.CanvasFile.clear();
        if (!state.Folder().isEmpty())
            ClearFolder(state.Folder());
    });
}

void TJournal::Adopt(TStaleJournal journal, const TRecoveredPractice& practice)
{
    auto stale = std::make_shared<TStaleJournal>(std::move(journal));
    Post([stale, practice](TState& state) {
        // This program has written nothing yet; its own folder, if it has one, gives way.
        if (!state.Folder().isEmpty()) {
            QDir(state.Folder()).removeRecursively();
            state.Lock->unlock();
        }
        state.Lock = std::move(stale->FLock);
        state.SetFolder(stale->FFolder);
        state.Entries.clear();
        state.NextNumber = 1;
        for (qsizetype i = 0; i < practice.Drawings.size(); ++i) {
            state.Entries.append({practice.Files[i], practice.Drawings[i], true});
            state.NextNumber = qMax(state.NextNumber, DrawingNumber(practice.Files[i]) + 1);
        }
        // What could not be read is kept aside; the recovered canvas is written anew below.
        QStringList keep = practice.Files + QStringList{Manifest};
        for (qsizetype i = 0; i < practice.Drawings.size(); ++i)
            if (const QByteArray& shown = practice.Drawings[i].Reference().Shown; !shown.isEmpty())
                keep << ReferenceName(DrawingNumber(practice.Files[i]), ReferenceLink::ShownSuffix(shown));
        ClearFolder(state.Folder(), keep, TUnread::SetAside);
        state.Sync();
        if (!practice.Canvas.isNull()) {
            state.CanvasFile = CanvasName(state.NextNumber);
            WriteBytes(state.PathOf(state.CanvasFile),
                       EncodePng(practice.Canvas, {{DrawKey, QByteArray::number(practice.CanvasDrawMs)},
                                                   {TotalKey, QByteArray::number(practice.TotalMs)}}));
        }
    });
}

void TJournal::WaitForWrites()
{
    FPool.waitForDone();
}

QString TJournal::Folder() const
{
    return FState->Folder();
}
