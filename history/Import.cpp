#include "history/Import.h"

#include "practice/SheetGeometry.h"

#include <QDir>
#include <QImageReader>
#include <QMap>
#include <QRegularExpression>
#include <QTimeZone>

namespace {
using Sheet::Side, Sheet::Cell, Sheet::Columns, Sheet::CellsPerSheet;

// Whether a cell holds a drawing: anything darker than light grey inside its grid lines (a
// drawing always holds at least its stamp).
bool HoldsInk(const QImage& sheet, int cell)
{
    const int left = (cell % Columns) * Cell + 2, top = (cell / Columns) * Cell + 2;
    for (int y = top; y < top + Cell - 4; ++y) {
        const uchar* row = sheet.constScanLine(y);
        for (int x = left; x < left + Cell - 4; ++x)
            if (row[x] < 200)
                return true;
    }
    return false;
}
} // namespace

QList<TPracticeRecord> PracticesInFolder(const QString& folder)
{
    static const QRegularExpression name(QStringLiteral("^(\\d{8}_\\d{6})_(\\d+)\\.png$"));
    QMap<QString, QMap<int, QString>> sheets; // stamp → number → file
    const QDir dir(folder);
    for (const QString& file : dir.entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name)) {
        const QRegularExpressionMatch match = name.match(file);
        if (match.hasMatch())
            sheets[match.captured(1)][match.captured(2).toInt()] = dir.filePath(file);
    }
    QList<TPracticeRecord> practices;
    for (auto stamp = sheets.cbegin(); stamp != sheets.cend(); ++stamp) {
        const QDateTime local = QDateTime::fromString(stamp.key(), QStringLiteral("yyyyMMdd_HHmmss"));
        if (!local.isValid())
            continue;
        TPracticeRecord practice;
        practice.SavedUtc = local.toUTC();
        practice.UtcOffsetMin = local.offsetFromUtc() / 60;
        practice.ResultFolder = dir.absolutePath();
        practice.Stamp = stamp.key();
        for (auto sheet = stamp->cbegin(); sheet != stamp->cend(); ++sheet) {
            QImageReader reader(sheet.value());
            if (reader.size() != QSize(Side, Side))
                continue;
            reader.setAllocationLimit(64); // MB: one grey sheet is 16
            const QImage image = reader.read().convertToFormat(QImage::Format_Grayscale8);
            if (image.isNull())
                continue;
            for (int cell = 0; cell < CellsPerSheet && HoldsInk(image, cell); ++cell)
                practice.DrawingRows.append(
                    {int(practice.DrawingRows.size()) + 1, {}, {}, {}, sheet.key(), cell});
        }
        practice.Drawings = int(practice.DrawingRows.size());
        if (practice.Drawings > 0)
            practices.append(practice);
    }
    return practices;
}
