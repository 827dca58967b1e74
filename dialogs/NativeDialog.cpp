#include "dialogs/NativeDialog.h"

#include "dialogs/Assert.h"

#include <cmath>
#include <limits>

bool SameFloat(float a, float b)
{
    return std::fabs(a - b) <= std::numeric_limits<float>::denorm_min();
}

float ClampFloat(float value, float low, float high)
{
    if (!(value >= low))
        return low;
    return value <= high ? value : high;
}

void TNativeDialog::SetCancellable(bool value)
{
    if (value == FCancellable)
        return;
    FCancellable = value;
    CancellableUpdated();
}

void TNativeDialog::SetMessage(const QString& value)
{
    if (value == FMessage)
        return;
    FMessage = value;
    MessageUpdated();
}

void TNativeDialog::SetTitle(const QString& value)
{
    if (value == FTitle)
        return;
    FTitle = value;
    TitleUpdated();
}

void TNativeDialog::SetTheme(TDialogTheme value)
{
    if (value == FTheme)
        return;
    FTheme = value;
    ThemeUpdated();
}

void TNativeDialog::SetThemeID(int value)
{
    if (value == FThemeID)
        return;
    FThemeID = value;
    ThemeIDUpdated();
}

void TNativeProgressDialog::SetKind(TProgressDialogKind value)
{
    if (value == FKind)
        return;
    FKind = value;
    KindUpdated();
}

void TNativeProgressDialog::SetMax(float value)
{
    TAssert::StrickMoreThan(value, 0.0f);
    if (SameFloat(value, FMax))
        return;
    FMax = value;
    MaxUpdated();
}

void TNativeProgressDialog::SetProgress(float value)
{
    TAssert::InRange(value, 0.0f, FMax, QStringLiteral("Progress value must be in range [Min..Max]"));
    if (SameFloat(value, FProgress))
        return;
    FProgress = ClampFloat(value, 0, FMax);
    ProgressUpdated();
}
