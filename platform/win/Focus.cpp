// Focus and activation of the calling thread's windows.
#include "platform/win/Focus.h"

#include "platform/win/BackendInterface.h"
#include "platform/win/Messages.h"
#include "platform/win/Mouse.h"
#include "platform/win/Windows.h"

#include <algorithm>

namespace {

bool isInTree(HWND candidate, const Window& root) {
    Window* window = FindWindowObject(candidate);
    return window && (window == &root || IsDescendantOf(window, &root));
}

void bringToTop(Window& window) {
    std::lock_guard lock(WindowTableMutex());
    auto& siblings = window.parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), &window), siblings.end());
    auto position = siblings.begin();
    if (!(window.exStyle & WS_EX_TOPMOST))
        position = std::find_if(siblings.begin(), siblings.end(),
                                [](const Window* sibling) { return !(sibling->exStyle & WS_EX_TOPMOST); });
    siblings.insert(position, &window);
}

std::vector<HWND> topLevelWindowsOf(const ThreadState& thread) {
    std::vector<HWND> found;
    for (Window* topLevel : DesktopWindowObject().children)
        if (topLevel->thread.get() == &thread) found.push_back(topLevel->handle);
    return found;
}

void tellApplication(const ThreadState& thread, bool active) {
    for (HWND topLevel : topLevelWindowsOf(thread))
        SendMessageW(topLevel, WM_ACTIVATEAPP, active ? TRUE : FALSE, 0);
}

HWND changeFocus(ThreadState& thread, HWND target) {
    HWND previous = thread.focus;
    if (previous == target) return previous;
    thread.focus = target;
    if (previous && IsWindow(previous))
        SendMessageW(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(target), 0);
    if (target && thread.focus == target && IsWindow(target))
        SendMessageW(target, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    // A handler may have moved the focus on already; the backend hears of the last move only.
    if (thread.focus == target) CurrentBackend().FocusMoved(target);
    return previous;
}

void activate(ThreadState& thread, Window* window, WPARAM how) {
    HWND previous = thread.active;
    HWND next = window ? window->handle : nullptr;
    if (previous == next) return;
    if (window) bringToTop(*window);
    thread.active = next;
    if (previous && IsWindow(previous)) {
        SendMessageW(previous, WM_NCACTIVATE, FALSE, 0);
        SendMessageW(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconicWindow(previous)),
                     reinterpret_cast<LPARAM>(next));
    }
    if (!previous && next) {
        SetForegroundThread(CurrentThreadShared());
        tellApplication(thread, true);
    }
    if (previous && !next) tellApplication(thread, false);
    if (!next || !IsWindow(next) || thread.active != next) {
        if (!next) changeFocus(thread, nullptr);
        return;
    }
    SendMessageW(next, WM_NCACTIVATE, TRUE, 0);
    SendMessageW(next, WM_ACTIVATE, MAKEWPARAM(static_cast<WORD>(how), IsIconicWindow(next)),
                 reinterpret_cast<LPARAM>(previous));
    if (Window* still = FindWindowObject(next); still && still->parent == &DesktopWindowObject())
        CurrentBackend().WindowActivated(next);
    Window* active = FindWindowObject(thread.active);
    if (active && thread.focus && !isInTree(thread.focus, *active)) changeFocus(thread, nullptr);
}

bool canBeActivated(const Window& window) {
    return (window.style & WS_VISIBLE) && !(window.style & WS_DISABLED) &&
           !(window.exStyle & WS_EX_NOACTIVATE);
}

Window* successorOf(const Window& leaving) {
    if (leaving.owner && canBeActivated(*leaving.owner)) return leaving.owner;
    for (Window* topLevel : DesktopWindowObject().children)
        if (topLevel != &leaving && topLevel->thread == leaving.thread && canBeActivated(*topLevel))
            return topLevel;
    return nullptr;
}

} // namespace

WORD IsIconicWindow(HWND window) {
    Window* object = FindWindowObject(window);
    return object && (object->style & WS_MINIMIZE) ? 1 : 0;
}

HWND SetFocus(HWND handle) {
    ThreadState& thread = CurrentThread();
    if (!handle) return changeFocus(thread, nullptr);
    Window* window = WindowOrError(handle);
    if (!window || IsRootWindow(*window)) return nullptr;
    if (window->thread.get() != &thread) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    HWND previous = thread.focus;
    if (previous == handle) return previous;
    Window* topLevel = TopLevelOf(window);
    if (topLevel && thread.active != topLevel->handle && topLevel->parent == &DesktopWindowObject())
        activate(thread, topLevel, WA_ACTIVE);
    if (IsWindow(handle)) changeFocus(thread, handle);
    return previous;
}

HWND GetFocus() {
    return CurrentThread().focus;
}

HWND SetActiveWindow(HWND handle) {
    ThreadState& thread = CurrentThread();
    HWND previous = thread.active;
    if (!handle) {
        DeactivateThread(thread);
        return previous;
    }
    Window* window = WindowOrError(handle);
    Window* topLevel = window ? TopLevelOf(window) : nullptr;
    if (!topLevel || topLevel->thread.get() != &thread) return nullptr;
    activate(thread, topLevel, WA_ACTIVE);
    return previous;
}

HWND GetActiveWindow() {
    return CurrentThread().active;
}

HWND GetForegroundWindow() {
    std::shared_ptr<ThreadState> thread = InputThread();
    return thread ? thread->active : nullptr;
}

BOOL SetForegroundWindow(HWND window) {
    return SetActiveWindow(window) || GetActiveWindow() == window ? TRUE : FALSE;
}

void ActivateWindow(Window& window, WPARAM how) {
    Window* topLevel = TopLevelOf(&window);
    if (topLevel && topLevel->thread.get() == &CurrentThread() && topLevel->parent == &DesktopWindowObject())
        activate(CurrentThread(), topLevel, how);
}

void DeactivateThread(ThreadState& thread) {
    activate(thread, nullptr, WA_INACTIVE);
}

void LeaveHiddenWindow(Window& window) {
    ThreadState& thread = *window.thread;
    if (&thread != &CurrentThread() || thread.active != window.handle) return;
    Window* successor = successorOf(window);
    if (successor)
        activate(thread, successor, WA_ACTIVE);
    else
        activate(thread, nullptr, WA_INACTIVE);
}

void LeaveWindowBeforeDestruction(Window& window) {
    ThreadState& thread = *window.thread;
    if (thread.capture && isInTree(thread.capture, window)) ReleaseCapture();
    if (thread.active == window.handle) LeaveHiddenWindow(window);
    if (thread.focus && isInTree(thread.focus, window)) changeFocus(thread, nullptr);
}

void LeaveDisabledWindow(Window& window) {
    ThreadState& thread = *window.thread;
    if (thread.focus && isInTree(thread.focus, window)) changeFocus(thread, nullptr);
}

void ForgetWindowInput(ThreadState& thread, HWND window) {
    for (HWND* reference : {&thread.focus, &thread.active, &thread.capture, &thread.mouseTrackWindow,
                            &thread.mouseWindow, &thread.lastClickWindow})
        if (*reference == window) *reference = nullptr;
    std::lock_guard lock(thread.mutex);
    std::erase_if(thread.input,
                  [&](const InputEvent& event) { return event.resolved && event.msg.hwnd == window; });
}

void DeliverActivation(HWND handle, bool active) {
    Window* window = FindWindowObject(handle);
    if (!window || window->thread.get() != &CurrentThread()) return;
    if (active)
        ActivateWindow(*window, WA_ACTIVE);
    else if (window->thread->active == handle)
        DeactivateThread(*window->thread);
}
