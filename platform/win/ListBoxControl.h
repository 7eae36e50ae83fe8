// The LISTBOX class: a scrolling list of items (UTF-16 texts, or item data
// for owner-drawn lists without LBS_HASSTRINGS) with single, multiple or
// extended selection, sorting, owner drawing of fixed or variable height,
// and the LB_ messages. With LBS_NOTIFY the parent hears LBN_SELCHANGE and
// LBN_DBLCLK when the user changes the selection or double-clicks; changes
// made by messages are not reported. The drop-down list of a combo box is a
// list box of the class "ComboLBox" with LBS_COMBOBOX, which reports to the
// combo box (given as its creation parameter) instead of taking the focus.
#pragma once

#include "platform/win/WinUser.h"

constexpr DWORD LBS_NOTIFY = 0x0001;
constexpr DWORD LBS_SORT = 0x0002;
constexpr DWORD LBS_NOREDRAW = 0x0004;
constexpr DWORD LBS_MULTIPLESEL = 0x0008;
constexpr DWORD LBS_USETABSTOPS = 0x0080;
constexpr DWORD LBS_NOINTEGRALHEIGHT = 0x0100;
constexpr DWORD LBS_EXTENDEDSEL = 0x0800;
constexpr DWORD LBS_DISABLENOSCROLL = 0x1000;
// A list of LB_SETCOUNT empty items that an owner draws (with owner drawing, without strings).
constexpr DWORD LBS_NODATA = 0x2000;
constexpr DWORD LBS_NOSEL = 0x4000;
constexpr DWORD LBS_COMBOBOX = 0x8000;
constexpr DWORD LBS_STANDARD = LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER;

constexpr LRESULT LB_OKAY = 0;
constexpr LRESULT LB_ERR = -1;
constexpr LRESULT LB_ERRSPACE = -2;

constexpr WORD LBN_ERRSPACE = static_cast<WORD>(-2);
constexpr WORD LBN_SELCHANGE = 1;
constexpr WORD LBN_DBLCLK = 2;
constexpr WORD LBN_SELCANCEL = 3;
constexpr WORD LBN_SETFOCUS = 4;
constexpr WORD LBN_KILLFOCUS = 5;

// The classes' window procedure (UTF-16), for LISTBOX and ComboLBox alike.
LRESULT ListBoxWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// ---- For the combo box ----

// What the drop-down list of a combo box tells its combo box, besides
// LBN_SELCHANGE (through WM_COMMAND, like the LBN_ codes).
constexpr WORD ComboListItemPicked = 0x0100;
constexpr WORD ComboListCancelled = 0x0101;

// The dropped list follows the mouse, holding the capture: moving over an
// item highlights it, releasing the button on one picks it, pressing outside
// cancels. `buttonHeld` when the press that opened the list is still down
// (releasing it outside the list then keeps the list open).
void TrackComboList(HWND list, bool buttonHeld);
// Ends the tracking without a notification (the combo box closes the list).
void StopComboListTracking(HWND list);
