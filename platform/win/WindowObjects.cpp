// The handle table, the two root windows, the per-thread states and the
// geometry that every window unit needs.
#include "platform/win/WindowObjects.h"

#include "platform/win/BackendInterface.h"
#include "platform/win/Messages.h"

#include <algorithm>
#include <atomic>
#include <map>

namespace {

// Handles count up from here in steps that keep them clear of the special
// values (HWND_BROADCAST and the small negative ones).
constexpr UINT_PTR firstWindowHandle = 0x00010010;
constexpr UINT_PTR windowHandleStep = 4;

struct WindowTable {
    std::recursive_mutex mutex;
    std::map<HWND, std::unique_ptr<Window>> windows;
    UINT_PTR nextHandle = firstWindowHandle;
    Window desktop;
    Window messageRoot;
};

// Never freed: objects of other units that are destroyed at exit (a clipboard
// owner's hidden window, say) still destroy their windows through this table.
WindowTable& windowTable() {
    static WindowTable& table = *new WindowTable;
    return table;
}

struct ThreadRegistry {
    std::mutex mutex;
    std::map<DWORD, std::shared_ptr<ThreadState>> threads;
    std::shared_ptr<ThreadState> foreground;
    std::shared_ptr<ThreadState> firstWithWindows;
};

// Never freed, for the same reason as the window table.
ThreadRegistry& threadRegistry() {
    static ThreadRegistry& registry = *new ThreadRegistry;
    return registry;
}

std::atomic<DWORD> nextThreadIdentifier{1};

void collectWindows(const Window& window, const ThreadState& thread, std::vector<HWND>& found) {
    for (Window* child : window.children) {
        if (child->thread.get() == &thread) found.push_back(child->handle);
        collectWindows(*child, thread, found);
    }
}

} // namespace

// ---- Threads ----

DWORD CurrentThreadIdentifier() {
    thread_local DWORD identifier = nextThreadIdentifier++;
    return identifier;
}

std::shared_ptr<ThreadState> CurrentThreadShared() {
    thread_local std::shared_ptr<ThreadState> state = [] {
        auto created = std::make_shared<ThreadState>();
        created->id = CurrentThreadIdentifier();
        created->lastQueueVisit = CurrentMilliseconds();
        ThreadRegistry& registry = threadRegistry();
        std::lock_guard lock(registry.mutex);
        registry.threads[created->id] = created;
        return created;
    }();
    return state;
}

ThreadState& CurrentThread() {
    thread_local ThreadState* state = CurrentThreadShared().get();
    return *state;
}

std::shared_ptr<ThreadState> ThreadById(DWORD id) {
    ThreadRegistry& registry = threadRegistry();
    std::lock_guard lock(registry.mutex);
    auto found = registry.threads.find(id);
    return found == registry.threads.end() ? nullptr : found->second;
}

std::shared_ptr<ThreadState> InputThread() {
    ThreadRegistry& registry = threadRegistry();
    std::lock_guard lock(registry.mutex);
    return registry.foreground ? registry.foreground : registry.firstWithWindows;
}

void SetForegroundThread(const std::shared_ptr<ThreadState>& thread) {
    ThreadRegistry& registry = threadRegistry();
    std::lock_guard lock(registry.mutex);
    registry.foreground = thread;
}

void WakeThread(ThreadState& thread) {
    thread.wake.notify_all();
    CurrentBackend().Wake();
}

// ---- Handles ----

std::recursive_mutex& WindowTableMutex() {
    return windowTable().mutex;
}

Window* FindWindowObject(HWND handle) {
    if (!handle) return nullptr;
    WindowTable& table = windowTable();
    std::lock_guard lock(table.mutex);
    if (handle == table.desktop.handle) return &table.desktop;
    auto found = table.windows.find(handle);
    return found == table.windows.end() ? nullptr : found->second.get();
}

Window* WindowOrError(HWND handle) {
    Window* window = FindWindowObject(handle);
    if (!window) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return window;
}

HWND InsertWindowObject(std::unique_ptr<Window> window) {
    WindowTable& table = windowTable();
    std::lock_guard lock(table.mutex);
    HWND handle = reinterpret_cast<HWND>(table.nextHandle);
    table.nextHandle += windowHandleStep;
    window->handle = handle;
    table.windows.emplace(handle, std::move(window));
    ThreadRegistry& registry = threadRegistry();
    std::lock_guard threadsLock(registry.mutex);
    if (!registry.firstWithWindows) registry.firstWithWindows = CurrentThreadShared();
    return handle;
}

