#include "TestSupport.h"
#include "journal/Journal.h"
#include "raster/FileName.h"

#include <QtTest>
#include <sys/stat.h>

namespace {
// Drawing i: white with a black block whose place tells it apart, stamped "00:0i.000".
TFinishedDrawing Drawing(int i)
{
    TBitmap t(512, 512);
    t.Clear(TAlphaColors::White);
    t.Image().fill(Qt::white);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            t.Image().setPixel(50 + 40 * i + x, 200 + y, 0xFF000000);
    return TFinishedDrawing::Pack(t, QStringLiteral("00:0%1.000").arg(i), 1000 * i);
}

QImage Canvas()
{
    QImage canvas(667, 667, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::white);
    for (int x = 100; x < 400; ++x)
        canvas.setPixel(x, 333, 0xFF000000);
    return canvas;
}

// Leaves the journal of a program that wrote three drawings and a canvas, then ended.
QString LeaveJournal(const QString& root)
{
    TJournal journal(root);
    for (int i = 1; i <= 3; ++i)
        journal.Append(Drawing(i));
    journal.Snapshot(Canvas(), 700, 6700);
    journal.WaitForWrites();
    return journal.Folder();
}

QStringList Stamps(const TRecoveredPractice& practice)
{
    QStringList stamps;
    for (const TFinishedDrawing& d : practice.Drawings)
        stamps << d.Stamp();
    return stamps;
}

} // namespace

