// Menus: menu bars and pop-up menus as handles holding items (text with "&"
// mnemonics and a tab before the shortcut text, bitmaps, separators,
// owner-drawn items, check marks, sub-menus), the calls that build and query
// them in both charsets, a top-level window's menu bar, and TrackPopupMenu.
// While a menu is open its owner receives WM_ENTERMENULOOP, WM_INITMENU,
// WM_INITMENUPOPUP, WM_MENUSELECT, WM_MENUCHAR, WM_MEASUREITEM, WM_DRAWITEM,
// WM_ENTERIDLE and WM_EXITMENULOOP; a chosen item posts WM_COMMAND.
#pragma once

#include "platform/win/StandardControls.h"
#include "platform/win/WinUser.h"

// ---- Item flags of the older calls (AppendMenu, ModifyMenu, ...) ------------

constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_UNHILITE = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_BITMAP = 0x0004;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_MENUBARBREAK = 0x0020;
constexpr UINT MF_MENUBREAK = 0x0040;
constexpr UINT MF_HILITE = 0x0080;
constexpr UINT MF_OWNERDRAW = 0x0100;
constexpr UINT MF_USECHECKBITMAPS = 0x0200;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_DEFAULT = 0x1000;
constexpr UINT MF_SYSMENU = 0x2000;
constexpr UINT MF_RIGHTJUSTIFY = 0x4000;
constexpr UINT MF_MOUSESELECT = 0x8000;

// ---- Item types, states and the parts of MENUITEMINFO ------------------------

constexpr UINT MFT_STRING = 0x0000;
constexpr UINT MFT_BITMAP = 0x0004;
constexpr UINT MFT_MENUBARBREAK = 0x0020;
constexpr UINT MFT_MENUBREAK = 0x0040;
constexpr UINT MFT_OWNERDRAW = 0x0100;
constexpr UINT MFT_RADIOCHECK = 0x0200;
constexpr UINT MFT_SEPARATOR = 0x0800;
constexpr UINT MFT_RIGHTORDER = 0x2000;
constexpr UINT MFT_RIGHTJUSTIFY = 0x4000;

constexpr UINT MFS_ENABLED = 0x0000;
constexpr UINT MFS_UNCHECKED = 0x0000;
constexpr UINT MFS_UNHILITE = 0x0000;
constexpr UINT MFS_GRAYED = 0x0003;
constexpr UINT MFS_DISABLED = MFS_GRAYED;
constexpr UINT MFS_CHECKED = 0x0008;
constexpr UINT MFS_HILITE = 0x0080;
constexpr UINT MFS_DEFAULT = 0x1000;

constexpr UINT MIIM_STATE = 0x0001;
constexpr UINT MIIM_ID = 0x0002;
constexpr UINT MIIM_SUBMENU = 0x0004;
constexpr UINT MIIM_CHECKMARKS = 0x0008;
constexpr UINT MIIM_TYPE = 0x0010;
constexpr UINT MIIM_DATA = 0x0020;
constexpr UINT MIIM_STRING = 0x0040;
constexpr UINT MIIM_BITMAP = 0x0080;
constexpr UINT MIIM_FTYPE = 0x0100;

// ---- TrackPopupMenu ----------------------------------------------------------

constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RECURSE = 0x0001;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_HORIZONTAL = 0x0000;
constexpr UINT TPM_VERTICAL = 0x0040;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;
constexpr UINT TPM_NOANIMATION = 0x4000;
constexpr UINT TPM_LAYOUTRTL = 0x8000;

// ---- Menu messages -------------------------------------------------------------

// WM_MENUCHAR answers in the high word; the low word is an item position.
constexpr WORD MNC_IGNORE = 0;
constexpr WORD MNC_CLOSE = 1;
constexpr WORD MNC_EXECUTE = 2;
constexpr WORD MNC_SELECT = 3;

// WM_ENTERIDLE's wParam while a menu is open.
constexpr WPARAM MSGF_MENU = 2;

// The item states of WM_DRAWITEM that only menus use.
constexpr UINT ODS_HOTLIGHT = 0x0040;
constexpr UINT ODS_INACTIVE = 0x0080;
constexpr UINT ODS_NOACCEL = 0x0100;

// The class of the pop-up windows that show open menus.
inline constexpr const WCHAR* PopupMenuClassName = u"#32768";

constexpr DWORD ERROR_MENU_ITEM_NOT_FOUND = 1456;
constexpr DWORD ERROR_CHILD_WINDOW_MENU = 1436;
constexpr DWORD ERROR_POPUP_ALREADY_ACTIVE = 1446;

// ---- Structures ------------------------------------------------------------------

