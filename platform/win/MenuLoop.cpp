// The menu loop. Levels are the open pop-ups, the first one being the menu of
// TrackPopupMenu or of the highlighted bar item, each further one a sub-menu
// of the item selected in the level before it.
#include "platform/win/MenuLoop.h"

#include "platform/core/CodePages.h"
#include "platform/win/Cursors.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MenuBar.h"
#include "platform/win/Messages.h"
#include "platform/win/Mouse.h"
#include "platform/win/PopupMenuWindow.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/Windows.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr WORD menuClosed = 0xFFFF;

bool isMouseMessage(UINT message) {
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

bool isButtonDown(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        return true;
    default:
        return false;
    }
}

bool isKeyMessage(UINT message) {
    return message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_KEYUP || message == WM_SYSKEYUP;
}

bool isCharacterMessage(UINT message) {
    return message == WM_CHAR || message == WM_SYSCHAR;
}

int itemCount(HMENU menu) {
    MenuObject* object = FindMenuObject(menu);
    return object ? static_cast<int>(object->items.size()) : 0;
}

MenuItemObject* itemOf(HMENU menu, int index) {
    MenuObject* object = FindMenuObject(menu);
    if (!object || index < 0 || static_cast<std::size_t>(index) >= object->items.size()) return nullptr;
    return &object->items[static_cast<std::size_t>(index)];
}

// The next item from `from` in steps of `step`, wrapping round and passing
// over separators; -1 when there is none. From -1 the search starts at an end.
int nextSelectable(HMENU menu, int from, int step) {
    int count = itemCount(menu);
    if (count == 0) return -1;
    int index = from < 0 ? (step > 0 ? -1 : count) : from;
    for (int tried = 0; tried < count; ++tried) {
        index = ((index + step) % count + count) % count;
        if (!IsSeparator(*itemOf(menu, index))) return index;
    }
    return -1;
}

std::vector<int> mnemonicMatches(HMENU menu, WCHAR character) {
    std::vector<int> matches;
    WCHAR wanted = WideCharUpper(character);
    for (int index = 0; index < itemCount(menu); ++index) {
        const MenuItemObject& item = *itemOf(menu, index);
        if (!IsSeparator(item) && MnemonicOf(item.text) == wanted) matches.push_back(index);
    }
    return matches;
}

WPARAM selectionParameter(const MenuItemObject& item, int index, bool byMouse) {
    UINT flags = MenuFlagsOf(item) | MF_HILITE | (byMouse ? MF_MOUSESELECT : 0);
    UINT identity = item.subMenu ? static_cast<UINT>(index) : item.id;
    return MAKEWPARAM(static_cast<WORD>(identity), static_cast<WORD>(flags));
}

class MenuLoop;
thread_local MenuLoop* activeLoop = nullptr;

class MenuLoop {
public:
    // A bar loop when `bar` is given, else a TrackPopupMenu loop.
    MenuLoop(HWND owner, UINT flags, HMENU bar)
        : owner_(owner), flags_(flags), bar_(bar), outer_(activeLoop) {
        activeLoop = this;
    }
    ~MenuLoop() { activeLoop = outer_; }
    MenuLoop(const MenuLoop&) = delete;
    MenuLoop& operator=(const MenuLoop&) = delete;

