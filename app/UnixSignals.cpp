#include "app/UnixSignals.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int gPipe[2] = {-1, -1};

void OnSignal(int number)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t written = ::write(gPipe[1], &byte, 1);
    errno = saved;
}
} // namespace

TUnixSignals::TUnixSignals(std::initializer_list<int> signalNumbers, QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gPipe) != 0)
        return;
    ::fcntl(gPipe[1], F_SETFL, O_NONBLOCK);
    FNotifier = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, &TUnixSignals::Readable);
    struct sigaction action
    {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : signalNumbers)
        ::sigaction(number, &action, nullptr);
}

TUnixSignals::~TUnixSignals()
{
    delete FNotifier;
    for (int& fd : gPipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void TUnixSignals::Readable()
{
    unsigned char byte = 0;
    if (::read(gPipe[0], &byte, 1) == 1)
        emit Received(byte);
}
