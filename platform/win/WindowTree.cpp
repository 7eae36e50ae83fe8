// Relations, searches, coordinates and hit testing.
#include "platform/win/WindowTree.h"

#include "platform/core/CodePages.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <functional>

namespace {

Window* rootFor(HWND parent) {
    if (!parent) return &DesktopWindowObject();
    if (parent == HWND_MESSAGE) return &MessageRootObject();
    return WindowOrError(parent);
}

bool textMatches(const WideString& text, const WideString* wanted) {
    return !wanted || text == *wanted;
}

bool classMatches(const Window& window, const WideString* wantedName, ATOM wantedAtom) {
    if (wantedAtom) return window.windowClass && window.windowClass->atom == wantedAtom;
    if (!wantedName) return true;
    if (!window.windowClass || window.windowClass->name.size() != wantedName->size()) return false;
    for (std::size_t i = 0; i < wantedName->size(); ++i)
        if (WideCharUpper(window.windowClass->name[i]) != WideCharUpper((*wantedName)[i])) return false;
    return true;
}

HWND findChild(HWND parent, HWND childAfter, const WideString* className, ATOM classAtom,
               const WideString* windowName) {
    Window* root = rootFor(parent);
    if (!root) return nullptr;
    std::vector<Window*> children = root->children;
    auto start = children.begin();
    if (childAfter) {
        start = std::find_if(children.begin(), children.end(),
                             [&](const Window* child) { return child->handle == childAfter; });
        if (start == children.end()) return nullptr;
        ++start;
    }
    for (auto each = start; each != children.end(); ++each)
        if (classMatches(**each, className, classAtom) && textMatches((*each)->text, windowName))
            return (*each)->handle;
    return nullptr;
}

template <typename Char>
HWND findWindowEx(HWND parent, HWND childAfter, const Char* className, const Char* windowName) {
    WideString wantedClass, wantedName;
    ATOM atom = 0;
    if (className && IS_INTRESOURCE(className))
        atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(className));
    else if (className)
        wantedClass = sizeof(Char) == 1 ? AnsiToWide(reinterpret_cast<const char*>(className))
                                        : WideString(reinterpret_cast<const WCHAR*>(className));
    if (windowName)
        wantedName = sizeof(Char) == 1 ? AnsiToWide(reinterpret_cast<const char*>(windowName))
                                       : WideString(reinterpret_cast<const WCHAR*>(windowName));
    return findChild(parent, childAfter, className && !atom ? &wantedClass : nullptr, atom,
                     windowName ? &wantedName : nullptr);
}

void collectDescendants(const Window& window, std::vector<HWND>& found) {
    for (const Window* child : window.children) {
        found.push_back(child->handle);
        collectDescendants(*child, found);
    }
}

BOOL enumerate(const std::vector<HWND>& windows, WNDENUMPROC callback, LPARAM lParam) {
    if (!callback) return FALSE;
    for (HWND window : windows)
        if (IsWindow(window) && !callback(window, lParam)) return FALSE;
    return TRUE;
}

bool takesInput(const Window& window) {
    return (window.style & WS_VISIBLE) && !((window.style & WS_DISABLED) && (window.style & WS_CHILD));
}

bool regionContains(const Window& window, POINT screen) {
    TRect rect = WindowRectOnScreen(window);
    if (!RectContains(rect, screen)) return false;
    return !window.windowRegion || window.windowRegion->Contains(screen.x - rect.Left, screen.y - rect.Top);
}

// The deepest child under the point, starting from a top-level window.
Window* deepestChild(Window& window, POINT screen, const std::vector<const Window*>& skipped) {
    if (!RectContains(ClientRectOnScreen(window), screen)) return &window;
    for (Window* child : window.children)
        if (takesInput(*child) && regionContains(*child, screen) &&
            std::find(skipped.begin(), skipped.end(), child) == skipped.end())
            return deepestChild(*child, screen, skipped);
    return &window;
}

} // namespace

