#include "WindowTestSupport.h"

#include "platform/win/Drawing.h"
#include "platform/win/Gdi.h"
#include "platform/win/Painting.h"
#include "platform/win/ScrollBars.h"

using namespace window_tests;
using Strings = std::vector<std::string>;

namespace {

constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF red = RGB(255, 0, 0);

std::vector<RECT> paintedRects;
COLORREF fillColour = red;

// Paints its whole client area (as far as the update region lets it) in `fillColour`.
LRESULT fillingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    paintedRects.push_back(paint.rcPaint);
    RECT client;
    GetClientRect(window, &client);
    HBRUSH brush = CreateSolidBrush(fillColour);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    EndPaint(window, &paint);
    return 0;
}

class PaintingTest : public WindowTest {
protected:
    HWND window = nullptr;

    void SetUp() override {
        WindowTest::SetUp();
        static bool registered = [] {
            WNDCLASSW windowClass;
            windowClass.lpfnWndProc = WindowProcFromFunction(fillingProcedure);
            windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(COLOR_WINDOW + 1));
            windowClass.lpszClassName = u"Filling";
            return RegisterClassW(&windowClass) != 0;
        }();
        (void)registered;
        window = CreateWindowExW(0, u"Filling", u"", WS_POPUP | WS_VISIBLE, 0, 0, 40, 30, nullptr, nullptr,
                                 nullptr, nullptr);
        fillColour = white;
        ProcessMessages();
        fillColour = red;
        paintedRects.clear();
    }

    COLORREF pixel(int x, int y) const {
        return ColorRefFromPixel(CaptureWindowPixels(window, true)->At(x, y));
    }
};

TEST_F(PaintingTest, OnlyTheInvalidAreaIsPainted) {
    RECT invalid{10, 5, 20, 15};
    InvalidateRect(window, &invalid, TRUE);
    ProcessMessages();
    ASSERT_EQ(paintedRects.size(), 1u);
    EXPECT_EQ(paintedRects[0], invalid);
    EXPECT_EQ(pixel(10, 5), red);
    EXPECT_EQ(pixel(19, 14), red);
    EXPECT_EQ(pixel(9, 5), white);
    EXPECT_EQ(pixel(20, 14), white);
    EXPECT_EQ(pixel(10, 15), white);
}

TEST_F(PaintingTest, ValidatingAndUpdatingControlWhenPaintHappens) {
    InvalidateRect(window, nullptr, FALSE);
    ValidateRect(window, nullptr);
    ProcessMessages();
    EXPECT_TRUE(paintedRects.empty());
    RECT first{0, 0, 5, 5}, second{30, 20, 35, 25};
    InvalidateRect(window, &first, FALSE);
    InvalidateRect(window, &second, FALSE);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(window, &update, FALSE));
    EXPECT_EQ(update, (RECT{0, 0, 35, 25}));
    UpdateWindow(window);
    ASSERT_EQ(paintedRects.size(), 1u);
    EXPECT_EQ(pixel(2, 2), red);
    EXPECT_EQ(pixel(15, 10), white);
    EXPECT_FALSE(GetUpdateRect(window, &update, FALSE));
}

TEST_F(PaintingTest, RedrawWindowCanPaintAtOnceOrOnlyInvalidate) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(paintedRects.size(), 1u);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE);
    EXPECT_EQ(paintedRects.size(), 1u);
    ProcessMessages();
    EXPECT_EQ(paintedRects.size(), 2u);
}

TEST_F(PaintingTest, ScrollWindowMovesPixelsAndInvalidatesTheUncoveredStrip) {
    HDC dc = GetDC(window);
    for (int y = 0; y < 30; ++y) {
        RECT row{0, y, 40, y + 1};
        HBRUSH brush = CreateSolidBrush(RGB(0, y * 8, 0));
        FillRect(dc, &row, brush);
        DeleteObject(brush);
    }
    ReleaseDC(window, dc);
    ScrollWindow(window, 0, -10, nullptr, nullptr);
    EXPECT_EQ(pixel(5, 0), RGB(0, 80, 0));
    EXPECT_EQ(pixel(5, 19), RGB(0, 29 * 8, 0));
    RECT update;
    ASSERT_TRUE(GetUpdateRect(window, &update, FALSE));
    EXPECT_EQ(update, (RECT{0, 20, 40, 30}));
    ProcessMessages();
    EXPECT_EQ(pixel(5, 25), red);
    EXPECT_EQ(pixel(5, 0), RGB(0, 80, 0));
}

