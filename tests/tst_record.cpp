#include "FormFixture.h"
#include "app/Application.h"
#include "app/record/Calendar.h"
#include "app/record/RecordWindow.h"
#include "app/study/ReferenceWindow.h"
#include "app/reviewer/ReviewWindow.h"
#include "practice/ElapsedTime.h"

#include <QListWidget>
#include <QTreeWidget>

namespace {
// What the sqlite3 shell, an independent reader, finds in the window's record.
QString Sql(const TFormFixture& f, const QString& statement)
{
    QString out;
    RunTool("sqlite3", {"-batch", f.DataHome() + "/tenarai/history.sqlite", statement}, &out);
    return out.trimmed();
}

void Draw(TFormFixture& f, int drawings, int ms = 1000)
{
    for (int i = 0; i < drawings; ++i) {
        f.Stroke(QPoint(100, 100 + 7 * i), QPoint(300, 100 + 7 * i));
        f.Clock.Advance(ms);
        QTRY_COMPARE(f.Text("DrawTimeText"), ElapsedTimeText(ms));
        f.Click("Next");
    }
}
// References of one red picture, shown, and the plan "2x5s,1m".
void PlanWithReference(TFormFixture& f, const QTemporaryDir& refs)
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(refs.filePath("a.png")));
    f.Form->OpenReferences(refs.path(), false);
    f.Form->SetPlan(*TPlan::Parse("2x5s,1m"), false);
    QTRY_VERIFY(!f.Form->ReferenceWindow()->View().isNull());
}
} // namespace

class TestRecord : public QObject
{
    Q_OBJECT

private slots:
    // Each save records its practice once its sheets are written: its drawings with their
    // sheet and cell, time, limit and reference; a reset and an unsaved practice are not.
    void savesAreRecorded()
    {
        TFormFixture f;
        QTemporaryDir refs;
        PlanWithReference(f, refs);
        if (QTest::currentTestFailed())
            return;
        Draw(f, 3, 1500);
        f.Click("Finish");
        QTRY_COMPARE(Sql(f, "SELECT count(*) FROM practice"), "1");
        QCOMPARE(Sql(f, "SELECT drawings, total_ms, plan, reference_folder = '" + refs.path() +
                            "', result_folder = '" + QDir::current().absoluteFilePath("result") +
                            "', stamp, saved_utc FROM practice"),
                 "3|4500|2x5s,1m|1|1|20240307_143015|" + kNow.toUTC().toString(Qt::ISODateWithMs));
        QCOMPARE(
            Sql(f, "SELECT number, draw_ms, limit_ms, reference, sheet, cell FROM drawing ORDER BY number"),
            QString("1|1500|5000|%1|1|0\n2|1500|5000|%1|1|1\n3|1500|60000|%1|1|2")
                .arg(refs.filePath("a.png")));
        QVERIFY(QFile::exists("result/20240307_143015_1.png"));

        // A reset is no practice; the next save is one, at its own time.
        Draw(f, 2);
        f.Dialogs.Log.Answers = {mrYes};
        f.Click("StartButton");
        f.Now = kNow.addSecs(3600);
        Draw(f, 1);
        f.Click("Finish");
        QTRY_COMPARE(Sql(f, "SELECT group_concat(stamp || ':' || drawings) FROM practice"),
                     "20240307_143015:3,20240307_153015:1");
        QVERIFY(f.Dialogs.Log.Messages.isEmpty());
    }

    // The record takes each drawing's exact time, not its stamp, which is the clock's text as
    // the last tick left it: the times add up to the total. A "Next" with nothing under way is
    // a drawing of no time that keeps the last stamp. Limits, places, plan and folder as saved.
    void recordTakesExactTimes()
    {
        TFormFixture f;
        QTemporaryDir refs;
        PlanWithReference(f, refs);
        if (QTest::currentTestFailed())
            return;
        // Finished 7 ms after the last tick.
        f.Stroke(QPoint(100, 100), QPoint(300, 100));
        f.Clock.Advance(1000);
        QTRY_COMPARE(f.Text("DrawTimeText"), "00:01.000");
        f.Clock.Advance(7);
        f.Click("Next");
        // Ended by its limit.
        f.Stroke(QPoint(100, 200), QPoint(300, 200));
        f.Clock.Advance(6000);
        QTRY_COMPARE(f.Form->Thumbnails().size(), 2);
        // 2.25 s, then "Next" twice.
        f.Stroke(QPoint(100, 300), QPoint(300, 300));
        f.Clock.Advance(2250);
        QTRY_COMPARE(f.Text("DrawTimeText"), "00:02.250");
        f.Click("Next");
        f.Click("Next");
        QCOMPARE(f.Form->Thumbnails()[3].Stamp(), "00:02.250");
        f.Click("Finish");
        QTRY_COMPARE(Sql(f, "SELECT count(*) FROM practice"), "1");
        QCOMPARE(Sql(f, "SELECT group_concat(draw_ms || ':' || ifnull(limit_ms, '-') || ':' || sheet || ':' || cell, "
                        "' ') FROM (SELECT * FROM drawing ORDER BY number)"),
                 "1007:5000:1:0 5000:5000:1:1 2250:60000:1:2 0:-:1:3");
        QCOMPARE(Sql(f, "SELECT total_ms, (SELECT sum(draw_ms) FROM drawing), plan, reference_folder = '" +
                            refs.path() + "' FROM practice"),
                 "8257|8257|2x5s,1m|1");
        // Both stamps of the last two drawings read the same on the sheet.
        const QImage sheet("result/20240307_143015_1.png");
        QCOMPARE(sheet.copy(2 * 512 + 2, 2, 200, 36), sheet.copy(3 * 512 + 2, 2, 200, 36));
        QVERIFY(!DarkBox(sheet, QRect(3 * 512 + 2, 2, 200, 36)).isEmpty());
    }

