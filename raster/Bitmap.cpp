#include "raster/Bitmap.h"

#include "raster/AtomicFile.h"
#include "raster/Canvas.h"
#include "raster/Error.h"
#include "raster/PngWriter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImageWriter>
#include <cstring>

namespace {
// Premultiplied pixels are what QPainter draws into fastest; every pixel this program makes is
// opaque, so nothing is lost by the premultiplication.
constexpr QImage::Format kFormat = QImage::Format_ARGB32_Premultiplied;

QImage MakeImage(int width, int height)
{
    if (width <= 0 || height <= 0)
        return {};
    if (width > TBitmap::MaxSide || height > TBitmap::MaxSide)
        throw EError(QCoreApplication::translate("Raster", "ビットマップ サイズが大きすぎます。"));
    QImage image(width, height, kFormat);
    if (image.isNull())
        throw EError(QCoreApplication::translate("Raster", "ビットマップ サイズが大きすぎます。"));
    return image;
}
} // namespace

TBitmap::TBitmap(int width, int height) : FImage(MakeImage(width, height))
{}

TCanvas TBitmap::Canvas()
{
    return TCanvas(*this);
}

void TBitmap::SetSize(int width, int height)
{
    if (width == Width() && height == Height())
        return;
    FImage = MakeImage(width, height);
}

void TBitmap::Clear(TAlphaColor color)
{
    if (!FImage.isNull())
        FImage.fill(QColor::fromRgba(color));
}

void TBitmap::CopyFromBitmap(const TBitmap& source)
{
    if (source.IsEmpty())
        return;
    if (source.Width() != Width() || source.Height() != Height())
        throw EError(QCoreApplication::translate("Raster", "コピー操作ではビットマップ サイズが等しくなければなりません"));
    FImage = source.FImage.convertToFormat(kFormat);
}

void TBitmap::CopyFromBitmap(const TBitmap& source, const QRect& srcRect, int destX, int destY)
{
    if (source.IsEmpty() || IsEmpty())
        return;
    // Clip the source rectangle to the source, then its placement to this bitmap.
    QRect src = srcRect.normalized() & QRect(0, 0, source.Width(), source.Height());
    QRect dst(destX + (src.left() - srcRect.normalized().left()),
              destY + (src.top() - srcRect.normalized().top()), src.width(), src.height());
    const QRect clipped = dst & QRect(0, 0, Width(), Height());
    if (clipped.isEmpty())
        return;
    src.translate(clipped.left() - dst.left(), clipped.top() - dst.top());
    src.setSize(clipped.size());

    const QImage from =
        source.FImage.format() == kFormat ? source.FImage : source.FImage.convertToFormat(kFormat);
    const qsizetype rowBytes = qsizetype(clipped.width()) * 4;
    for (int row = 0; row < clipped.height(); ++row) {
        const uchar* in = from.constScanLine(src.top() + row) + qsizetype(src.left()) * 4;
        uchar* out = FImage.scanLine(clipped.top() + row) + qsizetype(clipped.left()) * 4;
        std::memcpy(out, in, size_t(rowBytes));
    }
}

void TBitmap::SaveToFile(const QString& fileName, TOverwrite overwrite) const
{
    const QByteArray suffix = QFileInfo(fileName).suffix().toLower().toLatin1();
    const bool png = suffix == "png";
    if (!png && !QImageWriter::supportedImageFormats().contains(suffix))
        throw EError(QCoreApplication::translate("Raster", "ビットマップの保存に失敗しました。"));

    WriteFileAtomically(fileName, overwrite, [&](QIODevice& device) {
        if (png) {
            WritePng(FImage, device);
            return;
        }
        QImageWriter writer(&device, suffix);
        if (!writer.write(FImage))
            throw EError(QCoreApplication::translate("Raster", "ビットマップの保存に失敗しました。"));
    });
}
