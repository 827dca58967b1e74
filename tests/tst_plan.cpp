#include "practice/PlanProgress.h"

#include <QtTest>

class TestPlan : public QObject
{
    Q_OBJECT

private slots:
    // Drawing n of the practice is drawing n − start of the plan: what comes before the plan
    // has no limit of it, what comes after its end none at all.
    void progressThroughThePlan_data()
    {
        QTest::addColumn<QString>("plan");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("drawing");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<QString>("text");
        QTest::newRow("first") << "2x30s,1x2m" << 0 << 0 << qint64(30000) << "1/2 · 30秒";
        QTest::newRow("second item") << "2x30s,1x2m" << 0 << 2 << qint64(120000) << "1/1 · 2分";
        QTest::newRow("ended") << "2x30s,1x2m" << 0 << 3 << qint64(0) << "プラン終了";
        QTest::newRow("before the plan") << "2x30s" << 3 << 2 << qint64(0) << "";
        QTest::newRow("started late") << "2x30s" << 3 << 4 << qint64(30000) << "2/2 · 30秒";
        QTest::newRow("open-ended") << "1x10s,1m30s" << 0 << 7 << qint64(90000) << "7 · 1分30秒";
        QTest::newRow("break skipped") << "1x10s,休憩1m,2x20s" << 0 << 2 << qint64(20000) << "2/2 · 20秒";
    }
    void progressThroughThePlan()
    {
        QFETCH(QString, plan);
        QFETCH(int, start);
        QFETCH(int, drawing);
        QFETCH(qint64, limit);
        QFETCH(QString, text);
        TPlanProgress progress;
        progress.SetPlan(*TPlan::Parse(plan), start);
        QCOMPARE(progress.LimitOf(drawing), limit);
        QCOMPARE(progress.Text(drawing, limit), text);
        progress.Restart();
        QCOMPARE(progress.LimitOf(0), TPlan::Parse(plan)->PlaceOf(0).LimitMs);
    }
};

QTEST_MAIN(TestPlan)
#include "tst_plan.moc"
