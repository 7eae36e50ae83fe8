// Walking the window tree: relations (GetWindow, GetAncestor, GetTopWindow),
// searches (FindWindow, EnumChildWindows, EnumWindows), coordinates
// (ClientToScreen, ScreenToClient, MapWindowPoints) and what lies under a
// point (WindowFromPoint, ChildWindowFromPoint), which follows window regions.
#pragma once

#include "platform/win/WinUser.h"
#include "platform/win/WindowObjects.h"

HWND GetWindow(HWND window, UINT relation);
HWND GetAncestor(HWND window, UINT flags);
HWND GetTopWindow(HWND window);
HWND GetNextWindow(HWND window, UINT direction);
// Top-level windows by class and title (either may be null).
HWND FindWindowA(LPCSTR className, LPCSTR windowName);
HWND FindWindowW(LPCWSTR className, LPCWSTR windowName);
// Children of `parent` (top-level windows for null, message-only windows for
// HWND_MESSAGE) after `childAfter`.
HWND FindWindowExA(HWND parent, HWND childAfter, LPCSTR className, LPCSTR windowName);
HWND FindWindowExW(HWND parent, HWND childAfter, LPCWSTR className, LPCWSTR windowName);
// Every descendant, parents before their children.
BOOL EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM lParam);
BOOL EnumWindows(WNDENUMPROC callback, LPARAM lParam);
BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC callback, LPARAM lParam);

BOOL ClientToScreen(HWND window, LPPOINT point);
BOOL ScreenToClient(HWND window, LPPOINT point);
// Returns the offset packed as x in the low word and y in the high word.
int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count);

// The deepest visible, enabled window under a screen point, asking
// WM_NCHITTEST and passing through windows that answer HTTRANSPARENT.
HWND WindowFromPoint(POINT point);
// A child of `parent` at a point of its client area (the parent itself when no child is there).
HWND ChildWindowFromPoint(HWND parent, POINT point);
HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags);

// ---- For the window units ----

// WindowFromPoint with the hit-test code of the window found.
HWND HitTestWindow(POINT screen, LRESULT& hit);
