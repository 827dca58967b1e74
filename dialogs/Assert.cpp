#include "dialogs/Assert.h"

#include <QtGlobal>

void TAssert::Check([[maybe_unused]] bool ok, [[maybe_unused]] const QString& message)
{
#ifndef QT_NO_DEBUG
    if (!ok)
        qCritical("Assertion failed: %s", qUtf8Printable(message));
#endif
}
