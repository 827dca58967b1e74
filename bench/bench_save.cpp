// A whole save of 130 drawings (three result sheets, with and without their reference sheets)
// as the program does it, against the same save done one sheet after another on one core.
#include "SketchSupport.h"
#include "export/ResultSheets.h"
#include "raster/PngWriter.h"
#include "raster/SheetPng.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QThreadPool>
#include <benchmark/benchmark.h>
#include <sched.h>

namespace {
QList<TFinishedDrawing> Drawings(bool references)
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
    QList<TFinishedDrawing> drawings = SketchDrawings(130);
    if (references)
        for (int i = 0; i < drawings.size(); ++i)
            drawings[i].SetReference(
                {photos.filePath(QString("photo%1.jpg").arg(i % 8)), i % 3 == 0, i % 5 == 0});
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

void Save(benchmark::State& state, bool references, bool oneCore, bool runLength = false)
{
    const QList<TFinishedDrawing> drawings = Drawings(references);
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
    Save(state, false, false);
}
void BM_Save130OneCore(benchmark::State& state)
{
    Save(state, false, true);
}
void BM_Save130WithReferences(benchmark::State& state)
{
    Save(state, true, false);
}
void BM_Save130WithReferencesRunLength(benchmark::State& state)
{
    Save(state, true, false, true);
}
void BM_Save130WithReferencesOneCore(benchmark::State& state)
{
    Save(state, true, true);
}

BENCHMARK(BM_Save130)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_Save130OneCore)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_Save130WithReferences)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_Save130WithReferencesRunLength)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_Save130WithReferencesOneCore)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
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