    // The save at close is recorded, and so is a recovered practice when it is saved.
    void closeAndRecovery()
    {
        TFormFixture f;
        Draw(f, 2);
        f.Form->FlushJournal();
        f.Dialogs.Log.Answers = {mrYes};
        f.Restart(); // a crash: the practice is offered back
        QCOMPARE(f.Form->Thumbnails().size(), 2);
        Draw(f, 1);
        f.Dialogs.Log.Answers = {mrYes};
        QVERIFY(f.Close());
        f.Form.reset(); // the record is written before the program ends
        QCOMPARE(Sql(f, "SELECT drawings FROM practice"), "3");
        QCOMPARE(Sql(f, "SELECT group_concat(quote(limit_ms)) FROM drawing"), "NULL,NULL,NULL");
    }

    // A record file that is garbage: the save still writes its sheets, the user is told once,
    // the file is kept aside and a new record begun.
    void damagedRecord()
    {
        TFormFixture f;
        QDir(f.DataHome()).mkpath("tenarai");
        WriteText(f.DataHome() + "/tenarai/history.sqlite", QByteArray(3000, '#'));
        Draw(f, 1);
        f.Click("Finish");
        QVERIFY(QFile::exists("result/20240307_143015_1.png"));
        QTRY_COMPARE(f.Dialogs.Log.Messages.size(), 1);
        QVERIFY(f.Dialogs.Log.Messages[0].startsWith("練習の記録が壊れていたため"));
        QCOMPARE(QDir(f.DataHome() + "/tenarai").entryList({"history.sqlite.damaged-*"}).size(), 1);
        QTRY_COMPARE(Sql(f, "SELECT count(*) FROM practice"), "1");
        f.Now = kNow.addSecs(60);
        Draw(f, 1);
        f.Click("Finish");
        QTRY_COMPARE(Sql(f, "SELECT count(*) FROM practice"), "2");
        QCOMPARE(f.Dialogs.Log.Messages.size(), 1);
    }

    // H opens the record: today's square shaded, today's totals, the practices newest first;
    // a practice opens in the review with its drawings from its sheets.
    void recordWindow()
    {
        TFormFixture f;
        Draw(f, 2, 2000);
        f.Click("Finish");
        f.Now = kNow.addSecs(600);
        Draw(f, 3, 1000);
        f.Click("Finish");
        QTRY_COMPARE(Sql(f, "SELECT count(*) FROM practice"), "2");
        f.Command("HistoryCommand")->trigger();
        auto* window = f.Form->findChild<TRecordWindow*>("RecordWindow");
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->windowTitle(), "練習の記録");
        QVERIFY(!window->frameGeometry().intersects(f.Form->frameGeometry()));
        QTRY_COMPARE(window->List()->topLevelItemCount(), 2);
        QCOMPARE(window->findChild<QLabel*>("TodayTotals")->text(), "今日 5枚 · 0分7秒");
        QCOMPARE(window->findChild<QLabel*>("AllTotals")->text(), "すべて 5枚 · 0分7秒");
        QCOMPARE(window->List()->topLevelItem(0)->text(1), "3");
        QCOMPARE(window->List()->topLevelItem(0)->text(0), "2024/03/07 14:40");
        QVERIFY(window->Calendar()->ShadeOf(kNow.date()) !=
                window->Calendar()->ShadeOf(kNow.date().addDays(-1)));

        window->OpenPractice(1);
        const auto review = [&] { return f.Form->findChild<TReviewWindow*>("ReviewWindow"); };
        QTRY_VERIFY(review() && review()->isVisible() && review()->Count() == 2);
        QListWidget* grid = review()->Grid();
        QCOMPARE(grid->item(0)->text(), "1 · 00:02.000");
        // The drawing, taken from its sheet's cell: its stroke, and not only white.
        // The first stroke ran at y 100 of the canvas, x 100 to 300: y 23, x 22 to 67 in the entry.
        const QImage entry = grid->item(0)->icon().pixmap(grid->iconSize()).toImage();
        int inked = 0;
        for (int y = 18; y < 30; ++y)
            for (int x = 30; x < 60; ++x)
                inked += qGray(entry.pixel(x, y)) < 235;
        QVERIFY(inked >= 20);
    }
};

int main(int argc, char** argv)
{
    TApplication::PrepareStart();
    TApplication app(argc, argv);
    TestRecord test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_record.moc"