TEST_F(PaintingTest, ChildrenAreClippedOutOfAClipChildrenParent) {
    SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) | WS_CLIPCHILDREN);
    HWND child = Create("child", WS_CHILD | WS_VISIBLE, window, {0, 0, 10, 10});
    fillColour = white;
    ProcessMessages();
    HDC dc = GetDC(child);
    RECT all{0, 0, 10, 10};
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(dc, &all, blue);
    DeleteObject(blue);
    ReleaseDC(child, dc);
    fillColour = red;
    InvalidateRect(window, nullptr, FALSE);
    ProcessMessages();
    EXPECT_EQ(pixel(5, 5), RGB(0, 0, 255));
    EXPECT_EQ(pixel(15, 15), red);
}

// ---- Scroll bars ----

class ScrollBarTest : public WindowTest {
protected:
    HWND window = nullptr;

    void SetUp() override {
        WindowTest::SetUp();
        window = Create("main", WS_POPUP | WS_VISIBLE | WS_VSCROLL, nullptr, {0, 0, 116, 100});
        SCROLLINFO info;
        info.fMask = SIF_ALL;
        info.nMin = 0;
        info.nMax = 99;
        info.nPage = 10;
        SetScrollInfo(window, SB_VERT, &info, TRUE);
        ProcessMessages();
        Log().clear();
    }

    // Presses a point of the vertical bar (window coordinates), moves and releases.
    void clickBar(POINT pressAt, std::vector<POINT> movesTo = {}) {
        RECT bounds;
        GetWindowRect(window, &bounds);
        POINT screen{bounds.Left + pressAt.x, bounds.Top + pressAt.y};
        DeliverMouseMove(screen);
        DeliverMouseButton(MouseButton::Left, true, screen);
        for (POINT move : movesTo) {
            screen = {bounds.Left + move.x, bounds.Top + move.y};
            DeliverMouseMove(screen);
        }
        DeliverMouseButton(MouseButton::Left, false, screen);
        ProcessMessages();
    }
};

std::vector<std::pair<WORD, WORD>> verticalScrolls;
WNDPROC recordingBase = nullptr;

LRESULT scrollRecorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_VSCROLL) verticalScrolls.emplace_back(LOWORD(wParam), HIWORD(wParam));
    return CallWindowProcW(recordingBase, window, message, wParam, lParam);
}

TEST_F(ScrollBarTest, RangePageAndPositionAreClamped) {
    SCROLLINFO info;
    info.fMask = SIF_POS;
    info.nPos = 95;
    EXPECT_EQ(SetScrollInfo(window, SB_VERT, &info, TRUE), 90);
    EXPECT_EQ(SetScrollPos(window, SB_VERT, -5, TRUE), 90);
    EXPECT_EQ(GetScrollPos(window, SB_VERT), 0);
    info.fMask = SIF_PAGE;
    info.nPage = 500;
    SetScrollInfo(window, SB_VERT, &info, TRUE);
    info.fMask = SIF_ALL;
    GetScrollInfo(window, SB_VERT, &info);
    EXPECT_EQ(info.nPage, 100u);
}

TEST_F(ScrollBarTest, ShowingAndHidingABarResizesTheClientAreaAtOnce) {
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.Width(), 100);
    ShowScrollBar(window, SB_VERT, FALSE);
    GetClientRect(window, &client);
    EXPECT_EQ(client.Width(), 116);
    EXPECT_EQ(LogOf("main").back(), "main:WM_SIZE");
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = 0;
    info.nMax = 5;
    info.nPage = 10;
    SetScrollInfo(window, SB_VERT, &info, TRUE);
    GetClientRect(window, &client);
    EXPECT_EQ(client.Width(), 116);
    info.fMask |= SIF_DISABLENOSCROLL;
    SetScrollInfo(window, SB_VERT, &info, TRUE);
    GetClientRect(window, &client);
    EXPECT_EQ(client.Width(), 100);
    info.fMask = SIF_RANGE;
    info.nMax = 200;
    SetScrollInfo(window, SB_VERT, &info, TRUE);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & WS_VSCROLL);
}

