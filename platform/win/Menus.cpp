// The menu calls. Text is kept as UTF-16; the ANSI calls convert through the
// ANSI code page on the way in and out.
#include "platform/win/Menus.h"

#include "platform/core/CodePages.h"
#include "platform/win/MenuBar.h"
#include "platform/win/MenuLoop.h"
#include "platform/win/MenuObjects.h"
#include "platform/win/NonClient.h"
#include "platform/win/PopupMenuWindow.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/WindowPos.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr UINT noItem = static_cast<UINT>(-1);
constexpr UINT disabledBits = MF_GRAYED | MF_DISABLED;
constexpr UINT flagTypeBits =
    MF_MENUBARBREAK | MF_MENUBREAK | MF_RIGHTJUSTIFY | MF_OWNERDRAW | MF_BITMAP | MF_SEPARATOR;
constexpr UINT flagStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT;
// GetMenuDefaultItem: a disabled default item counts too.
constexpr UINT useDisabledDefault = 0x0001;

// The bar is reserved, painted and run by the non-client code once a window has a menu.
void registerMenuBars() {
    static bool registered = [] {
        SetMenuBarHandlers({MenuBarHeight, PaintMenuBar, RunMenuBarLoop});
        return true;
    }();
    (void)registered;
}

template <typename Char> bool hasBitmapField(const MENUITEMINFO_T<Char>& info) {
    return info.cbSize == sizeof info;
}

template <typename Char> bool validInfo(const MENUITEMINFO_T<Char>* info) {
    if (info && (hasBitmapField(*info) || info->cbSize == offsetof(MENUITEMINFO_T<Char>, hbmpItem)))
        return true;
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
}

bool validSubMenu(HMENU subMenu) {
    return !subMenu || MenuObjectOrError(subMenu);
}

template <typename Char> bool applyInfo(MenuItemObject& item, const MENUITEMINFO_T<Char>& info) {
    UINT mask = info.fMask;
    if ((mask & MIIM_SUBMENU) && !validSubMenu(info.hSubMenu)) return false;
    if (mask & (MIIM_TYPE | MIIM_FTYPE)) item.type = info.fType;
    if (mask & MIIM_TYPE) {
        if (IsTextItem(item))
            item.text = TextOf(info.dwTypeData);
        else if (item.type & MFT_BITMAP)
            item.bitmap = reinterpret_cast<HBITMAP>(info.dwTypeData);
    }
    if (mask & MIIM_STRING) item.text = TextOf(info.dwTypeData);
    if (mask & MIIM_STATE) item.state = info.fState;
    if (mask & MIIM_ID) item.id = info.wID;
    if (mask & MIIM_SUBMENU) item.subMenu = info.hSubMenu;
    if (mask & MIIM_CHECKMARKS) {
        item.checkedBitmap = info.hbmpChecked;
        item.uncheckedBitmap = info.hbmpUnchecked;
    }
    if (mask & MIIM_DATA) item.data = info.dwItemData;
    if ((mask & MIIM_BITMAP) && hasBitmapField(info)) item.bitmap = info.hbmpItem;
    item.ownerSize.reset();
    return true;
}

template <typename Char> void copyText(const WideString& text, MENUITEMINFO_T<Char>& info) {
    std::basic_string<Char> converted = TextAs<Char>(text);
    if (!info.dwTypeData || info.cch == 0) {
        info.cch = static_cast<UINT>(converted.size());
        return;
    }
    std::size_t copied = std::min<std::size_t>(converted.size(), info.cch - 1);
    std::copy_n(converted.data(), copied, info.dwTypeData);
    info.dwTypeData[copied] = 0;
    info.cch = static_cast<UINT>(copied);
}

template <typename Char> void fillInfo(const MenuItemObject& item, MENUITEMINFO_T<Char>& info) {
    UINT mask = info.fMask;
    if (mask & (MIIM_TYPE | MIIM_FTYPE)) info.fType = item.type;
    if (mask & MIIM_TYPE) {
        if (IsTextItem(item))
            copyText(item.text, info);
        else if (item.type & MFT_BITMAP)
            info.dwTypeData = reinterpret_cast<Char*>(item.bitmap);
        else
            info.cch = 0;
    }
    if (mask & MIIM_STRING) copyText(item.text, info);
    if (mask & MIIM_STATE) info.fState = item.state;
    if (mask & MIIM_ID) info.wID = item.id;
    if (mask & MIIM_SUBMENU) info.hSubMenu = item.subMenu;
    if (mask & MIIM_CHECKMARKS) {
        info.hbmpChecked = item.checkedBitmap;
        info.hbmpUnchecked = item.uncheckedBitmap;
    }
    if (mask & MIIM_DATA) info.dwItemData = item.data;
    if ((mask & MIIM_BITMAP) && hasBitmapField(info)) info.hbmpItem = item.bitmap;
}

