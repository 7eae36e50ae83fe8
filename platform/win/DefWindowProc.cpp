// DefWindowProcA/W, one handler per message family.
#include "platform/win/DefWindowProc.h"

#include "platform/core/CodePages.h"
#include "platform/win/BackendInterface.h"
#include "platform/win/Cursors.h"
#include "platform/win/Drawing.h"
#include "platform/win/Focus.h"
#include "platform/win/Gdi.h"
#include "platform/win/Ime.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Messages.h"
#include "platform/win/Mouse.h"
#include "platform/win/NonClient.h"
#include "platform/win/Painting.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/SysColors.h"
#include "platform/win/WindowPos.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr WPARAM systemCommandMask = 0xFFF0;

// ---- Text ----

WideString textArgument(CharSet charSet, LPARAM text) {
    if (!text) return {};
    if (charSet == CharSet::Ansi) return AnsiToWide(reinterpret_cast<const char*>(text));
    return WideString(reinterpret_cast<const WCHAR*>(text));
}

LRESULT setText(Window& window, CharSet charSet, LPARAM text) {
    window.text = textArgument(charSet, text);
    if (IsTopLevelWindow(window) && window.parent == &DesktopWindowObject())
        CurrentBackend().WindowTextChanged(window.handle, window.text);
    if ((window.style & WS_CAPTION) == WS_CAPTION && IsShowing(window)) PaintNonClient(window);
    return TRUE;
}

LRESULT getText(const Window& window, CharSet charSet, WPARAM size, LPARAM buffer) {
    if (!buffer || size == 0) return 0;
    std::size_t room = size - 1;
    if (charSet == CharSet::Ansi) {
        AnsiString text = WideToAnsi(window.text);
        std::size_t copied = std::min(text.size(), room);
        std::memcpy(reinterpret_cast<char*>(buffer), text.data(), copied);
        reinterpret_cast<char*>(buffer)[copied] = 0;
        return static_cast<LRESULT>(copied);
    }
    std::size_t copied = std::min(window.text.size(), room);
    std::copy_n(window.text.data(), copied, reinterpret_cast<WCHAR*>(buffer));
    reinterpret_cast<WCHAR*>(buffer)[copied] = 0;
    return static_cast<LRESULT>(copied);
}

LRESULT textLength(const Window& window, CharSet charSet) {
    return static_cast<LRESULT>(charSet == CharSet::Ansi ? WideToAnsi(window.text).size()
                                                         : window.text.size());
}

LRESULT nonClientCreate(Window& window, CharSet charSet, LPARAM lParam) {
    if (!lParam) return TRUE;
    LPARAM name = charSet == CharSet::Ansi
                      ? reinterpret_cast<LPARAM>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpszName)
                      : reinterpret_cast<LPARAM>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpszName);
    window.text = textArgument(charSet, name);
    if (IsTopLevelWindow(window) && window.parent == &DesktopWindowObject())
        CurrentBackend().WindowTextChanged(window.handle, window.text);
    return TRUE;
}

// ---- Non-client area ----

LRESULT calculateSize(const Window& window, WPARAM calculateValidRects, LPARAM lParam) {
    if (!lParam) return 0;
    RECT* rect = calculateValidRects ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                                     : reinterpret_cast<RECT*>(lParam);
    *rect = ClientRectOfWindow(window, *rect);
    return 0;
}

LRESULT activateCaption(Window& window, WPARAM active) {
    window.captionActive = active;
    if (IsShowing(window)) PaintNonClient(window);
    return TRUE;
}

LRESULT eraseBackground(const Window& window, WPARAM dcHandle) {
    HBRUSH brush = window.windowClass ? window.windowClass->background : nullptr;
    HDC dc = reinterpret_cast<HDC>(dcHandle);
    if (!brush || !dc) return 0;
    RECT box;
    GetClipBox(dc, &box);
    FillRect(dc, &box, brush);
    return 1;
}

LRESULT paint(HWND handle) {
    PAINTSTRUCT paint;
    BeginPaint(handle, &paint);
    EndPaint(handle, &paint);
    return 0;
}

