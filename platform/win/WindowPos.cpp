// SetWindowPos and what is built on it.
#include "platform/win/WindowPos.h"

#include "platform/win/BackendInterface.h"
#include "platform/win/Focus.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/NonClient.h"
#include "platform/win/Painting.h"
#include "platform/win/Regions.h"
#include "platform/win/SystemInfo.h"

#include <algorithm>

namespace {

// Flags the window manager adds to WINDOWPOS for WM_WINDOWPOSCHANGED: the
// client area kept its size or its place.
constexpr UINT SWP_NOCLIENTSIZE = 0x0800;
constexpr UINT SWP_NOCLIENTMOVE = 0x1000;
// Where minimised top-level windows are parked, as Windows parks them.
constexpr int minimisedPosition = -32000;
constexpr int minimisedWidth = 160;
constexpr int minimisedHeight = 24;

bool isOnDesktop(const Window& window) {
    return IsTopLevelWindow(window) && window.parent == &DesktopWindowObject();
}

auto firstNonTopmost(std::vector<Window*>& siblings) {
    return std::find_if(siblings.begin(), siblings.end(),
                        [](const Window* sibling) { return !(sibling->exStyle & WS_EX_TOPMOST); });
}

void restack(Window& window, HWND insertAfter) {
    std::lock_guard lock(WindowTableMutex());
    auto& siblings = window.parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), &window), siblings.end());
    bool topLevel = IsTopLevelWindow(window);
    if (insertAfter == HWND_TOPMOST && topLevel)
        window.exStyle |= WS_EX_TOPMOST;
    else if ((insertAfter == HWND_NOTOPMOST || insertAfter == HWND_BOTTOM) && topLevel)
        window.exStyle &= ~WS_EX_TOPMOST;
    if (insertAfter == HWND_BOTTOM) {
        siblings.push_back(&window);
        return;
    }
    if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
        bool topmost = window.exStyle & WS_EX_TOPMOST;
        siblings.insert(topmost ? siblings.begin() : firstNonTopmost(siblings), &window);
        return;
    }
    auto after = std::find_if(siblings.begin(), siblings.end(),
                              [&](const Window* sibling) { return sibling->handle == insertAfter; });
    siblings.insert(after == siblings.end() ? siblings.end() : after + 1, &window);
}

void normaliseFlags(const Window& window, WINDOWPOS& position) {
    if ((position.flags & SWP_SHOWWINDOW) && (window.style & WS_VISIBLE)) position.flags &= ~SWP_SHOWWINDOW;
    if ((position.flags & SWP_HIDEWINDOW) && !(window.style & WS_VISIBLE)) position.flags &= ~SWP_HIDEWINDOW;
    if (position.flags & SWP_NOMOVE) {
        position.x = window.rect.Left;
        position.y = window.rect.Top;
    }
    if (position.flags & SWP_NOSIZE) {
        position.cx = window.rect.Width();
        position.cy = window.rect.Height();
    }
    position.cx = std::max(position.cx, 0);
    position.cy = std::max(position.cy, 0);
}

TRect newClientRect(Window& window, const TRect& oldRect, const TRect& newRect, WINDOWPOS& position) {
    NCCALCSIZE_PARAMS parameters;
    parameters.rgrc[0] = newRect;
    parameters.rgrc[1] = oldRect;
    parameters.rgrc[2] = OffsetRectBy(window.clientRect, oldRect.Left, oldRect.Top);
    parameters.lppos = &position;
    SendMessageW(window.handle, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&parameters));
    TRect client = OffsetRectBy(parameters.rgrc[0], -newRect.Left, -newRect.Top);
    client.Right = std::max(client.Right, client.Left);
    client.Bottom = std::max(client.Bottom, client.Top);
    return client;
}

void tellBackend(Window& window, bool geometryChanged, bool visibilityChanged) {
    if (!isOnDesktop(window)) return;
    if (geometryChanged) {
        ResizeWindowSurface(window);
        CurrentBackend().WindowMoved(window.handle, window.rect);
    }
    if (visibilityChanged) CurrentBackend().WindowShown(window.handle, window.style & WS_VISIBLE);
}

