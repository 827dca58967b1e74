#include "journal/Journal.h"
#include "journal/JournalFiles.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSysInfo>
#include <algorithm>
#include <cerrno>
#include <csignal>

using namespace JournalFiles;

namespace {
// Whether the program that holds the lock is gone, though its lock could not be taken over
// (the folder is read only, or full).
bool OwnerGone(const QLockFile& lock)
{
    qint64 pid = 0;
    QString host, application;
    if (!lock.getLockInfo(&pid, &host, &application) || pid <= 0)
        return false;
    return host == QSysInfo::machineHostName() && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
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
    if (const std::optional<QByteArray> bytes = ReadPlainFile(dir.filePath(Manifest))) {
        const QJsonObject manifest = QJsonDocument::fromJson(*bytes).object();
        if (manifest.value(QLatin1String("format")).toString() == Format) {
            manifestRead = true;
            practice.TotalMs = qMax<qint64>(0, manifest.value(QLatin1String("total_ms")).toInteger());
            for (const QJsonValue& value : manifest.value(QLatin1String("drawings")).toArray()) {
                const QJsonObject entry = value.toObject();
                TItem item{entry.value(QLatin1String("file")).toString(),
                           entry.value(QLatin1String("stamp")).toString(),
                           entry.value(QLatin1String("total_ms")).toInteger(-1),
                           entry.contains(QLatin1String("reference"))
                               ? ReferenceLink::FromJson(entry.value(QLatin1String("reference")).toObject())
                               : TReferenceLink()};
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
        // The manifest's link, else the one the drawing file carries itself; then the picture
        // as it was seen, where it was kept.
        TReferenceLink link = item.Reference.IsEmpty() ? drawing.Reference() : item.Reference;
        if (!link.IsEmpty()) {
            const int number = DrawingNumber(item.File);
            for (const auto* suffix : {"jpg", "png"}) {
                if (const std::optional<QByteArray> shown =
                        ReadPlainFile(dir.filePath(ReferenceName(number, QLatin1String(suffix))))) {
                    if (!ReferenceLink::DecodeShown(*shown).isNull())
                        link.Shown = *shown;
                    break;
                }
            }
        }
        drawing.SetReference(std::move(link));
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
        if (name == AsideFolder)
            continue; // files kept aside, no journal
        auto lock = std::make_unique<QLockFile>(dir.filePath(name + QStringLiteral(".lock")));
        // A running program may hold its lock for hours: only a dead owner makes it stale.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0))
            stale.emplace_back(dir.filePath(name), std::move(lock));
        else if (lock->error() != QLockFile::LockFailedError || OwnerGone(*lock))
            stale.emplace_back(dir.filePath(name), nullptr); // a lock cannot be written here
    }
    return stale;
}
