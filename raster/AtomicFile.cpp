#include "raster/AtomicFile.h"

#include "raster/Error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
mode_t FileModeUnderUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0644 & ~mask;
}

QString FolderOf(const QString& fileName)
{
    const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QStringLiteral(".") : slash == 0 ? QStringLiteral("/") : fileName.left(slash);
}

// Refuses an existing target atomically; file systems without RENAME_NOREPLACE get a hard link
// (which refuses an existing name too) and the unlink of the temporary name.
int RenameNoReplace(const char* from, const char* to)
{
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return -1;
    if (::link(from, to) != 0)
        return -1;
    ::unlink(from);
    return 0;
}
} // namespace

QString CannotWriteMessage(const QString& fileName, int err)
{
    return QCoreApplication::translate("Raster", "「%1」を保存できませんでした: %2")
        .arg(QDir::toNativeSeparators(fileName), FileErrorText(err));
}

bool EntryExists(const QString& path)
{
    struct stat info
    {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

void SyncFolder(const QString& folder, const QString& fileName)
{
    // Without it a power cut can forget a new name. File systems that cannot sync a folder
    // (EINVAL) have nothing to make durable.
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        throw EError(CannotWriteMessage(fileName, errno));
    const int result = ::fsync(fd);
    const int err = errno;
    ::close(fd);
    if (result != 0 && err != EINVAL && err != ENOTSUP)
        throw EError(CannotWriteMessage(fileName, err));
}

TPendingFile::TPendingFile(QString fileName) : FFileName(std::move(fileName))
{
    const QString folder = FolderOf(FFileName);
    const QString name = FFileName.mid(FFileName.lastIndexOf(QLatin1Char('/')) + 1);
    FTemporary = QFile::encodeName(folder + QStringLiteral("/.") + name) + ".XXXXXX";
    errno = 0;
    const int fd = ::mkostemp(FTemporary.data(), O_CLOEXEC);
    if (fd < 0) {
        int err = errno ? errno : EIO;
        struct stat info
        {};
        if (err == ENOENT && ::stat(QFile::encodeName(folder).constData(), &info) == 0 &&
            !S_ISDIR(info.st_mode))
            err = ENOTDIR;
        FTemporary.clear();
        throw EError(CannotWriteMessage(FFileName, err));
    }
    if (!FFile.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        ::unlink(FTemporary.constData());
        FTemporary.clear();
        throw EError(CannotWriteMessage(FFileName, EIO));
    }
}

TPendingFile::~TPendingFile()
{
    FFile.close();
    if (!FCommitted && !FTemporary.isEmpty())
        ::unlink(FTemporary.constData());
}

void TPendingFile::Finish()
{
    errno = 0;
    if (!FFile.flush())
        throw EError(CannotWriteMessage(FFileName, errno ? errno : EIO));
    if (::fsync(FFile.handle()) != 0)
        throw EError(CannotWriteMessage(FFileName, errno));
    if (::fchmod(FFile.handle(), FileModeUnderUmask()) != 0)
        throw EError(CannotWriteMessage(FFileName, errno));
}

void TPendingFile::Commit(TOverwrite overwrite)
{
    const QByteArray target = QFile::encodeName(FFileName);
    if (overwrite == TOverwrite::Never) {
        if (RenameNoReplace(FTemporary.constData(), target.constData()) != 0) {
            const int err = errno;
            if (err == EEXIST)
                throw EFileExists(CannotWriteMessage(FFileName, EEXIST));
            throw EError(CannotWriteMessage(FFileName, err));
        }
    } else if (std::rename(FTemporary.constData(), target.constData()) != 0) {
        throw EError(CannotWriteMessage(FFileName, errno));
    }
    FCommitted = true;
}

void TPendingFile::Retarget(QString fileName)
{
    if (FCommitted) {
        FTemporary = QFile::encodeName(FFileName);
        FCommitted = false;
    }
    FFileName = std::move(fileName);
}

void WriteFileAtomically(const QString& fileName, TOverwrite overwrite,
                         const std::function<void(QIODevice&)>& body)
{
    if (overwrite == TOverwrite::Never && EntryExists(fileName))
        throw EFileExists(CannotWriteMessage(fileName, EEXIST));
    TPendingFile file(fileName);
    body(file.Device());
    file.Finish();
    file.Commit(overwrite);
    SyncFolder(FolderOf(fileName), fileName);
}
