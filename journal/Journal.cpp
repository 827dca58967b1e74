#include "journal/Journal.h"

#include "raster/AtomicFile.h"
#include "raster/Error.h"
#include "raster/PngReader.h"
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
#include <QRegularExpression>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const auto kManifest = QStringLiteral("manifest.json");
const auto kFormat = QStringLiteral("tenarai-journal");
// A drawing file is tens of kilobytes and a canvas a few hundred; anything far larger is not ours.
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

QString DrawingName(int number)
{
    return QStringLiteral("drawing-%1.png").arg(number, 6, 10, QLatin1Char('0'));
}

QString CanvasName(int number)
{
    return QStringLiteral("canvas-%1.png").arg(number, 6, 10, QLatin1Char('0'));
}

// The number in a drawing file's name, or 0 when the name is not one of ours.
int DrawingNumber(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^drawing-(\\d{6})\\.png$"));
    const QRegularExpressionMatch match = pattern.match(name);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

/**
 * @brief A regular file's bytes, or nothing. Symbolic links are not followed, and a FIFO or
 * device is refused before anything is read from it, so a hostile journal cannot make the
 * program hang or read outside its folder.
 */
std::optional<QByteArray> ReadPlainFile(const QString& path)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info
    {};
    std::optional<QByteArray> result;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= kMaxFileBytes) {
        QByteArray bytes(qsizetype(info.st_size), Qt::Uninitialized);
        qsizetype got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += n;
        }
        if (got == bytes.size())
            result = std::move(bytes);
    }
    ::close(fd);
    return result;
}

const char* const kDrawKey = "DrawMs";
const char* const kTotalKey = "TotalMs";

// The canvas of the drawing in progress, with its clocks when they were kept.
QImage ReadCanvas(const QString& path, qint64& drawMs, qint64& totalMs)
{
    const std::optional<QByteArray> bytes = ReadPlainFile(path);
    if (!bytes)
        return {};
    const QImage image = ReadCheckedPng(*bytes, [](QSize size) {
        return !size.isEmpty() && size.width() <= TBitmap::MaxSide && size.height() <= TBitmap::MaxSide;
    });
    if (image.isNull())
        return {};
    bool ok = false;
    const qint64 draw = image.text(QLatin1String(kDrawKey)).toLongLong(&ok);
    drawMs = ok ? qMax<qint64>(0, draw) : 0;
    const qint64 total = image.text(QLatin1String(kTotalKey)).toLongLong(&ok);
    if (ok && total >= totalMs)
        totalMs = total;
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QString CannotMake(const QString& path, int err)
{
    return QStringLiteral("「%1」を作れませんでした: %2")
        .arg(QDir::toNativeSeparators(path), FileErrorText(err));
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    WriteFileAtomically(path, TOverwrite::Replace, [&](QIODevice& device) {
        errno = 0;
        if (device.write(bytes) != bytes.size())
            throw EError(CannotWriteMessage(path, errno ? errno : EIO));
    });
}

// Removes every entry of the folder that is not a folder, but those named in `keep`; links
// go, never what they point to.
void RemoveFiles(const QString& folder, const QStringList& keep = {})
{
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (!keep.contains(name))
            QFile::remove(dir.filePath(name));
}
} // namespace

QString Journal::DefaultRoot()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/tenarai");
}

TStaleJournal::TStaleJournal(QString folder, std::unique_ptr<QLockFile> lock)
    : FFolder(std::move(folder)), FLock(std::move(lock))
{}
TStaleJournal::TStaleJournal(TStaleJournal&&) noexcept = default;
TStaleJournal& TStaleJournal::operator=(TStaleJournal&&) noexcept = default;
TStaleJournal::~TStaleJournal() = default;

