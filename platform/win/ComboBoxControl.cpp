// The COMBOBOX class. The combo box keeps its items in its list box, shows
// the chosen one in its edit field (or, for a drop-down list, paints it
// itself) and turns what its children report into CBN_ notifications. The
// edit field is subclassed so that the keys that work the list reach the
// combo box while the field has the focus.
#include "platform/win/ComboBoxControl.h"

#include "platform/win/DefWindowProc.h"
#include "platform/win/DrawText.h"
#include "platform/win/Drawing.h"
#include "platform/win/Edges.h"
#include "platform/win/EditControl.h"
#include "platform/win/Focus.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/Keyboard.h"
#include "platform/win/ListBoxControl.h"
#include "platform/win/Messages.h"
#include "platform/win/Mouse.h"
#include "platform/win/Painting.h"
#include "platform/win/StandardControls.h"
#include "platform/win/SysColors.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowProcedures.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

namespace {

constexpr DWORD typeMask = 0x0003;
constexpr int edgeWidth = 2;
constexpr int fieldMargin = 1;
constexpr int fieldPadding = 2;
constexpr int listBorders = 2;
constexpr int arrowWidth = 7;
constexpr int arrowHeight = 4;
constexpr int maximumItemHeight = 255;
constexpr int textIndent = 2;

struct ComboState {
    HWND edit = nullptr;
    HWND list = nullptr;
    WNDPROC editProcedure = nullptr;
    HFONT font = nullptr;
    // The height of the selection field's item, and the combo box's height when dropped.
    int fieldHeight = 0;
    int droppedHeight = 0;
    int droppedWidth = 0;
    int selectionWhenDropped = -1;
    bool dropped = false;
    bool focused = false;
    bool extendedInterface = false;
    // The combo box itself changes its edit field's text or its own size.
    bool changingEditText = false;
    bool resizing = false;
    // The key that closed the list is not to reach the edit field as a character.
    bool swallowCharacter = false;
};

thread_local std::unordered_map<HWND, std::unique_ptr<ComboState>> comboStates;

ComboState& stateOf(HWND window) {
    auto& slot = comboStates[window];
    if (!slot) slot = std::make_unique<ComboState>();
    return *slot;
}

ComboState* findState(HWND window) {
    auto found = comboStates.find(window);
    return found == comboStates.end() ? nullptr : found->second.get();
}

DWORD styleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
}

DWORD typeOf(HWND window) {
    return styleOf(window) & typeMask;
}

bool isSimple(HWND window) {
    return typeOf(window) == CBS_SIMPLE;
}

bool isDropDownList(HWND window) {
    return typeOf(window) == CBS_DROPDOWNLIST;
}

bool isOwnerDrawn(HWND window) {
    return styleOf(window) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE);
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

LRESULT toList(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    HWND list = stateOf(window).list;
    return list ? SendMessageW(list, message, wParam, lParam) : CB_ERR;
}

int currentSelection(HWND window) {
    return static_cast<int>(toList(window, LB_GETCURSEL));
}

WideString itemText(HWND window, int index) {
    LRESULT length = toList(window, LB_GETTEXTLEN, static_cast<WPARAM>(index));
    if (length == LB_ERR || length < 0) return {};
    WideString text(static_cast<std::size_t>(length) + 1, 0);
    toList(window, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::char_traits<WCHAR>::length(text.c_str()));
    return text;
}

void redraw(HWND window) {
    InvalidateRect(window, nullptr, FALSE);
}

// ---- Geometry ----

int selectionFieldWindowHeight(const ComboState& state) {
    return state.fieldHeight + 2 * (edgeWidth + fieldMargin);
}

int buttonWidth() {
    return GetSystemMetrics(SM_CXVSCROLL);
}

TRect buttonRect(HWND window) {
    if (isSimple(window)) return {};
    TRect client = clientRect(window);
    int height = selectionFieldWindowHeight(stateOf(window));
    return {client.Right - edgeWidth - buttonWidth(), edgeWidth, client.Right - edgeWidth,
            height - edgeWidth};
}

// The selection field inside the edge, left of the button.
TRect fieldRect(HWND window) {
    TRect client = clientRect(window);
    int height = selectionFieldWindowHeight(stateOf(window));
    int right = isSimple(window) ? client.Right - edgeWidth : buttonRect(window).Left;
    return {edgeWidth + fieldMargin, edgeWidth + fieldMargin, right - fieldMargin,
            height - edgeWidth - fieldMargin};
}

