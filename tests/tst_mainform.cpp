#include "FormFixture.h"
#include "app/Application.h"
#include "app/canvas/CanvasView.h"
#include "app/plan/CountdownBar.h"
#include "app/Drawer.h"
#include "app/ErrorReport.h"
#include "app/MainUnit.h"
#include "app/plan/PlanDialog.h"
#include "app/study/ReferenceWindow.h"
#include "app/ThumbnailList.h"
#include "journal/Journal.h"
#include "practice/ElapsedTime.h"
#include "raster/Error.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QtTest>

class TestMainForm : public QObject
{
    Q_OBJECT

private slots:
    void startUp()
    {
        TFormFixture f;
        QVERIFY(QTest::qWaitForWindowExposed(f.Form.get()));
        QCOMPARE(f.Form->windowTitle(), "名前は決まっていません");
        QCOMPARE(f.Form->size(), QSize(668, 727));
        QCOMPARE(f.Text("DrawTimeText"), "00:00.000");
        QCOMPARE(f.Text("TotalDrawTimeText"), "00:00.000");
        QCOMPARE(f.Text("NextCountText"), "0");
        QCOMPARE(f.Text("Text1"), "経過時間");
        QCOMPARE(f.Text("Text2"), "総経過時間");
        QCOMPARE(f.Text("NextCountTextLabel"), "描いた枚数");
        QVERIFY(!f.Button("UsePenButton")->isEnabled());
        QVERIFY(f.Button("UseEraserButton")->isEnabled());
        QCOMPARE(f.Button("Finish")->text(), "結果を保存");
        QCOMPARE(f.Button("StartButton")->text(), "リセット");
        QCOMPARE(f.Button("Next")->geometry(), QRect(586, 0, 80, 49));
        QCOMPARE(f.Canvas()->geometry(), QRect(0, 31, 667, 667));
        QCOMPARE(f.Pixels().size(), QSize(667, 667));
        QVERIFY(AllWhite(f.Pixels()));
        QVERIFY(f.Drawer()->IsClosed());
        QVERIFY(!f.Form->ClocksRunning());
    }

    void strokeDrawsAndStartsTheClocks()
    {
        TFormFixture f;
        f.Stroke(QPoint(100, 300), QPoint(300, 300));
        QCOMPARE(f.Pixels().pixel(200, 300), 0xFF000000u);
        QCOMPARE(f.Pixels().pixel(200, 301), 0xFFFFFFFFu);
        QVERIFY(f.Form->ClocksRunning());
        f.Clock.Advance(1500);
        QTRY_COMPARE(f.Text("DrawTimeText"), "00:01.500");
        QCOMPARE(f.Text("TotalDrawTimeText"), "00:01.500");

        // The eraser, chosen by its button, wipes the line.
        f.Click("UseEraserButton");
        QVERIFY(f.Button("UsePenButton")->isEnabled());
        QVERIFY(!f.Button("UseEraserButton")->isEnabled());
        f.Stroke(QPoint(200, 250), QPoint(200, 350));
        QCOMPARE(f.Pixels().pixel(200, 300), 0xFFFFFFFFu);
        QCOMPARE(f.Pixels().pixel(100, 300), 0xFF000000u);
    }

    // A finger draws through the mouse events Qt makes for it: each sample once, marked as touch.
    void touchDrawsOnce()
    {
        TFormFixture f;
        static QPointingDevice* screen = QTest::createTouchDevice();
        QSignalSpy downs(f.Canvas(), &TCanvasView::MouseDown);
        QSignalSpy moves(f.Canvas(), &TCanvasView::MouseMove);
        QWindow* w = f.Form->windowHandle();
        const QPoint origin = f.Canvas()->mapTo(f.Form.get(), QPoint(0, 0));
        QTest::touchEvent(w, screen).press(0, origin + QPoint(100, 200));
        QTest::touchEvent(w, screen).move(0, origin + QPoint(200, 200));
        QTest::touchEvent(w, screen).move(0, origin + QPoint(300, 200));
        QTest::touchEvent(w, screen).release(0, origin + QPoint(300, 200));
        QCOMPARE(downs.size(), 1);
        QCOMPARE(moves.size(), 2);
        QVERIFY(moves.first().at(0).value<TShiftState>() & ssTouch);
        QCOMPARE(DarkBox(f.Pixels()), QRect(QPoint(100, 200), QPoint(299, 200)));
        QVERIFY(f.Form->ClocksRunning());
    }

    void rightDragDrawsNothing()
    {
        TFormFixture f;
        QTest::mousePress(f.Canvas(), Qt::RightButton, {}, QPoint(100, 100));
        QTest::mouseMove(f.Canvas(), QPoint(200, 200));
        QTest::mouseRelease(f.Canvas(), Qt::RightButton, {}, QPoint(200, 200));
        QVERIFY(AllWhite(f.Pixels()));
        QVERIFY(!f.Form->ClocksRunning());
    }

