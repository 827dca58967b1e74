#ifndef TENARAI_PRACTICE_SHEETGEOMETRY_H
#define TENARAI_PRACTICE_SHEETGEOMETRY_H

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// How drawings lie on the result sheets: written by export/, read back by history/ and review/.
namespace Sheet {
inline constexpr int Side = 4096;
inline constexpr int Cell = 512;
inline constexpr int Columns = Side / Cell;
inline constexpr int CellsPerSheet = Columns * Columns;
inline constexpr auto Folder = "result";
inline constexpr int MissingTextSize = 40; // "見つかりません" in a reference cell
} // namespace Sheet

// Where one drawing lies: its sheet, from 1 as in "_1.png", and its cell, 0 to 63 across then down.
struct TSheetPlace
{
    int Sheet = 1;
    int Cell = 0;
    bool operator==(const TSheetPlace&) const = default;
};

// The place of the drawing at `index` (from 0) of a practice.
constexpr TSheetPlace PlaceOf(qsizetype index)
{
    return {int(index / Sheet::CellsPerSheet) + 1, int(index % Sheet::CellsPerSheet)};
}

// What a save wrote: the stamp its names took (after any move to a free second), the files in
// order, and each drawing's place, in the practice's order.
struct TSavedSheets
{
    QString Stamp; // "yyyyMMdd_HHmmss", without the trailing '_'
    QStringList Files;
    QList<TSheetPlace> Places;
    QString Folder;  // absolute
    QDateTime When;  // the local time the save was asked for
};

#endif
