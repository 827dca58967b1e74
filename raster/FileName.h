#ifndef TENARAI_RASTER_FILENAME_H
#define TENARAI_RASTER_FILENAME_H

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

/**
 * File names as the file system spells them, bytes and all.
 *
 * A Linux file name is any bytes, not always UTF-8 (`caf\xe9.jpg` from an old Latin-1 disk).
 * Qt's own conversion turns such bytes into U+FFFD and cannot get back to the file, and its
 * directory listings leave those names out. Here each byte that is not part of valid UTF-8
 * becomes the lone surrogate U+DC80–U+DCFF (as Python's "surrogateescape" does), and goes back
 * to the same byte, so every name round-trips.
 */
namespace FileName {
QString FromNative(QByteArrayView bytes);
QByteArray ToNative(QStringView name);
} // namespace FileName

#endif
