#include "app/Thread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

struct TThreadState
{
    std::function<void()> Procedure;
    std::thread Worker;
    std::atomic<bool> Terminated{false};
    bool Finished = false; // guarded by the hand-off mutex
    std::exception_ptr Error;
};

namespace {

struct TRequest
{
    const std::function<void()>* Procedure;
    std::exception_ptr Error;
    bool Done = false;
};

// Procedures handed to the user-interface thread, and the wake-up for whoever waits there.
struct THandOff
{
    std::mutex Mutex;
    std::condition_variable Changed;
    std::deque<TRequest*> Queue;
};

THandOff& HandOff()
{
    static THandOff handOff;
    return handOff;
}

thread_local TThreadState* CurrentState = nullptr;

bool OnMainThread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

// Runs the queued procedures one at a time, in the order handed.
void RunHandedOver()
{
    THandOff& h = HandOff();
    for (;;) {
        TRequest* request;
        {
            std::lock_guard lock(h.Mutex);
            if (h.Queue.empty())
                return;
            request = h.Queue.front();
            h.Queue.pop_front();
        }
        try {
            (*request->Procedure)();
        } catch (...) {
            request->Error = std::current_exception();
        }
        {
            std::lock_guard lock(h.Mutex);
            request->Done = true;
        }
        h.Changed.notify_all();
    }
}

} // namespace

TThread::TThread(std::function<void()> procedure) : FState(std::make_shared<TThreadState>())
{
    FState->Procedure = std::move(procedure);
}

std::unique_ptr<TThread> TThread::CreateAnonymousThread(std::function<void()> procedure)
{
    return std::unique_ptr<TThread>(new TThread(std::move(procedure)));
}

TThread::~TThread()
{
    if (!FState->Worker.joinable())
        return;
    if (FreeOnTerminate)
        FState->Worker.detach(); // the worker holds its own reference to the state
    else
        FState->Worker.join();
}

void TThread::Start()
{
    FState->Worker = std::thread([state = FState] {
        CurrentState = state.get();
        try {
            state->Procedure();
        } catch (...) {
            state->Error = std::current_exception();
        }
        {
            std::lock_guard lock(HandOff().Mutex);
            state->Finished = true;
        }
        HandOff().Changed.notify_all();
    });
}

bool TThread::Finished() const
{
    std::lock_guard lock(HandOff().Mutex);
    return FState->Finished;
}

void TThread::Terminate()
{
    FState->Terminated = true;
}

std::exception_ptr TThread::FatalException() const
{
    std::lock_guard lock(HandOff().Mutex);
    return FState->Finished ? FState->Error : nullptr;
}

void TThread::WaitFor()
{
    THandOff& h = HandOff();
    for (;;) {
        RunHandedOver();
        std::unique_lock lock(h.Mutex);
        h.Changed.wait(lock, [&] { return FState->Finished || !h.Queue.empty(); });
        if (FState->Finished && h.Queue.empty())
            break;
    }
    if (FState->Worker.joinable())
        FState->Worker.join();
}

bool TThread::CheckTerminated()
{
    return CurrentState && CurrentState->Terminated;
}

void TThread::Synchronize(const std::function<void()>& procedure)
{
    if (OnMainThread()) {
        procedure();
        return;
    }
    TRequest request{&procedure, nullptr, false};
    THandOff& h = HandOff();
    {
        std::lock_guard lock(h.Mutex);
        h.Queue.push_back(&request);
    }
    h.Changed.notify_all();
    // Wakes the event loop when the user-interface thread is not waiting in WaitFor.
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, &TThread::CheckSynchronize, Qt::QueuedConnection);
    {
        std::unique_lock lock(h.Mutex);
        h.Changed.wait(lock, [&] { return request.Done; });
    }
    if (request.Error)
        std::rethrow_exception(request.Error);
}

void TThread::CheckSynchronize()
{
    if (OnMainThread())
        RunHandedOver();
}
