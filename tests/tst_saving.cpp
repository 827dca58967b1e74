#include "FormFixture.h"

#include <QRegularExpression>

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
};

QTEST_MAIN(TestSaving)
#include "tst_saving.moc"
