// Message boxes: a modal window of our own with the icon, text and buttons
// asked for. The owner is disabled while the box is up (all of the thread's
// top-level windows with MB_TASKMODAL); Enter presses the focused button, Esc
// and the close box answer Cancel where there is one (OK for MB_OK), Tab and
// the arrow keys move between buttons and a button's letter presses it.
// A test answers a box through the backend's input like a user would.
#pragma once

#include "platform/win/WinUser.h"

// The box's window class, its buttons' class (their ids are the answers) and
// the class of the child that shows the message, for finding them.
inline constexpr const WCHAR* MessageBoxClassName = u"MessageBoxWindow";
inline constexpr const WCHAR* MessageBoxButtonClassName = u"MessageBoxButton";
inline constexpr const WCHAR* MessageBoxTextClassName = u"MessageBoxText";

// A null caption reads "Error", as in Windows. Returns the id of the button
// chosen (IDOK, IDCANCEL, IDYES, ...), 0 on failure.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
