#include "raster/PngReader.h"

#include "raster/Bitmap.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>
#include <cstring>
#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>
#include <optional>
#include <png.h>

namespace {
// PNG's Paeth predictor.
uchar Paeth(int left, int above, int upperLeft)
{
    const int p = left + above - upperLeft;
    const int pa = std::abs(p - left), pb = std::abs(p - above), pc = std::abs(p - upperLeft);
    return uchar(pa <= pb && pa <= pc ? left : pb <= pc ? above : upperLeft);
}

// Undoes a grey row's filter from `in` into `out`; `prior` is the row above, unfiltered (zeros
// above the first). False for a filter PNG does not have.
bool Unfilter(uchar filter, const uchar* in, uchar* out, const uchar* prior, int width)
{
    switch (filter) {
    case 0:
        std::memcpy(out, in, size_t(width));
        return true;
    case 1:
        for (int x = 0; x < width; ++x)
            out[x] = uchar(in[x] + (x ? out[x - 1] : 0));
        return true;
    case 2:
        for (int x = 0; x < width; ++x)
            out[x] = uchar(in[x] + prior[x]);
        return true;
    case 3:
        for (int x = 0; x < width; ++x)
            out[x] = uchar(in[x] + ((x ? out[x - 1] : 0) + prior[x]) / 2);
        return true;
    case 4:
        for (int x = 0; x < width; ++x)
            out[x] = uchar(in[x] + Paeth(x ? out[x - 1] : 0, prior[x], x ? prior[x - 1] : 0));
        return true;
    default:
        return false;
    }
}

/**
 * @brief The program's own grey files, inflated by ISA-L and unfiltered straight into the
 * image's rows: about three times libpng's speed, which matters when a save decodes 64
 * thumbnails for each sheet.
 *
 * Takes only 8-bit grey without interlacing, and no chunk that changes how the pixels read
 * (transparency, gamma, a colour profile): nothing for anything else, which goes to libpng.
 * A file of that form that is damaged in any way (a chunk's CRC, the stream's Adler-32, its
 * length) is a null image.
 */
std::optional<QImage> DecodeGreyFast(const QByteArray& png)
{
    const auto* data = reinterpret_cast<const uchar*>(png.constData());
    const qsizetype size = png.size();
    if (size < 8 + 25 || std::memcmp(data, "\x89PNG\r\n\x1a\n", 8) != 0 ||
        std::memcmp(data + 12, "IHDR", 4) != 0 || qFromBigEndian<quint32>(data + 8) != 13)
        return std::nullopt;
    const uchar* header = data + 16;
    const quint32 width = qFromBigEndian<quint32>(header), height = qFromBigEndian<quint32>(header + 4);
    // Bit depth 8, colour type grey, deflate, the one filter method, no interlacing.
    if (std::memcmp(header + 8, "\x08\x00\x00\x00\x00", 5) != 0)
        return std::nullopt;
    if (width == 0 || height == 0 || width > quint32(TBitmap::MaxSide) || height > quint32(TBitmap::MaxSide))
        return QImage();

    const qsizetype stride = 1 + qsizetype(width);
    QByteArray raw(stride * height, Qt::Uninitialized);
    inflate_state inflate;
    isal_inflate_init(&inflate);
    inflate.crc_flag = ISAL_ZLIB;
    inflate.next_out = reinterpret_cast<uint8_t*>(raw.data());
    inflate.avail_out = uint32_t(raw.size());
    bool ended = false;
    for (qsizetype at = 8; at + 12 <= size;) {
        const quint32 length = qFromBigEndian<quint32>(data + at);
        const uchar* type = data + at + 4;
        if (length > quint32(size - at - 12))
            return QImage();
        const uchar* body = type + 4;
        if (crc32_gzip_refl(0, type, 4 + uint64_t(length)) != qFromBigEndian<quint32>(body + length))
            return QImage();
        at += 12 + qsizetype(length);
        if (std::memcmp(type, "IDAT", 4) == 0) {
            if (inflate.block_state == ISAL_BLOCK_FINISH)
                continue; // PNG allows nothing after the stream's end; libpng ignores it too
            inflate.next_in = const_cast<uint8_t*>(body);
            inflate.avail_in = length;
            if (isal_inflate(&inflate) != ISAL_DECOMP_OK)
                return QImage();
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            ended = true;
            break;
        } else if (std::memcmp(type, "IHDR", 4) != 0 && std::memcmp(type, "tEXt", 4) != 0 &&
                   std::memcmp(type, "zTXt", 4) != 0 && std::memcmp(type, "iTXt", 4) != 0 &&
                   std::memcmp(type, "tIME", 4) != 0 && std::memcmp(type, "pHYs", 4) != 0) {
            return std::nullopt;
        }
    }
    if (!ended || inflate.block_state != ISAL_BLOCK_FINISH || inflate.total_out != uint32_t(raw.size()))
        return QImage();

    QImage image(int(width), int(height), QImage::Format_Grayscale8);
    if (image.isNull())
        return QImage();
    const QByteArray zeros(qsizetype(width), '\0');
    const auto* prior = reinterpret_cast<const uchar*>(zeros.constData());
    for (int y = 0; y < int(height); ++y) {
        const auto* row = reinterpret_cast<const uchar*>(raw.constData()) + y * stride;
        uchar* out = image.scanLine(y);
        if (!Unfilter(row[0], row + 1, out, prior, int(width)))
            return QImage();
        prior = out;
    }
    return image;
}
} // namespace

QImage DecodePng(const QByteArray& png)
{
    if (std::optional<QImage> grey = DecodeGreyFast(png))
        return *grey;
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
