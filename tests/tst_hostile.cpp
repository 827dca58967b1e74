#include "FormFixture.h"
#include "TestSupport.h"
#include "app/study/ReferenceWindow.h"
#include "export/ResultSheets.h"
#include "raster/FileName.h"
#include "references/ReferenceImage.h"
#include "references/ReferenceSession.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QLabel>
#include <QtTest>
#include <cstdio>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// A JPEG that is only its frame header: what a file declares, before any image data.
QByteArray JpegHeader(bool progressive, int width, int height, int components)
{
    QByteArray bytes("\xFF\xD8", 2);
    const int length = 8 + 3 * components;
    bytes += char(0xFF);
    bytes += char(progressive ? 0xC2 : 0xC0);
    bytes += char(length >> 8);
    bytes += char(length & 0xFF);
    bytes += char(8);
    bytes += char(height >> 8);
    bytes += char(height & 0xFF);
    bytes += char(width >> 8);
    bytes += char(width & 0xFF);
    bytes += char(components);
    for (int c = 0; c < components; ++c)
        bytes += QByteArray::fromRawData("\x01\x11\x00", 3);
    bytes += QByteArray("\xFF\xD9", 2);
    return bytes;
}

qint64 PeakKiB()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}
} // namespace

// Reference folders as a hostile environment makes them.
class TestHostile : public QObject
{
    Q_OBJECT

private slots:
    // What a file declares is weighed before it is decoded: a progressive JPEG keeps every
    // coefficient of the whole image, a baseline one decodes small.
    void declaredSizeAgainstTheBudget_data()
    {
        QTest::addColumn<bool>("progressive");
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("components");
        QTest::addColumn<bool>("over");
        QTest::newRow("progressive grey bomb") << true << 40000 << 1 << true;
        QTest::newRow("progressive colour bomb") << true << 40000 << 3 << true;
        QTest::newRow("progressive photo") << true << 4000 << 3 << false;
        QTest::newRow("large baseline photo") << false << 12000 << 3 << false;
    }
    void declaredSizeAgainstTheBudget()
    {
        QFETCH(bool, progressive);
        QFETCH(int, side);
        QFETCH(int, components);
        QFETCH(bool, over);
        QByteArray bytes = JpegHeader(progressive, side, side * 3 / 4, components);
        QBuffer file(&bytes);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(OverBudget(file, QSize(side, side * 3 / 4)), over);
    }

    // The bomb itself, grey and colour, in a folder: refused at once, the memory never grows.
    void jpegBombIsSkipped()
    {
        QTemporaryDir dir;
        for (int components : {1, 3}) {
            const QString path = dir.filePath(QString("bomb%1.jpg").arg(components));
            WriteText(path, JpegHeader(true, 40000, 40000, components));
            const qint64 before = PeakKiB();
            QElapsedTimer timer;
            timer.start();
            QVERIFY(ReadReference(path, QSize(1000, 1000)).isNull());
            QVERIFY(timer.elapsed() < 1000);
            QVERIFY2(PeakKiB() - before < 100 * 1024, qPrintable(QString::number(PeakKiB() - before)));
        }
    }

