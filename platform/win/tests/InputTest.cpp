#include "WindowTestSupport.h"

#include "platform/win/Cursors.h"
#include "platform/win/DropFiles.h"

using namespace window_tests;
using Strings = std::vector<std::string>;

namespace {

class FocusTest : public WindowTest {
protected:
    HWND main = nullptr;
    HWND left = nullptr;
    HWND right = nullptr;

    void SetUp() override {
        WindowTest::SetUp();
        main = Create("main", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        left = Create("left", WS_CHILD | WS_VISIBLE, main, {0, 0, 50, 50});
        right = Create("right", WS_CHILD | WS_VISIBLE, main, {60, 0, 110, 50});
        ProcessMessages();
        Log().clear();
    }
};

TEST_F(FocusTest, SetFocusSendsKillFocusThenSetFocus) {
    EXPECT_EQ(SetFocus(left), main);
    EXPECT_EQ(GetFocus(), left);
    Log().clear();
    EXPECT_EQ(SetFocus(right), left);
    EXPECT_EQ(Log(), (Strings{"left:WM_KILLFOCUS", "right:WM_SETFOCUS"}));
    EnableWindow(right, FALSE);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(FocusTest, ActivatingAnotherWindowMovesActivationAndFocus) {
    EXPECT_EQ(GetActiveWindow(), main);
    SetFocus(left);
    HWND other = Create("other", WS_OVERLAPPEDWINDOW);
    Log().clear();
    ShowWindow(other, SW_SHOW);
    EXPECT_EQ(GetActiveWindow(), other);
    EXPECT_EQ(GetFocus(), other);
    EXPECT_EQ(Log(), (Strings{"other:WM_SHOWWINDOW", "other:WM_WINDOWPOSCHANGING", "main:WM_NCACTIVATE",
                              "main:WM_ACTIVATE", "other:WM_NCACTIVATE", "other:WM_ACTIVATE",
                              "left:WM_KILLFOCUS", "other:WM_SETFOCUS", "other:WM_WINDOWPOSCHANGED"}));
    Log().clear();
    DestroyWindow(other);
    EXPECT_EQ(GetActiveWindow(), main);
    Log().clear();
    SetActiveWindow(nullptr);
    EXPECT_EQ(LogOf("main"), (Strings{"main:WM_NCACTIVATE", "main:WM_ACTIVATE", "main:WM_ACTIVATEAPP",
                                      "main:WM_KILLFOCUS"}));
}

TEST_F(FocusTest, CaptureChangesAreReportedAndMouseInputFollowsTheCapture) {
    SetCapture(left);
    EXPECT_EQ(SetCapture(right), left);
    EXPECT_EQ(Log(), Strings{"left:WM_CAPTURECHANGED"});
    Log().clear();
    POINT outside = ScreenPoint(left, {20, 20});
    DeliverMouseMove(outside);
    ProcessMessages();
    EXPECT_EQ(LogOf("right"), Strings{"right:WM_MOUSEMOVE"});
    ReleaseCapture();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(LogOf("right").back(), "right:WM_CAPTURECHANGED");
    SetCapture(left);
    Log().clear();
    SendMessageW(left, WM_CANCELMODE, 0, 0);
    EXPECT_EQ(GetCapture(), nullptr);
}

// A hidden top-level window that holds the capture (as a drop-down's owner
// does) gets the click without being activated, and the focus stays.
TEST_F(FocusTest, ACapturedClickActivatesNothing) {
    HWND hidden = Create("hidden", WS_POPUP);
    SetFocus(left);
    SetCapture(hidden);
    Log().clear();
    POINT point = ScreenPoint(right, {5, 5});
    DeliverMouseButton(MouseButton::Left, true, point);
    DeliverMouseButton(MouseButton::Left, false, point);
    ProcessMessages();
    EXPECT_EQ(LogOf("hidden"), (Strings{"hidden:WM_LBUTTONDOWN", "hidden:WM_LBUTTONUP"}));
    EXPECT_EQ(GetActiveWindow(), main);
    EXPECT_EQ(GetFocus(), left);
    ReleaseCapture();
}

// ---- Keyboard ----

class KeyboardTest : public WindowTest {
protected:
    HWND window = nullptr;
    std::vector<std::pair<UINT, WPARAM>> characters;

    void SetUp() override {
        WindowTest::SetUp();
        window = Create("main", WS_POPUP | WS_VISIBLE);
        SetFocus(window);
        ProcessMessages();
    }

    // Retrieves and translates; returns the character messages with their codes.
    std::vector<std::pair<UINT, WPARAM>> typed() {
        std::vector<std::pair<UINT, WPARAM>> found;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR)
                found.emplace_back(msg.message, msg.wParam);
            DispatchMessageW(&msg);
        }
        return found;
    }
};

TEST_F(KeyboardTest, KeysTranslateToTheirCharacters) {
    struct Case {
        UINT key;
        std::initializer_list<UINT> modifiers;
        UINT message;
        WPARAM character;
    };
    const Case cases[] = {
        {'A', {}, WM_CHAR, 'a'},
        {'A', {VK_SHIFT}, WM_CHAR, 'A'},
        {'C', {VK_CONTROL}, WM_CHAR, 3},
        {'1', {VK_SHIFT}, WM_CHAR, '!'},
        {VK_OEM_2, {VK_SHIFT}, WM_CHAR, '?'},
        {VK_RETURN, {}, WM_CHAR, '\r'},
        {VK_BACK, {VK_MENU}, WM_SYSCHAR, 8},
        {VK_BACK, {VK_CONTROL}, WM_CHAR, 0x7F},
    };
    for (const Case& each : cases) {
        PressKey(each.key, each.modifiers);
        auto found = typed();
        ASSERT_EQ(found.size(), 1u) << each.key;
        EXPECT_EQ(found[0].first, each.message) << each.key;
        EXPECT_EQ(found[0].second, each.character) << each.key;
    }
}

TEST_F(KeyboardTest, AltKeysBecomeSystemKeysWithTheContextBit) {
    DeliverKey(VK_MENU, true);
    DeliverKey(VK_BACK, true);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_SYSKEYDOWN);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_SYSKEYDOWN);
    EXPECT_EQ(msg.wParam, VK_BACK);
    EXPECT_TRUE(msg.lParam & KF_ALTDOWN_BIT);
    EXPECT_LT(GetKeyState(VK_MENU), 0);
    TranslateMessage(&msg);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_SYSCHAR);
    EXPECT_TRUE(msg.lParam & KF_ALTDOWN_BIT);
    DeliverKey(VK_BACK, false);
    DeliverKey(VK_MENU, false);
    typed();
}