class TestJournal : public QObject
{
    Q_OBJECT

private slots:
    // What recovery makes of a journal that a crash, a full disk or a stranger damaged: every
    // readable drawing in order, the rest counted, nothing read from outside the folder.
    void damagedJournals_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QStringList>("stamps");
        QTest::addColumn<int>("skipped");
        QTest::addColumn<bool>("canvas");
        const QStringList all{"00:01.000", "00:02.000", "00:03.000"};
        const QStringList firstAndLast{"00:01.000", "00:03.000"};
        QTest::newRow("intact") << "" << all << 0 << true;
        QTest::newRow("truncated image") << "truncate" << firstAndLast << 1 << true;
        QTest::newRow("not an image") << "text" << firstAndLast << 1 << true;
        QTest::newRow("an image of another size") << "small" << firstAndLast << 1 << true;
        QTest::newRow("garbage manifest") << "garbage" << all << 0 << true;
        QTest::newRow("no manifest") << "nomanifest" << all << 0 << true;
        QTest::newRow("manifest lists a missing file")
            << "missing" << QStringList{"00:01.000", "00:02.000"} << 1 << true;
        QTest::newRow("symbolic link to a file outside") << "symlink" << firstAndLast << 1 << true;
        QTest::newRow("manifest names a file outside") << "outside" << firstAndLast << 1 << true;
        QTest::newRow("a FIFO in place of a drawing") << "fifo" << firstAndLast << 1 << true;
        QTest::newRow("drawing written, manifest not yet") << "latedrawing" << all << 0 << true;
        QTest::newRow("canvas left from a finished drawing") << "oldcanvas" << all << 0 << false;
        QTest::newRow("empty folder") << "empty" << QStringList() << 0 << false;
    }
    void damagedJournals()
    {
        QFETCH(QString, damage);
        QFETCH(QStringList, stamps);
        QFETCH(int, skipped);
        QFETCH(bool, canvas);
        QTemporaryDir root;
        const QString folder = LeaveJournal(root.path());
        const QString second = folder + "/drawing-000002.png";
        const QString outside = root.path() + "/outside.png";
        QVERIFY(QFile::copy(second, outside));

        if (damage == "truncate")
            QVERIFY(QFile(second).resize(QFileInfo(second).size() / 2));
        if (damage == "text")
            WriteText(second, "これは画像ではありません");
        if (damage == "small")
            QVERIFY(QImage(64, 64, QImage::Format_RGB32).save(second));
        if (damage == "garbage")
            WriteText(folder + "/manifest.json", "{\"format\": [[[");
        if (damage == "nomanifest")
            QVERIFY(QFile::remove(folder + "/manifest.json"));
        if (damage == "missing")
            QVERIFY(QFile::remove(folder + "/drawing-000003.png"));
        if (damage == "symlink") {
            QVERIFY(QFile::remove(second));
            QVERIFY(QFile::link(outside, second));
        }
        if (damage == "outside") {
            QFile manifest(folder + "/manifest.json");
            QVERIFY(manifest.open(QIODevice::ReadOnly));
            const QByteArray text = manifest.readAll().replace("drawing-000002.png", "../outside.png");
            manifest.close();
            WriteText(folder + "/manifest.json", text);
        }
        if (damage == "fifo") {
            QVERIFY(QFile::remove(second));
            QCOMPARE(::mkfifo(QFile::encodeName(second).constData(), 0600), 0);
        }
        if (damage == "latedrawing") {
            // The fourth drawing reached the disk, its manifest did not; its canvas is the fifth.
            QFile::rename(folder + "/canvas-000004.png", folder + "/canvas-000005.png");
            QVERIFY(QFile::copy(folder + "/drawing-000003.png", folder + "/drawing-000004.png"));
            stamps << "00:03.000";
        }
        if (damage == "oldcanvas")
            QFile::rename(folder + "/canvas-000004.png", folder + "/canvas-000003.png");
        if (damage == "empty")
            for (const QString& name : QDir(folder).entryList(QDir::Files))
                QFile::remove(folder + "/" + name);

        std::vector<TStaleJournal> found = FindStaleJournals(root.path());
        QCOMPARE(found.size(), size_t(1));
        const TRecoveredPractice practice = found[0].Read();
        QCOMPARE(Stamps(practice), stamps);
        QCOMPARE(practice.Skipped, skipped);
        QCOMPARE(!practice.Canvas.isNull(), canvas);
        if (canvas) {
            QCOMPARE(practice.Canvas, Canvas());
            QCOMPARE(practice.CanvasDrawMs, 700);
            QCOMPARE(practice.TotalMs, 6700);
        } else if (!stamps.isEmpty()) {
            QCOMPARE(practice.TotalMs, 3000);
        }
        if (!stamps.isEmpty())
            QCOMPARE(practice.Drawings.first().Image(), Drawing(1).Image());
        QCOMPARE(practice.IsEmpty(), damage == "empty");

        found[0].Remove();
        QVERIFY(!QFileInfo::exists(folder));
        QVERIFY(QFileInfo::exists(outside)); // never what a link points to
        QVERIFY(FindStaleJournals(root.path()).empty());
    }

    // A journal whose program still runs is never offered, and two programs keep their own.
    void runningProgramsKeepTheirOwn()
    {
        QTemporaryDir root;
        const QString left = LeaveJournal(root.path());
        auto first = std::make_unique<TJournal>(root.path());
        TJournal second(root.path());
        first->Append(Drawing(1));
        second.Append(Drawing(2));
        first->WaitForWrites();
        second.WaitForWrites();
        QVERIFY(!first->Folder().isEmpty() && !second.Folder().isEmpty());
        QVERIFY(first->Folder() != second.Folder());
        QVERIFY(first->Folder() != left);

        std::vector<TStaleJournal> found = FindStaleJournals(root.path());
        QCOMPARE(found.size(), size_t(1));
        QCOMPARE(found[0].Folder(), left);
        // While one start holds a stale journal, another does not take it too.
        QVERIFY(FindStaleJournals(root.path()).empty());
        found.clear();

        const QString firstFolder = first->Folder();
        first.reset();
        found = FindStaleJournals(root.path());
        QCOMPARE(found.size(), size_t(2));
        QCOMPARE(found[1].Folder(), firstFolder); // oldest first
        QCOMPARE(Stamps(found[1].Read()), QStringList{"00:01.000"});
    }

    // Journals started in the same millisecond each get a folder of their own.
    void journalsStartedTogetherKeepTheirOwn()
    {
        QTemporaryDir root;
        std::vector<std::unique_ptr<TJournal>> journals;
        for (int i = 0; i < 20; ++i) {
            journals.push_back(std::make_unique<TJournal>(root.path()));
            journals.back()->Append(Drawing(i + 1));
        }
        QSet<QString> folders;
        for (const auto& journal : journals) {
            journal->WaitForWrites();
            QVERIFY(!journal->Folder().isEmpty());
            folders.insert(journal->Folder());
        }
        QCOMPARE(folders.size(), 20);
    }

    // A recovered practice carries on in its folder: what could not be read is set aside, never
    // deleted, new drawings are numbered after the old, and a discard leaves nothing else.
    void adoptedJournalCarriesOn()
    {
        QTemporaryDir root;
        const QString folder = LeaveJournal(root.path());
        WriteText(folder + "/drawing-000002.png", "garbage");
        std::vector<TStaleJournal> found = FindStaleJournals(root.path());
        QCOMPARE(found.size(), size_t(1));
        const TRecoveredPractice practice = found[0].Read();
        {
            TJournal journal(root.path());
            journal.Adopt(std::move(found[0]), practice);
            journal.WaitForWrites();
            QCOMPARE(journal.Folder(), folder);
            QVERIFY(!QFileInfo::exists(folder + "/drawing-000002.png"));
            QFile aside(root.filePath("unreadable/" + QFileInfo(folder).fileName() + "/drawing-000002.png"));
            QVERIFY(aside.open(QIODevice::ReadOnly));
            QCOMPARE(aside.readAll(), QByteArray("garbage"));
            QVERIFY(QFileInfo::exists(folder + "/canvas-000004.png"));
            journal.Append(Drawing(4));
            journal.DropSnapshot();
            journal.WaitForWrites();
            QVERIFY(QFileInfo::exists(folder + "/drawing-000004.png"));
            QVERIFY(!QFileInfo::exists(folder + "/canvas-000004.png"));
            QVERIFY(FindStaleJournals(root.path()).empty());
        }
        found = FindStaleJournals(root.path());
        QCOMPARE(found.size(), size_t(1));
        const TRecoveredPractice again = found[0].Read();
        QCOMPARE(Stamps(again), (QStringList{"00:01.000", "00:03.000", "00:04.000"}));
        QCOMPARE(again.Skipped, 0);
        QVERIFY(again.Canvas.isNull());
        found.clear();

        {
            std::vector<TStaleJournal> stale = FindStaleJournals(root.path());
            TJournal journal(root.path());
            journal.Adopt(std::move(stale[0]), again);
            journal.Discard();
        }
        QVERIFY(FindStaleJournals(root.path()).empty());
        QCOMPARE(QDir(root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"unreadable"});
    }

    // Each drawing's reference and its view travel through the journal.
    void referencesAreJournalled_data()
    {
        QTest::addColumn<QByteArray>("manifest"); // what becomes of it before recovery
        QTest::newRow("manifest whole") << QByteArray();
        QTest::newRow("manifest damaged") << QByteArray("{\"format\": \"tenarai-jour");
        QTest::newRow("manifest gone") << QByteArray("-");
    }
    void referencesAreJournalled()
    {
        QFETCH(QByteArray, manifest);
        QImage seen(300, 200, QImage::Format_RGB32);
        seen.fill(qRgb(200, 40, 40));
        // A name that is not UTF-8, the view, and the picture as it was seen all come back,
        // from the drawing's own files when the manifest is lost.
        TReferenceLink link{FileName::FromNative("/pictures/caf\xe9 \xe3\x83\xa2.jpg"),
                            true,
                            false,
                            true,
                            3,
                            true,
                            ReferenceLink::EncodeShown(seen, true)};
        TBitmap thumbnail(512, 512);
        thumbnail.Clear(TAlphaColors::White);
        QTemporaryDir root;
        QString folder;
        {
            TJournal journal(root.path());
            journal.Append(TFinishedDrawing::Pack(thumbnail, "00:01.000", 1000, link));
            journal.Append(Drawing(2));
            journal.WaitForWrites();
            folder = journal.Folder();
        }
        if (manifest == "-")
            QVERIFY(QFile::remove(folder + "/manifest.json"));
        else if (!manifest.isEmpty())
            WriteText(folder + "/manifest.json", manifest);
        std::vector<TStaleJournal> found = FindStaleJournals(root.path());
        QCOMPARE(found.size(), size_t(1));
        const TRecoveredPractice practice = found[0].Read();
        QCOMPARE(practice.Drawings.size(), 2);
        const TReferenceLink back = practice.Drawings[0].Reference();
        QCOMPARE(FileName::ToNative(back.Path), QByteArray("/pictures/caf\xe9 \xe3\x83\xa2.jpg"));
        QCOMPARE(back, link);
        QCOMPARE(ReferenceLink::DecodeShown(back.Shown).pixel(150, 100), seen.pixel(150, 100));
        QVERIFY(practice.Drawings[1].Reference().IsEmpty());
    }

    // The stored form is exact and small.
    void compactFormIsExact()
    {
        const TFinishedDrawing d = Drawing(5);
        QVERIFY(d.Stored().size() < 16 * 1024);
        TBitmap t(512, 512);
        t.Image().fill(Qt::white);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                t.Image().setPixel(250 + x, 200 + y, 0xFF000000);
        QCOMPARE(d.Image(), t.Image());
        QCOMPARE(d.Decoded().format(), QImage::Format_Grayscale8);
        const TFinishedDrawing back = TFinishedDrawing::FromStored(d.Stored());
        QCOMPARE(back.Stamp(), "00:05.000");
        QCOMPARE(back.TotalMs(), 5000);
    }
};

QTEST_MAIN(TestJournal)
#include "tst_journal.moc"
