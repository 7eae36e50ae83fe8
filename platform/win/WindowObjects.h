// The objects behind window handles and the per-thread state of the window
// manager (message queue, focus, capture, hooks, timers, caret, key state).
// Shared by the window units; callers of the window interface see handles only.
//
// A window belongs to the thread that created it, and only that thread changes
// it; other threads may post to it, send to it and ask whether it exists. The
// handle table and the list of top-level windows are guarded by one lock.
#pragma once

#include "platform/win/PixelSurface.h"
#include "platform/win/Region.h"
#include "platform/win/WindowProcedures.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

struct ThreadState;

struct WindowClass {
    ATOM atom = 0;
    WideString name;
    HINSTANCE instance = nullptr;
    // Found from any instance (system classes and CS_GLOBALCLASS).
    bool global = false;
    UINT style = 0;
    ProcedureSlot procedure;
    int classExtraBytes = 0;
    int windowExtraBytes = 0;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    // An integer resource id, or a name kept in both forms.
    WORD menuId = 0;
    AnsiString menuNameAnsi;
    WideString menuNameWide;
    std::vector<Byte> extra;
    int windowCount = 0;
};

struct ScrollBarState {
    int minimum = 0;
    int maximum = 100;
    UINT page = 0;
    int position = 0;
    int trackPosition = 0;
    bool tracking = false;
    UINT disabledArrows = ESB_ENABLE_BOTH;
    // The part drawn pushed while the mouse holds it (a ScrollBarPart value, 0 for none).
    int pushedPart = 0;
};

struct WindowProperty {
    ATOM atom = 0;
    HANDLE value = nullptr;
    // Set by name: the property holds a reference on the name's atom.
    bool ownsAtom = false;
};

struct Window {
    HWND handle = nullptr;
    std::shared_ptr<WindowClass> windowClass;
    std::shared_ptr<ThreadState> thread;
    ProcedureSlot procedure;
    DWORD style = 0;
    DWORD exStyle = 0;
    // The desktop (or the message-only root) for top-level windows.
    Window* parent = nullptr;
    Window* owner = nullptr;
    // In z-order, topmost first.
    std::vector<Window*> children;
    // In the parent's client coordinates (screen coordinates for top-level windows).
    TRect rect;
    // In window coordinates: relative to the window's top-left corner.
    TRect clientRect;
    WideString text;
    LONG_PTR id = 0;
    LONG_PTR userData = 0;
    HINSTANCE instance = nullptr;
    std::vector<Byte> extra;
    std::vector<WindowProperty> properties;

    // Painting: the client area's update region in client coordinates.
    Region updateRegion;
    bool eraseNeeded = false;
    bool frameNeedsPaint = false;
    bool internalPaint = false;
    bool redrawDisabled = false;
    // In window coordinates; input and painting stay inside it.
    std::optional<Region> windowRegion;
    // Top-level windows keep their pixels, frame included.
    std::shared_ptr<PixelSurface> surface;
    // What changed on the surface since the backend was last shown it.
    TRect presentPending;

    ScrollBarState horizontalBar;
    ScrollBarState verticalBar;

    TRect restoredRect;
    HICON smallIcon = nullptr;
    HICON bigIcon = nullptr;
    bool destroying = false;
    // The caption is drawn in the active colours.
    bool captionActive = false;
};

struct QueuedMessage {
    MSG msg;
    CharSet charSet = CharSet::Wide;
};

// Raw input as the backend hands it over; the target window is found when the
// thread retrieves it, as Windows decides it at that moment.
struct InputEvent {
    enum class Kind { Key, Mouse, Characters };
    Kind kind = Kind::Key;
    UINT message = 0;
    // Keys: the virtual key and the message's lParam; characters: one code unit.
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    WideString characters;
    POINT point;
    DWORD time = 0;
    // Filled once the target is known.
    bool resolved = false;
    MSG msg;
    LRESULT hitTest = 0;
};

// A message sent from another thread, waiting for this thread to handle it.
struct CrossThreadSend {
    HWND window = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    CharSet charSet = CharSet::Wide;
    // The text lParam points to, kept here for a sender that stops waiting.
    AnsiString ansiText;
    WideString wideText;
    LRESULT result = 0;
    // Set under the sender's lock when the receiver has answered; `windowGone`
    // when the window was destroyed before or while it handled the message.
    bool done = false;
    bool windowGone = false;
    std::shared_ptr<ThreadState> sender;
};

