// The standard control classes (BUTTON, STATIC, LISTBOX, COMBOBOX and the
// others of the window layer): their registration, the owner-draw records
// they exchange with their parents, and the few services the control units
// share (notifying the parent, asking it for colours, the control's font).
#pragma once

#include "platform/win/WinUser.h"

// Registers every standard control class as a system class (found from any
// instance). Windows has them from the start; here the program and the
// framework call this once before making controls. Later calls do nothing.
void RegisterStandardControlClasses();

// ---- Owner drawing ----------------------------------------------------------

constexpr UINT ODT_MENU = 1;
constexpr UINT ODT_LISTBOX = 2;
constexpr UINT ODT_COMBOBOX = 3;
constexpr UINT ODT_BUTTON = 4;
constexpr UINT ODT_STATIC = 5;

constexpr UINT ODA_DRAWENTIRE = 0x0001;
constexpr UINT ODA_SELECT = 0x0002;
constexpr UINT ODA_FOCUS = 0x0004;

constexpr UINT ODS_SELECTED = 0x0001;
constexpr UINT ODS_GRAYED = 0x0002;
constexpr UINT ODS_DISABLED = 0x0004;
constexpr UINT ODS_CHECKED = 0x0008;
constexpr UINT ODS_FOCUS = 0x0010;
constexpr UINT ODS_DEFAULT = 0x0020;
constexpr UINT ODS_COMBOBOXEDIT = 0x1000;

struct DRAWITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemAction = 0;
    UINT itemState = 0;
    HWND hwndItem = nullptr;
    HDC hDC = nullptr;
    RECT rcItem;
    ULONG_PTR itemData = 0;
};

struct MEASUREITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemWidth = 0;
    UINT itemHeight = 0;
    ULONG_PTR itemData = 0;
};

struct DELETEITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    HWND hwndItem = nullptr;
    ULONG_PTR itemData = 0;
};

// WM_COMPAREITEM answers -1, 0 or 1 as item 1 sorts before, with or after item 2.
struct COMPAREITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    HWND hwndItem = nullptr;
    UINT itemID1 = 0;
    ULONG_PTR itemData1 = 0;
    UINT itemID2 = 0;
    ULONG_PTR itemData2 = 0;
    DWORD dwLocaleId = 0;
};

// ---- For the control units ----------------------------------------------------

// WM_COMMAND with the control's id and `code` to its parent (the owner of a pop-up).
LRESULT NotifyParent(HWND control, WORD code);
// Asks the parent for the control's colours with a WM_CTLCOLOR... message,
// which sets the text and background colours of `dc`; the default
// procedure's colours when there is no parent or it does not answer.
HBRUSH ControlColourBrush(HWND control, HDC dc, UINT message);
// The window's text as the default procedure keeps it.
WideString ControlText(HWND control);
// The font a control draws with: the one WM_SETFONT gave it, else the system font.
HFONT ControlFont(HFONT font);
// The height of a line of text in that font, at least 1.
int ControlFontHeight(HWND control, HFONT font);
// Text in a control's disabled look: embossed in the highlight and shadow colours.
void DrawDisabledText(HDC dc, const WideString& text, RECT rect, UINT format);