POINT pointOf(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

// Moves the window with the mouse until the button is released (SC_MOVE).
void moveWithMouse(Window& window) {
    HWND handle = window.handle;
    if (!IsAsyncKeyDown(VK_LBUTTON)) return;
    POINT start;
    GetCursorPos(&start);
    TRect original = window.rect;
    bool finished = false;
    SendMessageW(handle, WM_ENTERSIZEMOVE, 0, 0);
    SetCapture(handle);
    RunModalLoop([&] { return finished || !IsWindow(handle); },
                 [&](MSG& msg) {
                     if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
                         SetWindowPos(handle, nullptr, original.Left + msg.pt.x - start.x,
                                      original.Top + msg.pt.y - start.y, 0, 0,
                                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                         finished = msg.message == WM_LBUTTONUP;
                         return true;
                     }
                     if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
                         SetWindowPos(handle, nullptr, original.Left, original.Top, 0, 0,
                                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                         finished = true;
                         return true;
                     }
                     finished = GetCapture() != handle;
                     return false;
                 });
    if (GetCapture() == handle) ReleaseCapture();
    if (IsWindow(handle)) SendMessageW(handle, WM_EXITSIZEMOVE, 0, 0);
}

LRESULT systemCommand(Window& window, CharSet charSet, WPARAM command, LPARAM lParam) {
    HWND handle = window.handle;
    switch (command & systemCommandMask) {
    case SC_CLOSE:
        SendMessageFrom(charSet, handle, WM_CLOSE, 0, 0);
        return 0;
    case SC_MINIMIZE:
        ShowWindow(handle, SW_MINIMIZE);
        return 0;
    case SC_MAXIMIZE:
        ShowWindow(handle, SW_MAXIMIZE);
        return 0;
    case SC_RESTORE:
        ShowWindow(handle, SW_RESTORE);
        return 0;
    case SC_MOVE:
        moveWithMouse(window);
        return 0;
    case SC_KEYMENU:
    case SC_MOUSEMENU:
        if (Window* topLevel = TopLevelOf(&window)) TrackMenuBar(topLevel->handle, command, lParam);
        return 0;
    default:
        return 0;
    }
}

LRESULT nonClientButtonDown(Window& window, CharSet charSet, WPARAM hit, LPARAM lParam) {
    switch (hit) {
    case HTVSCROLL:
        TrackWindowScrollBar(window, SB_VERT, pointOf(lParam));
        return 0;
    case HTHSCROLL:
        TrackWindowScrollBar(window, SB_HORZ, pointOf(lParam));
        return 0;
    case HTCAPTION:
        return SendMessageFrom(charSet, window.handle, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
    case HTMENU:
        return SendMessageFrom(charSet, window.handle, WM_SYSCOMMAND, SC_MOUSEMENU | HTMENU, lParam);
    default:
        return 0;
    }
}

LRESULT nonClientButtonUp(Window& window, CharSet charSet, WPARAM hit, LPARAM lParam) {
    WPARAM command = 0;
    if (hit == HTCLOSE)
        command = SC_CLOSE;
    else if (hit == HTMAXBUTTON)
        command = (window.style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE;
    else if (hit == HTMINBUTTON)
        command = SC_MINIMIZE;
    if (command) SendMessageFrom(charSet, window.handle, WM_SYSCOMMAND, command, lParam);
    return 0;
}

LRESULT nonClientDoubleClick(Window& window, CharSet charSet, WPARAM hit, LPARAM lParam) {
    if (hit == HTVSCROLL || hit == HTHSCROLL) return nonClientButtonDown(window, charSet, hit, lParam);
    if (hit == HTCAPTION && (window.style & WS_MAXIMIZEBOX))
        SendMessageFrom(charSet, window.handle, WM_SYSCOMMAND,
                        (window.style & (WS_MAXIMIZE | WS_MINIMIZE)) ? SC_RESTORE : SC_MAXIMIZE, lParam);
    return 0;
}

// ---- Cursors and activation ----

HCURSOR cursorForHit(LRESULT hit) {
    switch (hit) {
    case HTLEFT:
    case HTRIGHT:
        return LoadCursorW(nullptr, IDC_SIZEWE);
    case HTTOP:
    case HTBOTTOM:
        return LoadCursorW(nullptr, IDC_SIZENS);
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
        return LoadCursorW(nullptr, IDC_SIZENWSE);
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
        return LoadCursorW(nullptr, IDC_SIZENESW);
    default:
        return LoadCursorW(nullptr, IDC_ARROW);
    }
}

HWND parentOfChild(const Window& window) {
    return (window.style & WS_CHILD) && window.parent && !IsRootWindow(*window.parent) ? window.parent->handle
                                                                                       : nullptr;
}

LRESULT setCursor(const Window& window, CharSet charSet, WPARAM wParam, LPARAM lParam) {
    if (HWND parent = parentOfChild(window))
        if (SendMessageFrom(charSet, parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
    LRESULT hit = static_cast<SHORT>(LOWORD(static_cast<UINT_PTR>(lParam)));
    if (hit == HTERROR) return FALSE;
    if (hit == HTCLIENT) {
        HCURSOR cursor = window.windowClass ? window.windowClass->cursor : nullptr;
        if (!cursor) return FALSE;
        SetCursor(cursor);
        return TRUE;
    }
    SetCursor(cursorForHit(hit));
    return TRUE;
}

LRESULT mouseActivate(const Window& window, CharSet charSet, WPARAM wParam, LPARAM lParam) {
    if (HWND parent = parentOfChild(window))
        if (LRESULT answer = SendMessageFrom(charSet, parent, WM_MOUSEACTIVATE, wParam, lParam))
            return answer;
    return MA_ACTIVATE;
}

LRESULT activate(HWND handle, WPARAM wParam) {
    if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) SetFocus(handle);
    return 0;
}

LRESULT passToParent(const Window& window, CharSet charSet, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND parent = parentOfChild(window);
    return parent ? SendMessageFrom(charSet, parent, message, wParam, lParam) : 0;
}

LRESULT contextMenuFromButton(const Window& window, CharSet charSet, UINT message, LPARAM lParam) {
    POINT screen = pointOf(lParam);
    if (message == WM_RBUTTONUP) {
        TPoint origin = ClientOriginOnScreen(window);
        screen = {screen.x + origin.x, screen.y + origin.y};
    }
    SendMessageFrom(charSet, window.handle, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window.handle),
                    MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
    return 0;
}

LRESULT controlColour(WPARAM dcHandle, UINT message) {
    HDC dc = reinterpret_cast<HDC>(dcHandle);
    int background = COLOR_3DFACE;
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX)
        background = COLOR_WINDOW;
    else if (message == WM_CTLCOLORSCROLLBAR)
        background = COLOR_SCROLLBAR;
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(background));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
}

LRESULT compositionResult(HWND handle, CharSet charSet, LPARAM flags) {
    if (!(flags & GCS_RESULTSTR)) return 0;
    WideString result = CompositionResultOf(handle);
    if (charSet == CharSet::Wide) {
        for (WCHAR unit : result)
            PostFrom(CharSet::Wide, handle, WM_IME_CHAR, unit, 1);
    } else {
        for (char byte : WideToAnsi(result))
            PostFrom(CharSet::Ansi, handle, WM_IME_CHAR, static_cast<Byte>(byte), 1);
    }
    return 0;
}

LRESULT setIcon(Window& window, WPARAM kind, LPARAM icon) {
    HICON& slot = kind == ICON_BIG ? window.bigIcon : window.smallIcon;
    return reinterpret_cast<LRESULT>(std::exchange(slot, reinterpret_cast<HICON>(icon)));
}

LRESULT systemKey(Window& window, CharSet charSet, WPARAM key, LPARAM data) {
    if (key == VK_F4 && (data & KF_ALTDOWN_BIT) && IsTopLevelWindow(window))
        SendMessageFrom(charSet, window.handle, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
}

// Alt with a character opens the menu bar at that character's item; the
// menu units compare UTF-16 characters.
LRESULT systemCharacter(Window& window, CharSet charSet, WPARAM character, LPARAM data) {
    if (!(data & KF_ALTDOWN_BIT) || character == VK_TAB || character == VK_ESCAPE || character == VK_SPACE)
        return 0;
    WideString typed = charSet == CharSet::Ansi ? AnsiToWide(AnsiString(1, static_cast<char>(character)))
                                                : WideString(1, static_cast<WCHAR>(character));
    if (typed.empty()) return 0;
    SendMessageFrom(charSet, window.handle, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(typed[0]));
    return 0;
}

// F10, or Alt pressed and released alone, selects the menu bar.
LRESULT keyReleased(Window& window, CharSet charSet, WPARAM key) {
    bool altAlone = key == VK_MENU && CurrentThread().lastKeyDown.wParam == VK_MENU;
    if (key == VK_F10 || altAlone) SendMessageFrom(charSet, window.handle, WM_SYSCOMMAND, SC_KEYMENU, 0);
    return 0;
}

LRESULT defaultFor(Window& window, CharSet charSet, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND handle = window.handle;
    switch (message) {
    case WM_NCCREATE:
        return nonClientCreate(window, charSet, lParam);
    case WM_NCCALCSIZE:
        return calculateSize(window, wParam, lParam);
    case WM_NCHITTEST:
        return NonClientHitTest(window, pointOf(lParam));
    case WM_NCPAINT:
        PaintNonClient(window);
        return 0;
    case WM_NCACTIVATE:
        return activateCaption(window, wParam);
    case WM_NCLBUTTONDOWN:
        return nonClientButtonDown(window, charSet, wParam, lParam);
    case WM_NCLBUTTONUP:
        return nonClientButtonUp(window, charSet, wParam, lParam);
    case WM_NCLBUTTONDBLCLK:
        return nonClientDoubleClick(window, charSet, wParam, lParam);
    case WM_NCRBUTTONUP:
    case WM_RBUTTONUP:
        return contextMenuFromButton(window, charSet, message, lParam);
    case WM_SETTEXT:
        return setText(window, charSet, lParam);
    case WM_GETTEXT:
        return getText(window, charSet, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return textLength(window, charSet);
    case WM_ERASEBKGND:
        return eraseBackground(window, wParam);
    case WM_PAINT:
        return paint(handle);
    case WM_CLOSE:
        DestroyWindow(handle);
        return 0;
    case WM_SYSCOMMAND:
        return systemCommand(window, charSet, wParam, lParam);
    case WM_SETCURSOR:
        return setCursor(window, charSet, wParam, lParam);
    case WM_MOUSEACTIVATE:
        return mouseActivate(window, charSet, wParam, lParam);
    case WM_ACTIVATE:
        return activate(handle, wParam);
    case WM_WINDOWPOSCHANGING:
        if (lParam) ApplyTrackingLimits(window, *reinterpret_cast<WINDOWPOS*>(lParam));
        return 0;
    case WM_WINDOWPOSCHANGED:
        if (lParam) SendSizeAndMove(window, *reinterpret_cast<const WINDOWPOS*>(lParam));
        return 0;
    case WM_CANCELMODE:
        if (GetCapture() == handle) ReleaseCapture();
        return 0;
    case WM_MOUSEWHEEL:
    case WM_CONTEXTMENU:
        return passToParent(window, charSet, message, wParam, lParam);
    case WM_SYSKEYDOWN:
        return systemKey(window, charSet, wParam, lParam);
    case WM_SYSCHAR:
        return systemCharacter(window, charSet, wParam, lParam);
    case WM_SYSKEYUP:
    case WM_KEYUP:
        return keyReleased(window, charSet, wParam);
    case WM_IME_CHAR:
        return SendMessageFrom(charSet, handle, WM_CHAR, wParam, lParam);
    case WM_IME_COMPOSITION:
        return compositionResult(handle, charSet, lParam);
    case WM_NOTIFYFORMAT:
        return window.procedure.charSet == CharSet::Wide ? NFR_UNICODE : NFR_ANSI;
    case WM_SETREDRAW:
        window.redrawDisabled = !wParam;
        return 0;
    case WM_GETICON:
        return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? window.bigIcon : window.smallIcon);
    case WM_SETICON:
        return setIcon(window, wParam, lParam);
    case WM_QUERYENDSESSION:
    case WM_QUERYOPEN:
        return TRUE;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return controlColour(wParam, message);
    default:
        return 0;
    }
}

LRESULT defWindowProc(CharSet charSet, HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = FindWindowObject(handle);
    if (!window || IsRootWindow(*window)) return 0;
    return defaultFor(*window, charSet, message, wParam, lParam);
}

} // namespace

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return defWindowProc(CharSet::Ansi, window, message, wParam, lParam);
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return defWindowProc(CharSet::Wide, window, message, wParam, lParam);
}
