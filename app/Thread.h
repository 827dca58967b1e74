#ifndef TENARAI_APP_THREAD_H
#define TENARAI_APP_THREAD_H

#include <exception>
#include <functional>
#include <memory>

struct TThreadState;

/**
 * @brief A thread made for one procedure, with hand-off to the user-interface thread.
 *
 * Made not started. With FreeOnTerminate (the default) dropping the object does not wait: the
 * thread frees what it holds itself when its procedure ends. Switched off, dropping the object
 * waits for the thread. An error that ends the procedure is kept in FatalException.
 */
class TThread final
{
public:
    static std::unique_ptr<TThread> CreateAnonymousThread(std::function<void()> procedure);
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;
    ~TThread();

    bool FreeOnTerminate = true;

    void Start();
    bool Finished() const;
    // Sets the stop flag; the procedure reads it with CheckTerminated.
    void Terminate();
    std::exception_ptr FatalException() const;

    /**
     * @brief Blocks the user-interface thread until the thread has ended, carrying out every
     * procedure it hands over meanwhile. No input is handled and nothing repaints while waiting.
     */
    void WaitFor();

    // Inside a thread's procedure: its own stop flag.
    static bool CheckTerminated();
    /**
     * @brief Runs the procedure on the user-interface thread and blocks until it has run there;
     * an error it raises is raised again here. On the user-interface thread it runs at once.
     */
    static void Synchronize(const std::function<void()>& procedure);
    // Runs what threads handed over and nobody has run yet; the event loop calls it.
    static void CheckSynchronize();

private:
    explicit TThread(std::function<void()> procedure);

    std::shared_ptr<TThreadState> FState;
};

#endif
