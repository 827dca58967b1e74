// A whole save of 130 drawings (three result sheets, with and without their reference sheets)
// as the program does it, against the same save done one sheet after another on one core, and
// against the save before drawings kept their references as seen (each reference read again
// from its file, every sheet deflated run-length). And 300 drawings made from 12000 × 9000
// photographs, with and without the kept copies.
#include "SketchSupport.h"
#include "export/ResultSheets.h"
#include "raster/PngWriter.h"
#include "raster/SheetPng.h"
#include "references/ReferenceImage.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QThreadPool>
#include <benchmark/benchmark.h>
#include <sched.h>

namespace {
enum class TReferences
{
    None,
    Kept,      // as the program makes them now: the picture as seen goes with the drawing
    FromFiles, // links alone, so the save reads every reference again
};

QString Photos(bool large)
{
    static QTemporaryDir photos;
    static const bool made = [] {
        for (int i = 0; i < 8; ++i) {
            QImage photo(1600, 1200, QImage::Format_RGB32);
            for (int y = 0; y < photo.height(); ++y)
                for (int x = 0; x < photo.width(); ++x)
                    photo.setPixel(x, y, qRgb((x / 7 + 30 * i) & 255, (y / 5) & 255, ((x + y) / 9) & 255));
            photo.save(photos.filePath(QString("photo%1.jpg").arg(i)), "jpg", 90);
        }
        return true;
    }();
    Q_UNUSED(made);
    if (large && !QFileInfo::exists(photos.filePath("large.jpg"))) {
        QImage photo(12000, 9000, QImage::Format_RGB32);
        for (int y = 0; y < photo.height(); ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
            for (int x = 0; x < photo.width(); ++x)
                row[x] = qRgb((x / 40) & 255, (y / 30) & 255, ((x + y) / 60) & 255);
        }
        photo.save(photos.filePath("large.jpg"), "jpg", 90);
    }
    return photos.path();
}

QList<TFinishedDrawing> Drawings(TReferences references, int count = 130, bool large = false)
{
    const QString photos = Photos(large);
    QList<TFinishedDrawing> drawings = SketchDrawings(count);
    if (references == TReferences::None)
        return drawings;
    for (int i = 0; i < drawings.size(); ++i) {
        TReferenceLink link{photos + (large ? QString("/large.jpg") : QString("/photo%1.jpg").arg(i % 8)),
                            i % 3 == 0, i % 5 == 0};
        if (references == TReferences::Kept)
            link.Shown = ReferenceLink::EncodeShown(
                ViewOfReference(ReadReference(link.Path, QSize(512, 512)), {link.Grey, link.Mirror}), false);
        drawings[i].SetReference(link);
    }
    return drawings;
}

// Pins every thread of the process, the pools' included, to the first core, or gives them back
// the cores they had at the start.
void UseOneCore(bool one)
{
    static const cpu_set_t all = [] {
        cpu_set_t set;
        sched_getaffinity(0, sizeof set, &set);
        return set;
    }();
    cpu_set_t set = all;
    if (one) {
        CPU_ZERO(&set);
        CPU_SET(0, &set);
    }
    for (const QString& task : QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        sched_setaffinity(task.toInt(), sizeof set, &set);
}

void Save(benchmark::State& state, const QList<TFinishedDrawing>& drawings, bool oneCore,
          bool runLength = false)
{
    // In memory where the machine has it: the figures are of the work, not of the disk's fsync.
    QTemporaryDir dir(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/tenarai-bench-XXXXXX")
                                                : QString());
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QDateTime when(QDate(2026, 1, 1), QTime(0, 0, 0));
    // One core, one sheet after another: libpng's writer, and every pool held to one thread.
    const TSheetWriter serial = [](const TBitmap& sheet, QIODevice& device) {
        WritePng(sheet.Image(), device);
    };
    const int threads = QThreadPool::globalInstance()->maxThreadCount();
    if (oneCore) {
        QThreadPool::globalInstance()->setMaxThreadCount(1);
        UseOneCore(true);
    }
    int files = 0;
    for (auto _ : state) {
        // The writer before ISA-L: every sheet run-length, on all cores.
        const TSheetWriter before = [](const TBitmap& sheet, QIODevice& device) {
            WriteSheetPng(sheet.Image(), device, 0, SheetPng::TCodec::RunLength);
        };
        files = int(SaveResultSheets(drawings, when,
                                     oneCore     ? serial
                                     : runLength ? before
                                                 : TSheetWriter())
                        .size());
        when = when.addSecs(1);
    }
    if (oneCore) {
        UseOneCore(false);
        QThreadPool::globalInstance()->setMaxThreadCount(threads);
    }
    state.counters["files"] = files;
    QDir::setCurrent(old);
}

void BM_Save130(benchmark::State& state)
{
    Save(state, Drawings(TReferences::None), false);
}
void BM_Save130OneCore(benchmark::State& state)
{
    Save(state, Drawings(TReferences::None), true);
}
void BM_Save130WithReferences(benchmark::State& state)
{
    Save(state, Drawings(TReferences::Kept), false);
}
// The save with references as it was before: read from the files, written run-length.
void BM_Save130WithReferencesBefore(benchmark::State& state)
{
    Save(state, Drawings(TReferences::FromFiles), false, true);
}
void BM_Save130WithReferencesOneCore(benchmark::State& state)
{
    Save(state, Drawings(TReferences::Kept), true);
}
void BM_Save300LargeReferences(benchmark::State& state)
{
    Save(state, Drawings(TReferences::Kept, 300, true), false);
}
void BM_Save300LargeReferencesBefore(benchmark::State& state)
{
    Save(state, Drawings(TReferences::FromFiles, 300, true), false, true);
}

BENCHMARK(BM_Save130)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_Save130OneCore)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_Save130WithReferences)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_Save130WithReferencesBefore)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_Save130WithReferencesOneCore)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_Save300LargeReferences)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_Save300LargeReferencesBefore)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1);
} // namespace

int main(int argc, char** argv)
{
    UseOneCore(false); // notes the cores the process may use
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts for the stamps
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
