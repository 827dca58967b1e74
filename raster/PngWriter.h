#ifndef TENARAI_RASTER_PNGWRITER_H
#define TENARAI_RASTER_PNGWRITER_H

#include <QByteArray>
#include <QImage>
#include <QList>
#include <utility>

class QIODevice;

// Key and Latin-1 text of a tEXt chunk.
using TPngText = QList<std::pair<QByteArray, QByteArray>>;

// The colour type a PNG needs to hold an image exactly.
enum class TPngColor
{
    Grey,
    Rgb,
    Rgba
};

/**
 * @brief The smallest colour type that holds every pixel exactly: 8-bit grey when every pixel
 * is opaque with R = G = B, RGB when every pixel is opaque, RGBA otherwise.
 */
TPngColor PngColorFor(const QImage& image);
// One row of straight 32-bit pixels packed as PNG stores them in that colour type (1, 3 or 4
// bytes a pixel), without the filter byte.
void PackPngRow(const QRgb* in, int width, TPngColor color, uchar* out);

/**
 * @brief Encodes the image as PNG into the device, tuned for line art on white.
 *
 * Rows are not filtered and deflate runs at level 1 with run-length matching: drawings are
 * mostly long runs of white, and on them that is several times faster than Qt's adaptive
 * filtering at level 6, and smaller.
 * The texts go into tEXt chunks before the image data.
 * Raises EError when the device refuses the data.
 */
void WritePng(const QImage& image, QIODevice& device, const TPngText& texts = {});

// The image encoded by WritePng into memory.
QByteArray EncodePng(const QImage& image, const TPngText& texts = {});

#endif
