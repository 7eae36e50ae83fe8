#include "CommonControlTestSupport.h"

#include "platform/win/Messages.h"

#include <cstring>

using namespace control_tests;
using namespace window_tests;

namespace {

class ToolTipTest : public ControlTest {
protected:
    HWND parent = nullptr;
    HWND tip = nullptr;
    void makeTip(bool ansiParent) {
        parent = ansiParent ? AnsiParent(400, 300) : WideParent(400, 300);
        tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 10, 10,
                              parent, nullptr, nullptr, nullptr);
    }
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageW(tip, message, wParam, lParam);
    }
    void addTool(UINT_PTR id, RECT rect, const WCHAR* text, UINT flags = 0) {
        TTTOOLINFOW tool;
        tool.uFlags = flags;
        tool.hwnd = parent;
        tool.uId = id;
        tool.rect = rect;
        tool.lpszText = const_cast<WCHAR*>(text);
        EXPECT_TRUE(send(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)));
    }
    void relayMove(POINT point) {
        MSG msg;
        msg.hwnd = parent;
        msg.message = WM_MOUSEMOVE;
        msg.lParam = MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y));
        send(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    }
    void waitElapses() { send(WM_TIMER, 1, 0); }
};

TEST_F(ToolTipTest, ATipShowsAfterTheMouseRestsOnATool) {
    makeTip(false);
    addTool(1, {0, 0, 100, 50}, u"Open a script");
    addTool(2, {0, 60, 100, 110}, u"Save it");
    EXPECT_EQ(send(TTM_GETTOOLCOUNT), 2);
    relayMove({10, 10});
    EXPECT_FALSE(IsWindowVisible(tip));
    waitElapses();
    EXPECT_TRUE(IsWindowVisible(tip));
    EXPECT_EQ(NotificationCodes(), std::vector<UINT>{TTN_SHOW});
    RECT rect;
    GetWindowRect(tip, &rect);
    EXPECT_GT(rect.Width(), 40);
    EXPECT_GT(Pixel(tip, {rect.Width() / 2, 1}), 0u);

    MSG press;
    press.hwnd = parent;
    press.message = WM_LBUTTONDOWN;
    send(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&press));
    EXPECT_FALSE(IsWindowVisible(tip));
    EXPECT_EQ(NotificationCodes().back(), TTN_POP);

    relayMove({10, 70});
    waitElapses();
    TTTOOLINFOW current;
    EXPECT_TRUE(send(TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&current)));
    EXPECT_EQ(current.uId, 2u);
    relayMove({300, 200});
    EXPECT_FALSE(IsWindowVisible(tip));
}

TEST_F(ToolTipTest, TextsAreKeptOrAskedForInTheToolWindowsForm) {
    for (bool ansiParent : {true, false}) {
        makeTip(ansiParent);
        TTTOOLINFOA tool;
        tool.hwnd = parent;
        tool.uId = 5;
        tool.rect = {0, 0, 50, 50};
        tool.lpszText = LPSTR_TEXTCALLBACKA();
        send(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        NotifyAnswer() = [](NMHDR* header) -> LRESULT {
            if (header->code == TTN_GETDISPINFOA)
                std::strcpy(reinterpret_cast<NMTTDISPINFOA*>(header)->szText, "caf\xE9");
            if (header->code == TTN_GETDISPINFOW)
                reinterpret_cast<NMTTDISPINFOW*>(header)->lpszText = const_cast<WCHAR*>(u"\u0436");
            return 0;
        };
        WCHAR text[16] = {};
        TTTOOLINFOW read;
        read.hwnd = parent;
        read.uId = 5;
        read.lpszText = text;
        send(TTM_GETTEXTW, 16, reinterpret_cast<LPARAM>(&read));
        EXPECT_EQ(WideString(text), ansiParent ? u"caf\u00E9" : u"\u0436");
        std::vector<UINT> codes = NotificationCodes();
        EXPECT_EQ(codes.back(), ansiParent ? TTN_GETDISPINFOA : TTN_GETDISPINFOW);
        tool.lpszText = const_cast<char*>("fixed");
        send(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
        send(TTM_GETTEXTW, 16, reinterpret_cast<LPARAM>(&read));
        EXPECT_EQ(WideString(text), u"fixed");
        NotifyAnswer() = nullptr;
        DestroyWindow(parent);
        HeardLog().clear();
    }
}

TEST_F(ToolTipTest, ATrackingTipGoesWhereItIsTold) {
    makeTip(false);
    addTool(3, {0, 0, 10, 10}, u"Tracking", TTF_TRACK | TTF_ABSOLUTE);
    send(TTM_TRACKPOSITION, 0, MAKELPARAM(200, 150));
    TTTOOLINFOW tool;
    tool.hwnd = parent;
    tool.uId = 3;
    send(TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    EXPECT_TRUE(IsWindowVisible(tip));
    RECT rect;
    GetWindowRect(tip, &rect);
    EXPECT_EQ(rect.Left, 200);
    EXPECT_EQ(rect.Top, 150);
    send(TTM_TRACKPOSITION, 0, MAKELPARAM(220, 160));
    GetWindowRect(tip, &rect);
    EXPECT_EQ(rect.Left, 220);
    send(TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    EXPECT_FALSE(IsWindowVisible(tip));
}

TEST_F(ToolTipTest, ASubclassedToolRelaysItsOwnMouseMessages) {
    makeTip(false);
    HWND button = Control(WC_TABCONTROLW, 0, parent, {20, 20, 120, 60}, 9);
    TTTOOLINFOW tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = parent;
    tool.uId = reinterpret_cast<UINT_PTR>(button);
    tool.lpszText = const_cast<WCHAR*>(u"A tab control");
    send(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    DeliverMouseMove(ScreenPoint(button, {10, 10}));
    ProcessMessages();
    waitElapses();
    EXPECT_TRUE(IsWindowVisible(tip));
    DestroyWindow(tip);
    // The tool window works on without its tooltip.
    DeliverMouseMove(ScreenPoint(button, {20, 10}));
    ProcessMessages();
    EXPECT_TRUE(IsWindow(button));
}

} // namespace