    void nextRightAfterReset()
    {
        TFormFixture f;
        f.Click("Next");
        f.Click("Next");
        const QList<TFinishedDrawing>& thumbs = f.Form->Thumbnails();
        QCOMPARE(thumbs.size(), 2);
        QCOMPARE(f.Text("NextCountText"), "2");
        QVERIFY(!f.Form->ClocksRunning());
        QCOMPARE(f.List()->count(), 2);
        QCOMPARE(f.List()->item(0)->text(), "00:00.000");
        QCOMPARE(f.List()->item(1)->text(), "00:00.000");
        // White under the stamp, the same stamp on both.
        QVERIFY(AllWhite(thumbs[0].Image(), QRect(0, 40, 512, 472)));
        QCOMPARE(thumbs[0].Image(), thumbs[1].Image());
        QCOMPARE(f.Text("DrawTimeText"), "00:00.000");
    }

    void nextFinishesADrawing()
    {
        TFormFixture f;
        f.Stroke(QPoint(50, 500), QPoint(600, 500));
        f.Clock.Advance(61234);
        QTRY_COMPARE(f.Text("DrawTimeText"), "01:01.234");
        f.Click("UseEraserButton");
        f.Click("Next");

        const QString shown = f.Text("DrawTimeText");
        QCOMPARE(shown, "01:01.234");
        QCOMPARE(f.List()->item(0)->text(), shown);
        const QImage thumb = f.Form->Thumbnails().first().Image();
        const QRect stamp = DarkBox(thumb, QRect(0, 0, 512, 40));
        QVERIFY(!stamp.isEmpty() && stamp.left() < 8 && stamp.top() < 12);
        // The line drawn at y 500 of 667 lands at 500 × 512 / 667 ≈ 384.
        QVERIFY(!DarkBox(thumb, QRect(0, 370, 512, 30)).isEmpty());

        QVERIFY(AllWhite(f.Pixels()));
        QCOMPARE(f.Pixels().size(), QSize(667, 667));
        QVERIFY(!f.Button("UsePenButton")->isEnabled());
        QVERIFY(!f.Form->ClocksRunning());
        QCOMPARE(f.Text("NextCountText"), "1");
        QCOMPARE(f.List()->currentRow(), 0);

        // The pause until the next press counts nowhere.
        f.Clock.Advance(100000);
        f.Stroke(QPoint(100, 100), QPoint(120, 120));
        f.Clock.Advance(1000);
        QTRY_COMPARE(f.Text("DrawTimeText"), "00:01.000");
        QCOMPARE(f.Text("TotalDrawTimeText"), "01:02.234");
    }

    void resizingRefitsTheCanvas_data()
    {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QRect>("canvas");
        QTest::newRow("wider") << QSize(900, 727) << QRect(85, 0, 729, 729);
        QTest::newRow("narrower") << QSize(500, 727) << QRect(0, 115, 499, 499);
        QTest::newRow("squeezed to nothing") << QSize(1, 1) << QRect(0, 1, 0, 0);
    }
    void resizingRefitsTheCanvas()
    {
        QFETCH(QSize, client);
        QFETCH(QRect, canvas);
        TFormFixture f;
        f.Stroke(QPoint(10, 10), QPoint(40, 10));
        const QRect finish = f.Button("Finish")->geometry();
        const QRect eraser = f.Button("UseEraserButton")->geometry();
        f.Form->resize(client);
        QTRY_COMPARE(f.Form->size(), client);
        QCOMPARE(f.Canvas()->geometry(), canvas);
        QCOMPARE(f.Pixels().size(), canvas.size());
        QCOMPARE(f.Button("Next")->geometry().topLeft(), QPoint(client.width() - 82, 0));
        QCOMPARE(f.Button("Finish")->geometry(), finish);
        QCOMPARE(f.Button("UseEraserButton")->geometry(), eraser);
        // A stroke on a canvas squeezed to nothing draws nothing and fails nothing.
        QTest::mousePress(f.Canvas(), Qt::LeftButton, {}, QPoint(0, 0));
        QTest::mouseMove(f.Canvas(), QPoint(5, 5));
        QTest::mouseRelease(f.Canvas(), Qt::LeftButton, {}, QPoint(5, 5));
        f.Form->resize(668, 727);
        QTRY_COMPARE(f.Pixels().size(), QSize(667, 667));
    }

