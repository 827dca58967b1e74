#ifndef TENARAI_EXPORT_RESULTSHEETS_H
#define TENARAI_EXPORT_RESULTSHEETS_H

#include "practice/FinishedDrawing.h"
#include "practice/ReferenceCell.h"
#include "practice/SheetGeometry.h"
#include "raster/Bitmap.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QIODevice;

// Encodes one finished sheet into a file being written; raises EError on failure.
using TSheetWriter = std::function<void(const TBitmap& sheet, QIODevice& device)>;
// Told, from any thread, how many of the drawings a save has laid out so far.
using TSheetProgress = std::function<void(int done, int total)>;

// The number of sheets that hold this many thumbnails.
int SheetCount(qsizetype thumbnails);

// "yyyyMMdd_HHmmss_", which no locale setting changes.
QString SheetStamp(const QDateTime& when);

/**
 * @brief Lays thumbnails [first, first + 64) out on the sheet: white, each copied unblended into
 * its cell row by row, then the 16 black grid lines at 0, 512, … 3584 (none at 4096).
 */
void ComposeSheet(const QList<TFinishedDrawing>& drawings, qsizetype first, TBitmap& sheet);

// Whether any of the drawings was made from a reference.
bool HasReferences(const QList<TFinishedDrawing>& drawings);

// The reference sheet that pairs with ComposeSheet's sheet, cell for cell, with the same grid.
void ComposeReferenceSheet(const QList<TFinishedDrawing>& drawings, qsizetype first, TBitmap& sheet);

/**
 * @brief Writes every thumbnail on 4096 × 4096 sheets as "<folder>/<stamp><n>.png", by default
 * "result" below the working directory, and returns the names written, in order.
 *
 * Nothing is created for no thumbnails. The stamp is `now`'s; when a name this save would use
 * is taken, the whole save moves on to the next free second, so no file is ever replaced.
 * When a drawing had a reference, each sheet gets its reference sheet "<stamp><n>_ref.png"
 * right after it, and the stamp must be free for both names.
 * All or nothing: every sheet is written to a temporary file first and takes its name only
 * when all are written. A failure raises EError and leaves no file of this save; the
 * thumbnails are only read. `progress` hears of each drawing laid out on its sheets.
 * The result names the stamp the files took and where each drawing lies.
 */
TSavedSheets SaveSheets(const QList<TFinishedDrawing>& drawings, const QDateTime& now,
                        const TSheetWriter& writer = {}, const QString& folder = QLatin1String(Sheet::Folder),
                        const TSheetProgress& progress = {});
// SaveSheets for callers that want only the names written.
QStringList SaveResultSheets(const QList<TFinishedDrawing>& drawings, const QDateTime& now,
                             const TSheetWriter& writer = {},
                             const QString& folder = QLatin1String(Sheet::Folder),
                             const TSheetProgress& progress = {});

#endif
