// The LISTBOX class. The items live here, as UTF-16 texts (or item data)
// with their selection and, for variable owner drawing, their heights; the
// window's own vertical scroll bar shows which part of the list is in view.
#include "platform/win/ListBoxControl.h"

#include "platform/core/CodePages.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/DrawText.h"
#include "platform/win/Drawing.h"
#include "platform/win/Focus.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Messages.h"
#include "platform/win/Mouse.h"
#include "platform/win/Painting.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/StandardControls.h"
#include "platform/win/SysColors.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <vector>

namespace {

constexpr int textIndent = 2;
constexpr int maximumItemHeight = 255;
constexpr int wheelLines = 3;
constexpr int horizontalLine = 8;

struct ListItem {
    WideString text;
    ULONG_PTR data = 0;
    bool selected = false;
    int height = 0;
};

struct ListBoxState {
    std::vector<ListItem> items;
    // The combo box a combo list reports to (a pop-up list's parent is not the combo box).
    HWND combo = nullptr;
    int top = 0;
    // The item with the focus rectangle, where keys move from.
    int caret = 0;
    int anchor = 0;
    // The selected item of a single-selection list.
    int selected = -1;
    int itemHeight = 0;
    int horizontalExtent = 0;
    int horizontalOffset = 0;
    HFONT font = nullptr;
    bool wantsVerticalBar = false;
    bool wantsHorizontalBar = false;
    bool focused = false;
    bool redrawOff = false;
    bool updatingBars = false;
    // A mouse press is being followed; the selection changed meanwhile.
    bool tracking = false;
    bool changedWhileTracking = false;
    // A dropped combo list following the mouse.
    bool comboTracking = false;
    bool comboButtonHeld = false;
    bool scrollBarTracking = false;
};

thread_local std::unordered_map<HWND, std::unique_ptr<ListBoxState>> listStates;

ListBoxState& stateOf(HWND window) {
    auto& slot = listStates[window];
    if (!slot) slot = std::make_unique<ListBoxState>();
    return *slot;
}

DWORD styleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
}

bool isOwnerDrawn(DWORD style) {
    return style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE);
}

bool hasStrings(DWORD style) {
    return !isOwnerDrawn(style) || (style & LBS_HASSTRINGS);
}

bool isVariable(DWORD style) {
    return style & LBS_OWNERDRAWVARIABLE;
}

bool isMultiple(DWORD style) {
    return style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL);
}

bool isExtended(DWORD style) {
    return style & LBS_EXTENDEDSEL;
}

// The list of a simple combo box is a child; a drop-down one is a pop-up.
bool isComboList(DWORD style) {
    return style & LBS_COMBOBOX;
}

bool isDroppedComboList(DWORD style) {
    return isComboList(style) && !(style & WS_CHILD);
}

int countOf(const ListBoxState& state) {
    return static_cast<int>(state.items.size());
}

bool validIndex(const ListBoxState& state, WPARAM index) {
    return static_cast<int>(index) >= 0 && static_cast<int>(index) < countOf(state);
}

UINT controlId(HWND window) {
    return static_cast<UINT>(GetWindowLongPtrW(window, GWLP_ID));
}

TRect clientRect(HWND window) {
    TRect rect;
    GetClientRect(window, &rect);
    return rect;
}

bool contains(const TRect& rect, POINT point) {
    return point.x >= rect.Left && point.x < rect.Right && point.y >= rect.Top && point.y < rect.Bottom;
}

// Who hears what the list reports: its parent, or the combo box it belongs to.
HWND ownerOf(HWND window) {
    HWND combo = stateOf(window).combo;
    return combo ? combo : GetParent(window);
}

LRESULT sendToParent(HWND window, UINT message, WPARAM wParam, const void* record) {
    HWND owner = ownerOf(window);
    return owner ? SendMessageW(owner, message, wParam, reinterpret_cast<LPARAM>(record)) : 0;
}

void notifyOwner(HWND window, WORD code) {
    HWND owner = ownerOf(window);
    WORD id = LOWORD(static_cast<UINT_PTR>(GetWindowLongPtrW(window, GWLP_ID)));
    if (owner) SendMessageW(owner, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(window));
}

void notify(HWND window, WORD code) {
    DWORD style = styleOf(window);
    if ((style & LBS_NOTIFY) || isComboList(style)) notifyOwner(window, code);
}

void redraw(HWND window) {
    if (!stateOf(window).redrawOff) InvalidateRect(window, nullptr, TRUE);
}

// ---- Geometry ----

int heightOf(const ListBoxState& state, DWORD style, int index) {
    return isVariable(style) ? state.items[static_cast<std::size_t>(index)].height : state.itemHeight;
}

// The items from `top` that fit wholly (at least one).
int fullyVisibleFrom(const ListBoxState& state, DWORD style, int top, int clientHeight) {
    int fitting = 0;
    int used = 0;
    for (int index = top; index < countOf(state); ++index) {
        used += heightOf(state, style, index);
        if (used > clientHeight) break;
        ++fitting;
    }
    return std::max(fitting, 1);
}

// The highest top index that still fills the client area.
int maximumTop(HWND window, const ListBoxState& state) {
    DWORD style = styleOf(window);
    int clientHeight = clientRect(window).Height();
    int used = 0;
    int top = countOf(state);
    while (top > 0) {
        used += heightOf(state, style, top - 1);
        if (used > clientHeight) break;
        --top;
    }
    return std::min(top, std::max(countOf(state) - 1, 0));
}