// Both sizes are accepted: the full one, and the older one that ends before
// hbmpItem (MENUITEMINFO_SIZE_VERSION_400A/W), with which hbmpItem is neither
// read nor written.
template <typename Char> struct MENUITEMINFO_T {
    UINT cbSize = sizeof(MENUITEMINFO_T);
    UINT fMask = 0;
    UINT fType = 0;
    UINT fState = 0;
    UINT wID = 0;
    HMENU hSubMenu = nullptr;
    HBITMAP hbmpChecked = nullptr;
    HBITMAP hbmpUnchecked = nullptr;
    ULONG_PTR dwItemData = 0;
    Char* dwTypeData = nullptr;
    UINT cch = 0;
    HBITMAP hbmpItem = nullptr;
};
using MENUITEMINFOA = MENUITEMINFO_T<char>;
using MENUITEMINFOW = MENUITEMINFO_T<WCHAR>;
constexpr UINT MENUITEMINFO_SIZE_VERSION_400A = offsetof(MENUITEMINFOA, hbmpItem);
constexpr UINT MENUITEMINFO_SIZE_VERSION_400W = offsetof(MENUITEMINFOW, hbmpItem);

struct TPMPARAMS {
    UINT cbSize = sizeof(TPMPARAMS);
    // The menu is placed so as not to cover this screen rectangle.
    RECT rcExclude;
};

// ---- Menus and their items ------------------------------------------------------

// A menu for a window's bar, and one for pop-ups and sub-menus.
HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the sub-menus too.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);

// `item` is a position or a command; a command is looked for in the sub-menus
// as well. A position past the end appends.
BOOL InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info);
BOOL InsertMenuItemW(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOW* info);
// With MIIM_STRING (or MIIM_TYPE on a text item) the text is copied into
// dwTypeData, at most cch - 1 characters and a terminating zero, and cch gets
// the length copied; a null dwTypeData or a zero cch only reports the length.
BOOL GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOA* info);
BOOL GetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOW* info);
BOOL SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info);
BOOL SetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOW* info);

// `flags` are MF_ flags; `newItem` is the text, or with MF_BITMAP the bitmap
// and with MF_OWNERDRAW the item data. With MF_POPUP, `idNewItem` is the sub-menu.
BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCSTR newItem);
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCWSTR newItem);
BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem);
BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCWSTR newItem);
// Replaces the item; a sub-menu it no longer opens is destroyed.
BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem);
BOOL ModifyMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCWSTR newItem);
// RemoveMenu keeps the item's sub-menu; DeleteMenu destroys it.
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);

// The number of characters copied (without the terminating zero), or the
// text's length when `buffer` is null; 0 when there is no such item.
int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int maxCount, UINT flags);
int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int maxCount, UINT flags);
HMENU GetSubMenu(HMENU menu, int position);
// -1 for a bad handle.
int GetMenuItemCount(HMENU menu);
// -1 (as UINT) for an item that opens a sub-menu, or when there is none.
UINT GetMenuItemID(HMENU menu, int position);
// The item's MF_ flags; for an item that opens a sub-menu, the low byte holds
// them and the high byte the sub-menu's item count. -1 when there is none.
UINT GetMenuState(HMENU menu, UINT id, UINT flags);
// Return the previous MF_CHECKED, or MF_ENABLED/MF_GRAYED/MF_DISABLED
// state; -1 when there is no such item.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);
// Checks `check` as a radio item and unchecks the others of first .. last.
BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags);
// -1 (as UINT) as the item removes the default item.
BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition);
UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT flags);
// The check mark's width in the low word and its height in the high word.
LONG GetMenuCheckMarkDimensions();

// ---- A window's menu bar ---------------------------------------------------------

// Only a window without WS_CHILD has a bar; the frame is laid out again.
BOOL SetMenu(HWND window, HMENU menu);
HMENU GetMenu(HWND window);
// Lays the bar out and paints it again after its items changed.
BOOL DrawMenuBar(HWND window);
// Where an item of the window's bar, or of a menu shown in a pop-up now, lies
// on the screen.
BOOL GetMenuItemRect(HWND window, HMENU menu, UINT item, LPRECT rect);

// ---- Pop-up menus ------------------------------------------------------------------

// Shows the menu at a screen point and returns when it closes. With
// TPM_RETURNCMD it returns the chosen command (0 for none) and posts nothing;
// otherwise it posts WM_COMMAND to `owner` (unless TPM_NONOTIFY) and returns
// TRUE. `reserved` and `ignored` are not used.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* ignored);
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params);
// Closes the menu that is open on this thread.
BOOL EndMenu();

// ---- For the framework's owner-drawn menus ----------------------------------------------

// Paints a DFC_MENU glyph (DFCS_MENUCHECK, DFCS_MENUBULLET, DFCS_MENUARROW)
// in a colour, centred in `box`, leaving the background as it is.
void DrawMenuGlyph(HDC dc, const RECT& box, UINT glyph, COLORREF colour);
