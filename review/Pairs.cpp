#include "review/Pairs.h"

#include "practice/ReferenceCell.h"
#include "practice/SheetGeometry.h"
#include "review/Fit.h"

#include <QDir>
#include <QHash>

TReviewPair PairOf(const TFinishedDrawing& drawing, int number)
{
    return {drawing.Decoded(),
            QStringLiteral("%1 · %2").arg(number).arg(drawing.Stamp()),
            !drawing.Reference().IsEmpty(),
            {}};
}

namespace {
QImage MissingCell()
{
    return ReferenceCell({QStringLiteral("/nonexistent"), false, false});
}
} // namespace

QList<TReviewPair> PairsFromSheets(const QString& folder, const QString& stamp,
                                   const QList<TSheetDrawing>& drawings)
{
    QHash<QString, QImage> sheets; // read once each; a null image for one that is gone
    const auto cellOf = [&](const QString& file, int cell) {
        if (!sheets.contains(file))
            sheets.insert(file, QImage(file));
        const QImage& sheet = sheets[file];
        if (sheet.size() != QSize(Sheet::Side, Sheet::Side))
            return QImage();
        return sheet.copy((cell % Sheet::Columns) * Sheet::Cell, (cell / Sheet::Columns) * Sheet::Cell,
                          Sheet::Cell, Sheet::Cell);
    };
    QList<TReviewPair> pairs;
    for (const TSheetDrawing& drawing : drawings) {
        const QString base = QDir(folder).filePath(stamp + QStringLiteral("_%1").arg(drawing.Sheet));
        TReviewPair pair{
            cellOf(base + QStringLiteral(".png"), drawing.Cell), drawing.Caption, drawing.HasReference, {}};
        if (pair.Drawing.isNull())
            pair.Drawing = MissingCell();
        if (drawing.HasReference) {
            pair.Reference = cellOf(base + QStringLiteral("_ref.png"), drawing.Cell);
            if (pair.Reference.isNull())
                pair.Reference = ReferenceCell({drawing.Reference, false, false});
        }
        pairs.append(pair);
    }
    return pairs;
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
