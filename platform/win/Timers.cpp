// Per-thread timers, due times compared across the clock's wrap-around.
#include "platform/win/Timers.h"

#include "platform/win/Cursors.h"
#include "platform/win/Messages.h"

#include <algorithm>

namespace {

// Ids handed out for timers without a window.
constexpr UINT_PTR firstThreadTimerId = 0x7FFF;

int untilDue(const Timer& timer, DWORD now) {
    return static_cast<int>(timer.due - now);
}

auto findTimer(ThreadState& thread, HWND window, UINT_PTR id) {
    return std::find_if(thread.timers.begin(), thread.timers.end(),
                        [&](const Timer& timer) { return timer.window == window && timer.id == id; });
}

UINT_PTR freeThreadTimerId(ThreadState& thread) {
    UINT_PTR id = firstThreadTimerId;
    while (findTimer(thread, nullptr, id) != thread.timers.end())
        ++id;
    return id;
}

} // namespace

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure) {
    ThreadState& thread = CurrentThread();
    if (window) {
        Window* object = WindowOrError(window);
        if (!object) return 0;
        if (object->thread.get() != &thread) {
            SetLastError(ERROR_ACCESS_DENIED);
            return 0;
        }
    } else if (id == 0 || findTimer(thread, nullptr, id) == thread.timers.end()) {
        id = freeThreadTimerId(thread);
    }
    elapse = std::clamp(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    Timer timer{window, id, elapse, procedure, CurrentMilliseconds() + elapse};
    auto existing = findTimer(thread, window, id);
    if (existing != thread.timers.end())
        *existing = timer;
    else
        thread.timers.push_back(timer);
    WakeThread(thread);
    return window && id == 0 ? 1 : id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    ThreadState& thread = CurrentThread();
    auto found = findTimer(thread, window, id);
    if (found == thread.timers.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    thread.timers.erase(found);
    return TRUE;
}

bool TakeDueTimer(ThreadState& thread, const std::function<bool(const MSG&)>& wanted, bool removing,
                  MSG& msg) {
    DWORD now = CurrentMilliseconds();
    for (Timer& timer : thread.timers) {
        if (untilDue(timer, now) > 0) continue;
        MSG candidate;
        candidate.hwnd = timer.window;
        candidate.message = WM_TIMER;
        candidate.wParam = timer.id;
        candidate.lParam = reinterpret_cast<LPARAM>(timer.procedure);
        candidate.time = now;
        GetCursorPosition(candidate.pt);
        if (!wanted(candidate)) continue;
        if (removing) timer.due = now + timer.interval;
        msg = candidate;
        return true;
    }
    return false;
}

DWORD MillisecondsToNextTimer(ThreadState& thread) {
    DWORD now = CurrentMilliseconds();
    DWORD nearest = INFINITE;
    for (const Timer& timer : thread.timers)
        nearest = std::min<DWORD>(nearest, static_cast<DWORD>(std::max(untilDue(timer, now), 0)));
    return nearest;
}

bool IsTimerProcedure(ThreadState& thread, HWND window, UINT_PTR id, TIMERPROC procedure) {
    auto found = findTimer(thread, window, id);
    return found != thread.timers.end() && found->procedure == procedure;
}

void KillTimersOfWindow(ThreadState& thread, HWND window) {
    std::erase_if(thread.timers, [&](const Timer& timer) { return timer.window == window; });
}
