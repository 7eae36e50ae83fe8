// The menu loop: while a pop-up menu or a window's menu bar is open, the
// thread's keyboard and mouse input drives the menu instead of the windows.
// Arrows move the selection and open or close sub-menus (and, in a bar, go
// to the neighbouring bar item), Enter chooses, Esc closes one level, Alt and
// F10 close all, F1 asks the owner for help on the selected item (WM_HELP),
// a character chooses the item with that "&" mnemonic (or selects the next
// of several) and otherwise asks the owner with WM_MENUCHAR;
// the mouse selects what it moves over, opens sub-menus, chooses on release
// and closes the menus with a click elsewhere. Other messages are dispatched
// as usual; WM_ENTERIDLE tells the owner when the queue is empty.
#pragma once

#include "platform/win/Menus.h"

class PopupMenuWindow;

// TrackPopupMenuEx: the chosen command, 0 for none; false in `shown` when
// another menu is open and TPM_RECURSE is not given.
UINT RunPopupMenuLoop(HMENU menu, UINT flags, POINT point, HWND owner, const TRect* exclude, bool& shown);
// SC_MOUSEMENU (lParam: the screen point) and SC_KEYMENU (lParam: the
// character typed with Alt, or 0 for F10 and Alt alone) on a window with a bar.
void RunMenuBarLoop(HWND window, WPARAM command, LPARAM lParam);
// Closes the menu open on this thread; false when there is none.
bool EndActiveMenu();
// The pop-up that shows `menu` now, or null.
const PopupMenuWindow* OpenPopupShowing(HMENU menu);
