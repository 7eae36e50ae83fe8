// The menu handle table and item lookups.
#include "platform/win/MenuObjects.h"

#include "platform/core/CodePages.h"
#include "platform/win/Windows.h"

#include <map>
#include <memory>
#include <mutex>

namespace {

// Menu handles are numbers of their own, well away from small integers.
constexpr UINT_PTR firstMenuHandle = 0x10000;

struct MenuTable {
    std::mutex mutex;
    std::map<HMENU, std::unique_ptr<MenuObject>> menus;
    std::map<HWND, HMENU> bars;
    UINT_PTR next = firstMenuHandle;
};

MenuTable& table() {
    static MenuTable menus;
    return menus;
}

bool findByCommand(MenuObject& menu, UINT id, MenuItemPlace& found, int depth) {
    constexpr int deepestNesting = 64;
    if (depth > deepestNesting) return false;
    std::optional<MenuItemPlace> popupMatch;
    for (std::size_t index = 0; index < menu.items.size(); ++index) {
        const MenuItemObject& item = menu.items[index];
        if (!item.subMenu) {
            if (item.id != id) continue;
            found = {&menu, index};
            return true;
        }
        MenuObject* sub = FindMenuObject(item.subMenu);
        if (sub && findByCommand(*sub, id, found, depth + 1)) return true;
        if (item.id == id && !popupMatch) popupMatch = MenuItemPlace{&menu, index};
    }
    if (!popupMatch) return false;
    found = *popupMatch;
    return true;
}

} // namespace

HMENU InsertMenuObject(bool popup) {
    MenuTable& menus = table();
    std::lock_guard lock(menus.mutex);
    auto menu = std::make_unique<MenuObject>();
    menu->handle = reinterpret_cast<HMENU>(menus.next++);
    menu->popup = popup;
    HMENU handle = menu->handle;
    menus.menus.emplace(handle, std::move(menu));
    return handle;
}

void EraseMenuObject(HMENU handle) {
    MenuTable& menus = table();
    std::lock_guard lock(menus.mutex);
    std::erase_if(menus.bars, [&](const auto& bar) { return bar.second == handle; });
    menus.menus.erase(handle);
}

MenuObject* FindMenuObject(HMENU handle) {
    MenuTable& menus = table();
    std::lock_guard lock(menus.mutex);
    auto found = menus.menus.find(handle);
    return found == menus.menus.end() ? nullptr : found->second.get();
}

MenuObject* MenuObjectOrError(HMENU handle) {
    MenuObject* menu = FindMenuObject(handle);
    if (!menu) SetLastError(ERROR_INVALID_MENU_HANDLE);
    return menu;
}

std::optional<MenuItemPlace> FindMenuItem(HMENU handle, UINT item, bool byPosition) {
    MenuObject* menu = MenuObjectOrError(handle);
    if (!menu) return std::nullopt;
    if (byPosition) {
        if (item < menu->items.size()) return MenuItemPlace{menu, item};
    } else {
        MenuItemPlace found;
        if (findByCommand(*menu, item, found, 0)) return found;
    }
    SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return std::nullopt;
}

HMENU MenuOfWindow(HWND window) {
    MenuTable& menus = table();
    HMENU menu = nullptr;
    {
        std::lock_guard lock(menus.mutex);
        auto found = menus.bars.find(window);
        if (found == menus.bars.end()) return nullptr;
        menu = found->second;
    }
    if (IsWindow(window)) return menu;
    SetMenuOfWindow(window, nullptr);
    return nullptr;
}

void SetMenuOfWindow(HWND window, HMENU menu) {
    MenuTable& menus = table();
    std::lock_guard lock(menus.mutex);
    auto previous = menus.bars.find(window);
    if (previous != menus.bars.end()) {
        auto old = menus.menus.find(previous->second);
        if (old != menus.menus.end() && old->second->window == window) old->second->window = nullptr;
        menus.bars.erase(previous);
    }
    if (!menu) return;
    menus.bars[window] = menu;
    auto now = menus.menus.find(menu);
    if (now != menus.menus.end()) now->second->window = window;
}

bool IsSeparator(const MenuItemObject& item) {
    return item.type & MFT_SEPARATOR;
}

bool IsDisabled(const MenuItemObject& item) {
    return item.state & MFS_GRAYED;
}

bool IsOwnerDrawn(const MenuItemObject& item) {
    return item.type & MFT_OWNERDRAW;
}

bool IsTextItem(const MenuItemObject& item) {
    return !(item.type & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW));
}

WCHAR MnemonicOf(const WideString& text) {
    for (std::size_t index = 0; index + 1 < text.size(); ++index) {
        if (text[index] != u'&') continue;
        if (text[index + 1] != u'&') return WideCharUpper(text[index + 1]);
        ++index;
    }
    return 0;
}

WideString LabelOf(const WideString& text) {
    return text.substr(0, text.find(u'\t'));
}

WideString ShortcutTextOf(const WideString& text) {
    std::size_t tab = text.find(u'\t');
    return tab == WideString::npos ? WideString() : text.substr(tab + 1);
}

UINT MenuFlagsOf(const MenuItemObject& item) {
    // The radio and right-to-left types share bits with other MF_ flags.
    UINT flags = (item.type & ~(MFT_RADIOCHECK | MFT_RIGHTORDER)) | item.state;
    if (item.subMenu) flags |= MF_POPUP;
    return flags;
}
