// The non-client area in the classic look: frames, caption with its buttons,
// client edges and the window's scroll bars; where each part lies, what a
// point hits and how the parts are drawn.
#pragma once

#include "platform/win/WindowObjects.h"

#include <functional>

// Every rectangle in window coordinates (the window's top-left is 0, 0).
struct NonClientLayout {
    TRect window;
    TRect caption;
    // Under the caption of a top-level window that has a menu.
    TRect menuBar;
    TRect systemIcon;
    TRect closeButton;
    TRect maximizeButton;
    TRect minimizeButton;
    // Inside frame and caption: where a client edge is drawn.
    TRect edgeArea;
    TRect verticalBar;
    TRect horizontalBar;
    TRect sizeBox;
    TRect client;
    bool sizingFrame = false;
    int frameWidth = 0;
};

NonClientLayout LayoutNonClient(DWORD style, DWORD exStyle, int width, int height);
NonClientLayout LayoutNonClient(const Window& window);
// The client rectangle of a window rectangle, both in the same coordinates.
TRect ClientRectOfWindowRect(DWORD style, DWORD exStyle, const TRect& windowRect);
// The same for this window, whose menu bar takes its share too.
TRect ClientRectOfWindow(const Window& window, const TRect& windowRect);
// How much the non-client area takes on each side (left, top, right, bottom).
TRect NonClientMargins(DWORD style, DWORD exStyle);

LRESULT NonClientHitTest(const Window& window, POINT screen);
void PaintNonClient(Window& window);

// ---- The menu bar ----
// The menu units lie above this one: they register how tall a window's bar is
// for a width (0 without a bar), how it is painted on a window DC, and how
// WM_SYSCOMMAND's SC_KEYMENU and SC_MOUSEMENU run it. Until they do, no
// window has a bar.
struct MenuBarHandlers {
    std::function<int(HWND window, int width)> height;
    std::function<void(HWND window, HDC dc, const TRect& bar)> paint;
    std::function<void(HWND window, WPARAM command, LPARAM lParam)> track;
};
void SetMenuBarHandlers(MenuBarHandlers handlers);
// Runs SC_KEYMENU or SC_MOUSEMENU for a top-level window.
void TrackMenuBar(HWND window, WPARAM command, LPARAM lParam);
