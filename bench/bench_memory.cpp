// Memory kept per finished drawing: 500 drawings finished through the window, each a stroke and
// "Next", and the growth of the process's resident memory divided by 500.
#include "app/MainUnit.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <unistd.h>

namespace {
double ResidentKiB()
{
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / 1024;
}

void Send(QWidget* canvas, QEvent::Type type, QPointF at, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, canvas->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &event);
}

void BM_FinishDrawings(benchmark::State& state)
{
    const int drawings = int(state.range(0));
    for (auto _ : state) {
        TMainForm form;
        form.show();
        QCoreApplication::processEvents();
        QWidget* canvas = form.findChild<QWidget*>("PaintImage");
        QPushButton* next = form.findChild<QPushButton*>("Next");
        const double before = ResidentKiB();
        for (int i = 0; i < drawings; ++i) {
            Send(canvas, QEvent::MouseButtonPress, QPointF(50, 50 + i % 500), Qt::LeftButton);
            Send(canvas, QEvent::MouseMove, QPointF(600, 100 + i % 500), Qt::LeftButton);
            Send(canvas, QEvent::MouseButtonRelease, QPointF(600, 100 + i % 500), Qt::NoButton);
            next->click();
        }
        QCoreApplication::processEvents();
        const double after = ResidentKiB();
        state.counters["drawings"] = double(form.Thumbnails().size());
        state.counters["KiB_per_drawing"] = (after - before) / drawings;
        state.counters["MiB_per_drawing"] = (after - before) / drawings / 1024;
    }
}
BENCHMARK(BM_FinishDrawings)->Arg(500)->Iterations(1)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The journal this writes is a benchmark's, not the user's.
    QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
