#ifndef TENARAI_RASTER_PNGWRITER_H
#define TENARAI_RASTER_PNGWRITER_H

#include <QImage>

class QIODevice;

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

/**
 * @brief Encodes the image as PNG into the device, tuned for line art on white.
 *
 * Rows are not filtered and deflate runs at level 1 with run-length matching: drawings are
 * mostly long runs of white, and on them that is several times faster than Qt's adaptive
 * filtering at level 6, and smaller.
 * Raises EError when the device refuses the data.
 */
void WritePng(const QImage& image, QIODevice& device);

#endif
