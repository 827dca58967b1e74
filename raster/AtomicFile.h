#ifndef TENARAI_RASTER_ATOMICFILE_H
#define TENARAI_RASTER_ATOMICFILE_H

#include "raster/Bitmap.h"

#include <QFile>
#include <QString>
#include <functional>
#include <memory>

class QIODevice;

/**
 * @brief A file being written under a temporary name in its folder ("." + name + ".XXXXXX"),
 * which takes its name only when committed; until then it is removed on every way out.
 *
 * Paths are used as given, relative ones relative to the working folder, and never turned into
 * absolute ones: a folder whose name is not valid UTF-8 could not be named again.
 */
class TPendingFile final
{
public:
    // Creates the temporary file; raises EError with a readable message.
    explicit TPendingFile(QString fileName);
    ~TPendingFile();
    TPendingFile(const TPendingFile&) = delete;
    TPendingFile& operator=(const TPendingFile&) = delete;

    const QString& FileName() const { return FFileName; }
    QIODevice& Device() { return FFile; }
    // Flushes and syncs the data and gives it the usual 0644 permissions under the umask.
    void Finish();
    /**
     * @brief Renames the finished file to its name. With TOverwrite::Never an existing entry of
     * that name, even a dangling link, is never replaced: EFileExists is raised.
     */
    void Commit(TOverwrite overwrite);
    /**
     * @brief Gives the file another name in the same folder, to be committed again: a name
     * taken by another program between the look and the rename. A committed file is taken back
     * from its name, and removed on the way out unless committed again.
     */
    void Retarget(QString fileName);

private:
    QString FFileName;
    QByteArray FTemporary; // the temporary file's path, as the file system has it
    QFile FFile;
    bool FCommitted = false;
};

/**
 * @brief Writes a file whole or not at all.
 *
 * The body writes into a temporary file in the target's folder; only when it returned, and
 * the data was flushed and synced without an error, is the file renamed to its name, with
 * the usual 0644 permissions under the umask. On any failure the temporary file is removed
 * and an EError with a readable message is raised. With TOverwrite::Never the rename refuses
 * an existing target atomically and EFileExists is raised. The folder is synced after the
 * rename, so a file reported written survives a power cut.
 */
void WriteFileAtomically(const QString& fileName, TOverwrite overwrite,
                         const std::function<void(QIODevice&)>& body);

// Makes the renames done in a folder durable; raises EError, naming `fileName`, on failure.
void SyncFolder(const QString& folder, const QString& fileName);

// Whether the folder has an entry of that name of any kind, a dangling link included.
bool EntryExists(const QString& path);

// Readable text for a failed write of `fileName`.
QString CannotWriteMessage(const QString& fileName, int err);

#endif
