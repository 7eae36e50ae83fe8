// The message queue and the paths a message takes to a window procedure.
#include "platform/win/Messages.h"

#include "platform/win/BackendInterface.h"
#include "platform/win/Caret.h"
#include "platform/win/Cursors.h"
#include "platform/win/Hooks.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageConversion.h"
#include "platform/win/Mouse.h"
#include "platform/win/Painting.h"
#include "platform/win/Timers.h"

#include <algorithm>
#include <chrono>
#include <unistd.h>

namespace {

const HWND threadMessagesOnly = reinterpret_cast<HWND>(-1);

// Messages whose parameters point into the sender's memory cannot be posted.
bool carriesPointers(UINT message) {
    switch (message) {
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_CREATE:
    case WM_NCCREATE:
    case WM_NCCALCSIZE:
    case WM_GETMINMAXINFO:
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
    case WM_COPYDATA:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
    case EM_REPLACESEL:
    case EM_GETLINE:
        return true;
    default:
        return false;
    }
}

bool windowMatches(HWND messageWindow, HWND filter) {
    if (!filter) return true;
    if (filter == threadMessagesOnly) return messageWindow == nullptr;
    if (messageWindow == filter) return true;
    Window* window = FindWindowObject(messageWindow);
    Window* ancestor = FindWindowObject(filter);
    return window && ancestor && IsDescendantOf(window, ancestor);
}

bool numberMatches(UINT message, UINT filterMin, UINT filterMax) {
    if (filterMin == 0 && filterMax == 0) return true;
    if (filterMin <= filterMax) return message >= filterMin && message <= filterMax;
    // A reversed range takes everything outside it.
    return message >= filterMin || message <= filterMax;
}

bool kindWanted(UINT flags, UINT queueStatus) {
    UINT wanted = flags >> 16;
    return wanted == 0 || (wanted & queueStatus);
}

struct Filter {
    HWND window;
    UINT min;
    UINT max;
    UINT flags;

