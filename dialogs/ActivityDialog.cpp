#include "dialogs/ActivityDialog.h"

TCustomActivityDialog::TCustomActivityDialog(QObject* owner) : TCustomDialog(owner)
{
    AttachNativeDialog();
}

std::unique_ptr<TNativeActivityDialog> TCustomActivityDialog::ObtainNativeDialog()
{
    const std::shared_ptr<INativeDialogFactory> factory = Factory();
    return factory ? factory->CreateActivityDialog(this) : nullptr;
}

TCustomProgressDialog::TCustomProgressDialog(QObject* owner) : TCustomDialog(owner)
{
    AttachNativeDialog();
}

std::unique_ptr<TNativeProgressDialog> TCustomProgressDialog::ObtainNativeDialog()
{
    const std::shared_ptr<INativeDialogFactory> factory = Factory();
    return factory ? factory->CreateProgressDialog(this) : nullptr;
}

void TCustomProgressDialog::TransferSettings()
{
    TCustomDialog::TransferSettings();
    NativeDialog()->SetKind(FKind);
    NativeDialog()->SetProgress(FProgress);
    NativeDialog()->SetMax(FMax);
    NativeDialog()->SetProgress(FProgress);
}

void TCustomProgressDialog::SetKind(TProgressDialogKind value)
{
    if (value == FKind)
        return;
    FKind = value;
    if (Supported())
        NativeDialog()->SetKind(FKind);
}

void TCustomProgressDialog::SetMax(float value)
{
    TAssert::StrickMoreThan(value, 0.0f, QStringLiteral("Max Value cannot be less than 0"));
    if (SameFloat(value, FMax))
        return;
    FMax = value;
    if (Supported())
        NativeDialog()->SetMax(FMax);
    SetProgress(ClampFloat(FProgress, 0, FMax));
}

void TCustomProgressDialog::SetProgress(float value)
{
    TAssert::InRange(value, 0.0f, FMax, QStringLiteral("Progress value must be in range [0..Max]"));
    if (SameFloat(value, FProgress))
        return;
    FProgress = ClampFloat(value, 0, FMax);
    if (Supported())
        NativeDialog()->SetProgress(FProgress);
}

void TCustomProgressDialog::ResetProgress()
{
    FProgress = 0;
    if (Supported())
        NativeDialog()->ResetProgress();
}
