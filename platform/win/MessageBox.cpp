// The message box window, its buttons and its modal loop, in the classic
// look: the message font, a 32-pixel icon, buttons of 75 x 23 pixels.
#include "platform/win/MessageBox.h"

#include "platform/core/CodePages.h"
#include "platform/win/BackendInterface.h"
#include "platform/win/Cursors.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/DialogKeys.h"
#include "platform/win/DrawText.h"
#include "platform/win/Drawing.h"
#include "platform/win/Edges.h"
#include "platform/win/Focus.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Messages.h"
#include "platform/win/Mouse.h"
#include "platform/win/Painting.h"
#include "platform/win/ResourceImages.h"
#include "platform/win/StandardControls.h"
#include "platform/win/SysColors.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowProcedures.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <iostream>

namespace {

constexpr int margin = 11;
constexpr int iconSize = 32;
constexpr int iconGap = 12;
constexpr int buttonWidth = 75;
constexpr int buttonHeight = 23;
constexpr int buttonGap = 6;
constexpr int textToButtons = 14;
constexpr int focusInset = 4;
constexpr int minimumTextWidth = 40;
const WCHAR* const defaultCaption = u"Error";
// The id the system's boxes give the control that shows the message.
constexpr int textControlId = 0xFFFF;

struct ButtonSpec {
    int id;
    const WCHAR* text;
};

std::vector<ButtonSpec> buttonsFor(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{IDOK, u"OK"}, {IDCANCEL, u"Cancel"}};
    case MB_ABORTRETRYIGNORE:
        return {{IDABORT, u"&Abort"}, {IDRETRY, u"&Retry"}, {IDIGNORE, u"&Ignore"}};
    case MB_YESNOCANCEL:
        return {{IDYES, u"&Yes"}, {IDNO, u"&No"}, {IDCANCEL, u"Cancel"}};
    case MB_YESNO:
        return {{IDYES, u"&Yes"}, {IDNO, u"&No"}};
    case MB_RETRYCANCEL:
        return {{IDRETRY, u"&Retry"}, {IDCANCEL, u"Cancel"}};
    case MB_CANCELTRYCONTINUE:
        return {{IDCANCEL, u"Cancel"}, {IDTRYAGAIN, u"&Try Again"}, {IDCONTINUE, u"&Continue"}};
    default:
        return {{IDOK, u"OK"}};
    }
}

// What the box knows while it is up; the box window points at it.
struct BoxState {
    UINT type = 0;
    WideString text;
    std::vector<HWND> buttons;
    HWND defaultButton = nullptr;
    // The answer of Esc and the close box; 0 when the box has no cancel.
    int cancelId = 0;
    int result = 0;
};

HFONT messageFont() {
    static HFONT font = [] {
        NONCLIENTMETRICSW metrics;
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        return CreateFontIndirectW(&metrics.lfMessageFont);
    }();
    return font;
}

BoxState* stateOf(HWND box) {
    return reinterpret_cast<BoxState*>(GetWindowLongPtrW(box, GWLP_USERDATA));
}

// ---- Icons ----

void drawIcon(HDC dc, UINT type, const TRect& box) {
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        DrawStockIcon(dc, IDI_HAND.id, box);
        break;
    case MB_ICONQUESTION:
        DrawStockIcon(dc, IDI_QUESTION.id, box);
        break;
    case MB_ICONEXCLAMATION:
        DrawStockIcon(dc, IDI_EXCLAMATION.id, box);
        break;
    case MB_ICONASTERISK:
        DrawStockIcon(dc, IDI_ASTERISK.id, box);
        break;
    default:
        break;
    }
}

bool hasIcon(UINT type) {
    return (type & MB_ICONMASK) != 0;
}

// ---- Buttons ----

// A button keeps whether it is drawn pushed and whether it tracks the mouse in its user data.
constexpr LONG_PTR pushedFlag = 1;
constexpr LONG_PTR trackingFlag = 2;

bool hasFlag(HWND button, LONG_PTR flag) {
    return GetWindowLongPtrW(button, GWLP_USERDATA) & flag;
}

void setFlags(HWND button, LONG_PTR flags) {
    SetWindowLongPtrW(button, GWLP_USERDATA, flags);
    InvalidateRect(button, nullptr, FALSE);
}

