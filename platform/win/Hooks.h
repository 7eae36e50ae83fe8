// Message hooks of the calling thread: WH_GETMESSAGE, WH_CALLWNDPROC,
// WH_KEYBOARD and WH_MOUSE. The newest hook runs first and passes on with
// CallNextHookEx. A hook installed through a wide call sees character
// messages in UTF-16, an ANSI one in code page 1252.
#pragma once

#include "platform/win/WinUser.h"
#include "platform/win/WindowProcedures.h"

// Only hooks of the calling thread: `threadId` is 0 or the caller's id.
HHOOK SetWindowsHookExA(int hookType, HOOKPROC procedure, HINSTANCE module, DWORD threadId);
HHOOK SetWindowsHookExW(int hookType, HOOKPROC procedure, HINSTANCE module, DWORD threadId);
BOOL UnhookWindowsHookEx(HHOOK hook);
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);

// ---- For the window units ----

// WH_GETMESSAGE: `msg` is in `charSet` and comes back in the charset it has
// after the chain (that of the first hook), with the hooks' changes.
void RunGetMessageHooks(MSG& msg, CharSet& charSet, bool removing);
void RunCallWndProcHooks(CharSet caller, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// True when a hook discards the input.
bool RunKeyboardHooks(bool removing, WPARAM virtualKey, LPARAM keyData);
bool RunMouseHooks(bool removing, UINT message, const MOUSEHOOKSTRUCT& details);
