// A client of the X display that connects and disconnects as fast as it can until it is killed:
// the X server may reset a connection that arrives while it closes down one that went, and this
// makes that happen all the time.
#include <cstdio>
#include <xcb/xcb.h>

int main()
{
    for (;;) {
        xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
        xcb_disconnect(connection);
    }
}