TRect itemRect(HWND window, const ListBoxState& state, int index) {
    DWORD style = styleOf(window);
    TRect client = clientRect(window);
    int y = 0;
    for (int i = state.top; i < index; ++i)
        y += heightOf(state, style, i);
    for (int i = index; i < state.top; ++i)
        y -= heightOf(state, style, i);
    return {client.Left, y, client.Right, y + heightOf(state, style, index)};
}

// The item at a client point's height, or -1 below the last item.
int itemAtHeight(HWND window, const ListBoxState& state, int y) {
    DWORD style = styleOf(window);
    if (y < 0) return state.top > 0 ? state.top - 1 : (countOf(state) ? 0 : -1);
    int bottom = 0;
    for (int index = state.top; index < countOf(state); ++index) {
        bottom += heightOf(state, style, index);
        if (y < bottom) return index;
    }
    return -1;
}

// ---- Scrolling ----

void updateScrollBars(HWND window) {
    ListBoxState& state = stateOf(window);
    if (state.updatingBars || state.redrawOff) return;
    state.updatingBars = true;
    DWORD style = styleOf(window);
    if (state.wantsVerticalBar) {
        SCROLLINFO info;
        info.fMask =
            SIF_RANGE | SIF_PAGE | SIF_POS | ((style & LBS_DISABLENOSCROLL) ? SIF_DISABLENOSCROLL : 0);
        info.nMin = 0;
        info.nMax = std::max(countOf(state) - 1, 0);
        info.nPage =
            countOf(state)
                ? static_cast<UINT>(fullyVisibleFrom(state, style, state.top, clientRect(window).Height()))
                : 1;
        info.nPos = state.top;
        SetScrollInfo(window, SB_VERT, &info, TRUE);
    }
    if (state.wantsHorizontalBar) {
        SCROLLINFO info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = 0;
        info.nMax = std::max(state.horizontalExtent - 1, 0);
        info.nPage = static_cast<UINT>(std::max(clientRect(window).Width(), 1));
        info.nPos = state.horizontalOffset;
        SetScrollInfo(window, SB_HORZ, &info, TRUE);
    }
    state.updatingBars = false;
}

void setTop(HWND window, int top) {
    ListBoxState& state = stateOf(window);
    top = std::clamp(top, 0, maximumTop(window, state));
    if (top == state.top) return;
    state.top = top;
    updateScrollBars(window);
    redraw(window);
}

void setHorizontalOffset(HWND window, int offset) {
    ListBoxState& state = stateOf(window);
    int widest = std::max(state.horizontalExtent - clientRect(window).Width(), 0);
    offset = std::clamp(offset, 0, widest);
    if (offset == state.horizontalOffset) return;
    state.horizontalOffset = offset;
    updateScrollBars(window);
    redraw(window);
}

void ensureVisible(HWND window, int index) {
    ListBoxState& state = stateOf(window);
    if (index < 0 || index >= countOf(state)) return;
    if (index < state.top) {
        setTop(window, index);
        return;
    }
    DWORD style = styleOf(window);
    int clientHeight = clientRect(window).Height();
    int top = state.top;
    while (top < index && index >= top + fullyVisibleFrom(state, style, top, clientHeight))
        ++top;
    setTop(window, top);
}

LRESULT onScroll(HWND window, WPARAM request, bool vertical) {
    ListBoxState& state = stateOf(window);
    int position = vertical ? state.top : state.horizontalOffset;
    int line = vertical ? 1 : horizontalLine;
    int page =
        vertical
            ? std::max(fullyVisibleFrom(state, styleOf(window), state.top, clientRect(window).Height()) - 1,
                       1)
            : std::max(clientRect(window).Width(), 1);
    switch (LOWORD(request)) {
    case SB_LINEUP:
        position -= line;
        break;
    case SB_LINEDOWN:
        position += line;
        break;
    case SB_PAGEUP:
        position -= page;
        break;
    case SB_PAGEDOWN:
        position += page;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        position = HIWORD(request);
        break;
    case SB_TOP:
        position = 0;
        break;
    case SB_BOTTOM:
        position = vertical ? countOf(state) : state.horizontalExtent;
        break;
    default:
        return 0;
    }
    if (vertical)
        setTop(window, position);
    else
        setHorizontalOffset(window, position);
    return 0;
}

// ---- Selection ----

bool isSelected(const ListBoxState& state, DWORD style, int index) {
    if (isMultiple(style)) return state.items[static_cast<std::size_t>(index)].selected;
    return index == state.selected;
}

void redrawItem(HWND window, int index) {
    ListBoxState& state = stateOf(window);
    if (index < 0 || index >= countOf(state) || state.redrawOff) return;
    TRect rect = itemRect(window, state, index);
    InvalidateRect(window, &rect, TRUE);
}

void setCaret(HWND window, int index) {
    ListBoxState& state = stateOf(window);
    if (index == state.caret) return;
    int previous = state.caret;
    state.caret = index;
    if (state.focused) {
        redrawItem(window, previous);
        redrawItem(window, index);
    }
}

// Returns whether anything changed.
bool selectSingle(HWND window, int index) {
    ListBoxState& state = stateOf(window);
    if (styleOf(window) & LBS_NOSEL) return false;
    setCaret(window, index < 0 ? state.caret : index);
    if (index == state.selected) return false;
    redrawItem(window, state.selected);
    state.selected = index;
    redrawItem(window, index);
    return true;
}

bool setItemSelected(HWND window, int index, bool selected) {
    ListBoxState& state = stateOf(window);
    ListItem& item = state.items[static_cast<std::size_t>(index)];
    if (item.selected == selected || (selected && (styleOf(window) & LBS_NOSEL))) return false;
    item.selected = selected;
    redrawItem(window, index);
    return true;
}

