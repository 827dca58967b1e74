// The longest time the window's thread goes without handling its events, where the program
// has much to do at once:
// - start-up with a practice of 3,000 drawings left in the crash journal, from the start of
//   recovery until the practice is back on the window (the offer answered Yes at once), with
//   the journal read on a worker, against the same recovery done on the window's thread as it
//   was before;
// - a save of 300 drawings made from 12000 × 9000 photographs, as the window runs it, from
//   "結果を保存" until the practice is empty again, against the save as it was: on the
//   window's thread, every reference read again from its file, every sheet deflated
//   run-length; there the stall is the whole save.
#include "SketchSupport.h"
#include "app/Application.h"
#include "app/DialogService.h"
#include "app/recovery/JournalKeeper.h"
#include "app/MainUnit.h"
#include "export/ResultSheets.h"
#include "journal/Journal.h"
#include "raster/SheetPng.h"
#include "references/ReferenceImage.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <functional>
#include <map>

namespace {
// Answers every question Yes and shows nothing, so a benchmark never waits on a person.
class TSayYes final : public TDialogService
{
public:
    TModalResult Ask(const QString&, TMsgDlgType, TMsgDlgButtons, TMsgDlgBtn, int) override { return mrYes; }
    void ShowMessage(const QString&) override {}
    void ShowError(const QString&) override {}
};

// The longest gap between two turns of the event loop while `work` runs and until `done`.
double LongestStallMs(const std::function<void()>& work, const std::function<bool()>& done)
{
    QElapsedTimer since;
    double longest = 0;
    QTimer tick;
    tick.setInterval(0);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, since.nsecsElapsed() / 1e6);
        since.restart();
    });
    since.start();
    tick.start();
    QTimer::singleShot(0, work);
    QElapsedTimer deadline;
    deadline.start();
    while ((!done() || deadline.elapsed() < 50) && deadline.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return std::max(longest, since.nsecsElapsed() / 1e6);
}

constexpr int kJournalled = 3000;

// Leaves the journal of a program that finished 3,000 drawings and was killed.
void LeaveJournal()
{
    static const QList<TFinishedDrawing> sketches = SketchDrawings(100);
    TJournal journal(Journal::DefaultRoot());
    for (int i = 0; i < kJournalled; ++i)
        journal.Append(sketches[i % sketches.size()]);
    journal.WaitForWrites();
}

void Recover(benchmark::State& state, bool onWorker)
{
    QTemporaryDir states(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/tenarai-bench-XXXXXX")
                                                   : QString());
    qputenv("XDG_STATE_HOME", states.path().toLocal8Bit());
    ReplaceDialogService(std::make_unique<TSayYes>());
    double stall = 0;
    qsizetype restored = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QDir(Journal::DefaultRoot()).removeRecursively();
        LeaveJournal();
        auto form = std::make_unique<TMainForm>();
        form->show();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        bool over = false;
        stall = LongestStallMs(
            [&] {
                if (onWorker) {
                    form->RecoverPractice();
                    return;
                }
                // As before: every journal read, and the drawer filled, on this thread.
                std::vector<TStaleJournal> stale = FindStaleJournals(Journal::DefaultRoot());
                TRecoveredPractice practice = stale.front().Read();
                practice.ListImages.clear();
                emit form->findChild<TJournalKeeper*>("JournalKeeper")->RestoreRequested(practice);
                over = true;
            },
            [&] {
                return onWorker ? !form->IsRecovering() && form->Thumbnails().size() == kJournalled : over;
            });
        restored = form->Thumbnails().size();
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
    state.counters["longest_stall_ms"] = stall;
    state.counters["drawings"] = double(restored);
    ReplaceDialogService(nullptr);
}

void BM_Recover3000(benchmark::State& state)
{
    Recover(state, true);
}
void BM_Recover3000OnTheWindowThread(benchmark::State& state)
{
    Recover(state, false);
}
BENCHMARK(BM_Recover3000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Recover3000OnTheWindowThread)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

constexpr int kSaved = 300;

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
    for (int i = 0; i < kSaved; ++i) {
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
