// The window's hot paths, each beside a baseline measured in the same run:
// - a pointer move on the 667-pixel canvas with its repaint (one segment, its rectangle only),
//   against the same move followed by a repaint of the whole canvas;
// - start-up to the first shown window, against an empty window of the same size.
#include "app/Application.h"
#include "app/MainUnit.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

namespace {
std::map<std::string, double> gMedians;

void Send(QWidget* canvas, QEvent::Type type, QPointF at, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, canvas->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &event);
}

void Moves(benchmark::State& state, bool wholeCanvas)
{
    TMainForm form;
    form.show();
    QCoreApplication::processEvents();
    QWidget* canvas = form.findChild<QWidget*>("PaintImage");
    Send(canvas, QEvent::MouseButtonPress, QPointF(100, 100), Qt::LeftButton);
    int i = 0;
    for (auto _ : state) {
        // A zigzag of short segments, as a quick hand makes them.
        const QPointF at(100 + (i * 3) % 460, 100 + (i % 2) * 12 + (i / 150) % 400);
        Send(canvas, QEvent::MouseMove, at, Qt::LeftButton);
        if (wholeCanvas)
            canvas->update();
        QCoreApplication::processEvents(); // the repaint happens here
        ++i;
    }
    Send(canvas, QEvent::MouseButtonRelease, QPointF(100, 100), Qt::NoButton);
    state.counters["events_per_s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_MoveRepaintSegment(benchmark::State& state)
{
    Moves(state, false);
}
void BM_MoveRepaintWholeCanvas(benchmark::State& state)
{
    Moves(state, true);
}

void ShowAndWait(QWidget& window)
{
    window.show();
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents(); // the first paint
}

void BM_StartUpMainForm(benchmark::State& state)
{
    for (auto _ : state) {
        TMainForm form;
        ShowAndWait(form);
    }
}

void BM_StartUpEmptyWindow(benchmark::State& state)
{
    for (auto _ : state) {
        QWidget window;
        window.resize(668, 727);
        ShowAndWait(window);
    }
}

BENCHMARK(BM_MoveRepaintSegment)->Repetitions(5)->ReportAggregatesOnly(true)->MinTime(0.5);
BENCHMARK(BM_MoveRepaintWholeCanvas)->Repetitions(5)->ReportAggregatesOnly(true)->MinTime(0.5);
BENCHMARK(BM_StartUpMainForm)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUpEmptyWindow)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

class TMedianReporter final : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.aggregate_name == "median")
                gMedians[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication::PrepareStart();
    TApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TMedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double segment = gMedians["BM_MoveRepaintSegment"];
    const double whole = gMedians["BM_MoveRepaintWholeCanvas"];
    const double form = gMedians["BM_StartUpMainForm"];
    const double empty = gMedians["BM_StartUpEmptyWindow"];
    if (segment > 0 && whole > 0)
        std::printf("\npointer move with repaint (median): %.0f events/s, whole-canvas repaint %.0f "
                    "events/s: %.1fx\n",
                    1e9 / segment, 1e9 / whole, whole / segment);
    if (form > 0 && empty > 0)
        std::printf("start-up to the first shown window (median): %.1f ms, empty window %.1f ms: %.2fx\n",
                    form, empty, form / empty);
    return 0;
}