// Selects exactly the items from `first` to `last` (either order), or, with
// `keepOthers`, adds them to the selection.
bool selectRange(HWND window, int first, int last, bool keepOthers) {
    ListBoxState& state = stateOf(window);
    if (first > last) std::swap(first, last);
    bool changed = false;
    for (int index = 0; index < countOf(state); ++index) {
        bool inside = index >= first && index <= last;
        if (inside || !keepOthers) changed |= setItemSelected(window, index, inside);
    }
    return changed;
}

// The selection the user makes by pressing on (or moving to) an item.
bool selectByUser(HWND window, int index, bool shift, bool control, bool press) {
    ListBoxState& state = stateOf(window);
    DWORD style = styleOf(window);
    if (!isMultiple(style)) return selectSingle(window, index);
    bool changed = false;
    if (!isExtended(style)) {
        if (press)
            changed = setItemSelected(window, index, !state.items[static_cast<std::size_t>(index)].selected);
    } else if (shift) {
        changed = selectRange(window, state.anchor, index, control);
    } else if (control) {
        if (press) {
            changed = setItemSelected(window, index, !state.items[static_cast<std::size_t>(index)].selected);
            state.anchor = index;
        }
    } else {
        if (press) state.anchor = index;
        changed = selectRange(window, state.anchor, index, false);
    }
    setCaret(window, index);
    return changed;
}

// ---- Items ----

// The new item against the item at `index`.
int compareWithItem(HWND window, const ListItem& item, int index) {
    const ListItem& other = stateOf(window).items[static_cast<std::size_t>(index)];
    if (hasStrings(styleOf(window))) return LocaleCompareWide(item.text, other.text, true);
    COMPAREITEMSTRUCT record;
    record.CtlType = ODT_LISTBOX;
    record.CtlID = controlId(window);
    record.hwndItem = window;
    record.itemID1 = static_cast<UINT>(-1);
    record.itemData1 = item.data;
    record.itemID2 = static_cast<UINT>(index);
    record.itemData2 = other.data;
    return static_cast<int>(sendToParent(window, WM_COMPAREITEM, record.CtlID, &record));
}

