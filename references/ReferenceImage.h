#ifndef TENARAI_REFERENCES_REFERENCEIMAGE_H
#define TENARAI_REFERENCES_REFERENCEIMAGE_H

#include <QImage>
#include <QSize>
#include <QString>
#include <memory>

class QIODevice;

/**
 * @brief Reads a reference image at the size it will be shown: fitted into `box` with its
 * aspect kept (never larger than the file holds), turned as its EXIF data says.
 *
 * A large JPEG photo is decoded at the shown size (QImageReader::setScaledSize), which skips
 * most of the work. A null image when the file cannot be read.
 */
QImage ReadReference(const QString& path, QSize box);

namespace Reference {
// No reference may need more memory than this to decode: a file that declares more is skipped
// like any unreadable one.
inline constexpr qint64 MemoryBudget = 512ll << 20;
// The side of the square a drawing's reference is kept at: a sheet cell's.
inline constexpr int CellSide = 512;
} // namespace Reference

/**
 * @brief Opens a reference for reading, only if it is a regular file once links are followed,
 * without ever waiting: a FIFO or a device named like an image is refused at once. Null when
 * it cannot be read.
 */
std::unique_ptr<QIODevice> OpenReferenceFile(const QString& path);

/**
 * @brief Whether decoding what the file declares could need more than the budget: its pixels
 * at full size, or for a progressive JPEG, which keeps every coefficient of the whole image
 * whatever size it is decoded at, those.
 */
bool OverBudget(QIODevice& file, QSize declared);

// How a reference is seen: the study aids in force.
struct TReferenceView
{
    bool Grey = false;
    bool Mirror = false; // left to right
    bool Flip = false;   // top to bottom
    int Tones = 0;       // 0: as it is; 2 or 3: reduced to that many greys, after greyscale
    bool Blur = false;   // by about 1 % of the image's longer side, to see the big shapes
    bool operator==(const TReferenceView&) const = default;
};

/**
 * @brief The image as the reference window shows it. Two tones split at the image's own median
 * brightness, three at its thirds. Takes a few milliseconds for a large image with blur or
 * tones: call it off the user-interface thread there.
 */
QImage ViewOfReference(const QImage& image, const TReferenceView& view);

#endif
