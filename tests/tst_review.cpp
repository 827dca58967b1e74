#include "TestSupport.h"
#include "review/Fit.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QPainterPath>
#include <QtTest>

namespace {
constexpr int kSide = 512;

// A silhouette: a five-pointed star and a disc beside it, about 60 % of the cell.
QPainterPath Silhouette()
{
    QPainterPath path;
    const QPointF centre(230, 250);
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 ? 60 : 140;
        const double a = M_PI / 2 + i * M_PI / 5;
        const QPointF p = centre + QPointF(r * std::cos(a), -r * std::sin(a));
        i ? path.lineTo(p) : path.moveTo(p);
    }
    path.closeSubpath();
    path.addEllipse(QPointF(370, 350), 45, 45);
    return path;
}

// The reference as shown: the silhouette in one colour on another.
QImage Reference(QColor ground, QColor figure)
{
    QImage image(kSide, kSide, QImage::Format_RGB32);
    image.fill(ground);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(Silhouette(), figure);
    return image;
}

// The silhouette's outline drawn as 1-pixel lines, moved by a known frame, on a thumbnail.
QImage Drawing(double scale, QPointF shift)
{
    QImage image(kSide, kSide, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QTransform frame;
    frame.translate(kSide / 2.0 + shift.x(), kSide / 2.0 + shift.y());
    frame.scale(scale, scale);
    frame.translate(-kSide / 2.0, -kSide / 2.0);
    painter.setPen(QPen(Qt::black, 0));
    painter.drawPath(frame.map(Silhouette()));
    painter.fillRect(QRect(2, 2, 140, 20), Qt::black); // a stamp, which must not count
    return image;
}
} // namespace

class TestReview : public QObject
{
    Q_OBJECT

private slots:
    // A drawing made from the reference's own outline and then moved and scaled by a known
    // frame is laid back on it: the fit is that frame's inverse, to 2 % of the cell in shift
    // and 5 % in scale.
    void fitFindsTheFrame_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<QPointF>("shift");
        QTest::newRow("in place") << 1.0 << QPointF(0, 0);
        QTest::newRow("shifted right and up") << 1.0 << QPointF(100, -60);
        QTest::newRow("smaller, shifted left") << 0.7 << QPointF(-90, 40);
        QTest::newRow("larger") << 1.4 << QPointF(0, 20);
        QTest::newRow("larger, shifted") << 1.25 << QPointF(-40, -50);
        QTest::newRow("smaller, shifted down") << 0.8 << QPointF(60, 100);
    }
    void fitFindsTheFrame()
    {
        QFETCH(double, scale);
        QFETCH(QPointF, shift);
        const QImage reference = Reference(QColor(90, 160, 220), QColor(140, 40, 30));
        const TFitResult fit = FitDrawing(Drawing(scale, shift), reference);
        QVERIFY(fit.Found);
        const double wantScale = 1 / scale;
        const QPointF wantShift = -shift / scale;
        QVERIFY2(qAbs(fit.Frame.Scale - wantScale) <= 0.05 * wantScale,
                 qPrintable(QString("scale %1, wanted %2").arg(fit.Frame.Scale).arg(wantScale)));
        const QPointF miss = fit.Frame.Shift - wantShift;
        QVERIFY2(qAbs(miss.x()) <= 0.02 * kSide && qAbs(miss.y()) <= 0.02 * kSide,
                 qPrintable(QString("shift %1,%2, wanted %3,%4")
                                .arg(fit.Frame.Shift.x())
                                .arg(fit.Frame.Shift.y())
                                .arg(wantShift.x())
                                .arg(wantShift.y())));
    }

    // A reference with no edges, or a drawing with no lines: nothing is found and the drawing
    // stays where it was.
    void fitWithoutEdgesLeavesTheFrame()
    {
        QImage flat(kSide, kSide, QImage::Format_RGB32);
        flat.fill(QColor(200, 120, 60));
        TFitResult fit = FitDrawing(Drawing(1.0, QPointF(30, 0)), flat);
        QVERIFY(!fit.Found);
        QCOMPARE(fit.Frame.Scale, 1.0);
        QCOMPARE(fit.Frame.Shift, QPointF());
        // Fitted into the square, a flat picture is letterboxed on white: that border is no edge.
        QImage letterboxed(kSide, kSide, QImage::Format_RGB32);
        letterboxed.fill(Qt::white);
        QPainter(&letterboxed).fillRect(QRect(0, 100, kSide, 312), QColor(40, 80, 230));
        QVERIFY(!FitDrawing(Drawing(1.0, QPointF(0, -150)), letterboxed).Found);
        QImage blank(kSide, kSide, QImage::Format_RGB32);
        blank.fill(Qt::white);
        fit = FitDrawing(blank, Reference(Qt::white, Qt::black));
        QVERIFY(!fit.Found);
    }
};

QTEST_MAIN(TestReview)
#include "tst_review.moc"
