// The review's automatic fit of one pair: a 512-pixel drawing made of a photo-like reference's
// outlines (a gradient, shapes, mild noise), shifted and scaled, laid back on the reference.
#include "review/Fit.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {
constexpr int kSide = 512;

QPainterPath Shapes()
{
    QPainterPath path;
    path.addEllipse(QPointF(200, 220), 110, 80);
    path.addRoundedRect(QRectF(300, 260, 150, 190), 30, 30);
    path.addEllipse(QPointF(150, 380), 50, 60);
    return path;
}

QImage PhotoLike()
{
    QImage image(kSide, kSide, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, kSide, kSide);
    sky.setColorAt(0, QColor(70, 110, 170));
    sky.setColorAt(1, QColor(210, 190, 150));
    painter.fillRect(image.rect(), sky);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient body(QPointF(220, 260), 260);
    body.setColorAt(0, QColor(150, 70, 50));
    body.setColorAt(1, QColor(60, 30, 20));
    painter.fillPath(Shapes(), body);
    painter.end();
    QRandomGenerator noise(7);
    for (int y = 0; y < kSide; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kSide; ++x) {
            const int n = int(noise.bounded(13)) - 6;
            const QRgb p = row[x];
            row[x] = qRgb(qBound(0, qRed(p) + n, 255), qBound(0, qGreen(p) + n, 255),
                          qBound(0, qBlue(p) + n, 255));
        }
    }
    return image;
}

QImage OutlineDrawing()
{
    QImage image(kSide, kSide, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QTransform frame;
    frame.translate(kSide / 2.0 + 45, kSide / 2.0 - 30);
    frame.scale(0.85, 0.85);
    frame.translate(-kSide / 2.0, -kSide / 2.0);
    painter.setPen(QPen(Qt::black, 0));
    painter.drawPath(frame.map(Shapes()));
    return image;
}

void FitOnePair(benchmark::State& state)
{
    const QImage reference = PhotoLike();
    const QImage drawing = OutlineDrawing();
    TFitResult fit;
    for (auto _ : state) {
        fit = FitDrawing(drawing, reference);
        benchmark::DoNotOptimize(fit);
    }
    state.counters["found"] = fit.Found;
    state.counters["scale"] = fit.Frame.Scale; // 1 / 0.85 = 1.176 is the frame's inverse
    state.counters["mean_px"] = fit.MeanDistance;
}
BENCHMARK(FitOnePair)->Unit(benchmark::kMillisecond)->MinTime(2);
} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
