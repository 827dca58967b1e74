#include "app/Display.h"

#include "app/Language.h"

#include <QByteArray>
#include <QString>
#include <QThread>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {
constexpr auto kAttemptVariable = "TENARAI_DISPLAY_ATTEMPT";
constexpr int kStarts = 5;

char** gArguments = nullptr;
QtMessageHandler gQtHandler = nullptr;

bool UsesX()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty())
        return platform.startsWith("xcb");
    return !qEnvironmentVariableIsEmpty("DISPLAY") || qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// Qt ends a start it could not connect with a fatal message, then abort(): this runs first.
void OnQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg || !gArguments || !message.contains(QLatin1String("platform plugin"))) {
        if (gQtHandler)
            gQtHandler(type, context, message);
        else
            std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
        return;
    }
    const int attempt = qMax(1, qEnvironmentVariableIntValue(kAttemptVariable));
    if (attempt < kStarts) {
        qputenv(kAttemptVariable, QByteArray::number(attempt + 1));
        QThread::msleep(50UL * attempt); // the server finishes with the client that went
        ::execv("/proc/self/exe", gArguments);
    }
    std::fputs(TerminalText(QT_TRANSLATE_NOOP("Terminal", "tenarai: ディスプレイに接続できません。\n")).toLocal8Bit().constData(),
               stderr);
    std::_Exit(1);
}
} // namespace

TDisplayProbe::~TDisplayProbe()
{
    Release();
}

bool TDisplayProbe::Reach()
{
    if (!UsesX())
        return true;
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    // A refused connection costs well under a millisecond: many tries over about a second
    // get past a server that is busy with clients coming and going.
    constexpr int tries = 40;
    constexpr int pauseMs = 25;
    for (int i = 0; i < tries; ++i) {
        xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection) == 0) {
            FConnection = connection;
            return true;
        }
        xcb_disconnect(connection);
        QThread::msleep(pauseMs);
    }
    return false;
}

void TDisplayProbe::RetryFailedStarts(char** argv)
{
    if (!UsesX())
        return;
    gArguments = argv;
    gQtHandler = qInstallMessageHandler(OnQtMessage);
}

void TDisplayProbe::Release()
{
    if (gArguments) {
        gArguments = nullptr;
        qunsetenv(kAttemptVariable); // not for the programs this one starts
    }
    if (FConnection)
        xcb_disconnect(FConnection);
    FConnection = nullptr;
}
