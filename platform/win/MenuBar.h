// A top-level window's menu bar: its items laid out in rows under the caption
// (a row wraps when the window is too narrow, MFT_MENUBREAK starts a new one,
// MFT_RIGHTJUSTIFY pushes the rest of a row to the right), painted in the
// non-client area, and found under a point.
#pragma once

#include "platform/win/MenuObjects.h"

#include <vector>

// What the non-client code asks: the bar's height for a width, and its painting
// on a window DC (`bar` in window coordinates).
int MenuBarHeight(HWND window, int width);
void PaintMenuBar(HWND window, HDC dc, const TRect& bar);

// Where each item lies, relative to the bar's top-left corner.
std::vector<TRect> LayoutMenuBar(HWND window, HMENU menu, int width);
// Empty when the window shows no bar.
TRect MenuBarRectOnScreen(HWND window);
TRect MenuBarItemRectOnScreen(HWND window, std::size_t index);
// The item under a screen point, or -1.
int MenuBarItemAt(HWND window, POINT screen);
// Paints the bar at once, after the highlight of an item changed.
void RepaintMenuBar(HWND window);