void paintButton(HWND button) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(button, &paint);
    RECT face;
    GetClientRect(button, &face);
    HWND box = GetParent(button);
    BoxState* state = stateOf(box);
    bool isDefault = state && state->defaultButton == button;
    bool focused = GetFocus() == button;
    if (isDefault || focused) {
        FrameRect(dc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
        face = {face.Left + 1, face.Top + 1, face.Right - 1, face.Bottom - 1};
    }
    bool pressed = hasFlag(button, pushedFlag);
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    WCHAR text[64] = {};
    GetWindowTextW(button, text, 64);
    RECT label = pressed ? OffsetRectBy(face, 1, 1) : TRect(face);
    HGDIOBJ previousFont = SelectObject(dc, messageFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextW(dc, text, -1, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, previousFont);
    if (focused) {
        RECT focus{face.Left + focusInset - 1, face.Top + focusInset - 1, face.Right - focusInset + 1,
                   face.Bottom - focusInset + 1};
        DrawFocusRect(dc, &focus);
    }
    EndPaint(button, &paint);
}

bool pointerInside(HWND button, LPARAM lParam) {
    RECT client;
    GetClientRect(button, &client);
    return RectContains(client, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

void press(HWND button) {
    SendMessageW(GetParent(button), WM_COMMAND,
                 MAKEWPARAM(static_cast<WORD>(GetWindowLongPtrW(button, GWLP_ID)), 0),
                 reinterpret_cast<LPARAM>(button));
}

LRESULT buttonProcedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        paintButton(button);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(button, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        setFlags(button, pushedFlag | trackingFlag);
        SetCapture(button);
        SetFocus(button);
        return 0;
    case WM_MOUSEMOVE:
        if (hasFlag(button, trackingFlag) && hasFlag(button, pushedFlag) != pointerInside(button, lParam))
            setFlags(button, trackingFlag | (pointerInside(button, lParam) ? pushedFlag : 0));
        return 0;
    case WM_LBUTTONUP: {
        bool clicked = hasFlag(button, trackingFlag) && pointerInside(button, lParam);
        setFlags(button, 0);
        ReleaseCapture();
        if (clicked) press(button);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (hasFlag(button, trackingFlag)) setFlags(button, 0);
        return 0;
    default:
        return DefWindowProcW(button, message, wParam, lParam);
    }
}

// ---- The box ----

void paintBox(HWND box) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(box, &paint);
    if (BoxState* state = stateOf(box); state && hasIcon(state->type))
        drawIcon(dc, state->type, {margin, margin, margin + iconSize, margin + iconSize});
    EndPaint(box, &paint);
}

// The message, in a child window of its own as the system's boxes hold it.
// Like a static control it fills its whole client area in the colours the
// box answers to WM_CTLCOLORSTATIC: the box clips its children, so nothing
// else paints beneath the text.
LRESULT textProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    int length = GetWindowTextLengthW(window);
    WideString text(static_cast<std::size_t>(length) + 1, 0);
    GetWindowTextW(window, text.data(), length + 1);
    RECT area;
    GetClientRect(window, &area);
    FillRect(dc, &area, ControlColourBrush(window, dc, WM_CTLCOLORSTATIC));
    HGDIOBJ previousFont = SelectObject(dc, messageFont());
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text.c_str(), length, &area, DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    SelectObject(dc, previousFont);
    EndPaint(window, &paint);
    return 0;
}

LRESULT boxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    BoxState* state = stateOf(box);
    switch (message) {
    case WM_PAINT:
        paintBox(box);
        return 0;
    case WM_COMMAND:
        if (state && LOWORD(wParam)) state->result = LOWORD(wParam);
        return 0;
    case WM_CLOSE:
        if (state && state->cancelId) state->result = state->cancelId;
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && state && state->defaultButton) SetFocus(state->defaultButton);
        return 0;
    default:
        return DefWindowProcW(box, message, wParam, lParam);
    }
}

void registerClasses() {
    static bool registered = [] {
        WNDCLASSEXW box;
        box.style = CS_SAVEBITS;
        box.lpfnWndProc = WindowProcFromFunction(boxProcedure);
        box.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        box.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(COLOR_3DFACE + 1));
        box.lpszClassName = MessageBoxClassName;
        RegisterSystemClassW(&box);
        WNDCLASSEXW button;
        button.style = CS_DBLCLKS;
        button.lpfnWndProc = WindowProcFromFunction(buttonProcedure);
        button.hCursor = box.hCursor;
        button.lpszClassName = MessageBoxButtonClassName;
        RegisterSystemClassW(&button);
        WNDCLASSEXW text;
        text.lpfnWndProc = WindowProcFromFunction(textProcedure);
        text.hCursor = box.hCursor;
        text.lpszClassName = MessageBoxTextClassName;
        RegisterSystemClassW(&text);
        return true;
    }();
    (void)registered;
}

