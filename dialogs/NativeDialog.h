#ifndef TENARAI_DIALOGS_NATIVEDIALOG_H
#define TENARAI_DIALOGS_NATIVEDIALOG_H

#include <QString>
#include <functional>

class QObject;

enum class TDialogTheme : quint8
{
    Auto,
    Dark,
    Light,
    Custom
};
enum class TProgressDialogKind : quint8
{
    Undeterminated,
    Determinated
};

// An event handler; it receives the object that raised the event.
using TNotifyEvent = std::function<void(QObject* sender)>;

/**
 * @brief The dialog a platform shows for a dialog component.
 *
 * Setters store a value and run their hook only when it differs from the stored one; the base
 * shows nothing: Show and Hide only flip IsShown.
 */
class TNativeDialog
{
public:
    explicit TNativeDialog(QObject* owner) : FOwner(owner) {}
    TNativeDialog(const TNativeDialog&) = delete;
    TNativeDialog& operator=(const TNativeDialog&) = delete;
    virtual ~TNativeDialog() = default;

    QObject* Owner() const { return FOwner; }
    bool Cancellable() const { return FCancellable; }
    void SetCancellable(bool value);
    const QString& Message() const { return FMessage; }
    void SetMessage(const QString& value);
    const QString& Title() const { return FTitle; }
    void SetTitle(const QString& value);
    TDialogTheme Theme() const { return FTheme; }
    void SetTheme(TDialogTheme value);
    int ThemeID() const { return FThemeID; }
    void SetThemeID(int value);
    bool IsShown() const { return GetIsShown(); }

    TNotifyEvent OnCancel;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

    virtual void Show() { FIsShown = true; }
    virtual void Hide() { FIsShown = false; }

protected:
    virtual void CancellableUpdated() {}
    virtual void MessageUpdated() {}
    virtual void TitleUpdated() {}
    virtual void ThemeUpdated() {}
    virtual void ThemeIDUpdated() {}
    virtual bool GetIsShown() const { return FIsShown; }

private:
    QObject* FOwner; // not owned
    QString FTitle;
    QString FMessage;
    TDialogTheme FTheme = TDialogTheme::Auto;
    int FThemeID = 0;
    bool FIsShown = false;
    bool FCancellable = false;
};

class TNativeActivityDialog : public TNativeDialog
{
public:
    using TNativeDialog::TNativeDialog;
};

class TNativeProgressDialog : public TNativeDialog
{
public:
    using TNativeDialog::TNativeDialog;

    TProgressDialogKind Kind() const { return FKind; }
    void SetKind(TProgressDialogKind value);
    float Max() const { return FMax; }
    void SetMax(float value);
    float Progress() const { return FProgress; }
    void SetProgress(float value);
    virtual void ResetProgress() { FProgress = 0; }

protected:
    virtual void ProgressUpdated() {}
    virtual void KindUpdated() {}
    virtual void MaxUpdated() {}

private:
    TProgressDialogKind FKind = TProgressDialogKind::Undeterminated;
    float FProgress = 0;
    float FMax = 0;
};

// Equal unless they differ by more than the smallest positive float: in practice, equal.
bool SameFloat(float a, float b);
// A value below low (or not a number) gives low, one above high gives high.
float ClampFloat(float value, float low, float high);

#endif
