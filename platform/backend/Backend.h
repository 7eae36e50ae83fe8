// Choosing and installing the backend that puts the program's windows on a
// screen. The interface itself is the window system's (BackendInterface.h);
// this layer provides the implementations and wires them to the window system,
// its clipboard and its shell.
#pragma once

#include "platform/win/BackendInterface.h"

#include <memory>

// The desktop backend when a display is there ($DISPLAY or $WAYLAND_DISPLAY)
// and QUORVANE_BACKEND is not "headless"; otherwise the headless one, with a
// one-line notice on stderr unless QUORVANE_BACKEND asked for it. Call it on
// the user-interface thread: the desktop backend runs there. Installs the
// backend with SetBackend and routes the clipboard text and opened URLs
// through it.
std::shared_ptr<Backend> InstallBackend();
// The desktop backend on the display the environment names, or null when
// it cannot be opened. Defined by the objects of platform_backend_gtk, which
// programs that show windows on the desktop link; absent (a null address)
// everywhere else.
__attribute__((weak)) std::shared_ptr<Backend> OpenDesktopBackend();
// Makes `backend` the window system's backend and the desktop side of its
// clipboard and shell.
void InstallAsBackend(const std::shared_ptr<Backend>& backend);