    void Enter(HMENU menu) {
        SendMessageW(owner_, WM_ENTERMENULOOP, bar_ ? FALSE : TRUE, 0);
        if (notifies()) SendMessageW(owner_, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
        captureWindow_ = CreateMenuCaptureWindow();
        SetCapture(captureWindow_);
    }

    void OpenPopup(HMENU menu, POINT point, const TRect* exclude) {
        bool opened = openLevel(
            menu, 0, [&](SIZE size) { return PlacePopup(size, point, flags_, exclude); }, false);
        if (!opened) finished_ = true;
    }

    // `keyboard`: the bar item was chosen by its mnemonic and opens with its first item selected.
    void OpenBar(int index, bool open, bool keyboard) {
        highlightBar(index, !keyboard);
        if (keyboard && open)
            activateBar(index, true);
        else if (open)
            openBarPopup(false);
    }

    std::optional<UINT> Run() {
        MSG msg;
        while (!finished_) {
            if (!IsWindow(owner_) || GetCapture() != captureWindow_) break;
            if (!RetrieveMessage(msg, nullptr, 0, 0, PM_REMOVE, CharSet::Wide)) {
                HWND deepest = levels_.empty() ? nullptr : levels_.back()->Handle();
                SendMessageW(owner_, WM_ENTERIDLE, MSGF_MENU, reinterpret_cast<LPARAM>(deepest));
                if (!finished_) WaitForMessages(INFINITE);
                continue;
            }
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (handle(msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        return chosen_;
    }

    void Leave() {
        closeLevelsFrom(0);
        highlightBar(-1, false);
        if (GetCapture() == captureWindow_) ReleaseCapture();
        DestroyWindow(captureWindow_);
        SendMessageW(owner_, WM_MENUSELECT, MAKEWPARAM(0, menuClosed), 0);
        SendMessageW(owner_, WM_EXITMENULOOP, bar_ ? FALSE : TRUE, 0);
        if (chosen_ && notifies() && !(flags_ & TPM_RETURNCMD))
            PostMessageW(owner_, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(*chosen_), 0), 0);
    }

    void End() { finished_ = true; }

    const PopupMenuWindow* Showing(HMENU menu) const {
        for (const auto& level : levels_)
            if (level->Menu() == menu) return level.get();
        return nullptr;
    }

private:
    bool notifies() const { return !(flags_ & TPM_NONOTIFY); }
    void choose(UINT id) {
        chosen_ = id;
        finished_ = true;
    }
    void cancel() { finished_ = true; }
    HMENU deepestMenu() const { return levels_.empty() ? bar_ : levels_.back()->Menu(); }
    std::size_t deepestLevel() const { return levels_.size() - 1; }

    // ---- Levels ----

    bool openLevel(HMENU menu, int position, const std::function<POINT(SIZE)>& place, bool selectFirst) {
        if (notifies())
            SendMessageW(owner_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu),
                         MAKELPARAM(static_cast<WORD>(position), FALSE));
        if (finished_ || itemCount(menu) == 0) return false;
        auto popup = std::make_unique<PopupMenuWindow>(owner_, menu);
        popup->ShowAt(place(popup->Size()));
        levels_.push_back(std::move(popup));
        if (selectFirst) selectInLevel(deepestLevel(), nextSelectable(menu, -1, 1), false);
        return true;
    }

    void closeLevelsFrom(std::size_t level) {
        while (levels_.size() > level)
            levels_.pop_back();
    }

    void selectInLevel(std::size_t level, int index, bool byMouse) {
        PopupMenuWindow& popup = *levels_[level];
        popup.Select(index);
        if (const MenuItemObject* item = itemOf(popup.Menu(), index))
            SendMessageW(owner_, WM_MENUSELECT, selectionParameter(*item, index, byMouse),
                         reinterpret_cast<LPARAM>(popup.Menu()));
    }

    bool subMenuOpenFor(std::size_t level, int index) const {
        const MenuItemObject* item = itemOf(levels_[level]->Menu(), index);
        return item && item->subMenu && level + 1 < levels_.size() &&
               levels_[level + 1]->Menu() == item->subMenu;
    }

    bool openSubMenu(std::size_t level, int index, bool selectFirst) {
        closeLevelsFrom(level + 1);
        const MenuItemObject* item = itemOf(levels_[level]->Menu(), index);
        if (!item || !item->subMenu || IsDisabled(*item)) return false;
        TRect parent = levels_[level]->BoundsOnScreen();
        TRect itemRect = levels_[level]->ItemRectOnScreen(index);
        return openLevel(
            item->subMenu, index, [&](SIZE size) { return PlaceSubMenu(size, parent, itemRect); },
            selectFirst);
    }

    // Enter, a mnemonic or a click on an item: a sub-menu opens, a command is chosen.
    void activate(std::size_t level, int index, bool keyboard) {
        const MenuItemObject* item = itemOf(levels_[level]->Menu(), index);
        if (!item || IsSeparator(*item)) return;
        if (levels_[level]->Selected() != index) selectInLevel(level, index, !keyboard);
        if (item->subMenu)
            openSubMenu(level, index, keyboard);
        else if (!IsDisabled(*item))
            choose(item->id);
    }

    void moveSelection(int step) {
        std::size_t level = deepestLevel();
        int next = nextSelectable(levels_[level]->Menu(), levels_[level]->Selected(), step);
        if (next < 0) return;
        closeLevelsFrom(level + 1);
        selectInLevel(level, next, false);
    }

    // ---- The bar ----

    void highlightBar(int index, bool byMouse) {
        if (!bar_ || index == barItem_) return;
        if (MenuItemObject* previous = itemOf(bar_, barItem_)) previous->state &= ~MFS_HILITE;
        barItem_ = index;
        MenuItemObject* item = itemOf(bar_, index);
        if (item) item->state |= MFS_HILITE;
        RepaintMenuBar(owner_);
        if (item)
            SendMessageW(owner_, WM_MENUSELECT, selectionParameter(*item, index, byMouse),
                         reinterpret_cast<LPARAM>(bar_));
    }

    bool openBarPopup(bool selectFirst) {
        closeLevelsFrom(0);
        barOpen_ = true;
        const MenuItemObject* item = itemOf(bar_, barItem_);
        if (!item || !item->subMenu || IsDisabled(*item)) return false;
        TRect rect = MenuBarItemRectOnScreen(owner_, static_cast<std::size_t>(barItem_));
        return openLevel(
            item->subMenu, barItem_,
            [&](SIZE size) {
                return PlacePopup(size, {rect.Left, rect.Bottom}, TPM_VERTICAL, &rect);
            },
            selectFirst);
    }

    void activateBar(int index, bool keyboard) {
        const MenuItemObject* item = itemOf(bar_, index);
        if (!item) return;
        highlightBar(index, !keyboard);
        if (item->subMenu)
            openBarPopup(keyboard);
        else if (!IsDisabled(*item))
            choose(item->id);
    }

    void moveBar(int step) {
        int count = itemCount(bar_);
        if (count == 0) return;
        closeLevelsFrom(0);
        highlightBar(((barItem_ + step) % count + count) % count, false);
        if (barOpen_) openBarPopup(true);
    }

    // ---- Keyboard ----

    bool handleKey(const MSG& msg) {
        if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) return true;
        switch (msg.wParam) {
        case VK_ESCAPE:
            escape();
            return true;
        case VK_UP:
        case VK_DOWN:
            upOrDown(msg.wParam == VK_DOWN ? 1 : -1);
            return true;
        case VK_LEFT:
            left();
            return true;
        case VK_RIGHT:
            right();
            return true;
        case VK_HOME:
        case VK_END:
            if (!levels_.empty()) {
                closeLevelsFrom(deepestLevel() + 1);
                selectInLevel(deepestLevel(),
                              nextSelectable(deepestMenu(), -1, msg.wParam == VK_HOME ? 1 : -1), false);
            }
            return true;
        case VK_RETURN:
            enter();
            return true;
        case VK_MENU:
        case VK_F10:
            cancel();
            return true;
        case VK_F1:
            askHelp();
            return true;
        default:
            TranslateMessage(&msg);
            return true;
        }
    }

    // F1 asks the owner for help on the selected item; the menu stays open.
    void askHelp() {
        HMENU menu = deepestMenu();
        if (!menu) return;
        const MenuItemObject* item = itemOf(menu, levels_.empty() ? barItem_ : levels_.back()->Selected());
        HELPINFO help;
        help.iContextType = HELPINFO_MENUITEM;
        help.iCtrlId = item ? static_cast<int>(item->id) : 0;
        help.hItemHandle = menu;
        GetCursorPos(&help.MousePos);
        SendMessageW(owner_, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
    }

    // One level closes; from the bar's own menu back to the bar alone.
    void escape() {
        if (bar_ && levels_.size() <= 1 && barOpen_) {
            closeLevelsFrom(0);
            barOpen_ = false;
        } else if (levels_.empty() || (levels_.size() == 1 && !bar_)) {
            cancel();
        } else {
            closeLevelsFrom(deepestLevel());
        }
    }

    void upOrDown(int step) {
        if (!levels_.empty())
            moveSelection(step);
        else if (bar_)
            openBarPopup(true);
    }

    void left() {
        if (levels_.size() > 1)
            closeLevelsFrom(deepestLevel());
        else if (bar_)
            moveBar(-1);
    }

    void right() {
        if (!levels_.empty()) {
            std::size_t level = deepestLevel();
            int selected = levels_[level]->Selected();
            const MenuItemObject* item = itemOf(levels_[level]->Menu(), selected);
            if (item && item->subMenu && !IsDisabled(*item)) {
                openSubMenu(level, selected, true);
                return;
            }
        }
        if (bar_) moveBar(1);
    }

    void enter() {
        if (!levels_.empty()) {
            int selected = levels_.back()->Selected();
            if (selected >= 0) activate(deepestLevel(), selected, true);
        } else if (barItem_ >= 0) {
            activateBar(barItem_, true);
        }
    }

    void handleCharacter(WCHAR character) {
        HMENU menu = deepestMenu();
        if (!menu) return;
        bool inPopup = !levels_.empty();
        std::vector<int> matches = mnemonicMatches(menu, character);
        if (matches.empty()) {
            askOwner(menu, character, inPopup);
        } else if (matches.size() == 1) {
            activateIn(inPopup, matches.front(), true);
        } else {
            int current = inPopup ? levels_.back()->Selected() : barItem_;
            int next = matches.front();
            for (int match : matches)
                if (match > current) {
                    next = match;
                    break;
                }
            selectIn(inPopup, next);
        }
    }

    void askOwner(HMENU menu, WCHAR character, bool inPopup) {
        LRESULT answer = SendMessageW(owner_, WM_MENUCHAR,
                                      MAKEWPARAM(character, static_cast<WORD>(inPopup ? MF_POPUP : 0)),
                                      reinterpret_cast<LPARAM>(menu));
        int index = LOWORD(static_cast<UINT_PTR>(answer));
        switch (HIWORD(static_cast<UINT_PTR>(answer))) {
        case MNC_EXECUTE:
            activateIn(inPopup, index, true);
            break;
        case MNC_SELECT:
            selectIn(inPopup, index);
            break;
        case MNC_CLOSE:
            cancel();
            break;
        default:
            MessageBeep(MB_OK);
            break;
        }
    }

    void activateIn(bool inPopup, int index, bool keyboard) {
        if (inPopup)
            activate(deepestLevel(), index, keyboard);
        else
            activateBar(index, keyboard);
    }

    void selectIn(bool inPopup, int index) {
        if (!itemOf(deepestMenu(), index)) return;
        if (inPopup) {
            closeLevelsFrom(deepestLevel() + 1);
            selectInLevel(deepestLevel(), index, false);
        } else {
            closeLevelsFrom(0);
            highlightBar(index, false);
        }
    }

    // ---- Mouse ----

    int levelAt(POINT screen) const {
        for (std::size_t level = levels_.size(); level-- > 0;)
            if (RectContains(levels_[level]->BoundsOnScreen(), screen)) return static_cast<int>(level);
        return -1;
    }

    void handleMouse(const MSG& msg) {
        POINT point = msg.pt;
        int level = levelAt(point);
        int item = level >= 0 ? levels_[static_cast<std::size_t>(level)]->ItemAt(point) : -1;
        int barIndex = level < 0 && bar_ ? MenuBarItemAt(owner_, point) : -1;
        if (msg.message == WM_MOUSEMOVE)
            hover(level, item, barIndex);
        else if (isButtonDown(msg.message))
            press(level, barIndex);
        else if (msg.message == WM_LBUTTONUP || (msg.message == WM_RBUTTONUP && (flags_ & TPM_RIGHTBUTTON)))
            release(level, item, barIndex);
    }

    void hover(int level, int item, int barIndex) {
        if (level >= 0) {
            if (item < 0) return;
            auto at = static_cast<std::size_t>(level);
            if (subMenuOpenFor(at, item)) return;
            if (levels_[at]->Selected() != item) selectInLevel(at, item, true);
            openSubMenu(at, item, false);
            return;
        }
        if (barIndex >= 0) {
            if (barIndex == barItem_) return;
            closeLevelsFrom(0);
            highlightBar(barIndex, true);
            if (barOpen_) openBarPopup(false);
            return;
        }
        if (!levels_.empty()) levels_.back()->Select(-1);
    }

    void press(int level, int barIndex) {
        if (level >= 0) return;
        if (barIndex < 0 || (barIndex == barItem_ && barOpen_)) {
            cancel();
            return;
        }
        closeLevelsFrom(0);
        highlightBar(barIndex, true);
        openBarPopup(false);
    }

    void release(int level, int item, int barIndex) {
        if (level >= 0) {
            const MenuItemObject* chosen = itemOf(levels_[static_cast<std::size_t>(level)]->Menu(), item);
            if (chosen && !chosen->subMenu) activate(static_cast<std::size_t>(level), item, false);
            return;
        }
        const MenuItemObject* barChosen = itemOf(bar_, barIndex);
        if (barChosen && barIndex == barItem_ && !barChosen->subMenu && !IsDisabled(*barChosen))
            choose(barChosen->id);
    }

    bool handle(MSG& msg) {
        if (isKeyMessage(msg.message)) return handleKey(msg);
        if (isCharacterMessage(msg.message)) {
            handleCharacter(static_cast<WCHAR>(msg.wParam));
            return true;
        }
        if (isMouseMessage(msg.message)) {
            handleMouse(msg);
            return true;
        }
        return false;
    }

    HWND owner_;
    UINT flags_;
    HMENU bar_;
    MenuLoop* outer_;
    HWND captureWindow_ = nullptr;
    std::vector<std::unique_ptr<PopupMenuWindow>> levels_;
    int barItem_ = -1;
    // The bar item's menu is shown (or would be, for an item without one):
    // moving along the bar opens the next item's menu too.
    bool barOpen_ = false;
    bool finished_ = false;
    std::optional<UINT> chosen_;
};

// The bar item that Alt and a character open, asking the owner when no
// mnemonic matches; -1 when nothing opens.
int barItemForCharacter(HWND window, HMENU bar, WCHAR character) {
    std::vector<int> matches = mnemonicMatches(bar, character);
    if (!matches.empty()) return matches.front();
    LRESULT answer =
        SendMessageW(window, WM_MENUCHAR, MAKEWPARAM(character, 0), reinterpret_cast<LPARAM>(bar));
    WORD action = HIWORD(static_cast<UINT_PTR>(answer));
    int index = LOWORD(static_cast<UINT_PTR>(answer));
    if ((action == MNC_EXECUTE || action == MNC_SELECT) && itemOf(bar, index)) return index;
    MessageBeep(MB_OK);
    return -1;
}

} // namespace

UINT RunPopupMenuLoop(HMENU menu, UINT flags, POINT point, HWND owner, const TRect* exclude, bool& shown) {
    shown = false;
    if (activeLoop && !(flags & TPM_RECURSE)) {
        SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
        return 0;
    }
    if (!MenuObjectOrError(menu) || !WindowOrError(owner)) return 0;
    shown = true;
    MenuLoop loop(owner, flags, nullptr);
    loop.Enter(menu);
    loop.OpenPopup(menu, point, exclude);
    std::optional<UINT> chosen = loop.Run();
    loop.Leave();
    return chosen.value_or(0);
}

void RunMenuBarLoop(HWND window, WPARAM command, LPARAM lParam) {
    HMENU bar = MenuOfWindow(window);
    if (activeLoop || itemCount(bar) == 0) return;
    bool mouse = (command & 0xFFF0) == SC_MOUSEMENU;
    auto character = static_cast<WCHAR>(lParam);
    int index = 0;
    if (mouse)
        index = MenuBarItemAt(window, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    else if (character)
        index = barItemForCharacter(window, bar, character);
    if (index < 0) return;
    MenuLoop loop(window, 0, bar);
    loop.Enter(bar);
    loop.OpenBar(index, mouse || character, !mouse);
    loop.Run();
    loop.Leave();
}

bool EndActiveMenu() {
    if (!activeLoop) return false;
    activeLoop->End();
    return true;
}

const PopupMenuWindow* OpenPopupShowing(HMENU menu) {
    return activeLoop ? activeLoop->Showing(menu) : nullptr;
}
