#include "raster/PngWriter.h"

#include "raster/Error.h"

#include <QCoreApplication>
#include <QBuffer>
#include <QFileDevice>
#include <cerrno>
#include <csetjmp>
#include <png.h>
#include <vector>
#include <zlib.h>

namespace {

struct TPngJob
{
    const QImage* Image;
    QIODevice* Device;
    TPngColor Color;
    std::vector<png_text> TextChunks;
    std::vector<png_byte> Row;
    int DeviceErrno = 0;
    char Message[200] = {};
};

void OnPngError(png_structp png, png_const_charp message)
{
    auto* job = static_cast<TPngJob*>(png_get_error_ptr(png));
    qstrncpy(job->Message, message, sizeof job->Message);
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp)
{}

void OnPngWrite(png_structp png, png_bytep data, png_size_t length)
{
    auto* job = static_cast<TPngJob*>(png_get_io_ptr(png));
    errno = 0;
    if (job->Device->write(reinterpret_cast<const char*>(data), qint64(length)) != qint64(length)) {
        int err = errno;
        if (err == 0) {
            const auto* file = qobject_cast<const QFileDevice*>(job->Device);
            err = file && file->error() == QFileDevice::ResourceError ? ENOSPC : EIO;
        }
        job->DeviceErrno = err;
        png_error(png, "write failed");
    }
}

void OnPngFlush(png_structp)
{}

// Fills job.Row with row y in the job's colour type.
void PackRow(TPngJob& job, int y)
{
    PackPngRow(reinterpret_cast<const QRgb*>(job.Image->constScanLine(y)), job.Image->width(), job.Color,
               job.Row.data());
}

// Kept free of objects with destructors: png_longjmp leaves this frame without unwinding it.
bool Encode(png_structp png, png_infop info, TPngJob& job)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, &job, OnPngWrite, OnPngFlush);
    const int colorType = job.Color == TPngColor::Grey  ? PNG_COLOR_TYPE_GRAY
                          : job.Color == TPngColor::Rgb ? PNG_COLOR_TYPE_RGB
                                                        : PNG_COLOR_TYPE_RGBA;
    png_set_IHDR(png, info, png_uint_32(job.Image->width()), png_uint_32(job.Image->height()), 8, colorType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    // Run-length matching only: drawings are long runs of white broken by short dark runs, and
    // on them it is faster than full matching and smaller too.
    png_set_compression_strategy(png, Z_RLE);
    if (!job.TextChunks.empty())
        png_set_text(png, info, job.TextChunks.data(), int(job.TextChunks.size()));
    png_write_info(png, info);
    for (int y = 0; y < job.Image->height(); ++y) {
        PackRow(job, y);
        png_write_row(png, job.Row.data());
    }
    png_write_end(png, info);
    return true;
}

} // namespace

void PackPngRow(const QRgb* in, int width, TPngColor color, uchar* out)
{
    switch (color) {
    case TPngColor::Grey:
        for (int x = 0; x < width; ++x)
            out[x] = uchar(qGreen(in[x]));
        break;
    case TPngColor::Rgb:
        for (int x = 0; x < width; ++x) {
            out[3 * x] = uchar(qRed(in[x]));
            out[3 * x + 1] = uchar(qGreen(in[x]));
            out[3 * x + 2] = uchar(qBlue(in[x]));
        }
        break;
    case TPngColor::Rgba:
        for (int x = 0; x < width; ++x) {
            out[4 * x] = uchar(qRed(in[x]));
            out[4 * x + 1] = uchar(qGreen(in[x]));
            out[4 * x + 2] = uchar(qBlue(in[x]));
            out[4 * x + 3] = uchar(qAlpha(in[x]));
        }
        break;
    }
}

TPngColor PngColorFor(const QImage& image)
{
    // Written without branches in the inner loop so that it vectorises: this scan reads every
    // pixel of a 64 MiB sheet before a byte is written.
    quint32 diff = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const quint32*>(image.constScanLine(y));
        quint32 all = 0xFFFFFFFFu;
        for (int x = 0; x < image.width(); ++x) {
            const quint32 p = row[x];
            all &= p;
            diff |= (p ^ (p >> 8)) & 0xFFFFu; // B against G, G against R
        }
        if ((all >> 24) != 0xFFu)
            return TPngColor::Rgba;
    }
    return diff ? TPngColor::Rgb : TPngColor::Grey;
}

void WritePng(const QImage& image, QIODevice& device, const TPngText& texts)
{
    // PNG stores straight alpha. Opaque premultiplied pixels already are straight, so only an
    // image with translucent pixels, or of another layout, needs converting.
    const bool argbLayout = image.format() == QImage::Format_ARGB32 ||
                            image.format() == QImage::Format_RGB32 ||
                            image.format() == QImage::Format_ARGB32_Premultiplied;
    const TPngColor color = argbLayout ? PngColorFor(image) : TPngColor::Rgba;
    const bool straight = image.format() != QImage::Format_ARGB32_Premultiplied || color != TPngColor::Rgba;
    const QImage source = argbLayout && straight ? image : image.convertToFormat(QImage::Format_ARGB32);
    if (source.isNull())
        throw EError(QCoreApplication::translate("Raster", "ビットマップの保存に失敗しました。"));

    TPngJob job{&source, &device, argbLayout ? color : PngColorFor(source), {}, {}, 0, {}};
    job.Row.resize(size_t(source.width()) * 4);
    for (const auto& [key, text] : texts) {
        png_text chunk{};
        chunk.compression = PNG_TEXT_COMPRESSION_NONE;
        chunk.key = const_cast<char*>(key.constData());
        chunk.text = const_cast<char*>(text.constData());
        chunk.text_length = size_t(text.size());
        job.TextChunks.push_back(chunk);
    }

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &job, OnPngError, OnPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool ok = png && info && Encode(png, info, job);
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    if (ok)
        return;
    if (job.DeviceErrno != 0)
        throw EError(
            QCoreApplication::translate("Raster", "ビットマップの保存に失敗しました。(%1)").arg(FileErrorText(job.DeviceErrno)));
    throw EError(
        QCoreApplication::translate("Raster", "ビットマップの保存に失敗しました。(%1)").arg(QString::fromLatin1(job.Message)));
}

QByteArray EncodePng(const QImage& image, const TPngText& texts)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    WritePng(image, buffer, texts);
    return bytes;
}