TRect measureText(const WideString& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, messageFont());
    SIZE screen = ScreenSize();
    RECT rect{0, 0, std::max<int>(screen.cx * 5 / 8, minimumTextWidth), 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return rect;
}

TRect placeBox(HWND owner, SIZE client, DWORD style, DWORD exStyle) {
    RECT frame{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    RECT around;
    if (!owner || !GetWindowRect(owner, &around) || IsIconic(owner)) {
        SIZE screen = ScreenSize();
        around = {0, 0, screen.cx, screen.cy};
    }
    // Centred over the owner, but kept on the work area as far as it fits.
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int left = std::max(
        std::min((around.Left + around.Right - frame.Width()) / 2, work.Right - frame.Width()), work.Left);
    int top = std::max(
        std::min((around.Top + around.Bottom - frame.Height()) / 2, work.Bottom - frame.Height()), work.Top);
    return {left, top, left + frame.Width(), top + frame.Height()};
}

HWND createBox(HWND owner, BoxState& state, const WideString& caption) {
    TRect text = measureText(state.text);
    std::vector<ButtonSpec> buttons = buttonsFor(state.type);
    int textLeft = margin + (hasIcon(state.type) ? iconSize + iconGap : 0);
    int bodyHeight = std::max(text.Height(), hasIcon(state.type) ? iconSize : 0);
    int rowWidth =
        static_cast<int>(buttons.size()) * buttonWidth + static_cast<int>(buttons.size() - 1) * buttonGap;
    int width = std::max(textLeft + text.Width() + margin, rowWidth + 2 * margin);
    int height = margin + bodyHeight + textToButtons + buttonHeight + margin;
    int textTop = margin + (bodyHeight - text.Height()) / 2;

    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    DWORD exStyle = WS_EX_DLGMODALFRAME | ((state.type & (MB_TOPMOST | MB_SYSTEMMODAL)) ? WS_EX_TOPMOST : 0);
    TRect place = placeBox(owner, {width, height}, style, exStyle);
    HWND box = CreateWindowExW(exStyle, MessageBoxClassName, caption.c_str(), style, place.Left, place.Top,
                               place.Width(), place.Height(), owner, nullptr, nullptr, nullptr);
    if (!box) return nullptr;
    SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    CreateWindowExW(0, MessageBoxTextClassName, state.text.c_str(), WS_CHILD | WS_VISIBLE, textLeft, textTop,
                    text.Width(), text.Height(), box,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(textControlId)), nullptr, nullptr);
    int left = (width - rowWidth) / 2, top = height - margin - buttonHeight;
    for (const ButtonSpec& spec : buttons) {
        HWND button =
            CreateWindowExW(0, MessageBoxButtonClassName, spec.text, WS_CHILD | WS_VISIBLE | WS_TABSTOP, left,
                            top, buttonWidth, buttonHeight, box,
                            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(spec.id)), nullptr, nullptr);
        state.buttons.push_back(button);
        left += buttonWidth + buttonGap;
    }
    std::size_t defaultIndex = ((state.type & MB_DEFMASK) >> 8);
    state.defaultButton = state.buttons[defaultIndex < state.buttons.size() ? defaultIndex : 0];
    return box;
}

int cancelIdFor(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OK:
        return IDOK;
    case MB_YESNO:
    case MB_ABORTRETRYIGNORE:
        return 0;
    default:
        return IDCANCEL;
    }
}

// ---- Keyboard ----

WCHAR mnemonicOf(HWND button) {
    WCHAR text[64] = {};
    GetWindowTextW(button, text, 64);
    WideString label(text);
    auto ampersand = label.find(u'&');
    WCHAR letter = ampersand != WideString::npos && ampersand + 1 < label.size()
                       ? label[ampersand + 1]
                       : (label.empty() ? 0 : label[0]);
    return WideCharUpper(letter);
}

void moveFocus(BoxState& state, int step) {
    auto current = std::find(state.buttons.begin(), state.buttons.end(), GetFocus());
    std::ptrdiff_t index = current == state.buttons.end() ? 0 : current - state.buttons.begin();
    std::ptrdiff_t count = static_cast<std::ptrdiff_t>(state.buttons.size());
    SetFocus(state.buttons[static_cast<std::size_t>(((index + step) % count + count) % count)]);
}