TEST_F(KeyboardTest, TheBackendsCharactersWinAndTextArrivesAsCodeUnits) {
    DeliverKey('E', true, u"\u00E9");
    DeliverKey('E', false);
    EXPECT_EQ(typed(), (std::vector<std::pair<UINT, WPARAM>>{{WM_CHAR, 0xE9}}));
    DeliverCharacters(u"\U0001F600");
    EXPECT_EQ(typed(), (std::vector<std::pair<UINT, WPARAM>>{{WM_CHAR, 0xD83D}, {WM_CHAR, 0xDE00}}));
}

TEST_F(KeyboardTest, KeyStateFollowsRetrievalAndAsyncStateFollowsTheKeyboard) {
    DeliverKey(VK_ESCAPE, true);
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE) & 0x8001, 0x8001);
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE) & 1, 0);
    EXPECT_GE(GetKeyState(VK_ESCAPE), 0);
    typed();
    EXPECT_LT(GetKeyState(VK_ESCAPE), 0);
    DeliverKey(VK_ESCAPE, false);
    typed();
    EXPECT_GE(GetKeyState(VK_ESCAPE), 0);
}

// ---- Mouse ----

class MouseTest : public WindowTest {};

TEST_F(MouseTest, DoubleClicksNeedTheClassStyleTimeAndPlace) {
    HWND withDoubleClicks = Create("double", WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 100, 100});
    Click(withDoubleClicks, {10, 10});
    Click(withDoubleClicks, {11, 11});
    Click(withDoubleClicks, {11, 11});
    ProcessMessages();
    Strings clicks;
    for (const std::string& entry : LogOf("double"))
        if (entry.find("BUTTON") != std::string::npos) clicks.push_back(entry);
    EXPECT_EQ(clicks, (Strings{"double:WM_LBUTTONDOWN", "double:WM_LBUTTONUP", "double:WM_LBUTTONDBLCLK",
                               "double:WM_LBUTTONUP", "double:WM_LBUTTONDOWN", "double:WM_LBUTTONUP"}));
    Log().clear();
    Click(withDoubleClicks, {70, 70});
    Click(withDoubleClicks, {10, 10});
    ProcessMessages();
    EXPECT_EQ(std::count(Log().begin(), Log().end(), "double:WM_LBUTTONDBLCLK"), 0);
}

TEST_F(MouseTest, TheWheelGoesToTheFocusWindowAndUpToItsParent) {
    HWND main = Create("main", WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 100, 100});
    HWND child = Create("child", WS_CHILD | WS_VISIBLE, main, {0, 0, 50, 50});
    SetFocus(child);
    Log().clear();
    DeliverMouseWheel(-WHEEL_DELTA, {300, 300});
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_MOUSEWHEEL, WM_MOUSEWHEEL, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, child);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(msg.wParam), -WHEEL_DELTA);
    DispatchMessageW(&msg);
    EXPECT_EQ(LogOf("main"), Strings{"main:WM_MOUSEWHEEL"});
}

TEST_F(MouseTest, TheClassCursorIsSetOverTheClientArea) {
    WNDCLASSW windowClass;
    windowClass.lpfnWndProc = WindowProcFromFunction(DefWindowProcW);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    windowClass.lpszClassName = u"WithIBeam";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, u"WithIBeam", u"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                  nullptr, nullptr);
    DeliverMouseMove(ScreenPoint(window, {5, 5}));
    ProcessMessages();
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_IBEAM));
    EXPECT_EQ(ShapeOfCursor(GetCursor()), CursorShape::IBeam);
}

TEST_F(MouseTest, DroppedFilesReachTheAcceptingWindow) {
    HWND window = Create("main", WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 100, 100});
    HWND child = Create("child", WS_CHILD | WS_VISIBLE, window, {0, 0, 50, 50});
    DragAcceptFiles(window, TRUE);
    DeliverDroppedFiles(ScreenPoint(child, {5, 6}), {u"/tmp/a.htm", u"/tmp/b\u00E9.js"});
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_DROPFILES, WM_DROPFILES, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, window);
    auto drop = reinterpret_cast<HDROP>(msg.wParam);
    EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 2u);
    char name[32] = {};
    EXPECT_EQ(DragQueryFileA(drop, 1, name, 32), 10u);
    EXPECT_EQ(std::string(name), "/tmp/b\xE9.js");
    POINT point;
    EXPECT_TRUE(DragQueryPoint(drop, &point));
    EXPECT_EQ(point, (POINT{5, 6}));
    DragFinish(drop);
    EXPECT_EQ(DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0), 0u);
}

} // namespace
