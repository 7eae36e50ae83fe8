#include "StandardControlsTestSupport.h"

#include "platform/win/Bitmaps.h"
#include "platform/win/Drawing.h"
#include "platform/win/Gdi.h"
#include "platform/win/StaticControl.h"
#include "platform/win/SysColors.h"

using namespace standard_control_tests;

namespace {

class StaticTest : public StandardControlTest {
protected:
    HWND parent = nullptr;
    void SetUp() override {
        StandardControlTest::SetUp();
        parent = MakeParent();
    }
    HWND Static(DWORD style, const WCHAR* text = u"Text", TRect rect = {10, 10, 210, 40}) {
        return Control(u"STATIC", style, parent, rect, text);
    }
};

TEST_F(StaticTest, TextFollowsTheAlignmentStyles) {
    struct Case {
        DWORD style;
        int expectedMiddle;
    };
    // The control is 200 pixels wide.
    const Case cases[] = {{SS_LEFT, 0}, {SS_CENTER, 100}, {SS_RIGHT, 0}};
    for (const Case& each : cases) {
        HWND label = Static(each.style, u"Label");
        TRect ink = InkBounds(*Pixels(label), {0, 0, 200, 30});
        ASSERT_LT(ink.Left, ink.Right);
        if (each.style == SS_LEFT) {
            EXPECT_LE(ink.Left, 2);
        } else if (each.style == SS_RIGHT) {
            EXPECT_GE(ink.Right, 197);
        } else {
            EXPECT_NEAR((ink.Left + ink.Right) / 2, each.expectedMiddle, 2);
        }
        DestroyWindow(label);
    }
}

TEST_F(StaticTest, WithoutNoPrefixAnAmpersandUnderlinesTheNextLetter) {
    HWND prefixed = Static(SS_LEFT, u"&Name");
    HWND plain = Static(SS_LEFT | SS_NOPREFIX, u"&Name", {10, 50, 210, 80});
    TRect withPrefix = InkBounds(*Pixels(prefixed), {0, 0, 200, 30});
    TRect withoutPrefix = InkBounds(*Pixels(plain), {0, 0, 200, 30});
    // The ampersand itself is drawn only with SS_NOPREFIX; the underline hangs below the letters.
    EXPECT_GT(withoutPrefix.Width(), withPrefix.Width());
    EXPECT_GT(withPrefix.Bottom, withoutPrefix.Bottom);
}

TEST_F(StaticTest, OnlyNotifyingStaticsTakeClicks) {
    HWND quiet = Static(SS_LEFT);
    HWND notifying = Static(SS_LEFT | SS_NOTIFY, u"Click", {10, 50, 210, 80});
    EXPECT_EQ(WindowFromPoint(window_tests::ScreenPoint(quiet, {5, 5})), parent);
    Click(quiet, {5, 5});
    Click(notifying, {5, 5});
    Click(notifying, {5, 5});
    EXPECT_EQ(CodesOf(quiet), std::vector<WORD>{});
    EXPECT_EQ(CodesOf(notifying), (std::vector<WORD>{STN_CLICKED, STN_DBLCLK}));
    EnableWindow(notifying, FALSE);
    EXPECT_EQ(CodesOf(notifying).back(), STN_DISABLE);
    EXPECT_EQ(SendMessageW(notifying, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
}

TEST_F(StaticTest, TheParentChoosesTheBackground) {
    Parent().staticBrush = CreateSolidBrush(RGB(0, 128, 0));
    HWND label = Static(SS_LEFT, u"");
    EXPECT_EQ(PixelAt(*Pixels(label), 100, 15), RGB(0, 128, 0));
    DestroyWindow(label);
    DeleteObject(Parent().staticBrush);
}

TEST_F(StaticTest, ABitmapStaticTakesTheBitmapsSizeAndShowsIt) {
    HWND picture = Static(SS_BITMAP, u"", {10, 10, 200, 200});
    HDC screen = GetDC(nullptr);
    HBITMAP first = CreateCompatibleBitmap(screen, 16, 12);
    HBITMAP second = CreateCompatibleBitmap(screen, 5, 5);
    ReleaseDC(nullptr, screen);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, first);
    TRect all{0, 0, 16, 12};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(memory, &all, red);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(red);

    EXPECT_EQ(SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(first)), 0);
    TRect client;
    GetClientRect(picture, &client);
    EXPECT_EQ(client, (TRect{0, 0, 16, 12}));
    EXPECT_EQ(PixelAt(*Pixels(picture), 8, 6), RGB(255, 0, 0));
    EXPECT_EQ(SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(second)),
              reinterpret_cast<LRESULT>(first));
    EXPECT_EQ(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(second));
    // An icon does not go into a bitmap static.
    EXPECT_EQ(SendMessageW(picture, STM_SETICON, 1, 0), 0);
    DestroyWindow(picture);
    DeleteObject(first);
    DeleteObject(second);
}

TEST_F(StaticTest, EtchedLinesAndSunkenEdges) {
    HWND line = Static(SS_ETCHEDHORZ, u"", {10, 10, 110, 12});
    auto pixels = Pixels(line);
    EXPECT_EQ(PixelAt(*pixels, 50, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(PixelAt(*pixels, 50, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
    HWND sunken = Static(SS_LEFT | SS_SUNKEN, u"x", {10, 50, 110, 70});
    EXPECT_TRUE(GetWindowLongW(sunken, GWL_EXSTYLE) & WS_EX_STATICEDGE);
    TRect client;
    GetClientRect(sunken, &client);
    EXPECT_EQ(client, (TRect{0, 0, 98, 18}));
}

} // namespace
