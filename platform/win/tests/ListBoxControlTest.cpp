#include "StandardControlsTestSupport.h"

#include "platform/win/ListBoxControl.h"
#include "platform/win/ScrollBars.h"

using namespace standard_control_tests;

namespace {

class ListBoxTest : public StandardControlTest {
protected:
    HWND parent = nullptr;
    void SetUp() override {
        StandardControlTest::SetUp();
        parent = MakeParent();
    }
    HWND List(DWORD style, TRect rect = {10, 10, 160, 110}) {
        return Control(u"LISTBOX", style | LBS_NOINTEGRALHEIGHT, parent, rect);
    }
    static LRESULT Add(HWND list, const WCHAR* text) {
        return SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    static void AddAll(HWND list, std::initializer_list<const WCHAR*> texts) {
        for (const WCHAR* text : texts)
            Add(list, text);
    }
    static WideString Text(HWND list, int index) {
        WCHAR buffer[64] = {};
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }
    static std::vector<WideString> Texts(HWND list) {
        std::vector<WideString> texts;
        for (int index = 0; index < SendMessageW(list, LB_GETCOUNT, 0, 0); ++index)
            texts.push_back(Text(list, index));
        return texts;
    }
    static int ItemHeight(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0)); }
    // The middle of an item on the screen's side of the list.
    static POINT ItemPoint(HWND list, int index) {
        TRect rect;
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
        return {rect.Left + 10, (rect.Top + rect.Bottom) / 2};
    }
    static std::vector<int> Selected(HWND list) {
        int buffer[32] = {};
        LRESULT count = SendMessageW(list, LB_GETSELITEMS, 32, reinterpret_cast<LPARAM>(buffer));
        return std::vector<int>(buffer, buffer + std::max<LRESULT>(count, 0));
    }
};

TEST_F(ListBoxTest, ASortedListOrdersWithoutRegardToCase) {
    HWND list = List(LBS_SORT);
    EXPECT_EQ(Add(list, u"pear"), 0);
    EXPECT_EQ(Add(list, u"Apple"), 0);
    EXPECT_EQ(Add(list, u"banana"), 1);
    EXPECT_EQ(Add(list, u"apple"), 1);
    EXPECT_EQ(Texts(list), (std::vector<WideString>{u"Apple", u"apple", u"banana", u"pear"}));
    // Inserting puts an item where it is asked, sorted or not.
    EXPECT_EQ(SendMessageW(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(u"zebra")), 0);
    EXPECT_EQ(SendMessageW(list, LB_INSERTSTRING, 9, reinterpret_cast<LPARAM>(u"x")), LB_ERR);
    EXPECT_EQ(Text(list, 0), u"zebra");
}

TEST_F(ListBoxTest, FindingItemsByPrefixOrWholeTextWrapsAround) {
    HWND list = List(0);
    AddAll(list, {u"Red", u"Green", u"Reed", u"Blue"});
    auto find = [&](UINT message, int start, const WCHAR* text) {
        return SendMessageW(list, message, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text));
    };
    EXPECT_EQ(find(LB_FINDSTRING, -1, u"re"), 0);
    EXPECT_EQ(find(LB_FINDSTRING, 0, u"RE"), 2);
    EXPECT_EQ(find(LB_FINDSTRING, 2, u"re"), 0);
    EXPECT_EQ(find(LB_FINDSTRING, -1, u"x"), LB_ERR);
    EXPECT_EQ(find(LB_FINDSTRINGEXACT, -1, u"reed"), 2);
    EXPECT_EQ(find(LB_FINDSTRINGEXACT, -1, u"Re"), LB_ERR);
    EXPECT_EQ(find(LB_SELECTSTRING, -1, u"gr"), 1);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_TRUE(CodesOf(list).empty());
}

TEST_F(ListBoxTest, TheUsersSelectionIsReportedButNotTheProgramsOwn) {
    HWND list = List(LBS_NOTIFY);
    AddAll(list, {u"one", u"two", u"three", u"four"});
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    EXPECT_TRUE(CodesOf(list).empty());

    Click(list, ItemPoint(list, 2));
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(GetFocus(), list);
    EXPECT_EQ(CodesOf(list), (std::vector<WORD>{LBN_SETFOCUS, LBN_SELCHANGE}));
    // A click on the selected item is reported all the same; the second click makes a double click.
    Click(list, ItemPoint(list, 2));
    EXPECT_EQ(CodesOf(list), (std::vector<WORD>{LBN_SETFOCUS, LBN_SELCHANGE, LBN_DBLCLK, LBN_SELCHANGE}));

    Press(VK_DOWN);
    Press(VK_HOME);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
    Press('T');
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    Press('T');
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(CodesOf(list).size(), 8u);

    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
}

