#include "CommonControlTestSupport.h"

#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"

using namespace control_tests;

namespace {

class ProgressBarTest : public ControlTest {
protected:
    HWND parent = nullptr;
    HWND bar = nullptr;
    void SetUp() override {
        ControlTest::SetUp();
        parent = WideParent();
        bar = Control(PROGRESS_CLASSW, 0, parent, {10, 10, 210, 30});
    }
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageW(bar, message, wParam, lParam);
    }
};

TEST_F(ProgressBarTest, RangeAndPositionAnswerWhatTheyReplace) {
    EXPECT_EQ(send(PBM_SETRANGE, 0, MAKELPARAM(0, 8)), MAKELONG(0, 100));
    EXPECT_EQ(send(PBM_SETPOS, 20), 0);
    EXPECT_EQ(send(PBM_GETPOS), 8);
    EXPECT_EQ(send(PBM_SETRANGE32, -5, 5), MAKELONG(0, 8));
    EXPECT_EQ(send(PBM_GETPOS), 5);
    PBRANGE range;
    EXPECT_EQ(send(PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range)), -5);
    EXPECT_EQ(range.iLow, -5);
    EXPECT_EQ(range.iHigh, 5);
    EXPECT_EQ(send(PBM_GETRANGE, FALSE, 0), 5);
    EXPECT_EQ(send(PBM_DELTAPOS, static_cast<WPARAM>(-3)), 5);
    EXPECT_EQ(send(PBM_GETPOS), 2);
}

TEST_F(ProgressBarTest, EightDeltasOfOneReachTheMaximumOfEight) {
    send(PBM_SETRANGE, 0, MAKELPARAM(0, 8));
    send(PBM_SETSTEP, 8);
    for (int step = 1; step <= 8; ++step) {
        send(PBM_DELTAPOS, 1);
        EXPECT_EQ(send(PBM_GETPOS), step);
    }
}

TEST_F(ProgressBarTest, AMovedBarIsDrawnAtOnceWithoutWaitingForMessages) {
    UpdateWindow(bar);
    RECT pending{};
    for (UINT message : {PBM_DELTAPOS, PBM_SETPOS, PBM_STEPIT}) {
        send(message, 30);
        EXPECT_FALSE(GetUpdateRect(bar, &pending, FALSE)) << message;
    }
}

TEST_F(ProgressBarTest, StepItStartsOverPastTheMaximum) {
    send(PBM_SETRANGE32, 0, 25);
    EXPECT_EQ(send(PBM_SETSTEP, 10), 10);
    send(PBM_STEPIT);
    send(PBM_STEPIT);
    EXPECT_EQ(send(PBM_GETPOS), 20);
    EXPECT_EQ(send(PBM_STEPIT), 20);
    EXPECT_EQ(send(PBM_GETPOS), 0);
}

TEST_F(ProgressBarTest, TheBarIsDrawnInItsColourUpToThePosition) {
    SetWindowLongW(bar, GWL_STYLE, GetWindowLongW(bar, GWL_STYLE) | PBS_SMOOTH);
    send(PBM_SETPOS, 50);
    EXPECT_EQ(send(PBM_SETBARCOLOR, 0, RGB(255, 255, 0)), 0xFF000000);
    EXPECT_EQ(Pixel(bar, {20, 10}), RGB(255, 255, 0));
    EXPECT_EQ(Pixel(bar, {150, 10}), GetSysColor(COLOR_BTNFACE));
    send(PBM_SETBKCOLOR, 0, RGB(0, 0, 0));
    EXPECT_EQ(Pixel(bar, {150, 10}), RGB(0, 0, 0));
}

TEST_F(ProgressBarTest, BlocksLeaveGapsAndAVerticalBarFillsFromTheBottom) {
    send(PBM_SETPOS, 100);
    const COLORREF bar1 = Pixel(bar, {3, 10});
    EXPECT_EQ(bar1, GetSysColor(COLOR_HIGHLIGHT));
    int gaps = 0;
    for (int x = 2; x < 198; ++x)
        if (Pixel(bar, {x, 10}) != GetSysColor(COLOR_HIGHLIGHT)) ++gaps;
    EXPECT_GT(gaps, 10);

    HWND vertical = Control(PROGRESS_CLASSW, PBS_VERTICAL | PBS_SMOOTH, parent, {250, 10, 270, 110});
    SendMessageW(vertical, PBM_SETPOS, 25, 0);
    EXPECT_EQ(Pixel(vertical, {10, 95}), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(Pixel(vertical, {10, 20}), GetSysColor(COLOR_BTNFACE));
}

} // namespace
