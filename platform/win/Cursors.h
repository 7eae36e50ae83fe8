// Mouse cursors and the pointer position: the standard cursors, the
// program's own cursor resources (through a loader the resource layer
// installs), SetCursor, ShowCursor's display count, GetCursorPos/SetCursorPos.
#pragma once

#include "platform/win/BackendInterface.h"
#include "platform/win/WinUser.h"

#include <functional>

// A null instance with an IDC_ name gives a standard cursor; other names go to the resource loader.
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
// The display count: the pointer shows while it is 0 or more.
int ShowCursor(BOOL show);
BOOL GetCursorPos(LPPOINT point);
BOOL SetCursorPos(int x, int y);
BOOL DestroyCursor(HCURSOR cursor);

// The program's cursors by resource name (an integer name arrives as "#<number>").
using CursorResourceLoader = std::function<HCURSOR(HINSTANCE instance, const AnsiString& name)>;
void SetCursorResourceLoader(CursorResourceLoader loader);

// ---- For the window units ----

// The standard shape a cursor handle stands for (Custom for the program's own).
CursorShape ShapeOfCursor(HCURSOR cursor);
void NoteCursorPosition(POINT screen);
void GetCursorPosition(POINT& screen);
