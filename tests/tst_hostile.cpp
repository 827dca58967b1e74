#include "TestSupport.h"
#include "references/ReferenceImage.h"
#include "references/ReferenceSession.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QtTest>
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
