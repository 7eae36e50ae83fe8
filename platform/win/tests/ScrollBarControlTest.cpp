// The SCROLLBAR class: its values through the SBM_ messages and SB_CTL, and
// the scroll codes its parent receives for clicks, drags and keys.
#include "platform/win/ScrollBarControl.h"
#include "WindowTestSupport.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/SystemInfo.h"

namespace {

using namespace window_tests;

constexpr const WCHAR* ParentClass = u"ScrollBarTestParent";

struct Scroll {
    UINT message;
    WORD code;
    WORD position;
    bool fromControl;
    friend bool operator==(const Scroll&, const Scroll&) = default;
};

std::vector<Scroll> scrolls;
HWND expectedControl = nullptr;

LRESULT parentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_VSCROLL || message == WM_HSCROLL)
        scrolls.push_back(
            {message, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam) == expectedControl});
    return DefWindowProcW(window, message, wParam, lParam);
}

class ScrollBarControlTest : public WindowTest {
protected:
    HWND parent = nullptr;

    void SetUp() override {
        WindowTest::SetUp();
        RegisterScrollBarControlClass();
        static bool registered = [] {
            WNDCLASSEXW windowClass;
            windowClass.lpfnWndProc = WindowProcFromFunction(parentProcedure);
            windowClass.lpszClassName = ParentClass;
            return RegisterClassExW(&windowClass) != 0;
        }();
        (void)registered;
        parent = CreateWindowExW(0, ParentClass, u"", WS_POPUP | WS_VISIBLE, 20, 20, 300, 300, nullptr,
                                 nullptr, nullptr, nullptr);
        scrolls.clear();
    }

    HWND createBar(DWORD style, TRect rect) {
        HWND bar = CreateWindowExW(0, ScrollBarClassName, u"", WS_CHILD | WS_VISIBLE | style, rect.Left,
                                   rect.Top, rect.Width(), rect.Height(), parent, nullptr, nullptr, nullptr);
        expectedControl = bar;
        return bar;
    }

    void click(HWND bar, POINT point) {
        Click(bar, point);
        ProcessMessages();
    }
};

TEST_F(ScrollBarControlTest, ValuesAreClampedAsForWindowScrollBars) {
    HWND bar = createBar(SBS_VERT, {10, 10, 26, 110});
    int minimum = -1, maximum = -1;
    SendMessageW(bar, SBM_GETRANGE, reinterpret_cast<WPARAM>(&minimum), reinterpret_cast<LPARAM>(&maximum));
    EXPECT_EQ(minimum, 0);
    EXPECT_EQ(maximum, 0);
    EXPECT_EQ(SendMessageW(bar, SBM_SETPOS, 5, TRUE), 0);
    EXPECT_EQ(SendMessageW(bar, SBM_GETPOS, 0, 0), 0);

    SendMessageW(bar, SBM_SETRANGE, 0, 100);
    EXPECT_EQ(SendMessageW(bar, SBM_SETPOS, 150, TRUE), 0);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 100);
    SCROLLINFO info;
    info.fMask = SIF_PAGE;
    info.nPage = 10;
    EXPECT_EQ(SetScrollInfo(bar, SB_CTL, &info, TRUE), 91);
    info.fMask = SIF_RANGE | SIF_POS;
    info.nMin = 20;
    info.nMax = 10;
    info.nPos = 0;
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(bar, SB_CTL, &info));
    EXPECT_EQ(info.nMin, 20);
    EXPECT_EQ(info.nMax, 20);
    EXPECT_EQ(info.nPage, 1u);
    EXPECT_EQ(info.nPos, 20);
    EXPECT_EQ(SendMessageW(bar, SBM_SETRANGEREDRAW, 0, 50), 20);
    EXPECT_EQ(SendMessageW(bar, SBM_GETPOS, 0, 0), 20);

    EXPECT_TRUE(SendMessageW(bar, SBM_ENABLE_ARROWS, ESB_DISABLE_UP, 0));
    EXPECT_FALSE(EnableScrollBar(bar, SB_CTL, ESB_DISABLE_UP));
}

