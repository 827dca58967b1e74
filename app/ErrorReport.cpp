#include "app/ErrorReport.h"

#include "app/DialogService.h"
#include "raster/Error.h"

QString ErrorMessage(const std::exception& error)
{
    if (const auto* ours = dynamic_cast<const EError*>(&error))
        return ours->Message();
    return QString::fromLocal8Bit(error.what());
}

QString ErrorMessage(const std::exception_ptr& error)
{
    if (!error)
        return {};
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return ErrorMessage(e);
    } catch (...) {
        return {};
    }
}

void ShowException(const std::exception& error)
{
    ShowErrorMessage(ErrorMessage(error));
}

void ShowErrorMessage(QString message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        message += QLatin1Char('.');
    DialogService().ShowError(message);
}