void layOutChildren(HWND window) {
    ComboState& state = stateOf(window);
    TRect field = fieldRect(window);
    if (state.edit)
        SetWindowPos(state.edit, nullptr, field.Left, field.Top, field.Width(), field.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    if (state.list && isSimple(window)) {
        TRect client = clientRect(window);
        int top = selectionFieldWindowHeight(state);
        SetWindowPos(state.list, nullptr, 0, top, client.Width(), std::max(client.Height() - top, 0),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// A drop-down combo box is as high as its selection field; the height it is
// given is the height it has when its list is dropped.
void fitHeightToField(HWND window) {
    ComboState& state = stateOf(window);
    if (isSimple(window)) return;
    TRect rect;
    GetWindowRect(window, &rect);
    state.resizing = true;
    SetWindowPos(window, nullptr, 0, 0, rect.Width(), selectionFieldWindowHeight(state),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    state.resizing = false;
    layOutChildren(window);
}

LRESULT onWindowPosChanging(HWND window, WPARAM wParam, LPARAM lParam) {
    ComboState& state = stateOf(window);
    auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
    if (!isSimple(window) && !state.resizing && !(position->flags & SWP_NOSIZE) && state.fieldHeight) {
        state.droppedHeight = position->cy;
        position->cy = selectionFieldWindowHeight(state);
    }
    return DefWindowProcW(window, WM_WINDOWPOSCHANGING, wParam, lParam);
}

// ---- Text ----

void setEditText(HWND window, const WideString& text) {
    ComboState& state = stateOf(window);
    if (!state.edit) {
        redraw(window);
        return;
    }
    state.changingEditText = true;
    SendMessageW(state.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    state.changingEditText = false;
    if (state.focused) SendMessageW(state.edit, EM_SETSEL, 0, -1);
}

void showSelection(HWND window) {
    int selected = currentSelection(window);
    if (stateOf(window).edit) setEditText(window, selected >= 0 ? itemText(window, selected) : WideString());
    redraw(window);
}

LRESULT onSetText(HWND window, LPARAM lParam) {
    ComboState& state = stateOf(window);
    WideString text = lParam ? WideString(reinterpret_cast<const WCHAR*>(lParam)) : WideString();
    if (state.edit) {
        setEditText(window, text);
        return TRUE;
    }
    if (!isDropDownList(window)) return DefWindowProcW(window, WM_SETTEXT, 0, lParam);
    LRESULT found =
        toList(window, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    if (found == LB_ERR) return CB_ERR;
    toList(window, LB_SETCURSEL, static_cast<WPARAM>(found));
    redraw(window);
    return TRUE;
}

// The text the default procedure keeps (read without asking this procedure again).
WideString storedText(HWND window) {
    LRESULT length = DefWindowProcW(window, WM_GETTEXTLENGTH, 0, 0);
    WideString text(static_cast<std::size_t>(length) + 1, 0);
    DefWindowProcW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

WideString shownText(HWND window) {
    ComboState& state = stateOf(window);
    if (state.edit) return ControlText(state.edit);
    if (isDropDownList(window)) {
        int selected = currentSelection(window);
        return selected >= 0 ? itemText(window, selected) : WideString();
    }
    return storedText(window);
}

LRESULT onGetText(HWND window, WPARAM size, LPARAM buffer) {
    if (!size || !buffer) return 0;
    WideString text = shownText(window);
    std::size_t count = std::min(text.size(), static_cast<std::size_t>(size) - 1);
    WCHAR* target = reinterpret_cast<WCHAR*>(buffer);
    std::copy_n(text.begin(), count, target);
    target[count] = 0;
    return static_cast<LRESULT>(count);
}

// ---- The drop-down list ----

int listContentHeight(HWND window) {
    int count = static_cast<int>(toList(window, LB_GETCOUNT));
    if (!(styleOf(window) & CBS_OWNERDRAWVARIABLE))
        return std::max(count, 1) * static_cast<int>(toList(window, LB_GETITEMHEIGHT));
    int height = 0;
    for (int index = 0; index < count; ++index)
        height += static_cast<int>(toList(window, LB_GETITEMHEIGHT, static_cast<WPARAM>(index)));
    return std::max(height, static_cast<int>(toList(window, LB_GETITEMHEIGHT)));
}

// The list drops below the combo box (above it when the screen ends) and is
// no higher than its items need.
TRect droppedListRect(HWND window) {
    ComboState& state = stateOf(window);
    TRect combo;
    GetWindowRect(window, &combo);
    int oneItem = static_cast<int>(toList(window, LB_GETITEMHEIGHT)) + listBorders;
    int available = std::max(state.droppedHeight - combo.Height(), oneItem);
    int height = std::min(listContentHeight(window) + listBorders, available);
    int width = std::max(combo.Width(), state.droppedWidth);
    int top = combo.Bottom;
    if (top + height > ScreenSize().cy && combo.Top - height >= 0) top = combo.Top - height;
    return {combo.Left, top, combo.Left + width, top + height};
}

void selectEditTextInList(HWND window) {
    ComboState& state = stateOf(window);
    if (!state.edit) return;
    WideString text = ControlText(state.edit);
    LRESULT found =
        toList(window, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    if (found != LB_ERR) toList(window, LB_SETCURSEL, static_cast<WPARAM>(found));
}

void dropDown(HWND window, bool buttonHeld) {
    ComboState& state = stateOf(window);
    if (state.dropped || isSimple(window) || !state.list) return;
    NotifyParent(window, CBN_DROPDOWN);
    if (!IsWindow(window)) return;
    selectEditTextInList(window);
    state.selectionWhenDropped = currentSelection(window);
    TRect rect = droppedListRect(window);
    SetWindowPos(state.list, HWND_TOPMOST, rect.Left, rect.Top, rect.Width(), rect.Height(),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (state.selectionWhenDropped >= 0)
        toList(window, LB_SETCARETINDEX, static_cast<WPARAM>(state.selectionWhenDropped));
    state.dropped = true;
    redraw(window);
    TrackComboList(state.list, buttonHeld);
}

// Closes the list; `accept` keeps the item the user came to, otherwise the
// selection goes back to what it was when the list dropped.
void closeUp(HWND window, bool accept) {
    ComboState& state = stateOf(window);
    if (!state.dropped) return;
    state.dropped = false;
    StopComboListTracking(state.list);
    if (!accept) toList(window, LB_SETCURSEL, static_cast<WPARAM>(state.selectionWhenDropped));
    NotifyParent(window, accept ? CBN_SELENDOK : CBN_SELENDCANCEL);
    if (!IsWindow(window)) return;
    ShowWindow(state.list, SW_HIDE);
    redraw(window);
    NotifyParent(window, CBN_CLOSEUP);
    if (!IsWindow(window) || !accept) return;
    int selected = currentSelection(window);
    if (selected >= 0) showSelection(window);
    if (selected != state.selectionWhenDropped) NotifyParent(window, CBN_SELCHANGE);
}

LRESULT showDropDown(HWND window, WPARAM show) {
    if (show)
        dropDown(window, false);
    else
        closeUp(window, false);
    return TRUE;
}

// ---- Focus ----

void enterFocus(HWND window) {
    ComboState& state = stateOf(window);
    if (state.focused) return;
    state.focused = true;
    if (state.edit) SendMessageW(state.edit, EM_SETSEL, 0, -1);
    redraw(window);
    NotifyParent(window, CBN_SETFOCUS);
}

void leaveFocus(HWND window) {
    ComboState& state = stateOf(window);
    if (!state.focused) return;
    state.focused = false;
    closeUp(window, false);
    if (!IsWindow(window)) return;
    redraw(window);
    NotifyParent(window, CBN_KILLFOCUS);
}

bool isPartOf(HWND window, HWND other) {
    const ComboState& state = stateOf(window);
    return other && (other == window || other == state.edit || other == state.list);
}

// ---- Keyboard ----

bool altHeld() {
    return GetKeyState(static_cast<int>(VK_MENU)) < 0;
}

void toggleDropDown(HWND window) {
    if (stateOf(window).dropped)
        closeUp(window, true);
    else
        dropDown(window, false);
}

// With nothing selected, the first key press chooses the first item.
void moveSelection(HWND window, WPARAM key) {
    if (currentSelection(window) < 0 && toList(window, LB_GETCOUNT) > 0) {
        toList(window, LB_SETCURSEL, 0);
        showSelection(window);
        NotifyParent(window, CBN_SELCHANGE);
        return;
    }
    toList(window, WM_KEYDOWN, key);
}

// The keys that work the list; true when the combo box took the key.
bool handleListKey(HWND window, WPARAM key) {
    ComboState& state = stateOf(window);
    switch (key) {
    case VK_F4:
        if (state.extendedInterface) return false;
        toggleDropDown(window);
        return true;
    case VK_DOWN:
        if (!state.dropped && state.extendedInterface && !isSimple(window)) {
            dropDown(window, false);
            return true;
        }
        moveSelection(window, key);
        return true;
    case VK_UP:
    case VK_PRIOR:
    case VK_NEXT:
        moveSelection(window, key);
        return true;
    case VK_HOME:
    case VK_END:
        if (state.edit) return false;
        moveSelection(window, key);
        return true;
    case VK_RETURN:
    case VK_ESCAPE:
        if (!state.dropped) return false;
        closeUp(window, key == VK_RETURN);
        state.swallowCharacter = true;
        return true;
    default:
        return false;
    }
}

bool handleSystemKey(HWND window, WPARAM key) {
    if ((key != VK_DOWN && key != VK_UP) || !altHeld() || isSimple(window)) return false;
    toggleDropDown(window);
    return true;
}

bool swallowsCharacter(HWND window, WPARAM character) {
    ComboState& state = stateOf(window);
    if (!state.swallowCharacter) return false;
    state.swallowCharacter = false;
    return character == '\r' || character == 0x1B;
}

LRESULT editSubclassProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = GetParent(edit);
    ComboState* state = findState(window);
    if (!state || !state->editProcedure) return DefWindowProcW(edit, message, wParam, lParam);
    WNDPROC original = state->editProcedure;
    switch (message) {
    case WM_KEYDOWN:
        if (handleListKey(window, wParam)) return 0;
        break;
    case WM_SYSKEYDOWN:
        if (handleSystemKey(window, wParam)) return 0;
        break;
    case WM_CHAR:
        if (swallowsCharacter(window, wParam)) return 0;
        break;
    case WM_GETDLGCODE:
        return CallWindowProcW(original, edit, message, wParam, lParam) |
               (state->dropped ? DLGC_WANTMESSAGE : 0);
    case WM_KILLFOCUS: {
        LRESULT result = CallWindowProcW(original, edit, message, wParam, lParam);
        if (IsWindow(window) && !isPartOf(window, reinterpret_cast<HWND>(wParam))) leaveFocus(window);
        return result;
    }
    }
    return CallWindowProcW(original, edit, message, wParam, lParam);
}

// ---- What the children report ----

void onListSelectionChange(HWND window) {
    ComboState& state = stateOf(window);
    showSelection(window);
    if (state.dropped) state.selectionWhenDropped = currentSelection(window);
    NotifyParent(window, CBN_SELCHANGE);
}

// Typing in the edit field brings the list to the first item starting with
// the text while the list shows; otherwise the typed text is no item.
void onEditChange(HWND window) {
    ComboState& state = stateOf(window);
    if (state.changingEditText) return;
    if (state.dropped || isSimple(window)) {
        WideString text = ControlText(state.edit);
        LRESULT found = text.empty() ? LB_ERR
                                     : toList(window, LB_FINDSTRING, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(text.c_str()));
        toList(window, LB_SETCURSEL, static_cast<WPARAM>(found));
        if (found != LB_ERR) toList(window, LB_SETTOPINDEX, static_cast<WPARAM>(found));
    } else {
        toList(window, LB_SETCURSEL, static_cast<WPARAM>(-1));
    }
    NotifyParent(window, CBN_EDITCHANGE);
}

LRESULT onCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    ComboState& state = stateOf(window);
    HWND child = reinterpret_cast<HWND>(lParam);
    WORD code = HIWORD(wParam);
    if (child && child == state.list) {
        if (code == LBN_SELCHANGE) onListSelectionChange(window);
        if (code == LBN_DBLCLK) NotifyParent(window, CBN_DBLCLK);
        if (code == ComboListItemPicked) closeUp(window, true);
        if (code == ComboListCancelled) closeUp(window, false);
    } else if (child && child == state.edit) {
        if (code == EN_CHANGE) onEditChange(window);
        if (code == EN_UPDATE && !state.changingEditText) NotifyParent(window, CBN_EDITUPDATE);
        if (code == EN_SETFOCUS) enterFocus(window);
    }
    return 0;
}

// Owner-draw records of the list go to the parent as the combo box's own.
LRESULT forwardOwnerDrawing(HWND window, UINT message, LPARAM lParam) {
    HWND parent = GetParent(window);
    if (!parent) return 0;
    UINT id = controlId(window);
    switch (message) {
    case WM_DRAWITEM: {
        auto* record = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        record->CtlType = ODT_COMBOBOX;
        record->CtlID = id;
        record->hwndItem = window;
        break;
    }
    case WM_MEASUREITEM: {
        auto* record = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        record->CtlType = ODT_COMBOBOX;
        record->CtlID = id;
        break;
    }
    case WM_DELETEITEM: {
        auto* record = reinterpret_cast<DELETEITEMSTRUCT*>(lParam);
        record->CtlType = ODT_COMBOBOX;
        record->CtlID = id;
        record->hwndItem = window;
        break;
    }
    case WM_COMPAREITEM: {
        auto* record = reinterpret_cast<COMPAREITEMSTRUCT*>(lParam);
        record->CtlType = ODT_COMBOBOX;
        record->CtlID = id;
        record->hwndItem = window;
        break;
    }
    }
    return SendMessageW(parent, message, id, lParam);
}

LRESULT forwardColours(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND parent = GetParent(window);
    LRESULT brush = parent ? SendMessageW(parent, message, wParam, lParam) : 0;
    return brush ? brush : DefWindowProcW(window, message, wParam, lParam);
}

// ---- Painting ----

void drawArrow(HDC dc, const TRect& button, bool pushed, bool enabled) {
    int left = button.Left + (button.Width() - arrowWidth) / 2 + (pushed ? 1 : 0);
    int top = button.Top + (button.Height() - arrowHeight) / 2 + (pushed ? 1 : 0);
    HBRUSH brush = GetSysColorBrush(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    for (int row = 0; row < arrowHeight; ++row) {
        TRect line{left + row, top + row, left + arrowWidth - row, top + row + 1};
        FillRect(dc, &line, brush);
    }
}

void drawOwnerField(HWND window, HDC dc, const TRect& field, int selected, UINT flags) {
    DRAWITEMSTRUCT record;
    record.CtlType = ODT_COMBOBOX;
    record.CtlID = controlId(window);
    record.itemID = static_cast<UINT>(selected);
    record.itemAction = ODA_DRAWENTIRE;
    record.itemState = flags | ODS_COMBOBOXEDIT;
    record.hwndItem = window;
    record.hDC = dc;
    record.rcItem = field;
    record.itemData =
        selected >= 0 ? static_cast<ULONG_PTR>(toList(window, LB_GETITEMDATA, static_cast<WPARAM>(selected)))
                      : 0;
    HWND parent = GetParent(window);
    int saved = SaveDC(dc);
    IntersectClipRect(dc, field.Left, field.Top, field.Right, field.Bottom);
    if (parent) SendMessageW(parent, WM_DRAWITEM, record.CtlID, reinterpret_cast<LPARAM>(&record));
    RestoreDC(dc, saved);
}

void drawTextField(HWND window, HDC dc, const TRect& field, bool highlighted) {
    WideString text = shownText(window);
    if (highlighted) {
        FillRect(dc, &field, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    }
    if (!IsWindowEnabled(window)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    SetBkMode(dc, TRANSPARENT);
    TRect textRect = field;
    textRect.Left += textIndent;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (highlighted) DrawFocusRect(dc, &field);
}

void paintSelectionField(HWND window, HDC dc) {
    ComboState& state = stateOf(window);
    bool enabled = IsWindowEnabled(window);
    TRect edge{0, 0, clientRect(window).Right, selectionFieldWindowHeight(state)};
    DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    HBRUSH brush = ControlColourBrush(window, dc, enabled ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC);
    TRect field = fieldRect(window);
    TRect around{edge.Left, edge.Top, isSimple(window) ? edge.Right : buttonRect(window).Left, edge.Bottom};
    FillRect(dc, &around, brush);
    if (!state.edit) {
        bool highlighted = state.focused && !state.dropped && isDropDownList(window);
        int selected = currentSelection(window);
        if (isOwnerDrawn(window) && isDropDownList(window))
            drawOwnerField(window, dc, field, selected,
                           (highlighted ? ODS_SELECTED | ODS_FOCUS : 0) | (enabled ? 0 : ODS_DISABLED));
        else
            drawTextField(window, dc, field, highlighted);
    }
    if (isSimple(window)) return;
    TRect button = buttonRect(window);
    TRect frame = button;
    DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (state.dropped ? DFCS_PUSHED : 0));
    drawArrow(dc, button, state.dropped, enabled);
}

void paint(HWND window, HDC dc) {
    int saved = SaveDC(dc);
    SelectObject(dc, ControlFont(stateOf(window).font));
    paintSelectionField(window, dc);
    RestoreDC(dc, saved);
}

LRESULT onPaint(HWND window) {
    PAINTSTRUCT paintStruct;
    HDC dc = BeginPaint(window, &paintStruct);
    if (dc) paint(window, dc);
    EndPaint(window, &paintStruct);
    return 0;
}

// ---- Creation and sizes ----

int fontHeight(HWND window) {
    return ControlFontHeight(window, stateOf(window).font);
}

int measureSelectionField(HWND window) {
    int height = fontHeight(window) + fieldPadding;
    if (!isOwnerDrawn(window)) return height;
    MEASUREITEMSTRUCT record;
    record.CtlType = ODT_COMBOBOX;
    record.CtlID = controlId(window);
    record.itemID = static_cast<UINT>(-1);
    record.itemWidth = static_cast<UINT>(clientRect(window).Width());
    record.itemHeight = static_cast<UINT>(height);
    HWND parent = GetParent(window);
    if (parent) SendMessageW(parent, WM_MEASUREITEM, record.CtlID, reinterpret_cast<LPARAM>(&record));
    return std::clamp(static_cast<int>(record.itemHeight), 1, maximumItemHeight);
}

DWORD listStyle(DWORD comboStyle, bool simple) {
    DWORD style = (comboStyle & WS_VSCROLL) | LBS_COMBOBOX | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    style |= comboStyle & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE);
    if (comboStyle & CBS_SORT) style |= LBS_SORT;
    if (comboStyle & CBS_HASSTRINGS) style |= LBS_HASSTRINGS;
    if (comboStyle & CBS_DISABLENOSCROLL) style |= LBS_DISABLENOSCROLL;
    return style | (simple ? WS_CHILD | WS_VISIBLE : WS_POPUP | WS_BORDER);
}

DWORD editStyle(DWORD comboStyle) {
    DWORD style = WS_CHILD | WS_VISIBLE;
    if (comboStyle & CBS_AUTOHSCROLL) style |= ES_AUTOHSCROLL;
    if (comboStyle & CBS_UPPERCASE) style |= ES_UPPERCASE;
    if (comboStyle & CBS_LOWERCASE) style |= ES_LOWERCASE;
    return style;
}

void createList(HWND window, DWORD style) {
    ComboState& state = stateOf(window);
    bool simple = isSimple(window);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    state.list = CreateWindowExW(
        simple ? WS_EX_CLIENTEDGE : WS_EX_TOOLWINDOW | WS_EX_TOPMOST, u"ComboLBox", nullptr,
        listStyle(style, simple), 0, 0, 0, 0, window,
        simple ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ComboListId)) : nullptr, instance, window);
    if (state.list && !simple) SetWindowLongPtrW(state.list, GWLP_ID, ComboListId);
}

// Without the EDIT class the combo box keeps its text itself.
void createEdit(HWND window, DWORD style) {
    ComboState& state = stateOf(window);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    state.edit =
        CreateWindowExW(0, EditClassName, nullptr, editStyle(style), 0, 0, 0, 0, window,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ComboEditId)), instance, nullptr);
    if (!state.edit) return;
    state.editProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        state.edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProcFromFunction(editSubclassProcedure))));
}

// The scroll bar styles are meant for the list; the combo box itself shows none.
LRESULT onNonClientCreate(HWND window, WPARAM wParam, LPARAM lParam) {
    DWORD style = styleOf(window);
    if (style & (WS_VSCROLL | WS_HSCROLL))
        SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(style & ~(WS_VSCROLL | WS_HSCROLL)));
    return DefWindowProcW(window, WM_NCCREATE, wParam, lParam);
}

LRESULT onCreate(HWND window, LPARAM lParam) {
    ComboState& state = stateOf(window);
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    DWORD style = static_cast<DWORD>(create->style);
    state.droppedHeight = create->cy;
    state.fieldHeight = measureSelectionField(window);
    createList(window, style);
    if (!state.list) return -1;
    if (!isDropDownList(window)) createEdit(window, style);
    fitHeightToField(window);
    layOutChildren(window);
    return 0;
}

LRESULT onSetFont(HWND window, WPARAM font, LPARAM repaint) {
    ComboState& state = stateOf(window);
    state.font = reinterpret_cast<HFONT>(font);
    if (state.edit) SendMessageW(state.edit, WM_SETFONT, font, repaint);
    if (state.list) SendMessageW(state.list, WM_SETFONT, font, repaint);
    if (!isOwnerDrawn(window)) state.fieldHeight = fontHeight(window) + fieldPadding;
    fitHeightToField(window);
    layOutChildren(window);
    if (LOWORD(repaint)) redraw(window);
    return 0;
}

LRESULT setItemHeight(HWND window, WPARAM index, LPARAM height) {
    ComboState& state = stateOf(window);
    int value = LOWORD(height);
    if (value <= 0 || value > maximumItemHeight) return CB_ERR;
    if (static_cast<int>(index) != -1) return toList(window, LB_SETITEMHEIGHT, index, height);
    state.fieldHeight = value;
    fitHeightToField(window);
    layOutChildren(window);
    redraw(window);
    return 0;
}

LRESULT getItemHeight(HWND window, WPARAM index) {
    if (static_cast<int>(index) == -1) return stateOf(window).fieldHeight;
    return toList(window, LB_GETITEMHEIGHT, index);
}

LRESULT setDroppedWidth(HWND window, WPARAM width) {
    ComboState& state = stateOf(window);
    if (static_cast<int>(width) < 0) return CB_ERR;
    state.droppedWidth = static_cast<int>(width);
    TRect rect;
    GetWindowRect(window, &rect);
    return std::max(state.droppedWidth, rect.Width());
}

LRESULT getDroppedWidth(HWND window) {
    TRect rect;
    GetWindowRect(window, &rect);
    return std::max(stateOf(window).droppedWidth, rect.Width());
}

LRESULT getDroppedRect(HWND window, LPARAM lParam) {
    if (!lParam) return CB_ERR;
    TRect rect;
    GetWindowRect(window, &rect);
    ComboState& state = stateOf(window);
    *reinterpret_cast<RECT*>(lParam) = {rect.Left, rect.Top,
                                        rect.Left + std::max(state.droppedWidth, rect.Width()),
                                        rect.Top + std::max(state.droppedHeight, rect.Height())};
    return TRUE;
}

LRESULT getEditSelection(HWND window, WPARAM start, LPARAM end) {
    ComboState& state = stateOf(window);
    if (!state.edit) return CB_ERR;
    return SendMessageW(state.edit, EM_GETSEL, start, end);
}

LRESULT setEditSelection(HWND window, LPARAM range) {
    ComboState& state = stateOf(window);
    if (!state.edit) return CB_ERR;
    SendMessageW(state.edit, EM_SETSEL, static_cast<WPARAM>(static_cast<SHORT>(LOWORD(range))),
                 static_cast<SHORT>(HIWORD(range)));
    return TRUE;
}

LRESULT limitText(HWND window, WPARAM limit) {
    ComboState& state = stateOf(window);
    if (state.edit) SendMessageW(state.edit, EM_LIMITTEXT, limit, 0);
    return TRUE;
}

LRESULT fillInfo(HWND window, COMBOBOXINFO* info) {
    if (!info || info->cbSize != sizeof(COMBOBOXINFO)) return FALSE;
    ComboState& state = stateOf(window);
    info->rcItem = fieldRect(window);
    info->rcButton = buttonRect(window);
    info->stateButton =
        isSimple(window) ? STATE_SYSTEM_INVISIBLE : (state.dropped ? STATE_SYSTEM_PRESSED : 0);
    info->hwndCombo = window;
    info->hwndItem = state.edit;
    info->hwndList = state.list;
    return TRUE;
}

LRESULT setSelectionMessage(HWND window, WPARAM index) {
    LRESULT result = toList(window, LB_SETCURSEL, index);
    showSelection(window);
    return result;
}

LRESULT selectStringMessage(HWND window, WPARAM start, LPARAM text) {
    LRESULT result = toList(window, LB_SELECTSTRING, start, text);
    if (result != LB_ERR) showSelection(window);
    return result;
}

LRESULT resetContent(HWND window) {
    toList(window, LB_RESETCONTENT);
    setEditText(window, {});
    redraw(window);
    return CB_OKAY;
}

LRESULT listChangingMessage(HWND window, UINT listMessage, WPARAM wParam, LPARAM lParam) {
    LRESULT result = toList(window, listMessage, wParam, lParam);
    redraw(window);
    return result;
}

LRESULT comboMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case CB_ADDSTRING:
        return listChangingMessage(window, LB_ADDSTRING, wParam, lParam);
    case CB_INSERTSTRING:
        return listChangingMessage(window, LB_INSERTSTRING, wParam, lParam);
    case CB_DELETESTRING:
        return listChangingMessage(window, LB_DELETESTRING, wParam, lParam);
    case CB_RESETCONTENT:
        return resetContent(window);
    case CB_GETCOUNT:
        return toList(window, LB_GETCOUNT);
    case CB_GETLBTEXT:
        return toList(window, LB_GETTEXT, wParam, lParam);
    case CB_GETLBTEXTLEN:
        return toList(window, LB_GETTEXTLEN, wParam, lParam);
    case CB_FINDSTRING:
        return toList(window, LB_FINDSTRING, wParam, lParam);
    case CB_FINDSTRINGEXACT:
        return toList(window, LB_FINDSTRINGEXACT, wParam, lParam);
    case CB_SELECTSTRING:
        return selectStringMessage(window, wParam, lParam);
    case CB_SETCURSEL:
        return setSelectionMessage(window, wParam);
    case CB_GETCURSEL:
        return toList(window, LB_GETCURSEL);
    case CB_GETITEMDATA:
        return toList(window, LB_GETITEMDATA, wParam);
    case CB_SETITEMDATA:
        return toList(window, LB_SETITEMDATA, wParam, lParam);
    case CB_GETTOPINDEX:
        return toList(window, LB_GETTOPINDEX);
    case CB_SETTOPINDEX:
        return toList(window, LB_SETTOPINDEX, wParam);
    case CB_SHOWDROPDOWN:
        return showDropDown(window, wParam);
    case CB_GETDROPPEDSTATE:
        return stateOf(window).dropped ? TRUE : FALSE;
    case CB_SETITEMHEIGHT:
        return setItemHeight(window, wParam, lParam);
    case CB_GETITEMHEIGHT:
        return getItemHeight(window, wParam);
    case CB_GETEDITSEL:
        return getEditSelection(window, wParam, lParam);
    case CB_SETEDITSEL:
        return setEditSelection(window, lParam);
    case CB_LIMITTEXT:
        return limitText(window, wParam);
    case CB_SETDROPPEDWIDTH:
        return setDroppedWidth(window, wParam);
    case CB_GETDROPPEDWIDTH:
        return getDroppedWidth(window);
    case CB_GETDROPPEDCONTROLRECT:
        return getDroppedRect(window, lParam);
    case CB_SETEXTENDEDUI:
        stateOf(window).extendedInterface = wParam != 0;
        return CB_OKAY;
    case CB_GETEXTENDEDUI:
        return stateOf(window).extendedInterface ? TRUE : FALSE;
    case CB_GETCOMBOBOXINFO:
        return fillInfo(window, reinterpret_cast<COMBOBOXINFO*>(lParam));
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool isComboMessage(UINT message) {
    return message >= CB_GETEDITSEL && message <= CB_GETCOMBOBOXINFO;
}

// ---- Mouse ----

LRESULT onButtonDown(HWND window, LPARAM lParam) {
    ComboState& state = stateOf(window);
    if (state.dropped) {
        closeUp(window, false);
        return 0;
    }
    if (isSimple(window)) return 0;
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    bool onButton = contains(buttonRect(window), point);
    if (!isDropDownList(window) && !onButton) return 0;
    HWND focusTarget = state.edit ? state.edit : window;
    if (GetFocus() != focusTarget) SetFocus(focusTarget);
    dropDown(window, true);
    return 0;
}

LRESULT onWheel(HWND window, WPARAM wParam) {
    ComboState& state = stateOf(window);
    if (state.dropped) return toList(window, WM_MOUSEWHEEL, wParam);
    int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
    for (int step = 0; step < std::abs(notches); ++step)
        moveSelection(window, notches > 0 ? VK_UP : VK_DOWN);
    return 0;
}

LRESULT onKeyDown(HWND window, WPARAM wParam, LPARAM lParam) {
    if (handleListKey(window, wParam)) return 0;
    return DefWindowProcW(window, WM_KEYDOWN, wParam, lParam);
}

LRESULT onChar(HWND window, WPARAM character) {
    ComboState& state = stateOf(window);
    if (swallowsCharacter(window, character)) return 0;
    if (state.edit) return SendMessageW(state.edit, WM_CHAR, character, 0);
    toList(window, WM_CHAR, character);
    return 0;
}

LRESULT onSetFocus(HWND window) {
    ComboState& state = stateOf(window);
    if (state.edit) {
        SetFocus(state.edit);
        return 0;
    }
    enterFocus(window);
    return 0;
}

LRESULT onKillFocus(HWND window, WPARAM newFocus) {
    if (!stateOf(window).edit || !isPartOf(window, reinterpret_cast<HWND>(newFocus))) leaveFocus(window);
    return 0;
}

LRESULT onEnable(HWND window, WPARAM enabled) {
    ComboState& state = stateOf(window);
    if (!enabled) closeUp(window, false);
    if (state.edit) EnableWindow(state.edit, enabled != 0);
    if (state.list && isSimple(window)) EnableWindow(state.list, enabled != 0);
    redraw(window);
    return 0;
}

LRESULT dialogCode(HWND window) {
    return DLGC_WANTARROWS | DLGC_WANTCHARS | (stateOf(window).dropped ? DLGC_WANTMESSAGE : 0);
}

LRESULT onDestroy(HWND window) {
    ComboState& state = stateOf(window);
    if (state.list && IsWindow(state.list) && !isSimple(window)) DestroyWindow(state.list);
    state.list = nullptr;
    return 0;
}

} // namespace