HWND GetWindow(HWND handle, UINT relation) {
    Window* window = WindowOrError(handle);
    if (!window) return nullptr;
    if (relation == GW_OWNER) return window->owner ? window->owner->handle : nullptr;
    if (relation == GW_CHILD) return window->children.empty() ? nullptr : window->children.front()->handle;
    if (relation == GW_ENABLEDPOPUP) {
        for (Window* other : DesktopWindowObject().children)
            if (other->owner == window && (other->style & WS_VISIBLE) && !(other->style & WS_DISABLED))
                return other->handle;
        return nullptr;
    }
    if (!window->parent) return nullptr;
    const auto& siblings = window->parent->children;
    auto position = std::find(siblings.begin(), siblings.end(), window);
    switch (relation) {
    case GW_HWNDFIRST:
        return siblings.front()->handle;
    case GW_HWNDLAST:
        return siblings.back()->handle;
    case GW_HWNDNEXT:
        return position + 1 < siblings.end() ? (*(position + 1))->handle : nullptr;
    case GW_HWNDPREV:
        return position != siblings.begin() ? (*(position - 1))->handle : nullptr;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

HWND GetNextWindow(HWND window, UINT direction) {
    return GetWindow(window, direction);
}

HWND GetTopWindow(HWND handle) {
    Window* window = handle ? WindowOrError(handle) : &DesktopWindowObject();
    return window && !window->children.empty() ? window->children.front()->handle : nullptr;
}

HWND GetAncestor(HWND handle, UINT flags) {
    Window* window = WindowOrError(handle);
    if (!window || IsRootWindow(*window)) return nullptr;
    switch (flags) {
    case GA_PARENT:
        return window->parent == &MessageRootObject() ? nullptr : window->parent->handle;
    case GA_ROOT: {
        Window* topLevel = TopLevelOf(window);
        return topLevel ? topLevel->handle : nullptr;
    }
    case GA_ROOTOWNER: {
        Window* step = TopLevelOf(window);
        while (step && step->owner)
            step = step->owner;
        return step ? step->handle : nullptr;
    }
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

HWND FindWindowA(LPCSTR className, LPCSTR windowName) {
    return findWindowEx<char>(nullptr, nullptr, className, windowName);
}
HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) {
    return findWindowEx<WCHAR>(nullptr, nullptr, className, windowName);
}
HWND FindWindowExA(HWND parent, HWND childAfter, LPCSTR className, LPCSTR windowName) {
    return findWindowEx<char>(parent, childAfter, className, windowName);
}
HWND FindWindowExW(HWND parent, HWND childAfter, LPCWSTR className, LPCWSTR windowName) {
    return findWindowEx<WCHAR>(parent, childAfter, className, windowName);
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM lParam) {
    Window* root = rootFor(parent);
    if (!root) return FALSE;
    std::vector<HWND> found;
    collectDescendants(*root, found);
    return enumerate(found, callback, lParam);
}

BOOL EnumWindows(WNDENUMPROC callback, LPARAM lParam) {
    std::vector<HWND> found;
    for (Window* topLevel : DesktopWindowObject().children)
        found.push_back(topLevel->handle);
    return enumerate(found, callback, lParam);
}

BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC callback, LPARAM lParam) {
    std::vector<HWND> found;
    for (Window* topLevel : DesktopWindowObject().children)
        if (topLevel->thread && topLevel->thread->id == threadId) found.push_back(topLevel->handle);
    return enumerate(found, callback, lParam);
}

BOOL ClientToScreen(HWND handle, LPPOINT point) {
    Window* window = WindowOrError(handle);
    if (!window || !point) return FALSE;
    TPoint origin = ClientOriginOnScreen(*window);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL ScreenToClient(HWND handle, LPPOINT point) {
    Window* window = WindowOrError(handle);
    if (!window || !point) return FALSE;
    TPoint origin = ClientOriginOnScreen(*window);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    TPoint fromOrigin, toOrigin;
    if (from) {
        Window* window = WindowOrError(from);
        if (!window) return 0;
        fromOrigin = ClientOriginOnScreen(*window);
    }
    if (to) {
        Window* window = WindowOrError(to);
        if (!window) return 0;
        toOrigin = ClientOriginOnScreen(*window);
    }
    int dx = fromOrigin.x - toOrigin.x, dy = fromOrigin.y - toOrigin.y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    SetLastError(0);
    return static_cast<int>(MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy)));
}

HWND HitTestWindow(POINT screen, LRESULT& hit) {
    std::vector<const Window*> skipped;
    for (;;) {
        Window* found = nullptr;
        for (Window* topLevel : std::vector<Window*>(DesktopWindowObject().children))
            if ((topLevel->style & WS_VISIBLE) && regionContains(*topLevel, screen) &&
                std::find(skipped.begin(), skipped.end(), topLevel) == skipped.end()) {
                found = deepestChild(*topLevel, screen, skipped);
                break;
            }
        if (!found) return nullptr;
        HWND handle = found->handle;
        hit = found->thread.get() == &CurrentThread()
                  ? SendMessageW(handle, WM_NCHITTEST, 0,
                                 MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)))
                  : HTCLIENT;
        if (hit != HTTRANSPARENT) return handle;
        skipped.push_back(found);
    }
}

HWND WindowFromPoint(POINT point) {
    LRESULT hit = HTNOWHERE;
    return HitTestWindow(point, hit);
}

HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags) {
    Window* window = WindowOrError(parent);
    if (!window) return nullptr;
    if (!RectContains({0, 0, window->clientRect.Width(), window->clientRect.Height()}, point)) return nullptr;
    TPoint origin = ClientOriginOnScreen(*window);
    POINT screen{point.x + origin.x, point.y + origin.y};
    for (Window* child : window->children) {
        if ((flags & CWP_SKIPINVISIBLE) && !(child->style & WS_VISIBLE)) continue;
        if ((flags & CWP_SKIPDISABLED) && (child->style & WS_DISABLED)) continue;
        if ((flags & CWP_SKIPTRANSPARENT) && (child->exStyle & WS_EX_TRANSPARENT)) continue;
        if (regionContains(*child, screen)) return child->handle;
    }
    return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT point) {
    return ChildWindowFromPointEx(parent, point, CWP_ALL);
}
