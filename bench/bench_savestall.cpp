// A save of 300 drawings made from 12000 × 9000 photographs, as the window runs it: the longest
// time the window's thread goes without handling its events, from "結果を保存" until the
// practice is empty again. Against the save as it was: on the window's thread, every reference
// read again from its file, every sheet deflated run-length; there the stall is the whole save.
#include "SketchSupport.h"
#include "StallSupport.h"
#include "app/Application.h"
#include "app/JournalKeeper.h"
#include "app/MainUnit.h"
#include "export/ResultSheets.h"
#include "journal/Journal.h"
#include "raster/SheetPng.h"
#include "references/ReferenceImage.h"

#include <QAction>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>

namespace {
constexpr int kDrawings = 300;

QString LargePhoto()
{
    static QTemporaryDir folder;
    static const QString path = [] {
        QImage photo(12000, 9000, QImage::Format_RGB32);
        for (int y = 0; y < photo.height(); ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
            for (int x = 0; x < photo.width(); ++x)
                row[x] = qRgb((x / 40) & 255, (y / 30) & 255, ((x + y) / 60) & 255);
        }
        const QString name = folder.filePath("large.jpg");
        photo.save(name, "jpg", 90);
        return name;
    }();
    return path;
}

// The drawings, each linked to the photograph; with the copy as seen that the program keeps
// now, or with the link alone, as before.
QList<TFinishedDrawing> Drawings(bool kept)
{
    static const QList<TFinishedDrawing> sketches = SketchDrawings(100);
    std::map<int, QByteArray> shown; // one copy for each view: the photograph is one file
    QList<TFinishedDrawing> drawings;
    for (int i = 0; i < kDrawings; ++i) {
        TFinishedDrawing drawing = sketches[i % sketches.size()];
        TReferenceLink link{LargePhoto(), i % 3 == 0, i % 5 == 0};
        const int view = int(link.Grey) * 2 + int(link.Mirror);
        if (kept && !shown.count(view))
            shown[view] = ReferenceLink::EncodeShown(
                ViewOfReference(ReadReference(link.Path, QSize(512, 512)), {link.Grey, link.Mirror}), false);
        if (kept)
            link.Shown = shown[view];
        drawing.SetReference(link);
        drawings << drawing;
    }
    return drawings;
}

void InFolders(benchmark::State& state, const std::function<void(double& stall)>& run)
{
    QTemporaryDir dir(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/tenarai-bench-XXXXXX")
                                                : QString());
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    qputenv("XDG_STATE_HOME", dir.filePath("state").toLocal8Bit());
    qputenv("XDG_DATA_HOME", dir.filePath("data").toLocal8Bit());
    ReplaceDialogService(std::make_unique<TSayYes>());
    double stall = 0;
    run(stall);
    state.counters["longest_stall_ms"] = stall;
    state.counters["sheets"] = double(QDir("result").entryList({"*.png"}).size());
    ReplaceDialogService(nullptr);
    QDir::setCurrent(old);
}

void BM_Save300LargeReferences(benchmark::State& state)
{
    const QList<TFinishedDrawing> drawings = Drawings(true);
    InFolders(state, [&](double& stall) {
        for (auto _ : state) {
            state.PauseTiming();
            auto form = std::make_unique<TMainForm>();
            form->show();
            TRecoveredPractice practice;
            practice.Drawings = drawings;
            emit form->findChild<TJournalKeeper*>("JournalKeeper")->RestoreRequested(practice);
            QCoreApplication::processEvents();
            state.ResumeTiming();
            stall =
                std::max(stall, LongestStallMs([&] { form->findChild<QAction*>("SaveCommand")->trigger(); },
                                               [&] { return form->Thumbnails().isEmpty(); }));
            state.PauseTiming();
            form.reset();
            state.ResumeTiming();
        }
    });
}

void BM_Save300LargeReferencesBefore(benchmark::State& state)
{
    const QList<TFinishedDrawing> drawings = Drawings(false);
    InFolders(state, [&](double& stall) {
        QDateTime when(QDate(2026, 1, 1), QTime(0, 0, 0));
        for (auto _ : state) {
            bool over = false;
            stall = std::max(
                stall, LongestStallMs(
                           [&] {
                               SaveResultSheets(drawings, when, [](const TBitmap& sheet, QIODevice& device) {
                                   WriteSheetPng(sheet.Image(), device, 0, SheetPng::TCodec::RunLength);
                               });
                               over = true;
                           },
                           [&] { return over; }));
            when = when.addSecs(1);
        }
    });
}
BENCHMARK(BM_Save300LargeReferences)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Save300LargeReferencesBefore)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication::PrepareStart();
    TApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
