// Choosing and installing the backend that puts the program's windows on a
// screen. The interface itself is the window system's (BackendInterface.h);
// this layer provides the implementations and wires them to the window system,
// its clipboard and its shell.
#pragma once

#include "platform/win/BackendInterface.h"

#include <memory>

// The headless backend when QUORVANE_BACKEND is "headless" or there is no
// display (and, until the desktop backend exists, always). Installs it with
// SetBackend and routes the clipboard text and opened URLs through it.
std::shared_ptr<Backend> InstallBackend();
// Makes `backend` the window system's backend and the desktop side of its
// clipboard and shell.
void InstallAsBackend(const std::shared_ptr<Backend>& backend);
