#include "export/ResultSheets.h"

#include "raster/AtomicFile.h"
#include "raster/Canvas.h"
#include "raster/Error.h"
#include "raster/SheetPng.h"
#include "references/ReferenceImage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QRegularExpression>
#include <QtConcurrent/QtConcurrentMap>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <functional>
#include <future>
#include <numeric>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

int SheetCount(qsizetype thumbnails)
{
    return int((thumbnails + Sheet::CellsPerSheet - 1) / Sheet::CellsPerSheet);
}

QString SheetStamp(const QDateTime& when)
{
    return when.toString(QStringLiteral("yyyyMMdd_HHmmss_"));
}

namespace {
// The sheet's pixels, reached without QImage's non-const accessors, which may detach and so
// must not run on several threads at once.
struct TSheetPixels
{
    uchar* Bits;
    qsizetype BytesPerLine;
    QRect Bounds;
    QRgb* Row(int y) const { return reinterpret_cast<QRgb*>(Bits + y * BytesPerLine); }
};

// Copies a thumbnail into its cell unblended; grey is expanded straight into the sheet's pixels.
void PlaceThumbnail(const QImage& thumb, const TSheetPixels& sheet, int left, int top)
{
    const QRect area = QRect(left, top, thumb.width(), thumb.height()) & sheet.Bounds;
    if (thumb.format() == QImage::Format_Grayscale8) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            const uchar* in = thumb.constScanLine(y - top) + (area.left() - left);
            QRgb* out = sheet.Row(y) + area.left();
            for (int x = 0; x < area.width(); ++x)
                out[x] = 0xFF000000u | (0x010101u * in[x]);
        }
        return;
    }
    const QImage argb = thumb.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = area.top(); y <= area.bottom(); ++y)
        std::memcpy(sheet.Row(y) + area.left(),
                    reinterpret_cast<const QRgb*>(argb.constScanLine(y - top)) + (area.left() - left),
                    size_t(area.width()) * sizeof(QRgb));
}
} // namespace

namespace {
/**
 * @brief Lays out cells [first, last) of a sheet: white, each cell's image from `cellImage`
 * copied unblended to the cell's top-left corner, then the grid. Making the cell images is most
 * of the work and the cells lie apart, so every core takes some of them.
 */
void ComposeCells(qsizetype count, TBitmap& sheet, const std::function<QImage(qsizetype cell)>& cellImage)
{
    sheet.SetSize(Sheet::Side, Sheet::Side);
    sheet.Clear(TAlphaColors::White);
    const TSheetPixels pixels{sheet.Image().bits(), sheet.Image().bytesPerLine(), sheet.Image().rect()};
    QList<int> cells(qMin<qsizetype>(count, Sheet::CellsPerSheet));
    std::iota(cells.begin(), cells.end(), 0);
    QtConcurrent::blockingMap(cells, [&](int cell) {
        const QImage image = cellImage(cell);
        if (!image.isNull())
            PlaceThumbnail(image, pixels, Sheet::Cell * (cell % Sheet::Columns),
                           Sheet::Cell * (cell / Sheet::Columns));
    });

    const TStrokeBrush lineBrush(TBrushKind::Solid, TAlphaColors::Black);
    TCanvas canvas = sheet.Canvas();
    TCanvasScope scene(canvas);
    if (!scene)
        return;
    for (int k = 0; k < Sheet::Columns; ++k) {
        const qreal at = Sheet::Cell * k;
        canvas.DrawLine(QPointF(at, 0), QPointF(at, Sheet::Side), 1.0f, lineBrush);
        canvas.DrawLine(QPointF(0, at), QPointF(Sheet::Side, at), 1.0f, lineBrush);
    }
}
} // namespace

void ComposeSheet(const QList<TFinishedDrawing>& drawings, qsizetype first, TBitmap& sheet)
{
    ComposeCells(drawings.size() - first, sheet,
                 [&](qsizetype cell) { return drawings[first + cell].Decoded(); });
}