TEST_F(ListBoxTest, WithoutNotifyTheParentHearsNothing) {
    HWND list = List(0);
    AddAll(list, {u"one", u"two"});
    Click(list, ItemPoint(list, 1));
    Press(VK_UP);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(CodesOf(list).empty());
}

TEST_F(ListBoxTest, ExtendedSelectionWithShiftAndControl) {
    HWND list = List(LBS_EXTENDEDSEL | LBS_NOTIFY);
    AddAll(list, {u"a", u"b", u"c", u"d", u"e"});
    Click(list, ItemPoint(list, 1));
    DeliverKey(VK_SHIFT, true);
    Click(list, ItemPoint(list, 3));
    DeliverKey(VK_SHIFT, false);
    Pump();
    EXPECT_EQ(Selected(list), (std::vector<int>{1, 2, 3}));
    DeliverKey(VK_CONTROL, true);
    Click(list, ItemPoint(list, 2));
    DeliverKey(VK_CONTROL, false);
    Pump();
    EXPECT_EQ(Selected(list), (std::vector<int>{1, 3}));
    EXPECT_EQ(SendMessageW(list, LB_GETSELCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);
    // Programs select through LB_SETSEL; LB_SETCURSEL is for single selection.
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, 0, 0), LB_ERR);
    SendMessageW(list, LB_SETSEL, FALSE, -1);
    SendMessageW(list, LB_SETSEL, TRUE, 4);
    EXPECT_EQ(Selected(list), std::vector<int>{4});
    EXPECT_EQ(SendMessageW(list, LB_GETSEL, 4, 0), 1);
    EXPECT_EQ(SendMessageW(list, LB_GETSEL, 9, 0), LB_ERR);
}

TEST_F(ListBoxTest, MultipleSelectionTogglesEachClickedItem) {
    HWND list = List(LBS_MULTIPLESEL | LBS_NOTIFY);
    AddAll(list, {u"a", u"b", u"c"});
    Click(list, ItemPoint(list, 0));
    Click(list, ItemPoint(list, 2));
    EXPECT_EQ(Selected(list), (std::vector<int>{0, 2}));
    Press(VK_UP);
    Press(VK_SPACE);
    EXPECT_EQ(Selected(list), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(SendMessageW(list, LB_SELITEMRANGE, FALSE, MAKELPARAM(0, 1)), 0);
    EXPECT_EQ(Selected(list), std::vector<int>{2});
}

TEST_F(ListBoxTest, DeletingKeepsTheSelectionOnItsItem) {
    HWND list = List(0);
    AddAll(list, {u"a", u"b", u"c"});
    SendMessageW(list, LB_SETCURSEL, 2, 0);
    SendMessageW(list, LB_SETITEMDATA, 2, 42);
    EXPECT_EQ(SendMessageW(list, LB_DELETESTRING, 0, 0), 2);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 1, 0), 42);
    EXPECT_EQ(SendMessageW(list, LB_DELETESTRING, 5, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 5, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_GETTEXTLEN, 0, 0), 1);
    EXPECT_EQ(SendMessageW(list, LB_GETTEXTLEN, 2, 0), LB_ERR);
    // Items with data are announced to the parent as they go.
    SendMessageW(list, LB_DELETESTRING, 1, 0);
    ASSERT_EQ(Parent().deleted.size(), 1u);
    EXPECT_EQ(Parent().deleted[0].itemData, 42u);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 0);
}

