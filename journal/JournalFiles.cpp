#include "journal/JournalFiles.h"

#include "raster/AtomicFile.h"
#include "raster/Bitmap.h"
#include "raster/Error.h"
#include "raster/PngReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// A drawing file is tens of kilobytes and a canvas a few hundred; anything far larger is not ours.
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;
} // namespace

QString JournalFiles::DrawingName(int number)
{
    return QStringLiteral("drawing-%1.png").arg(number, 6, 10, QLatin1Char('0'));
}

QString JournalFiles::CanvasName(int number)
{
    return QStringLiteral("canvas-%1.png").arg(number, 6, 10, QLatin1Char('0'));
}

QString JournalFiles::ReferenceName(int number, const QString& suffix)
{
    return QStringLiteral("reference-%1.%2").arg(number, 6, 10, QLatin1Char('0')).arg(suffix);
}

int JournalFiles::DrawingNumber(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^drawing-(\\d{6})\\.png$"));
    const QRegularExpressionMatch match = pattern.match(name);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

std::optional<QByteArray> JournalFiles::ReadPlainFile(const QString& path)
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

QImage JournalFiles::ReadCanvas(const QString& path, qint64& drawMs, qint64& totalMs)
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
    const qint64 draw = image.text(QLatin1String(DrawKey)).toLongLong(&ok);
    drawMs = ok ? qMax<qint64>(0, draw) : 0;
    const qint64 total = image.text(QLatin1String(TotalKey)).toLongLong(&ok);
    if (ok && total >= totalMs)
        totalMs = total;
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QString JournalFiles::CannotMake(const QString& path, int err)
{
    return QCoreApplication::translate("TJournal", "「%1」を作れませんでした: %2")
        .arg(QDir::toNativeSeparators(path), FileErrorText(err));
}

void JournalFiles::WriteBytes(const QString& path, const QByteArray& bytes)
{
    WriteFileAtomically(path, TOverwrite::Replace, [&](QIODevice& device) {
        errno = 0;
        if (device.write(bytes) != bytes.size())
            throw EError(CannotWriteMessage(path, errno ? errno : EIO));
    });
}

void JournalFiles::ClearFolder(const QString& folder, const QStringList& keep, TUnread unread)
{
    const QDir dir(folder);
    const QString aside =
        QFileInfo(folder).absolutePath() + QLatin1Char('/') + AsideFolder + QLatin1Char('/') + dir.dirName();
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (keep.contains(name))
            continue;
        const QString path = dir.filePath(name);
        const QFileInfo entry(path);
        // Only plain drawing files are worth keeping; a rename never follows a link.
        if (unread == TUnread::SetAside && DrawingNumber(name) > 0 && !entry.isSymLink() && entry.isFile() &&
            QDir().mkpath(aside) &&
            ::rename(QFile::encodeName(path).constData(),
                     QFile::encodeName(aside + QLatin1Char('/') + name).constData()) == 0)
            continue;
        QFile::remove(path);
    }
}
