#include "TestSupport.h"
#include "export/ResultSheets.h"
#include "history/Database.h"
#include "history/History.h"
#include "practice/Thumbnail.h"
#include "raster/Error.h"

#include <QGuiApplication>
#include <QTimeZone>
#include <QtTest>
#include <csignal>
#include <sys/mount.h>

namespace {
// What the sqlite3 shell, an independent reader, finds in the record.
QString Sql(const QString& file, const QString& statement)
{
    QString out;
    RunTool(QStringLiteral("sqlite3"), {QStringLiteral("-batch"), file, statement}, &out);
    return out.trimmed();
}

TPracticeRecord Practice(const QString& stamp, int drawings, const QString& plan = {})
{
    TPracticeRecord p;
    // Saved in Japan, nine hours ahead of UTC.
    const QDateTime named = QDateTime::fromString(stamp, QStringLiteral("yyyyMMdd_HHmmss"));
    p.SavedUtc = QDateTime(named.date(), named.time(), QTimeZone(540 * 60)).toUTC();
    p.StartedUtc = p.SavedUtc.addSecs(-600);
    p.UtcOffsetMin = 540;
    p.Drawings = drawings;
    p.TotalMs = 1000 * drawings;
    p.Plan = plan;
    p.ReferenceFolder = QStringLiteral("/refs, \"quoted\"");
    p.ResultFolder = QStringLiteral("/home/u/result");
    p.Stamp = stamp;
    for (int i = 0; i < drawings; ++i)
        p.DrawingRows.append(
            {i + 1, 1000 + i, plan.isEmpty() ? std::nullopt : std::optional<qint64>(30000),
             i % 2 ? std::optional<QString>(QStringLiteral("/refs/%1.jpg").arg(i)) : std::nullopt, i / 64 + 1,
             i % 64});
    return p;
}

// RFC 4180 read back by the sqlite3 shell's CSV import, an independent reader: one line per row,
// the header first, the fields joined by "|".
QStringList CsvRows(const QString& file)
{
    QString out;
    RunTool(QStringLiteral("sqlite3"),
            {QStringLiteral(":memory:"), QStringLiteral(".import --csv %1 t").arg(file),
             QStringLiteral(".headers on"), QStringLiteral("SELECT * FROM t")},
            &out);
    return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
} // namespace

class TestHistory : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Two practices recorded; the sqlite3 shell reads back the schema, the rows and WAL mode;
    // the CSV read back by a CSV parser holds one row per drawing.
    void recordsPractices()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("tenarai/history.sqlite");
        {
            THistoryDatabase db(file);
            TPracticeRecord first = Practice("20261210_101500", 3, "10x30s,休憩1m,1m");
            TPracticeRecord second = Practice("20261210_203000", 66);
            db.Record(first);
            db.Record(second);
            QCOMPARE(second.Id, first.Id + 1);
            db.ExportCsv(dir.filePath("all.csv"));
        }
        QCOMPARE(Sql(file, "PRAGMA user_version"), "1");
        QCOMPARE(Sql(file, "PRAGMA journal_mode"), "wal");
        QCOMPARE(
            Sql(file, "SELECT started_utc, saved_utc, utc_offset_min, drawings, total_ms, plan, stamp FROM "
                      "practice ORDER BY id"),
            "2026-12-10T01:05:00.000Z|2026-12-10T01:15:00.000Z|540|3|3000|10x30s,休憩1m,1m|20261210_101500\n"
            "2026-12-10T11:20:00.000Z|2026-12-10T11:30:00.000Z|540|66|66000||20261210_203000");
        QCOMPARE(Sql(file, "SELECT number, draw_ms, quote(limit_ms), quote(reference), sheet, cell FROM "
                           "drawing WHERE practice_id = 1"),
                 "1|1000|30000|NULL|1|0\n2|1001|30000|'/refs/1.jpg'|1|1\n3|1002|30000|NULL|1|2");
        QCOMPARE(Sql(file, "SELECT number, sheet, cell FROM drawing WHERE practice_id = 2 AND number > 63"),
                 "64|1|63\n65|2|0\n66|2|1");
        const QStringList rows = CsvRows(dir.filePath("all.csv"));
        QCOMPARE(rows.size(), 1 + 3 + 66);
        QCOMPARE(rows[0],
                 "practice_id|started_utc|saved_utc|utc_offset_min|drawings|total_ms|plan|reference_folder|"
                 "result_folder|stamp|number|draw_ms|limit_ms|reference|sheet|cell");
        QCOMPARE(rows[2], "1|2026-12-10T01:05:00.000Z|2026-12-10T01:15:00.000Z|540|3|3000|10x30s,休憩1m,1m|"
                          "/refs, \"quoted\"|/home/u/result|20261210_101500|2|1001|30000|/refs/1.jpg|1|1");
        QCOMPARE(rows.last().section('|', 10), "66|1065||/refs/65.jpg|2|1");
    }

    // The record's faults never stop the work: each is a clear reason, a damaged file is kept
    // aside and a new record begun, a file of a later version is refused.
    void faults_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("folder is a file") << "unwritable";
        QTest::newRow("garbage") << "garbage";
        QTest::newRow("later version") << "later";
        QTest::newRow("full disk") << "full";
    }
    void faults()
    {
        QFETCH(QString, fault);
        QTemporaryDir dir;
        QString file = dir.filePath("tenarai/history.sqlite");
        QDir(dir.path()).mkpath("tenarai");
        if (fault == "unwritable") {
            WriteText(dir.filePath("blocked"), "a file");
            file = dir.filePath("blocked/tenarai/history.sqlite");
        }
        if (fault == "garbage")
            WriteText(file, QByteArray(5000, 'x'));
        if (fault == "later")
            QCOMPARE(RunTool("sqlite3", {file, "PRAGMA user_version=7"}), 0);
        if (fault == "full") {
            QDir(dir.path()).mkpath("small");
            if (::mount("tmpfs", qPrintable(dir.filePath("small")), "tmpfs", 0, "size=64k") != 0)
                QSKIP("no tmpfs can be mounted here");
            file = dir.filePath("small/history.sqlite");
        }
        QString reason;
        {
            THistoryDatabase db(file);
            TPracticeRecord practice = Practice("20261210_101500", fault == "full" ? 3000 : 2);
            try {
                db.Record(practice);
            } catch (const EError& error) {
                reason = error.Message();
            }
            if (fault == "garbage") {
                QVERIFY(reason.isEmpty());
                QVERIFY(db.MovedAside().startsWith(file + ".damaged-"));
                QCOMPARE(QFile(db.MovedAside()).size(), 5000); // kept as it was
            }
        }
        if (fault == "full")
            ::umount(qPrintable(dir.filePath("small")));
        if (fault == "garbage") {
            QCOMPARE(Sql(file, "SELECT count(*) FROM drawing"), "2");
            return;
        }
        QVERIFY2(!reason.isEmpty(), qPrintable(fault));
        if (fault == "later")
            QCOMPARE(reason, "新しい版の Tenarai で作られた記録です（版 7）");
    }

    // Locked by another program's open write transaction: the record waits a few seconds,
    // then gives up with a reason, and the thread that asked never waits at all.
    void lockedByAnotherProgram()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("history.sqlite");
        {
            THistoryDatabase db(file);
            TPracticeRecord practice = Practice("20261210_101500", 1);
            db.Record(practice);
        }
        QProcess holder;
        holder.start("sqlite3", {file});
        QVERIFY(holder.waitForStarted());
        holder.write(
            "BEGIN IMMEDIATE; INSERT INTO practice(saved_utc, utc_offset_min, drawings, plan,"
            " reference_folder, result_folder, stamp, local_day) VALUES('x', 0, 0, '', '', '', '', '');\n"
            "SELECT 'held';\n");
        QVERIFY(holder.waitForReadyRead(5000));
        THistory history(file);
        QSignalSpy failed(&history, &THistory::Failed);
        QElapsedTimer asked;
        asked.start();
        history.Record(Practice("20261210_111500", 2));
        QVERIFY(asked.elapsed() < 100);
        QVERIFY(failed.wait(THistoryDatabase::BusyTimeoutMs + 5000));
        QVERIFY2(failed[0][0].toString().contains("locked"), qPrintable(failed[0][0].toString()));
        holder.write("ROLLBACK;\n.quit\n");
        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished(5000));
        history.WaitForWork();
        QCOMPARE(Sql(file, "SELECT count(*) FROM practice"), "1");
    }

    // A kill in the middle of recording: the file passes integrity_check and holds each
    // practice whole or not at all.
    void killWhileRecording()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("history.sqlite");
        QProcess writer;
        writer.start(QCoreApplication::applicationFilePath(), {"--write-forever", file});
        QVERIFY(writer.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(Sql(file, "SELECT count(*) FROM practice").toInt() >= 3, 20000);
        ::kill(pid_t(writer.processId()), SIGKILL);
        QVERIFY(writer.waitForFinished(5000));
        QCOMPARE(Sql(file, "PRAGMA integrity_check"), "ok");
        QCOMPARE(Sql(file, "SELECT count(*) FROM practice p WHERE p.drawings <> "
                           "(SELECT count(*) FROM drawing d WHERE d.practice_id = p.id)"),
                 "0");
    }

    // Sheets written before the record existed are read in once, however often asked.
    void importFolderOnce()
    {
        QTemporaryDir dir;
        const QString sheets = dir.filePath("result");
        QList<TFinishedDrawing> drawings;
        TBitmap canvas;
        canvas.SetSize(200, 200);
        canvas.Clear(TAlphaColors::White);
        for (int i = 0; i < 70; ++i)
            drawings.append(TFinishedDrawing::Pack(MakeThumbnail(canvas, "00:01.000"), "00:01.000", 1000));
        SaveResultSheets(drawings, QDateTime(QDate(2025, 4, 1), QTime(9, 0, 0)), {}, sheets);
        SaveResultSheets(drawings.mid(0, 5), QDateTime(QDate(2025, 4, 2), QTime(9, 0, 0)), {}, sheets);
        THistory history(dir.filePath("history.sqlite"));
        QCOMPARE(history.Import(sheets).result(), 2);
        QCOMPARE(history.Import(sheets).result(), 0);
        history.WaitForWork();
        const QString file = dir.filePath("history.sqlite");
        QCOMPARE(Sql(file, "SELECT stamp, drawings, quote(total_ms) FROM practice ORDER BY stamp"),
                 "20250401_090000|70|NULL\n20250402_090000|5|NULL");
        QCOMPARE(Sql(file, "SELECT sheet, cell, quote(draw_ms) FROM drawing WHERE number = 70"), "2|5|NULL");
    }
};

int main(int argc, char** argv)
{
    // The writer the kill test stops: practices of 500 drawings, one after another.
    if (argc == 3 && QByteArray(argv[1]) == "--write-forever") {
        QCoreApplication app(argc, argv);
        THistoryDatabase db(QString::fromLocal8Bit(argv[2]));
        for (int n = 0;; ++n) {
            TPracticeRecord practice =
                Practice(QStringLiteral("20261210_1%1").arg(n % 100000, 5, 10, QLatin1Char('0')), 500);
            db.Record(practice);
        }
    }
    QGuiApplication app(argc, argv); // the thumbnails' stamps need fonts
    TestHistory test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_history.moc"