void ComposeReferenceSheet(const QList<TFinishedDrawing>& drawings, qsizetype first, TBitmap& sheet)
{
    ComposeCells(drawings.size() - first, sheet,
                 [&](qsizetype cell) { return ReferenceCell(drawings[first + cell].Reference()); });
}

bool HasReferences(const QList<TFinishedDrawing>& drawings)
{
    return std::any_of(drawings.begin(), drawings.end(),
                       [](const TFinishedDrawing& d) { return !d.Reference().IsEmpty(); });
}

namespace {
QString SheetName(const QString& folder, const QString& stamp, int number, bool reference = false)
{
    return QStringLiteral("%1/%2%3%4.png")
        .arg(folder, stamp)
        .arg(number)
        .arg(reference ? QStringLiteral("_ref") : QString());
}

// Makes the folder and every missing folder above it, as mkdir -p does.
void MakeFolder(const QString& name)
{
    const QStringList parts = name.split(QLatin1Char('/'));
    QString above = name.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QString();
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        if (parts[i].isEmpty() || parts[i] == QLatin1String("."))
            continue;
        above += parts[i] + QLatin1Char('/');
        if (parts[i] != QLatin1String(".."))
            ::mkdir(QFile::encodeName(above).constData(), 0777); // a failure shows at the last one
    }
    const QByteArray folder = QFile::encodeName(name);
    if (::mkdir(folder.constData(), 0777) == 0)
        return;
    // The mkdir's own reason: a later look at the folder would overwrite errno.
    int err = errno;
    struct stat info
    {};
    if (err == EEXIST) {
        if (::stat(folder.constData(), &info) == 0 && S_ISDIR(info.st_mode))
            return;
        err = ENOTDIR;
    }
    throw EError(QCoreApplication::translate("ResultSheets", "結果を保存するフォルダー「%1」を作れませんでした: %2")
                     .arg(QDir::current().absoluteFilePath(name), FileErrorText(err)));
}

/**
 * @brief Removes temporary sheet files that a killed save left behind (where the file system
 * cannot make them invisible, they stay as hidden ".<sheet name>.XXXXXX" files). Only names
 * of that form, only plain files, and only those untouched for ten minutes: a save running in
 * another window may still be writing a fresh one.
 */
void RemoveStaleTemporaries(const QString& folder)
{
    static const QRegularExpression ours(
        QStringLiteral("^\\.\\d{8}_\\d{6}_\\d+(_ref)?\\.png\\.[A-Za-z0-9]{6}$"));
    const QDir dir(folder);
    const QDateTime old = QDateTime::currentDateTimeUtc().addSecs(-10 * 60);
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
        if (ours.match(entry.fileName()).hasMatch() && entry.lastModified().toUTC() < old)
            QFile::remove(dir.filePath(entry.fileName()));
    }
}

// The first stamp from `now` on under which none of the save's names is taken, by an entry
// of any kind (a dangling link takes a name too).
QString FreeStamp(const QString& folder, QDateTime when, int sheets, bool references)
{
    for (;;) {
        const QString stamp = SheetStamp(when);
        bool taken = false;
        for (int n = 1; n <= sheets && !taken; ++n)
            taken = EntryExists(SheetName(folder, stamp, n)) ||
                    (references && EntryExists(SheetName(folder, stamp, n, true)));
        if (!taken)
            return stamp;
        when = when.addSecs(1);
    }
}

struct TSheetJob
{
    QString Name;
    qsizetype First;
    bool Reference;
};
} // namespace

QStringList SaveResultSheets(const QList<TFinishedDrawing>& drawings, const QDateTime& now,
                             const TSheetWriter& writer, const QString& folder,
                             const TSheetProgress& progress)
{
    return SaveSheets(drawings, now, writer, folder, progress).Files;
}