bool setWindowPos(Window& window, WINDOWPOS position) {
    HWND handle = window.handle;
    normaliseFlags(window, position);
    if (!(position.flags & SWP_NOSENDCHANGING)) {
        SendMessageW(handle, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&position));
        if (!FindWindowObject(handle)) return false;
        normaliseFlags(window, position);
    }
    bool wasShowing = IsShowing(window);
    TRect oldRect = window.rect;
    TRect oldClient = window.clientRect;
    TRect newRect{position.x, position.y, position.x + position.cx, position.y + position.cy};
    bool sized = newRect.Width() != oldRect.Width() || newRect.Height() != oldRect.Height();
    bool moved = newRect.Left != oldRect.Left || newRect.Top != oldRect.Top;
    if (wasShowing && !(position.flags & SWP_NOREDRAW) &&
        (moved || sized || (position.flags & SWP_HIDEWINDOW)))
        InvalidateWindowArea(window);
    if (!(position.flags & SWP_NOZORDER)) restack(window, position.hwndInsertAfter);
    window.rect = newRect;
    if (sized || (position.flags & SWP_FRAMECHANGED))
        window.clientRect = newClientRect(window, oldRect, newRect, position);
    if (!FindWindowObject(handle)) return false;
    if (position.flags & SWP_SHOWWINDOW) window.style |= WS_VISIBLE;
    if (position.flags & SWP_HIDEWINDOW) window.style &= ~WS_VISIBLE;
    if (!(window.style & (WS_MINIMIZE | WS_MAXIMIZE))) window.restoredRect = window.rect;
    tellBackend(window, moved || sized, position.flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW));
    bool isShowing = IsShowing(window);
    bool repaint =
        sized || (position.flags & (SWP_FRAMECHANGED | SWP_SHOWWINDOW)) || (moved && !isOnDesktop(window));
    if (isShowing && repaint && !(position.flags & SWP_NOREDRAW)) InvalidateWholeWindow(window);
    bool clientSized =
        window.clientRect.Width() != oldClient.Width() || window.clientRect.Height() != oldClient.Height();
    position.flags = clientSized ? position.flags & ~SWP_NOCLIENTSIZE : position.flags | SWP_NOCLIENTSIZE;
    bool clientMoved = newRect.Left + window.clientRect.Left != oldRect.Left + oldClient.Left ||
                       newRect.Top + window.clientRect.Top != oldRect.Top + oldClient.Top;
    position.flags = clientMoved ? position.flags & ~SWP_NOCLIENTMOVE : position.flags | SWP_NOCLIENTMOVE;
    if (position.flags & SWP_HIDEWINDOW)
        LeaveHiddenWindow(window);
    else if (isShowing && !(position.flags & SWP_NOACTIVATE) && IsTopLevelWindow(window))
        ActivateWindow(window, WA_ACTIVE);
    if (FindWindowObject(handle))
        SendMessageW(handle, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
    return true;
}

