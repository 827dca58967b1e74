#ifndef TENARAI_APP_DISPLAY_H
#define TENARAI_APP_DISPLAY_H

struct xcb_connection_t;

/**
 * @brief The program's way onto the X display, made before the application connects.
 *
 * The X server resets a connection that arrives while it is still closing down a client that
 * has just gone (seen as ECONNRESET on the first read, before the server even logs the new
 * client): a few in a hundred when another program has just ended, one in ten right after a
 * connection of one's own was closed. So the probe's connection stays open until the
 * application has made its own, and the application's own connection, which Qt makes once
 * and cannot make again, is tried again by starting the program afresh.
 */
class TDisplayProbe final
{
public:
    TDisplayProbe() = default;
    ~TDisplayProbe();
    TDisplayProbe(const TDisplayProbe&) = delete;
    TDisplayProbe& operator=(const TDisplayProbe&) = delete;

    /**
     * @brief Whether the X display the program would use answers, tried a few times over about
     * a second. True where the program will not use X (another platform was asked for).
     */
    bool Reach();

    /**
     * @brief From here until Release, a start that Qt cannot connect is made again from the
     * beginning (this process's image is executed anew with the same arguments), a few times
     * with a short pause; then the program says it cannot reach the display and exits 1,
     * without the core dump Qt would leave.
     */
    static void RetryFailedStarts(char** argv);
    // The application is connected: the probe's connection closes, and a later failure is
    // Qt's to report again.
    void Release();

private:
    xcb_connection_t* FConnection = nullptr;
};

#endif
