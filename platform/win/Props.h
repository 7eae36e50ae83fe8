// Window properties: handles kept on a window by name or by atom. A name is
// held as a global atom for as long as the property exists.
#pragma once

#include "platform/win/WinUser.h"
#include "platform/win/WindowObjects.h"

BOOL SetPropA(HWND window, LPCSTR name, HANDLE value);
BOOL SetPropW(HWND window, LPCWSTR name, HANDLE value);
HANDLE GetPropA(HWND window, LPCSTR name);
HANDLE GetPropW(HWND window, LPCWSTR name);
// Returns the value the property had.
HANDLE RemovePropA(HWND window, LPCSTR name);
HANDLE RemovePropW(HWND window, LPCWSTR name);

// ---- For the window units ----

void RemoveAllProperties(Window& window);
