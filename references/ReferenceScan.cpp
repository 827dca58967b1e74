#include "references/ReferenceScan.h"

#include "raster/FileName.h"
#include "references/ReferenceImage.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImageReader>
#include <QSet>
#include <QtConcurrent/QtConcurrentRun>
#include <dirent.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// A batch is handed over when it is this old. The first one comes this soon too, so that the
// first reference is drawn at random from what was found by then, yet shows at once.
constexpr qint64 kBatchMs = 150;

// Whether the name says the file is an image of a kind that can be read.
bool LooksLikeImage(const QString& path)
{
    static const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > path.lastIndexOf(QLatin1Char('/')) &&
           formats.contains(path.sliced(dot + 1).toLower().toLatin1());
}

// Only a regular file, opened without waiting, whose decoding fits the memory budget.
bool IsReadableImage(const QString& path)
{
    const std::unique_ptr<QIODevice> file = OpenReferenceFile(path);
    if (!file)
        return false;
    QImageReader reader(file.get());
    reader.setDecideFormatFromContent(true);
    // As the decoder will: a file that does not say its size is not read either.
    const QSize size = reader.canRead() ? reader.size() : QSize();
    return size.isValid() && !OverBudget(*file, size);
}

// The entries of a folder that are folders and those that may be files, each in name order,
// hidden ones left out. Names are kept as the file system's bytes, so none is lost.
void ListFolder(const QString& folder, QStringList& folders, QStringList& files)
{
    const QByteArray native = FileName::ToNative(folder);
    DIR* dir = ::opendir(native.constData());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const QByteArray path = native + '/' + entry->d_name;
        struct stat info
        {};
        if (::stat(path.constData(), &info) != 0)
            continue; // a dangling link
        if (::access(path.constData(), R_OK) != 0)
            continue;
        (S_ISDIR(info.st_mode) ? folders : files) << FileName::FromNative(path);
    }
    ::closedir(dir);
    folders.sort();
    files.sort();
}

// Walks the folder depth first in name order, handing each readable image to `found`, until
// the walk ends or `stop` is set; counts the image files it could not read.
void Walk(const QString& root, const std::atomic<bool>& stop,
          const std::function<void(const QString&)>& found, int* unreadable = nullptr)
{
    QSet<QPair<dev_t, ino_t>> entered;
    QStringList folders{root};
    while (!folders.isEmpty() && !stop) {
        const QString folder = folders.takeLast();
        struct stat info
        {};
        if (::stat(FileName::ToNative(folder).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
            continue;
        if (entered.contains({info.st_dev, info.st_ino}))
            continue; // reached again through a link
        entered.insert({info.st_dev, info.st_ino});
        QStringList subfolders, files;
        ListFolder(folder, subfolders, files);
        for (auto it = subfolders.crbegin(); it != subfolders.crend(); ++it)
            folders << *it;
        for (const QString& path : std::as_const(files)) {
            if (stop)
                return;
            if (IsReadableImage(path))
                found(path);
            else if (unreadable && LooksLikeImage(path))
                ++*unreadable;
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
        int unreadable = 0;
        Walk(
            folder, *stop,
            [&](const QString& path) {
                batch << path;
                ++total;
                if (age.elapsed() >= kBatchMs)
                    hand();
            },
            &unreadable);
        hand();
        QMetaObject::invokeMethod(
            this,
            [this, stop, total, unreadable] {
                if (!*stop)
                    emit Finished(total, unreadable);
            },
            Qt::QueuedConnection);
    });
}
