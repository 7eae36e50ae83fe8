// Watches an X server for the first top-level window any program maps, so
// that start-up is timed the same way for our programs and for others: up
// to the moment the window server puts the first window on the screen.
// The watch stays connected: a server whose last client leaves resets and
// turns new connections away for a while. Xlib's names clash with the window
// system's, hence a unit of its own.
#pragma once

#include <chrono>
#include <string>

class FirstWindowMapped {
public:
    // Watching starts at once; nothing is seen when the display cannot be opened.
    explicit FirstWindowMapped(const std::string& display);
    FirstWindowMapped(const FirstWindowMapped&) = delete;
    FirstWindowMapped& operator=(const FirstWindowMapped&) = delete;
    ~FirstWindowMapped();

    bool Watching() const { return connection_ != nullptr; }
    // Forgets the windows mapped so far, once the server has reported them.
    void Restart();
    // Whether a top-level window was mapped since the watch began or
    // restarted, waiting up to `timeout`.
    bool Wait(std::chrono::milliseconds timeout);

private:
    bool mapSeen();

    struct _XDisplay* connection_;
};