    // The strip at the left edge belongs to the drawer: a press there neither draws nor presses
    // "結果を保存"; a drag from it pulls the drawer out, showing the newest entry.
    void drawerEdge()
    {
        TFormFixture f;
        for (int i = 0; i < 8; ++i)
            f.Click("Next");
        QWindow* w = f.Form->windowHandle();
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(5, 20));  // over "結果を保存"
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(5, 300)); // over the canvas
        QCOMPARE(f.Dialogs.Log.Messages, QStringList());
        QVERIFY(!QFileInfo::exists("result"));
        QCOMPARE(f.Form->Thumbnails().size(), 8);
        QVERIFY(AllWhite(f.Pixels()));
        QVERIFY(f.Drawer()->IsClosed());

        QTest::mousePress(w, Qt::LeftButton, {}, QPoint(5, 300));
        for (int x = 20; x <= 200; x += 30)
            QTest::mouseMove(w, QPoint(x, 300));
        QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(200, 300));
        QTRY_VERIFY(f.Drawer()->IsOpen());
        TThumbnailListView* list = f.List();
        QVERIFY(list->isVisible());
        QCOMPARE(list->currentRow(), 7);
        QVERIFY(list->viewport()->rect().intersects(list->visualItemRect(list->item(7))));

        // A click on the shade closes it.
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(400, 400));
        QTRY_VERIFY(f.Drawer()->IsClosed());
        QVERIFY(AllWhite(f.Pixels()));
    }

    void slowDragOpensByHowMuchShows_data()
    {
        QTest::addColumn<int>("releaseX");
        QTest::addColumn<bool>("open");
        QTest::newRow("70 % out") << 5 + 140 << true;
        QTest::newRow("half out") << 5 + 90 << false;
    }
    void slowDragOpensByHowMuchShows()
    {
        QFETCH(int, releaseX);
        QFETCH(bool, open);
        TFormFixture f;
        QWindow* w = f.Form->windowHandle();
        QTest::mousePress(w, Qt::LeftButton, {}, QPoint(5, 300));
        QTest::mouseMove(w, QPoint(releaseX - 20, 300));
        QTest::mouseMove(w, QPoint(releaseX, 300));
        QTest::qWait(400); // standing still: no fling
        QTest::mouseMove(w, QPoint(releaseX, 300));
        QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(releaseX, 300));
        if (open)
            QTRY_VERIFY(f.Drawer()->IsOpen());
        else
            QTRY_VERIFY(f.Drawer()->IsClosed());
    }

    void handlerErrorsAreShown()
    {
        TFakeDialogScope dialogs;
        struct TThrower : QObject
        {
            bool event(QEvent*) override { throw EError(QStringLiteral("書き込めません")); }
        } thrower;
        QEvent event(QEvent::User);
        QCoreApplication::sendEvent(&thrower, &event);
        QCoreApplication::sendEvent(&thrower, &event);
        // The program goes on; a message that ends past "." gets one.
        QCOMPARE(dialogs.Log.Errors, (QStringList{"書き込めません.", "書き込めません."}));
        ShowErrorMessage(QStringLiteral("disk full."));
        QCOMPARE(dialogs.Log.Errors.last(), "disk full.");
    }

    void saveWithNothingToSave()
    {
        TFormFixture f;
        f.Click("Finish");
        QCOMPARE(f.Dialogs.Log.Messages, QStringList{"まだ開始していないか0枚です"});
        QCOMPARE(f.Form->SavesStarted(), 0);
        QVERIFY(!QFileInfo::exists("result"));
    }

    // "結果を保存" during the first drawing: it becomes the one thumbnail of one sheet, and the
    // practice starts again; a second press finds nothing to save.
    void saveDuringTheFirstDrawing()
    {
        TFormFixture f;
        f.Stroke(QPoint(100, 100), QPoint(500, 100));
        f.Clock.Advance(2000);
        QTRY_COMPARE(f.Text("DrawTimeText"), "00:02.000");
        f.Click("Finish");
        const QStringList sheets = QDir("result").entryList({"*.png"});
        QCOMPARE(sheets, QStringList{"20240307_143015_1.png"});
        const QImage sheet("result/" + sheets.first());
        QVERIFY(!DarkBox(sheet, QRect(2, 40, 500, 470)).isEmpty()); // the line, in cell 0
        QVERIFY(AllWhite(sheet, QRect(514, 2, 500, 500)));
        QVERIFY(!f.Form->IsSaving() && !f.Form->LastSaveFailed());

        QVERIFY(f.Form->Thumbnails().isEmpty());
        QVERIFY(AllWhite(f.Pixels()));
        QCOMPARE(f.Text("DrawTimeText"), "00:00.000");
        QCOMPARE(f.Text("TotalDrawTimeText"), "00:00.000");
        QCOMPARE(f.Text("NextCountText"), "0");
        QCOMPARE(f.List()->count(), 0);
        QVERIFY(f.Dialogs.Log.Messages.isEmpty());

        f.Click("Finish");
        QCOMPARE(f.Dialogs.Log.Messages, QStringList{"まだ開始していないか0枚です"});
    }

    void busyCursorDuringSave()
    {
        TFormFixture f;
        Qt::CursorShape seen = Qt::ArrowCursor;
        f.OnNow = [&] {
            if (const QCursor* c = QGuiApplication::overrideCursor())
                seen = c->shape();
        };
        f.Click("Next");
        f.Click("Finish");
        QCOMPARE(seen, Qt::WaitCursor);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void resetAsksFirst()
    {
        TFormFixture f;
        f.Stroke(QPoint(100, 100), QPoint(200, 100));
        f.Click("Next");
        f.Stroke(QPoint(100, 200), QPoint(200, 200));
        f.Dialogs.Log.Answers = {mrNo};
        f.Click("StartButton");
        QCOMPARE(f.Dialogs.Log.Questions, QStringList{"いままでの途中経過は破棄されますがよろしいですか？"});
        QCOMPARE(f.Form->Thumbnails().size(), 1);
        QVERIFY(f.Form->ClocksRunning());
        QCOMPARE(f.Pixels().pixel(150, 200), 0xFF000000u);

        f.Dialogs.Log.Answers = {mrYes};
        f.Click("StartButton");
        QVERIFY(f.Form->Thumbnails().isEmpty());
        QVERIFY(!f.Form->ClocksRunning());
        QVERIFY(AllWhite(f.Pixels()));
        QCOMPARE(f.Text("NextCountText"), "0");
        QCOMPARE(f.Text("DrawTimeText"), "00:00.000");
        QVERIFY(!QFileInfo::exists("result")); // discarded, not saved
    }

    void closeAnsweredNo()
    {
        TFormFixture f;
        f.Stroke(QPoint(100, 100), QPoint(200, 100));
        QVERIFY(!f.Close());
        QCOMPARE(f.Dialogs.Log.Questions, QStringList{"終了してもよろしいですか？"});
        QVERIFY(f.Form->isVisible());
        QVERIFY(f.Form->ClocksRunning());
        QVERIFY(!QFileInfo::exists("result"));
    }

    void closeAnsweredYes_data()
    {
        QTest::addColumn<bool>("drawing");
        QTest::newRow("with nothing") << false;
        QTest::newRow("during a drawing") << true;
    }
    void closeAnsweredYes()
    {
        QFETCH(bool, drawing);
        TFormFixture f;
        if (drawing)
            f.Stroke(QPoint(100, 100), QPoint(600, 100));
        f.Dialogs.Log.Answers = {mrYes};
        QVERIFY(f.Close());
        QCOMPARE(QFileInfo::exists("result"), drawing);
        if (drawing) {
            const QImage sheet("result/20240307_143015_1.png");
            QVERIFY(!DarkBox(sheet, QRect(2, 40, 500, 470)).isEmpty());
        }
    }

    // A save that cannot write says so; the practice keeps every drawing, and once the fault is
    // gone the next save writes them all.
    void failedSaveKeepsThePractice()
    {
        TFormFixture f;
        for (int i = 0; i < 3; ++i)
            f.Click("Next");
        f.Stroke(QPoint(100, 100), QPoint(200, 100));
        QFile blocker("result");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        f.Click("Finish");
        QCOMPARE(f.Dialogs.Log.Messages.size(), 1);
        QVERIFY(f.Dialogs.Log.Messages.first().startsWith("保存に失敗しました\n"));
        QCOMPARE(f.Form->Thumbnails().size(), 4);
        QCOMPARE(f.Text("NextCountText"), "4");
        QCOMPARE(f.List()->count(), 4);
        QVERIFY(f.Form->LastSaveFailed());

        // Closing fails the same way: an error, and the window stays.
        f.Dialogs.Log.Answers = {mrYes};
        QVERIFY(!f.Close());
        QCOMPARE(f.Dialogs.Log.Errors.size(), 1);
        QCOMPARE(f.Form->Thumbnails().size(), 4);

        QFile::remove("result");
        f.Click("Finish");
        QCOMPARE(f.Dialogs.Log.Messages.size(), 1);
        const QImage sheet("result/20240307_143015_1.png");
        for (int cell = 0; cell < 4; ++cell)
            QVERIFY(!DarkBox(sheet, QRect(512 * cell, 2, 512, 40)).isEmpty()); // four stamps
        QVERIFY(AllWhite(sheet, QRect(512 * 4 + 2, 2, 500, 500)));
        QVERIFY(f.Form->Thumbnails().isEmpty());
    }

    // The boxes themselves: "確認" with "はい" then "いいえ", where "いいえ" is the default and has
    // the focus, so Enter answers No.
    void realConfirmationBox()
    {
        TModalResult answer = 0;
        QStringList seen;
        QTimer::singleShot(50, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            QAbstractButton* yes = BoxButton(box, "はい");
            QAbstractButton* no = BoxButton(box, "いいえ");
            seen << box->windowTitle() << box->text() << QString::number(box->buttons().size());
            if (yes && no) {
                seen << (yes->mapToGlobal(QPoint()).x() < no->mapToGlobal(QPoint()).x() ? "yes-first"
                                                                                        : "no-first");
                seen << (box->defaultButton() == no ? "no-default" : "other-default");
                seen << (box->focusWidget() == no ? "no-focus" : "other-focus");
            }
            QTest::keyClick(box, Qt::Key_Return);
        });
        MessageDialog(QStringLiteral("終了してもよろしいですか？"), TMsgDlgType::mtConfirmation, mbYes | mbNo,
                      mbNo, 0, [&](TModalResult r) { answer = r; });
        QCOMPARE(seen, (QStringList{"確認", "終了してもよろしいですか？", "2", "yes-first", "no-default",
                                    "no-focus"}));
        QCOMPARE(answer, mrNo);

        QTimer::singleShot(50, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box)
                QTest::mouseClick(BoxButton(box, "はい"), Qt::LeftButton);
        });
        MessageDialog(QStringLiteral("?"), TMsgDlgType::mtConfirmation, mbYes | mbNo, mbNo, 0,
                      [&](TModalResult r) { answer = r; });
        QCOMPARE(answer, mrYes);
    }

    void realErrorBox()
    {
        QStringList seen;
        QTimer::singleShot(50, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen << box->windowTitle() << box->text();
            for (QAbstractButton* b : box->buttons())
                seen << b->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        ShowErrorMessage(QStringLiteral("書き込めません"));
        QCOMPARE(seen, (QStringList{"エラー", "書き込めません.", "OK"}));
    }

    // The program ends with drawings unsaved (as a crash or a kill would leave them): the next
    // start offers them, and Yes brings back the drawings, their stamps, the total, the drawing
    // in progress and stopped clocks, exactly as after "Next".
    void unsavedPracticeIsRecovered()
    {
        TFormFixture f;
        for (int i = 0; i < 3; ++i) {
            f.Stroke(QPoint(100, 100 + 150 * i), QPoint(500, 120 + 150 * i));
            f.Clock.Advance(1000 + 111 * i);
            QTRY_COMPARE(f.Text("DrawTimeText"), ElapsedTimeText(1000 + 111 * i));
            f.Click("Next");
            f.Clock.Advance(5000); // a pause: it never counts
        }
        const QList<TFinishedDrawing> before = f.Form->Thumbnails();
        QCOMPARE(f.Text("TotalDrawTimeText"), "00:03.333");
        f.Stroke(QPoint(300, 300), QPoint(300, 600));
        f.Clock.Advance(700);
        const QImage canvas = f.Pixels().copy();
        // The drawing in progress reaches the journal at the next snapshot.
        f.Form->findChild<QTimer*>("SnapshotTimer")->start(10);
        const QString folder = f.Form->PracticeJournal().Folder();
        QTRY_VERIFY(QFile::exists(folder + "/canvas-000004.png"));

        f.Dialogs.Log.Answers = {mrYes};
        f.Restart();
        QCOMPARE(f.Dialogs.Log.Questions.last(),
                 "前回の練習が保存されないまま残っています（3枚）。復元しますか？");
        const QList<TFinishedDrawing>& after = f.Form->Thumbnails();
        QCOMPARE(after.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(after[i].Stored(), before[i].Stored());
            QCOMPARE(after[i].Stamp(), ElapsedTimeText(1000 + 111 * i));
            QCOMPARE(f.List()->item(i)->text(), after[i].Stamp());
        }
        QCOMPARE(f.Text("NextCountText"), "3");
        // The unfinished drawing keeps its time; the clocks stand still until the next press.
        QCOMPARE(f.Text("DrawTimeText"), "00:00.700");
        QCOMPARE(f.Text("TotalDrawTimeText"), "00:04.033");
        QCOMPARE(f.Pixels(), canvas);
        QVERIFY(!f.Form->ClocksRunning());
        QVERIFY(f.Dialogs.Log.Messages.isEmpty());

        // The next press carries on from there; the pause before it never counts.
        f.Clock.Advance(60000);
        f.Stroke(QPoint(100, 650), QPoint(200, 650));
        f.Clock.Advance(500);
        QTRY_COMPARE(f.Text("TotalDrawTimeText"), "00:04.533");
        QCOMPARE(f.Text("DrawTimeText"), "00:01.200");

        // The recovered practice is journalled as the running one: a second end brings back all four.
        f.Click("Next");
        f.Dialogs.Log.Answers = {mrYes};
        f.Restart();
        QCOMPARE(f.Form->Thumbnails().size(), 4);
        QCOMPARE(f.Form->Thumbnails()[3].Stamp(), "00:01.200");
        QCOMPARE(f.Text("TotalDrawTimeText"), "00:04.533");

        // Saved: the journal goes, and the next start asks nothing.
        f.Click("Finish");
        QVERIFY(QFile::exists("result/20240307_143015_1.png"));
        const int asked = f.Dialogs.Log.Questions.size();
        f.Restart();
        QCOMPARE(f.Dialogs.Log.Questions.size(), asked);
        QVERIFY(f.Form->Thumbnails().isEmpty());
    }

    // What ends a practice for good also ends its journal; No to the offer throws it away.
    void finishedPracticeLeavesNoJournal_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("save") << "save";
        QTest::newRow("reset answered Yes") << "reset";
        QTest::newRow("close answered Yes") << "close";
        QTest::newRow("recovery answered No") << "no";
    }
    void finishedPracticeLeavesNoJournal()
    {
        QFETCH(QString, how);
        TFormFixture f;
        f.Stroke(QPoint(100, 100), QPoint(200, 200));
        f.Click("Next");
        f.Stroke(QPoint(100, 300), QPoint(200, 300));
        f.Form->findChild<QTimer*>("SnapshotTimer")->start(10);
        QTRY_VERIFY(QFile::exists(f.Form->PracticeJournal().Folder() + "/canvas-000002.png"));
        if (how == "save")
            f.Click("Finish");
        if (how == "reset") {
            f.Dialogs.Log.Answers = {mrYes};
            f.Click("StartButton");
        }
        if (how == "close") {
            f.Dialogs.Log.Answers = {mrYes};
            QVERIFY(f.Close());
        }
        if (how == "no") {
            f.Restart();
            QCOMPARE(f.Dialogs.Log.Questions.size(), 1);
        }
        const int asked = f.Dialogs.Log.Questions.size();
        f.Restart();
        QCOMPARE(f.Dialogs.Log.Questions.size(), asked);
        QVERIFY(f.Form->Thumbnails().isEmpty());
        QVERIFY(AllWhite(f.Pixels()));
        f.Form.reset();
        QCOMPARE(f.LeftJournals(), QStringList());
    }

    // A state folder that cannot be written: one message with the reason, the practice goes on,
    // the save is unharmed, and once the folder can be written the journal catches up.
    void unwritableJournal()
    {
        TFormFixture f;
        QFile blocker(f.StateHome() + "/tenarai");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        for (int i = 0; i < 3; ++i) {
            f.Stroke(QPoint(100, 100 + 50 * i), QPoint(200, 100 + 50 * i));
            f.Click("Next");
        }
        f.Form->PracticeJournal().WaitForWrites();
        QTRY_COMPARE(f.Dialogs.Log.Messages.size(), 1);
        const QStringList lines = f.Dialogs.Log.Messages.first().split('\n');
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0],
                 "練習の一時保存ができません。このまま続けられますが、異常終了すると描いた絵は失われます。");
        QVERIFY2(lines[1].contains("フォルダーのはずの場所にファイルがあります"), qPrintable(lines[1]));
        QCOMPARE(f.Form->Thumbnails().size(), 3);

        QFile::remove(f.StateHome() + "/tenarai");
        f.Click("Next");
        f.Form->PracticeJournal().WaitForWrites();
        for (int n = 1; n <= 4; ++n)
            QVERIFY(
                QFile::exists(f.Form->PracticeJournal().Folder() + QString("/drawing-00000%1.png").arg(n)));
        QTest::qWait(50);
        QCOMPARE(f.Dialogs.Log.Messages.size(), 1);

        f.Click("Finish");
        const QImage sheet("result/20240307_143015_1.png");
        QCOMPARE(sheet.size(), QSize(4096, 4096));
        for (int cell = 0; cell < 3; ++cell)
            QVERIFY(!AllWhite(sheet, QRect(512 * cell + 2, 60, 500, 400)));
    }

    // With an injected clock: each drawing of the plan ends by itself exactly at its limit,
    // the total is the sum of the limits, and past the plan's end there is no limit.
    void planFinishesDrawingsAtTheLimit()
    {
        TFormFixture f;
        f.Form->SetPlan(*TPlan::Parse("2x30s,1x1m"), false);
        QVERIFY(f.Bar()->isVisible());
        QCOMPARE(f.Bar()->Text(), "1/2 · 30秒");
        // Time before the first press never counts.
        f.Clock.Advance(7000);
        const QList<std::pair<qint64, QString>> drawings{
            {30000, "00:30.000"}, {30000, "00:30.000"}, {60000, "01:00.000"}};
        const QStringList places{"2/2 · 30秒", "1/1 · 1分", "プラン終了"};
        for (int i = 0; i < 3; ++i) {
            f.Stroke(QPoint(100, 100 + 100 * i), QPoint(300, 100 + 100 * i));
            f.Clock.Advance(drawings[i].first - 4000);
            QTRY_VERIFY(f.Bar()->Warning());
            QVERIFY(f.Bar()->Fraction() < 0.2);
            f.Clock.Advance(4037); // the timer's tick comes a little after the limit
            QTRY_COMPARE(f.Text("NextCountText"), QString::number(i + 1));
            QCOMPARE(f.Form->Thumbnails()[i].Stamp(), drawings[i].second);
            QCOMPARE(f.Text("DrawTimeText"), drawings[i].second);
            QVERIFY(!f.Form->ClocksRunning());
            QVERIFY(AllWhite(f.Pixels()));
            QCOMPARE(f.Bar()->Text(), places[i]);
            f.Clock.Advance(3000); // a pause
        }
        QCOMPARE(f.Text("TotalDrawTimeText"), "02:00.000");
        QCOMPARE(f.Form->Thumbnails()[2].TotalMs(), 120000);

        // After the plan: no limit, no box.
        f.Stroke(QPoint(100, 500), QPoint(300, 500));
        f.Clock.Advance(200000);
        QTRY_COMPARE(f.Text("DrawTimeText"), "03:20.000");
        QVERIFY(f.Form->ClocksRunning());
        QCOMPARE(f.Text("NextCountText"), "3");
        QVERIFY(f.Dialogs.Log.Messages.isEmpty());

        // A reset starts the plan again; so does a save.
        f.Dialogs.Log.Answers = {mrYes};
        f.Click("StartButton");
        QCOMPARE(f.Bar()->Text(), "1/2 · 30秒");
        f.Stroke(QPoint(100, 100), QPoint(300, 100));
        f.Clock.Advance(30000);
        QTRY_COMPARE(f.Text("NextCountText"), "1");
        f.Click("Finish");
        QCOMPARE(f.Bar()->Text(), "1/2 · 30秒");
        QVERIFY(QFile::exists("result/20240307_143015_1.png"));
    }

    // The program's menu: every entry with its keys, the plans, and the remembered choices.
    void programMenu()
    {
        TFormFixture f;
        QStringList entries;
        for (QAction* a : f.Form->ProgramMenu()->actions())
            if (!a->isSeparator())
                entries << a->text() + "|" + a->shortcut().toString();
        QCOMPARE(entries, (QStringList{"練習プラン|",
                                       "時間切れの音|",
                                       "残り時間の合図|",
                                       "一時停止|Space",
                                       "+30秒|+",
                                       "元に戻す|Ctrl+Z",
                                       "やり直し|Ctrl+Shift+Z",
                                       "ペン|P",
                                       "消しゴム|E",
                                       "左右反転表示|M",
                                       "Next|N",
                                       "結果を保存|Ctrl+S",
                                       "リセット|",
                                       "参考画像フォルダーを開く…|",
                                       "参考画像をスキップ|S",
                                       "参考画像を閉じる|",
                                       "グリッド|G",
                                       "見る|V",
                                       "振り返り|R",
                                       "プラン終了後に振り返る|",
                                       "練習の記録|H",
                                       "結果フォルダーを開く|",
                                       "English|",
                                       "Tenarai について|"}));
        QCOMPARE(f.Command("RedoCommand")->shortcuts().value(1), QKeySequence(Qt::CTRL | Qt::Key_Y));
        QCOMPARE(f.Command("NextCommand")->shortcuts().value(1), QKeySequence(Qt::Key_Right));
        QStringList plans;
        for (QAction* a : f.Form->findChild<QMenu*>("PlanMenu")->actions())
            if (!a->isSeparator())
                plans << a->text();
        QCOMPARE(plans,
                 (QStringList{"制限なし", "30秒", "1分", "2分", "5分", "10分",
                              "クラス（30秒×10、1分×5、2分×3、5分×2）",
                              "クラス（30秒×10、休憩1分、1分×5、休憩1分、2分×3、5分×2）", "カスタム…"}));
        QVERIFY(f.Command("TimeUpSoundCommand")->isChecked());
        QVERIFY(!f.Bar()->isVisible());

        // A preset from the menu; "カスタム…" through its dialog; both remembered.
        f.Form->findChild<QMenu*>("PlanMenu")->actions()[6]->trigger();
        QCOMPARE(f.Form->Plan().Text(), "10x30s,5x1m,3x2m,2x5m");
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<TPlanDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->Edit()->setText("3x");
            QCOMPARE(dialog->Problem()->text(), "「3x」: 時間がありません");
            QVERIFY(!dialog->Buttons()->buttons().first()->isEnabled());
            dialog->Edit()->setText("3x45s, 2m");
            QVERIFY(dialog->Problem()->text().isEmpty());
            dialog->Buttons()->buttons().first()->click();
        });
        f.Command("CustomPlanCommand")->trigger();
        QCOMPARE(f.Form->Plan().Text(), "3x45s,2m");
        QVERIFY(f.Command("CustomPlanCommand")->isChecked());
        f.Command("TimeUpSoundCommand")->trigger();
        f.Restart();
        QCOMPARE(f.Form->Plan().Text(), "3x45s,2m");
        QVERIFY(!f.Command("TimeUpSoundCommand")->isChecked());
        QCOMPARE(f.Bar()->Text(), "1/3 · 45秒");
        // The bar sits in the band below the canvas, clear of the top band.
        QCOMPARE(f.Bar()->geometry(),
                 QRect(0, 727 - TCountdownBar::BarHeight, 668, TCountdownBar::BarHeight));
        QVERIFY(!f.Bar()->geometry().intersects(f.Canvas()->geometry()));
        f.Form->resize(1000, 600);
        QVERIFY(f.Bar()->geometry().top() >= 49);
        QVERIFY(!f.Bar()->geometry().intersects(
            QRect(f.Canvas()->mapTo(f.Form.get(), QPoint()), f.Canvas()->size())));
    }

    // Keys while the window is active: undo and redo of strokes, the tools, Next and the save.
    void keys()
    {
        TFormFixture f;
        QVERIFY(QTest::qWaitForWindowActive(f.Form.get()));
        QVERIFY(!f.Command("UndoCommand")->isEnabled());
        f.Stroke(QPoint(100, 200), QPoint(500, 200));
        f.Stroke(QPoint(100, 300), QPoint(500, 300));
        QVERIFY(f.Command("UndoCommand")->isEnabled());
        QVERIFY(!f.Command("RedoCommand")->isEnabled());
        f.Key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.Pixels().pixel(300, 300), 0xFFFFFFFFu);
        QCOMPARE(f.Pixels().pixel(300, 200), 0xFF000000u);
        QVERIFY(f.Command("RedoCommand")->isEnabled());
        QVERIFY(f.Form->ClocksRunning()); // undo never touches the clocks
        f.Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.Pixels().pixel(300, 300), 0xFF000000u);
        f.Key(Qt::Key_Z, Qt::ControlModifier);
        f.Key(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(f.Pixels().pixel(300, 300), 0xFF000000u);

        f.Key(Qt::Key_E);
        QVERIFY(!f.Button("UseEraserButton")->isEnabled());
        QVERIFY(f.Command("EraserCommand")->isChecked());
        f.Key(Qt::Key_P);
        QVERIFY(!f.Button("UsePenButton")->isEnabled());

        // Next clears the history; so does a resize.
        f.Key(Qt::Key_N);
        QCOMPARE(f.Text("NextCountText"), "1");
        QVERIFY(!f.Command("UndoCommand")->isEnabled());
        f.Stroke(QPoint(100, 200), QPoint(500, 200));
        f.Form->resize(700, 800);
        QTRY_COMPARE(f.Pixels().size(), QSize(699, 699));
        QVERIFY(!f.Command("UndoCommand")->isEnabled());
        f.Key(Qt::Key_Right);
        QCOMPARE(f.Text("NextCountText"), "2");
        f.Key(Qt::Key_S, Qt::ControlModifier);
        QVERIFY(QFile::exists("result/20240307_143015_1.png"));
        QCOMPARE(f.Text("NextCountText"), "0");
    }

    // References through the window: each finished drawing records the reference on show with
    // its view, "スキップ" moves on without finishing, the folder is remembered, and a folder
    // without images says so.
    void referencesThroughTheWindow()
    {
        TFormFixture f;
        QTemporaryDir refs;
        for (int i = 0; i < 3; ++i) {
            QImage image(60 + 10 * i, 40, QImage::Format_RGB32);
            image.fill(QColor::fromHsv(100 * i, 255, 255));
            QVERIFY(image.save(refs.filePath(QString("%1.png").arg(i))));
        }
        QVERIFY(!f.Command("SkipReferenceCommand")->isEnabled());
        f.Form->OpenReferences(refs.path());
        TReferenceWindow* window = f.Form->ReferenceWindow();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->windowTitle(), "参考画像");
        QTRY_VERIFY(!window->View().isNull());
        // Beside the main window, never over it.
        QVERIFY(!window->frameGeometry().intersects(f.Form->frameGeometry()));

        window->findChild<QAction*>("MirrorCommand")->trigger();
        const QImage first = window->View();
        f.Stroke(QPoint(100, 100), QPoint(200, 100));
        f.Click("Next");
        QTRY_VERIFY(window->View() != first);
        const TReferenceLink link = f.Form->Thumbnails()[0].Reference();
        QVERIFY(link.Path.startsWith(refs.path()));
        QVERIFY(link.Mirror && !link.Grey);

        const QImage second = window->View();
        QVERIFY(QTest::qWaitForWindowActive(f.Form.get()));
        QSignalSpy skips(f.Command("SkipReferenceCommand"), &QAction::triggered);
        f.Key(Qt::Key_S); // skip: a new reference, no drawing finished
        QCOMPARE(skips.size(), 1);
        QTRY_VERIFY(window->View() != second);
        QCOMPARE(f.Form->Thumbnails().size(), 1);

        // Remembered: the next start reopens the folder, with the view as it was left.
        f.Form.reset();
        f.Dialogs.Log.Answers = {mrNo};
        f.Restart();
        f.Form->ReopenReferences();
        QVERIFY(f.Form->ReferenceWindow() && f.Form->ReferenceWindow()->isVisible());
        QVERIFY(f.Form->ReferenceWindow()->Mirror());
        f.Command("CloseReferencesCommand")->trigger();
        QVERIFY(!f.Form->ReferenceWindow()->isVisible());
        f.Restart();
        f.Form->ReopenReferences();
        QVERIFY(!f.Form->ReferenceWindow());

        // A folder dropped on the window opens too; a file does not.
        QMimeData file;
        file.setUrls({QUrl::fromLocalFile(refs.filePath("0.png"))});
        QDragEnterEvent refused(QPoint(300, 300), Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f.Form.get(), &refused);
        QVERIFY(!refused.isAccepted());
        QMimeData folder;
        folder.setUrls({QUrl::fromLocalFile(refs.path())});
        QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &folder, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f.Form.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(300, 300), Qt::CopyAction, &folder, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f.Form.get(), &drop);
        QVERIFY(f.Form->ReferenceWindow()->isVisible());
        QTRY_VERIFY(f.Command("SkipReferenceCommand")->isEnabled());

        QTemporaryDir empty;
        f.Form->OpenReferences(empty.path());
        QTRY_COMPARE(f.Dialogs.Log.Messages.size(), 1);
        QCOMPARE(f.Dialogs.Log.Messages.first(),
                 "このフォルダーには読める画像がありません。\n" + QDir::toNativeSeparators(empty.path()));
        QVERIFY(!f.Form->ReferenceWindow()->isVisible());
    }

    // Sheets go where the command line says; the result folder is never made just to be shown.
    void resultFolder()
    {
        TFormFixture f;
        f.Command("OpenResultFolderCommand")->trigger();
        QCOMPARE(f.Dialogs.Log.Messages.size(), 1);
        QVERIFY(f.Dialogs.Log.Messages.first().startsWith("結果フォルダーはまだありません。"));
        QVERIFY(!QFileInfo::exists("result"));
        QDir().mkdir("sheets");
        f.Form->SetResultFolder("sheets");
        f.Stroke(QPoint(100, 100), QPoint(200, 100));
        f.Click("Finish");
        QVERIFY(QFile::exists("sheets/20240307_143015_1.png"));
        QVERIFY(!QFileInfo::exists("result"));
        f.Command("AboutCommand")->trigger();
        const QString about = f.Dialogs.Log.Messages.last();
        QVERIFY(about.contains("Tenarai 0.") && about.contains("MIT") &&
                about.contains("io.github.tenarai.Tenarai"));
    }

};

int main(int argc, char** argv)
{
    TApplication::PrepareStart();
    TApplication app(argc, argv);
    TestMainForm test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_mainform.moc"
