#ifndef TENARAI_REFERENCES_REFERENCEIMAGE_H
#define TENARAI_REFERENCES_REFERENCEIMAGE_H

#include <QImage>
#include <QSize>
#include <QString>

/**
 * @brief Reads a reference image at the size it will be shown: fitted into `box` with its
 * aspect kept (never larger than the file holds), turned as its EXIF data says.
 *
 * A large JPEG photo is decoded at the shown size (QImageReader::setScaledSize), which skips
 * most of the work. A null image when the file cannot be read.
 */
QImage ReadReference(const QString& path, QSize box);

// The image as the reference window shows it: in grey and mirrored left to right as asked.
QImage ViewOfReference(const QImage& image, bool grey, bool mirror);

#endif
