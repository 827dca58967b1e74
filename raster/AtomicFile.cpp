#include "raster/AtomicFile.h"

#include "raster/Error.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString CannotWrite(const QString& fileName, int err)
{
    return QStringLiteral("「%1」を保存できませんでした: %2")
        .arg(QDir::toNativeSeparators(fileName), FileErrorText(err));
}

// Makes a rename inside the folder durable: without it a power cut can forget the new name.
// File systems that cannot sync a folder (EINVAL) have nothing to make durable.
void SyncFolder(const QString& fileName, const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        throw EError(CannotWrite(fileName, errno));
    const int result = ::fsync(fd);
    const int err = errno;
    ::close(fd);
    if (result != 0 && err != EINVAL && err != ENOTSUP)
        throw EError(CannotWrite(fileName, err));
}

mode_t FileModeUnderUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0644 & ~mask;
}
} // namespace

void WriteFileAtomically(const QString& fileName, TOverwrite overwrite,
                         const std::function<void(QIODevice&)>& body)
{
    const QFileInfo target(fileName);
    const QString folder = target.absolutePath();
    if (overwrite == TOverwrite::Never && target.exists())
        throw EFileExists(CannotWrite(fileName, EEXIST));

    QTemporaryFile file(folder + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
    errno = 0;
    if (!file.open()) {
        int err = errno ? errno : EIO;
        const QFileInfo dir(folder);
        if (dir.exists() && !dir.isDir())
            err = ENOTDIR;
        throw EError(CannotWrite(fileName, err));
    }
    // QTemporaryFile removes its file on every way out until it has been renamed.
    body(file);

    errno = 0;
    if (!file.flush())
        throw EError(CannotWrite(fileName, errno ? errno : EIO));
    if (::fsync(file.handle()) != 0)
        throw EError(CannotWrite(fileName, errno));
    if (::fchmod(file.handle(), FileModeUnderUmask()) != 0)
        throw EError(CannotWrite(fileName, errno));

    if (overwrite == TOverwrite::Never) {
        // Refuses an existing target (renameat2 with RENAME_NOREPLACE, or link and unlink).
        if (!file.rename(fileName)) {
            const bool taken = QFileInfo::exists(fileName);
            if (taken)
                throw EFileExists(CannotWrite(fileName, EEXIST));
            throw EError(CannotWrite(fileName, EIO));
        }
        file.setAutoRemove(false);
        SyncFolder(fileName, folder);
        return;
    }
    const QString temporaryName = file.fileName();
    file.close();
    if (std::rename(QFile::encodeName(temporaryName).constData(), QFile::encodeName(fileName).constData()) !=
        0) {
        const int err = errno;
        throw EError(CannotWrite(fileName, err));
    }
    file.setAutoRemove(false);
    SyncFolder(fileName, folder);
}
