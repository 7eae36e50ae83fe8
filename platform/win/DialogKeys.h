// The dialog manager's keyboard interface: IsDialogMessage moves the focus
// with Tab and Shift+Tab through the WS_TABSTOP controls in z-order and with
// the arrows inside a WS_GROUP group, and turns Enter and Esc into the
// default and the cancel button's WM_COMMAND, unless the focus control asks
// for those keys through WM_GETDLGCODE. Anything else is translated and
// dispatched as the message loop would.
#pragma once

#include "platform/win/WinUser.h"

// A dialog answers DM_GETDEFID with MAKELONG(id, DC_HASDEFID) when it has a default button.
constexpr UINT DM_GETDEFID = WM_USER + 0;
constexpr UINT DM_SETDEFID = WM_USER + 1;
constexpr WORD DC_HASDEFID = 0x534B;

// TRUE when the message was meant for the dialog or one of its controls and
// has been handled; such a message must not be dispatched again.
BOOL IsDialogMessageA(HWND dialog, LPMSG msg);
BOOL IsDialogMessageW(HWND dialog, LPMSG msg);

// The next (or previous) visible, enabled WS_TABSTOP control after `control`
// in z-order, descending into WS_EX_CONTROLPARENT children and wrapping
// around; a null `control` starts at the first (or last). `control` itself
// when no other control qualifies.
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
// The next (or previous) visible, enabled control of `control`'s group: the
// siblings from a WS_GROUP control up to the next one, wrapping around.
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);

// The child of the dialog with the id; null with ERROR_CONTROL_ID_NOT_FOUND when there is none.
HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND window);

constexpr DWORD ERROR_CONTROL_ID_NOT_FOUND = 1421;
