// The COMBOBOX class: a selection field over a list of items. A simple
// combo box shows an edit field and its list at all times; a drop-down one
// has an edit field and a button that drops the list in a pop-up window; a
// drop-down list shows the chosen item instead of an edit field. The items
// live in a list box of the class "ComboLBox" (the CB_ messages are its LB_
// messages), the edit field is an EDIT window; the parent hears CBN_
// notifications through WM_COMMAND and draws owner-drawn items for the combo box.
#pragma once

#include "platform/win/WinUser.h"

constexpr DWORD CBS_SIMPLE = 0x0001;
constexpr DWORD CBS_DROPDOWN = 0x0002;
constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
constexpr DWORD CBS_AUTOHSCROLL = 0x0040;
constexpr DWORD CBS_SORT = 0x0100;
constexpr DWORD CBS_NOINTEGRALHEIGHT = 0x0400;
constexpr DWORD CBS_DISABLENOSCROLL = 0x0800;
constexpr DWORD CBS_UPPERCASE = 0x2000;
constexpr DWORD CBS_LOWERCASE = 0x4000;

constexpr LRESULT CB_OKAY = 0;
constexpr LRESULT CB_ERR = -1;
constexpr LRESULT CB_ERRSPACE = -2;

constexpr UINT CB_GETCOMBOBOXINFO = 0x0164;

constexpr WORD CBN_ERRSPACE = static_cast<WORD>(-1);
constexpr WORD CBN_SELCHANGE = 1;
constexpr WORD CBN_DBLCLK = 2;
constexpr WORD CBN_SETFOCUS = 3;
constexpr WORD CBN_KILLFOCUS = 4;
constexpr WORD CBN_EDITCHANGE = 5;
constexpr WORD CBN_EDITUPDATE = 6;
constexpr WORD CBN_DROPDOWN = 7;
constexpr WORD CBN_CLOSEUP = 8;
constexpr WORD CBN_SELENDOK = 9;
constexpr WORD CBN_SELENDCANCEL = 10;

// The ids of a combo box's children, as Windows numbers them.
constexpr int ComboListId = 1000;
constexpr int ComboEditId = 1001;

constexpr DWORD STATE_SYSTEM_PRESSED = 0x00000008;
constexpr DWORD STATE_SYSTEM_INVISIBLE = 0x00008000;

// Where the parts of a combo box are and which windows make it up (client
// coordinates); hwndItem is the edit field (null for a drop-down list).
struct COMBOBOXINFO {
    DWORD cbSize = sizeof(COMBOBOXINFO);
    RECT rcItem;
    RECT rcButton;
    DWORD stateButton = 0;
    HWND hwndCombo = nullptr;
    HWND hwndItem = nullptr;
    HWND hwndList = nullptr;
};

BOOL GetComboBoxInfo(HWND combo, COMBOBOXINFO* info);

// The class's window procedure (UTF-16); RegisterStandardControlClasses registers it.
LRESULT ComboBoxWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