TRecoveredPractice TStaleJournal::Read() const
{
    TRecoveredPractice practice;
    const QDir dir(FFolder);

    // The manifest gives the order, the stamps and the total. Drawing files it does not name yet
    // (the program died between a drawing and its manifest) follow in the order of their numbers.
    struct TItem
    {
        QString File;
        QString Stamp;
        qint64 TotalMs = -1;
        TReferenceLink Reference;
    };
    QList<TItem> items;
    int lastNumber = 0;
    bool manifestRead = false;
    if (const std::optional<QByteArray> bytes = ReadPlainFile(dir.filePath(kManifest))) {
        const QJsonObject manifest = QJsonDocument::fromJson(*bytes).object();
        if (manifest.value(QLatin1String("format")).toString() == kFormat) {
            manifestRead = true;
            practice.TotalMs = qMax<qint64>(0, manifest.value(QLatin1String("total_ms")).toInteger());
            for (const QJsonValue& value : manifest.value(QLatin1String("drawings")).toArray()) {
                const QJsonObject entry = value.toObject();
                const QJsonObject reference = entry.value(QLatin1String("reference")).toObject();
                TItem item{entry.value(QLatin1String("file")).toString(),
                           entry.value(QLatin1String("stamp")).toString(),
                           entry.value(QLatin1String("total_ms")).toInteger(-1),
                           {reference.value(QLatin1String("path")).toString(),
                            reference.value(QLatin1String("grey")).toBool(),
                            reference.value(QLatin1String("mirror")).toBool(),
                            reference.value(QLatin1String("flip")).toBool(),
                            reference.value(QLatin1String("tones")).toInt(),
                            reference.value(QLatin1String("blur")).toBool()}};
                lastNumber = qMax(lastNumber, DrawingNumber(item.File));
                items << item;
            }
        }
    }
    QList<int> later;
    for (const QString& name : dir.entryList({QStringLiteral("drawing-*.png")}, QDir::Files | QDir::System))
        if (DrawingNumber(name) > lastNumber)
            later << DrawingNumber(name);
    std::sort(later.begin(), later.end());
    for (const int number : later) {
        items << TItem{DrawingName(number), {}, -1, {}};
        lastNumber = number;
    }

    for (const TItem& item : items) {
        // Only our own plain names: nothing in a manifest can point outside the folder.
        std::optional<QByteArray> bytes;
        if (DrawingNumber(item.File) > 0)
            bytes = ReadPlainFile(dir.filePath(item.File));
        TFinishedDrawing drawing =
            bytes ? TFinishedDrawing::FromStored(*bytes, item.Stamp, item.TotalMs) : TFinishedDrawing();
        if (drawing.IsNull()) {
            ++practice.Skipped;
            continue;
        }
        drawing.SetReference(item.Reference);
        practice.Drawings << drawing;
        practice.Files << item.File;
    }
    if (!manifestRead && !practice.Drawings.isEmpty())
        practice.TotalMs = practice.Drawings.last().TotalMs();
    practice.Canvas =
        ReadCanvas(dir.filePath(CanvasName(lastNumber + 1)), practice.CanvasDrawMs, practice.TotalMs);
    return practice;
}

void TStaleJournal::Remove()
{
    if (FFolder.isEmpty())
        return;
    QDir(FFolder).removeRecursively();
    if (FLock)
        FLock->unlock();
    FFolder.clear();
}

std::vector<TStaleJournal> FindStaleJournals(const QString& root)
{
    std::vector<TStaleJournal> stale;
    const QDir dir(root);
    for (const QString& name :
         dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name)) {
        auto lock = std::make_unique<QLockFile>(dir.filePath(name + QStringLiteral(".lock")));
        // A running program may hold its lock for hours: only a dead owner makes it stale.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0))
            stale.emplace_back(dir.filePath(name), std::move(lock));
    }
    return stale;
}

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
        const QString stem = Root + QLatin1Char('/') +
                             QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz-")) +
                             QString::number(QCoreApplication::applicationPid());
        QString path = stem;
        auto lock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
        lock->setStaleLockTime(0);
        errno = 0;
        for (int suffix = 2; !lock->tryLock(0); ++suffix) {
            if (lock->error() != QLockFile::LockFailedError || suffix > 100)
                throw EError(CannotMake(
                    path + QStringLiteral(".lock"),
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
                item.insert(QStringLiteral("reference"),
                            QJsonObject{{QStringLiteral("path"), reference.Path},
                                        {QStringLiteral("grey"), reference.Grey},
                                        {QStringLiteral("mirror"), reference.Mirror},
                                        {QStringLiteral("flip"), reference.Flip},
                                        {QStringLiteral("tones"), reference.Tones},
                                        {QStringLiteral("blur"), reference.Blur}});
            drawings.append(item);
        }
        const QJsonObject manifest{
            {QStringLiteral("format"), kFormat},
            {QStringLiteral("version"), 1},
            {QStringLiteral("total_ms"), Entries.isEmpty() ? 0 : Entries.last().Drawing.TotalMs()},
            {QStringLiteral("drawings"), drawings}};
        WriteBytes(PathOf(kManifest), QJsonDocument(manifest).toJson(QJsonDocument::Compact));
    }

    // Writes what is not on disk yet, then the manifest that names it.
    void Sync()
    {
        Open();
        for (TEntry& entry : Entries) {
            if (entry.Written)
                continue;
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
        WriteBytes(state.PathOf(name), EncodePng(canvas, {{kDrawKey, QByteArray::number(drawMs)},
                                                          {kTotalKey, QByteArray::number(totalMs)}}));
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
            RemoveFiles(state.Folder());
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
        // What could not be read is gone for good; the recovered canvas is written anew below.
        RemoveFiles(state.Folder(), practice.Files + QStringList{kManifest});
        state.Sync();
        if (!practice.Canvas.isNull()) {
            state.CanvasFile = CanvasName(state.NextNumber);
            WriteBytes(state.PathOf(state.CanvasFile),
                       EncodePng(practice.Canvas, {{kDrawKey, QByteArray::number(practice.CanvasDrawMs)},
                                                   {kTotalKey, QByteArray::number(practice.TotalMs)}}));
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