LRESULT ComboBoxWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (isComboMessage(message)) return comboMessage(window, message, wParam, lParam);
    switch (message) {
    case WM_NCCREATE:
        return onNonClientCreate(window, wParam, lParam);
    case WM_CREATE:
        return onCreate(window, lParam);
    case WM_DESTROY:
        return onDestroy(window);
    case WM_NCDESTROY:
        comboStates.erase(window);
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_WINDOWPOSCHANGING:
        return onWindowPosChanging(window, wParam, lParam);
    case WM_SIZE:
        layOutChildren(window);
        redraw(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        return onPaint(window);
    case WM_PRINTCLIENT:
        paint(window, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_SETTEXT:
        return onSetText(window, lParam);
    case WM_GETTEXT:
        return onGetText(window, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(shownText(window).size());
    case WM_SETFONT:
        return onSetFont(window, wParam, lParam);
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(stateOf(window).font);
    case WM_ENABLE:
        return onEnable(window, wParam);
    case WM_SETFOCUS:
        return onSetFocus(window);
    case WM_KILLFOCUS:
        return onKillFocus(window, wParam);
    case WM_GETDLGCODE:
        return dialogCode(window);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return onButtonDown(window, lParam);
    case WM_MOUSEWHEEL:
        return onWheel(window, wParam);
    case WM_KEYDOWN:
        return onKeyDown(window, wParam, lParam);
    case WM_SYSKEYDOWN:
        if (handleSystemKey(window, wParam)) return 0;
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_CHAR:
        return onChar(window, wParam);
    case WM_COMMAND:
        return onCommand(window, wParam, lParam);
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
        return forwardOwnerDrawing(window, message, lParam);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR:
        return forwardColours(window, message, wParam, lParam);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

BOOL GetComboBoxInfo(HWND combo, COMBOBOXINFO* info) {
    return SendMessageW(combo, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(info)) ? TRUE : FALSE;
}
