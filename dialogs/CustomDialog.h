#ifndef TENARAI_DIALOGS_CUSTOMDIALOG_H
#define TENARAI_DIALOGS_CUSTOMDIALOG_H

#include "dialogs/Assert.h"
#include "dialogs/NativeDialog.h"
#include "dialogs/PlatformServices.h"

#include <QObject>
#include <memory>

/**
 * @brief A dialog component: it keeps the dialog's settings and drives the native dialog that
 * the platform supplied when it was made.
 *
 * Without a native dialog it is inert: Supported and IsShown are false, Show and Hide do
 * nothing and no event fires; setters still store their values.
 */
template <typename T> class TCustomDialog : public QObject
{
public:
    explicit TCustomDialog(QObject* owner) : QObject(owner) {}
    ~TCustomDialog() override
    {
        // The field is cleared before the native dialog goes, so nothing reaches a half-freed one.
        std::unique_ptr<T> native = std::move(FNativeDialog);
        native.reset();
    }

    T* NativeDialog() const { return FNativeDialog.get(); }
    bool Supported() const { return FNativeDialog != nullptr; }
    bool IsShown() const { return Supported() && FNativeDialog->IsShown(); }

    virtual void Show()
    {
        if (!Supported())
            return;
        TransferSettings();
        FNativeDialog->Show();
    }
    virtual void Hide()
    {
        if (Supported())
            FNativeDialog->Hide();
    }

    bool Cancellable() const { return FCancellable; }
    void SetCancellable(bool value) { Set(FCancellable, value, &TNativeDialog::SetCancellable); }
    const QString& Message() const { return FMessage; }
    void SetMessage(const QString& value) { Set(FMessage, value, &TNativeDialog::SetMessage); }
    const QString& Title() const { return FTitle; }
    void SetTitle(const QString& value) { Set(FTitle, value, &TNativeDialog::SetTitle); }
    TDialogTheme Theme() const { return FTheme; }
    void SetTheme(TDialogTheme value) { Set(FTheme, value, &TNativeDialog::SetTheme); }
    int ThemeID() const { return FThemeID; }
    void SetThemeID(int value) { Set(FThemeID, value, &TNativeDialog::SetThemeID); }

    const TNotifyEvent& OnCancel() const { return FOnCancel; }
    void SetOnCancel(TNotifyEvent handler)
    {
        SetEvent(FOnCancel, std::move(handler), &TNativeDialog::OnCancel);
    }
    const TNotifyEvent& OnShow() const { return FOnShow; }
    void SetOnShow(TNotifyEvent handler) { SetEvent(FOnShow, std::move(handler), &TNativeDialog::OnShow); }
    const TNotifyEvent& OnHide() const { return FOnHide; }
    void SetOnHide(TNotifyEvent handler) { SetEvent(FOnHide, std::move(handler), &TNativeDialog::OnHide); }

protected:
    virtual std::unique_ptr<T> ObtainNativeDialog() = 0;

    // Called by the concrete class's constructor, once the override above is in place.
    void AttachNativeDialog() { FNativeDialog = ObtainNativeDialog(); }

    // Hands every setting to the native dialog, in the order its hooks expect.
    virtual void TransferSettings()
    {
        TAssert::IsNotNil(FNativeDialog.get());
        FNativeDialog->SetCancellable(FCancellable);
        FNativeDialog->SetMessage(FMessage);
        FNativeDialog->SetTitle(FTitle);
        FNativeDialog->SetTheme(FTheme);
        FNativeDialog->SetThemeID(FThemeID);
        FNativeDialog->OnCancel = FOnCancel;
        FNativeDialog->OnShow = FOnShow;
        FNativeDialog->OnHide = FOnHide;
    }

    // The platform's dialog factory, or none.
    static std::shared_ptr<INativeDialogFactory> Factory()
    {
        std::shared_ptr<IInterface> service;
        if (!TPlatformServices::Current().SupportsPlatformService(
                QLatin1String(INativeDialogFactory::Identifier), service))
            return nullptr;
        return std::dynamic_pointer_cast<INativeDialogFactory>(service);
    }

private:
    template <typename V, typename Setter> void Set(V& field, const V& value, Setter setter)
    {
        if (field == value)
            return;
        field = value;
        if (Supported())
            (FNativeDialog.get()->*setter)(field);
    }
    void SetEvent(TNotifyEvent& field, TNotifyEvent handler, TNotifyEvent TNativeDialog::*nativeField)
    {
        field = std::move(handler);
        if (Supported())
            FNativeDialog.get()->*nativeField = field;
    }

    std::unique_ptr<T> FNativeDialog;
    QString FTitle;
    QString FMessage;
    bool FCancellable = false;
    TDialogTheme FTheme = TDialogTheme::Auto;
    int FThemeID = 0;
    TNotifyEvent FOnShow;
    TNotifyEvent FOnHide;
    TNotifyEvent FOnCancel;
};

#endif
