#include "WindowTestSupport.h"

#include "platform/win/Hooks.h"
#include "platform/win/Painting.h"

#include "platform/core/Clock.h"
#include "platform/core/CodePages.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <thread>
#include <utility>

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

// ---- Sending with a time-out ----

namespace {

constexpr UINT SlowAnswer = WM_USER + 1;
constexpr UINT CallTheSenderBack = WM_USER + 2;
constexpr UINT CalledBack = WM_USER + 3;
constexpr UINT DestroyYourself = WM_USER + 4;
constexpr UINT RecordArrival = WM_USER + 5;
constexpr DWORD SlowAnswerMilliseconds = 200;

std::mutex receivedMutex;
std::vector<std::string> received;

void noteReceived(const std::string& entry) {
    std::lock_guard lock(receivedMutex);
    received.push_back(entry);
}

std::vector<std::string> takeReceived() {
    std::lock_guard lock(receivedMutex);
    return std::exchange(received, {});
}

LRESULT answerOnOtherThread(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool ansi) {
    switch (message) {
    case WM_WININICHANGE:
        noteReceived(ansi ? std::string("A:") + reinterpret_cast<const char*>(lParam)
                          : "W:" + WideToAnsi(reinterpret_cast<const WCHAR*>(lParam)));
        return 0;
    case SlowAnswer:
        std::this_thread::sleep_for(std::chrono::milliseconds(SlowAnswerMilliseconds));
        return 7;
    case CallTheSenderBack:
        return SendMessageW(reinterpret_cast<HWND>(wParam), CalledBack, 0, 0);
    case DestroyYourself:
        DestroyWindow(window);
        return 9;
    case RecordArrival:
        noteReceived("arrived");
        return 0;
    default:
        return ansi ? DefWindowProcA(window, message, wParam, lParam)
                    : DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT answeringProcedureW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return answerOnOtherThread(window, message, wParam, lParam, false);
}
LRESULT answeringProcedureA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return answerOnOtherThread(window, message, wParam, lParam, true);
}

// A top-level window on a thread of its own, which answers messages once it
// is let go to retrieve them; until then it looks at no message.
class OtherThreadWindow {
public:
    explicit OtherThreadWindow(bool ansi = false) {
        std::promise<HWND> created;
        std::future<HWND> window = created.get_future();
        thread_ = std::thread([this, ansi, &created] { run(ansi, created); });
        window_ = window.get();
    }
    ~OtherThreadWindow() {
        LetGo();
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    OtherThreadWindow(const OtherThreadWindow&) = delete;
    OtherThreadWindow& operator=(const OtherThreadWindow&) = delete;

    HWND Window() const { return window_; }
    void LetGo() {
        if (!released_.exchange(true)) gate_.set_value();
    }

private:
    void run(bool ansi, std::promise<HWND>& created) {
        static const bool registered = [] {
            WNDCLASSEXW wide{};
            wide.lpfnWndProc = WindowProcFromFunction(answeringProcedureW);
            wide.lpszClassName = u"AnsweringWindow";
            RegisterClassExW(&wide);
            WNDCLASSEXA narrow{};
            narrow.lpfnWndProc = WindowProcFromFunction(answeringProcedureA);
            narrow.lpszClassName = "AnsweringWindowAnsi";
            RegisterClassExA(&narrow);
            return true;
        }();
        (void)registered;
        HWND window = ansi ? CreateWindowExA(0, "AnsweringWindowAnsi", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                             nullptr, nullptr, nullptr)
                           : CreateWindowExW(0, u"AnsweringWindow", u"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                             nullptr, nullptr, nullptr);
        threadId_ = GetCurrentThreadId();
        created.set_value(window);
        gate_.get_future().wait();
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0)
            DispatchMessageW(&msg);
        if (IsWindow(window)) DestroyWindow(window);
    }

    std::thread thread_;
    HWND window_ = nullptr;
    DWORD threadId_ = 0;
    std::promise<void> gate_;
    std::atomic<bool> released_{false};
};

class SendTimeoutTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        takeReceived();
    }
    void TearDown() override {
        if (IsClockStepped()) UseSteppedClock(false);
        WindowTest::TearDown();
    }
};

