#include "TestSupport.h"
#include "raster/AtomicFile.h"
#include "raster/Canvas.h"
#include "raster/Error.h"
#include "raster/PngReader.h"
#include "raster/PngWriter.h"
#include "raster/SheetPng.h"
#include "raster/TextLayout.h"

#include <QBuffer>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {
QStringList FilesIn(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

// Noise defeats compression, so the encoded file is about as large as the pixels.
TBitmap NoiseBitmap(int side, bool grey, bool opaque)
{
    TBitmap b(side, side);
    quint32 seed = 12345;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int v = int(seed >> 24);
            const int a = opaque ? 255 : int((seed >> 8) & 0xFF);
            const QColor c = grey ? QColor(v, v, v, a) : QColor(v, 255 - v, (v * 7) & 0xFF, a);
            b.Image().setPixelColor(x, y, c);
        }
    return b;
}
} // namespace

Q_DECLARE_METATYPE(SheetPng::TCodec)

class TestRaster : public QObject
{
    Q_OBJECT

private slots:
    void sizesAndErrors()
    {
        TBitmap b;
        QVERIFY(b.IsEmpty());
        b.SetSize(4096, 4096);
        QCOMPARE(b.Width(), 4096);
        b.Clear(TAlphaColors::White);
        QCOMPARE(b.Pixel(4095, 4095), TAlphaColors::White);

        try {
            b.SetSize(TBitmap::MaxSide + 1, 10);
            QFAIL("an oversized bitmap was made");
        } catch (const EError& e) {
            QCOMPARE(e.Message(), "ビットマップ サイズが大きすぎます。");
        }
        try {
            TBitmap small(10, 10);
            small.CopyFromBitmap(TBitmap(11, 10));
            QFAIL("a whole copy between sizes went through");
        } catch (const EError& e) {
            QCOMPARE(e.Message(), "コピー操作ではビットマップ サイズが等しくなければなりません");
        }
        TBitmap same(10, 10);
        same.Clear(TAlphaColors::White);
        same.CopyFromBitmap(TBitmap()); // an empty source copies nothing
        QCOMPARE(same.Pixel(5, 5), TAlphaColors::White);
    }

