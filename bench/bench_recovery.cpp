// Start-up with a practice of 3,000 drawings left in the crash journal: the longest time the
// window's thread goes without handling its events, from the start of recovery until the
// practice is back on the window (the offer answered Yes at once), with the journal read on a
// worker, against the same recovery done on the window's thread as it was before.
#include "SketchSupport.h"
#include "StallSupport.h"
#include "app/Application.h"
#include "app/DialogService.h"
#include "app/JournalKeeper.h"
#include "app/MainUnit.h"
#include "journal/Journal.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
constexpr int kDrawings = 3000;

// Leaves the journal of a program that finished 3,000 drawings and was killed.
void LeaveJournal()
{
    static const QList<TFinishedDrawing> sketches = SketchDrawings(100);
    TJournal journal(Journal::DefaultRoot());
    for (int i = 0; i < kDrawings; ++i)
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
                return onWorker ? !form->IsRecovering() && form->Thumbnails().size() == kDrawings : over;
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
