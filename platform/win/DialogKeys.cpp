// IsDialogMessage and the searches it moves the focus with.
#include "platform/win/DialogKeys.h"

#include "platform/win/ButtonControl.h"
#include "platform/win/Focus.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Messages.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <vector>

namespace {

DWORD styleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
}

bool isControlParent(HWND window) {
    return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0;
}

bool canTakeFocus(HWND window) {
    return IsWindowVisible(window) && IsWindowEnabled(window);
}

std::vector<HWND> childrenOf(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// The dialog's controls in z-order, those of WS_EX_CONTROLPARENT children in their place.
void collectControls(HWND parent, std::vector<HWND>& controls) {
    for (HWND child : childrenOf(parent)) {
        controls.push_back(child);
        if (isControlParent(child) && canTakeFocus(child)) collectControls(child, controls);
    }
}

// The control of the dialog a window belongs to: an edit inside a combo box stands for the combo box.
HWND controlOf(HWND dialog, HWND window) {
    while (window) {
        HWND parent = GetParent(window);
        if (!parent || parent == dialog || isControlParent(parent)) return window;
        window = parent;
    }
    return nullptr;
}

int indexOf(const std::vector<HWND>& windows, HWND window) {
    auto found = std::find(windows.begin(), windows.end(), window);
    return found == windows.end() ? -1 : static_cast<int>(found - windows.begin());
}

// Steps from `start` (excluded) through `windows` around to `start`, returning the first that qualifies.
template <typename Qualifies>
HWND stepAround(const std::vector<HWND>& windows, int start, bool previous, Qualifies qualifies) {
    int count = static_cast<int>(windows.size());
    for (int step = 1; step <= count; ++step) {
        int index = ((start + (previous ? -step : step)) % count + count) % count;
        if (qualifies(windows[static_cast<std::size_t>(index)]))
            return windows[static_cast<std::size_t>(index)];
    }
    return nullptr;
}

LRESULT dialogCodeOf(HWND window, const MSG* msg) {
    return SendMessageW(window, WM_GETDLGCODE, msg ? msg->wParam : 0, reinterpret_cast<LPARAM>(msg));
}

// Focus that arrives by the keyboard selects the whole text of an edit.
void focusControl(HWND control) {
    SetFocus(control);
    if (dialogCodeOf(control, nullptr) & DLGC_HASSETSEL) SendMessageW(control, EM_SETSEL, 0, -1);
}

void moveWithTab(HWND dialog, HWND focus, bool previous) {
    HWND next = GetNextDlgTabItem(dialog, controlOf(dialog, focus), previous);
    if (next) focusControl(next);
}

void moveInGroup(HWND dialog, HWND focus, bool previous) {
    HWND control = controlOf(dialog, focus);
    HWND next = GetNextDlgGroupItem(dialog, control, previous);
    if (!next || next == control) return;
    focusControl(next);
    if (dialogCodeOf(next, nullptr) & DLGC_RADIOBUTTON) SendMessageW(next, BM_CLICK, 0, 0);
}

// A push button with the focus is pressed by Enter; otherwise the dialog's
// default: the id DM_GETDEFID gives, the BS_DEFPUSHBUTTON button, or IDOK.
int defaultButtonId(HWND dialog, HWND focus) {
    if (HWND control = controlOf(dialog, focus))
        if (dialogCodeOf(control, nullptr) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))
            return GetDlgCtrlID(control);
    LRESULT defaultId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    if (HIWORD(static_cast<UINT_PTR>(defaultId)) == DC_HASDEFID)
        return LOWORD(static_cast<UINT_PTR>(defaultId));
    std::vector<HWND> controls;
    collectControls(dialog, controls);
    for (HWND control : controls)
        if (dialogCodeOf(control, nullptr) & DLGC_DEFPUSHBUTTON) return GetDlgCtrlID(control);
    return IDOK;
}

// The dialog hears of the button as if it had been clicked; a disabled button does nothing.
void pressButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (button && !IsWindowEnabled(button)) {
        MessageBeep(MB_OK);
        return;
    }
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

bool isArrowKey(WPARAM key) {
    return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}

// Returns whether the key was taken by the dialog manager.
bool handleKeyDown(HWND dialog, const MSG& msg) {
    WPARAM key = msg.wParam;
    if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE && !isArrowKey(key)) return false;
    LRESULT code = dialogCodeOf(msg.hwnd, &msg);
    if (code & DLGC_WANTALLKEYS) return false;
    switch (key) {
    case VK_TAB:
        if (code & DLGC_WANTTAB) return false;
        moveWithTab(dialog, msg.hwnd, GetKeyState(VK_SHIFT) < 0);
        return true;
    case VK_RETURN:
        pressButton(dialog, defaultButtonId(dialog, msg.hwnd));
        return true;
    case VK_ESCAPE:
        pressButton(dialog, IDCANCEL);
        return true;
    default:
        if (code & DLGC_WANTARROWS) return false;
        moveInGroup(dialog, msg.hwnd, key == VK_LEFT || key == VK_UP);
        return true;
    }
}

BOOL isDialogMessage(HWND dialog, LPMSG msg, LRESULT (*dispatch)(const MSG*)) {
    if (!dialog || !msg || !IsWindow(dialog)) return FALSE;
    if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) return FALSE;
    if (msg->message == WM_KEYDOWN && handleKeyDown(dialog, *msg)) return TRUE;
    TranslateMessage(msg);
    dispatch(msg);
    return TRUE;
}

} // namespace

BOOL IsDialogMessageA(HWND dialog, LPMSG msg) {
    return isDialogMessage(dialog, msg, DispatchMessageA);
}

BOOL IsDialogMessageW(HWND dialog, LPMSG msg) {
    return isDialogMessage(dialog, msg, DispatchMessageW);
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    std::vector<HWND> controls;
    collectControls(dialog, controls);
    if (controls.empty()) return control;
    int start = indexOf(controls, control);
    if (start < 0) start = previous ? 0 : static_cast<int>(controls.size()) - 1;
    HWND next = stepAround(controls, start, previous, [](HWND candidate) {
        return (styleOf(candidate) & WS_TABSTOP) && canTakeFocus(candidate);
    });
    return next ? next : control;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
    HWND parent = control ? GetParent(control) : dialog;
    std::vector<HWND> siblings = childrenOf(parent);
    if (siblings.empty()) return control;
    int index = std::max(indexOf(siblings, control), 0);
    int first = index, last = index + 1;
    while (first > 0 && !(styleOf(siblings[static_cast<std::size_t>(first)]) & WS_GROUP))
        --first;
    while (last < static_cast<int>(siblings.size()) &&
           !(styleOf(siblings[static_cast<std::size_t>(last)]) & WS_GROUP))
        ++last;
    std::vector<HWND> group(siblings.begin() + first, siblings.begin() + last);
    HWND next = stepAround(group, index - first, previous, canTakeFocus);
    return next ? next : control;
}

HWND GetDlgItem(HWND dialog, int id) {
    for (HWND child : childrenOf(dialog))
        if (GetDlgCtrlID(child) == id) return child;
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

int GetDlgCtrlID(HWND window) {
    return static_cast<int>(GetWindowLongPtrW(window, GWLP_ID));
}