TEST_F(ScrollBarControlTest, ClicksSendTheirCodesToTheParentWithTheControl) {
    // Arrows of 16 pixels end the 100-pixel bar; the page of 10 in 0..99 makes a thumb of 8 pixels.
    HWND bar = createBar(SBS_VERT, {10, 10, 26, 110});
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMax = 99;
    info.nPage = 10;
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
    using Scrolls = std::vector<Scroll>;
    click(bar, {8, 5});
    EXPECT_EQ(scrolls, (Scrolls{{WM_VSCROLL, SB_LINEUP, 0, true}, {WM_VSCROLL, SB_ENDSCROLL, 0, true}}));
    scrolls.clear();
    click(bar, {8, 95});
    EXPECT_EQ(scrolls, (Scrolls{{WM_VSCROLL, SB_LINEDOWN, 0, true}, {WM_VSCROLL, SB_ENDSCROLL, 0, true}}));
    scrolls.clear();
    click(bar, {8, 60});
    EXPECT_EQ(scrolls, (Scrolls{{WM_VSCROLL, SB_PAGEDOWN, 0, true}, {WM_VSCROLL, SB_ENDSCROLL, 0, true}}));
    // The control never moves its own thumb.
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 0);

    scrolls.clear();
    POINT thumb = ScreenPoint(bar, {8, 20});
    POINT dragged = ScreenPoint(bar, {8, 50});
    DeliverMouseMove(thumb);
    DeliverMouseButton(MouseButton::Left, true, thumb);
    DeliverMouseMove(dragged);
    DeliverMouseButton(MouseButton::Left, false, dragged);
    ProcessMessages();
    ASSERT_GE(scrolls.size(), 4u);
    EXPECT_EQ(scrolls.front(), (Scroll{WM_VSCROLL, SB_THUMBTRACK, 0, true}));
    const Scroll& released = scrolls[scrolls.size() - 2];
    EXPECT_EQ(released.code, SB_THUMBPOSITION);
    // 30 pixels of the 60 the thumb can travel: half of the 90 positions.
    EXPECT_EQ(released.position, 45);
    EXPECT_EQ(scrolls.back().code, SB_ENDSCROLL);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ScrollBarControlTest, DisabledArrowsAndEmptyRangesIgnoreClicks) {
    HWND bar = createBar(SBS_HORZ, {10, 10, 110, 26});
    click(bar, {95, 8});
    EXPECT_TRUE(scrolls.empty());
    SendMessageW(bar, SBM_SETRANGE, 0, 10);
    SendMessageW(bar, SBM_ENABLE_ARROWS, ESB_DISABLE_RIGHT, 0);
    click(bar, {95, 8});
    EXPECT_TRUE(scrolls.empty());
    click(bar, {5, 8});
    EXPECT_EQ(scrolls.front(), (Scroll{WM_HSCROLL, SB_LINELEFT, 0, true}));
}

TEST_F(ScrollBarControlTest, KeysScrollAndTheirReleaseEndsTheScroll) {
    HWND bar = createBar(SBS_HORZ | WS_TABSTOP, {10, 10, 110, 26});
    SendMessageW(bar, SBM_SETRANGE, 0, 10);
    EXPECT_EQ(SendMessageW(bar, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
    SetFocus(bar);
    for (UINT key : {VK_RIGHT, VK_PRIOR, VK_HOME})
        PressKey(key);
    ProcessMessages();
    using Codes = std::vector<WORD>;
    Codes codes;
    for (const Scroll& scroll : scrolls)
        codes.push_back(scroll.code);
    EXPECT_EQ(codes, (Codes{SB_LINERIGHT, SB_ENDSCROLL, SB_PAGELEFT, SB_ENDSCROLL, SB_LEFT, SB_ENDSCROLL}));
}

TEST_F(ScrollBarControlTest, AlignmentStylesGiveTheStandardThickness) {
    struct Case {
        DWORD style;
        TRect expected;
    };
    const int width = GetSystemMetrics(SM_CXVSCROLL), height = GetSystemMetrics(SM_CYHSCROLL);
    const Case cases[] = {
        {SBS_VERT | SBS_LEFTALIGN, {10, 10, 10 + width, 110}},
        {SBS_VERT | SBS_RIGHTALIGN, {110 - width, 10, 110, 110}},
        {SBS_HORZ | SBS_TOPALIGN, {10, 10, 110, 10 + height}},
        {SBS_HORZ | SBS_BOTTOMALIGN, {10, 110 - height, 110, 110}},
        {SBS_HORZ, {10, 10, 110, 110}},
    };
    for (const Case& each : cases) {
        HWND bar = createBar(each.style, {10, 10, 110, 110});
        RECT rect;
        GetWindowRect(bar, &rect);
        POINT origin{0, 0};
        ClientToScreen(parent, &origin);
        EXPECT_EQ(OffsetRectBy(rect, -origin.x, -origin.y), each.expected) << each.style;
        DestroyWindow(bar);
    }
}

} // namespace