    void rectangleCopyIsClipped_data()
    {
        QTest::addColumn<QRect>("src");
        QTest::addColumn<QPoint>("dest");
        QTest::addColumn<QRect>("changed");
        QTest::newRow("inside") << QRect(0, 0, 4, 4) << QPoint(2, 3) << QRect(2, 3, 4, 4);
        QTest::newRow("past the right edge") << QRect(0, 0, 4, 4) << QPoint(8, 0) << QRect(8, 0, 2, 4);
        QTest::newRow("negative destination") << QRect(0, 0, 4, 4) << QPoint(-2, -1) << QRect(0, 0, 2, 3);
        QTest::newRow("source larger than itself") << QRect(0, 0, 20, 2) << QPoint(0, 0) << QRect(0, 0, 4, 2);
        QTest::newRow("entirely outside") << QRect(0, 0, 4, 4) << QPoint(30, 30) << QRect();
    }
    void rectangleCopyIsClipped()
    {
        QFETCH(QRect, src);
        QFETCH(QPoint, dest);
        QFETCH(QRect, changed);
        TBitmap source(4, 4);
        source.Clear(0x80102030); // half transparent: copied as it is, not blended
        TBitmap target(10, 10);
        target.Clear(TAlphaColors::White);
        target.CopyFromBitmap(source, src, dest.x(), dest.y());
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) {
                const bool inside = changed.contains(x, y);
                QCOMPARE(target.Image().pixelColor(x, y).alpha(), inside ? 0x80 : 0xFF);
            }
    }

    void sceneScope()
    {
        TBitmap empty;
        TCanvas emptyCanvas(empty);
        QVERIFY(!emptyCanvas.BeginScene());

        TBitmap b(20, 20);
        b.Clear(TAlphaColors::White);
        TCanvas canvas = b.Canvas();
        try {
            TCanvasScope scene(canvas);
            QVERIFY(scene.Begun());
            canvas.DrawLine(QPointF(0, 5), QPointF(20, 5), 1);
            throw EError(QStringLiteral("drawing failed"));
        } catch (const EError&) {
        }
        QVERIFY(!canvas.InScene()); // the exception ended the scene
        QCOMPARE(b.Pixel(10, 5), TAlphaColors::Black);
        // A brush of kind None draws nothing.
        TCanvasScope scene(canvas);
        canvas.DrawLine(QPointF(0, 9), QPointF(20, 9), 1,
                        TStrokeBrush(TBrushKind::None, TAlphaColors::Black));
        QCOMPARE(b.Pixel(10, 9), TAlphaColors::White);
    }

    void textLayoutDrawsInItsBox()
    {
        TBitmap b(200, 100);
        b.Clear(TAlphaColors::White);
        TCanvas canvas = b.Canvas();
        TTextLayout layout;
        layout.BeginUpdate();
        layout.TopLeft = QPointF(100, 50);
        layout.MaxSize = QSizeF(100, 50);
        layout.FontSize = 20;
        layout.Text = QStringLiteral("経過 12");
        layout.EndUpdate();
        {
            TCanvasScope scene(canvas);
            layout.RenderLayout(canvas);
        }
        const QRect ink = DarkBox(b.Image());
        QVERIFY(!ink.isEmpty());
        QVERIFY(QRect(100, 50, 100, 50).contains(ink));
    }

    // PNG files decode to exactly the pixels written, in the smallest colour type that holds
    // them; names ending in any case of ".png" are PNG, other known endings use their encoder.
    void savedFilesReadBack_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("grey");
        QTest::addColumn<bool>("opaque");
        QTest::addColumn<QString>("colorType");
        QTest::newRow("grey png") << "a.png" << true << true << "grayscale";
        QTest::newRow("colour PNG in capitals") << "b.PNG" << false << true << "RGB";
        QTest::newRow("translucent Png") << "c.Png" << false << false << "RGB+alpha";
        QTest::newRow("bmp") << "d.bmp" << false << true << "";
    }
    void savedFilesReadBack()
    {
        QFETCH(QString, name);
        QFETCH(bool, grey);
        QFETCH(bool, opaque);
        QFETCH(QString, colorType);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        const TBitmap b = NoiseBitmap(64, grey, opaque);
        b.SaveToFile(path);
        QCOMPARE(FilesIn(dir.path()), QStringList{name});
        QCOMPARE(QFileInfo(path).permissions() & (QFile::ReadOther | QFile::WriteOther | QFile::WriteGroup),
                 QFile::ReadOther);

        if (!colorType.isEmpty()) {
            QString out;
            QCOMPARE(RunTool("pngcheck", {"-v", path}, &out), 0);
            QVERIFY2(out.contains(colorType), qPrintable(out));
        }
        QImage back(path);
        QVERIFY(!back.isNull());
        const QImage expected = b.Image().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(back.convertToFormat(QImage::Format_ARGB32), expected);
    }

    void unknownEndingAndExistingFiles()
    {
        QTemporaryDir dir;
        const TBitmap b = NoiseBitmap(8, true, true);
        try {
            b.SaveToFile(dir.filePath("x.xyz"));
            QFAIL("no encoder should take .xyz");
        } catch (const EError& e) {
            QCOMPARE(e.Message(), "ビットマップの保存に失敗しました。");
        }
        QVERIFY(FilesIn(dir.path()).isEmpty());

        const QString taken = dir.filePath("taken.png");
        QFile foreign(taken);
        QVERIFY(foreign.open(QIODevice::WriteOnly));
        foreign.write("not ours");
        foreign.close();
        QVERIFY_THROWS_EXCEPTION(EFileExists, b.SaveToFile(taken, TOverwrite::Never));
        QVERIFY(foreign.open(QIODevice::ReadOnly));
        QCOMPARE(foreign.readAll(), QByteArray("not ours"));
        foreign.close();
        b.SaveToFile(taken, TOverwrite::Replace);
        QVERIFY(!QImage(taken).isNull());
        QCOMPARE(FilesIn(dir.path()), QStringList{"taken.png"});
    }

    // Whatever goes wrong while writing, no file is left under the name and no temporary file
    // stays behind, and the error says what happened.
    void failedWritesLeaveNothing()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath("sheet.png");
        QVERIFY_THROWS_EXCEPTION(EError, WriteFileAtomically(name, TOverwrite::Never, [](QIODevice& d) {
                                     d.write(QByteArray(100000, 'x'));
                                     throw EError(QStringLiteral("injected"));
                                 }));
        QVERIFY(FilesIn(dir.path()).isEmpty());

        // A folder that is not writable.
        QDir(dir.path()).mkdir("locked");
        QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner);
        if (::geteuid() != 0) {
            try {
                NoiseBitmap(8, true, true).SaveToFile(dir.filePath("locked/a.png"));
                QFAIL("wrote into a read-only folder");
            } catch (const EError& e) {
                QVERIFY2(e.Message().contains("権限"), qPrintable(e.Message()));
            }
        }
        // A folder that does not exist, and one whose place a file took.
        try {
            NoiseBitmap(8, true, true).SaveToFile(dir.filePath("missing/a.png"));
            QFAIL("wrote into a missing folder");
        } catch (const EError& e) {
            QVERIFY2(e.Message().contains("a.png"), qPrintable(e.Message()));
        }
    }

    // A full disk: the kernel refuses writes past the file-size limit just as it does when the
    // disk is full, in the middle of the data.
    void fullDiskMidway()
    {
        QTemporaryDir dir;
        const TBitmap big = NoiseBitmap(512, false, true); // about 800 KB of PNG
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        rlimit limit = old;
        limit.rlim_cur = 200 * 1024;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        QString message;
        try {
            big.SaveToFile(dir.filePath("full.png"));
        } catch (const EError& e) {
            message = e.Message();
        }
        ::setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY2(message.contains("ファイルが大きすぎます") || message.contains("空き容量"),
                 qPrintable(message));
        QVERIFY(FilesIn(dir.path()).isEmpty());
    }

    // The parallel sheet writer: the same file whatever the number of threads, decoded by libpng
    // and ImageMagick to exactly the pixels given, pngcheck clean, for every colour type.
    void sheetPngIsExact_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("width");
        QTest::addColumn<SheetPng::TCodec>("codec");
        for (auto [codec, name] : {std::pair{SheetPng::TCodec::Fast, "fast"},
                                   std::pair{SheetPng::TCodec::RunLength, "run-length"}}) {
            QTest::addRow("grey sheet, %s", name) << "grey" << 4096 << 4096 << codec;
            QTest::addRow("colour sheet, %s", name) << "colour" << 4096 << 4096 << codec;
            QTest::addRow("a translucent pixel, %s", name) << "translucent" << 1000 << 700 << codec;
            QTest::addRow("one band, short, %s", name) << "grey" << 100 << 700 << codec;
            QTest::addRow("a short last band, %s", name) << "colour" << 600 << 700 << codec;
            QTest::addRow("one pixel wide, %s", name) << "colour" << 700 << 1 << codec;
        }
    }
    void sheetPngIsExact()
    {
        QFETCH(QString, kind);
        QFETCH(int, height);
        QFETCH(int, width);
        QFETCH(SheetPng::TCodec, codec);
        QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        quint32 s = 7;
        for (int y = 0; y < image.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); x += qMin(3, image.width())) {
                s = s * 1664525u + 1013904223u;
                if ((s >> 28) < 3) {
                    const int v = int(s >> 20) & 255;
                    row[x] = kind == "colour" ? qRgb(v, 255 - v, (v * 7) & 255) : qRgb(v, v, v);
                }
            }
        }
        if (kind == "translucent")
            image.setPixel(5, 5, qPremultiply(qRgba(200, 100, 50, 128)));

        QList<QByteArray> files;
        for (int threads : {1, 2, 4}) {
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            WriteSheetPng(image, buffer, threads, codec);
            files << buffer.data();
        }
        QCOMPARE(files[1], files[0]);
        QCOMPARE(files[2], files[0]);

        const QImage straight = image.convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(DecodePng(files[0]).convertToFormat(QImage::Format_ARGB32), straight);
        QTemporaryDir dir;
        const QString path = dir.filePath("sheet.png");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(files[0]);
        file.close();
        QString out;
        QCOMPARE(RunTool("pngcheck", {path}, &out), 0);
        QVERIFY2(out.contains(kind == "grey"     ? "grayscale"
                              : kind == "colour" ? "RGB"
                                                 : "RGB+alpha"),
                 qPrintable(out));
        QProcess convert;
        convert.start("convert", {path, "-depth", "8", "rgba:-"});
        QVERIFY(convert.waitForFinished(60000));
        const QByteArray raw = convert.readAllStandardOutput();
        QCOMPARE(raw.size(), qsizetype(image.width()) * image.height() * 4);
        const QImage decoded(reinterpret_cast<const uchar*>(raw.constData()), image.width(), image.height(),
                             QImage::Format_RGBA8888);
        QVERIFY(decoded.convertToFormat(QImage::Format_ARGB32) == straight);
        // With the deflate settings of the single-threaded libpng writer, as small as it makes
        // it, give or take a few bytes a band. (The fast codec's sizes are the benchmark's.)
        // A 1-pixel-wide image is all flush and header: it is here for its pixels.
        if (codec != SheetPng::TCodec::RunLength || width == 1)
            return;
        QBuffer single;
        single.open(QIODevice::WriteOnly);
        WritePng(image, single);
        QVERIFY2(files[0].size() <= single.size() + 16 * (height / 256 + 1),
                 qPrintable(QString("%1 against %2").arg(files[0].size()).arg(single.size())));
    }
};

QTEST_MAIN(TestRaster)
#include "tst_raster.moc"
