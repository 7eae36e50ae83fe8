#include "CommonControlTestSupport.h"

#include "platform/win/EditControl.h"
#include "platform/win/Messages.h"
#include "platform/win/StandardControls.h"
#include "platform/win/WindowPos.h"

using namespace control_tests;
using namespace window_tests;

namespace {

class UpDownTest : public ControlTest {
protected:
    HWND parent = nullptr;
    HWND spin = nullptr;
    void SetUp() override {
        ControlTest::SetUp();
        RegisterStandardControlClasses();
        parent = WideParent(400, 300);
        spin = Control(UPDOWN_CLASSW, UDS_ARROWKEYS, parent, {100, 10, 116, 40});
        send(UDM_SETRANGE32, 0, 5);
        ProcessMessages();
        HeardLog().clear();
    }
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageW(spin, message, wParam, lParam);
    }
    int position() { return static_cast<int>(send(UDM_GETPOS32)); }
    POINT upArrow() const { return {8, 4}; }
    POINT downArrow() const { return {8, 26}; }
    // What the parent heard: "delta <pos> <delta>" and "scroll <code> <pos>".
    std::vector<std::string> heard() {
        std::vector<std::string> lines;
        for (const Heard& message : HeardLog()) {
            if (message.message == WM_NOTIFY) {
                auto* change = reinterpret_cast<NMUPDOWN*>(message.lParam);
                (void)change;
                lines.push_back("delta");
            } else if (message.message == WM_VSCROLL) {
                lines.push_back("scroll " + std::to_string(message.code) + " " +
                                std::to_string(static_cast<SHORT>(HIWORD(message.wParam))));
            }
        }
        return lines;
    }
};

using Lines = std::vector<std::string>;

TEST_F(UpDownTest, RangesAndPositionsInBothWidths) {
    HWND fresh = Control(UPDOWN_CLASSW, 0, parent, {0, 0, 16, 30});
    // A new up-down counts from 100 down to 0.
    EXPECT_EQ(SendMessageW(fresh, UDM_GETRANGE, 0, 0), MAKELONG(0, 100));
    SendMessageW(fresh, UDM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(50), static_cast<WORD>(-50)));
    int low = 0;
    int high = 0;
    SendMessageW(fresh, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, -50);
    EXPECT_EQ(high, 50);
    EXPECT_EQ(SendMessageW(fresh, UDM_SETPOS, 0, MAKELPARAM(static_cast<WORD>(-70), 0)), 0);
    EXPECT_EQ(static_cast<SHORT>(LOWORD(SendMessageW(fresh, UDM_GETPOS, 0, 0))), -50);
    EXPECT_EQ(send(UDM_SETBASE, 16), 10);
    EXPECT_EQ(send(UDM_SETBASE, 7), 0);
    UDACCEL accelerators[3];
    EXPECT_EQ(send(UDM_GETACCEL, 3, reinterpret_cast<LPARAM>(accelerators)), 3);
    EXPECT_EQ(accelerators[0].nInc, 1u);
}

TEST_F(UpDownTest, EachClickAsksTheParentThenReportsTheNewPosition) {
    Click(spin, upArrow());
    Click(spin, upArrow());
    Click(spin, downArrow());
    ProcessMessages();
    EXPECT_EQ(position(), 1);
    EXPECT_EQ(heard(), (Lines{"delta", "scroll 4 1", "scroll 8 1", "delta", "scroll 4 2", "scroll 8 2",
                              "delta", "scroll 4 1", "scroll 8 1"}));
    std::vector<std::pair<int, int>> asked;
    NotifyAnswer() = [&](NMHDR* header) -> LRESULT {
        auto* change = reinterpret_cast<NMUPDOWN*>(header);
        EXPECT_EQ(header->code, UDN_DELTAPOS);
        asked.emplace_back(change->iPos, change->iDelta);
        change->iDelta = 3;
        return 0;
    };
    Click(spin, upArrow());
    ProcessMessages();
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{1, 1}}));
    EXPECT_EQ(position(), 4);
    NotifyAnswer() = [](NMHDR*) -> LRESULT { return 1; };
    HeardLog().clear();
    Click(spin, upArrow());
    ProcessMessages();
    EXPECT_EQ(position(), 4);
    EXPECT_EQ(heard(), (Lines{"delta", "scroll 8 4"}));
}

TEST_F(UpDownTest, TheEndsHoldOrWrap) {
    send(UDM_SETPOS32, 0, 5);
    Click(spin, upArrow());
    ProcessMessages();
    EXPECT_EQ(position(), 5);
    SetWindowLongW(spin, GWL_STYLE, GetWindowLongW(spin, GWL_STYLE) | UDS_WRAP);
    Click(spin, upArrow());
    ProcessMessages();
    EXPECT_EQ(position(), 0);
    Click(spin, downArrow());
    ProcessMessages();
    EXPECT_EQ(position(), 5);
}

TEST_F(UpDownTest, ABuddyShowsThePositionAndPassesTheArrowKeys) {
    HWND edit = CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 80, 22, parent,
                                nullptr, nullptr, nullptr);
    HWND spinner =
        Control(UPDOWN_CLASSW, UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_ALIGNRIGHT, parent, {0, 0, 16, 10});
    SendMessageW(spinner, UDM_SETRANGE32, 0, 5000);
    EXPECT_EQ(SendMessageW(spinner, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0), 0);
    RECT editRect;
    RECT spinRect;
    GetWindowRect(edit, &editRect);
    GetWindowRect(spinner, &spinRect);
    EXPECT_EQ(editRect.Width(), 64);
    EXPECT_EQ(spinRect.Left, editRect.Right);
    EXPECT_EQ(spinRect.Height(), 22);

    SendMessageW(spinner, UDM_SETPOS32, 0, 1234);
    WCHAR text[32] = {};
    GetWindowTextW(edit, text, 32);
    EXPECT_EQ(WideString(text), u"1,234");
    SetWindowTextW(edit, u"2,001");
    EXPECT_EQ(SendMessageW(spinner, UDM_GETPOS32, 0, 0), 2001);
    SetFocus(edit);
    PressKey(VK_UP);
    PressKey(VK_UP);
    PressKey(VK_DOWN);
    ProcessMessages();
    GetWindowTextW(edit, text, 32);
    EXPECT_EQ(WideString(text), u"2,002");
    SetWindowTextW(edit, u"many");
    BOOL failed = FALSE;
    EXPECT_EQ(SendMessageW(spinner, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)), 2002);
    EXPECT_TRUE(failed);
    // Once the up-down is gone the buddy keeps its keys.
    DestroyWindow(spinner);
    PressKey(VK_UP);
    ProcessMessages();
    GetWindowTextW(edit, text, 32);
    EXPECT_EQ(WideString(text), u"many");
}

TEST_F(UpDownTest, HeldArrowsRepeatAndKeysStep) {
    POINT screen = ScreenPoint(spin, upArrow());
    DeliverMouseButton(MouseButton::Left, true, screen);
    ProcessMessages();
    SendMessageW(spin, WM_TIMER, 1, 0);
    SendMessageW(spin, WM_TIMER, 1, 0);
    DeliverMouseButton(MouseButton::Left, false, screen);
    ProcessMessages();
    EXPECT_EQ(position(), 3);
    SetFocus(spin);
    PressKey(VK_DOWN);
    ProcessMessages();
    EXPECT_EQ(position(), 2);
    EXPECT_EQ(heard().back(), "scroll 8 2");
}

} // namespace
