#ifndef TENARAI_RASTER_ATOMICFILE_H
#define TENARAI_RASTER_ATOMICFILE_H

#include "raster/Bitmap.h"

#include <QString>
#include <functional>

class QIODevice;

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

#endif