// A sorted list puts a new item after the ones that sort equal to it.
int sortedPosition(HWND window, const ListItem& item) {
    const ListBoxState& state = stateOf(window);
    int low = 0;
    int high = countOf(state);
    while (low < high) {
        int middle = (low + high) / 2;
        if (compareWithItem(window, item, middle) < 0)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

ListItem itemFromArgument(HWND window, LPARAM lParam) {
    ListItem item;
    if (hasStrings(styleOf(window)))
        item.text = lParam ? WideString(reinterpret_cast<const WCHAR*>(lParam)) : WideString();
    else
        item.data = static_cast<ULONG_PTR>(lParam);
    return item;
}

int measureItem(HWND window, int index, ULONG_PTR data) {
    ListBoxState& state = stateOf(window);
    MEASUREITEMSTRUCT record;
    record.CtlType = ODT_LISTBOX;
    record.CtlID = controlId(window);
    record.itemID = static_cast<UINT>(index);
    record.itemWidth = static_cast<UINT>(clientRect(window).Width());
    record.itemHeight = static_cast<UINT>(state.itemHeight);
    record.itemData = data;
    sendToParent(window, WM_MEASUREITEM, record.CtlID, &record);
    return std::clamp(static_cast<int>(record.itemHeight), 1, maximumItemHeight);
}

void shiftIndexesForInsert(ListBoxState& state, int position) {
    if (state.selected >= position) ++state.selected;
    if (state.caret >= position && countOf(state) > 1) ++state.caret;
    if (state.anchor >= position && countOf(state) > 1) ++state.anchor;
}

LRESULT insertItem(HWND window, int position, ListItem item) {
    ListBoxState& state = stateOf(window);
    DWORD style = styleOf(window);
    if (position < 0) position = countOf(state);
    if (position > countOf(state)) return LB_ERR;
    ULONG_PTR data = item.data;
    state.items.insert(state.items.begin() + position, std::move(item));
    shiftIndexesForInsert(state, position);
    if (isVariable(style))
        state.items[static_cast<std::size_t>(position)].height = measureItem(window, position, data);
    updateScrollBars(window);
    redraw(window);
    return position;
}

void sendDeleteItem(HWND window, int index, ULONG_PTR data) {
    if (!data) return;
    DELETEITEMSTRUCT record;
    record.CtlType = ODT_LISTBOX;
    record.CtlID = controlId(window);
    record.itemID = static_cast<UINT>(index);
    record.hwndItem = window;
    record.itemData = data;
    sendToParent(window, WM_DELETEITEM, record.CtlID, &record);
}

LRESULT deleteItem(HWND window, WPARAM index) {
    ListBoxState& state = stateOf(window);
    if (!validIndex(state, index)) return LB_ERR;
    int position = static_cast<int>(index);
    sendDeleteItem(window, position, state.items[index].data);
    state.items.erase(state.items.begin() + position);
    if (state.selected == position)
        state.selected = -1;
    else if (state.selected > position)
        --state.selected;
    if (state.caret > position || state.caret >= countOf(state)) state.caret = std::max(state.caret - 1, 0);
    if (state.anchor > position || state.anchor >= countOf(state))
        state.anchor = std::max(state.anchor - 1, 0);
    state.top = std::min(state.top, maximumTop(window, state));
    updateScrollBars(window);
    redraw(window);
    return countOf(state);
}

void deleteAllItems(HWND window) {
    ListBoxState& state = stateOf(window);
    std::vector<ListItem> items = std::move(state.items);
    state.items.clear();
    state.selected = -1;
    state.caret = 0;
    state.anchor = 0;
    state.top = 0;
    for (std::size_t index = 0; index < items.size(); ++index)
        sendDeleteItem(window, static_cast<int>(index), items[index].data);
}

// A list without data only has a number of items.
LRESULT setCount(HWND window, WPARAM count) {
    ListBoxState& state = stateOf(window);
    if (!(styleOf(window) & LBS_NODATA)) return LB_ERR;
    state.items.assign(count, ListItem{});
    state.items.shrink_to_fit();
    int last = countOf(state) - 1;
    if (state.selected > last) state.selected = -1;
    state.caret = std::clamp(state.caret, 0, std::max(last, 0));
    state.anchor = std::clamp(state.anchor, 0, std::max(last, 0));
    state.top = std::min(state.top, maximumTop(window, state));
    updateScrollBars(window);
    redraw(window);
    return 0;
}

LRESULT resetContent(HWND window) {
    deleteAllItems(window);
    updateScrollBars(window);
    redraw(window);
    return 0;
}

bool itemMatches(HWND window, const ListItem& item, const ListItem& wanted, bool exact) {
    if (!hasStrings(styleOf(window))) return item.data == wanted.data;
    if (exact) return LocaleCompareWide(item.text, wanted.text, true) == 0;
    if (item.text.size() < wanted.text.size()) return false;
    return LocaleCompareWide(item.text.substr(0, wanted.text.size()), wanted.text, true) == 0;
}

// Searches after `start` (from the first item for -1), wrapping around.
LRESULT findItem(HWND window, WPARAM start, LPARAM lParam, bool exact) {
    const ListBoxState& state = stateOf(window);
    int count = countOf(state);
    if (count == 0) return LB_ERR;
    ListItem wanted = itemFromArgument(window, lParam);
    int first = validIndex(state, start) ? static_cast<int>(start) + 1 : 0;
    for (int step = 0; step < count; ++step) {
        int index = (first + step) % count;
        if (itemMatches(window, state.items[static_cast<std::size_t>(index)], wanted, exact)) return index;
    }
    return LB_ERR;
}

LRESULT getText(HWND window, WPARAM index, LPARAM buffer) {
    const ListBoxState& state = stateOf(window);
    if (!validIndex(state, index)) return LB_ERR;
    const ListItem& item = state.items[index];
    if (!hasStrings(styleOf(window))) {
        if (buffer) std::memcpy(reinterpret_cast<void*>(buffer), &item.data, sizeof item.data);
        return sizeof item.data;
    }
    if (buffer) {
        WCHAR* target = reinterpret_cast<WCHAR*>(buffer);
        std::copy(item.text.begin(), item.text.end(), target);
        target[item.text.size()] = 0;
    }
    return static_cast<LRESULT>(item.text.size());
}

LRESULT getTextLength(HWND window, WPARAM index) {
    const ListBoxState& state = stateOf(window);
    if (!validIndex(state, index)) return LB_ERR;
    if (!hasStrings(styleOf(window))) return sizeof(ULONG_PTR);
    return static_cast<LRESULT>(state.items[index].text.size());
}

// ---- Selection messages ----

LRESULT setCurrentSelection(HWND window, WPARAM index) {
    ListBoxState& state = stateOf(window);
    if (isMultiple(styleOf(window))) return LB_ERR;
    if (static_cast<int>(index) == -1) {
        selectSingle(window, -1);
        return LB_ERR;
    }
    if (!validIndex(state, index)) return LB_ERR;
    selectSingle(window, static_cast<int>(index));
    ensureVisible(window, static_cast<int>(index));
    return static_cast<LRESULT>(index);
}

LRESULT getCurrentSelection(HWND window) {
    const ListBoxState& state = stateOf(window);
    if (isMultiple(styleOf(window))) return state.caret;
    return state.selected < 0 ? LB_ERR : state.selected;
}

LRESULT setSelection(HWND window, WPARAM select, LPARAM index) {
    ListBoxState& state = stateOf(window);
    if (!isMultiple(styleOf(window))) return LB_ERR;
    if (static_cast<int>(index) == -1) {
        for (int item = 0; item < countOf(state); ++item)
            setItemSelected(window, item, select != 0);
        return 0;
    }
    if (!validIndex(state, static_cast<WPARAM>(index))) return LB_ERR;
    setItemSelected(window, static_cast<int>(index), select != 0);
    return 0;
}

LRESULT getSelection(HWND window, WPARAM index) {
    const ListBoxState& state = stateOf(window);
    if (!validIndex(state, index)) return LB_ERR;
    return isSelected(state, styleOf(window), static_cast<int>(index)) ? 1 : 0;
}

LRESULT selectionCount(HWND window) {
    const ListBoxState& state = stateOf(window);
    if (!isMultiple(styleOf(window))) return LB_ERR;
    return std::count_if(state.items.begin(), state.items.end(),
                         [](const ListItem& item) { return item.selected; });
}

LRESULT selectedItems(HWND window, WPARAM capacity, LPARAM buffer) {
    const ListBoxState& state = stateOf(window);
    if (!isMultiple(styleOf(window))) return LB_ERR;
    int* target = reinterpret_cast<int*>(buffer);
    LRESULT written = 0;
    for (int index = 0; index < countOf(state) && static_cast<WPARAM>(written) < capacity; ++index)
        if (state.items[static_cast<std::size_t>(index)].selected) target[written++] = index;
    return written;
}

LRESULT selectItemRange(HWND window, WPARAM select, LPARAM range) {
    const ListBoxState& state = stateOf(window);
    if (!isMultiple(styleOf(window))) return LB_ERR;
    int first = LOWORD(range);
    int last = std::min(static_cast<int>(HIWORD(range)), countOf(state) - 1);
    for (int index = first; index <= last; ++index)
        setItemSelected(window, index, select != 0);
    return 0;
}

LRESULT selectString(HWND window, WPARAM start, LPARAM text) {
    LRESULT found = findItem(window, start, text, false);
    if (found == LB_ERR) return LB_ERR;
    if (isMultiple(styleOf(window)))
        setItemSelected(window, static_cast<int>(found), true);
    else
        selectSingle(window, static_cast<int>(found));
    setCaret(window, static_cast<int>(found));
    ensureVisible(window, static_cast<int>(found));
    return found;
}

// ---- Item sizes and places ----

LRESULT setItemHeight(HWND window, WPARAM index, LPARAM height) {
    ListBoxState& state = stateOf(window);
    int value = LOWORD(height);
    if (value > maximumItemHeight || value <= 0) return LB_ERR;
    if (isVariable(styleOf(window))) {
        if (!validIndex(state, index)) return LB_ERR;
        state.items[index].height = value;
    } else {
        state.itemHeight = value;
    }
    state.top = std::min(state.top, maximumTop(window, state));
    updateScrollBars(window);
    redraw(window);
    return 0;
}

LRESULT getItemHeight(HWND window, WPARAM index) {
    const ListBoxState& state = stateOf(window);
    if (!isVariable(styleOf(window))) return state.itemHeight;
    if (!validIndex(state, index)) return LB_ERR;
    return state.items[index].height;
}

LRESULT getItemRect(HWND window, WPARAM index, LPARAM rect) {
    const ListBoxState& state = stateOf(window);
    if (!validIndex(state, index) || !rect) return LB_ERR;
    *reinterpret_cast<RECT*>(rect) = itemRect(window, state, static_cast<int>(index));
    return 0;
}

LRESULT itemFromPoint(HWND window, LPARAM point) {
    const ListBoxState& state = stateOf(window);
    if (state.items.empty()) return MAKELONG(0, 1);
    POINT client{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    bool outside = !contains(clientRect(window), client);
    int index = itemAtHeight(window, state, client.y);
    if (index < 0) {
        index = countOf(state) - 1;
        outside = true;
    }
    return MAKELONG(static_cast<WORD>(index), outside ? 1 : 0);
}

LRESULT setTopIndex(HWND window, WPARAM index) {
    if (!validIndex(stateOf(window), index)) return LB_ERR;
    setTop(window, static_cast<int>(index));
    return 0;
}

LRESULT setHorizontalExtent(HWND window, WPARAM extent) {
    ListBoxState& state = stateOf(window);
    state.horizontalExtent = static_cast<int>(extent);
    state.horizontalOffset = std::min(state.horizontalOffset, std::max(state.horizontalExtent, 0));
    updateScrollBars(window);
    redraw(window);
    return 0;
}

// ---- Painting ----

UINT itemState(HWND window, const ListBoxState& state, DWORD style, int index) {
    UINT flags = 0;
    if (isSelected(state, style, index)) flags |= ODS_SELECTED;
    if (state.focused && index == state.caret) flags |= ODS_FOCUS;
    if (!IsWindowEnabled(window)) flags |= ODS_DISABLED;
    return flags;
}

void drawOwnerItem(HWND window, HDC dc, int index, const TRect& rect, UINT action, UINT flags,
                   ULONG_PTR data) {
    DRAWITEMSTRUCT record;
    record.CtlType = ODT_LISTBOX;
    record.CtlID = controlId(window);
    record.itemID = static_cast<UINT>(index);
    record.itemAction = action;
    record.itemState = flags;
    record.hwndItem = window;
    record.hDC = dc;
    record.rcItem = rect;
    record.itemData = data;
    int saved = SaveDC(dc);
    IntersectClipRect(dc, rect.Left, rect.Top, rect.Right, rect.Bottom);
    sendToParent(window, WM_DRAWITEM, record.CtlID, &record);
    RestoreDC(dc, saved);
}

void drawTextItem(HWND window, HDC dc, const ListItem& item, const TRect& rect, UINT flags,
                  COLORREF textColour) {
    bool selected = flags & ODS_SELECTED;
    if (selected) FillRect(dc, &rect, GetSysColorBrush(COLOR_HIGHLIGHT));
    COLORREF colour = textColour;
    if (selected) colour = GetSysColor(COLOR_HIGHLIGHTTEXT);
    if (flags & ODS_DISABLED) colour = GetSysColor(COLOR_GRAYTEXT);
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);
    TRect textRect = rect;
    textRect.Left += textIndent - stateOf(window).horizontalOffset;
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP;
    if (styleOf(window) & LBS_USETABSTOPS) format |= DT_EXPANDTABS;
    DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &textRect, format);
    if (flags & ODS_FOCUS) DrawFocusRect(dc, &rect);
}

void paint(HWND window, HDC dc) {
    ListBoxState& state = stateOf(window);
    DWORD style = styleOf(window);
    int saved = SaveDC(dc);
    SelectObject(dc, ControlFont(state.font));
    TRect client = clientRect(window);
    HBRUSH brush = ControlColourBrush(window, dc, WM_CTLCOLORLISTBOX);
    FillRect(dc, &client, brush);
    COLORREF textColour = GetTextColor(dc);
    int y = 0;
    for (int index = state.top; index < countOf(state) && y < client.Bottom; ++index) {
        int height = heightOf(state, style, index);
        TRect rect{client.Left, y, client.Right, y + height};
        UINT flags = itemState(window, state, style, index);
        const ListItem& item = state.items[static_cast<std::size_t>(index)];
        if (isOwnerDrawn(style))
            drawOwnerItem(window, dc, index, rect, ODA_DRAWENTIRE, flags, item.data);
        else
            drawTextItem(window, dc, item, rect, flags, textColour);
        y += height;
    }
    if (state.items.empty() && state.focused && isOwnerDrawn(style))
        drawOwnerItem(window, dc, -1, {client.Left, 0, client.Right, state.itemHeight}, ODA_FOCUS, ODS_FOCUS,
                      0);
    RestoreDC(dc, saved);
}

LRESULT onPaint(HWND window) {
    PAINTSTRUCT paintStruct;
    HDC dc = BeginPaint(window, &paintStruct);
    if (dc) paint(window, dc);
    EndPaint(window, &paintStruct);
    return 0;
}

// ---- Creation and fonts ----

int fontHeight(HWND window) {
    return ControlFontHeight(window, stateOf(window).font);
}

LRESULT onNonClientCreate(HWND window, WPARAM wParam, LPARAM lParam) {
    ListBoxState& state = stateOf(window);
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    DWORD style = static_cast<DWORD>(create->style);
    state.wantsVerticalBar = style & WS_VSCROLL;
    state.wantsHorizontalBar = style & WS_HSCROLL;
    if (isComboList(style)) state.combo = static_cast<HWND>(create->lpCreateParams);
    return DefWindowProcW(window, WM_NCCREATE, wParam, lParam);
}

LRESULT onCreate(HWND window) {
    ListBoxState& state = stateOf(window);
    state.itemHeight = fontHeight(window);
    if (styleOf(window) & LBS_OWNERDRAWFIXED) state.itemHeight = measureItem(window, 0, 0);
    updateScrollBars(window);
    return 0;
}

LRESULT onSetFont(HWND window, WPARAM font, LPARAM repaint) {
    ListBoxState& state = stateOf(window);
    state.font = reinterpret_cast<HFONT>(font);
    if (!isOwnerDrawn(styleOf(window))) state.itemHeight = fontHeight(window);
    updateScrollBars(window);
    if (LOWORD(repaint)) redraw(window);
    return 0;
}

LRESULT onSetRedraw(HWND window, WPARAM on) {
    ListBoxState& state = stateOf(window);
    DefWindowProcW(window, WM_SETREDRAW, on, 0);
    state.redrawOff = !on;
    if (on) {
        updateScrollBars(window);
        redraw(window);
    }
    return 0;
}

// ---- Mouse ----

bool shiftHeld() {
    return GetKeyState(static_cast<int>(VK_SHIFT)) < 0;
}

bool controlHeld() {
    return GetKeyState(static_cast<int>(VK_CONTROL)) < 0;
}

POINT pointOf(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

void endTracking(HWND window) {
    ListBoxState& state = stateOf(window);
    if (!state.tracking) return;
    state.tracking = false;
    bool changed = state.changedWhileTracking;
    state.changedWhileTracking = false;
    if (GetCapture() == window) ReleaseCapture();
    // The system's list reports every click it ends, also one on the item
    // already selected, so a program can redo its choice; a combo box's own
    // list reports only a change.
    const bool reported = changed || !isComboList(styleOf(window));
    if (reported && !state.items.empty()) notify(window, LBN_SELCHANGE);
}

// A click focuses the list, or the combo box that a simple combo list belongs to.
void takeFocus(HWND window, DWORD style) {
    HWND focus = GetFocus();
    if (!isComboList(style)) {
        if (focus != window) SetFocus(window);
        return;
    }
    HWND combo = ownerOf(window);
    if (combo && focus != combo && !IsChild(combo, focus)) SetFocus(combo);
}

LRESULT onButtonDown(HWND window, LPARAM lParam, bool doubleClick) {
    ListBoxState& state = stateOf(window);
    DWORD style = styleOf(window);
    takeFocus(window, style);
    int index = itemAtHeight(window, state, pointOf(lParam).y);
    if (index < 0) return 0;
    state.tracking = true;
    SetCapture(window);
    state.changedWhileTracking |= selectByUser(window, index, shiftHeld(), controlHeld(), true);
    if (doubleClick) notify(window, LBN_DBLCLK);
    return 0;
}

LRESULT onMouseMove(HWND window, LPARAM lParam) {
    ListBoxState& state = stateOf(window);
    if (!state.tracking) return 0;
    DWORD style = styleOf(window);
    if (isMultiple(style) && !isExtended(style)) return 0;
    POINT point = pointOf(lParam);
    int index = itemAtHeight(window, state, point.y);
    if (index < 0) index = countOf(state) - 1;
    if (index < 0) return 0;
    ensureVisible(window, index);
    state.changedWhileTracking |= selectByUser(window, index, true, controlHeld(), false);
    return 0;
}

// ---- The dropped list of a combo box ----

void pickOrCancel(HWND window, WORD code) {
    ListBoxState& state = stateOf(window);
    state.comboTracking = false;
    notifyOwner(window, code);
}

// A press on the list's own scroll bar works it as usual; the list then takes the mouse back.
void workScrollBar(HWND window, POINT client) {
    ListBoxState& state = stateOf(window);
    POINT screen = client;
    ClientToScreen(window, &screen);
    LRESULT hit = SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    state.scrollBarTracking = true;
    DefWindowProcW(window, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), MAKELPARAM(screen.x, screen.y));
    state.scrollBarTracking = false;
    if (state.comboTracking) SetCapture(window);
}

bool insideWindow(HWND window, POINT client) {
    POINT screen = client;
    ClientToScreen(window, &screen);
    TRect rect;
    GetWindowRect(window, &rect);
    return contains(rect, screen);
}

LRESULT onComboButtonDown(HWND window, LPARAM lParam) {
    ListBoxState& state = stateOf(window);
    POINT point = pointOf(lParam);
    if (contains(clientRect(window), point)) {
        state.comboButtonHeld = true;
        int index = itemAtHeight(window, state, point.y);
        if (index >= 0) selectSingle(window, index);
    } else if (insideWindow(window, point)) {
        workScrollBar(window, point);
    } else {
        pickOrCancel(window, ComboListCancelled);
    }
    return 0;
}

LRESULT onComboMouseMove(HWND window, LPARAM lParam) {
    ListBoxState& state = stateOf(window);
    POINT point = pointOf(lParam);
    if (!contains(clientRect(window), point)) return 0;
    int index = itemAtHeight(window, state, point.y);
    if (index >= 0) selectSingle(window, index);
    return 0;
}

LRESULT onComboButtonUp(HWND window, LPARAM lParam) {
    // Releasing the press that opened the list anywhere but on an item keeps it open.
    ListBoxState& state = stateOf(window);
    POINT point = pointOf(lParam);
    state.comboButtonHeld = false;
    if (contains(clientRect(window), point) && itemAtHeight(window, state, point.y) >= 0)
        pickOrCancel(window, ComboListItemPicked);
    return 0;
}

LRESULT onCaptureChanged(HWND window) {
    ListBoxState& state = stateOf(window);
    if (state.comboTracking && !state.scrollBarTracking) {
        pickOrCancel(window, ComboListCancelled);
        return 0;
    }
    if (state.tracking) endTracking(window);
    return 0;
}

// ---- Keyboard ----

int keyTarget(HWND window, WPARAM key) {
    const ListBoxState& state = stateOf(window);
    int page =
        std::max(fullyVisibleFrom(state, styleOf(window), state.top, clientRect(window).Height()) - 1, 1);
    int caret = state.caret;
    switch (key) {
    case VK_UP:
    case VK_LEFT:
        return caret - 1;
    case VK_DOWN:
    case VK_RIGHT:
        return caret + 1;
    case VK_PRIOR:
        return caret - page;
    case VK_NEXT:
        return caret + page;
    case VK_HOME:
        return 0;
    case VK_END:
        return countOf(state) - 1;
    default:
        return -2;
    }
}

// Moves the caret (and for single and extended lists the selection) as the
// user asks; reports a changed selection.
void moveByUser(HWND window, int index) {
    ListBoxState& state = stateOf(window);
    DWORD style = styleOf(window);
    index = std::clamp(index, 0, countOf(state) - 1);
    bool changed = false;
    if (!isMultiple(style)) {
        changed = selectSingle(window, index);
    } else if (isExtended(style) && !controlHeld()) {
        if (!shiftHeld()) state.anchor = index;
        changed = selectRange(window, state.anchor, index, false);
        setCaret(window, index);
    } else {
        setCaret(window, index);
    }
    ensureVisible(window, index);
    if (changed) notify(window, LBN_SELCHANGE);
}

LRESULT onKeyDown(HWND window, WPARAM key) {
    ListBoxState& state = stateOf(window);
    if (state.items.empty()) return 0;
    DWORD style = styleOf(window);
    if (key == VK_SPACE && isMultiple(style)) {
        if (isExtended(style) && !controlHeld()) return 0;
        int caret = std::clamp(state.caret, 0, countOf(state) - 1);
        setItemSelected(window, caret, !state.items[static_cast<std::size_t>(caret)].selected);
        state.anchor = caret;
        notify(window, LBN_SELCHANGE);
        return 0;
    }
    int target = keyTarget(window, key);
    if (target != -2) moveByUser(window, target);
    return 0;
}

// A typed character moves to the next item that starts with it.
LRESULT onChar(HWND window, WPARAM character) {
    ListBoxState& state = stateOf(window);
    if (character < ' ' || state.items.empty() || !hasStrings(styleOf(window))) return 0;
    WideString prefix(1, static_cast<WCHAR>(character));
    LRESULT found =
        findItem(window, static_cast<WPARAM>(state.caret), reinterpret_cast<LPARAM>(prefix.c_str()), false);
    if (found != LB_ERR) moveByUser(window, static_cast<int>(found));
    return 0;
}

LRESULT onFocus(HWND window, bool gained) {
    ListBoxState& state = stateOf(window);
    state.focused = gained;
    if (!gained && state.tracking) endTracking(window);
    redrawItem(window, state.caret);
    if (state.items.empty()) redraw(window);
    notify(window, gained ? LBN_SETFOCUS : LBN_KILLFOCUS);
    return 0;
}

LRESULT onWheel(HWND window, WPARAM wParam) {
    int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
    setTop(window, stateOf(window).top - notches * wheelLines);
    return 0;
}

LRESULT onSize(HWND window) {
    ListBoxState& state = stateOf(window);
    state.top = std::min(state.top, maximumTop(window, state));
    updateScrollBars(window);
    redraw(window);
    return 0;
}

LRESULT mouseMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (stateOf(window).comboTracking) {
        if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK)
            return onComboButtonDown(window, lParam);
        if (message == WM_MOUSEMOVE) return onComboMouseMove(window, lParam);
        if (message == WM_LBUTTONUP) return onComboButtonUp(window, lParam);
        return 0;
    }
    switch (message) {
    case WM_LBUTTONDOWN:
        return onButtonDown(window, lParam, false);
    case WM_LBUTTONDBLCLK:
        return onButtonDown(window, lParam, true);
    case WM_MOUSEMOVE:
        return onMouseMove(window, lParam);
    case WM_LBUTTONUP:
        endTracking(window);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT listMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case LB_ADDSTRING: {
        if (styleOf(window) & LBS_NODATA) return LB_ERR;
        ListItem item = itemFromArgument(window, lParam);
        int position = (styleOf(window) & LBS_SORT) ? sortedPosition(window, item) : -1;
        return insertItem(window, position, std::move(item));
    }
    case LB_INSERTSTRING:
        if (styleOf(window) & LBS_NODATA) return LB_ERR;
        return insertItem(window, static_cast<int>(wParam), itemFromArgument(window, lParam));
    case LB_SETCOUNT:
        return setCount(window, wParam);
    case LB_DELETESTRING:
        return deleteItem(window, wParam);
    case LB_RESETCONTENT:
        return resetContent(window);
    case LB_GETCOUNT:
        return countOf(stateOf(window));
    case LB_GETTEXT:
        return getText(window, wParam, lParam);
    case LB_GETTEXTLEN:
        return getTextLength(window, wParam);
    case LB_SETCURSEL:
        return setCurrentSelection(window, wParam);
    case LB_GETCURSEL:
        return getCurrentSelection(window);
    case LB_SETSEL:
        return setSelection(window, wParam, lParam);
    case LB_GETSEL:
        return getSelection(window, wParam);
    case LB_GETSELCOUNT:
        return selectionCount(window);
    case LB_GETSELITEMS:
        return selectedItems(window, wParam, lParam);
    case LB_SELITEMRANGE:
        return selectItemRange(window, wParam, lParam);
    case LB_SELECTSTRING:
        return selectString(window, wParam, lParam);
    case LB_FINDSTRING:
        return findItem(window, wParam, lParam, false);
    case LB_FINDSTRINGEXACT:
        return findItem(window, wParam, lParam, true);
    case LB_SETTOPINDEX:
        return setTopIndex(window, wParam);
    case LB_GETTOPINDEX:
        return stateOf(window).top;
    case LB_GETITEMDATA:
        return validIndex(stateOf(window), wParam) ? static_cast<LRESULT>(stateOf(window).items[wParam].data)
                                                   : LB_ERR;
    case LB_SETITEMDATA:
        if (!validIndex(stateOf(window), wParam)) return LB_ERR;
        stateOf(window).items[wParam].data = static_cast<ULONG_PTR>(lParam);
        return 0;
    case LB_SETITEMHEIGHT:
        return setItemHeight(window, wParam, lParam);
    case LB_GETITEMHEIGHT:
        return getItemHeight(window, wParam);
    case LB_GETITEMRECT:
        return getItemRect(window, wParam, lParam);
    case LB_ITEMFROMPOINT:
        return itemFromPoint(window, lParam);
    case LB_SETHORIZONTALEXTENT:
        return setHorizontalExtent(window, wParam);
    case LB_GETHORIZONTALEXTENT:
        return stateOf(window).horizontalExtent;
    case LB_SETCARETINDEX:
        if (!validIndex(stateOf(window), wParam)) return LB_ERR;
        setCaret(window, static_cast<int>(wParam));
        if (!lParam) ensureVisible(window, static_cast<int>(wParam));
        return 0;
    case LB_GETCARETINDEX:
        return stateOf(window).caret;
    case LB_SETANCHORINDEX:
        if (!validIndex(stateOf(window), wParam)) return LB_ERR;
        stateOf(window).anchor = static_cast<int>(wParam);
        return 0;
    case LB_GETANCHORINDEX:
        return stateOf(window).anchor;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool isListMessage(UINT message) {
    return message >= LB_ADDSTRING && message <= LB_ITEMFROMPOINT;
}

} // namespace

