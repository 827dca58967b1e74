#include "TestSupport.h"
#include "export/ResultSheets.h"
#include "raster/Error.h"
#include "raster/SheetPng.h"

#include <QtTest>
#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Thumbnail i: white with a 12 × 12 black block whose place tells i apart from its neighbours.
QPoint MarkOf(int i)
{
    return {40 + (i % 20) * 20, 60 + (i / 20) * 20};
}

QList<TFinishedDrawing> Thumbnails(int count)
{
    QList<TFinishedDrawing> list;
    for (int i = 0; i < count; ++i) {
        TBitmap t(512, 512);
        t.Clear(TAlphaColors::White);
        const QPoint m = MarkOf(i);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x)
                t.Image().setPixel(m.x() + x, m.y() + y, 0xFF000000);
        list << TFinishedDrawing::Pack(t, {}, 0);
    }
    return list;
}

// Thumbnails of grey noise: sheets of them are large and slow to deflate.
QList<TFinishedDrawing> NoisyThumbnails(int count)
{
    QList<TFinishedDrawing> list;
    for (int i = 0; i < count; ++i) {
        TBitmap t(512, 512);
        quint32 s = 99 + i;
        for (int y = 0; y < 512; ++y)
            for (int x = 0; x < 512; ++x) {
                s = s * 1664525u + 1013904223u;
                const int v = int(s >> 24);
                t.Image().setPixel(x, y, qRgb(v, v, v));
            }
        list << TFinishedDrawing::Pack(t, {}, 0);
    }
    return list;
}

// Passes writes on to another device until a number of bytes, then fails them as a full disk does.
class TFailingDevice final : public QIODevice
{
public:
    TFailingDevice(QIODevice& target, qint64 limit) : FTarget(target), FLimit(limit) { open(WriteOnly); }
    qint64 Written() const { return FWritten; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        if (FWritten + size > FLimit) {
            errno = ENOSPC;
            return -1;
        }
        FWritten += size;
        return FTarget.write(data, size);
    }

private:
    QIODevice& FTarget;
    qint64 FLimit;
    qint64 FWritten = 0;
};

QStringList Sheets(const QString& dir = QStringLiteral("result"))
{
    return QDir(dir).entryList({"*.png"}, QDir::Files, QDir::Name);
}

QStringList AllFiles(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

const QDateTime kNow(QDate(2024, 3, 7), QTime(14, 30, 15, 999));

// Runs each test in a fresh working directory.
class TWorkDir
{
public:
    TWorkDir() : FOld(QDir::currentPath()) { QDir::setCurrent(FDir.path()); }
    ~TWorkDir() { QDir::setCurrent(FOld); }
    QString Path() const { return FDir.path(); }

private:
    QTemporaryDir FDir;
    QString FOld;
};
} // namespace

