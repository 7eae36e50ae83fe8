// The default window procedure: window text (kept as UTF-16, converted for
// the ANSI entry point), the non-client area (size, hit testing, painting,
// activation look, scroll-bar presses, the caption's buttons and dragging),
// erasing with the class brush, WM_PAINT validation, WM_CLOSE, system
// commands, cursors, activation and focus, and passing wheel and context-menu
// messages up to the parent.
#pragma once

#include "platform/win/WinUser.h"

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