LRESULT ListBoxWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (isListMessage(message)) return listMessage(window, message, wParam, lParam);
    if (message >= WM_MOUSEMOVE && message <= WM_LBUTTONDBLCLK)
        return mouseMessage(window, message, wParam, lParam);
    switch (message) {
    case WM_NCCREATE:
        return onNonClientCreate(window, wParam, lParam);
    case WM_CREATE:
        return onCreate(window);
    case WM_DESTROY:
        deleteAllItems(window);
        return 0;
    case WM_NCDESTROY:
        listStates.erase(window);
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_MOUSEACTIVATE:
        if (isDroppedComboList(styleOf(window))) return MA_NOACTIVATE;
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        return onPaint(window);
    case WM_PRINTCLIENT:
        paint(window, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_SIZE:
        return onSize(window);
    case WM_SETFONT:
        return onSetFont(window, wParam, lParam);
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(stateOf(window).font);
    case WM_SETREDRAW:
        return onSetRedraw(window, wParam);
    case WM_ENABLE:
        redraw(window);
        return 0;
    case WM_SETFOCUS:
        return onFocus(window, true);
    case WM_KILLFOCUS:
        return onFocus(window, false);
    case WM_CAPTURECHANGED:
        return onCaptureChanged(window);
    case WM_KEYDOWN:
        return onKeyDown(window, wParam);
    case WM_CHAR:
        return onChar(window, wParam);
    case WM_MOUSEWHEEL:
        return onWheel(window, wParam);
    case WM_VSCROLL:
        return onScroll(window, wParam, true);
    case WM_HSCROLL:
        return onScroll(window, wParam, false);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void TrackComboList(HWND list, bool buttonHeld) {
    ListBoxState& state = stateOf(list);
    state.tracking = false;
    state.comboTracking = true;
    state.comboButtonHeld = buttonHeld;
    SetCapture(list);
}

void StopComboListTracking(HWND list) {
    stateOf(list).comboTracking = false;
    if (GetCapture() == list) ReleaseCapture();
}
