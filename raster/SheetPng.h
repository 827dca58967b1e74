#ifndef TENARAI_RASTER_SHEETPNG_H
#define TENARAI_RASTER_SHEETPNG_H

#include <QImage>

class QIODevice;

namespace SheetPng {
// Rows per band. Bands depend on the image alone, so the file is the same byte for byte
// whatever the number of threads.
inline constexpr int BandRows = 256;

// How the bands are deflated.
enum class TCodec
{
    // The program's: colour rows Up-filtered and deflated by ISA-L; grey rows as RunLength,
    // which packs line art smallest.
    Fast,
    // zlib at level 1 with run-length matching, rows unfiltered: the writer before it, kept
    // so the benchmark can measure against it.
    RunLength,
};
} // namespace SheetPng

/**
 * @brief Encodes a sheet as PNG on several threads: the same colour types and deflate settings
 * as WritePng, so the same pixels and the same file size.
 *
 * Sheets have a writer of their own because libpng deflates the image data as one stream on
 * one thread, and a 4096 × 4096 sheet is the largest thing the program writes while the user
 * waits. Here each band of rows is deflated on its own (each ends on a full flush, the last
 * finishes the stream) and the bands are joined into one zlib stream, its Adler-32 combined
 * from theirs, written as ordinary IDAT chunks. Bands are written in order as they are done,
 * so writing overlaps deflating.
 *
 * Colour rows (reference sheets of photographs) are Up-filtered, which halves what a photo
 * deflates to, and deflated by ISA-L; grey line art deflates smallest as it is, run-length. A band's first
 * row is filtered against the last row of the band before, so the bands stay independent.
 *
 * `threads` 0 means one per core. Raises EError when the device refuses the data; the other
 * workers then stop before taking another band.
 */
void WriteSheetPng(const QImage& image, QIODevice& device, int threads = 0,
                   SheetPng::TCodec codec = SheetPng::TCodec::Fast);

#endif