struct Timer {
    HWND window = nullptr;
    UINT_PTR id = 0;
    UINT interval = 0;
    TIMERPROC procedure = nullptr;
    DWORD due = 0;
};

struct Hook {
    HHOOK handle = nullptr;
    int type = 0;
    HOOKPROC procedure = nullptr;
    CharSet charSet = CharSet::Wide;
};

struct CaretState {
    HWND window = nullptr;
    HBITMAP bitmap = nullptr;
    int width = 0;
    int height = 0;
    POINT position;
    int hideCount = 0;
    // The caret's pixels are inverted on the window right now.
    bool drawn = false;
    DWORD nextBlink = 0;
};

struct ThreadState {
    DWORD id = 0;

    // Guards what other threads touch: the queues and the quit flag.
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<QueuedMessage> posted;
    std::deque<InputEvent> input;
    std::deque<std::shared_ptr<CrossThreadSend>> incomingSends;
    bool quitPosted = false;
    int quitCode = 0;
    // When the thread last looked at its queue, and whether it is waiting for
    // messages now: a thread that does neither for long does not respond.
    std::atomic<DWORD> lastQueueVisit{0};
    std::atomic<bool> waitingForMessages{false};

    // Touched by the owning thread only.
    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;
    std::vector<Hook> hooks;
    std::vector<Timer> timers;
    CaretState caret;
    std::array<BYTE, 256> keyState{};
    DWORD lastMessageTime = 0;
    POINT lastMessagePoint;
    // The characters the backend reported for the key-down last retrieved.
    MSG lastKeyDown;
    WideString lastKeyDownCharacters;
    // Double clicks: the last button press.
    UINT lastClickMessage = 0;
    HWND lastClickWindow = nullptr;
    DWORD lastClickTime = 0;
    POINT lastClickPoint;
    // TrackMouseEvent.
    HWND mouseTrackWindow = nullptr;
    DWORD mouseTrackFlags = 0;
    DWORD hoverTime = 0;
    DWORD hoverDue = 0;
    HWND mouseWindow = nullptr;
    int modalLoops = 0;
};

// ---- Threads ----

ThreadState& CurrentThread();
std::shared_ptr<ThreadState> CurrentThreadShared();
// Null when the thread has no queue yet.
std::shared_ptr<ThreadState> ThreadById(DWORD id);
// The thread that takes the user's input: the owner of the foreground window,
// or the first thread that created a window.
std::shared_ptr<ThreadState> InputThread();
void SetForegroundThread(const std::shared_ptr<ThreadState>& thread);
// Wakes the thread if it is waiting for messages.
void WakeThread(ThreadState& thread);
DWORD CurrentThreadIdentifier();

// ---- Handles ----

std::recursive_mutex& WindowTableMutex();
// Null for an unknown handle (no error is set).
Window* FindWindowObject(HWND handle);
// Null with ERROR_INVALID_WINDOW_HANDLE for an unknown handle.
Window* WindowOrError(HWND handle);
HWND InsertWindowObject(std::unique_ptr<Window> window);
void EraseWindowObject(HWND handle);
// Every window of the thread, parents before their children.
std::vector<HWND> WindowsOfThread(const ThreadState& thread);

// The parent of top-level windows and the parent of message-only windows.
Window& DesktopWindowObject();
Window& MessageRootObject();
bool IsRootWindow(const Window& window);
bool IsTopLevelWindow(const Window& window);
// The ancestor whose parent is a root (the window itself when top-level).
Window* TopLevelOf(Window* window);
bool IsDescendantOf(const Window* window, const Window* ancestor);

// ---- Geometry ----

TPoint WindowOriginOnScreen(const Window& window);
TRect WindowRectOnScreen(const Window& window);
TPoint ClientOriginOnScreen(const Window& window);
TRect ClientRectOnScreen(const Window& window);
// The window's top-left corner on its top-level window's surface.
TPoint OriginInTopLevel(const Window& window);
// Visible itself and all its ancestors.
bool IsShowing(const Window& window);

TRect IntersectRects(const TRect& a, const TRect& b);
TRect UnionRects(const TRect& a, const TRect& b);
bool IsEmptyRect(const TRect& rect);
bool RectContains(const TRect& rect, POINT point);
TRect OffsetRectBy(const TRect& rect, int dx, int dy);
