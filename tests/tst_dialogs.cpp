#include "dialogs/ActivityDialog.h"
#include "dialogs/ClassRegistry.h"

#include <QtTest>

namespace {
// A native dialog that records what reaches it.
template <typename Base> class TRecordingDialog final : public Base
{
public:
    explicit TRecordingDialog(QObject* owner, QStringList& log, int& alive)
        : Base(owner), FLog(log), FAlive(alive)
    {
        ++FAlive;
    }
    ~TRecordingDialog() override { --FAlive; }

    void Show() override
    {
        FLog << "Show";
        Base::Show();
        if (this->OnShow)
            this->OnShow(this->Owner());
    }
    void Hide() override
    {
        FLog << "Hide";
        Base::Hide();
        if (this->OnHide)
            this->OnHide(this->Owner());
    }

protected:
    void CancellableUpdated() override { FLog << "Cancellable"; }
    void MessageUpdated() override { FLog << "Message:" + this->Message(); }
    void TitleUpdated() override { FLog << "Title:" + this->Title(); }
    void ThemeUpdated() override { FLog << "Theme"; }
    void ThemeIDUpdated() override { FLog << "ThemeID"; }

private:
    QStringList& FLog;
    int& FAlive;
};

class TRecordingProgress final : public TNativeProgressDialog
{
public:
    using TNativeProgressDialog::TNativeProgressDialog;
};

class TTestFactory final : public INativeDialogFactory
{
public:
    std::unique_ptr<TNativeProgressDialog> CreateProgressDialog(QObject* owner) override
    {
        ++Made;
        return std::make_unique<TRecordingProgress>(owner);
    }
    std::unique_ptr<TNativeActivityDialog> CreateActivityDialog(QObject* owner) override
    {
        ++Made;
        return std::make_unique<TRecordingDialog<TNativeActivityDialog>>(owner, Log, Alive);
    }
    QStringList Log;
    int Alive = 0;
    int Made = 0;
};

const QString kId = QLatin1String(INativeDialogFactory::Identifier);
} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { TPlatformServices::Current().RemovePlatformService(kId); }

    void inertWithoutFactory()
    {
        QObject owner;
        auto* dialog = new TActivityDialog(&owner);
        bool fired = false;
        dialog->SetOnShow([&](QObject*) { fired = true; });
        dialog->SetOnHide([&](QObject*) { fired = true; });
        QVERIFY(!dialog->Supported());
        QVERIFY(!dialog->IsShown());
        dialog->Show();
        QVERIFY(!dialog->IsShown());
        dialog->Hide();
        QVERIFY(!dialog->IsShown());
        QVERIFY(!fired);
        QCOMPARE(dialog->NativeDialog(), nullptr);

        dialog->SetMessage(QStringLiteral("処理中です。"));
        QCOMPARE(dialog->Message(), "処理中です。");
        dialog->SetTheme(TDialogTheme::Dark);
        QCOMPARE(dialog->Theme(), TDialogTheme::Dark);
        QCOMPARE(dialog->Title(), QString());
        QCOMPARE(dialog->Cancellable(), false);
        QCOMPARE(dialog->ThemeID(), 0);
        // The owner frees it; nothing else happens.
    }

    void createdByClassName()
    {
        const QStringList names{"TCustomActivityDialog", "TActivityDialog", "TCustomProgressDialog",
                                "TProgressDialog"};
        QCOMPARE(TClassRegistry::Instance().Names(), names);
        QObject owner;
        QObject* made = TClassRegistry::Instance().Create(QStringLiteral("TActivityDialog"), &owner);
        QVERIFY(dynamic_cast<TActivityDialog*>(made));
        QCOMPARE(made->parent(), &owner);
        QVERIFY(dynamic_cast<TProgressDialog*>(TClassRegistry::Instance().Create("TProgressDialog", &owner)));
        QCOMPARE(TClassRegistry::Instance().Create(QStringLiteral("TUnknown"), &owner), nullptr);
    }

    void drivesTheNativeDialog()
    {
        auto factory = std::make_shared<TTestFactory>();
        TPlatformServices::Current().AddPlatformService(kId, factory);
        {
            TActivityDialog dialog(nullptr);
            QCOMPARE(factory->Made, 1);
            QCOMPARE(factory->Alive, 1);
            QVERIFY(dialog.Supported());
            QCOMPARE(dialog.NativeDialog()->Owner(), &dialog);

            // Forwarded only when the value changes.
            dialog.SetMessage(QStringLiteral("a"));
            dialog.SetMessage(QStringLiteral("a"));
            QCOMPARE(factory->Log, QStringList{"Message:a"});
            factory->Log.clear();

            QObject* shownBy = nullptr;
            int hidden = 0;
            dialog.SetOnShow([&](QObject* sender) { shownBy = sender; });
            dialog.SetOnHide([&](QObject*) { ++hidden; });
            dialog.SetTitle(QStringLiteral("t"));
            factory->Log.clear();
            dialog.Show();
            // The settings went over before; the hooks ran only where something changed.
            QCOMPARE(factory->Log, QStringList{"Show"});
            QVERIFY(dialog.IsShown());
            QCOMPARE(shownBy, &dialog);
            dialog.Hide();
            QVERIFY(!dialog.IsShown());
            QCOMPARE(hidden, 1);

            // A native dialog made with other values gets them all at Show, in order.
            dialog.NativeDialog()->SetMessage(QStringLiteral("stale"));
            dialog.NativeDialog()->SetTitle(QString());
            dialog.NativeDialog()->SetCancellable(true);
            factory->Log.clear();
            dialog.Show();
            QCOMPARE(factory->Log, (QStringList{"Cancellable", "Message:a", "Title:t", "Show"}));
        }
        QCOMPARE(factory->Alive, 0); // freed with the component
    }

    void progressValues()
    {
        TProgressDialog dialog(nullptr);
        QCOMPARE(dialog.Kind(), TProgressDialogKind::Determinated);
        QCOMPARE(dialog.Max(), 100.0f);
        QCOMPARE(dialog.Progress(), 0.0f);
        dialog.SetProgress(150);
        QCOMPARE(dialog.Progress(), 100.0f);
        dialog.SetProgress(-5);
        QCOMPARE(dialog.Progress(), 0.0f);
        dialog.SetProgress(80);
        dialog.SetMax(50);
        QCOMPARE(dialog.Progress(), 50.0f);
        dialog.SetMax(0);
        QCOMPARE(dialog.Progress(), 0.0f);
        dialog.SetMax(10);
        dialog.SetProgress(7);
        dialog.ResetProgress();
        QCOMPARE(dialog.Progress(), 0.0f);
    }

    void progressTransferArrivesUnclamped()
    {
        TPlatformServices::Current().AddPlatformService(kId, std::make_shared<TTestFactory>());
        TProgressDialog dialog(nullptr);
        dialog.SetProgress(40);
        dialog.Show();
        QCOMPARE(dialog.NativeDialog()->Max(), 100.0f);
        QCOMPARE(dialog.NativeDialog()->Progress(), 40.0f);
        QCOMPARE(dialog.NativeDialog()->Kind(), TProgressDialogKind::Determinated);
    }
};

QTEST_GUILESS_MAIN(TestDialogs)
#include "tst_dialogs.moc"