// Where a new item goes: before the item given by position or command, or at
// the end for a position past the last item.
struct InsertionPoint {
    MenuObject* menu = nullptr;
    std::size_t index = 0;
};

std::optional<InsertionPoint> insertionPoint(HMENU handle, UINT item, bool byPosition) {
    MenuObject* menu = MenuObjectOrError(handle);
    if (!menu) return std::nullopt;
    if (byPosition) return InsertionPoint{menu, std::min<std::size_t>(item, menu->items.size())};
    std::optional<MenuItemPlace> place = FindMenuItem(handle, item, false);
    if (!place) return std::nullopt;
    return InsertionPoint{place->menu, place->index};
}

template <typename Char>
BOOL insertItem(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO_T<Char>* info) {
    if (!validInfo(info)) return FALSE;
    std::optional<InsertionPoint> point = insertionPoint(menu, item, byPosition);
    MenuItemObject created;
    if (!point || !applyInfo(created, *info)) return FALSE;
    point->menu->items.insert(point->menu->items.begin() + static_cast<std::ptrdiff_t>(point->index),
                              std::move(created));
    return TRUE;
}

template <typename Char>
BOOL getItemInfo(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFO_T<Char>* info) {
    if (!validInfo(info)) return FALSE;
    std::optional<MenuItemPlace> place = FindMenuItem(menu, item, byPosition);
    if (!place) return FALSE;
    fillInfo(place->item(), *info);
    return TRUE;
}

template <typename Char>
BOOL setItemInfo(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO_T<Char>* info) {
    if (!validInfo(info)) return FALSE;
    std::optional<MenuItemPlace> place = FindMenuItem(menu, item, byPosition);
    if (!place) return FALSE;
    MenuItemObject changed = place->item();
    if (!applyInfo(changed, *info)) return FALSE;
    place->item() = std::move(changed);
    return TRUE;
}

// The item the older calls describe with MF_ flags.
template <typename Char>
std::optional<MenuItemObject> itemFromFlags(UINT flags, UINT_PTR idNewItem, const Char* newItem) {
    MenuItemObject item;
    item.type = flags & flagTypeBits;
    item.state = flags & flagStateBits;
    item.id = static_cast<UINT>(idNewItem);
    if (flags & MF_POPUP) {
        item.subMenu = reinterpret_cast<HMENU>(idNewItem);
        if (!MenuObjectOrError(item.subMenu)) return std::nullopt;
    }
    if (flags & MF_OWNERDRAW)
        item.data = reinterpret_cast<ULONG_PTR>(newItem);
    else if (flags & MF_BITMAP)
        item.bitmap = reinterpret_cast<HBITMAP>(const_cast<Char*>(newItem));
    else if (!(flags & MF_SEPARATOR))
        item.text = TextOf(newItem);
    return item;
}

template <typename Char>
BOOL insertWithFlags(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, const Char* newItem) {
    std::optional<InsertionPoint> point = insertionPoint(menu, position, flags & MF_BYPOSITION);
    if (!point) return FALSE;
    std::optional<MenuItemObject> item = itemFromFlags(flags, idNewItem, newItem);
    if (!item) return FALSE;
    point->menu->items.insert(point->menu->items.begin() + static_cast<std::ptrdiff_t>(point->index),
                              std::move(*item));
    return TRUE;
}

template <typename Char>
BOOL modifyWithFlags(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, const Char* newItem) {
    std::optional<MenuItemPlace> place = FindMenuItem(menu, position, flags & MF_BYPOSITION);
    if (!place) return FALSE;
    std::optional<MenuItemObject> item = itemFromFlags(flags, idNewItem, newItem);
    if (!item) return FALSE;
    HMENU replacedSubMenu = place->item().subMenu;
    place->item() = std::move(*item);
    if (replacedSubMenu && replacedSubMenu != place->item().subMenu) DestroyMenu(replacedSubMenu);
    return TRUE;
}

template <typename Char> int menuString(HMENU menu, UINT item, Char* buffer, int maxCount, UINT flags) {
    std::optional<MenuItemPlace> place = FindMenuItem(menu, item, flags & MF_BYPOSITION);
    if (!place) return 0;
    std::basic_string<Char> text = TextAs<Char>(place->item().text);
    if (!buffer || maxCount <= 0) return static_cast<int>(text.size());
    std::size_t copied = std::min<std::size_t>(text.size(), static_cast<std::size_t>(maxCount - 1));
    std::copy_n(text.data(), copied, buffer);
    buffer[copied] = 0;
    return static_cast<int>(copied);
}