    bool takes(const MSG& msg) const {
        return windowMatches(msg.hwnd, window) && numberMatches(msg.message, min, max);
    }
    bool remove() const { return flags & PM_REMOVE; }
};

void handleIncomingSends(ThreadState& thread) {
    thread.lastQueueVisit = CurrentMilliseconds();
    for (;;) {
        std::shared_ptr<CrossThreadSend> send;
        {
            std::lock_guard lock(thread.mutex);
            if (thread.incomingSends.empty()) return;
            send = thread.incomingSends.front();
            thread.incomingSends.pop_front();
        }
        const LRESULT result =
            SendMessageFrom(send->charSet, send->window, send->message, send->wParam, send->lParam);
        const bool windowGone = FindWindowObject(send->window) == nullptr;
        ThreadState& sender = *send->sender;
        std::lock_guard lock(sender.mutex);
        send->result = result;
        send->windowGone = windowGone;
        send->done = true;
        sender.wake.notify_all();
    }
}

// The settings-change text travels with the message, so that it outlives a
// sender that stopped waiting for the answer.
void keepText(CrossThreadSend& send) {
    if (send.message != WM_WININICHANGE || !send.lParam) return;
    if (send.charSet == CharSet::Ansi) {
        send.ansiText = reinterpret_cast<const char*>(send.lParam);
        send.lParam = reinterpret_cast<LPARAM>(send.ansiText.c_str());
    } else {
        send.wideText = reinterpret_cast<const WCHAR*>(send.lParam);
        send.lParam = reinterpret_cast<LPARAM>(send.wideText.c_str());
    }
}

std::shared_ptr<CrossThreadSend> queueSend(HWND window, const std::shared_ptr<ThreadState>& target,
                                           CharSet caller, UINT message, WPARAM wParam, LPARAM lParam) {
    auto send = std::make_shared<CrossThreadSend>();
    send->window = window;
    send->message = message;
    send->wParam = wParam;
    send->lParam = lParam;
    send->charSet = caller;
    send->sender = CurrentThreadShared();
    keepText(*send);
    {
        std::lock_guard lock(target->mutex);
        target->incomingSends.push_back(send);
    }
    WakeThread(*target);
    return send;
}

LRESULT sendToOtherThread(Window& window, CharSet caller, UINT message, WPARAM wParam, LPARAM lParam) {
    ThreadState& self = CurrentThread();
    std::shared_ptr<CrossThreadSend> send =
        queueSend(window.handle, window.thread, caller, message, wParam, lParam);
    for (;;) {
        handleIncomingSends(self);
        std::unique_lock lock(self.mutex);
        self.wake.wait(lock, [&] { return send->done || !self.incomingSends.empty(); });
        if (send->done) return send->result;
    }
}

// A thread that has neither looked at its queue nor waited for messages this
// long is taken as not responding, as the system judges a hung program.
constexpr DWORD HungThreadMilliseconds = 5000;
// How often a sender with a time-out looks again at the thread it waits for.
constexpr DWORD SendCheckMilliseconds = 20;

bool isHung(const ThreadState& thread) {
    return !thread.waitingForMessages &&
           CurrentMilliseconds() - thread.lastQueueVisit > HungThreadMilliseconds;
}

// Takes back a send the receiver has not started, when its parameters point
// into the sender's memory; false when the receiver is already at it.
bool withdraw(ThreadState& target, const std::shared_ptr<CrossThreadSend>& send) {
    std::lock_guard lock(target.mutex);
    auto found = std::find(target.incomingSends.begin(), target.incomingSends.end(), send);
    if (found == target.incomingSends.end()) return false;
    target.incomingSends.erase(found);
    return true;
}

// A send that gives up leaves the message to be handled when the receiver
// gets to it, unless it points into memory the sender is about to release:
// that is taken back, or, once the receiver is at it, waited for.
bool mayStopWaiting(ThreadState& target, const std::shared_ptr<CrossThreadSend>& send) {
    return !carriesPointers(send->message) || withdraw(target, send);
}

enum class SendOutcome { Answered, TimedOut };

SendOutcome awaitAnswer(ThreadState& target, const std::shared_ptr<CrossThreadSend>& send, UINT flags,
                        UINT timeout) {
    ThreadState& self = CurrentThread();
    const bool handlesSends = (flags & SMTO_BLOCK) == 0;
    const DWORD start = CurrentMilliseconds();
    for (;;) {
        if (handlesSends) handleIncomingSends(self);
        {
            std::unique_lock lock(self.mutex);
            self.wake.wait_for(lock, std::chrono::milliseconds(SendCheckMilliseconds),
                               [&] { return send->done || (handlesSends && !self.incomingSends.empty()); });
            if (send->done) return SendOutcome::Answered;
        }
        const bool hung = isHung(target);
        const bool expired = CurrentMilliseconds() - start >= timeout;
        const bool givingUp =
            (hung && (flags & SMTO_ABORTIFHUNG)) || (expired && (hung || !(flags & SMTO_NOTIMEOUTIFNOTHUNG)));
        if (givingUp && mayStopWaiting(target, send)) return SendOutcome::TimedOut;
    }
}

BOOL sendWithTimeout(CharSet caller, HWND handle, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                     UINT timeout, PDWORD_PTR result) {
    std::shared_ptr<ThreadState> target;
    {
        std::lock_guard lock(WindowTableMutex());
        Window* window = WindowOrError(handle);
        if (!window || IsRootWindow(*window)) return FALSE;
        // The window's own thread calls it at once; the time-out is for other threads.
        if (window->thread.get() == &CurrentThread()) {
            const LRESULT answer = SendMessageFrom(caller, handle, message, wParam, lParam);
            if (result) *result = static_cast<DWORD_PTR>(answer);
            return TRUE;
        }
        target = window->thread;
        if ((flags & SMTO_ABORTIFHUNG) && isHung(*target)) {
            SetLastError(ERROR_TIMEOUT);
            return FALSE;
        }
    }
    std::shared_ptr<CrossThreadSend> send = queueSend(handle, target, caller, message, wParam, lParam);
    if (awaitAnswer(*target, send, flags, timeout) == SendOutcome::TimedOut) {
        SetLastError(ERROR_TIMEOUT);
        return FALSE;
    }
    if (send->windowGone && (flags & SMTO_ERRORONEXIT)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (result) *result = static_cast<DWORD_PTR>(send->result);
    return TRUE;
}

// Every top-level window gets the message in turn, each with the whole time-out.
LRESULT broadcastWithTimeout(CharSet caller, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                             UINT timeout, PDWORD_PTR result) {
    std::vector<HWND> topLevel;
    {
        std::lock_guard lock(WindowTableMutex());
        for (Window* window : DesktopWindowObject().children)
            topLevel.push_back(window->handle);
    }
    for (HWND window : topLevel)
        sendWithTimeout(caller, window, message, wParam, lParam, flags, timeout, nullptr);
    if (result) *result = 0;
    return TRUE;
}

LRESULT sendMessageTimeout(CharSet caller, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                           UINT flags, UINT timeout, PDWORD_PTR result) {
    if (window == HWND_BROADCAST)
        return broadcastWithTimeout(caller, message, wParam, lParam, flags, timeout, result);
    return sendWithTimeout(caller, window, message, wParam, lParam, flags, timeout, result);
}

bool takePosted(ThreadState& thread, const Filter& filter, MSG& msg, CharSet& charSet) {
    if (!kindWanted(filter.flags, QS_POSTMESSAGE)) return false;
    std::lock_guard lock(thread.mutex);
    for (auto item = thread.posted.begin(); item != thread.posted.end(); ++item) {
        if (!filter.takes(item->msg)) continue;
        msg = item->msg;
        charSet = item->charSet;
        if (filter.remove()) thread.posted.erase(item);
        return true;
    }
    return false;
}

bool takeQuit(ThreadState& thread, const Filter& filter, MSG& msg) {
    std::lock_guard lock(thread.mutex);
    if (!thread.quitPosted || !numberMatches(WM_QUIT, filter.min, filter.max)) return false;
    if (filter.window && filter.window != threadMessagesOnly) return false;
    msg = MSG{};
    msg.message = WM_QUIT;
    msg.wParam = static_cast<WPARAM>(thread.quitCode);
    msg.time = CurrentMilliseconds();
    if (filter.remove()) thread.quitPosted = false;
    return true;
}

bool resolveInput(ThreadState& thread, InputEvent& event) {
    return event.kind == InputEvent::Kind::Mouse ? ResolveMouseInput(thread, event)
                                                 : ResolveKeyboardInput(thread, event);
}

bool acceptInput(ThreadState& thread, InputEvent& event, bool remove) {
    return event.kind == InputEvent::Kind::Mouse ? AcceptMouseInput(thread, event, remove)
                                                 : AcceptKeyboardInput(thread, event, remove);
}

void eraseInput(ThreadState& thread, std::size_t index) {
    std::lock_guard lock(thread.mutex);
    if (index < thread.input.size())
        thread.input.erase(thread.input.begin() + static_cast<std::ptrdiff_t>(index));
}

bool takeInput(ThreadState& thread, const Filter& filter, MSG& msg) {
    if (!kindWanted(filter.flags, QS_INPUT)) return false;
    std::size_t index = 0;
    for (;;) {
        InputEvent event;
        {
            std::lock_guard lock(thread.mutex);
            if (index >= thread.input.size()) return false;
            event = thread.input[index];
        }
        if (!event.resolved) {
            if (!resolveInput(thread, event)) {
                eraseInput(thread, index);
                continue;
            }
            std::lock_guard lock(thread.mutex);
            thread.input[index] = event;
        }
        if (!filter.takes(event.msg)) {
            ++index;
            continue;
        }
        bool accepted = acceptInput(thread, event, filter.remove());
        if (!accepted || filter.remove()) eraseInput(thread, index);
        if (!accepted) continue;
        msg = event.msg;
        return true;
    }
}

bool takePaint(ThreadState& thread, const Filter& filter, MSG& msg) {
    if (!kindWanted(filter.flags, QS_PAINT) || !numberMatches(WM_PAINT, filter.min, filter.max) ||
        filter.window == threadMessagesOnly)
        return false;
    HWND window = WindowNeedingPaint(thread, filter.window);
    if (!window) return false;
    msg = MSG{};
    msg.hwnd = window;
    msg.message = WM_PAINT;
    msg.time = CurrentMilliseconds();
    return true;
}

bool takeTimer(ThreadState& thread, const Filter& filter, MSG& msg) {
    if (!kindWanted(filter.flags, QS_TIMER) || !numberMatches(WM_TIMER, filter.min, filter.max)) return false;
    return TakeDueTimer(
        thread, [&](const MSG& candidate) { return filter.takes(candidate); }, filter.remove(), msg);
}

bool hasWork(ThreadState& thread) {
    {
        std::lock_guard lock(thread.mutex);
        if (!thread.posted.empty() || !thread.input.empty() || !thread.incomingSends.empty() ||
            thread.quitPosted)
            return true;
    }
    return WindowNeedingPaint(thread, nullptr) || MillisecondsToNextTimer(thread) == 0;
}

void fillPosition(MSG& msg) {
    msg.time = CurrentMilliseconds();
    GetCursorPos(&msg.pt);
}

BOOL postTo(ThreadState& thread, CharSet charSet, const MSG& msg) {
    {
        std::lock_guard lock(thread.mutex);
        thread.posted.push_back({msg, charSet});
    }
    WakeThread(thread);
    return TRUE;
}

BOOL postMessage(CharSet charSet, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (carriesPointers(message)) {
        SetLastError(ERROR_MESSAGE_SYNC_ONLY);
        return FALSE;
    }
    MSG msg;
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    fillPosition(msg);
    if (!window) return postTo(CurrentThread(), charSet, msg);
    if (window == HWND_BROADCAST) {
        for (Window* topLevel : std::vector<Window*>(DesktopWindowObject().children)) {
            msg.hwnd = topLevel->handle;
            postTo(*topLevel->thread, charSet, msg);
        }
        return TRUE;
    }
    std::shared_ptr<ThreadState> thread;
    {
        std::lock_guard lock(WindowTableMutex());
        Window* target = WindowOrError(window);
        if (!target) return FALSE;
        thread = target->thread;
    }
    return postTo(*thread, charSet, msg);
}

BOOL postThreadMessage(CharSet charSet, DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<ThreadState> thread = ThreadById(threadId);
    if (!thread) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    if (carriesPointers(message)) {
        SetLastError(ERROR_MESSAGE_SYNC_ONLY);
        return FALSE;
    }
    MSG msg;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    fillPosition(msg);
    return postTo(*thread, charSet, msg);
}

BOOL peekMessage(CharSet caller, LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT flags) {
    if (!msg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return RetrieveMessage(*msg, window, filterMin, filterMax, flags, caller) ? TRUE : FALSE;
}

BOOL getMessage(CharSet caller, LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
    if (!msg || (window && window != threadMessagesOnly && !WindowOrError(window))) {
        if (!msg) SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    while (!RetrieveMessage(*msg, window, filterMin, filterMax, PM_REMOVE, caller))
        WaitForMessages(INFINITE);
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

LRESULT dispatchMessage(CharSet caller, const MSG* msg) {
    if (!msg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (msg->message == WM_TIMER && msg->lParam) {
        auto procedure = reinterpret_cast<TIMERPROC>(msg->lParam);
        if (IsTimerProcedure(CurrentThread(), msg->hwnd, msg->wParam, procedure)) {
            procedure(msg->hwnd, WM_TIMER, msg->wParam, static_cast<DWORD>(CurrentMilliseconds()));
            return 0;
        }
    }
    if (!msg->hwnd) return 0;
    Window* window = WindowOrError(msg->hwnd);
    if (!window) return 0;
    if (window->thread.get() != &CurrentThread()) {
        SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
        return 0;
    }
    return CallWindowFrom(caller, msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT callWindowProc(CharSet caller, WNDPROC procedure, HWND window, UINT message, WPARAM wParam,
                       LPARAM lParam) {
    ProcedureSlot original;
    if (!IsConversionHandle(procedure, original))
        return InvokeProcedure(procedure, window, message, wParam, lParam);
    return CallConverted(caller, original.charSet, window, message, wParam, lParam,
                         [&](HWND w, UINT m, WPARAM wp, LPARAM lp) {
                             return InvokeProcedure(original.procedure, w, m, wp, lp);
                         });
}

bool pumpsBackend(ThreadState& thread) {
    std::shared_ptr<ThreadState> input = InputThread();
    return !input || input.get() == &thread;
}

DWORD earliest(DWORD a, DWORD b) {
    return std::min(a, b);
}

// Marks the thread as waiting for messages, so that a sender does not take it for hung.
class WaitingForMessages {
public:
    explicit WaitingForMessages(ThreadState& thread) : thread_(thread) { thread_.waitingForMessages = true; }
    WaitingForMessages(const WaitingForMessages&) = delete;
    WaitingForMessages& operator=(const WaitingForMessages&) = delete;
    ~WaitingForMessages() {
        thread_.waitingForMessages = false;
        thread_.lastQueueVisit = CurrentMilliseconds();
    }

private:
    ThreadState& thread_;
};
} // namespace

// ---- Calling window procedures ----

LRESULT CallWindowFrom(CharSet caller, HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = FindWindowObject(handle);
    if (!window || IsRootWindow(*window)) return 0;
    ProcedureSlot slot = window->procedure;
    return CallConverted(
        caller, slot.charSet, handle, message, wParam, lParam,
        [&](HWND w, UINT m, WPARAM wp, LPARAM lp) { return InvokeProcedure(slot.procedure, w, m, wp, lp); });
}

LRESULT SendMessageFrom(CharSet caller, HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (handle == HWND_BROADCAST) {
        for (Window* topLevel : std::vector<Window*>(DesktopWindowObject().children))
            if (topLevel->thread.get() == &CurrentThread())
                SendMessageFrom(caller, topLevel->handle, message, wParam, lParam);
        return 0;
    }
    Window* window = WindowOrError(handle);
    if (!window || IsRootWindow(*window)) return 0;
    if (window->thread.get() != &CurrentThread())
        return sendToOtherThread(*window, caller, message, wParam, lParam);
    RunCallWndProcHooks(caller, handle, message, wParam, lParam);
    return CallWindowFrom(caller, handle, message, wParam, lParam);
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageFrom(CharSet::Ansi, window, message, wParam, lParam);
}
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageFrom(CharSet::Wide, window, message, wParam, lParam);
}

LRESULT SendMessageTimeoutA(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags, UINT timeout,
                            PDWORD_PTR result) {
    return sendMessageTimeout(CharSet::Ansi, window, message, wParam, lParam, flags, timeout, result);
}
LRESULT SendMessageTimeoutW(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags, UINT timeout,
                            PDWORD_PTR result) {
    return sendMessageTimeout(CharSet::Wide, window, message, wParam, lParam, flags, timeout, result);
}

LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return callWindowProc(CharSet::Ansi, procedure, window, message, wParam, lParam);
}
LRESULT CallWindowProcW(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return callWindowProc(CharSet::Wide, procedure, window, message, wParam, lParam);
}

LRESULT DispatchMessageA(const MSG* msg) {
    return dispatchMessage(CharSet::Ansi, msg);
}
LRESULT DispatchMessageW(const MSG* msg) {
    return dispatchMessage(CharSet::Wide, msg);
}

// ---- Posting ----

BOOL PostFrom(CharSet charSet, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return postMessage(charSet, window, message, wParam, lParam);
}
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return postMessage(CharSet::Ansi, window, message, wParam, lParam);
}
BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return postMessage(CharSet::Wide, window, message, wParam, lParam);
}
BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    return postThreadMessage(CharSet::Ansi, threadId, message, wParam, lParam);
}
BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    return postThreadMessage(CharSet::Wide, threadId, message, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
    ThreadState& thread = CurrentThread();
    {
        std::lock_guard lock(thread.mutex);
        thread.quitPosted = true;
        thread.quitCode = exitCode;
    }
    WakeThread(thread);
}

void QueueInput(InputEvent event) {
    std::shared_ptr<ThreadState> thread = InputThread();
    if (!thread) return;
    {
        std::lock_guard lock(thread->mutex);
        // Moves that were not retrieved yet merge into the latest, as the system's queue merges them.
        if (event.kind == InputEvent::Kind::Mouse && event.message == WM_MOUSEMOVE &&
            !thread->input.empty()) {
            InputEvent& last = thread->input.back();
            if (last.kind == InputEvent::Kind::Mouse && last.message == WM_MOUSEMOVE && !last.resolved) {
                last = event;
                return;
            }
        }
        thread->input.push_back(std::move(event));
    }
    WakeThread(*thread);
}

// ---- Retrieving ----

bool RetrieveMessage(MSG& msg, HWND filterWindow, UINT filterMin, UINT filterMax, UINT flags,
                     CharSet caller) {
    ThreadState& thread = CurrentThread();
    handleIncomingSends(thread);
    ServiceCaretBlink(thread);
    ServiceMouseHover(thread);
    Filter filter{filterWindow, filterMin, filterMax, flags};
    CharSet charSet = CharSet::Wide;
    bool found = takePosted(thread, filter, msg, charSet) || takeQuit(thread, filter, msg) ||
                 takeInput(thread, filter, msg) || takePaint(thread, filter, msg) ||
                 takeTimer(thread, filter, msg);
    if (!found) return false;
    RunGetMessageHooks(msg, charSet, flags & PM_REMOVE);
    ConvertQueuedMessage(msg, charSet, caller);
    if (flags & PM_REMOVE) {
        thread.lastMessageTime = msg.time;
        thread.lastMessagePoint = msg.pt;
    }
    return true;
}

BOOL PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
    return peekMessage(CharSet::Ansi, msg, window, filterMin, filterMax, removeFlags);
}
BOOL PeekMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
    return peekMessage(CharSet::Wide, msg, window, filterMin, filterMax, removeFlags);
}
BOOL GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
    return getMessage(CharSet::Ansi, msg, window, filterMin, filterMax);
}
BOOL GetMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
    return getMessage(CharSet::Wide, msg, window, filterMin, filterMax);
}