class TestExport : public QObject
{
    Q_OBJECT

private slots:
    void placement_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("sheets");
        QTest::newRow("1") << 1 << 1;
        QTest::newRow("8: the top row") << 8 << 1;
        QTest::newRow("9: into the second row") << 9 << 1;
        QTest::newRow("64: one full sheet") << 64 << 1;
        QTest::newRow("65") << 65 << 2;
        QTest::newRow("130") << 130 << 3;
    }
    void placement()
    {
        QFETCH(int, count);
        QFETCH(int, sheets);
        TWorkDir work;
        const QList<TFinishedDrawing> thumbs = Thumbnails(count);
        const QStringList written = SaveResultSheets(thumbs, kNow);
        QCOMPARE(written.size(), sheets);
        QStringList expected;
        for (int n = 1; n <= sheets; ++n)
            expected << QStringLiteral("20240307_143015_%1.png").arg(n);
        QCOMPARE(Sheets(), expected);
        QCOMPARE(written.first(), "result/20240307_143015_1.png");

        for (int n = 0; n < sheets; ++n) {
            const QImage sheet(QStringLiteral("result/") + expected[n]);
            QCOMPARE(sheet.size(), QSize(4096, 4096));
            for (int cell = 0; cell < 64; ++cell) {
                const int i = n * 64 + cell;
                // Inside the cell, clear of the grid lines.
                const QRect inner(512 * (cell % 8) + 2, 512 * (cell / 8) + 2, 508, 508);
                const QRect ink = DarkBox(sheet, inner);
                if (i < count)
                    QCOMPARE(ink, QRect(inner.topLeft() - QPoint(2, 2) + MarkOf(i), QSize(12, 12)));
                else
                    QVERIFY2(ink.isEmpty(),
                             qPrintable(QStringLiteral("cell %1 of sheet %2").arg(cell).arg(n + 1)));
            }
        }
    }

    // Sixteen black lines at 0, 512, … 3584, across empty cells too, none on the far edges.
    void grid()
    {
        TBitmap sheet;
        ComposeSheet(Thumbnails(1), 0, sheet);
        const QImage img = sheet.Image();
        const auto darkAround = [&](int x, int y, bool vertical) {
            const QRgb a = img.pixel(x, y);
            const QRgb b = vertical ? img.pixel(qMax(0, x - 1), y) : img.pixel(x, qMax(0, y - 1));
            return IsDark(a) || IsDark(b);
        };
        for (int k = 0; k < 8; ++k)
            for (int t = 0; t < 4096; t += 97) {
                QVERIFY2(darkAround(512 * k, t, true),
                         qPrintable(QStringLiteral("x=%1 y=%2").arg(512 * k).arg(t)));
                QVERIFY2(darkAround(t, 512 * k, false),
                         qPrintable(QStringLiteral("y=%1 x=%2").arg(512 * k).arg(t)));
            }
        for (int t = 0; t < 4096; ++t) {
            QVERIFY(!IsDark(img.pixel(4095, t)) || t % 512 <= 1);
            QVERIFY(!IsDark(img.pixel(t, 4095)) || t % 512 <= 1);
        }
        // Between two lines the cells are white.
        QCOMPARE(img.pixel(256 + 512 * 3, 256 + 512 * 5), 0xFFFFFFFFu);
    }

    void nothingForAnEmptyPractice()
    {
        TWorkDir work;
        QVERIFY(SaveResultSheets({}, kNow).isEmpty());
        QVERIFY(!QFileInfo::exists("result"));
    }

    // A second save in the same second moves to the next free second; nothing is replaced,
    // and what was in the folder stays.
    void savesNeverReplaceFiles()
    {
        TWorkDir work;
        QDir().mkdir("result");
        QFile foreign("result/notes.txt");
        QVERIFY(foreign.open(QIODevice::WriteOnly));
        foreign.write("mine");
        foreign.close();

        SaveResultSheets(Thumbnails(65), kNow);
        const QByteArray first = [] {
            QFile f("result/20240307_143015_1.png");
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        SaveResultSheets(Thumbnails(1), kNow);
        SaveResultSheets(Thumbnails(1), kNow);
        QCOMPARE(Sheets(), (QStringList{"20240307_143015_1.png", "20240307_143015_2.png",
                                        "20240307_143016_1.png", "20240307_143017_1.png"}));
        QFile again("result/20240307_143015_1.png");
        QVERIFY(again.open(QIODevice::ReadOnly));
        QCOMPARE(again.readAll(), first);
        QCOMPARE(AllFiles("result").size(), 5); // and notes.txt, and no temporary file
        QVERIFY(foreign.open(QIODevice::ReadOnly));
        QCOMPARE(foreign.readAll(), QByteArray("mine"));
    }

    void eachWorkingDirectoryHasItsOwnFolder()
    {
        TWorkDir a;
        SaveResultSheets(Thumbnails(1), kNow);
        {
            TWorkDir b;
            SaveResultSheets(Thumbnails(1), kNow);
            QCOMPARE(Sheets(), QStringList{"20240307_143015_1.png"});
        }
        QCOMPARE(Sheets(), QStringList{"20240307_143015_1.png"});
    }

    // What we write, read back by programs that are not ours, to the exact pixels composed.
    void independentReaders()
    {
        TWorkDir work;
        const QList<TFinishedDrawing> thumbs = Thumbnails(65);
        const QStringList written = SaveResultSheets(thumbs, kNow);
        for (int n = 0; n < written.size(); ++n) {
            QString out;
            QCOMPARE(RunTool("pngcheck", {written[n]}, &out), 0);
            QVERIFY2(out.contains("OK"), qPrintable(out));
            QCOMPARE(RunTool("identify", {"-format", "%w %h", written[n]}, &out), 0);
            QCOMPARE(out.trimmed(), "4096 4096");

            TBitmap composed;
            ComposeSheet(thumbs, n * 64, composed);
            QProcess convert;
            convert.start("convert", {written[n], "-depth", "8", "rgba:-"});
            QVERIFY(convert.waitForFinished(60000));
            const QByteArray raw = convert.readAllStandardOutput();
            QCOMPARE(raw.size(), 4096 * 4096 * 4);
            const QImage decoded(reinterpret_cast<const uchar*>(raw.constData()), 4096, 4096,
                                 QImage::Format_RGBA8888);
            QVERIFY(decoded.convertToFormat(QImage::Format_ARGB32) ==
                    composed.Image().convertToFormat(QImage::Format_ARGB32));
        }
    }

    void resultIsAFile()
    {
        TWorkDir work;
        QFile blocker("result");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        try {
            SaveResultSheets(Thumbnails(1), kNow);
            QFAIL("saved although result is a file");
        } catch (const EError& e) {
            QVERIFY2(e.Message().contains("result"), qPrintable(e.Message()));
        }
        QVERIFY(QFileInfo("result").isFile());
    }

    // A sheet that cannot be written: an error, and no file of that save at all, so the retry
    // that follows writes every sheet once.
    void failureMidwayLeavesNothing()
    {
        TWorkDir work;
        int calls = 0;
        const TSheetWriter failSecond = [&](const TBitmap& sheet, QIODevice& device) {
            if (++calls == 2)
                throw EError(QStringLiteral("書けません"));
            WriteSheetPng(sheet.Image(), device);
        };
        const QList<TFinishedDrawing> thumbs = Thumbnails(130);
        QVERIFY_THROWS_EXCEPTION(EError, SaveResultSheets(thumbs, kNow, failSecond));
        QCOMPARE(AllFiles("result"), QStringList());
        QCOMPARE(thumbs.size(), 130);
        QCOMPARE(SaveResultSheets(thumbs, kNow).size(), 3);
        QCOMPARE(Sheets(),
                 (QStringList{"20240307_143015_1.png", "20240307_143015_2.png", "20240307_143015_3.png"}));
    }

    // A write that fails in the middle of a band, while other bands are being deflated: the
    // message names the reason, and every worker has stopped when the save returns.
    void deviceFailsMidBand()
    {
        TWorkDir work;
        int bytes = 0;
        const TSheetWriter failing = [&](const TBitmap& sheet, QIODevice& device) {
            TFailingDevice limited(device, 300000);
            WriteSheetPng(sheet.Image(), limited, 4);
            bytes = int(limited.Written());
        };
        QString message;
        try {
            SaveResultSheets(NoisyThumbnails(64), kNow, failing);
        } catch (const EError& e) {
            message = e.Message();
        }
        QCOMPARE(message, "ビットマップの保存に失敗しました。(ディスクの空き容量が足りません)");
        QCOMPARE(AllFiles("result"), QStringList());
        Q_UNUSED(bytes);
    }

    // The disk fills up while the second sheet is written: the kernel's file-size limit fails
    // the write the way a full disk does; on a small tmpfs, where one can be mounted, for real.
    void fullDiskMidway()
    {
        TWorkDir work;
        // Noise makes the second sheet large; the first, of plain marks, stays small.
        QList<TFinishedDrawing> thumbs = Thumbnails(64) + NoisyThumbnails(64);

        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        rlimit limit = old;
        limit.rlim_cur = 4 * 1024 * 1024;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        QString message;
        try {
            SaveResultSheets(thumbs, kNow);
        } catch (const EError& e) {
            message = e.Message();
        }
        ::setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY2(!message.isEmpty(), "the save reported success");
        QCOMPARE(AllFiles("result"), QStringList());

        QDir().mkdir("small");
        if (::mount("tmpfs", "small", "tmpfs", 0, "size=3m") != 0)
            QSKIP("no tmpfs can be mounted here; the file-size limit stood in for a full disk");
        QDir::setCurrent("small");
        message.clear();
        try {
            SaveResultSheets(thumbs, kNow);
        } catch (const EError& e) {
            message = e.Message();
        }
        const QStringList left = AllFiles("result");
        QDir::setCurrent("..");
        ::umount("small");
        QVERIFY2(message.contains("空き容量"), qPrintable(message));
        QCOMPARE(left, QStringList());
        QCOMPARE(thumbs.size(), 128);
    }

    // Any entry takes a name, a dangling link too: the save moves to the next free second
    // instead of failing on it.
    void danglingLinkTakesAName()
    {
        TWorkDir work;
        QDir().mkdir("result");
        QVERIFY(QFile::link("nowhere/at/all.png", "result/20240307_143015_1.png"));
        QCOMPARE(SaveResultSheets(Thumbnails(1), kNow), QStringList{"result/20240307_143016_1.png"});
        QVERIFY(QFileInfo("result/20240307_143015_1.png").isSymLink());
    }

    // A working folder that may not be written to: the reason is the mkdir's own.
    void unwritableWorkingFolder()
    {
        TWorkDir work;
        QDir().mkdir("locked");
        const bool locked = ::geteuid() != 0
                                ? QFile::setPermissions("locked", QFile::ReadOwner | QFile::ExeOwner)
                                : RunTool("chattr", {"+i", "locked"}) == 0;
        if (!locked)
            QSKIP("this file system cannot refuse root a folder");
        QDir::setCurrent("locked");
        QString message;
        try {
            SaveResultSheets(Thumbnails(1), kNow);
        } catch (const EError& e) {
            message = e.Message();
        }
        QDir::setCurrent("..");
        RunTool("chattr", {"-i", "locked"});
        QFile::setPermissions("locked", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY2(message.contains("書き込む権限がありません"), qPrintable(message));
    }

    // A working folder whose name is not UTF-8 (Shift-JIS here) saves like any other.
    void workingFolderNamedInShiftJis()
    {
        TWorkDir work;
        const QByteArray name("\x83\x65\x83\x58\x83\x67"); // テスト in Shift-JIS
        QCOMPARE(::mkdir(name.constData(), 0755), 0);
        char old[4096];
        QVERIFY(::getcwd(old, sizeof old));
        QCOMPARE(::chdir(name.constData()), 0);
        QStringList written;
        QString message;
        try {
            written = SaveResultSheets(Thumbnails(1), kNow);
        } catch (const EError& e) {
            message = e.Message();
        }
        struct stat info
        {};
        const bool there = ::stat("result/20240307_143015_1.png", &info) == 0 && info.st_size > 0;
        QCOMPARE(::chdir(old), 0);
        QVERIFY2(message.isEmpty(), qPrintable(message));
        QCOMPARE(written, QStringList{"result/20240307_143015_1.png"});
        QVERIFY(there);
    }

    // Temporary files a killed save left: ours, untouched for ten minutes, go; nothing else.
    void staleTemporariesAreRemoved()
    {
        TWorkDir work;
        QDir().mkdir("result");
        const QStringList names{".20240101_120000_1.png.AbC123", ".20240101_120000_2_ref.png.x9Y8z7",
                                ".20240101_120000_1.png.fresh1", ".notes.txt.AbC123",
                                "20240101_120000_1.png"};
        for (const QString& name : names) {
            QFile f("result/" + name);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const QDateTime old = QDateTime::currentDateTime().addSecs(-11 * 60);
        for (const QString& name : {names[0], names[1], names[3], names[4]}) {
            QFile f("result/" + name);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(old, QFileDevice::FileModificationTime));
        }
        SaveResultSheets(Thumbnails(1), kNow);
        QCOMPARE(AllFiles("result"), (QStringList{".20240101_120000_1.png.fresh1", ".notes.txt.AbC123",
                                                  "20240101_120000_1.png", "20240307_143015_1.png"}));
    }

    void readOnlyFolder()
    {
        TWorkDir work;
        QDir().mkdir("result");
        QFile::setPermissions("result",
                              QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
        bool locked = ::geteuid() != 0;
        if (!locked) // root writes anywhere; an immutable folder refuses even root
            locked = RunTool("chattr", {"+i", "result"}) == 0;
        if (!locked)
            QSKIP("this file system cannot refuse root a folder");
        QString message;
        try {
            SaveResultSheets(Thumbnails(1), kNow);
        } catch (const EError& e) {
            message = e.Message();
        }
        RunTool("chattr", {"-i", "result"});
        QFile::setPermissions("result", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY2(message.contains("権限") || message.contains("保存できません"), qPrintable(message));
        QVERIFY(AllFiles("result").isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