TRect workArea() {
    RECT area;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

TRect maximisedRect(const Window& window) {
    if (!IsTopLevelWindow(window))
        return window.parent->clientRect.Width() > 0
                   ? TRect{0, 0, window.parent->clientRect.Width(), window.parent->clientRect.Height()}
                   : window.rect;
    TRect area = workArea();
    TRect margins = NonClientMargins(window.style, window.exStyle);
    int frame = std::min(margins.Left, margins.Right);
    return {area.Left - frame, area.Top - frame, area.Right + frame, area.Bottom + frame};
}

UINT showFlags(bool activate) {
    return SWP_NOZORDER | SWP_SHOWWINDOW | (activate ? 0 : SWP_NOACTIVATE);
}

BOOL placeWindow(Window& window, const TRect& rect, bool show, bool activate) {
    UINT flags = SWP_FRAMECHANGED | (show ? showFlags(activate) : SWP_NOZORDER | SWP_NOACTIVATE);
    return setWindowPos(window,
                        {window.handle, nullptr, rect.Left, rect.Top, rect.Width(), rect.Height(), flags});
}

BOOL maximise(Window& window, bool activate) {
    if (!(window.style & (WS_MAXIMIZE | WS_MINIMIZE))) window.restoredRect = window.rect;
    window.style = (window.style & ~WS_MINIMIZE) | WS_MAXIMIZE;
    return placeWindow(window, maximisedRect(window), true, activate);
}

BOOL minimise(Window& window, bool activate) {
    if (!(window.style & (WS_MAXIMIZE | WS_MINIMIZE))) window.restoredRect = window.rect;
    window.style = (window.style & ~WS_MAXIMIZE) | WS_MINIMIZE;
    TRect parked{minimisedPosition, minimisedPosition, minimisedPosition + minimisedWidth,
                 minimisedPosition + minimisedHeight};
    BOOL placed = placeWindow(window, IsTopLevelWindow(window) ? parked : window.rect, true, activate);
    if (FindWindowObject(window.handle) && window.thread->active == window.handle && !activate)
        LeaveHiddenWindow(window);
    return placed;
}

BOOL restore(Window& window, bool activate) {
    if (!(window.style & (WS_MAXIMIZE | WS_MINIMIZE)))
        return setWindowPos(
            window, {window.handle, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | showFlags(activate)});
    window.style &= ~(WS_MAXIMIZE | WS_MINIMIZE);
    return placeWindow(window, window.restoredRect, true, activate);
}

void sendShowWindow(Window& window, bool show) {
    SendMessageW(window.handle, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
}

} // namespace

BOOL SetWindowPos(HWND handle, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    Window* window = WindowOrError(handle);
    if (!window || IsRootWindow(*window)) return FALSE;
    return setWindowPos(*window, {handle, insertAfter, x, y, width, height, flags}) ? TRUE : FALSE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(window, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL ShowWindow(HWND handle, int command) {
    Window* window = WindowOrError(handle);
    if (!window || IsRootWindow(*window)) return FALSE;
    bool wasVisible = window->style & WS_VISIBLE;
    bool child = window->style & WS_CHILD;
    switch (command) {
    case SW_HIDE:
        if (!wasVisible) return FALSE;
        sendShowWindow(*window, false);
        if (FindWindowObject(handle))
            setWindowPos(*window, {handle, nullptr, 0, 0, 0, 0,
                                   SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE});
        return TRUE;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
    case SW_SHOW:
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE:
        break;
    case SW_SHOWMAXIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
        break;
    default:
        SetLastError(ERROR_INVALID_SHOWWIN_COMMAND);
        return FALSE;
    }
    if (!wasVisible) {
        sendShowWindow(*window, true);
        if (!FindWindowObject(handle)) return FALSE;
    }
    bool activate = !child && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE &&
                    command != SW_SHOWMINNOACTIVE && command != SW_MINIMIZE && command != SW_FORCEMINIMIZE;
    switch (command) {
    case SW_SHOWMAXIMIZED:
        maximise(*window, !child);
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
        minimise(*window, command == SW_SHOWMINIMIZED && !child);
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
    case SW_SHOWNOACTIVATE:
        restore(*window, activate);
        break;
    default:
        setWindowPos(*window, {handle, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | showFlags(activate)});
        break;
    }
    return wasVisible ? TRUE : FALSE;
}

BOOL BringWindowToTop(HWND window) {
    return SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL IsIconic(HWND window) {
    Window* object = FindWindowObject(window);
    return object && (object->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND window) {
    Window* object = FindWindowObject(window);
    return object && (object->style & WS_MAXIMIZE) ? TRUE : FALSE;
}

BOOL GetWindowRect(HWND window, LPRECT rect) {
    Window* object = WindowOrError(window);
    if (!object || !rect) return FALSE;
    *rect = WindowRectOnScreen(*object);
    return TRUE;
}

BOOL GetClientRect(HWND window, LPRECT rect) {
    Window* object = WindowOrError(window);
    if (!object || !rect) return FALSE;
    *rect = {0, 0, object->clientRect.Width(), object->clientRect.Height()};
    return TRUE;
}

BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu) {
    return AdjustWindowRectEx(rect, style, menu, 0);
}

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle) {
    if (!rect) return FALSE;
    TRect margins = NonClientMargins(style & ~(WS_VSCROLL | WS_HSCROLL), exStyle);
    rect->Left -= margins.Left;
    rect->Top -= margins.Top + (menu ? GetSystemMetrics(SM_CYMENU) : 0);
    rect->Right += margins.Right;
    rect->Bottom += margins.Bottom;
    return TRUE;
}

int SetWindowRgn(HWND handle, HRGN region, BOOL redraw) {
    Window* window = WindowOrError(handle);
    if (!window) return 0;
    if (redraw && IsShowing(*window)) InvalidateWindowArea(*window);
    if (region) {
        window->windowRegion = RegionOfHandle(region);
        DeleteObject(region);
    } else {
        window->windowRegion.reset();
    }
    if (isOnDesktop(*window)) CurrentBackend().WindowShapeChanged(handle, window->windowRegion);
    if (redraw && IsShowing(*window)) InvalidateWholeWindow(*window);
    return 1;
}

int GetWindowRgn(HWND handle, HRGN region) {
    Window* window = WindowOrError(handle);
    if (!window || !window->windowRegion || !region) return ERROR;
    HRGN copy = CreateRegionHandle(*window->windowRegion);
    int kind = CombineRgn(region, copy, nullptr, RGN_COPY);
    DeleteObject(copy);
    return kind;
}

namespace {

bool hasTrackingLimits(const Window& window) {
    return ((window.style & WS_THICKFRAME) || !(window.style & (WS_POPUP | WS_CHILD))) &&
           !(window.style & (WS_MINIMIZE | WS_MAXIMIZE));
}

MINMAXINFO trackingLimits(Window& window) {
    MINMAXINFO info{};
    SIZE screen = CurrentBackend().ScreenSize();
    info.ptMaxSize = {screen.cx, screen.cy};
    info.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    info.ptMaxTrackSize = {screen.cx + 2 * GetSystemMetrics(SM_CXFRAME),
                           screen.cy + 2 * GetSystemMetrics(SM_CYFRAME)};
    SendMessageW(window.handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    info.ptMaxTrackSize.x = std::max(info.ptMinTrackSize.x, info.ptMaxTrackSize.x);
    info.ptMaxTrackSize.y = std::max(info.ptMinTrackSize.y, info.ptMaxTrackSize.y);
    return info;
}

} // namespace

void ApplyTrackingLimits(Window& window, WINDOWPOS& position) {
    if ((position.flags & SWP_NOSIZE) || !hasTrackingLimits(window)) return;
    const HWND handle = window.handle;
    const MINMAXINFO info = trackingLimits(window);
    position.cx = std::clamp(position.cx, info.ptMinTrackSize.x, info.ptMaxTrackSize.x);
    position.cy = std::clamp(position.cy, info.ptMinTrackSize.y, info.ptMaxTrackSize.y);
    // The desktop lets the user resize the window itself: it keeps to the
    // sizes the window last answered.
    if (FindWindowObject(handle) && isOnDesktop(window))
        CurrentBackend().WindowSizeLimits(handle, {info.ptMinTrackSize.x, info.ptMinTrackSize.y},
                                          {info.ptMaxTrackSize.x, info.ptMaxTrackSize.y});
}

void SendSizeAndMove(Window& window, const WINDOWPOS& position) {
    HWND handle = window.handle;
    if (!(position.flags & SWP_NOCLIENTMOVE)) {
        TPoint client{window.rect.Left + window.clientRect.Left, window.rect.Top + window.clientRect.Top};
        SendMessageW(handle, WM_MOVE, 0,
                     MAKELPARAM(static_cast<WORD>(client.x), static_cast<WORD>(client.y)));
    }
    Window* still = FindWindowObject(handle);
    if (!still || (position.flags & SWP_NOCLIENTSIZE)) return;
    WPARAM kind = (still->style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                  : (still->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                 : SIZE_RESTORED;
    SendMessageW(handle, WM_SIZE, kind,
                 MAKELPARAM(static_cast<WORD>(still->clientRect.Width()),
                            static_cast<WORD>(still->clientRect.Height())));
}
