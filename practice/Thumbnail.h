#ifndef TENARAI_PRACTICE_THUMBNAIL_H
#define TENARAI_PRACTICE_THUMBNAIL_H

#include "raster/Bitmap.h"

#include <QImage>
#include <QString>

namespace Thumbnail {
inline constexpr int Side = 512;
inline constexpr int StampFontSize = 20;
// The drawer shows entries 128 units high; a grey copy that size costs 16 KiB.
inline constexpr int ListSide = 128;
} // namespace Thumbnail

/**
 * @brief A finished drawing: the whole canvas scaled smoothly to 512 × 512, stamped with its
 * time in black at the top-left corner.
 *
 * A pass whose scene cannot begin is left out (an empty canvas gives a white thumbnail under
 * the stamp). An error in a pass ends its scene and propagates.
 */
TBitmap MakeThumbnail(const TBitmap& canvas, const QString& stamp);

// The small grey copy of a thumbnail that the drawer's list shows.
QImage ListImageOf(const QImage& thumbnail);

#endif
