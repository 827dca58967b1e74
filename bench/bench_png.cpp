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
#include <QPainter>
#include <QRandomGenerator>
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

// A reference sheet of 64 photograph-like cells: smooth gradients, soft shapes and mild noise,
// as photographs fitted into their cells are, and not the noise that no deflate can shrink.
const QImage& PhotoSheet()
{
    static const QImage sheet = [] {
        QImage image(4096, 4096, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        QRandomGenerator random(11);
        for (int cell = 0; cell < 64; ++cell) {
            const QRectF area((cell % 8) * 512.0 + 1, (cell / 8) * 512.0 + 60, 510, 390);
            QLinearGradient sky(area.topLeft(), area.bottomRight());
            sky.setColorAt(0, QColor::fromHsv(int(random.bounded(360)), 90, 220));
            sky.setColorAt(1, QColor::fromHsv(int(random.bounded(360)), 120, 90));
            painter.fillRect(area, sky);
            for (int shape = 0; shape < 4; ++shape) {
                const QPointF at(area.left() + random.bounded(500.0), area.top() + random.bounded(380.0));
                QRadialGradient body(at, 40 + random.bounded(120.0));
                body.setColorAt(0, QColor::fromHsv(int(random.bounded(360)), 150, 230));
                body.setColorAt(1, QColor::fromHsv(int(random.bounded(360)), 200, 60, 0));
                painter.setBrush(body);
                painter.setPen(Qt::NoPen);
                painter.drawEllipse(at, 40 + random.bounded(120.0), 30 + random.bounded(90.0));
            }
        }
        painter.end();
        for (int y = 0; y < image.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = row[x];
                if (p == 0xFFFFFFFFu)
                    continue;
                const int n = int(random.bounded(7)) - 3;
                row[x] = qRgb(qBound(0, qRed(p) + n, 255), qBound(0, qGreen(p) + n, 255),
                              qBound(0, qBlue(p) + n, 255));
            }
        }
        return image;
    }();
    return sheet;
}

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

// The sheet writer as it was before: zlib's run-length deflate, rows unfiltered.
void BM_RunLengthSheetWriter(benchmark::State& state)
{
    EncodeSheet(state, "run-length", [](const QImage& image, QBuffer& buffer) {
        WriteSheetPng(image, buffer, 0, SheetPng::TCodec::RunLength);
    });
}

// A reference sheet of photographs, by the writer as it is and as it was.
template <SheetPng::TCodec Codec> void BM_PhotoSheet(benchmark::State& state)
{
    const QImage& sheet = PhotoSheet();
    qint64 size = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        WriteSheetPng(sheet, buffer, 0, Codec);
        size = buffer.size();
    }
    Record(state, Codec == SheetPng::TCodec::Fast ? "photo fast" : "photo run-length", size);
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
BENCHMARK(BM_RunLengthSheetWriter)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_ComposeAndWrite)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_PhotoSheet<SheetPng::TCodec::Fast>)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_PhotoSheet<SheetPng::TCodec::RunLength>)->Unit(benchmark::kMillisecond)->MinTime(2);
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
    const double runLength = gSeconds["BM_RunLengthSheetWriter/min_time:2.000"];
    const double photoFast = gSeconds["BM_PhotoSheet<SheetPng::TCodec::Fast>/min_time:2.000"];
    const double photoRle = gSeconds["BM_PhotoSheet<SheetPng::TCodec::RunLength>/min_time:2.000"];
    if (runLength > 0 && photoFast > 0 && photoRle > 0)
        std::printf("\ngrey sheet: fast %.1f ms, %.0f KiB; run-length %.1f ms, %.0f KiB (%.1fx faster)\n"
                    "photo reference sheet: fast %.1f ms, %.0f KiB; run-length %.1f ms, %.0f KiB "
                    "(%.1fx faster, %.0f %% of the size)\n",
                    ours, gBytes["ours"] / 1024, runLength, gBytes["run-length"] / 1024, runLength / ours,
                    photoFast, gBytes["photo fast"] / 1024, photoRle, gBytes["photo run-length"] / 1024,
                    photoRle / photoFast, 100 * gBytes["photo fast"] / gBytes["photo run-length"]);
    if (ours > 0 && qt > 0 && whole > 0 && libpng > 0)
        std::printf(
            "\nsheet PNG: ours %.1f ms (%.1fx faster than Qt's %.1f ms; libpng alone %.1f ms, %.1fx);\n"
            "composed from stored thumbnails and written: %.1f ms, %.1fx faster than Qt's writer alone;\n"
            "files: ours %.0f KiB, libpng %.0f KiB, Qt %.0f KiB\n",
            ours, qt / ours, qt, libpng, qt / libpng, whole, qt / whole, gBytes["ours"] / 1024,
            gBytes["libpng"] / 1024, gBytes["qt"] / 1024);
    return 0;
}
