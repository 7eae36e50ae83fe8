// Moving, sizing, showing and stacking windows: SetWindowPos with its
// WM_WINDOWPOSCHANGING / WM_NCCALCSIZE / WM_WINDOWPOSCHANGED sequence (whose
// default handling sends WM_SIZE and WM_MOVE), ShowWindow with minimising and
// maximising, rectangles and window regions.
#pragma once

#include "platform/win/WinUser.h"
#include "platform/win/WindowObjects.h"

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
// Returns whether the window was visible before.
BOOL ShowWindow(HWND window, int command);
BOOL BringWindowToTop(HWND window);
BOOL IsIconic(HWND window);
BOOL IsZoomed(HWND window);
// In screen coordinates.
BOOL GetWindowRect(HWND window, LPRECT rect);
// Always at 0, 0.
BOOL GetClientRect(HWND window, LPRECT rect);
BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu);
BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle);
// The window takes the region (window coordinates) and frees it later; null
// gives the rectangle back. Painting, hit testing and the backend's outline
// follow the region.
int SetWindowRgn(HWND window, HRGN region, BOOL redraw);
// Copies the window's region into `region`; ERROR when it has none.
int GetWindowRgn(HWND window, HRGN region);

// ---- For the window units ----

// WM_WINDOWPOSCHANGING's default: the minimum and maximum tracking sizes,
// which the backend is told too.
void ApplyTrackingLimits(Window& window, WINDOWPOS& position);
// WM_WINDOWPOSCHANGED's default: WM_SIZE and WM_MOVE when they changed.
void SendSizeAndMove(Window& window, const WINDOWPOS& position);
