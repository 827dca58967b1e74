#include "FormFixture.h"
#include "app/Application.h"
#include "app/reviewer/PairView.h"
#include "app/study/ReferenceWindow.h"
#include "app/reviewer/ReviewWindow.h"
#include "practice/ElapsedTime.h"

#include <QListWidget>
#include <QSlider>

namespace {
const QList<QColor> kColours{QColor(230, 40, 40), QColor(40, 200, 60), QColor(40, 80, 230)};

// The colour of the reference file a drawing was made from: the folder's images are plain.
QColor ColourOf(const TFinishedDrawing& drawing)
{
    return kColours[QFileInfo(drawing.Reference().Path).baseName().toInt()];
}

bool Near(QRgb a, QColor b, int tolerance = 12)
{
    return qAbs(qRed(a) - b.red()) <= tolerance && qAbs(qGreen(a) - b.green()) <= tolerance &&
           qAbs(qBlue(a) - b.blue()) <= tolerance;
}

// The reference half of a grid entry, at its middle.
QRgb EntryReferencePixel(QListWidget* grid, int row)
{
    const QImage icon = grid->item(row)->icon().pixmap(grid->iconSize()).toImage();
    return icon.pixel(icon.width() * 3 / 4, icon.height() / 2);
}
} // namespace

class TestReviewWindow : public QObject
{
    Q_OBJECT

private slots:
    // R opens the review beside the main window: the practice's drawings in order, each with
    // its reference as it was shown; large, the drawing side by side or laid over it in a
    // strong colour; Escape goes back, then closes.
    void reviewOfThePractice()
    {
        TFormFixture f;
        QTemporaryDir refs;
        for (int i = 0; i < kColours.size(); ++i) {
            QImage image(80, 60, QImage::Format_RGB32);
            image.fill(kColours[i]);
            QVERIFY(image.save(refs.filePath(QString("%1.png").arg(i))));
        }
        f.Form->OpenReferences(refs.path(), false);
        QTRY_VERIFY(!f.Form->ReferenceWindow()->View().isNull());
        for (int i = 0; i < 3; ++i) {
            f.Stroke(QPoint(200, 300 + 20 * i), QPoint(460, 300 + 20 * i));
            f.Clock.Advance(1000 * (i + 1));
            QTRY_COMPARE(f.Text("DrawTimeText"), ElapsedTimeText(1000 * (i + 1)));
            const QImage shown = f.Form->ReferenceWindow()->View();
            f.Click("Next");
            QTRY_VERIFY(f.Form->ReferenceWindow()->View() != shown || i == 2);
        }

        f.Command("ReviewCommand")->trigger();
        auto* window = f.Form->findChild<TReviewWindow*>("ReviewWindow");
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->windowTitle(), "振り返り");
        QVERIFY(!window->frameGeometry().intersects(f.Form->frameGeometry()));
        QListWidget* grid = window->Grid();
        QCOMPARE(grid->count(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(grid->item(i)->text(),
                     QString("%1 · %2").arg(i + 1).arg(ElapsedTimeText(1000 * (i + 1))));
            const QColor colour = ColourOf(f.Form->Thumbnails()[i]);
            QTRY_VERIFY2(Near(EntryReferencePixel(grid, i), colour), qPrintable(QString::number(i)));
        }

        // The second pair, large: side by side, then laid over.
        window->resize(700, 700);
        grid->setCurrentRow(1);
        QTest::keyClick(grid, Qt::Key_Return);
        QVERIFY(window->PairOpen());
        TPairView* large = window->LargeView();
        QTRY_VERIFY(!large->Pair().Reference.isNull());
        window->findChild<QPushButton*>("OverlayButton")->click();
        QVERIFY(large->Overlay());
        window->findChild<QSlider*>("ReferenceOpacity")->setValue(100);
        const QImage overlay = large->grab().toImage();
        const QRectF cell = large->OverlayRect();
        const qreal toScreen = cell.width() / 512;
        // The stroke of drawing 2 ran across the canvas at y = 320; in the cell at 320 · 512 / 667.
        const QPointF ink = cell.topLeft() + QPointF(330, 320) * 512 / 667 * toScreen;
        int inked = 0;
        for (int dy = -3; dy <= 3; ++dy)
            inked += Near(overlay.pixel(ink.toPoint() + QPoint(0, dy)), QColor(0xe0, 0x10, 0x40), 40);
        QVERIFY(inked > 0);
        const QColor colour = ColourOf(f.Form->Thumbnails()[1]);
        QVERIFY(Near(overlay.pixel((cell.topLeft() + QPointF(20, cell.height() / 2)).toPoint()), colour));

        // Double-click brings the starting frame back after a drag.
        QTest::mousePress(large, Qt::LeftButton, {}, cell.center().toPoint());
        QTest::mouseMove(large, cell.center().toPoint() + QPoint(30, 10));
        QTest::mouseRelease(large, Qt::LeftButton, {}, cell.center().toPoint() + QPoint(30, 10));
        QVERIFY(large->Frame().Shift != QPointF());
        QTest::mouseDClick(large, Qt::LeftButton, {}, cell.center().toPoint());
        QCOMPARE(large->Frame().Shift, QPointF());

        // A plain colour has no edges: the fit says so and leaves the drawing.
        window->findChild<QPushButton*>("FitButton")->click();
        QTRY_COMPARE(window->FitMessage(), "合わせられませんでした");
        QCOMPARE(large->Frame().Scale, 1.0);

        QTest::keyClick(window, Qt::Key_Escape);
        QVERIFY(!window->PairOpen());
        QVERIFY(window->isVisible());
        QTest::keyClick(window, Qt::Key_Escape);
        QVERIFY(!window->isVisible());

        // Open, it follows the practice; a save empties it.
        f.Command("ReviewCommand")->trigger();
        QTRY_VERIFY(window->isVisible());
        f.Stroke(QPoint(100, 500), QPoint(200, 500));
        f.Click("Next");
        QCOMPARE(grid->count(), 4);
        f.Click("Finish");
        QCOMPARE(grid->count(), 0);
        QVERIFY(QFile::exists("result/20240307_143015_1.png"));
    }

