// Messages: sending, posting, the per-thread queue with its retrieval order
// (sent, posted, quit, input, paint, timers), dispatching and calling window
// procedures, with ANSI/UTF-16 conversion wherever the charsets of the two
// sides differ. Posting is safe from any thread; a message sent to another
// thread's window waits until that thread retrieves messages.
#pragma once

#include "platform/win/WinUser.h"
#include "platform/win/WindowObjects.h"

#include <functional>

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
constexpr UINT SMTO_NORMAL = 0x0000;
// The sender handles no messages sent to it while it waits.
constexpr UINT SMTO_BLOCK = 0x0001;
// Gives up at once on a thread that does not respond.
constexpr UINT SMTO_ABORTIFHUNG = 0x0002;
// Waits past the time-out while the receiving thread still responds.
constexpr UINT SMTO_NOTIMEOUTIFNOTHUNG = 0x0008;
// Fails when the window is destroyed before or while it handles the message.
constexpr UINT SMTO_ERRORONEXIT = 0x0020;
// SendMessage that waits at most `timeout` milliseconds for another thread's
// window (the caller's own windows are called at once). Nonzero with the
// answer in `result`; 0 with ERROR_TIMEOUT or ERROR_INVALID_WINDOW_HANDLE.
// HWND_BROADCAST sends to every top-level window in turn, each with the
// whole time-out, and reports no single window's failure.
LRESULT SendMessageTimeoutA(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags, UINT timeout,
                            PDWORD_PTR result);
LRESULT SendMessageTimeoutW(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags, UINT timeout,
                            PDWORD_PTR result);
// Null window: a thread message for the calling thread.
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);

// The window filter takes the window and its children; (HWND)-1 takes thread
// messages only. PM_QS_ flags narrow the kinds of message.
BOOL PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL PeekMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
// 0 for WM_QUIT, -1 for a bad window filter, nonzero otherwise.
BOOL GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax);
BOOL GetMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax);
LRESULT DispatchMessageA(const MSG* msg);
LRESULT DispatchMessageW(const MSG* msg);
LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProcW(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void PostQuitMessage(int exitCode);
// Returns when a message may be retrieved.
BOOL WaitMessage();
// Only the message queue can be waited for: no handles (WAIT_FAILED with
// ERROR_INVALID_PARAMETER otherwise). WAIT_OBJECT_0 when input matching
// `wakeMask` is there, WAIT_TIMEOUT after `milliseconds`.
DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                                DWORD wakeMask);
// QS_ bits of what is waiting in the high word, of what arrived since the last call in the low word.
DWORD GetQueueStatus(UINT flags);
DWORD GetMessageTime();
// The screen point of the last message retrieved, packed as x in the low word and y in the high word.
DWORD GetMessagePos();
DWORD GetCurrentThreadId();
DWORD GetCurrentProcessId();

// ---- For the window units ----

// SendMessageA/W: hooks, then the window's procedure with conversion.
LRESULT SendMessageFrom(CharSet caller, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The window's procedure with conversion, without hooks.
LRESULT CallWindowFrom(CharSet caller, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Queues input for the thread that takes the user's input.
void QueueInput(InputEvent event);
// A posted message with the given charset (for the window units' own posts).
BOOL PostFrom(CharSet charSet, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// One retrieval as PeekMessage does it, in the caller's charset.
bool RetrieveMessage(MSG& msg, HWND filter, UINT filterMin, UINT filterMax, UINT flags, CharSet caller);
// Blocks until a message may be there or `timeout` milliseconds passed.
void WaitForMessages(DWORD timeout);
// A modal loop of the window units (scroll-bar tracking, message boxes): runs
// until `finished`; `handle` sees each message first and returns true when it
// took it, the rest are translated and dispatched. A WM_QUIT ends the loop and
// is posted again for the outer loop.
void RunModalLoop(const std::function<bool()>& finished, const std::function<bool(MSG&)>& handle);
DWORD CurrentMilliseconds();
