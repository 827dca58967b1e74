#include "TestSupport.h"
#include "export/ResultSheets.h"
#include "references/ReferenceDeck.h"
#include "references/ReferenceImage.h"
#include "references/ReferenceScan.h"
#include "references/ReferenceSession.h"

#include <QtTest>

namespace {
// A solid image of the size and colour asked, written where asked.
void MakeImage(const QString& path, QSize size, QColor color = Qt::red, const char* format = "png")
{
    QDir().mkpath(QFileInfo(path).path());
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    QVERIFY(image.save(path, format));
}

QStringList Relative(const QString& root, const QStringList& paths)
{
    QStringList names;
    for (const QString& p : paths)
        names << QDir(root).relativeFilePath(p);
    names.sort();
    return names;
}
} // namespace

class TestReferences : public QObject
{
    Q_OBJECT

private slots:
    // Which files of a folder count as references.
    void scan_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("one image") << "one" << QStringList{"a.png"};
        QTest::newRow("several") << "several" << QStringList{"a.png", "b.jpg", "c.bmp"};
        QTest::newRow("nested") << "nested" << QStringList{"a.png", "x/b.png", "x/y/c.png"};
        QTest::newRow("with other files") << "others" << QStringList{"a.png"};
        QTest::newRow("a broken file with an image's name") << "broken" << QStringList{"a.png"};
        QTest::newRow("a symbolic-link loop") << "loop" << QStringList{"a.png", "x/b.png"};
        QTest::newRow("empty") << "empty" << QStringList{};
    }
    void scan()
    {
        QFETCH(QString, layout);
        QFETCH(QStringList, found);
        QTemporaryDir dir;
        const QString root = dir.path();
        if (layout != "empty")
            MakeImage(root + "/a.png", {40, 30});
        if (layout == "several") {
            MakeImage(root + "/b.jpg", {40, 30}, Qt::blue, "jpg");
            MakeImage(root + "/c.bmp", {40, 30}, Qt::green, "bmp");
        }
        if (layout == "nested") {
            MakeImage(root + "/x/b.png", {40, 30});
            MakeImage(root + "/x/y/c.png", {40, 30});
        }
        if (layout == "others") {
            WriteText(root + "/notes.txt", "メモ");
            WriteText(root + "/data.bin", QByteArray(100, '\0'));
        }
        if (layout == "broken")
            WriteText(root + "/b.png", "this is no png");
        if (layout == "loop") {
            MakeImage(root + "/x/b.png", {40, 30});
            QVERIFY(QFile::link(root, root + "/x/back"));
        }
        QCOMPARE(Relative(root, ScanReferences(root)), found);

        // The same through the background scan, in batches.
        TReferenceScan scan;
        QSignalSpy batches(&scan, &TReferenceScan::Found);
        QSignalSpy finished(&scan, &TReferenceScan::Finished);
        scan.Start(root);
        QVERIFY(finished.wait(10000));
        QStringList all;
        for (const QList<QVariant>& batch : batches)
            all << batch.first().toStringList();
        QCOMPARE(Relative(root, all), found);
        QCOMPARE(finished.first().first().toInt(), found.size());
    }

    // Every image once a round; a new round never starts with the image that ended the last.
    void deckRounds_data()
    {
        QTest::addColumn<int>("images");
        QTest::addColumn<quint32>("seed");
        for (int n : {1, 2, 3, 7})
            for (quint32 seed : {1u, 2u, 3u, 42u})
                QTest::addRow("%d images, seed %u", n, seed) << n << seed;
    }
    void deckRounds()
    {
        QFETCH(int, images);
        QFETCH(quint32, seed);
        QStringList all;
        for (int i = 0; i < images; ++i)
            all << QString("img%1").arg(i);
        TReferenceDeck deck(seed);
        deck.Add(all);
        QString last;
        QList<QStringList> rounds;
        for (int round = 0; round < 6; ++round) {
            QStringList shown;
            for (int i = 0; i < images; ++i) {
                const std::optional<QString> upcoming = deck.Upcoming();
                const std::optional<QString> next = deck.Next();
                QVERIFY(next);
                QCOMPARE(upcoming, next);
                shown << *next;
            }
            if (images > 1 && !last.isEmpty())
                QVERIFY2(shown.first() != last, "a round began with the image that ended the last");
            last = shown.last();
            rounds << shown;
            shown.sort();
            QCOMPARE(shown, all);
        }
        if (images >= 3)
            QVERIFY2(rounds.count(rounds[0]) < rounds.size(), "rounds are not shuffled afresh");
        // The same seed deals the same order.
        TReferenceDeck again(seed);
        again.Add(all);
        for (int i = 0; i < images; ++i)
            QCOMPARE(*again.Next(), rounds[0][i]);
    }

    // Images found during a round join its unshown part, never in front of the upcoming one.
    void deckGrowsDuringARound()
    {
        TReferenceDeck deck(7);
        deck.Add({"a", "b", "c"});
        const QString first = *deck.Next();
        const QString upcoming = *deck.Upcoming();
        deck.Add({"d", "e"});
        QCOMPARE(*deck.Upcoming(), upcoming);
        QStringList rest{first};
        for (int i = 0; i < 4; ++i)
            rest << *deck.Next();
        rest.sort();
        QCOMPARE(rest, (QStringList{"a", "b", "c", "d", "e"}));
        deck.Remove("c");
        QCOMPARE(deck.Size(), 4);
        QVERIFY(!TReferenceDeck().Next());
    }

    // A large photo is decoded at the size shown, its aspect kept.
    void readAtShownSize()
    {
        QTemporaryDir dir;
        MakeImage(dir.filePath("wide.jpg"), {4000, 2000}, Qt::blue, "jpg");
        const QImage image = ReadReference(dir.filePath("wide.jpg"), {400, 400});
        QCOMPARE(image.size(), QSize(400, 200));
        QVERIFY(ReadReference(dir.filePath("missing.jpg"), {400, 400}).isNull());
        const QImage small = ReadReference(dir.filePath("wide.jpg"), {8000, 8000});
        QCOMPARE(small.size(), QSize(4000, 2000)); // never larger than the file holds

        // A palette image keeps its colour when it is reduced (no dithering to black and white).
        QImage palette(1200, 500, QImage::Format_Indexed8);
        palette.setColorTable({qRgb(255, 160, 0)});
        palette.fill(0);
        QVERIFY(palette.save(dir.filePath("palette.png")));
        const QImage reduced = ReadReference(dir.filePath("palette.png"), {600, 600});
        QCOMPARE(reduced.size(), QSize(600, 250));
        QCOMPARE(QColor(reduced.pixel(300, 125)), QColor(255, 160, 0));
    }

    // A session shows the first image found, then moves on through the deck.
    void sessionShowsEachOnce()
    {
        QTemporaryDir dir;
        for (int i = 0; i < 4; ++i)
            MakeImage(dir.filePath(QString("%1.png").arg(i)), {50 + i, 40});
        WriteText(dir.filePath("9.png"), "broken"); // found by name only: never shown
        TReferenceSession session(dir.path(), 5);
        QSignalSpy shown(&session, &TReferenceSession::Shown);
        QVERIFY(shown.wait(5000));
        for (int i = 1; i < 4; ++i) {
            session.Next();
            QTRY_COMPARE(shown.size(), i + 1);
        }
        QStringList paths;
        for (const QList<QVariant>& s : shown) {
            paths << s[0].toString();
            QVERIFY(!s[1].value<QImage>().isNull());
        }
        QCOMPARE(session.Current(), paths.last());
        paths.sort();
        QCOMPARE(Relative(dir.path(), paths), (QStringList{"0.png", "1.png", "2.png", "3.png"}));
    }

    void emptyFolderSaysSo()
    {
        QTemporaryDir dir;
        WriteText(dir.filePath("a.txt"), "x");
        TReferenceSession session(dir.path());
        QSignalSpy nothing(&session, &TReferenceSession::NothingToShow);
        QVERIFY(nothing.wait(5000));
        QCOMPARE(nothing.first().first().toString(), dir.path());
    }

    // Reference cells: fitted with the aspect kept and centred on white, as shown (grey,
    // mirrored), "見つかりません" for a missing file, nothing for no reference.
    void referenceCells_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("covered"); // where the image lands in the 512 × 512 cell
        QTest::newRow("wide") << QSize(1000, 500) << QRect(0, 128, 512, 256);
        QTest::newRow("tall") << QSize(300, 600) << QRect(128, 0, 256, 512);
        QTest::newRow("tiny") << QSize(8, 4) << QRect(0, 128, 512, 256);
        QTest::newRow("square") << QSize(512, 512) << QRect(0, 0, 512, 512);
    }
    void referenceCells()
    {
        QFETCH(QSize, size);
        QFETCH(QRect, covered);
        QTemporaryDir dir;
        // Left half red, right half blue, so a mirror shows.
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::red);
        for (int y = 0; y < size.height(); ++y)
            for (int x = size.width() / 2; x < size.width(); ++x)
                image.setPixel(x, y, qRgb(0, 0, 255));
        QVERIFY(image.save(dir.filePath("ref.png")));

        const QImage cell = ReferenceCell({dir.filePath("ref.png"), false, false});
        QCOMPARE(cell.size(), QSize(512, 512));
        const QPoint inLeft = covered.topLeft() + QPoint(covered.width() / 4, covered.height() / 2);
        const QPoint inRight = covered.topLeft() + QPoint(covered.width() * 3 / 4, covered.height() / 2);
        QCOMPARE(QColor(cell.pixel(inLeft)), QColor(Qt::red));
        QCOMPARE(QColor(cell.pixel(inRight)), QColor(Qt::blue));
        if (covered.top() > 0) {
            QCOMPARE(cell.pixel(256, covered.top() - 3), 0xFFFFFFFFu);
            QCOMPARE(cell.pixel(256, covered.bottom() + 3), 0xFFFFFFFFu);
        }
        if (covered.left() > 0)
            QCOMPARE(cell.pixel(covered.left() - 3, 256), 0xFFFFFFFFu);

        const QImage mirrored = ReferenceCell({dir.filePath("ref.png"), false, true});
        QCOMPARE(QColor(mirrored.pixel(inLeft)), QColor(Qt::blue));
        const QImage grey = ReferenceCell({dir.filePath("ref.png"), true, false});
        const QRgb g = grey.pixel(inLeft);
        QVERIFY(qRed(g) == qGreen(g) && qGreen(g) == qBlue(g));
        QVERIFY(qRed(g) > 40 && qRed(g) < 200);
        QVERIFY(qRed(grey.pixel(inRight)) != qRed(g)); // still tells red from blue
    }

    // A whole reference sheet pairs cell for cell with the result sheet.
    void referenceSheet()
    {
        QTemporaryDir dir;
        MakeImage(dir.filePath("a.png"), {100, 100}, Qt::red);
        TBitmap thumb(512, 512);
        thumb.Clear(TAlphaColors::White);
        QList<TFinishedDrawing> drawings;
        drawings << TFinishedDrawing::Pack(thumb, "00:01.000", 1000, {dir.filePath("a.png"), false, false});
        drawings << TFinishedDrawing::Pack(thumb, "00:02.000", 2000); // no reference
        drawings << TFinishedDrawing::Pack(thumb, "00:03.000", 3000,
                                           {dir.filePath("gone.png"), false, false});
        QVERIFY(HasReferences(drawings));
        QVERIFY(!HasReferences(drawings.mid(1, 1)));
        TBitmap sheet;
        ComposeReferenceSheet(drawings, 0, sheet);
        const QImage& s = sheet.Image();
        QCOMPARE(s.size(), QSize(4096, 4096));
        QCOMPARE(QColor(s.pixel(256, 256)), QColor(Qt::red));
        QVERIFY(AllWhite(s, QRect(513, 1, 511, 511)));
        QVERIFY(!DarkBox(s, QRect(1025, 1, 511, 511)).isEmpty()); // "見つかりません"
        QVERIFY(DarkBox(s, QRect(1025, 1, 511, 511)).width() > 150);
        QCOMPARE(s.pixel(512, 100), 0xFF000000u); // the grid
        QVERIFY(AllWhite(s, QRect(1537, 1, 511, 511)));
    }

    // A save with references writes each reference sheet beside its result sheet; the stamp must
    // be free for both names; a practice without references writes no reference sheet.
    void saveWritesReferenceSheets()
    {
        QTemporaryDir dir;
        const QString old = QDir::currentPath();
        QDir::setCurrent(dir.path());
        MakeImage("refs/a.png", {60, 60}, Qt::green);
        TBitmap thumb(512, 512);
        thumb.Clear(TAlphaColors::White);
        QList<TFinishedDrawing> drawings;
        for (int i = 0; i < 65; ++i)
            drawings << TFinishedDrawing::Pack(thumb, "00:01.000", 1000,
                                               i == 64 ? TReferenceLink{"refs/a.png", false, false}
                                                       : TReferenceLink{});
        const QDateTime now(QDate(2024, 3, 7), QTime(14, 30, 15));
        QDir().mkdir("result");
        WriteText("result/20240307_143015_1_ref.png", "someone else's");
        const QStringList written = SaveResultSheets(drawings, now);
        QCOMPARE(written, (QStringList{"result/20240307_143016_1.png", "result/20240307_143016_1_ref.png",
                                       "result/20240307_143016_2.png", "result/20240307_143016_2_ref.png"}));
        for (const QString& name : written)
            QCOMPARE(RunTool("pngcheck", {"-q", name}), 0);
        const QImage second("result/20240307_143016_2_ref.png");
        QCOMPARE(QColor(second.pixel(256, 256)), QColor(Qt::green));
        QVERIFY(AllWhite(QImage("result/20240307_143016_1_ref.png"), QRect(1, 1, 511, 511)));

        const QStringList plain = SaveResultSheets(drawings.mid(0, 3), now);
        QCOMPARE(plain, QStringList{"result/20240307_143015_1.png"});
        QDir::setCurrent(old);
    }
};

QTEST_MAIN(TestReferences)
#include "tst_references.moc"
