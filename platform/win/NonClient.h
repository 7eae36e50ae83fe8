// The non-client area in the classic look: frames, caption with its buttons,
// client edges and the window's scroll bars; where each part lies, what a
// point hits and how the parts are drawn.
#pragma once

#include "platform/win/WindowObjects.h"

// Every rectangle in window coordinates (the window's top-left is 0, 0).
struct NonClientLayout {
    TRect window;
    TRect caption;
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
// How much the non-client area takes on each side (left, top, right, bottom).
TRect NonClientMargins(DWORD style, DWORD exStyle);

LRESULT NonClientHitTest(const Window& window, POINT screen);
void PaintNonClient(Window& window);