TEST_F(ListBoxTest, OwnerDrawnFixedItemsHoldDataAndAreDrawnByTheParent) {
    Parent().itemHeight = [](const MEASUREITEMSTRUCT&) { return 20u; };
    HWND list = List(LBS_OWNERDRAWFIXED | LBS_SORT);
    ASSERT_EQ(Parent().measured.size(), 1u);
    EXPECT_EQ(Parent().measured[0].CtlType, ODT_LISTBOX);
    EXPECT_EQ(ItemHeight(list), 20);
    for (LPARAM data : {30, 10, 20})
        SendMessageW(list, LB_ADDSTRING, 0, data);
    EXPECT_GT(Parent().compared, 0);
    ULONG_PTR first = 0;
    EXPECT_EQ(SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(&first)), sizeof(ULONG_PTR));
    EXPECT_EQ(first, 10u);
    EXPECT_EQ(SendMessageW(list, LB_FINDSTRING, static_cast<WPARAM>(-1), 20), 1);

    SendMessageW(list, LB_SETCURSEL, 1, 0);
    Parent().drawn.clear();
    UpdateWindow(list);
    ASSERT_EQ(Parent().drawn.size(), 3u);
    const DRAWITEMSTRUCT& second = Parent().drawn[1];
    EXPECT_EQ(second.itemID, 1u);
    EXPECT_EQ(second.itemData, 20u);
    EXPECT_EQ(second.itemState & ODS_SELECTED, ODS_SELECTED);
    EXPECT_EQ(second.rcItem, (TRect{0, 20, 150, 40}));
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(Parent().deleted.size(), 3u);
}

TEST_F(ListBoxTest, VariableItemsHaveTheirOwnHeights) {
    Parent().itemHeight = [](const MEASUREITEMSTRUCT& item) { return 10 + 5 * item.itemID; };
    HWND list = List(LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS);
    AddAll(list, {u"a", u"b", u"c"});
    EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 2, 0), 20);
    TRect third;
    SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&third));
    EXPECT_EQ(third.Top, 25);
    EXPECT_EQ(SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 30)), MAKELONG(2, 0));
    EXPECT_EQ(SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 80)), MAKELONG(2, 1));
    EXPECT_EQ(SendMessageW(list, LB_SETITEMHEIGHT, 0, 300), LB_ERR);
    SendMessageW(list, LB_SETITEMHEIGHT, 0, 4);
    SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&third));
    EXPECT_EQ(third.Top, 19);
    EXPECT_EQ(Text(list, 1), u"b");
}

TEST_F(ListBoxTest, ALongListScrollsToShowItsSelection) {
    HWND list = List(WS_VSCROLL);
    EXPECT_FALSE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);
    for (int index = 0; index < 30; ++index)
        Add(list, u"item");
    EXPECT_TRUE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);
    TRect client;
    GetClientRect(list, &client);
    int visible = client.Height() / ItemHeight(list);
    SendMessageW(list, LB_SETCURSEL, 20, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 20 - visible + 1);
    EXPECT_EQ(GetScrollPos(list, SB_VERT), 20 - visible + 1);
    SendMessageW(list, LB_SETTOPINDEX, 29, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 30 - visible);
    SendMessageW(list, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0);
    SendMessageW(list, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 3);
    SendMessageW(list, LB_SETHORIZONTALEXTENT, 500, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0), 500);
}

TEST_F(ListBoxTest, TextBeyondTheAnsiCodePageStaysWhole) {
    HWND list = List(0);
    Add(list, u"\u65E5\u672C");
    SendMessageA(list, LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>("Gr\xF6\xDF"
                                          "e"));
    EXPECT_EQ(Text(list, 0), u"\u65E5\u672C");
    EXPECT_EQ(Text(list, 1), u"Gr\u00F6\u00DFe");
    char ansi[16] = {};
    EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(ansi)), 2);
    EXPECT_STREQ(ansi, "??");
    EXPECT_EQ(SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>("GR\xD6\xDF"
                                                    "E")),
              1);
}

TEST_F(ListBoxTest, AListWithoutDataHasOnlyANumberOfItems) {
    HWND list = List(LBS_OWNERDRAWFIXED | LBS_NODATA);
    EXPECT_EQ(SendMessageW(list, LB_SETCOUNT, 500, 0), 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 500);
    EXPECT_EQ(SendMessageW(list, LB_ADDSTRING, 0, 1), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, 499, 0), 499);
    Parent().drawn.clear();
    UpdateWindow(list);
    ASSERT_FALSE(Parent().drawn.empty());
    EXPECT_EQ(Parent().drawn.back().itemID, 499u);
    EXPECT_EQ(SendMessageW(List(0, {170, 10, 300, 100}), LB_SETCOUNT, 5, 0), LB_ERR);
}

} // namespace