TEST_F(SendTimeoutTest, ASettingsBroadcastReachesEveryTopLevelWindowWithItsSectionInItsCharset) {
    OtherThreadWindow wide, ansi(true);
    wide.LetGo();
    ansi.LetGo();
    HWND own = CreateWindowExW(0, u"AnsweringWindow", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                               nullptr);
    CreateWindowExW(0, u"AnsweringWindow", u"", WS_CHILD, 0, 0, 5, 5, own, nullptr, nullptr, nullptr);
    DWORD_PTR result = 99;
    EXPECT_TRUE(SendMessageTimeoutW(HWND_BROADCAST, WM_WININICHANGE, 0,
                                    reinterpret_cast<LPARAM>(u"FontSubstitutes"), SMTO_NORMAL, 250, &result));
    EXPECT_EQ(result, 0u);
    std::vector<std::string> got = takeReceived();
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (std::vector<std::string>{"A:FontSubstitutes", "W:FontSubstitutes", "W:FontSubstitutes"}));
}

TEST_F(SendTimeoutTest, TheFlagsDecideHowLongTheSenderWaitsAndWhatItAnswers) {
    HWND own = Create("own", WS_POPUP);
    struct Case {
        const char* name;
        UINT message;
        UINT flags;
        UINT timeout;
        BOOL succeeds;
        DWORD_PTR result;
    } cases[] = {
        {"answer in time", SlowAnswer, SMTO_NORMAL, 2000, TRUE, 7},
        {"answer too slow", SlowAnswer, SMTO_NORMAL, 20, FALSE, 0},
        {"slow but responding", SlowAnswer, SMTO_NOTIMEOUTIFNOTHUNG, 20, TRUE, 7},
        {"calls the sender back", CallTheSenderBack, SMTO_NORMAL, 2000, TRUE, 0},
        {"calls back a blocked sender", CallTheSenderBack, SMTO_BLOCK, 100, FALSE, 0},
        {"destroyed while answering", DestroyYourself, SMTO_NORMAL, 2000, TRUE, 9},
        {"destroyed, with error on exit", DestroyYourself, SMTO_ERRORONEXIT, 2000, FALSE, 0},
    };
    for (const Case& c : cases) {
        OtherThreadWindow other;
        other.LetGo();
        SetLastError(ERROR_SUCCESS);
        DWORD_PTR result = 0;
        EXPECT_EQ(SendMessageTimeoutW(other.Window(), c.message, reinterpret_cast<WPARAM>(own), 0, c.flags,
                                      c.timeout, &result),
                  c.succeeds)
            << c.name;
        if (c.succeeds) {
            EXPECT_EQ(result, c.result) << c.name;
        } else {
            EXPECT_EQ(GetLastError(),
                      c.message == DestroyYourself ? ERROR_INVALID_WINDOW_HANDLE : ERROR_TIMEOUT)
                << c.name;
        }
        // A blocked sender answers the call back once it looks at its queue again.
        ProcessMessages();
    }
}

TEST_F(SendTimeoutTest, AMessageThatTimedOutArrivesWhenTheReceiverGetsToIt) {
    OtherThreadWindow other;
    EXPECT_FALSE(SendMessageTimeoutW(other.Window(), RecordArrival, 0, 0, SMTO_NORMAL, 30, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_TIMEOUT);
    EXPECT_TRUE(takeReceived().empty());
    other.LetGo();
    EXPECT_TRUE(SendMessageTimeoutW(other.Window(), WM_NULL, 0, 0, SMTO_NORMAL, 2000, nullptr));
    EXPECT_EQ(takeReceived(), std::vector<std::string>{"arrived"});
}

TEST_F(SendTimeoutTest, AThreadThatLooksAtNoMessageForFiveSecondsIsGivenUpAtOnce) {
    OtherThreadWindow other;
    UseSteppedClock(true);
    AdvanceClock(5001);
    const DWORD before = ClockMilliseconds();
    EXPECT_FALSE(SendMessageTimeoutW(other.Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 60000, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_TIMEOUT);
    EXPECT_EQ(ClockMilliseconds(), before);
    UseSteppedClock(false);
}

TEST_F(SendTimeoutTest, TheCallersOwnWindowIsCalledAtOnceAndABadWindowFails) {
    HWND own = Create("own", WS_POPUP);
    SetWindowTextW(own, u"mine");
    DWORD_PTR result = 0;
    EXPECT_TRUE(SendMessageTimeoutA(own, WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, 0, &result));
    EXPECT_EQ(result, 4u);
    EXPECT_FALSE(
        SendMessageTimeoutW(reinterpret_cast<HWND>(0x7FFF0000), WM_NULL, 0, 0, SMTO_NORMAL, 10, &result));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

} // namespace