HWND focusedButton(const BoxState& state) {
    HWND focus = GetFocus();
    bool ours = std::find(state.buttons.begin(), state.buttons.end(), focus) != state.buttons.end();
    return ours ? focus : state.defaultButton;
}

bool handleKey(HWND box, BoxState& state, const MSG& msg) {
    if (msg.hwnd != box && GetParent(msg.hwnd) != box) return false;
    if (msg.message == WM_KEYDOWN) {
        switch (msg.wParam) {
        case VK_RETURN:
        case VK_SPACE:
            press(focusedButton(state));
            return true;
        case VK_ESCAPE:
            if (state.cancelId) state.result = state.cancelId;
            return true;
        case VK_TAB:
            moveFocus(state, (GetKeyState(VK_SHIFT) < 0) ? -1 : 1);
            return true;
        case VK_LEFT:
        case VK_UP:
            moveFocus(state, -1);
            return true;
        case VK_RIGHT:
        case VK_DOWN:
            moveFocus(state, 1);
            return true;
        default:
            TranslateMessage(&msg);
            return true;
        }
    }
    if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) {
        for (HWND button : state.buttons)
            if (mnemonicOf(button) == WideCharUpper(static_cast<WCHAR>(msg.wParam))) press(button);
        return true;
    }
    return false;
}

// ---- Modality ----

std::vector<HWND> windowsToDisable(HWND owner, UINT type) {
    std::vector<HWND> windows;
    if (type & MB_TASKMODAL) {
        for (HWND each = GetTopWindow(nullptr); each; each = GetWindow(each, GW_HWNDNEXT))
            if (GetWindowThreadProcessId(each, nullptr) == GetCurrentThreadId() && IsWindowEnabled(each))
                windows.push_back(each);
    } else if (owner && IsWindowEnabled(owner)) {
        windows.push_back(owner);
    }
    return windows;
}

// Counts the times running the box found its queue empty. A timer's tick is
// no answer: a program's periodic timer must not keep an unanswered box up.
bool nobodyAnswers(int& quietWaits) {
    if (GetQueueStatus(QS_ALLINPUT & ~QS_TIMER) != 0) {
        quietWaits = 0;
        return false;
    }
    return !CurrentBackend().AnswerMayCome(quietWaits++);
}

// Where nobody can answer, waiting would hang the program (a test that did
// not expect the box): the default button answers, and stderr tells why.
void takeDefaultUnanswered(BoxState& state, const WideString& caption) {
    state.result = GetDlgCtrlID(state.defaultButton);
    std::cerr << "Message box \"" << UTF8Encode(caption) << "\" shown with nobody to answer it, answered "
              << state.result << ": " << UTF8Encode(state.text) << std::endl;
}

int runBox(HWND owner, const WideString& text, const WideString& caption, UINT type) {
    registerClasses();
    if (owner && !IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    HWND ownerTop = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    HWND previousActive = GetActiveWindow();
    if (previousActive) SendMessageW(previousActive, WM_CANCELMODE, 0, 0);
    BoxState state;
    state.type = type;
    state.text = text;
    state.cancelId = cancelIdFor(type);
    std::vector<HWND> disabled = windowsToDisable(ownerTop, type);
    HWND box = createBox(ownerTop, state, caption);
    if (!box) return 0;
    for (HWND each : disabled)
        EnableWindow(each, FALSE);
    ShowWindow(box, SW_SHOW);
    SetFocus(state.defaultButton);
    int quietWaits = 0;
    RunModalLoop(
        [&] {
            if (state.result == 0 && nobodyAnswers(quietWaits)) takeDefaultUnanswered(state, caption);
            return state.result != 0 || !IsWindow(box);
        },
        [&](MSG& msg) { return handleKey(box, state, msg); });
    for (HWND each : disabled)
        if (IsWindow(each)) EnableWindow(each, TRUE);
    if (IsWindow(box)) {
        SetWindowLongPtrW(box, GWLP_USERDATA, 0);
        DestroyWindow(box);
    }
    if (previousActive && IsWindow(previousActive)) SetActiveWindow(previousActive);
    return state.result ? state.result : state.cancelId;
}

} // namespace

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    return runBox(owner, text ? WideString(text) : WideString(),
                  caption ? WideString(caption) : defaultCaption, type);
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    return runBox(owner, text ? AnsiToWide(text) : WideString(),
                  caption ? AnsiToWide(caption) : defaultCaption, type);
}