BOOL removeItem(HMENU menu, UINT position, UINT flags, bool destroySubMenu) {
    std::optional<MenuItemPlace> place = FindMenuItem(menu, position, flags & MF_BYPOSITION);
    if (!place) return FALSE;
    HMENU subMenu = place->item().subMenu;
    place->menu->items.erase(place->menu->items.begin() + static_cast<std::ptrdiff_t>(place->index));
    if (destroySubMenu && subMenu) DestroyMenu(subMenu);
    return TRUE;
}

// The positions first .. last of CheckMenuRadioItem, and the one to check, in one menu.
struct RadioRange {
    MenuObject* menu = nullptr;
    std::size_t first = 0;
    std::size_t last = 0;
    std::size_t checked = 0;
};

std::optional<RadioRange> radioRange(HMENU menu, UINT first, UINT last, UINT check, bool byPosition) {
    std::optional<MenuItemPlace> from = FindMenuItem(menu, first, byPosition);
    std::optional<MenuItemPlace> to = FindMenuItem(menu, last, byPosition);
    std::optional<MenuItemPlace> chosen = FindMenuItem(menu, check, byPosition);
    if (!from || !to || !chosen || from->menu != to->menu || chosen->menu != from->menu) return std::nullopt;
    if (from->index > to->index || chosen->index < from->index || chosen->index > to->index)
        return std::nullopt;
    return RadioRange{from->menu, from->index, to->index, chosen->index};
}

void relayOutFrame(HWND window) {
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

// ---- Menus and their items ----

HMENU CreateMenu() {
    return InsertMenuObject(false);
}

HMENU CreatePopupMenu() {
    return InsertMenuObject(true);
}

BOOL DestroyMenu(HMENU menu) {
    MenuObject* object = MenuObjectOrError(menu);
    if (!object) return FALSE;
    std::vector<HMENU> subMenus;
    for (const MenuItemObject& item : object->items)
        if (item.subMenu) subMenus.push_back(item.subMenu);
    EraseMenuObject(menu);
    for (HMENU subMenu : subMenus)
        if (FindMenuObject(subMenu)) DestroyMenu(subMenu);
    return TRUE;
}

BOOL IsMenu(HMENU menu) {
    return FindMenuObject(menu) != nullptr;
}

BOOL InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info) {
    return insertItem(menu, item, byPosition, info);
}

BOOL InsertMenuItemW(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOW* info) {
    return insertItem(menu, item, byPosition, info);
}

BOOL GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOA* info) {
    return getItemInfo(menu, item, byPosition, info);
}

BOOL GetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOW* info) {
    return getItemInfo(menu, item, byPosition, info);
}

BOOL SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info) {
    return setItemInfo(menu, item, byPosition, info);
}

BOOL SetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOW* info) {
    return setItemInfo(menu, item, byPosition, info);
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCSTR newItem) {
    return insertWithFlags(menu, noItem, flags | MF_BYPOSITION, idNewItem, newItem);
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCWSTR newItem) {
    return insertWithFlags(menu, noItem, flags | MF_BYPOSITION, idNewItem, newItem);
}

BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem) {
    return insertWithFlags(menu, position, flags, idNewItem, newItem);
}

BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCWSTR newItem) {
    return insertWithFlags(menu, position, flags, idNewItem, newItem);
}

BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem) {
    return modifyWithFlags(menu, position, flags, idNewItem, newItem);
}

BOOL ModifyMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCWSTR newItem) {
    return modifyWithFlags(menu, position, flags, idNewItem, newItem);
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
    return removeItem(menu, position, flags, false);
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
    return removeItem(menu, position, flags, true);
}

int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int maxCount, UINT flags) {
    return menuString(menu, item, buffer, maxCount, flags);
}

int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int maxCount, UINT flags) {
    return menuString(menu, item, buffer, maxCount, flags);
}

HMENU GetSubMenu(HMENU menu, int position) {
    std::optional<MenuItemPlace> place = FindMenuItem(menu, static_cast<UINT>(position), true);
    return place ? place->item().subMenu : nullptr;
}

