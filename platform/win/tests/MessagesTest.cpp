#include "WindowTestSupport.h"

#include "platform/win/Hooks.h"
#include "platform/win/Painting.h"

#include <thread>

using namespace window_tests;

namespace {

class MessageQueueTest : public WindowTest {};

TEST_F(MessageQueueTest, PostedMessagesComeBeforePaintAndKeepTheirOrder) {
    HWND window = Create("main", WS_POPUP | WS_VISIBLE);
    ProcessMessages();
    InvalidateRect(window, nullptr, TRUE);
    PostMessageW(window, WM_USER + 1, 0, 0);
    PostMessageW(window, WM_USER + 2, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 1);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 2);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_PAINT);
}

TEST_F(MessageQueueTest, FiltersTakeWindowsRangesAndThreadMessages) {
    HWND first = Create("first", WS_POPUP);
    HWND second = Create("second", WS_POPUP);
    PostMessageW(first, WM_USER, 1, 0);
    PostMessageW(second, WM_USER + 5, 2, 0);
    PostThreadMessageW(GetCurrentThreadId(), WM_APP, 3, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, second, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.wParam, 2u);
    ASSERT_TRUE(PeekMessageW(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_APP);
    EXPECT_EQ(msg.hwnd, nullptr);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_USER + 1, WM_USER + 10, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 2u);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueueTest, QuitEndsGetMessageAfterThePostedMessages) {
    PostQuitMessage(3);
    PostThreadMessageW(GetCurrentThreadId(), WM_USER, 0, 0);
    MSG msg;
    EXPECT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_USER);
    EXPECT_FALSE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(MessageQueueTest, PostedCharactersKeepTheirCharsetUntilRetrieved) {
    HWND window = Create("main", WS_POPUP);
    PostMessageA(window, WM_CHAR, 0x80, 0);
    PostMessageW(window, WM_CHAR, 0x4E2D, 0);
    PostMessageW(window, WM_KEYDOWN, 0x80, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0x20ACu);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>('?'));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0x80u);
}

TEST_F(MessageQueueTest, PointerMessagesCannotBePosted) {
    HWND window = Create("main", WS_POPUP);
    EXPECT_FALSE(PostMessageW(window, WM_SETTEXT, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_MESSAGE_SYNC_ONLY);
    EXPECT_FALSE(PostMessageW(reinterpret_cast<HWND>(0x7FFF0000), WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(MessageQueueTest, AnotherThreadPostsAndSendsToTheWindow) {
    HWND window = Create("main", WS_POPUP);
    SetWindowTextW(window, u"shared");
    std::thread other([window] {
        PostMessageW(window, WM_USER, 42, 0);
        WCHAR text[16] = {};
        // Sent from another thread: answered when the window's thread retrieves messages.
        SendMessageW(window, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(text));
        PostMessageW(window, WM_USER + 1, text[0] == u's', 0);
    });
    MSG msg;
    ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.wParam, 42u);
    ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_USER + 1);
    EXPECT_EQ(msg.wParam, 1u);
    other.join();
}

// ---- Hooks ----

class HookTest : public WindowTest {};

HHOOK rewritingHook = nullptr;
std::vector<WPARAM> dispatchedByHook;

// Takes wide characters out of the queue, dispatches them itself and leaves WM_NULL behind.
LRESULT takeWideCharacters(int code, WPARAM removing, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code >= 0 && removing == PM_REMOVE && msg->message == WM_CHAR && msg->wParam >= 0x100) {
        dispatchedByHook.push_back(msg->wParam);
        DispatchMessageW(msg);
        msg->message = WM_NULL;
    }
    return CallNextHookEx(rewritingHook, code, removing, lParam);
}

TEST_F(HookTest, AGetMessageHookRewritesWhatTheCallerReceives) {
    HWND window = Create("main", WS_POPUP);
    Log().clear();
    rewritingHook = SetWindowsHookExW(WH_GETMESSAGE, takeWideCharacters, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(rewritingHook);
    PostMessageW(window, WM_CHAR, 0x3042, 0);
    PostMessageW(window, WM_CHAR, 'x', 0);
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_NULL);
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_CHAR);
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>('x'));
    EXPECT_EQ(dispatchedByHook, std::vector<WPARAM>{0x3042});
    EXPECT_EQ(LogOf("main"), std::vector<std::string>{"main:WM_CHAR"});
    // Peeking without removing leaves the message alone.
    PostMessageW(window, WM_CHAR, 0x3043, 0);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_CHAR);
    EXPECT_TRUE(UnhookWindowsHookEx(rewritingHook));
    EXPECT_FALSE(UnhookWindowsHookEx(rewritingHook));
}

HHOOK ansiHook = nullptr;
WPARAM seenByAnsiHook = 0;

LRESULT watchAnsi(int code, WPARAM removing, LPARAM lParam) {
    seenByAnsiHook = reinterpret_cast<MSG*>(lParam)->wParam;
    return CallNextHookEx(ansiHook, code, removing, lParam);
}

TEST_F(HookTest, AnAnsiHookSeesCharactersInItsCodePage) {
    HWND window = Create("main", WS_POPUP);
    ansiHook = SetWindowsHookExA(WH_GETMESSAGE, watchAnsi, nullptr, 0);
    PostMessageW(window, WM_CHAR, 0x20AC, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(seenByAnsiHook, 0x80u);
    EXPECT_EQ(msg.wParam, 0x20ACu);
    UnhookWindowsHookEx(ansiHook);
}

HHOOK sentHook = nullptr;
std::vector<UINT> sentSeen;
HHOOK keyHook = nullptr;

LRESULT watchSent(int code, WPARAM wParam, LPARAM lParam) {
    sentSeen.push_back(reinterpret_cast<CWPSTRUCT*>(lParam)->message);
    return CallNextHookEx(sentHook, code, wParam, lParam);
}

LRESULT swallowF5(int code, WPARAM key, LPARAM lParam) {
    if (key == VK_F5) return 1;
    return CallNextHookEx(keyHook, code, key, lParam);
}

TEST_F(HookTest, WindowProcedureAndKeyboardHooksSeeTheirMessages) {
    HWND window = Create("main", WS_POPUP | WS_VISIBLE);
    SetFocus(window);
    sentHook = SetWindowsHookExW(WH_CALLWNDPROC, watchSent, nullptr, 0);
    keyHook = SetWindowsHookExW(WH_KEYBOARD, swallowF5, nullptr, 0);
    SendMessageW(window, WM_USER + 7, 0, 0);
    EXPECT_EQ(sentSeen, std::vector<UINT>{WM_USER + 7});
    Log().clear();
    PressKey(VK_F5);
    PressKey(VK_F6);
    ProcessMessages();
    EXPECT_EQ(Log(), (std::vector<std::string>{"main:WM_KEYDOWN", "main:WM_KEYUP"}));
    UnhookWindowsHookEx(sentHook);
    UnhookWindowsHookEx(keyHook);
}

} // namespace
