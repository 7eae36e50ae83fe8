// Timers: SetTimer/KillTimer with WM_TIMER made when the queue is otherwise
// empty (one message per due timer, however late), or a timer procedure
// called by DispatchMessage. The clock is the backend's, so tests can step it.
#pragma once

#include "platform/win/WinUser.h"
#include "platform/win/WindowObjects.h"

#include <functional>

// With a null window the id is chosen here and returned.
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure);
BOOL KillTimer(HWND window, UINT_PTR id);

// ---- For the window units ----

bool TakeDueTimer(ThreadState& thread, const std::function<bool(const MSG&)>& wanted, bool removing,
                  MSG& msg);
// 0 when a timer is due, INFINITE when there is none.
DWORD MillisecondsToNextTimer(ThreadState& thread);
// Whether WM_TIMER's lParam names the procedure of a live timer (so DispatchMessage may call it).
bool IsTimerProcedure(ThreadState& thread, HWND window, UINT_PTR id, TIMERPROC procedure);
void KillTimersOfWindow(ThreadState& thread, HWND window);