int GetMenuItemCount(HMENU menu) {
    MenuObject* object = MenuObjectOrError(menu);
    return object ? static_cast<int>(object->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    std::optional<MenuItemPlace> place = FindMenuItem(menu, static_cast<UINT>(position), true);
    if (!place || place->item().subMenu) return noItem;
    return place->item().id;
}

UINT GetMenuState(HMENU menu, UINT id, UINT flags) {
    std::optional<MenuItemPlace> place = FindMenuItem(menu, id, flags & MF_BYPOSITION);
    if (!place) return noItem;
    const MenuItemObject& item = place->item();
    constexpr UINT lowByte = 0xFF;
    constexpr int countShift = 8;
    if (!item.subMenu) return MenuFlagsOf(item);
    return (static_cast<UINT>(GetMenuItemCount(item.subMenu)) << countShift) | (MenuFlagsOf(item) & lowByte);
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
    std::optional<MenuItemPlace> place = FindMenuItem(menu, item, check & MF_BYPOSITION);
    if (!place) return noItem;
    UINT& state = place->item().state;
    DWORD previous = state & MF_CHECKED;
    state = (state & ~MF_CHECKED) | (check & MF_CHECKED);
    return previous;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
    std::optional<MenuItemPlace> place = FindMenuItem(menu, item, enable & MF_BYPOSITION);
    if (!place) return -1;
    UINT& state = place->item().state;
    UINT previous = state & disabledBits;
    state = (state & ~disabledBits) | (enable & disabledBits);
    return static_cast<BOOL>(previous);
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags) {
    std::optional<RadioRange> range = radioRange(menu, first, last, check, flags & MF_BYPOSITION);
    if (!range) return FALSE;
    for (std::size_t index = range->first; index <= range->last; ++index) {
        MenuItemObject& item = range->menu->items[index];
        if (index == range->checked) {
            item.type |= MFT_RADIOCHECK;
            item.state |= MFS_CHECKED;
        } else {
            item.state &= ~MFS_CHECKED;
        }
    }
    return TRUE;
}

BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition) {
    MenuObject* object = MenuObjectOrError(menu);
    if (!object) return FALSE;
    auto chosen = object->items.end();
    if (item != noItem) {
        chosen = byPosition
                     ? (item < object->items.size() ? object->items.begin() + item : object->items.end())
                     : std::find_if(object->items.begin(), object->items.end(),
                                    [&](const MenuItemObject& each) { return each.id == item; });
        if (chosen == object->items.end()) {
            SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
            return FALSE;
        }
    }
    for (MenuItemObject& each : object->items)
        each.state &= ~MFS_DEFAULT;
    if (chosen != object->items.end()) chosen->state |= MFS_DEFAULT;
    return TRUE;
}

UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT flags) {
    MenuObject* object = MenuObjectOrError(menu);
    if (!object) return noItem;
    for (std::size_t index = 0; index < object->items.size(); ++index) {
        const MenuItemObject& item = object->items[index];
        if (!(item.state & MFS_DEFAULT)) continue;
        if (IsDisabled(item) && !(flags & useDisabledDefault)) return noItem;
        return byPosition ? static_cast<UINT>(index) : item.id;
    }
    return noItem;
}

LONG GetMenuCheckMarkDimensions() {
    return static_cast<LONG>(MAKELONG(static_cast<WORD>(GetSystemMetrics(SM_CXMENUCHECK)),
                                      static_cast<WORD>(GetSystemMetrics(SM_CYMENUCHECK))));
}

// ---- A window's menu bar ----

BOOL SetMenu(HWND window, HMENU menu) {
    Window* object = WindowOrError(window);
    if (!object) return FALSE;
    if (object->style & WS_CHILD) {
        SetLastError(ERROR_CHILD_WINDOW_MENU);
        return FALSE;
    }
    if (menu && !MenuObjectOrError(menu)) return FALSE;
    registerMenuBars();
    SetMenuOfWindow(window, menu);
    relayOutFrame(window);
    return TRUE;
}

HMENU GetMenu(HWND window) {
    return MenuOfWindow(window);
}

BOOL DrawMenuBar(HWND window) {
    if (!WindowOrError(window)) return FALSE;
    if (MenuOfWindow(window)) relayOutFrame(window);
    return TRUE;
}

BOOL GetMenuItemRect(HWND window, HMENU menu, UINT item, LPRECT rect) {
    if (!rect) return FALSE;
    TRect found;
    if (window && menu == MenuOfWindow(window))
        found = MenuBarItemRectOnScreen(window, item);
    else if (const PopupMenuWindow* popup = OpenPopupShowing(menu))
        found = popup->ItemRectOnScreen(static_cast<int>(item));
    if (IsEmptyRect(found)) return FALSE;
    *rect = found;
    return TRUE;
}

// ---- Pop-up menus ----

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params) {
    if (params && params->cbSize != sizeof(TPMPARAMS)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    bool shown = false;
    UINT chosen = RunPopupMenuLoop(menu, flags, {x, y}, owner, params ? &params->rcExclude : nullptr, shown);
    if (!shown) return FALSE;
    return (flags & TPM_RETURNCMD) ? static_cast<BOOL>(chosen) : TRUE;
}

BOOL EndMenu() {
    return EndActiveMenu() ? TRUE : FALSE;
}
