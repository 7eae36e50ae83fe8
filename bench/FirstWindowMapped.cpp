// The watch is a second client of the server that asks to hear of every
// change to the root window's children.
#include "FirstWindowMapped.h"

#include <X11/Xlib.h>

#include <poll.h>

FirstWindowMapped::FirstWindowMapped(const std::string& display)
    : connection_(XOpenDisplay(display.c_str())) {
    if (!connection_) return;
    XSelectInput(connection_, DefaultRootWindow(connection_), SubstructureNotifyMask);
    // The server must know of the watch before the program starts.
    XSync(connection_, False);
}

FirstWindowMapped::~FirstWindowMapped() {
    if (connection_) XCloseDisplay(connection_);
}

void FirstWindowMapped::Restart() {
    if (!connection_) return;
    XSync(connection_, True);
}

bool FirstWindowMapped::mapSeen() {
    while (XPending(connection_)) {
        XEvent event;
        XNextEvent(connection_, &event);
        if (event.type == MapNotify) return true;
    }
    return false;
}

bool FirstWindowMapped::Wait(std::chrono::milliseconds timeout) {
    if (!connection_) return false;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!mapSeen()) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                          std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd incoming{ConnectionNumber(connection_), POLLIN, 0};
        poll(&incoming, 1, static_cast<int>(left.count()));
    }
    return true;
}
