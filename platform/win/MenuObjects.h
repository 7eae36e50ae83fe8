// The objects behind menu handles: a menu's items with their type, state,
// command, sub-menu, bitmaps, data and text; the table of handles; finding an
// item by position or by command; and which window shows which menu as its
// bar. Shared by the menu units; callers of the menu interface see handles.
#pragma once

#include "platform/win/Menus.h"

#include <optional>
#include <vector>

struct MenuItemObject {
    UINT type = MFT_STRING;
    UINT state = MFS_ENABLED;
    UINT id = 0;
    HMENU subMenu = nullptr;
    HBITMAP checkedBitmap = nullptr;
    HBITMAP uncheckedBitmap = nullptr;
    ULONG_PTR data = 0;
    WideString text;
    // hbmpItem, or the picture of an MFT_BITMAP item.
    HBITMAP bitmap = nullptr;
    // What WM_MEASUREITEM answered for an owner-drawn item, until the item changes.
    std::optional<SIZE> ownerSize;
};

struct MenuObject {
    HMENU handle = nullptr;
    // Made by CreatePopupMenu rather than CreateMenu.
    bool popup = false;
    std::vector<MenuItemObject> items;
    // The window that shows the menu as its bar.
    HWND window = nullptr;
};

// A menu is used by the thread that made it; only the table is shared.
HMENU InsertMenuObject(bool popup);
void EraseMenuObject(HMENU menu);
// Null for an unknown handle (no error is set).
MenuObject* FindMenuObject(HMENU menu);
// Null with ERROR_INVALID_MENU_HANDLE for an unknown handle.
MenuObject* MenuObjectOrError(HMENU menu);

struct MenuItemPlace {
    MenuObject* menu = nullptr;
    std::size_t index = 0;
    MenuItemObject& item() const { return menu->items[index]; }
};
// By position in the menu itself, or by command in it and its sub-menus
// (an item that opens a sub-menu matches only when nothing inside does).
// None with ERROR_MENU_ITEM_NOT_FOUND (or the handle's error).
std::optional<MenuItemPlace> FindMenuItem(HMENU menu, UINT item, bool byPosition);

// The bar of a window, dropped once the window is gone.
HMENU MenuOfWindow(HWND window);
void SetMenuOfWindow(HWND window, HMENU menu);

bool IsSeparator(const MenuItemObject& item);
bool IsDisabled(const MenuItemObject& item);
bool IsOwnerDrawn(const MenuItemObject& item);
// An item that shows its text: neither a separator, a bitmap nor owner-drawn.
bool IsTextItem(const MenuItemObject& item);
// The upper-case character after the first single "&" of the text, or 0.
WCHAR MnemonicOf(const WideString& text);
// The text before the first tab, and the shortcut text after it.
WideString LabelOf(const WideString& text);
WideString ShortcutTextOf(const WideString& text);
// The MF_ flags that describe the item, as WM_MENUSELECT and GetMenuState give them.
UINT MenuFlagsOf(const MenuItemObject& item);
