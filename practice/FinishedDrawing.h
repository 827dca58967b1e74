#ifndef TENARAI_PRACTICE_FINISHEDDRAWING_H
#define TENARAI_PRACTICE_FINISHEDDRAWING_H

#include "practice/ReferenceLink.h"
#include "raster/Bitmap.h"

#include <QByteArray>
#include <QImage>
#include <QString>

/**
 * @brief One finished drawing as the practice keeps it: the thumbnail in a compact exact form,
 * its stamp, the total clock when it was finished, and its reference.
 *
 * The stored form is a PNG (8-bit grey for the grey thumbnails every drawing makes), about a
 * tenth of the thumbnail's ARGB pixels, and the very bytes the crash journal writes. The stamp
 * and the total travel in its text chunks too, and the reference link with them, so a drawing
 * file can stand on its own.
 * Copies share the bytes.
 */
class TFinishedDrawing final
{
public:
    static constexpr auto StampKey = "Stamp";
    static constexpr auto TotalKey = "TotalMs";
    static constexpr auto ReferenceKey = "Reference"; // the link, without its picture

    TFinishedDrawing() = default;
    // Packs a 512 × 512 thumbnail; nothing of it is lost.
    static TFinishedDrawing Pack(const TBitmap& thumbnail, const QString& stamp, qint64 totalMs,
                                 TReferenceLink reference = {});
    /**
     * @brief Takes a stored form read back from a file. Null unless the bytes decode whole to
     * a 512 × 512 image; the stamp and total come from the caller, or from the file's own text
     * chunks where the caller has none (an empty stamp, a negative total). The reference link
     * comes from the file.
     */
    static TFinishedDrawing FromStored(const QByteArray& png, QString stamp = {}, qint64 totalMs = -1);

    bool IsNull() const { return FStored.isEmpty(); }
    const QByteArray& Stored() const { return FStored; }
    const QString& Stamp() const { return FStamp; }
    qint64 TotalMs() const { return FTotalMs; }
    const TReferenceLink& Reference() const { return FReference; }
    void SetReference(TReferenceLink reference) { FReference = std::move(reference); }

    // The thumbnail as it was packed: 8-bit grey, or 32-bit for a thumbnail with colour.
    QImage Decoded() const;
    // The thumbnail in the bitmap's format.
    QImage Image() const;

private:
    QByteArray FStored;
    QString FStamp;
    qint64 FTotalMs = 0;
    TReferenceLink FReference;
};

#endif
