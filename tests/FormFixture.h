#ifndef TENARAI_TESTS_FORMFIXTURE_H
#define TENARAI_TESTS_FORMFIXTURE_H

#include "FakeDialogs.h"
#include "TestSupport.h"
#include "app/canvas/CanvasView.h"
#include "app/plan/CountdownBar.h"
#include "app/Drawer.h"
#include "app/MainUnit.h"
#include "app/ThumbnailList.h"

#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

inline const QDateTime kNow(QDate(2024, 3, 7), QTime(14, 30, 15));

// One window in a working directory of its own, with a clock and dialogs the test controls.
class TFormFixture
{
public:
    TFormFixture()
        : FOld(QDir::currentPath()), FOldState(qgetenv("XDG_STATE_HOME")),
          FOldConfig(qgetenv("XDG_CONFIG_HOME")), FOldData(qgetenv("XDG_DATA_HOME"))
    {
        QDir::setCurrent(FDir.path());
        qputenv("XDG_STATE_HOME", FState.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", FConfig.path().toLocal8Bit());
        qputenv("XDG_DATA_HOME", FData.path().toLocal8Bit());
        Start();
    }
    ~TFormFixture()
    {
        Form.reset();
        QDir::setCurrent(FOld);
        qputenv("XDG_STATE_HOME", FOldState);
        qputenv("XDG_CONFIG_HOME", FOldConfig);
        qputenv("XDG_DATA_HOME", FOldData);
    }

    // The program ends without saving (the journal stays, as after a crash) and starts again in
    // the same folders, offering what it finds.
    void Restart(bool recover = true)
    {
        Form.reset();
        Start();
        if (!recover)
            return;
        Form->RecoverPractice();
        QTRY_VERIFY(!Form->IsRecovering());
    }
    QString StateHome() const { return FState.path(); }
    QString DataHome() const { return FData.path(); }
    // The journal folders of programs that are not running, as the next start would find them.
    QStringList LeftJournals() const
    {
        return QDir(FState.path() + "/tenarai").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    }

    QString Text(const char* name) const { return Form->findChild<QLabel*>(name)->text(); }
    QPushButton* Button(const char* name) const { return Form->findChild<QPushButton*>(name); }
    QAction* Command(const char* name) const { return Form->findChild<QAction*>(name); }
    TCountdownBar* Bar() const { return Form->findChild<TCountdownBar*>("CountdownBar"); }
    // A key, and the save it may have started, to its end.
    void Key(int key, Qt::KeyboardModifiers modifiers = {}) const
    {
        QTest::keyClick(Form->windowHandle(), Qt::Key(key), modifiers);
        WaitForSave();
    }
    TCanvasView* Canvas() const { return Form->findChild<TCanvasView*>("PaintImage"); }
    TThumbnailListView* List() const { return Form->findChild<TThumbnailListView*>("ThumbnailListView"); }
    TDrawer* Drawer() const { return Form->findChild<TDrawer*>("ThumbnailMultiView"); }
    QImage Pixels() const { return Form->CanvasBitmap().Image(); }

    // A stroke through the window, as the window system delivers it.
    void Stroke(QPoint from, QPoint to) const
    {
        QWindow* w = Form->windowHandle();
        const QPoint origin = Canvas()->mapTo(Form.get(), QPoint(0, 0));
        QTest::mousePress(w, Qt::LeftButton, {}, origin + from);
        QTest::mouseMove(w, origin + (from + to) / 2);
        QTest::mouseMove(w, origin + to);
        QTest::mouseRelease(w, Qt::LeftButton, {}, origin + to);
    }
    // A click, and the save it may have started, to its end.
    void Click(const char* button) const
    {
        QTest::mouseClick(Button(button), Qt::LeftButton);
        WaitForSave();
    }
    // A close request, answered by the dialogs; true when the window has closed, after the
    // save it asked for.
    bool Close() const
    {
        const bool closed = Form->close();
        WaitForSave();
        return closed || !Form->isVisible();
    }
    void WaitForSave() const
    {
        if (Form)
            QTRY_VERIFY_WITH_TIMEOUT(!Form->IsSaving(), 30000);
    }
    TFakeDialogScope Dialogs;
    TManualClock Clock;
    QDateTime Now = kNow;
    std::function<void()> OnNow; // runs when a save reads the time
    std::unique_ptr<TMainForm> Form;

private:
    void Start()
    {
        Form = std::make_unique<TMainForm>(TMainForm::TTimeSources{&Clock, [this] {
                                                                       if (OnNow)
                                                                           OnNow();
                                                                       return Now;
                                                                   }});
        Form->show();
    }

    QTemporaryDir FDir;
    QTemporaryDir FState;
    QTemporaryDir FConfig;
    QTemporaryDir FData;
    QString FOld;
    QByteArray FOldState;
    QByteArray FOldConfig;
    QByteArray FOldData;
};

// The button of a message box, found by its text.
inline QAbstractButton* BoxButton(QMessageBox* box, const QString& text)
{
    for (QAbstractButton* b : box->buttons())
        if (b->text() == text)
            return b;
    return nullptr;
}

#endif