void EraseWindowObject(HWND handle) {
    WindowTable& table = windowTable();
    std::lock_guard lock(table.mutex);
    table.windows.erase(handle);
}

std::vector<HWND> WindowsOfThread(const ThreadState& thread) {
    WindowTable& table = windowTable();
    std::lock_guard lock(table.mutex);
    std::vector<HWND> found;
    collectWindows(table.desktop, thread, found);
    collectWindows(table.messageRoot, thread, found);
    return found;
}

Window& DesktopWindowObject() {
    WindowTable& table = windowTable();
    std::lock_guard lock(table.mutex);
    if (!table.desktop.handle) {
        table.desktop.handle = reinterpret_cast<HWND>(table.nextHandle);
        table.nextHandle += windowHandleStep;
        table.desktop.style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
    }
    SIZE screen = CurrentBackend().ScreenSize();
    table.desktop.rect = {0, 0, screen.cx, screen.cy};
    table.desktop.clientRect = table.desktop.rect;
    return table.desktop;
}

Window& MessageRootObject() {
    return windowTable().messageRoot;
}

bool IsRootWindow(const Window& window) {
    WindowTable& table = windowTable();
    return &window == &table.desktop || &window == &table.messageRoot;
}

bool IsTopLevelWindow(const Window& window) {
    return window.parent && IsRootWindow(*window.parent);
}

Window* TopLevelOf(Window* window) {
    while (window && window->parent && !IsRootWindow(*window->parent))
        window = window->parent;
    return window && window->parent ? window : nullptr;
}

bool IsDescendantOf(const Window* window, const Window* ancestor) {
    for (const Window* step = window ? window->parent : nullptr; step; step = step->parent)
        if (step == ancestor) return true;
    return false;
}

// ---- Geometry ----

TPoint WindowOriginOnScreen(const Window& window) {
    if (!window.parent || IsRootWindow(*window.parent)) return {window.rect.Left, window.rect.Top};
    TPoint parentClient = ClientOriginOnScreen(*window.parent);
    return {parentClient.x + window.rect.Left, parentClient.y + window.rect.Top};
}

TRect WindowRectOnScreen(const Window& window) {
    TPoint origin = WindowOriginOnScreen(window);
    return {origin.x, origin.y, origin.x + window.rect.Width(), origin.y + window.rect.Height()};
}

TPoint ClientOriginOnScreen(const Window& window) {
    TPoint origin = WindowOriginOnScreen(window);
    return {origin.x + window.clientRect.Left, origin.y + window.clientRect.Top};
}

TRect ClientRectOnScreen(const Window& window) {
    TPoint origin = ClientOriginOnScreen(window);
    return {origin.x, origin.y, origin.x + window.clientRect.Width(), origin.y + window.clientRect.Height()};
}

TPoint OriginInTopLevel(const Window& window) {
    TPoint origin;
    const Window* step = &window;
    while (step->parent && !IsRootWindow(*step->parent)) {
        origin.x += step->rect.Left + step->parent->clientRect.Left;
        origin.y += step->rect.Top + step->parent->clientRect.Top;
        step = step->parent;
    }
    return origin;
}

bool IsShowing(const Window& window) {
    const Window* step = &window;
    for (; step->parent && !IsRootWindow(*step->parent); step = step->parent)
        if (!(step->style & WS_VISIBLE)) return false;
    return (step->style & WS_VISIBLE) && step->parent == &windowTable().desktop;
}

TRect IntersectRects(const TRect& a, const TRect& b) {
    TRect result{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                 std::min(a.Bottom, b.Bottom)};
    return IsEmptyRect(result) ? TRect{} : result;
}

TRect UnionRects(const TRect& a, const TRect& b) {
    if (IsEmptyRect(a)) return b;
    if (IsEmptyRect(b)) return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}

bool IsEmptyRect(const TRect& rect) {
    return rect.Right <= rect.Left || rect.Bottom <= rect.Top;
}

bool RectContains(const TRect& rect, POINT point) {
    return point.x >= rect.Left && point.x < rect.Right && point.y >= rect.Top && point.y < rect.Bottom;
}

TRect OffsetRectBy(const TRect& rect, int dx, int dy) {
    return {rect.Left + dx, rect.Top + dy, rect.Right + dx, rect.Bottom + dy};
}
