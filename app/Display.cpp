#include "app/Display.h"

#include <QByteArray>
#include <QThread>
#include <QtGlobal>
#include <xcb/xcb.h>

bool DisplayReachable()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb"))
        return true;
    if (platform.isEmpty() && qEnvironmentVariableIsEmpty("DISPLAY") &&
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return true;
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    constexpr int tries = 5;
    constexpr int pauseMs = 200;
    for (int i = 0; i < tries; ++i) {
        xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
        const bool ok = xcb_connection_has_error(connection) == 0;
        xcb_disconnect(connection);
        if (ok)
            return true;
        QThread::msleep(pauseMs);
    }
    return false;
}
