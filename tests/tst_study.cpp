#include "FormFixture.h"
#include "app/Application.h"
#include "app/study/ReferenceWindow.h"
#include "export/ResultSheets.h"
#include "references/ReferenceImage.h"

#include <QActionGroup>
#include <QMenu>
#include <QSet>

namespace {
QSet<int> GreyLevels(const QImage& image)
{
    QSet<int> levels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            levels << qGray(image.pixel(x, y));
    return levels;
}

// A horizontal ramp of every grey from black to white, `width` wide.
QImage Ramp(int width)
{
    QImage image(width, 20, QImage::Format_RGB32);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < 20; ++y)
            image.setPixel(x, y, qRgb(255 * x / (width - 1), 255 * x / (width - 1), 255 * x / (width - 1)));
    return image;
}
} // namespace

// The study aids of the reference window, and the grid over both windows.
class TestStudy : public QObject
{
    Q_OBJECT

private slots:
    // Flips move known pixels to known places; tones leave exactly two or three greys split at
    // the image's own median or thirds; blur turns a sharp edge into a ramp about 1 % wide.
    void filters()
    {
        QImage corners(4, 3, QImage::Format_RGB32);
        corners.fill(Qt::white);
        corners.setPixel(0, 0, qRgb(255, 0, 0));
        QCOMPARE(ViewOfReference(corners, {false, true}).pixel(3, 0), qRgb(255, 0, 0));
        QCOMPARE(ViewOfReference(corners, {false, false, true}).pixel(0, 2), qRgb(255, 0, 0));
        QCOMPARE(ViewOfReference(corners, {false, true, true}).pixel(3, 2), qRgb(255, 0, 0));
        QCOMPARE(ViewOfReference(corners, {true, false, true}).pixel(0, 2),
                 ViewOfReference(corners, {true}).pixel(0, 0));

        const QImage two = ViewOfReference(Ramp(256), {false, false, false, 2});
        QCOMPARE(GreyLevels(two), (QSet<int>{0, 255}));
        QCOMPARE(qGray(two.pixel(126, 5)), 0);
        QCOMPARE(qGray(two.pixel(129, 5)), 255);
        const QImage three = ViewOfReference(Ramp(300), {false, false, false, 3});
        QCOMPARE(GreyLevels(three), (QSet<int>{0, 128, 255}));
        QCOMPARE(qGray(three.pixel(95, 5)), 0);
        QCOMPARE(qGray(three.pixel(150, 5)), 128);
        QCOMPARE(qGray(three.pixel(205, 5)), 255);

        QImage edge(400, 40, QImage::Format_RGB32);
        edge.fill(Qt::black);
        for (int y = 0; y < 40; ++y)
            for (int x = 200; x < 400; ++x)
                edge.setPixel(x, y, qRgb(255, 255, 255));
        const QImage soft = ViewOfReference(edge, {false, false, false, 0, true});
        int ramp = 0;
        for (int x = 0; x < 400; ++x)
            ramp += qGray(soft.pixel(x, 20)) > 8 && qGray(soft.pixel(x, 20)) < 247;
        // 1 % of the longer side is 4 pixels: the ramp spans about that each side of the edge.
        QVERIFY2(ramp >= 4 && ramp <= 12, qPrintable(QString::number(ramp)));
    }

