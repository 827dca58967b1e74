#ifndef TENARAI_BENCH_STALLSUPPORT_H
#define TENARAI_BENCH_STALLSUPPORT_H

#include "app/DialogService.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <functional>

// Answers every question Yes and shows nothing, so a benchmark never waits on a person.
class TSayYes final : public TDialogService
{
public:
    TModalResult Ask(const QString&, TMsgDlgType, TMsgDlgButtons, TMsgDlgBtn, int) override { return mrYes; }
    void ShowMessage(const QString&) override {}
    void ShowError(const QString&) override {}
};

// The longest gap between two turns of the event loop while `work` runs and until `done`.
inline double LongestStallMs(const std::function<void()>& work, const std::function<bool()>& done)
{
    QElapsedTimer since;
    double longest = 0;
    QTimer tick;
    tick.setInterval(0);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, since.nsecsElapsed() / 1e6);
        since.restart();
    });
    since.start();
    tick.start();
    QTimer::singleShot(0, work);
    QElapsedTimer deadline;
    deadline.start();
    while ((!done() || deadline.elapsed() < 50) && deadline.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return std::max(longest, since.nsecsElapsed() / 1e6);
}

#endif
