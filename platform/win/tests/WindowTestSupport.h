// What the window tests share: a fixture that leaves no window, hook, timer
// or focus behind, a window procedure that records the messages it sees, and
// helpers that deliver input and pump the queue.
#pragma once

#include "platform/core/CodePages.h"
#include "platform/win/BackendInterface.h"
#include "platform/win/Caret.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Focus.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Messages.h"
#include "platform/win/Mouse.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowProcedures.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace window_tests {

inline const std::map<UINT, std::string>& messageNames() {
    static const std::map<UINT, std::string> names = {
        {WM_CREATE, "WM_CREATE"},
        {WM_DESTROY, "WM_DESTROY"},
        {WM_MOVE, "WM_MOVE"},
        {WM_SIZE, "WM_SIZE"},
        {WM_ACTIVATE, "WM_ACTIVATE"},
        {WM_SETFOCUS, "WM_SETFOCUS"},
        {WM_KILLFOCUS, "WM_KILLFOCUS"},
        {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
        {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
        {WM_CANCELMODE, "WM_CANCELMODE"},
        {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"},
        {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
        {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
        {WM_NCCREATE, "WM_NCCREATE"},
        {WM_NCDESTROY, "WM_NCDESTROY"},
        {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
        {WM_NCACTIVATE, "WM_NCACTIVATE"},
        {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
        {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
        {WM_KEYDOWN, "WM_KEYDOWN"},
        {WM_KEYUP, "WM_KEYUP"},
        {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"},
        {WM_SYSKEYUP, "WM_SYSKEYUP"},
        {WM_CHAR, "WM_CHAR"},
        {WM_SYSCHAR, "WM_SYSCHAR"},
        {WM_HSCROLL, "WM_HSCROLL"},
        {WM_VSCROLL, "WM_VSCROLL"},
        {WM_TIMER, "WM_TIMER"},
        {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
        {WM_LBUTTONUP, "WM_LBUTTONUP"},
        {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
        {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
        {WM_MOUSEWHEEL, "WM_MOUSEWHEEL"},
        {WM_ENABLE, "WM_ENABLE"},
    };
    return names;
}

// The messages recorded, as "window:WM_NAME".
inline std::vector<std::string>& Log() {
    static std::vector<std::string> entries;
    return entries;
}

inline std::map<HWND, std::string>& WindowNames() {
    static std::map<HWND, std::string> names;
    return names;
}

inline void Record(HWND window, UINT message) {
    auto name = messageNames().find(message);
    if (name == messageNames().end()) return;
    auto known = WindowNames().find(window);
    Log().push_back((known == WindowNames().end() ? std::string("?") : known->second) + ":" + name->second);
}

// Records the message and passes it to the default procedure. The window's
// name comes from the creation parameter (a char*), so that WM_NCCREATE is
// recorded under it too.
inline LRESULT RecordingProcedureW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (create->lpCreateParams) WindowNames()[window] = static_cast<const char*>(create->lpCreateParams);
    }
    Record(window, message);
    return DefWindowProcW(window, message, wParam, lParam);
}

inline LRESULT RecordingProcedureA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (create->lpCreateParams) WindowNames()[window] = static_cast<const char*>(create->lpCreateParams);
    }
    Record(window, message);
    return DefWindowProcA(window, message, wParam, lParam);
}

constexpr const WCHAR* RecordingClass = u"RecordingWindow";
constexpr const char* RecordingClassAnsi = "RecordingWindowAnsi";

inline void RegisterRecordingClasses() {
    static bool done = [] {
        WNDCLASSEXW wide;
        wide.style = CS_DBLCLKS;
        wide.lpfnWndProc = WindowProcFromFunction(RecordingProcedureW);
        wide.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(COLOR_WINDOW + 1));
        wide.lpszClassName = RecordingClass;
        RegisterClassExW(&wide);
        WNDCLASSEXA ansi;
        ansi.lpfnWndProc = WindowProcFromFunction(RecordingProcedureA);
        ansi.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(COLOR_WINDOW + 1));
        ansi.lpszClassName = RecordingClassAnsi;
        RegisterClassExA(&ansi);
        return true;
    }();
    (void)done;
}

inline void ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

inline POINT ScreenPoint(HWND window, POINT client) {
    ClientToScreen(window, &client);
    return client;
}

inline void Click(HWND window, POINT client) {
    POINT screen = ScreenPoint(window, client);
    DeliverMouseMove(screen);
    DeliverMouseButton(MouseButton::Left, true, screen);
    DeliverMouseButton(MouseButton::Left, false, screen);
}

inline void PressKey(UINT key, std::initializer_list<UINT> modifiers = {}) {
    for (UINT modifier : modifiers)
        DeliverKey(modifier, true);
    DeliverKey(key, true);
    DeliverKey(key, false);
    for (auto modifier = std::rbegin(modifiers); modifier != std::rend(modifiers); ++modifier)
        DeliverKey(*modifier, false);
}

inline BOOL destroyEach(HWND window, LPARAM) {
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) DestroyWindow(window);
    return TRUE;
}

// Every test starts with an empty log and ends with no window, focus,
// capture, caret or queued message of the thread left.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterRecordingClasses();
        Log().clear();
    }
    void TearDown() override {
        ReleaseCapture();
        DestroyCaret();
        EnumWindows(destroyEach, 0);
        EnumChildWindows(HWND_MESSAGE, destroyEach, 0);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        BYTE released[256] = {};
        SetKeyboardState(released);
        for (UINT key : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LBUTTON, VK_RBUTTON, VK_MBUTTON})
            if (GetAsyncKeyState(static_cast<int>(key)) < 0) DeliverKey(key, false);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        WindowNames().clear();
        Log().clear();
    }

    // A window of the recording class, named for the log.
    HWND Create(const char* name, DWORD style, HWND parent = nullptr, TRect rect = {10, 10, 210, 160},
                DWORD exStyle = 0) {
        return CreateWindowExW(exStyle, RecordingClass, u"", style, rect.Left, rect.Top, rect.Width(),
                               rect.Height(), parent, nullptr, nullptr, const_cast<char*>(name));
    }

    std::vector<std::string> LogOf(const std::string& window) const {
        std::vector<std::string> entries;
        for (const std::string& entry : Log())
            if (entry.rfind(window + ":", 0) == 0) entries.push_back(entry);
        return entries;
    }
};

} // namespace window_tests
