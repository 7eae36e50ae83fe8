// The BUTTON class. A press with the mouse or the space bar draws the button
// pushed; releasing it over the button clicks: automatic check boxes and
// radio buttons change their state first, then the parent hears BN_CLICKED.
#include "platform/win/ButtonControl.h"

#include "platform/win/DefWindowProc.h"
#include "platform/win/DrawText.h"
#include "platform/win/Drawing.h"
#include "platform/win/Edges.h"
#include "platform/win/Focus.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/Mouse.h"
#include "platform/win/Painting.h"
#include "platform/win/StandardControls.h"
#include "platform/win/SysColors.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <memory>
#include <unordered_map>

namespace {

constexpr int checkBoxSize = 13;
constexpr int radioSize = 12;
constexpr int markToTextGap = 4;
constexpr int groupCaptionIndent = 8;
constexpr int focusInset = 3;
constexpr int pushEdgeWidth = 2;

struct ButtonState {
    LRESULT check = BST_UNCHECKED;
    bool pushed = false;
    bool focused = false;
    // A mouse press is being followed (the button holds the capture).
    bool tracking = false;
    bool spaceDown = false;
    HFONT font = nullptr;
};

thread_local std::unordered_map<HWND, std::unique_ptr<ButtonState>> buttonStates;

ButtonState& stateOf(HWND window) {
    auto& slot = buttonStates[window];
    if (!slot) slot = std::make_unique<ButtonState>();
    return *slot;
}

DWORD styleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
}

DWORD typeOf(HWND window) {
    return styleOf(window) & BS_TYPEMASK;
}

bool isCheckBox(DWORD type) {
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}