    // What was in force when a drawing was made goes with it, and the reference sheet's cell
    // shows the reference as it was seen, even once the file has changed or gone.
    void drawingRecordsTheView()
    {
        TFormFixture f;
        QTemporaryDir refs;
        QImage image(60, 60, QImage::Format_RGB32);
        image.fill(Qt::blue);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 60; ++x)
                image.setPixel(x, y, qRgb(255, 0, 0)); // red above, blue below
        QVERIFY(image.save(refs.filePath("a.png")));
        f.Form->OpenReferences(refs.path(), false);
        TReferenceWindow* window = f.Form->ReferenceWindow();
        QTRY_VERIFY(!window->View().isNull());
        window->findChild<QAction*>("FlipCommand")->trigger();
        QCOMPARE(QColor(window->View().pixel(5, 5)), QColor(Qt::blue));
        f.Stroke(QPoint(100, 100), QPoint(200, 100));
        f.Click("Next");
        const TReferenceLink link = f.Form->Thumbnails()[0].Reference();
        QVERIFY(link.Flip && !link.Mirror && link.Tones == 0);
        QVERIFY(!link.Shown.isEmpty());
        image.fill(Qt::green);
        QVERIFY(image.save(refs.filePath("a.png")));
        for (const bool gone : {false, true}) {
            if (gone)
                QVERIFY(QFile::remove(refs.filePath("a.png")));
            const QImage cell = ReferenceCell(link);
            QVERIFY(Near(cell.pixel(256, 60), qRgb(0, 0, 255)));
            QVERIFY(Near(cell.pixel(256, 450), qRgb(255, 0, 0)));
        }
    }

    // G lays a grid over the canvas at the thirds, then the quarters: on screen only, never in
    // the drawing, its thumbnail or the sheet.
    void gridOverTheCanvas()
    {
        TFormFixture f;
        const int side = f.Pixels().width();
        f.Command("GridCommand")->trigger();
        QCOMPARE(f.Canvas()->Grid(), 3);
        QImage screen = f.Canvas()->grab().toImage();
        QVERIFY(qGray(screen.pixel(side / 3, side / 2 + 7)) < 100);
        QVERIFY(qGray(screen.pixel(2 * side / 3, side / 2 + 7)) < 100);
        QVERIFY(qGray(screen.pixel(side / 4, side / 2 + 7)) > 200);
        f.Command("GridCommand")->trigger();
        screen = f.Canvas()->grab().toImage();
        QVERIFY(qGray(screen.pixel(side / 4, side / 2 + 7)) < 100);
        QVERIFY(qGray(screen.pixel(side / 2, side / 3 + 5)) < 100);
        QVERIFY(AllWhite(f.Pixels()));
        f.Stroke(QPoint(100, 100), QPoint(150, 100));
        f.Click("Next");
        f.Click("Finish");
        const QImage sheet("result/20240307_143015_1.png");
        QVERIFY(AllWhite(sheet, QRect(1, 200, 510, 20))); // across the cell's quarters: no line
        f.Command("GridCommand")->trigger();
        QCOMPARE(f.Canvas()->Grid(), 0);
    }

    // Drawing from memory: the reference hides after its time and stays hidden; V shows it
    // again for the same time.
    void drawingFromMemory()
    {
        TFormFixture f;
        QTemporaryDir refs;
        QImage image(60, 60, QImage::Format_RGB32);
        image.fill(Qt::green);
        QVERIFY(image.save(refs.filePath("a.png")));
        f.Form->OpenReferences(refs.path(), false);
        TReferenceWindow* window = f.Form->ReferenceWindow();
        QTRY_VERIFY(!window->View().isNull());
        QMenu* memory = nullptr;
        for (QMenu* menu : window->findChildren<QMenu*>())
            if (menu->title() == "記憶で描く")
                memory = menu;
        QVERIFY(memory);
        memory->actions()[1]->trigger(); // 5秒
        QVERIFY(!window->Hidden());
        QTRY_VERIFY_WITH_TIMEOUT(window->Hidden(), 8000);
        const QImage shown = window->grab().toImage();
        QVERIFY(qGreen(shown.pixel(shown.width() / 2, 5)) < 100); // no image, the message
        f.Command("LookAgainCommand")->trigger();
        QVERIFY(!window->Hidden());
        QTRY_VERIFY_WITH_TIMEOUT(window->Hidden(), 8000);
    }
};

int main(int argc, char** argv)
{
    TApplication::PrepareStart();
    TApplication app(argc, argv);
    TestStudy test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_study.moc"
