#include "CommonControlTestSupport.h"

#include "platform/win/Messages.h"

using namespace control_tests;
using namespace window_tests;

namespace {

class TabControlTest : public ControlTest {
protected:
    HWND parent = nullptr;
    HWND tabs = nullptr;
    void SetUp() override {
        ControlTest::SetUp();
        parent = WideParent(400, 300);
        tabs = Control(WC_TABCONTROLW, WS_TABSTOP, parent, {10, 10, 310, 210});
        for (const WCHAR* caption : {u"First", u"Second", u"Third"})
            insert(caption);
        ProcessMessages();
    }
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageW(tabs, message, wParam, lParam);
    }
    int insert(const WCHAR* caption, int index = 100, LPARAM param = 0) {
        TCITEMW item;
        item.mask = TCIF_TEXT | TCIF_PARAM;
        item.pszText = const_cast<WCHAR*>(caption);
        item.lParam = param;
        return static_cast<int>(
            send(TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    }
    RECT itemRect(int index) {
        RECT rect;
        send(TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    POINT centre(int index) {
        RECT rect = itemRect(index);
        return {rect.Left + rect.Width() / 2, rect.Top + rect.Height() / 2};
    }
};

TEST_F(TabControlTest, ItemsAreKeptAndReadInBothForms) {
    EXPECT_EQ(send(TCM_GETITEMCOUNT), 3);
    TCITEMA ansiItem;
    ansiItem.mask = TCIF_TEXT | TCIF_PARAM;
    ansiItem.pszText = const_cast<char*>("Caf\xE9");
    ansiItem.lParam = 42;
    EXPECT_EQ(send(TCM_INSERTITEMA, 1, reinterpret_cast<LPARAM>(&ansiItem)), 1);
    WCHAR text[32] = {};
    TCITEMW wideItem;
    wideItem.mask = TCIF_TEXT | TCIF_PARAM;
    wideItem.pszText = text;
    wideItem.cchTextMax = 32;
    EXPECT_TRUE(send(TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&wideItem)));
    EXPECT_EQ(WideString(text), u"Caf\u00E9");
    EXPECT_EQ(wideItem.lParam, 42);
    char small[4] = {};
    ansiItem.mask = TCIF_TEXT;
    ansiItem.pszText = small;
    ansiItem.cchTextMax = 4;
    EXPECT_TRUE(send(TCM_GETITEMA, 2, reinterpret_cast<LPARAM>(&ansiItem)));
    EXPECT_STREQ(small, "Sec");
    EXPECT_FALSE(send(TCM_GETITEMA, 9, reinterpret_cast<LPARAM>(&ansiItem)));
}

TEST_F(TabControlTest, TheFirstTabIsSelectedAndTheSelectionFollowsInsertsAndDeletes) {
    EXPECT_EQ(send(TCM_GETCURSEL), 0);
    EXPECT_EQ(send(TCM_SETCURSEL, 2), 0);
    insert(u"Zero", 0);
    EXPECT_EQ(send(TCM_GETCURSEL), 3);
    send(TCM_DELETEITEM, 1);
    EXPECT_EQ(send(TCM_GETCURSEL), 2);
    send(TCM_DELETEITEM, 2);
    EXPECT_EQ(send(TCM_GETCURSEL), -1);
    EXPECT_EQ(send(TCM_SETCURSEL, 7), -1);
    EXPECT_TRUE(NotificationCodes().empty());
}

TEST_F(TabControlTest, AClickAsksTheParentFirstAndMayBeRefused) {
    Click(tabs, centre(1));
    ProcessMessages();
    EXPECT_EQ(send(TCM_GETCURSEL), 1);
    EXPECT_EQ(NotificationCodes(), (std::vector<UINT>{TCN_SELCHANGING, TCN_SELCHANGE, NM_CLICK}));
    HeardLog().clear();
    NotifyAnswer() = [](NMHDR* header) -> LRESULT { return header->code == TCN_SELCHANGING; };
    Click(tabs, centre(2));
    ProcessMessages();
    EXPECT_EQ(send(TCM_GETCURSEL), 1);
    EXPECT_EQ(NotificationCodes(), (std::vector<UINT>{TCN_SELCHANGING, NM_CLICK}));
}

TEST_F(TabControlTest, ArrowKeysMoveTheSelection) {
    SetFocus(tabs);
    PressKey(VK_RIGHT);
    PressKey(VK_RIGHT);
    PressKey(VK_RIGHT);
    ProcessMessages();
    EXPECT_EQ(send(TCM_GETCURSEL), 2);
    PressKey(VK_HOME);
    ProcessMessages();
    EXPECT_EQ(send(TCM_GETCURSEL), 0);
    std::vector<UINT> codes = NotificationCodes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), TCN_SELCHANGE), 3);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), TCN_KEYDOWN), 4);
}

TEST_F(TabControlTest, TheDisplayAreaLiesBelowTheTabsAndAdjustsBothWays) {
    RECT display{0, 0, 300, 200};
    send(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    EXPECT_GT(display.Top, itemRect(0).Bottom);
    EXPECT_GT(display.Left, 0);
    EXPECT_LT(display.Bottom, 200);
    send(TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&display));
    EXPECT_EQ(display, (RECT{0, 0, 300, 200}));
    TCHITTESTINFO hit;
    hit.pt = centre(2);
    EXPECT_EQ(send(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 2);
    EXPECT_EQ(hit.flags, TCHT_ONITEMLABEL);
    hit.pt = {150, 150};
    EXPECT_EQ(send(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
}

TEST_F(TabControlTest, MultiLineTabsWrapAndTheSelectedRowMovesNextToTheDisplay) {
    HWND narrow = Control(WC_TABCONTROLW, TCS_MULTILINE, parent, {0, 0, 120, 150});
    for (const WCHAR* caption : {u"Alpha", u"Beta", u"Gamma", u"Delta"}) {
        TCITEMW item;
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<WCHAR*>(caption);
        SendMessageW(narrow, TCM_INSERTITEMW, 10, reinterpret_cast<LPARAM>(&item));
    }
    EXPECT_GT(SendMessageW(narrow, TCM_GETROWCOUNT, 0, 0), 1);
    RECT first;
    RECT last;
    SendMessageW(narrow, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    SendMessageW(narrow, TCM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&last));
    EXPECT_GT(first.Top, last.Top);
    SendMessageW(narrow, TCM_SETCURSEL, 3, 0);
    SendMessageW(narrow, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    SendMessageW(narrow, TCM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&last));
    EXPECT_LT(first.Top, last.Top);
}

TEST_F(TabControlTest, TabsThatDoNotFitScrollWithTheArrowButtons) {
    for (int i = 0; i < 12; ++i)
        insert(u"Another tab");
    EXPECT_EQ(itemRect(0).Left, 2);
    RECT client;
    GetClientRect(tabs, &client);
    Click(tabs, {client.Right - 4, itemRect(1).Top + 8});
    ProcessMessages();
    EXPECT_EQ(itemRect(0).Width(), 0);
    EXPECT_EQ(itemRect(1).Left, 2);
    // Selecting a tab out of sight scrolls it into view.
    send(TCM_SETCURSEL, 14);
    EXPECT_GT(itemRect(14).Width(), 0);
    EXPECT_LT(itemRect(14).Right, client.Right - 16);
}

} // namespace