    // When a plan ends the review opens by itself, unless the user said not to; a reset
    // empties it.
    void planEndOpensTheReview()
    {
        TFormFixture f;
        QAction* afterPlan = f.Command("ReviewAfterPlanCommand");
        QVERIFY(afterPlan->isChecked());
        f.Form->SetPlan(*TPlan::Parse("2x1s"), false);
        for (int i = 0; i < 2; ++i) {
            QVERIFY(!f.Form->findChild<TReviewWindow*>("ReviewWindow"));
            f.Stroke(QPoint(100, 100 + 50 * i), QPoint(300, 100 + 50 * i));
            f.Clock.Advance(1000);
            QTRY_COMPARE(f.Form->Thumbnails().size(), i + 1);
        }
        auto* window = f.Form->findChild<TReviewWindow*>("ReviewWindow");
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->Count(), 2);
        f.Dialogs.Log.Answers = {mrYes};
        f.Click("StartButton");
        QCOMPARE(window->Count(), 0);

        window->hide();
        afterPlan->trigger();
        f.Restart();
        QVERIFY(!f.Command("ReviewAfterPlanCommand")->isChecked());
        f.Form->SetPlan(*TPlan::Parse("1x1s"), false);
        f.Stroke(QPoint(100, 100), QPoint(300, 100));
        f.Clock.Advance(1000);
        QTRY_COMPARE(f.Form->Thumbnails().size(), 1);
        QVERIFY(!f.Form->findChild<TReviewWindow*>("ReviewWindow"));
    }
};

int main(int argc, char** argv)
{
    TApplication::PrepareStart();
    TApplication app(argc, argv);
    TestReviewWindow test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_reviewwindow.moc"
