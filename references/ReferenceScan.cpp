#include "references/ReferenceScan.h"

#include "references/ReferenceImage.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImageReader>
#include <QSet>
#include <QtConcurrent/QtConcurrentRun>
#include <functional>
#include <sys/stat.h>

namespace {
// A batch is handed over when it is this old. The first one comes this soon too, so that the
// first reference is drawn at random from what was found by then, yet shows at once.
constexpr qint64 kBatchMs = 150;

// Only a regular file, opened without waiting, whose decoding fits the memory budget.
bool IsReadableImage(const QString& path)
{
    const std::unique_ptr<QIODevice> file = OpenReferenceFile(path);
    if (!file)
        return false;
    QImageReader reader(file.get());
    reader.setDecideFormatFromContent(true);
    return reader.canRead() && !OverBudget(*file, reader.size());
}

// Walks the folder depth first in name order, handing each readable image to `found`, until
// the walk ends or `stop` is set.
void Walk(const QString& root, const std::atomic<bool>& stop,
          const std::function<void(const QString&)>& found)
{
    QSet<QPair<dev_t, ino_t>> entered;
    QStringList folders{root};
    while (!folders.isEmpty() && !stop) {
        const QString folder = folders.takeLast();
        struct stat info
        {};
        if (::stat(QFile::encodeName(folder).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
            continue;
        if (entered.contains({info.st_dev, info.st_ino}))
            continue; // reached again through a link
        entered.insert({info.st_dev, info.st_ino});
        const QDir dir(folder);
        const QStringList subfolders =
            dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Readable, QDir::Name | QDir::Reversed);
        for (const QString& name : subfolders)
            folders << dir.filePath(name);
        for (const QString& name : dir.entryList(QDir::Files | QDir::Readable, QDir::Name)) {
            if (stop)
                return;
            const QString path = dir.filePath(name);
            if (IsReadableImage(path))
                found(path);
        }
    }
}
} // namespace

QStringList ScanReferences(const QString& folder)
{
    QStringList images;
    const std::atomic<bool> never{false};
    Walk(folder, never, [&](const QString& path) { images << path; });
    return images;
}

TReferenceScan::TReferenceScan(QObject* parent) : QObject(parent)
{}

TReferenceScan::~TReferenceScan()
{
    Stop();
}

void TReferenceScan::Stop()
{
    if (FStop)
        *FStop = true;
    FWork.waitForFinished();
}

bool TReferenceScan::IsRunning() const
{
    return FWork.isRunning();
}

void TReferenceScan::Start(const QString& folder)
{
    Stop();
    FStop = std::make_shared<std::atomic<bool>>(false);
    FWork = QtConcurrent::run([this, folder, stop = FStop] {
        QStringList batch;
        int total = 0;
        QElapsedTimer age;
        const auto hand = [&] {
            if (batch.isEmpty())
                return;
            QMetaObject::invokeMethod(
                this,
                [this, stop, batch] {
                    if (!*stop)
                        emit Found(batch);
                },
                Qt::QueuedConnection);
            batch.clear();
            age.restart();
        };
        age.start();
        Walk(folder, *stop, [&](const QString& path) {
            batch << path;
            ++total;
            if (age.elapsed() >= kBatchMs)
                hand();
        });
        hand();
        QMetaObject::invokeMethod(
            this,
            [this, stop, total] {
                if (!*stop)
                    emit Finished(total);
            },
            Qt::QueuedConnection);
    });
}
