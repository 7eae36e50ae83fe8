// Mouse input and capture.
#include "platform/win/Mouse.h"

#include "platform/win/BackendInterface.h"
#include "platform/win/Cursors.h"
#include "platform/win/Focus.h"
#include "platform/win/Hooks.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Messages.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <cstdlib>

namespace {

// Non-client mouse messages sit this far below their client counterparts.
constexpr UINT nonClientOffset = WM_MOUSEMOVE - WM_NCMOUSEMOVE;
constexpr DWORD defaultHoverTime = 400;

bool isButtonDown(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

bool isButtonUp(UINT message) {
    return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
}

UINT buttonKey(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        return VK_LBUTTON;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        return VK_RBUTTON;
    default:
        return VK_MBUTTON;
    }
}

LPARAM packPoint(POINT point) {
    return MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y));
}

bool isDoubleClick(const ThreadState& thread, const InputEvent& event, HWND window, bool client) {
    if (!isButtonDown(event.message) || thread.lastClickMessage != event.message ||
        thread.lastClickWindow != window)
        return false;
    if (client) {
        Window* object = FindWindowObject(window);
        if (!object || !object->windowClass || !(object->windowClass->style & CS_DBLCLKS)) return false;
    }
    DWORD elapsed = event.time - thread.lastClickTime;
    return elapsed <= GetDoubleClickTime() &&
           std::abs(event.point.x - thread.lastClickPoint.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
           std::abs(event.point.y - thread.lastClickPoint.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
}

bool resolveWheel(ThreadState& thread, InputEvent& event) {
    HWND target = thread.focus ? thread.focus : thread.active;
    if (!target) return false;
    event.msg.hwnd = target;
    event.msg.message = WM_MOUSEWHEEL;
    event.msg.wParam = MAKEWPARAM(static_cast<WORD>(MouseKeyFlags()), static_cast<WORD>(event.wParam));
    event.msg.lParam = packPoint(event.point);
    return true;
}

void sendSetCursor(const InputEvent& event) {
    SendMessageW(event.msg.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(event.msg.hwnd),
                 MAKELPARAM(static_cast<WORD>(event.hitTest), static_cast<WORD>(event.message)));
}

// WM_MOUSEACTIVATE for a click into an inactive top-level window; true when the click is eaten.
// A captured click goes straight to the capture window and activates nothing.
bool activateOnClick(ThreadState& thread, const InputEvent& event) {
    if (thread.capture) return false;
    Window* target = FindWindowObject(event.msg.hwnd);
    Window* topLevel = target ? TopLevelOf(target) : nullptr;
    if (!topLevel || thread.active == topLevel->handle || topLevel->parent != &DesktopWindowObject())
        return false;
    LRESULT answer =
        SendMessageW(event.msg.hwnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(topLevel->handle),
                     MAKELPARAM(static_cast<WORD>(event.hitTest), static_cast<WORD>(event.message)));
    if ((answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) && FindWindowObject(topLevel->handle))
        ActivateWindow(*topLevel, WA_CLICKACTIVE);
    return answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT;
}

void rememberClick(ThreadState& thread, const InputEvent& event) {
    UINT message = event.msg.message;
    bool doubled = message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK ||
                   message == WM_MBUTTONDBLCLK || message == WM_NCLBUTTONDBLCLK ||
                   message == WM_NCRBUTTONDBLCLK || message == WM_NCMBUTTONDBLCLK;
    // A double click starts a new count, so that a third click is a single one again.
    thread.lastClickMessage = doubled ? 0 : event.message;
    thread.lastClickWindow = event.msg.hwnd;
    thread.lastClickTime = event.time;
    thread.lastClickPoint = event.point;
}

void trackPointer(ThreadState& thread, const InputEvent& event) {
    HWND now = event.msg.hwnd;
    if (thread.mouseWindow != now && thread.mouseTrackWindow &&
        thread.mouseTrackWindow == thread.mouseWindow && (thread.mouseTrackFlags & TME_LEAVE)) {
        bool nonClient = thread.mouseTrackFlags & TME_NONCLIENT;
        PostMessageW(thread.mouseTrackWindow, nonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
        thread.mouseTrackWindow = nullptr;
        thread.mouseTrackFlags = 0;
    }
    thread.mouseWindow = now;
    if (thread.mouseTrackWindow == now && (thread.mouseTrackFlags & TME_HOVER))
        thread.hoverDue = event.time + thread.hoverTime;
}

void updateButtonState(ThreadState& thread, UINT message) {
    if (message == WM_MOUSEMOVE || message == WM_MOUSEWHEEL) return;
    BYTE& state = thread.keyState[buttonKey(message)];
    if (isButtonUp(message)) {
        state &= ~0x80;
    } else {
        state |= 0x80;
        state ^= 0x01;
    }
}

} // namespace

WPARAM MouseKeyFlags() {
    WPARAM flags = 0;
    if (IsAsyncKeyDown(VK_LBUTTON)) flags |= MK_LBUTTON;
    if (IsAsyncKeyDown(VK_RBUTTON)) flags |= MK_RBUTTON;
    if (IsAsyncKeyDown(VK_MBUTTON)) flags |= MK_MBUTTON;
    if (IsAsyncKeyDown(VK_SHIFT)) flags |= MK_SHIFT;
    if (IsAsyncKeyDown(VK_CONTROL)) flags |= MK_CONTROL;
    return flags;
}

bool ResolveMouseInput(ThreadState& thread, InputEvent& event) {
    event.resolved = true;
    event.msg.time = event.time;
    event.msg.pt = event.point;
    if (event.message == WM_MOUSEWHEEL) return resolveWheel(thread, event);
    HWND target = thread.capture;
    LRESULT hit = HTCLIENT;
    if (!target) {
        target = HitTestWindow(event.point, hit);
        if (!target) return false;
        Window* topLevel = TopLevelOf(FindWindowObject(target));
        if (topLevel && (topLevel->style & WS_DISABLED)) return false;
    }
    Window* window = FindWindowObject(target);
    if (!window || window->thread.get() != &thread) return false;
    event.hitTest = hit;
    event.msg.hwnd = target;
    bool client = hit == HTCLIENT;
    UINT message = event.message;
    if (isDoubleClick(thread, event, target, client)) message += WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
    if (client) {
        TPoint origin = ClientOriginOnScreen(*window);
        event.msg.message = message;
        event.msg.wParam = event.wParam;
        event.msg.lParam = packPoint({event.point.x - origin.x, event.point.y - origin.y});
    } else {
        event.msg.message = message - nonClientOffset;
        event.msg.wParam = static_cast<WPARAM>(hit);
        event.msg.lParam = packPoint(event.point);
    }
    return true;
}

bool AcceptMouseInput(ThreadState& thread, InputEvent& event, bool removing) {
    MOUSEHOOKSTRUCT details{event.point, event.msg.hwnd, static_cast<UINT>(event.hitTest), 0};
    if (RunMouseHooks(removing, event.msg.message, details)) return false;
    if (!removing) return true;
    updateButtonState(thread, event.message);
    if (event.message == WM_MOUSEWHEEL) return true;
    bool eaten = false;
    if (isButtonDown(event.message)) {
        eaten = activateOnClick(thread, event);
        rememberClick(thread, event);
    }
    if (!thread.capture && IsWindow(event.msg.hwnd)) sendSetCursor(event);
    trackPointer(thread, event);
    return !eaten && IsWindow(event.msg.hwnd);
}

HWND SetCapture(HWND handle) {
    ThreadState& thread = CurrentThread();
    HWND previous = thread.capture;
    if (handle && !WindowOrError(handle)) return nullptr;
    if (previous == handle) return previous;
    thread.capture = handle;
    if (previous && IsWindow(previous))
        SendMessageW(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(handle));
    return previous;
}

BOOL ReleaseCapture() {
    SetCapture(nullptr);
    return TRUE;
}

HWND GetCapture() {
    return CurrentThread().capture;
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* request) {
    if (!request || request->cbSize != sizeof(TRACKMOUSEEVENT)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ThreadState& thread = CurrentThread();
    if (request->dwFlags & TME_QUERY) {
        request->dwFlags = thread.mouseTrackWindow ? thread.mouseTrackFlags : 0;
        request->hwndTrack = thread.mouseTrackWindow;
        request->dwHoverTime = thread.hoverTime;
        return TRUE;
    }
    if (!WindowOrError(request->hwndTrack)) return FALSE;
    if (request->dwFlags & TME_CANCEL) {
        if (thread.mouseTrackWindow == request->hwndTrack) thread.mouseTrackFlags &= ~request->dwFlags;
        return TRUE;
    }
    if (thread.mouseWindow != request->hwndTrack) {
        // The pointer is elsewhere already: the leave is reported at once.
        if (request->dwFlags & TME_LEAVE)
            PostMessageW(request->hwndTrack,
                         (request->dwFlags & TME_NONCLIENT) ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
        return TRUE;
    }
    thread.mouseTrackWindow = request->hwndTrack;
    thread.mouseTrackFlags = request->dwFlags;
    thread.hoverTime = request->dwHoverTime == HOVER_DEFAULT ? defaultHoverTime : request->dwHoverTime;
    thread.hoverDue = CurrentMilliseconds() + thread.hoverTime;
    return TRUE;
}

void ServiceMouseHover(ThreadState& thread) {
    if (!thread.mouseTrackWindow || !(thread.mouseTrackFlags & TME_HOVER)) return;
    if (static_cast<int>(CurrentMilliseconds() - thread.hoverDue) < 0) return;
    thread.mouseTrackFlags &= ~TME_HOVER;
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(thread.mouseTrackWindow, &point);
    PostMessageW(thread.mouseTrackWindow, WM_MOUSEHOVER, MouseKeyFlags(), packPoint(point));
}

DWORD MillisecondsToMouseHover(ThreadState& thread) {
    if (!thread.mouseTrackWindow || !(thread.mouseTrackFlags & TME_HOVER)) return INFINITE;
    int remaining = static_cast<int>(thread.hoverDue - CurrentMilliseconds());
    return remaining <= 0 ? 0 : static_cast<DWORD>(remaining);
}

// ---- Input from the backend ----

namespace {

void queueMouse(UINT message, WPARAM wParam, POINT screen) {
    InputEvent event;
    event.kind = InputEvent::Kind::Mouse;
    event.message = message;
    event.wParam = wParam;
    event.point = screen;
    event.time = CurrentMilliseconds();
    QueueInput(std::move(event));
}

UINT buttonMessage(MouseButton button, bool down) {
    switch (button) {
    case MouseButton::Left:
        return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case MouseButton::Right:
        return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    default:
        return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    }
}

} // namespace

void DeliverMouseMove(POINT screen) {
    NoteCursorPosition(screen);
    queueMouse(WM_MOUSEMOVE, MouseKeyFlags(), screen);
}

void DeliverMouseButton(MouseButton button, bool down, POINT screen) {
    NoteCursorPosition(screen);
    UINT message = buttonMessage(button, down);
    SetAsyncKeyDown(buttonKey(message), down);
    queueMouse(message, MouseKeyFlags(), screen);
}

void DeliverMouseWheel(int delta, POINT screen) {
    NoteCursorPosition(screen);
    queueMouse(WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(static_cast<SHORT>(delta))), screen);
}
