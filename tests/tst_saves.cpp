#include "TestSupport.h"
#include "export/ResultSheets.h"
#include "practice/Thumbnail.h"
#include "raster/Error.h"
#include "raster/SheetPng.h"

#include <QGuiApplication>
#include <QtTest>

namespace {
const QDateTime kNow(QDate(2024, 3, 7), QTime(14, 30, 15));

QList<TFinishedDrawing> Drawings(int count)
{
    TBitmap canvas;
    canvas.SetSize(100, 100);
    canvas.Clear(TAlphaColors::White);
    QList<TFinishedDrawing> drawings;
    for (int i = 0; i < count; ++i)
        drawings.append(TFinishedDrawing::Pack(MakeThumbnail(canvas, "00:01.000"), "00:01.000", 1000));
    return drawings;
}

QStringList Files(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}
} // namespace

// Saves among other programs and odd folders.
class TestSaves : public QObject
{
    Q_OBJECT

private slots:
    // A save tells of every drawing it lays out, on each of its sheets, up to all of them.
    void saveReportsProgress()
    {
        QTemporaryDir dir;
        QList<TFinishedDrawing> drawings = Drawings(70);
        drawings[3].SetReference({dir.filePath("gone.jpg")});
        std::atomic<int> calls{0}, most{0}, wrongTotal{0};
        SaveResultSheets(drawings, kNow, {}, dir.path(), [&](int done, int total) {
            ++calls;
            wrongTotal += total != 70;
            for (int seen = most; done > seen && !most.compare_exchange_weak(seen, done);) {
            }
        });
        QCOMPARE(calls.load(), 140); // each drawing on its sheet and on its reference sheet
        QCOMPARE(most.load(), 70);
        QCOMPARE(wrongTotal.load(), 0);
    }

    // Another program takes the save's name after it looked and before it renamed: the whole
    // save moves on to the next free second, and the other file stays as it was.
    void nameTakenBeforeTheRename()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath("result");
        int sheet = 0;
        const TSheetWriter writer = [&](const TBitmap& bitmap, QIODevice& device) {
            if (sheet++ == 1) // both names chosen, the first sheet written: the other program saves
                WriteText(folder + "/20240307_143015_2.png", "another program's");
            WriteSheetPng(bitmap.Image(), device);
        };
        const QStringList written = SaveResultSheets(Drawings(70), kNow, writer, folder);
        QCOMPARE(written,
                 (QStringList{folder + "/20240307_143016_1.png", folder + "/20240307_143016_2.png"}));
        QCOMPARE(Files(folder),
                 (QStringList{"20240307_143015_2.png", "20240307_143016_1.png", "20240307_143016_2.png"}));
        QFile other(folder + "/20240307_143015_2.png");
        QVERIFY(other.open(QIODevice::ReadOnly));
        QCOMPARE(other.readAll(), QByteArray("another program's"));
        QCOMPARE(QImage(written[1]).size(), QSize(4096, 4096));
    }

    // A result folder whose parents are missing is made with them, as mkdir -p does; one
    // below a file can never be a folder and says so.
    void resultFolderWithMissingParents_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("possible");
        QTest::newRow("four levels") << "a/b/c/d" << true;
        QTest::newRow("up and down") << "x/../y" << true;
        QTest::newRow("trailing slash") << "p/q/" << true;
        QTest::newRow("below a file") << "file/sub" << false;
    }
    void resultFolderWithMissingParents()
    {
        QFETCH(QString, folder);
        QFETCH(bool, possible);
        QTemporaryDir dir;
        const QString old = QDir::currentPath();
        QDir::setCurrent(dir.path());
        WriteText("file", "a file");
        QString failure;
        try {
            SaveResultSheets(Drawings(1), kNow, {}, folder);
        } catch (const EError& error) {
            failure = error.Message();
        }
        const QStringList files = Files(folder);
        QDir::setCurrent(old);
        if (possible) {
            QCOMPARE(failure, QString());
            QCOMPARE(files, QStringList{"20240307_143015_1.png"});
        } else {
            QVERIFY2(failure.startsWith("結果を保存するフォルダー"), qPrintable(failure));
        }
    }
};

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv); // fonts for the stamps
    TestSaves test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_saves.moc"