// ---- Waiting ----

void WaitForMessages(DWORD timeout) {
    ThreadState& thread = CurrentThread();
    handleIncomingSends(thread);
    // A due blink or hover is served here too, not only when a message is retrieved:
    // left due, it would make every wait a zero time-out, and an idle thread would spin.
    ServiceCaretBlink(thread);
    ServiceMouseHover(thread);
    if (hasWork(thread)) return;
    PresentPendingPixels(thread);
    WaitingForMessages waiting(thread);
    DWORD limit = earliest(timeout, MillisecondsToNextTimer(thread));
    limit = earliest(limit, MillisecondsToCaretBlink(thread));
    limit = earliest(limit, MillisecondsToMouseHover(thread));
    if (pumpsBackend(thread)) {
        CurrentBackend().WaitForEvents(limit);
        return;
    }
    std::unique_lock lock(thread.mutex);
    auto ready = [&] {
        return !thread.posted.empty() || !thread.input.empty() || !thread.incomingSends.empty() ||
               thread.quitPosted;
    };
    if (limit == INFINITE)
        thread.wake.wait(lock, ready);
    else
        thread.wake.wait_for(lock, std::chrono::milliseconds(limit), ready);
}

BOOL WaitMessage() {
    ThreadState& thread = CurrentThread();
    while (!hasWork(thread))
        WaitForMessages(INFINITE);
    return TRUE;
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE*, BOOL, DWORD milliseconds, DWORD) {
    if (count != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    ThreadState& thread = CurrentThread();
    DWORD start = CurrentMilliseconds();
    for (;;) {
        if (hasWork(thread)) return WAIT_OBJECT_0;
        DWORD elapsed = CurrentMilliseconds() - start;
        if (milliseconds != INFINITE && elapsed >= milliseconds) return WAIT_TIMEOUT;
        WaitForMessages(milliseconds == INFINITE ? INFINITE : milliseconds - elapsed);
    }
}

DWORD GetQueueStatus(UINT flags) {
    ThreadState& thread = CurrentThread();
    UINT status = 0;
    {
        std::lock_guard lock(thread.mutex);
        if (!thread.posted.empty()) status |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
        if (!thread.incomingSends.empty()) status |= QS_SENDMESSAGE;
        for (const InputEvent& event : thread.input)
            status |= event.kind == InputEvent::Kind::Mouse
                          ? (event.message == WM_MOUSEMOVE ? QS_MOUSEMOVE : QS_MOUSEBUTTON)
                          : QS_KEY;
    }
    if (WindowNeedingPaint(thread, nullptr)) status |= QS_PAINT;
    if (MillisecondsToNextTimer(thread) == 0) status |= QS_TIMER;
    status &= flags;
    return (status << 16) | status;
}

void RunModalLoop(const std::function<bool()>& finished, const std::function<bool(MSG&)>& handle) {
    ThreadState& thread = CurrentThread();
    ++thread.modalLoops;
    MSG msg;
    while (!finished()) {
        if (!RetrieveMessage(msg, nullptr, 0, 0, PM_REMOVE, CharSet::Wide)) {
            WaitForMessages(INFINITE);
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (handle(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    --thread.modalLoops;
}

DWORD GetMessageTime() {
    return CurrentThread().lastMessageTime;
}

DWORD GetMessagePos() {
    POINT point = CurrentThread().lastMessagePoint;
    return MAKELONG(static_cast<WORD>(point.x), static_cast<WORD>(point.y));
}

DWORD CurrentMilliseconds() {
    return CurrentBackend().Milliseconds();
}

DWORD GetCurrentThreadId() {
    return CurrentThreadIdentifier();
}

DWORD GetCurrentProcessId() {
    return static_cast<DWORD>(getpid());
}
