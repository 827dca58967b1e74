#ifndef TENARAI_DIALOGS_ACTIVITYDIALOG_H
#define TENARAI_DIALOGS_ACTIVITYDIALOG_H

#include "dialogs/CustomDialog.h"

// A dialog with a title and a message, shown while work is in progress.
class TCustomActivityDialog : public TCustomDialog<TNativeActivityDialog>
{
public:
    explicit TCustomActivityDialog(QObject* owner);

protected:
    std::unique_ptr<TNativeActivityDialog> ObtainNativeDialog() override;
};

class TActivityDialog final : public TCustomActivityDialog
{
public:
    using TCustomActivityDialog::TCustomActivityDialog;
};

// A dialog with a progress bar, determinate (0 to Max) or not.
class TCustomProgressDialog : public TCustomDialog<TNativeProgressDialog>
{
public:
    explicit TCustomProgressDialog(QObject* owner);

    TProgressDialogKind Kind() const { return FKind; }
    void SetKind(TProgressDialogKind value);
    float Max() const { return FMax; }
    // Re-clamps Progress to the new range.
    void SetMax(float value);
    float Progress() const { return FProgress; }
    // Stored clamped to [0, Max].
    void SetProgress(float value);
    void ResetProgress();

protected:
    std::unique_ptr<TNativeProgressDialog> ObtainNativeDialog() override;
    // Kind, then Progress, then Max: the native side clamps Progress to its Max of the moment,
    // so Progress is handed over once more after Max to arrive unclamped.
    void TransferSettings() override;

private:
    TProgressDialogKind FKind = TProgressDialogKind::Determinated;
    float FProgress = 0;
    float FMax = 100;
};

class TProgressDialog final : public TCustomProgressDialog
{
public:
    using TCustomProgressDialog::TCustomProgressDialog;
};

#endif