    // A FIFO, by a link or by itself, is no reference: nothing waits on it.
    void fifoIsNoReference()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("pipe");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QDir(dir.path()).mkdir("refs");
        QCOMPARE(::symlink(QFile::encodeName(fifo).constData(),
                           QFile::encodeName(dir.filePath("refs/link.jpg")).constData()),
                 0);
        QImage good(60, 40, QImage::Format_RGB32);
        good.fill(Qt::green);
        QVERIFY(good.save(dir.filePath("refs/z.png")));
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!OpenReferenceFile(dir.filePath("refs/link.jpg")));
        QVERIFY(ReadReference(fifo, QSize(100, 100)).isNull());
        QVERIFY(timer.elapsed() < 1000);

        // A session of the folder shows the good image, and ends at once.
        auto session = std::make_unique<TReferenceSession>(dir.filePath("refs"), 1);
        QSignalSpy shown(session.get(), &TReferenceSession::Shown);
        session->Next();
        QVERIFY(shown.wait(10000));
        QCOMPARE(shown[0][0].toString(), dir.filePath("refs/z.png"));
        timer.restart();
        session.reset();
        QVERIFY(timer.elapsed() < 1000);
    }

    // A file name is the file system's bytes: valid UTF-8 reads as text, and any other byte
    // goes back to itself.
    void fileNamesKeepTheirBytes_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("utf8");
        QTest::newRow("ascii") << QByteArray("photo 1.jpg") << true;
        QTest::newRow("japanese") << QByteArray("\xe7\x8c\xab.png") << true;
        QTest::newRow("four-byte") << QByteArray("\xf0\x9f\x90\x88.jpg") << true;
        QTest::newRow("latin-1") << QByteArray("caf\xe9.jpg") << false;
        QTest::newRow("lone continuation") << QByteArray("\x80"
                                                         "a")
                                           << false;
        QTest::newRow("cut short") << QByteArray("a\xe3\x83") << false;
        QTest::newRow("overlong") << QByteArray("\xc0\xaf") << false;
        QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80.png") << false;
        QTest::newRow("escape-like text") << QByteArray("\xed\xb3\xa9") << false;
    }
    void fileNamesKeepTheirBytes()
    {
        QFETCH(QByteArray, name);
        QFETCH(bool, utf8);
        const QString text = FileName::FromNative(name);
        QCOMPARE(FileName::ToNative(text), name);
        if (utf8)
            QCOMPARE(text, QString::fromUtf8(name));
    }

    // A folder whose only good image has a name that is not UTF-8 shows it, says once how many
    // images it could not read, and the reference sheet holds it.
    void oddNamesShownAndBadImagesCounted()
    {
        TFormFixture f;
        QTemporaryDir dir;
        QImage good(60, 40, QImage::Format_RGB32);
        good.fill(qRgb(0, 160, 0));
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(good.save(&buffer, "PNG"));
        const QByteArray folder = QFile::encodeName(dir.path());
        FILE* odd = std::fopen(folder + "/caf\xe9.jpg", "wb"); // Qt cannot name it
        QVERIFY(odd && std::fwrite(png.constData(), 1, size_t(png.size()), odd) == size_t(png.size()));
        std::fclose(odd);
        WriteText(dir.filePath("broken.jpg"), "not a picture");
        WriteText(dir.filePath("empty.png"), "");
        WriteText(dir.filePath("bomb.jpg"), JpegHeader(true, 40000, 40000, 1));
        WriteText(dir.filePath("notes.txt"), "not an image, and not counted");
        f.Form->OpenReferences(dir.path(), false);
        TReferenceWindow* window = f.Form->ReferenceWindow();
        QTRY_VERIFY(!window->View().isNull());
        QCOMPARE(QColor(window->View().pixel(30, 20)), QColor(qRgb(0, 160, 0)));
        QLabel* note = nullptr;
        QTRY_VERIFY((note = window->findChild<QLabel*>("SkippedNote")) && note->isVisible());
        QCOMPARE(note->text(), QStringLiteral("読めない画像を3枚飛ばしました"));

        f.Stroke(QPoint(100, 100), QPoint(200, 100));
        f.Click("Next");
        const TReferenceLink link = f.Form->Thumbnails()[0].Reference();
        QCOMPARE(FileName::ToNative(link.Path), folder + "/caf\xe9.jpg");
        const QImage cell = ReferenceCell(link);
        QVERIFY(Near(cell.pixel(256, 256), qRgb(0, 160, 0)));
    }

    // The reference sheet shows what was seen: a reference file replaced, by another picture or
    // by a FIFO, or deleted after its drawing changes nothing, and the save never waits on it.
    void savedReferenceIsTheOneSeen_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("another picture") << "picture";
        QTest::newRow("a FIFO") << "fifo";
        QTest::newRow("deleted") << "deleted";
    }
    void savedReferenceIsTheOneSeen()
    {
        QFETCH(QString, change);
        TFormFixture f;
        QTemporaryDir dir;
        const QString path = dir.filePath("seen.png");
        QImage seen(80, 60, QImage::Format_RGB32);
        seen.fill(qRgb(0, 0, 200));
        QVERIFY(seen.save(path));
        f.Form->OpenReferences(dir.path(), false);
        QTRY_VERIFY(!f.Form->ReferenceWindow()->View().isNull());
        f.Stroke(QPoint(100, 100), QPoint(200, 100));
        f.Click("Next");
        QCOMPARE(f.Form->Thumbnails()[0].Reference().Path, path);

        QVERIFY(QFile::remove(path));
        if (change == "picture") {
            QImage other(80, 60, QImage::Format_RGB32);
            other.fill(qRgb(220, 0, 0));
            QVERIFY(other.save(path, "PNG"));
        } else if (change == "fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        }
        QElapsedTimer timer;
        timer.start();
        f.Command("SaveCommand")->trigger();
        f.WaitForSave();
        QVERIFY(timer.elapsed() < 10000);
        const QStringList sheets = QDir("result").entryList({"*_ref.png"});
        QCOMPARE(sheets.size(), 1);
        const QImage sheet("result/" + sheets[0]);
        QVERIFY(Near(sheet.pixel(256, 256), qRgb(0, 0, 200)));
        QCOMPARE(QDir("result", ".*", QDir::Name, QDir::Hidden | QDir::Files).entryList(), QStringList());
    }

    // A legitimate 8000 × 8000 grey PNG is shown, at the size it is shown at.
    void largeGreyPngIsShown()
    {
        QTemporaryDir dir;
        QImage grey(8000, 8000, QImage::Format_Grayscale8);
        grey.fill(90);
        const QString path = dir.filePath("large.png");
        QVERIFY(grey.save(path));
        const QImage shown = ReadReference(path, QSize(800, 800));
        QCOMPARE(shown.size(), QSize(800, 800));
        QCOMPARE(qGray(shown.pixel(400, 400)), 90);
    }
};

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
