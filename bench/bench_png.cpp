// Writing a full result sheet of 64 sketches: our sheet writer against Qt's default PNG writer,
// side by side in one run; ours also composed from the stored form of the thumbnails, as a save
// does it.
#include "SketchSupport.h"
#include "export/ResultSheets.h"
#include "raster/PngWriter.h"
#include "raster/SheetPng.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageWriter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

namespace {
const TBitmap& Sheet64()
{
    static const TBitmap sheet = [] {
        TBitmap b;
        ComposeSheet(SketchDrawings(64), 0, b);
        return b;
    }();
    return sheet;
}

std::map<std::string, double> gSeconds;
std::map<std::string, double> gBytes;

void Record(benchmark::State& state, const char* name, qint64 bytes)
{
    state.counters["file_KiB"] = double(bytes) / 1024;
    gBytes[name] = double(bytes);
}

// Composing from the stored form, as a save does: the thumbnails are decoded on the way.
void BM_Compose(benchmark::State& state)
{
    const QList<TFinishedDrawing> thumbs = SketchDrawings(64);
    TBitmap sheet(4096, 4096);
    for (auto _ : state)
        ComposeSheet(thumbs, 0, sheet);
}

// Encodes the sheet into memory with `write` and records the file size.
template <typename Write> void EncodeSheet(benchmark::State& state, const char* name, Write write)
{
    const TBitmap& sheet = Sheet64();
    qint64 size = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        write(sheet.Image(), buffer);
        size = buffer.size();
    }
    Record(state, name, size);
}

void BM_OurSheetWriter(benchmark::State& state)
{
    EncodeSheet(state, "ours", [](const QImage& image, QBuffer& buffer) { WriteSheetPng(image, buffer); });
}

// The single-threaded libpng writer, which wrote sheets before.
void BM_OurLibpngWriter(benchmark::State& state)
{
    EncodeSheet(state, "libpng", [](const QImage& image, QBuffer& buffer) { WritePng(image, buffer); });
}

// What a save does for one sheet: compose it from the stored thumbnails, then encode it.
void BM_ComposeAndWrite(benchmark::State& state)
{
    const QList<TFinishedDrawing> drawings = SketchDrawings(64);
    TBitmap sheet(4096, 4096);
    for (auto _ : state) {
        ComposeSheet(drawings, 0, sheet);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        WriteSheetPng(sheet.Image(), buffer);
    }
}

void BM_QtDefaultPngWriter(benchmark::State& state)
{
    EncodeSheet(state, "qt",
                [](const QImage& image, QBuffer& buffer) { QImageWriter(&buffer, "png").write(image); });
}

// The whole save as the program does it: a temporary file, fsync, and the rename.
void BM_OurSaveToFile(benchmark::State& state)
{
    const TBitmap& sheet = Sheet64();
    QTemporaryDir dir;
    int n = 0;
    for (auto _ : state)
        sheet.SaveToFile(dir.filePath(QStringLiteral("sheet%1.png").arg(n++)), TOverwrite::Never);
}

BENCHMARK(BM_Compose)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OurSheetWriter)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_ComposeAndWrite)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_OurLibpngWriter)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_QtDefaultPngWriter)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_OurSaveToFile)->Unit(benchmark::kMillisecond);

class TRatioReporter final : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            gSeconds[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv); // fonts for the stamps
    benchmark::Initialize(&argc, argv);
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double ours = gSeconds["BM_OurSheetWriter/min_time:2.000"];
    const double whole = gSeconds["BM_ComposeAndWrite/min_time:2.000"];
    const double libpng = gSeconds["BM_OurLibpngWriter/min_time:2.000"];
    const double qt = gSeconds["BM_QtDefaultPngWriter/min_time:2.000"];
    if (ours > 0 && qt > 0 && whole > 0 && libpng > 0)
        std::printf(
            "\nsheet PNG: ours %.1f ms (%.1fx faster than Qt's %.1f ms; libpng alone %.1f ms, %.1fx);\n"
            "composed from stored thumbnails and written: %.1f ms, %.1fx faster than Qt's writer alone;\n"
            "files: ours %.0f KiB, libpng %.0f KiB, Qt %.0f KiB\n",
            ours, qt / ours, qt, libpng, qt / libpng, whole, qt / whole, gBytes["ours"] / 1024,
            gBytes["libpng"] / 1024, gBytes["qt"] / 1024);
    return 0;
}