bool isRadioButton(DWORD type) {
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

bool isThreeState(DWORD type) {
    return type == BS_3STATE || type == BS_AUTO3STATE;
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

TRect inflated(const TRect& rect, int by) {
    return {rect.Left - by, rect.Top - by, rect.Right + by, rect.Bottom + by};
}

void fillSolid(HDC dc, const TRect& rect, int systemColour) {
    FillRect(dc, &rect, GetSysColorBrush(systemColour));
}

// ---- State changes ----

void redraw(HWND window) {
    InvalidateRect(window, nullptr, FALSE);
}

void setPushed(HWND window, bool pushed) {
    ButtonState& state = stateOf(window);
    if (state.pushed == pushed) return;
    state.pushed = pushed;
    redraw(window);
}

LRESULT setCheck(HWND window, WPARAM value) {
    DWORD type = typeOf(window);
    if (!isCheckBox(type) && !isRadioButton(type)) return 0;
    LRESULT check = BST_UNCHECKED;
    if (value == BST_INDETERMINATE && isThreeState(type))
        check = BST_INDETERMINATE;
    else if (value != BST_UNCHECKED)
        check = BST_CHECKED;
    // A checked radio button is the one the Tab key stops at in its group.
    if (isRadioButton(type)) {
        DWORD style = styleOf(window);
        DWORD tabbed = check ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
        if (tabbed != style) SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(tabbed));
    }
    ButtonState& state = stateOf(window);
    if (state.check != check) {
        state.check = check;
        redraw(window);
    }
    return 0;
}

bool startsGroup(HWND window) {
    return GetWindowLongW(window, GWL_STYLE) & WS_GROUP;
}

// The automatic radio buttons of the window's group (siblings from the one
// with WS_GROUP up to the next one with it) other than the window.
void uncheckGroupSiblings(HWND window) {
    HWND first = window;
    while (!startsGroup(first)) {
        HWND previous = GetWindow(first, GW_HWNDPREV);
        if (!previous) break;
        first = previous;
    }
    for (HWND sibling = first; sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        if (sibling != first && startsGroup(sibling)) break;
        if (sibling == window) continue;
        bool radio = SendMessageW(sibling, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON;
        if (radio && (GetWindowLongW(sibling, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
            SendMessageW(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

void click(HWND window) {
    DWORD type = typeOf(window);
    LRESULT check = stateOf(window).check;
    if (type == BS_AUTOCHECKBOX) {
        SendMessageW(window, BM_SETCHECK, check ? BST_UNCHECKED : BST_CHECKED, 0);
    } else if (type == BS_AUTO3STATE) {
        LRESULT next = check == BST_UNCHECKED ? BST_CHECKED
                       : check == BST_CHECKED ? BST_INDETERMINATE
                                              : BST_UNCHECKED;
        SendMessageW(window, BM_SETCHECK, static_cast<WPARAM>(next), 0);
    } else if (type == BS_AUTORADIOBUTTON) {
        uncheckGroupSiblings(window);
        SendMessageW(window, BM_SETCHECK, BST_CHECKED, 0);
    }
    NotifyParent(window, BN_CLICKED);
}

// ---- Painting ----

UINT textFormat(DWORD style, UINT defaultHorizontal, UINT defaultVertical) {
    UINT format = 0;
    switch (style & BS_CENTER) {
    case BS_LEFT:
        format |= DT_LEFT;
        break;
    case BS_RIGHT:
        format |= DT_RIGHT;
        break;
    case BS_CENTER:
        format |= DT_CENTER;
        break;
    default:
        format |= defaultHorizontal;
    }
    UINT vertical = defaultVertical;
    switch (style & BS_VCENTER) {
    case BS_TOP:
        vertical = DT_TOP;
        break;
    case BS_BOTTOM:
        vertical = DT_BOTTOM;
        break;
    case BS_VCENTER:
        vertical = DT_VCENTER;
        break;
    }
    return format | vertical | ((style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE);
}

// DrawText places several lines only at the top; they are moved down here.
TRect placeText(HDC dc, const WideString& text, TRect rect, UINT& format) {
    if (format & DT_SINGLELINE) return rect;
    TRect measured = rect;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, format | DT_CALCRECT);
    int spare = rect.Height() - measured.Height();
    if (format & DT_VCENTER) rect.Top += spare / 2;
    if (format & DT_BOTTOM) rect.Top += spare;
    format &= ~(DT_VCENTER | DT_BOTTOM);
    return rect;
}

// Draws the text in `rect` and returns the rectangle it covers.
TRect drawLabel(HWND window, HDC dc, const WideString& text, TRect rect, UINT format) {
    rect = placeText(dc, text, rect, format);
    SetBkMode(dc, TRANSPARENT);
    if (IsWindowEnabled(window))
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
    else
        DrawDisabledText(dc, text, rect, format);
    TRect covered = rect;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &covered, format | DT_CALCRECT);
    int width = covered.Width();
    int height = covered.Height();
    if (format & DT_CENTER) covered.Left = rect.Left + (rect.Width() - width) / 2;
    if (format & DT_RIGHT) covered.Left = rect.Right - width;
    if (format & DT_VCENTER) covered.Top = rect.Top + (rect.Height() - height) / 2;
    if (format & DT_BOTTOM) covered.Top = rect.Bottom - height;
    covered.Right = covered.Left + width;
    covered.Bottom = covered.Top + height;
    return covered;
}

void paintPushButton(HWND window, HDC dc, const ButtonState& state) {
    TRect rect = clientRect(window);
    fillSolid(dc, rect, COLOR_BTNFACE);
    ControlColourBrush(window, dc, WM_CTLCOLORBTN);
    bool isDefault = typeOf(window) == BS_DEFPUSHBUTTON;
    if (isDefault) {
        FrameRect(dc, &rect, GetSysColorBrush(COLOR_WINDOWFRAME));
        rect = inflated(rect, -1);
    }
    if (state.pushed && isDefault) {
        FrameRect(dc, &rect, GetSysColorBrush(COLOR_BTNSHADOW));
    } else {
        TRect frame = rect;
        DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (state.pushed ? DFCS_PUSHED : 0));
    }
    TRect textRect = inflated(rect, -pushEdgeWidth);
    if (state.pushed) textRect = OffsetRectBy(textRect, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    drawLabel(window, dc, ControlText(window), textRect, textFormat(styleOf(window), DT_CENTER, DT_VCENTER));
    if (state.focused) {
        TRect focus = inflated(rect, -focusInset);
        DrawFocusRect(dc, &focus);
    }
}

// The classic check mark, seven pixels square.
constexpr const char* checkMark[] = {
    "......X", ".....XX", "X...XXX", "XX.XXX.", "XXXXX..", ".XXX...", "..X....",
};

// The radio button's circle: outer ring 'o', inner ring 'i', inside 'w'.
constexpr const char* radioCircle[] = {
    "    oooo    ", "  ooiiiioo  ", " oiiwwwwiio ", " oiwwwwwwio ", "oiwwwwwwwwio", "oiwwwwwwwwio",
    "oiwwwwwwwwio", "oiwwwwwwwwio", " oiwwwwwwio ", " oiiwwwwiio ", "  ooiiiioo  ", "    oooo    ",
};

constexpr const char* radioDot[] = {" XX ", "XXXX", "XXXX", " XX "};
constexpr int radioDotOffset = 4;
constexpr int checkMarkOffset = 3;

template <std::size_t Rows>
void drawPattern(HDC dc, int x, int y, const char* const (&rows)[Rows], char which, COLORREF colour) {
    for (std::size_t row = 0; row < Rows; ++row)
        for (int column = 0; rows[row][column]; ++column)
            if (rows[row][column] == which) SetPixelV(dc, x + column, y + static_cast<int>(row), colour);
}

void drawCheckBoxMark(HWND window, HDC dc, const TRect& box, const ButtonState& state) {
    TRect inside = box;
    DrawEdge(dc, &inside, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    bool enabled = IsWindowEnabled(window);
    bool faceInside = state.pushed || !enabled || state.check == BST_INDETERMINATE;
    fillSolid(dc, inside, faceInside ? COLOR_BTNFACE : COLOR_WINDOW);
    if (state.check == BST_UNCHECKED) return;
    bool grey = !enabled || state.check == BST_INDETERMINATE;
    drawPattern(dc, box.Left + checkMarkOffset, box.Top + checkMarkOffset, checkMark, 'X',
                GetSysColor(grey ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT));
}

void drawRadioMark(HWND window, HDC dc, const TRect& box, const ButtonState& state) {
    bool enabled = IsWindowEnabled(window);
    for (int row = 0; row < radioSize; ++row) {
        for (int column = 0; column < radioSize; ++column) {
            char part = radioCircle[row][column];
            // The upper left half of each ring is in shadow.
            bool upperLeft = row + column < radioSize - 1;
            int colour = -1;
            if (part == 'o') colour = upperLeft ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT;
            if (part == 'i') colour = upperLeft ? COLOR_3DDKSHADOW : COLOR_3DLIGHT;
            if (part == 'w') colour = (state.pushed || !enabled) ? COLOR_BTNFACE : COLOR_WINDOW;
            if (colour >= 0) SetPixelV(dc, box.Left + column, box.Top + row, GetSysColor(colour));
        }
    }
    if (state.check)
        drawPattern(dc, box.Left + radioDotOffset, box.Top + radioDotOffset, radioDot, 'X',
                    GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_BTNSHADOW));
}

void paintCheckOrRadio(HWND window, HDC dc, const ButtonState& state, bool radio) {
    TRect rect = clientRect(window);
    FillRect(dc, &rect, ControlColourBrush(window, dc, WM_CTLCOLORSTATIC));
    DWORD style = styleOf(window);
    int size = radio ? radioSize : checkBoxSize;
    bool markRight = style & BS_LEFTTEXT;
    TRect box;
    box.Left = markRight ? rect.Right - size : rect.Left;
    box.Right = box.Left + size;
    switch (style & BS_VCENTER) {
    case BS_TOP:
        box.Top = rect.Top;
        break;
    case BS_BOTTOM:
        box.Top = rect.Bottom - size;
        break;
    default:
        box.Top = rect.Top + (rect.Height() - size) / 2;
    }
    box.Bottom = box.Top + size;
    if (radio)
        drawRadioMark(window, dc, box, state);
    else
        drawCheckBoxMark(window, dc, box, state);
    TRect textRect = rect;
    if (markRight)
        textRect.Right = box.Left - markToTextGap;
    else
        textRect.Left = box.Right + markToTextGap;
    WideString text = ControlText(window);
    TRect covered = drawLabel(window, dc, text, textRect, textFormat(style, DT_LEFT, DT_VCENTER));
    if (state.focused && !text.empty()) {
        TRect focus = IntersectRects(inflated(covered, 1), rect);
        DrawFocusRect(dc, &focus);
    }
}

void paintGroupBox(HWND window, HDC dc) {
    TRect rect = clientRect(window);
    HBRUSH brush = ControlColourBrush(window, dc, WM_CTLCOLORSTATIC);
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    TRect frame = rect;
    frame.Top += metrics.tmHeight / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    WideString text = ControlText(window);
    if (text.empty()) return;
    TRect caption{rect.Left + groupCaptionIndent, rect.Top, rect.Right - groupCaptionIndent, rect.Top};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &caption, DT_SINGLELINE | DT_CALCRECT);
    caption.Right = std::min(caption.Right, rect.Right - groupCaptionIndent);
    TRect background{caption.Left - 1, caption.Top, caption.Right + 1, caption.Bottom};
    FillRect(dc, &background, brush);
    drawLabel(window, dc, text, caption, DT_SINGLELINE | DT_LEFT | DT_TOP);
}

void paintOwnerDrawn(HWND window, HDC dc, const ButtonState& state) {
    ControlColourBrush(window, dc, WM_CTLCOLORBTN);
    DRAWITEMSTRUCT item;
    item.CtlType = ODT_BUTTON;
    item.CtlID = controlId(window);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = (state.pushed ? ODS_SELECTED : 0) | (state.focused ? ODS_FOCUS : 0) |
                     (IsWindowEnabled(window) ? 0 : ODS_DISABLED);
    item.hwndItem = window;
    item.hDC = dc;
    item.rcItem = clientRect(window);
    HWND parent = GetParent(window);
    if (parent) SendMessageW(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

void paint(HWND window, HDC dc) {
    const ButtonState& state = stateOf(window);
    int saved = SaveDC(dc);
    SelectObject(dc, ControlFont(state.font));
    DWORD type = typeOf(window);
    if (type == BS_OWNERDRAW)
        paintOwnerDrawn(window, dc, state);
    else if (type == BS_GROUPBOX)
        paintGroupBox(window, dc);
    else if (isCheckBox(type) || isRadioButton(type))
        paintCheckOrRadio(window, dc, state, isRadioButton(type));
    else
        paintPushButton(window, dc, state);
    RestoreDC(dc, saved);
}

LRESULT onPaint(HWND window) {
    PAINTSTRUCT paintStruct;
    HDC dc = BeginPaint(window, &paintStruct);
    if (dc) paint(window, dc);
    EndPaint(window, &paintStruct);
    return 0;
}

// ---- Input ----

LRESULT dialogCode(HWND window) {
    switch (typeOf(window)) {
    case BS_DEFPUSHBUTTON:
        return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_PUSHBUTTON:
    case BS_USERBUTTON:
    case BS_OWNERDRAW:
        return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX:
        return DLGC_STATIC;
    default:
        return DLGC_BUTTON;
    }
}

bool sendsDoubleClicks(HWND window) {
    DWORD type = typeOf(window);
    return isRadioButton(type) || type == BS_OWNERDRAW || type == BS_USERBUTTON ||
           (styleOf(window) & BS_NOTIFY);
}

LRESULT onButtonDown(HWND window, bool doubleClick) {
    if (typeOf(window) == BS_GROUPBOX) return 0;
    if (doubleClick && sendsDoubleClicks(window)) {
        NotifyParent(window, BN_DOUBLECLICKED);
        return 0;
    }
    SetFocus(window);
    SetCapture(window);
    stateOf(window).tracking = true;
    setPushed(window, true);
    return 0;
}

LRESULT onMouseMove(HWND window, LPARAM lParam) {
    if (!stateOf(window).tracking) return 0;
    setPushed(window, contains(clientRect(window), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
    return 0;
}

LRESULT onButtonUp(HWND window) {
    ButtonState& state = stateOf(window);
    if (!state.tracking) return 0;
    state.tracking = false;
    bool wasPushed = state.pushed;
    setPushed(window, false);
    ReleaseCapture();
    if (wasPushed) click(window);
    return 0;
}

LRESULT onCaptureChanged(HWND window) {
    ButtonState& state = stateOf(window);
    if (state.tracking) {
        state.tracking = false;
        setPushed(window, false);
    }
    return 0;
}

LRESULT onKeyDown(HWND window, WPARAM key) {
    ButtonState& state = stateOf(window);
    if (key != VK_SPACE || state.tracking || typeOf(window) == BS_GROUPBOX) return 0;
    state.spaceDown = true;
    setPushed(window, true);
    return 0;
}

LRESULT onKeyUp(HWND window, WPARAM key) {
    ButtonState& state = stateOf(window);
    if (key != VK_SPACE || !state.spaceDown) return 0;
    state.spaceDown = false;
    bool wasPushed = state.pushed;
    setPushed(window, false);
    if (wasPushed) click(window);
    return 0;
}

LRESULT onFocus(HWND window, bool gained) {
    ButtonState& state = stateOf(window);
    state.focused = gained;
    if (!gained) {
        state.spaceDown = false;
        if (state.tracking) ReleaseCapture();
        setPushed(window, false);
    }
    if (styleOf(window) & BS_NOTIFY) NotifyParent(window, gained ? BN_SETFOCUS : BN_KILLFOCUS);
    redraw(window);
    return 0;
}

LRESULT onClickMessage(HWND window) {
    if (!IsWindowEnabled(window)) return 0;
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(window, WM_LBUTTONUP, 0, 0);
    return 0;
}

LRESULT onSetStyle(HWND window, WPARAM style, LPARAM repaint) {
    DWORD current = styleOf(window);
    DWORD changed = (current & ~BS_TYPEMASK) | (static_cast<DWORD>(style) & BS_TYPEMASK);
    if (changed != current) SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(changed));
    if (repaint) redraw(window);
    return 0;
}

LRESULT buttonState(HWND window) {
    const ButtonState& state = stateOf(window);
    return state.check | (state.pushed ? BST_PUSHED : 0) | (state.focused ? BST_FOCUS : 0);
}

} // namespace

LRESULT ButtonWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCDESTROY:
        buttonStates.erase(window);
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_NCHITTEST:
        if (typeOf(window) == BS_GROUPBOX) return HTTRANSPARENT;
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_GETDLGCODE:
        return dialogCode(window);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        return onPaint(window);
    case WM_PRINTCLIENT:
        paint(window, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_SETTEXT: {
        LRESULT result = DefWindowProcW(window, message, wParam, lParam);
        redraw(window);
        return result;
    }
    case WM_ENABLE:
        redraw(window);
        return 0;
    case WM_SETFONT:
        stateOf(window).font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) redraw(window);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(stateOf(window).font);
    case WM_LBUTTONDOWN:
        return onButtonDown(window, false);
    case WM_LBUTTONDBLCLK:
        return onButtonDown(window, true);
    case WM_MOUSEMOVE:
        return onMouseMove(window, lParam);
    case WM_LBUTTONUP:
        return onButtonUp(window);
    case WM_CAPTURECHANGED:
        return onCaptureChanged(window);
    case WM_KEYDOWN:
        return onKeyDown(window, wParam);
    case WM_KEYUP:
        return onKeyUp(window, wParam);
    case WM_SETFOCUS:
        return onFocus(window, true);
    case WM_KILLFOCUS:
        return onFocus(window, false);
    case BM_GETCHECK:
        return stateOf(window).check;
    case BM_SETCHECK:
        return setCheck(window, wParam);
    case BM_GETSTATE:
        return buttonState(window);
    case BM_SETSTATE:
        setPushed(window, wParam != 0);
        return 0;
    case BM_SETSTYLE:
        return onSetStyle(window, wParam, lParam);
    case BM_CLICK:
        return onClickMessage(window);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
