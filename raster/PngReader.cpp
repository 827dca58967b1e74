#include "raster/PngReader.h"

#include "raster/Bitmap.h"

#include <QBuffer>
#include <QImageReader>
#include <png.h>

QImage DecodePng(const QByteArray& png)
{
    png_image reader{};
    reader.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&reader, png.constData(), size_t(png.size())))
        return {};
    if (reader.width == 0 || reader.height == 0 || reader.width > TBitmap::MaxSide ||
        reader.height > TBitmap::MaxSide) {
        png_image_free(&reader);
        return {};
    }
    const bool grey =
        (reader.format & PNG_FORMAT_FLAG_COLOR) == 0 && (reader.format & PNG_FORMAT_FLAG_ALPHA) == 0;
    // Little-endian BGRA bytes are QImage's ARGB32 words.
    reader.format = grey ? PNG_FORMAT_GRAY : PNG_FORMAT_BGRA;
    QImage image(int(reader.width), int(reader.height),
                 grey ? QImage::Format_Grayscale8 : QImage::Format_ARGB32);
    if (image.isNull()) {
        png_image_free(&reader);
        return {};
    }
    if (!png_image_finish_read(&reader, nullptr, image.bits(), png_int_32(image.bytesPerLine()), nullptr))
        return {};
    return image;
}

QImage ReadCheckedPng(const QByteArray& png, const std::function<bool(QSize)>& sizeAllowed)
{
    QBuffer buffer;
    buffer.setData(png);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    if (!sizeAllowed(reader.size()))
        return {};
    QImage image;
    if (!reader.read(&image))
        return {};
    return image;
}
