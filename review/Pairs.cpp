#include "review/Pairs.h"

#include "export/ResultSheets.h"
#include "review/Fit.h"

TReviewPair PairOf(const TFinishedDrawing& drawing, int number)
{
    return {drawing.Decoded(),
            QStringLiteral("%1 · %2").arg(number).arg(drawing.Stamp()),
            !drawing.Reference().IsEmpty(),
            {}};
}

QImage ReferenceOfPair(const TReferenceLink& reference)
{
    return ReferenceCell(reference);
}

QImage InkLayer(const QImage& drawing, QColor colour)
{
    const QImage grey = drawing.convertToFormat(QImage::Format_Grayscale8);
    QImage ink(grey.size(), QImage::Format_ARGB32_Premultiplied);
    ink.fill(Qt::transparent);
    const QRgb strong = colour.rgba();
    // Two pixels wide, so that a line still shows where the cell is drawn smaller than it is.
    for (int y = 0; y < grey.height(); ++y) {
        const uchar* from = grey.constScanLine(y);
        auto* to = reinterpret_cast<QRgb*>(ink.scanLine(y));
        auto* below = y + 1 < grey.height() ? reinterpret_cast<QRgb*>(ink.scanLine(y + 1)) : to;
        for (int x = 0; x < grey.width(); ++x)
            if (from[x] < Fit::InkLevel && !Fit::StampArea.contains(x, y)) {
                const int right = qMin(x + 1, grey.width() - 1);
                to[x] = to[right] = below[x] = below[right] = strong;
            }
    }
    return ink;
}
