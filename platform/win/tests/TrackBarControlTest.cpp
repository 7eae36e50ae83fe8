#include "CommonControlTestSupport.h"

#include "platform/win/Messages.h"

using namespace control_tests;
using namespace window_tests;

namespace {

class TrackBarTest : public ControlTest {
protected:
    HWND parent = nullptr;
    HWND bar = nullptr;
    void SetUp() override {
        ControlTest::SetUp();
        parent = WideParent(400, 300);
        bar = Control(TRACKBAR_CLASSW, TBS_AUTOTICKS | WS_TABSTOP, parent, {10, 10, 230, 55});
        send(TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
        send(TBM_SETPAGESIZE, 0, 3);
        ProcessMessages();
        HeardLog().clear();
    }
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageW(bar, message, wParam, lParam);
    }
    RECT thumb() {
        RECT rect;
        send(TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    // The scroll codes and the positions they carried, as the parent heard them.
    std::vector<std::pair<UINT, int>> scrolls() {
        std::vector<std::pair<UINT, int>> heard;
        for (const Heard& message : HeardOf(WM_HSCROLL)) {
            EXPECT_EQ(message.lParam, reinterpret_cast<LPARAM>(bar));
            heard.emplace_back(message.code, static_cast<int>(HIWORD(message.wParam)));
        }
        return heard;
    }
};

using Scrolls = std::vector<std::pair<UINT, int>>;

TEST_F(TrackBarTest, RangePositionAndTicksAreKept) {
    EXPECT_EQ(send(TBM_GETRANGEMIN), 0);
    EXPECT_EQ(send(TBM_GETRANGEMAX), 10);
    send(TBM_SETPOS, TRUE, 14);
    EXPECT_EQ(send(TBM_GETPOS), 10);
    send(TBM_SETRANGEMAX, TRUE, 8);
    EXPECT_EQ(send(TBM_GETPOS), 8);
    EXPECT_EQ(send(TBM_SETPAGESIZE, 0, 4), 3);
    EXPECT_EQ(send(TBM_SETLINESIZE, 0, 2), 1);
    // Both ends and every tick between them.
    EXPECT_EQ(send(TBM_GETNUMTICS), 9);
    send(TBM_SETTICFREQ, 4);
    EXPECT_EQ(send(TBM_GETNUMTICS), 3);
    EXPECT_TRUE(send(TBM_SETTIC, 0, 3));
    EXPECT_FALSE(send(TBM_SETTIC, 0, 30));
    EXPECT_EQ(send(TBM_GETTIC, 0), 3);
    EXPECT_GT(send(TBM_GETTICPOS, 0), 0);
    send(TBM_SETSEL, TRUE, MAKELPARAM(2, 5));
    EXPECT_EQ(send(TBM_GETSELSTART), 2);
    EXPECT_EQ(send(TBM_GETSELEND), 5);
    EXPECT_TRUE(HeardLog().empty());
}

TEST_F(TrackBarTest, TheThumbSlidesAlongTheChannel) {
    RECT channel;
    send(TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    RECT first = thumb();
    EXPECT_EQ(first.Left, channel.Left);
    EXPECT_GE(first.Bottom, channel.Bottom);
    send(TBM_SETPOS, TRUE, 10);
    EXPECT_EQ(thumb().Right, channel.Right);
    send(TBM_SETPOS, TRUE, 5);
    EXPECT_NEAR((thumb().Left + thumb().Right) / 2, (channel.Left + channel.Right) / 2, 1);

    // A vertical bar reports its channel as if it lay horizontally.
    HWND vertical = Control(TRACKBAR_CLASSW, TBS_VERT, parent, {250, 10, 295, 210});
    RECT verticalChannel;
    SendMessageW(vertical, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&verticalChannel));
    EXPECT_GT(verticalChannel.Width(), verticalChannel.Height());
    RECT verticalThumb;
    SendMessageW(vertical, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&verticalThumb));
    EXPECT_GT(verticalThumb.Width(), verticalThumb.Height());
    EXPECT_EQ(verticalThumb.Top, verticalChannel.Left);
}

TEST_F(TrackBarTest, KeysMoveByLinesPagesAndToTheEnds) {
    SetFocus(bar);
    for (UINT key : {VK_RIGHT, VK_NEXT, VK_LEFT, VK_END, VK_PRIOR, VK_HOME})
        PressKey(key);
    ProcessMessages();
    EXPECT_EQ(scrolls(), (Scrolls{{TB_LINEDOWN, 0},
                                  {TB_ENDTRACK, 0},
                                  {TB_PAGEDOWN, 0},
                                  {TB_ENDTRACK, 0},
                                  {TB_LINEUP, 0},
                                  {TB_ENDTRACK, 0},
                                  {TB_BOTTOM, 0},
                                  {TB_ENDTRACK, 0},
                                  {TB_PAGEUP, 0},
                                  {TB_ENDTRACK, 0},
                                  {TB_TOP, 0},
                                  {TB_ENDTRACK, 0}}));
    EXPECT_EQ(send(TBM_GETPOS), 0);
    PressKey(VK_NEXT);
    PressKey(VK_DOWN);
    ProcessMessages();
    EXPECT_EQ(send(TBM_GETPOS), 4);
}

TEST_F(TrackBarTest, DraggingTheThumbTracksAndEndsWithItsPosition) {
    RECT start = thumb();
    POINT grip{start.Left + 2, start.Top + 5};
    POINT screen = ScreenPoint(bar, grip);
    DeliverMouseMove(screen);
    DeliverMouseButton(MouseButton::Left, true, screen);
    ProcessMessages();
    EXPECT_EQ(GetFocus(), bar);
    RECT channel;
    send(TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    const int step = (channel.Width() - start.Width()) / 10;
    for (int value = 1; value <= 3; ++value) {
        DeliverMouseMove(ScreenPoint(bar, {grip.x + value * step, grip.y}));
        ProcessMessages();
    }
    // Far past the end and back again.
    DeliverMouseMove(ScreenPoint(bar, {grip.x + 1000, grip.y + 40}));
    ProcessMessages();
    DeliverMouseMove(ScreenPoint(bar, {grip.x + 7 * step, grip.y}));
    DeliverMouseButton(MouseButton::Left, false, ScreenPoint(bar, {grip.x + 7 * step, grip.y}));
    ProcessMessages();
    EXPECT_EQ(send(TBM_GETPOS), 7);
    EXPECT_EQ(scrolls(), (Scrolls{{TB_THUMBTRACK, 1},
                                  {TB_THUMBTRACK, 2},
                                  {TB_THUMBTRACK, 3},
                                  {TB_THUMBTRACK, 10},
                                  {TB_THUMBTRACK, 7},
                                  {TB_THUMBPOSITION, 7},
                                  {TB_ENDTRACK, 0}}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(TrackBarTest, AClickBesideTheThumbMovesAPageTowardsIt) {
    RECT channel;
    send(TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    Click(bar, {channel.Right - 3, thumb().Top + 5});
    ProcessMessages();
    EXPECT_EQ(send(TBM_GETPOS), 3);
    // Holding the button repeats the page until the thumb is under the mouse.
    POINT screen = ScreenPoint(bar, {channel.Right - 3, thumb().Top + 5});
    DeliverMouseButton(MouseButton::Left, true, screen);
    ProcessMessages();
    for (int i = 0; i < 5; ++i)
        SendMessageW(bar, WM_TIMER, 1, 0);
    DeliverMouseButton(MouseButton::Left, false, screen);
    ProcessMessages();
    EXPECT_EQ(send(TBM_GETPOS), 10);
    EXPECT_EQ(scrolls(), (Scrolls{{TB_PAGEDOWN, 0},
                                  {TB_ENDTRACK, 0},
                                  {TB_PAGEDOWN, 0},
                                  {TB_PAGEDOWN, 0},
                                  {TB_PAGEDOWN, 0},
                                  {TB_ENDTRACK, 0}}));
}

} // namespace
