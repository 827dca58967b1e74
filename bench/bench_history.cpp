// The practice record at ten years of daily practice (3,650 practices, 365,000 drawings), in a
// database the benchmark makes: opening it for the record window (totals, the calendar and the
// list of practices), and recording one more practice.
#include "history/Database.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
constexpr int kPractices = 3650;
constexpr int kDrawings = 100;
const QDate kToday(2026, 12, 10);

TPracticeRecord Practice(int day)
{
    TPracticeRecord p;
    p.SavedUtc = QDateTime(kToday.addDays(-day), QTime(20, 0), Qt::UTC);
    p.StartedUtc = p.SavedUtc.addSecs(-1800);
    p.Drawings = kDrawings;
    p.TotalMs = 1500000;
    p.Plan = QStringLiteral("10x30s,5x1m,3x2m,2x5m");
    p.ReferenceFolder = QStringLiteral("/home/u/refs");
    p.ResultFolder = QStringLiteral("/home/u/result");
    p.Stamp = p.SavedUtc.toString(QStringLiteral("yyyyMMdd_HHmmss"));
    for (int i = 0; i < kDrawings; ++i)
        p.DrawingRows.append(
            {i + 1, 30000, 30000, QStringLiteral("/home/u/refs/%1.jpg").arg(i), i / 64 + 1, i % 64});
    return p;
}

const QString& TenYears()
{
    static QTemporaryDir dir;
    static const QString file = [] {
        const QString path = dir.filePath(QStringLiteral("history.sqlite"));
        THistoryDatabase db(path);
        for (int day = kPractices; day > 0; --day) {
            TPracticeRecord p = Practice(day);
            db.Record(p);
        }
        return path;
    }();
    return file;
}

void OpenTheWindow(benchmark::State& state)
{
    const QString& file = TenYears();
    qsizetype practices = 0;
    for (auto _ : state) {
        THistoryDatabase db(file); // a new connection each time, as at the window's first opening
        const THistorySummary summary = db.Summary(kToday);
        practices = summary.Practices.size();
        benchmark::DoNotOptimize(summary);
    }
    state.counters["practices"] = double(practices);
}
BENCHMARK(OpenTheWindow)->Unit(benchmark::kMillisecond);

void RecordAPractice(benchmark::State& state)
{
    THistoryDatabase db(TenYears());
    for (auto _ : state) {
        TPracticeRecord p = Practice(0);
        db.Record(p);
    }
}
BENCHMARK(RecordAPractice)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
