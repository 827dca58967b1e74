#ifndef TENARAI_RASTER_BITMAP_H
#define TENARAI_RASTER_BITMAP_H

#include "raster/Color.h"

#include <QImage>
#include <QRect>
#include <QString>

class TCanvas;

// Whether a save may replace a file that is already there.
enum class TOverwrite
{
    Replace,
    Never
};

// A 32-bit ARGB raster image. Copies share pixels until one of them changes.
class TBitmap final
{
public:
    // Larger sides than this are refused: 16384² pixels are already a gigabyte.
    static constexpr int MaxSide = 16384;

    TBitmap() = default;
    TBitmap(int width, int height);

    int Width() const { return FImage.width(); }
    int Height() const { return FImage.height(); }
    bool IsEmpty() const { return FImage.isNull(); }

    // A canvas that draws on this bitmap; it must not outlive the bitmap.
    TCanvas Canvas();

    // The same size does nothing; a new size keeps no pixels, so callers clear or cover them.
    void SetSize(int width, int height);
    // Every pixel replaced by the colour, without blending.
    void Clear(TAlphaColor color);
    // All pixels of a source of the same size; an empty source copies nothing.
    void CopyFromBitmap(const TBitmap& source);
    // The source rectangle's pixels placed unchanged at (destX, destY), clipped to both bitmaps.
    void CopyFromBitmap(const TBitmap& source, const QRect& srcRect, int destX, int destY);

    /**
     * @brief Writes the bitmap to a file whose encoder follows the extension (".png", ".bmp", ...).
     *
     * The file is written under a temporary name beside it and renamed into place only when
     * complete, so a failure never leaves a truncated file under the name.
     * With TOverwrite::Never an existing file is left alone and EFileExists is raised.
     */
    void SaveToFile(const QString& fileName, TOverwrite overwrite = TOverwrite::Replace) const;

    const QImage& Image() const { return FImage; }
    QImage& Image() { return FImage; }
    TAlphaColor Pixel(int x, int y) const { return FImage.pixel(x, y); }

private:
    QImage FImage;
};

#endif
