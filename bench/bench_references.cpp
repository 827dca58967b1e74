// References: how soon the first reference shows for a folder of 40,000 images, and the time from
// "Next" to the next reference on screen for a folder of 24-megapixel photos, with and without
// decoding ahead, side by side in one run.
#include "references/ReferenceImage.h"
#include "references/ReferenceDeck.h"
#include "references/ReferenceSession.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <unistd.h>

namespace {
// Waits for the session to show an image and returns how long that took, in milliseconds.
double WaitForShown(TReferenceSession& session, const std::function<void()>& start)
{
    QEventLoop loop;
    QElapsedTimer clock;
    const auto connection = QObject::connect(&session, &TReferenceSession::Shown, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    clock.start();
    start();
    loop.exec();
    QObject::disconnect(connection);
    return double(clock.nsecsElapsed()) / 1e6;
}

void Pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QString ManyImages()
{
    static QTemporaryDir dir;
    static const bool made = [] {
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(Qt::gray);
        const QString first = dir.filePath("00000.png");
        image.save(first);
        // Links to one file: 40,000 readable images made in a moment.
        for (int i = 1; i < 40000; ++i)
            if (::link(QFile::encodeName(first).constData(),
                       QFile::encodeName(dir.filePath(QString("%1.png").arg(i, 5, 10, QLatin1Char('0'))))
                           .constData()) != 0)
                return false;
        return true;
    }();
    Q_UNUSED(made);
    return dir.path();
}

QString LargePhotos()
{
    static QTemporaryDir dir;
    static const bool made = [] {
        QRandomGenerator random(5);
        for (int n = 0; n < 4; ++n) {
            QImage photo(6000, 4000, QImage::Format_RGB32);
            // Smooth colour with noise: a photo's worth of detail for the decoder.
            for (int y = 0; y < photo.height(); ++y) {
                auto* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
                for (int x = 0; x < photo.width(); ++x) {
                    const int noise = int(random.bounded(40));
                    row[x] =
                        qRgb((x / 24 + noise + 60 * n) & 255, (y / 16 + noise) & 255, (x + y) / 40 & 255);
                }
            }
            photo.save(dir.filePath(QString("photo%1.jpg").arg(n)), "jpg", 90);
        }
        return true;
    }();
    Q_UNUSED(made);
    return dir.path();
}

void BM_FirstReferenceOf40000(benchmark::State& state)
{
    const QString folder = ManyImages();
    for (auto _ : state) {
        std::unique_ptr<TReferenceSession> session;
        const double ms = WaitForShown(*(session = std::make_unique<TReferenceSession>(folder)), [] {});
        state.SetIterationTime(ms / 1000);
        state.counters["first_reference_ms"] = ms;
    }
}

// "Next" while the user has been drawing for a while (1.5 s), at a 1000 × 1000 view.
void NextToShown(benchmark::State& state, bool readAhead)
{
    const QString folder = LargePhotos();
    for (auto _ : state) {
        TReferenceSession session(folder, 11);
        session.SetBox({1000, 1000});
        session.SetReadAhead(readAhead);
        WaitForShown(session, [] {});
        double total = 0;
        const int moves = 6;
        for (int i = 0; i < moves; ++i) {
            Pause(1500);
            total += WaitForShown(session, [&] { session.Next(); });
        }
        state.SetIterationTime(total / moves / 1000);
        state.counters["next_to_shown_ms"] = total / moves;
    }
}

void BM_NextWithReadAhead(benchmark::State& state)
{
    NextToShown(state, true);
}
void BM_NextWithoutReadAhead(benchmark::State& state)
{
    NextToShown(state, false);
}

// One 24-megapixel photo decoded at the shown size against decoded whole.
void BM_DecodeAtShownSize(benchmark::State& state)
{
    const QString photo = LargePhotos() + "/photo0.jpg";
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadReference(photo, {1000, 1000}));
}
void BM_DecodeWhole(benchmark::State& state)
{
    const QString photo = LargePhotos() + "/photo0.jpg";
    for (auto _ : state)
        benchmark::DoNotOptimize(QImage(photo));
}

// A folder of 300,000 images as the scan hands them to the deck, a few thousand at a time, each
// batch on the user-interface thread: the longest of those stalls, and a round of Next after.
void BM_DeckOf300000(benchmark::State& state)
{
    constexpr int images = 300000;
    constexpr int batchSize = 5000;
    QStringList names;
    for (int i = 0; i < images; ++i)
        names << QStringLiteral("/refs/folder%1/image%2.jpg").arg(i / 1000).arg(i);
    double longestMs = 0;
    for (auto _ : state) {
        TReferenceDeck deck(3);
        QElapsedTimer whole;
        whole.start();
        for (int first = 0; first < images; first += batchSize) {
            QElapsedTimer batch;
            batch.start();
            deck.Add(names.mid(first, batchSize));
            deck.Upcoming(); // the session asks after every batch
            longestMs = qMax(longestMs, batch.nsecsElapsed() / 1e6);
        }
        for (int i = 0; i < 1000; ++i)
            benchmark::DoNotOptimize(deck.Next());
        state.SetIterationTime(whole.nsecsElapsed() / 1e9);
    }
    state.counters["longest_batch_ms"] = longestMs;
}

BENCHMARK(BM_DeckOf300000)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstReferenceOf40000)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NextWithReadAhead)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NextWithoutReadAhead)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeAtShownSize)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeWhole)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
