#ifndef TENARAI_PRACTICE_FINISHEDDRAWING_H
#define TENARAI_PRACTICE_FINISHEDDRAWING_H

#include "practice/ReferenceLink.h"
#include "raster/Bitmap.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// A drawing's own time, and its limit (0: none). A negative time is read off the stamp.
struct TDrawingTimes
{
    qint64 DrawMs = -1;
    qint64 LimitMs = 0;
};

/**
 * @brief One finished drawing as the practice keeps it: the thumbnail in a compact exact form,
 * its stamp, its exact drawing time and the limit it ran under, the total clock when it was
 * finished, and its reference.
 *
 * The stamp is the drawing clock's text as the last tick left it; the drawing time is the
 * clocks' own reading when the drawing was finished, so the times of a practice add up to its
 * total. A "Next" with nothing under way makes a drawing of 0 ms that keeps the last stamp.
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
    static constexpr auto DrawKey = "DrawMs";
    static constexpr auto LimitKey = "LimitMs";

    TFinishedDrawing() = default;
    // Packs a 512 × 512 thumbnail; nothing of it is lost.
    static TFinishedDrawing Pack(const TBitmap& thumbnail, const QString& stamp, qint64 totalMs,
                                 TReferenceLink reference = {}, TDrawingTimes times = {});
    /**
     * @brief Takes a stored form read back from a file. Null unless the bytes decode whole to
     * a 512 × 512 image; the stamp and total come from the caller, or from the file's own text
     * chunks where the caller has none (an empty stamp, a negative total). The reference link,
     * the drawing time and the limit come from the file; a file from before the drawing time
     * was kept has its stamp's time.
     */
    static TFinishedDrawing FromStored(const QByteArray& png, QString stamp = {}, qint64 totalMs = -1);

    bool IsNull() const { return FStored.isEmpty(); }
    const QByteArray& Stored() const { return FStored; }
    const QString& Stamp() const { return FStamp; }
    qint64 TotalMs() const { return FTotalMs; }
    qint64 DrawMs() const { return FDrawMs; }
    qint64 LimitMs() const { return FLimitMs; }
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
    qint64 FDrawMs = 0;
    qint64 FLimitMs = 0;
    TReferenceLink FReference;
};

#endif
