#include "raster/AtomicFile.h"

#include "raster/Error.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString CannotWrite(const QString& fileName, int err)
{
    return QStringLiteral("「%1」を保存できませんでした: %2")
        .arg(QDir::toNativeSeparators(fileName), FileErrorText(err));
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
}