TEST_F(ScrollBarTest, ClicksOnTheBarSendEveryScrollCode) {
    recordingBase = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProcFromFunction(scrollRecorder))));
    using Codes = std::vector<std::pair<WORD, WORD>>;
    const int barX = 108;
    // Arrows of 16 pixels end the bar; the 68-pixel track between holds a thumb of 8 pixels
    // (the minimum) that moves over 60 pixels for the positions 0 to 90.
    verticalScrolls.clear();
    clickBar({barX, 5});
    EXPECT_EQ(verticalScrolls, (Codes{{SB_LINEUP, 0}, {SB_ENDSCROLL, 0}}));
    verticalScrolls.clear();
    clickBar({barX, 95});
    EXPECT_EQ(verticalScrolls, (Codes{{SB_LINEDOWN, 0}, {SB_ENDSCROLL, 0}}));
    verticalScrolls.clear();
    clickBar({barX, 60});
    EXPECT_EQ(verticalScrolls, (Codes{{SB_PAGEDOWN, 0}, {SB_ENDSCROLL, 0}}));
    SetScrollPos(window, SB_VERT, 50, TRUE);
    verticalScrolls.clear();
    clickBar({barX, 20});
    EXPECT_EQ(verticalScrolls, (Codes{{SB_PAGEUP, 0}, {SB_ENDSCROLL, 0}}));
    SetScrollPos(window, SB_VERT, 0, TRUE);
    verticalScrolls.clear();
    clickBar({barX, 19}, {{barX, 49}});
    EXPECT_EQ(verticalScrolls,
              (Codes{{SB_THUMBTRACK, 0}, {SB_THUMBTRACK, 45}, {SB_THUMBPOSITION, 45}, {SB_ENDSCROLL, 0}}));
    // Dragged past the end, the thumb stops at the last position.
    SetScrollPos(window, SB_VERT, 0, TRUE);
    verticalScrolls.clear();
    clickBar({barX, 19}, {{barX, 99}});
    EXPECT_EQ(verticalScrolls[1], (std::pair<WORD, WORD>{SB_THUMBTRACK, 90}));
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recordingBase));
}

TEST_F(ScrollBarTest, DisabledArrowsIgnoreClicks) {
    recordingBase = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProcFromFunction(scrollRecorder))));
    EXPECT_TRUE(EnableScrollBar(window, SB_VERT, ESB_DISABLE_UP));
    EXPECT_FALSE(EnableScrollBar(window, SB_VERT, ESB_DISABLE_UP));
    verticalScrolls.clear();
    clickBar({108, 5});
    EXPECT_TRUE(verticalScrolls.empty());
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recordingBase));
}

// ---- Caret ----

class CaretTest : public PaintingTest {};

TEST_F(CaretTest, TheCaretShowsOnlyWhenEveryHideIsMatched) {
    ASSERT_TRUE(CreateCaret(window, nullptr, 2, 10));
    SetCaretPos(5, 5);
    EXPECT_EQ(pixel(5, 5), white);
    EXPECT_TRUE(ShowCaret(window));
    EXPECT_EQ(pixel(5, 5), RGB(0, 0, 0));
    EXPECT_EQ(pixel(6, 14), RGB(0, 0, 0));
    EXPECT_EQ(pixel(7, 5), white);
    HideCaret(window);
    HideCaret(nullptr);
    EXPECT_EQ(pixel(5, 5), white);
    ShowCaret(window);
    EXPECT_EQ(pixel(5, 5), white);
    ShowCaret(window);
    EXPECT_EQ(pixel(5, 5), RGB(0, 0, 0));
    // Painting takes the caret off and puts it back.
    InvalidateRect(window, nullptr, FALSE);
    ProcessMessages();
    EXPECT_EQ(pixel(5, 5), RGB(0, 255, 255));
    EXPECT_EQ(pixel(10, 5), red);
    SetCaretPos(20, 5);
    EXPECT_EQ(pixel(5, 5), red);
    POINT position;
    GetCaretPos(&position);
    EXPECT_EQ(position, (POINT{20, 5}));
    EXPECT_TRUE(DestroyCaret());
    EXPECT_EQ(pixel(20, 5), red);
    EXPECT_FALSE(ShowCaret(window));
}

} // namespace
