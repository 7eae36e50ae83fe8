#include "CommonControlTestSupport.h"

#include "platform/win/Messages.h"
#include "platform/win/SysColors.h"
#include "platform/win/WindowPos.h"

#include <cstring>

using namespace control_tests;

namespace {

class StatusBarTest : public ControlTest {
protected:
    HWND parent = nullptr;
    HWND bar = nullptr;
    void SetUp() override {
        ControlTest::SetUp();
        parent = WideParent(400, 300);
        bar = Control(STATUSCLASSNAMEW, 0, parent, {0, 0, 10, 10});
        int edges[] = {50, 100, 300, -1};
        SendMessageW(bar, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
    }
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageW(bar, message, wParam, lParam);
    }

    // Whether any dark (text) pixel lies in the columns [from, to) of the bar's middle rows.
    bool textIn(int from, int to) {
        UpdateWindow(bar);
        std::shared_ptr<PixelSurface> pixels = CaptureWindowPixels(bar, true);
        RECT client;
        GetClientRect(bar, &client);
        for (int y = 4; y < client.Bottom - 3; ++y)
            for (int x = from; x < to; ++x)
                if (IsDark(ColorRefFromPixel(pixels->Row(y)[x] & PixelColourMask))) return true;
        return false;
    }
};

TEST_F(StatusBarTest, SitsAlongTheBottomOfItsParent) {
    RECT rect;
    GetWindowRect(bar, &rect);
    POINT topLeft{rect.Left, rect.Top};
    ScreenToClient(parent, &topLeft);
    EXPECT_EQ(topLeft.x, 0);
    EXPECT_EQ(rect.Width(), 400);
    EXPECT_EQ(topLeft.y + rect.Height(), 300);
    EXPECT_GT(rect.Height(), 12);
    SetWindowPos(parent, nullptr, 0, 0, 500, 200, SWP_NOMOVE | SWP_NOZORDER);
    SendMessageW(bar, WM_SIZE, 0, 0);
    GetWindowRect(bar, &rect);
    EXPECT_EQ(rect.Width(), 500);
}

TEST_F(StatusBarTest, PartsKeepTextsWithTheirFlagsInBothForms) {
    EXPECT_EQ(send(SB_GETPARTS, 0, 0), 4);
    int edges[4] = {};
    send(SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges));
    EXPECT_EQ(edges[2], 300);
    EXPECT_TRUE(send(SB_SETTEXTA, 1 | SBT_POPOUT, reinterpret_cast<LPARAM>("caf\xE9")));
    WCHAR wide[16] = {};
    EXPECT_EQ(send(SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(wide)), MAKELONG(4, SBT_POPOUT));
    EXPECT_EQ(WideString(wide), u"caf\u00E9");
    EXPECT_TRUE(send(SB_SETTEXTW, 3, reinterpret_cast<LPARAM>(u"\u0416x")));
    char ansi[16] = {};
    EXPECT_EQ(LOWORD(send(SB_GETTEXTA, 3, reinterpret_cast<LPARAM>(ansi))), 2);
    EXPECT_STREQ(ansi, "?x");
    EXPECT_EQ(send(SB_GETTEXTLENGTHW, 3), MAKELONG(2, 0));
    EXPECT_FALSE(send(SB_SETTEXTW, 9, reinterpret_cast<LPARAM>(u"no such part")));
    RECT part;
    EXPECT_TRUE(send(SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part)));
    EXPECT_EQ(part.Left, 52);
    EXPECT_EQ(part.Right, 100);
}

TEST_F(StatusBarTest, TabsCentreAndRightAlignTheText) {
    send(SB_SETTEXTW, 2, reinterpret_cast<LPARAM>(u"\t\tRight"));
    EXPECT_TRUE(textIn(250, 300));
    EXPECT_FALSE(textIn(102, 200));
    send(SB_SETTEXTW, 2, reinterpret_cast<LPARAM>(u"\tMid"));
    EXPECT_TRUE(textIn(180, 220));
    EXPECT_FALSE(textIn(102, 150));
    EXPECT_FALSE(textIn(260, 300));
}

TEST_F(StatusBarTest, SimpleModeShowsItsOwnText) {
    send(SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(u"Part"));
    send(SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(u"Simple text across the bar"));
    EXPECT_FALSE(textIn(150, 300));
    send(SB_SIMPLE, TRUE);
    EXPECT_TRUE(send(SB_ISSIMPLE));
    EXPECT_TRUE(textIn(60, 150));
    EXPECT_EQ(NotificationCodes(), std::vector<UINT>{SBN_SIMPLEMODECHANGE});
    WCHAR text[64] = {};
    send(SB_GETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(WideString(text), u"Simple text across the bar");
}

TEST_F(StatusBarTest, OwnerDrawnPartsGetTheirDataUnconverted) {
    char data[] = "not text";
    std::vector<DRAWITEMSTRUCT> drawn;
    DrawItemHandler() = [&](DRAWITEMSTRUCT* item) { drawn.push_back(*item); };
    send(SB_SETTEXTA, 2 | SBT_OWNERDRAW, reinterpret_cast<LPARAM>(data));
    EXPECT_EQ(send(SB_GETTEXTA, 2, 0), reinterpret_cast<LPARAM>(data));
    UpdateWindow(bar);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].itemID, 2u);
    EXPECT_EQ(drawn[0].itemData, reinterpret_cast<ULONG_PTR>(data));
    EXPECT_EQ(drawn[0].hwndItem, bar);
    EXPECT_EQ(drawn[0].rcItem.Left, 103);
}

TEST_F(StatusBarTest, ASizeGripShortensTheLastPart) {
    HWND gripped = Control(STATUSCLASSNAMEW, SBARS_SIZEGRIP, parent, {0, 0, 10, 10});
    RECT part;
    SendMessageW(gripped, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&part));
    EXPECT_LT(part.Right, 400);
    EXPECT_GT(part.Right, 370);
}

} // namespace
