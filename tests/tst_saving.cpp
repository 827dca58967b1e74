#include "FormFixture.h"
#include "app/recovery/JournalKeeper.h"

#include <QRegularExpression>

namespace {
void Draw(TFormFixture& f, int drawings, int y = 40)
{
    for (int i = 0; i < drawings; ++i) {
        f.Stroke(QPoint(20 + i, y), QPoint(200, y + 20 + i));
        f.Click("Next");
    }
}

// The cells of a sheet that hold a drawing, from the top-left.
int DrawnCells(const QImage& sheet)
{
    int cells = 0;
    while (cells < 64 && !DarkBox(sheet, QRect((cells % 8) * 512 + 2, (cells / 8) * 512 + 2, 508, 508)).isEmpty())
        ++cells;
    return cells;
}
} // namespace

// A save as the window runs it.
class TestSaving : public QObject
{
    Q_OBJECT

private slots:
    // While the sheets are written the window's events go on (a timer fires, the window paints)
    // and its foot says how far the save has come; the text goes once it is over.
    void saveShowsItsProgress()
    {
        TFormFixture f;
        for (int i = 0; i < 65; ++i) {
            f.Stroke(QPoint(20 + i, 40), QPoint(200, 60 + i));
            f.Click("Next");
        }
        QStringList seen;
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, [&] {
            auto* text = f.Form->findChild<QLabel*>("SaveProgressText");
            if (text && text->isVisible())
                seen << text->text();
        });
        look.start(1);
        f.Command("SaveCommand")->trigger();
        f.WaitForSave();
        look.stop();
        QVERIFY(!seen.isEmpty());
        static const QRegularExpression form(QStringLiteral("^保存中( (\\d+)/65)?$"));
        int last = 0;
        for (const QString& text : std::as_const(seen)) {
            const QRegularExpressionMatch match = form.match(text);
            QVERIFY2(match.hasMatch(), qPrintable(text));
            QVERIFY(match.captured(2).toInt() >= last);
            last = match.captured(2).toInt();
        }
        QVERIFY(!f.Form->findChild<QLabel*>("SaveProgressText")->isVisible());
        QCOMPARE(QDir("result").entryList({"*.png"}).size(), 2);
        QCOMPARE(f.Form->Thumbnails().size(), 0);
    }

    // A practice left by an earlier program is offered while a save runs: the offer waits for
    // the save's end, the save writes exactly the drawings it started with, and the practice
    // put back keeps its journal.
    void recoveryOfferWaitsForTheSave()
    {
        TFormFixture f;
        Draw(f, 2, 300);
        f.Form->FlushJournal();
        f.Restart(false); // a crash: its journal of two drawings stays
        Draw(f, 3);
        bool savingWhenRestored = true;
        connect(f.Form->findChild<TJournalKeeper*>("JournalKeeper"), &TJournalKeeper::RestoreRequested, this,
                [&] { savingWhenRestored = f.Form->IsSaving(); });
        f.Dialogs.Log.Answers = {mrYes};
        f.Command("SaveCommand")->trigger();
        QVERIFY(f.Form->IsSaving());
        f.Form->RecoverPractice();
        QTRY_VERIFY(!f.Form->IsRecovering());
        f.WaitForSave();
        QVERIFY(!savingWhenRestored);
        QCOMPARE(f.Dialogs.Log.Questions,
                 QStringList{"前回の練習が保存されないまま残っています（2枚）。復元しますか？"});

        const QStringList sheets = QDir("result").entryList({"*.png"});
        QCOMPARE(sheets, QStringList{"20240307_143015_1.png"});
        QCOMPARE(DrawnCells(QImage("result/" + sheets[0])), 3);
        QCOMPARE(f.Form->Thumbnails().size(), 2);
        QCOMPARE(f.Text("NextCountText"), "2");
        // The journal adopted for it goes on: a drawing joins it, and a crash offers all three.
        Draw(f, 1);
        f.Form->FlushJournal();
        f.Dialogs.Log.Answers = {mrYes};
        f.Restart();
        QCOMPARE(f.Form->Thumbnails().size(), 3);
    }

    // Commands that would change the practice are off while its sheets are written, and a
    // second "結果を保存" comes after the first, finding nothing to save.
    void nothingChangesThePracticeDuringASave()
    {
        TFormFixture f;
        Draw(f, 2);
        f.Command("SaveCommand")->trigger();
        for (const char* name : {"NextCommand", "ResetCommand", "UndoCommand", "OpenReferencesCommand"})
            QVERIFY2(!f.Command(name)->isEnabled(), name);
        f.Stroke(QPoint(100, 100), QPoint(300, 300));
        QVERIFY(AllWhite(f.Pixels()));
        QVERIFY(!f.Form->ClocksRunning());
        f.Command("SaveCommand")->trigger();
        f.WaitForSave();
        QCOMPARE(f.Dialogs.Log.Messages, QStringList{"まだ開始していないか0枚です"});
        QCOMPARE(QDir("result").entryList({"*.png"}).size(), 1);
        for (const char* name : {"NextCommand", "ResetCommand", "OpenReferencesCommand"})
            QVERIFY2(f.Command(name)->isEnabled(), name);
    }

    // A close request during a save: the sheets are written whole, the window asks and closes
    // after them, and nothing is left in the journal.
    void closeDuringASave()
    {
        TFormFixture f;
        Draw(f, 65);
        f.Command("SaveCommand")->trigger();
        QVERIFY(!f.Form->close());
        QVERIFY(f.Form->isVisible());
        f.Dialogs.Log.Answers = {mrYes};
        QTRY_VERIFY_WITH_TIMEOUT(!f.Form->isVisible(), 30000);
        QCOMPARE(f.Dialogs.Log.Questions, QStringList{"終了してもよろしいですか？"});
        const QStringList sheets = QDir("result").entryList({"*.png"});
        QCOMPARE(sheets, (QStringList{"20240307_143015_1.png", "20240307_143015_2.png"}));
        QCOMPARE(DrawnCells(QImage("result/" + sheets[0])), 64);
        QCOMPARE(DrawnCells(QImage("result/" + sheets[1])), 1);
        f.Form.reset();
        QCOMPARE(f.LeftJournals(), QStringList());
    }
};

QTEST_MAIN(TestSaving)
#include "tst_saving.moc"
