// The scroll bars of a window's non-client area (WS_HSCROLL, WS_VSCROLL):
// range, page and position with Windows' clamping, showing and hiding (which
// resizes the client area at once and sends WM_SIZE), disabled arrows,
// drawing in the classic look, and the mouse: arrows and page areas send
// their SB_ codes with auto-repeat, the thumb SB_THUMBTRACK and
// SB_THUMBPOSITION, and every press ends with SB_ENDSCROLL. SB_CTL requests
// go to a scroll-bar control as its SBM_ messages.
#pragma once

#include "platform/win/NonClient.h"
#include "platform/win/WinUser.h"

#include <optional>

// Returns the new position.
int SetScrollInfo(HWND window, int bar, const SCROLLINFO* info, BOOL redraw);
BOOL GetScrollInfo(HWND window, int bar, SCROLLINFO* info);
// Returns the previous position.
int SetScrollPos(HWND window, int bar, int position, BOOL redraw);
int GetScrollPos(HWND window, int bar);
BOOL SetScrollRange(HWND window, int bar, int minimum, int maximum, BOOL redraw);
BOOL GetScrollRange(HWND window, int bar, LPINT minimum, LPINT maximum);
BOOL ShowScrollBar(HWND window, int bar, BOOL show);
// FALSE when the arrows were in that state already.
BOOL EnableScrollBar(HWND window, UINT bar, UINT arrows);

// Where a control scrolled by a WM_HSCROLL/WM_VSCROLL request ends up: the
// bar's position moved by `line` or a page, or set by the thumb or to an end;
// nothing for SB_ENDSCROLL and unknown codes. The caller clamps.
std::optional<int> ScrolledPosition(const SCROLLINFO& info, WORD code, int line);

// An arrow button of a scroll bar in the classic look, shared by the window
// bars and the scroll-bar control.
void DrawScrollBarArrow(HDC dc, const TRect& button, bool vertical, bool towardsEnd, bool enabled,
                        bool pushed);

// ---- For the window units ----

void PaintWindowScrollBars(Window& window, HDC windowDC, const NonClientLayout& layout);
// The modal tracking a press on a window's scroll bar starts (WM_NCLBUTTONDOWN).
void TrackWindowScrollBar(Window& window, int bar, POINT screen);