TSavedSheets SaveSheets(const QList<TFinishedDrawing>& thumbnails, const QDateTime& now,
                        const TSheetWriter& writer, const QString& folder, const TSheetProgress& progress)
{
    if (thumbnails.isEmpty())
        return {};
    MakeFolder(folder);
    RemoveStaleTemporaries(folder);
    const int sheets = SheetCount(thumbnails.size());
    const bool references = HasReferences(thumbnails);
    const QString stamp = FreeStamp(folder, now, sheets, references);
    const TSheetWriter write = writer ? writer : [](const TBitmap& sheet, QIODevice& device) {
        WriteSheetPng(sheet.Image(), device);
    };

    std::vector<TSheetJob> jobs;
    for (int n = 1; n <= sheets; ++n) {
        const qsizetype first = qsizetype(n - 1) * Sheet::CellsPerSheet;
        jobs.push_back({SheetName(folder, stamp, n), first, false});
        if (references)
            jobs.push_back({SheetName(folder, stamp, n, true), first, true});
    }
    // Each drawing is laid out once, or twice with references: reported as drawings.
    const int cells = int(thumbnails.size()) * (references ? 2 : 1);
    std::atomic<int> placed{0};
    const auto cellOf = [&](const TSheetJob& job, qsizetype cell) {
        const TFinishedDrawing& drawing = thumbnails[job.First + cell];
        QImage image = job.Reference ? ReferenceCell(drawing.Reference()) : drawing.Decoded();
        const int now = ++placed;
        if (progress)
            progress(int(qint64(now) * thumbnails.size() / cells), int(thumbnails.size()));
        return image;
    };
    const auto compose = [&](const TSheetJob& job, TBitmap& bitmap) {
        ComposeCells(thumbnails.size() - job.First, bitmap,
                     [&](qsizetype cell) { return cellOf(job, cell); });
    };

    // Every sheet goes to its temporary file first; only when all are written do they take
    // their names, so a failed save leaves no sheet of its own and a retry writes no duplicate.
    // The next sheet is composed while the last one is deflated: two bitmaps take turns.
    std::vector<std::unique_ptr<TPendingFile>> pending;
    TBitmap bitmaps[2]; // sized when first composed: a one-sheet save needs only one
    compose(jobs[0], bitmaps[0]);
    // A thread of its own, not the pool's: composing spreads its cells over the pool and waits
    // for them, which a pool thread must not do.
    std::future<void> next;
    const auto waitForNext = [&next] {
        if (next.valid())
            next.get();
    };
    try {
        for (size_t k = 0; k < jobs.size(); ++k) {
            waitForNext();
            if (k + 1 < jobs.size())
                next = std::async(std::launch::async, [&, k] { compose(jobs[k + 1], bitmaps[(k + 1) % 2]); });
            pending.push_back(std::make_unique<TPendingFile>(jobs[k].Name));
            write(bitmaps[k % 2], pending.back()->Device());
            pending.back()->Finish();
        }
    } catch (...) {
        if (next.valid())
            next.wait();
        throw;
    }

    // Another program saving into the folder in the same second may take a name between the
    // look and the rename, which never replaces: then the whole save moves on to the next free
    // second, the sheets already renamed included. On any other failure nothing of the save
    // stays.
    QString taken = stamp;
    for (int attempt = 0;; ++attempt) {
        QStringList written;
        try {
            for (const auto& file : pending) {
                file->Commit(TOverwrite::Never);
                written << file->FileName();
            }
            SyncFolder(folder, written.last());
            TSavedSheets saved{taken.chopped(1), written, {}, QFileInfo(written.first()).absolutePath(), now};
            saved.Places.reserve(thumbnails.size());
            for (qsizetype i = 0; i < thumbnails.size(); ++i)
                saved.Places << PlaceOf(i);
            return saved;
        } catch (const EFileExists&) {
            if (attempt >= 60)
                throw;
            const QDateTime after =
                QDateTime::fromString(taken, QStringLiteral("yyyyMMdd_HHmmss_")).addSecs(1);
            taken = FreeStamp(folder, after, sheets, references);
            for (size_t k = 0; k < jobs.size(); ++k)
                pending[k]->Retarget(SheetName(folder, taken, int(jobs[k].First / Sheet::CellsPerSheet) + 1,
                                               jobs[k].Reference));
        } catch (...) {
            for (const QString& name : std::as_const(written))
                ::unlink(QFile::encodeName(name).constData());
            throw;
        }
    }
}
