// The program's entry: the splash window is shown while the main window is
// made, its bar advances in eight timed steps, then the message loop runs
// until the main window closes.
#pragma once

#include "platform/core/Types.h"

#include <array>

// The pause after each progress step, in milliseconds (2,700 in all).
inline constexpr std::array<DWORD, 8> SplashPauses = {400, 200, 500, 200, 400, 100, 500, 400};

// Runs the program; an exception is shown in the error box and ends it.
// Always returns 0.
int WinMain();
