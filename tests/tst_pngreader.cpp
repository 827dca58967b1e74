#include "raster/PngReader.h"
#include "raster/PngWriter.h"

#include <QBuffer>
#include <QImageWriter>
#include <QtEndian>
#include <QtTest>
#include <zlib.h>

namespace {
// Smooth shading, edges and noise, so every filter has work; the corner pixel is 0 and its
// neighbour is not.
QImage GreyPicture()
{
    QImage grey(61, 47, QImage::Format_Grayscale8);
    quint32 seed = 99;
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            grey.scanLine(y)[x] = uchar((x * 4 + y * 3 + (x > 30 ? 90 : 0) + int(seed >> 29)) & 255);
        }
    grey.scanLine(0)[0] = 0;
    grey.scanLine(0)[1] = 7;
    return grey;
}

QByteArray Chunk(const char* type, const QByteArray& data)
{
    QByteArray body = QByteArray(type, 4) + data;
    QByteArray chunk(4, '\0');
    qToBigEndian(quint32(data.size()), chunk.data());
    QByteArray crc(4, '\0');
    qToBigEndian(quint32(crc32(0, reinterpret_cast<const Bytef*>(body.constData()), uInt(body.size()))),
                 crc.data());
    return chunk + body + crc;
}

// A grey PNG made by hand, as no writer we have makes one: row y filtered by PNG's filter
// y mod 5, the stream split over IDAT chunks of 1000 bytes, `before` chunks ahead of them.
// "damaged" flips a byte of the stream under a correct chunk CRC; "bad CRC" leaves the CRC wrong.
QByteArray HandMadeGreyPng(const QImage& grey, const QByteArray& before, const QByteArray& fault = {})
{
    const int w = grey.width();
    QByteArray raw;
    QByteArray prior(w, '\0');
    for (int y = 0; y < grey.height(); ++y) {
        const auto* row = grey.constScanLine(y);
        const auto* up = reinterpret_cast<const uchar*>(prior.constData());
        const int filter = y % 5;
        raw.append(char(filter));
        for (int x = 0; x < w; ++x) {
            const int a = x ? row[x - 1] : 0, b = up[x], c = x ? up[x - 1] : 0;
            const int p = a + b - c, pa = qAbs(p - a), pb = qAbs(p - b), pc = qAbs(p - c);
            const int predictor[5] = {0, a, b, (a + b) / 2, pa <= pb && pa <= pc ? a : pb <= pc ? b : c};
            raw.append(char(row[x] - predictor[filter]));
        }
        prior = QByteArray(reinterpret_cast<const char*>(row), w);
    }
    QByteArray stream(qsizetype(compressBound(uLong(raw.size()))), '\0');
    uLongf length = uLongf(stream.size());
    compress2(reinterpret_cast<Bytef*>(stream.data()), &length,
              reinterpret_cast<const Bytef*>(raw.constData()), uLong(raw.size()), 6);
    stream.resize(qsizetype(length));
    if (fault == "damaged")
        stream[stream.size() / 2] = char(stream[stream.size() / 2] ^ 0x10);
    QByteArray header(13, '\0');
    qToBigEndian(quint32(w), header.data());
    qToBigEndian(quint32(grey.height()), header.data() + 4);
    header[8] = 8; // bit depth; colour type 0, grey
    QByteArray png = QByteArray("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", header) + before;
    for (qsizetype at = 0; at < stream.size(); at += 1000)
        png += Chunk("IDAT", stream.mid(at, 1000));
    if (fault == "bad CRC")
        png[png.size() - 1] = char(png[png.size() - 1] ^ 1);
    return png + Chunk("IEND", {});
}
} // namespace

// Reading back the PNGs the program keeps.
class TestPngReader : public QObject
{
    Q_OBJECT

private slots:
    // Thumbnails are read back on every save: a reader of our own for grey files, libpng for the
    // rest. Either way, every pixel as written, or nothing for a damaged file.
    void greyPngsReadExactly_data()
    {
        QTest::addColumn<QByteArray>("png");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<bool>("keyed"); // the grey 0 is transparent
        const QImage grey = GreyPicture();
        const QByteArray text = Chunk("tEXt", QByteArray("Stamp\0"
                                                         "01:02.345",
                                                         15));
        QTest::newRow("each of the five filters") << HandMadeGreyPng(grey, text) << true << false;
        QTest::newRow("our writer, with text") << EncodePng(grey, {{"Stamp", "00:01.000"}}) << true << false;
        QByteArray qt;
        QBuffer buffer(&qt);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter(&buffer, "png").write(grey);
        QTest::newRow("Qt's writer") << qt << true << false;
        QTest::newRow("transparency by key")
            << HandMadeGreyPng(grey, Chunk("tRNS", QByteArray(2, '\0'))) << true << true;
        QTest::newRow("damaged stream") << HandMadeGreyPng(grey, text, "damaged") << false << false;
        QTest::newRow("wrong chunk CRC") << HandMadeGreyPng(grey, text, "bad CRC") << false << false;
        QTest::newRow("cut short") << HandMadeGreyPng(grey, text).chopped(300) << false << false;
    }

    void greyPngsReadExactly()
    {
        QFETCH(QByteArray, png);
        QFETCH(bool, readable);
        QFETCH(bool, keyed);
        const QImage decoded = DecodePng(png);
        QCOMPARE(decoded.isNull(), !readable);
        if (!readable)
            return;
        const QImage grey = GreyPicture();
        if (!keyed) {
            QCOMPARE(decoded.format(), QImage::Format_Grayscale8);
            QCOMPARE(decoded, grey);
            return;
        }
        QCOMPARE(qAlpha(decoded.pixel(0, 0)), 0);
        QCOMPARE(decoded.pixel(1, 0),
                 qRgb(grey.pixelColor(1, 0).red(), grey.pixelColor(1, 0).red(), grey.pixelColor(1, 0).red()));
    }
};

QTEST_MAIN(TestPngReader)
#include "tst_pngreader.moc"
