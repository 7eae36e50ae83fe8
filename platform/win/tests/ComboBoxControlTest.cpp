#include "StandardControlsTestSupport.h"

#include "platform/win/ComboBoxControl.h"
#include "platform/win/EditControl.h"
#include "platform/win/ListBoxControl.h"

using namespace standard_control_tests;

namespace {

class ComboBoxTest : public StandardControlTest {
protected:
    HWND parent = nullptr;
    void SetUp() override {
        StandardControlTest::SetUp();
        parent = MakeParent();
    }
    HWND Combo(DWORD style, std::initializer_list<const WCHAR*> items = {u"one", u"two", u"three"},
               TRect rect = {10, 10, 160, 200}) {
        HWND combo = Control(u"COMBOBOX", style | WS_VSCROLL, parent, rect);
        for (const WCHAR* item : items)
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        return combo;
    }
    static COMBOBOXINFO Info(HWND combo) {
        COMBOBOXINFO info;
        GetComboBoxInfo(combo, &info);
        return info;
    }
    static WideString Text(HWND window) { return ControlText(window); }
    static LRESULT Selection(HWND combo) { return SendMessageW(combo, CB_GETCURSEL, 0, 0); }
    static bool Dropped(HWND combo) { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }
    // The screen point of an item of the dropped list.
    static POINT ListItemPoint(HWND combo, int index) {
        HWND list = Info(combo).hwndList;
        TRect rect;
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
        return window_tests::ScreenPoint(list, {rect.Left + 10, (rect.Top + rect.Bottom) / 2});
    }
    static void ClickAt(POINT screen) {
        DeliverMouseMove(screen);
        DeliverMouseButton(MouseButton::Left, true, screen);
        DeliverMouseButton(MouseButton::Left, false, screen);
        Pump();
    }
};

TEST_F(ComboBoxTest, ADropDownListIsAsHighAsItsFieldAndDropsItsListBelow) {
    HWND combo = Combo(CBS_DROPDOWNLIST);
    TRect rect;
    GetWindowRect(combo, &rect);
    LRESULT fieldHeight = SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(rect.Height(), fieldHeight + 6);
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0), fieldHeight - 2);
    COMBOBOXINFO info = Info(combo);
    EXPECT_EQ(info.hwndItem, nullptr);
    EXPECT_FALSE(IsWindowVisible(info.hwndList));
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    TRect list;
    GetWindowRect(info.hwndList, &list);
    EXPECT_TRUE(IsWindowVisible(info.hwndList));
    EXPECT_EQ(list.Top, rect.Bottom);
    EXPECT_EQ(list.Left, rect.Left);
    EXPECT_EQ(list.Width(), rect.Width());
    // Three items need three rows and the borders, though more room was given.
    EXPECT_EQ(list.Height(), 3 * (fieldHeight - 2) + 2);
    EXPECT_EQ(SendMessageW(combo, CB_SETDROPPEDWIDTH, 300, 0), 300);
    EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDWIDTH, 0, 0), 300);
}

TEST_F(ComboBoxTest, PickingAnItemWithTheMouseEndsTheSelection) {
    HWND combo = Combo(CBS_DROPDOWNLIST);
    Click(combo, {20, 8});
    EXPECT_TRUE(Dropped(combo));
    EXPECT_EQ(CodesOf(combo), (std::vector<WORD>{CBN_SETFOCUS, CBN_DROPDOWN}));
    // Moving over the list highlights the item under the mouse.
    DeliverMouseMove(ListItemPoint(combo, 1));
    Pump();
    EXPECT_EQ(Selection(combo), 1);
    ClickAt(ListItemPoint(combo, 1));
    EXPECT_FALSE(Dropped(combo));
    EXPECT_FALSE(IsWindowVisible(Info(combo).hwndList));
    EXPECT_EQ(CodesOf(combo),
              (std::vector<WORD>{CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
    EXPECT_EQ(Text(combo), u"two");
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ComboBoxTest, ClickingElsewhereCancelsAndRestoresTheSelection) {
    HWND combo = Combo(CBS_DROPDOWNLIST);
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    Click(combo, {20, 8});
    DeliverMouseMove(ListItemPoint(combo, 2));
    Pump();
    EXPECT_EQ(Selection(combo), 2);
    Parent().commands.clear();
    Click(parent, {350, 250});
    EXPECT_FALSE(Dropped(combo));
    EXPECT_EQ(CodesOf(combo), (std::vector<WORD>{CBN_SELENDCANCEL, CBN_CLOSEUP}));
    EXPECT_EQ(Selection(combo), 0);
    EXPECT_EQ(Text(combo), u"one");
}

TEST_F(ComboBoxTest, KeysChangeTheSelectionAndWorkTheList) {
    HWND combo = Combo(CBS_DROPDOWNLIST);
    SetFocus(combo);
    Parent().commands.clear();
    Press(VK_DOWN);
    EXPECT_EQ(Selection(combo), 0);
    Press(VK_DOWN);
    EXPECT_EQ(Selection(combo), 1);
    EXPECT_EQ(CodesOf(combo), (std::vector<WORD>{CBN_SELCHANGE, CBN_SELCHANGE}));
    Parent().commands.clear();
    Press(VK_F4);
    EXPECT_TRUE(Dropped(combo));
    Press(VK_DOWN);
    Press(VK_ESCAPE);
    EXPECT_FALSE(Dropped(combo));
    // The key moved the selection for good; Escape only closes.
    EXPECT_EQ(Selection(combo), 2);
    EXPECT_EQ(CodesOf(combo),
              (std::vector<WORD>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDCANCEL, CBN_CLOSEUP}));
    Parent().commands.clear();
    Press(VK_DOWN, {VK_MENU});
    EXPECT_TRUE(Dropped(combo));
    Press(VK_RETURN);
    EXPECT_FALSE(Dropped(combo));
    EXPECT_EQ(CodesOf(combo), (std::vector<WORD>{CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP}));
    Press('O');
    EXPECT_EQ(Text(combo), u"one");
}

TEST_F(ComboBoxTest, SortedItemsAndTheMessagesThatSelectThem) {
    HWND combo = Combo(CBS_DROPDOWNLIST | CBS_SORT, {u"pear", u"Apple", u"fig"});
    EXPECT_EQ(SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"banana")), 1);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 4);
    WCHAR buffer[16] = {};
    EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(buffer)), 3);
    EXPECT_EQ(WideString(buffer), u"fig");
    EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXTLEN, 3, 0), 4);
    EXPECT_EQ(
        SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"PEAR")),
        3);
    EXPECT_EQ(SendMessageW(combo, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"b")), 1);

    EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 2, 0), 2);
    EXPECT_EQ(Text(combo), u"fig");
    EXPECT_EQ(SendMessageW(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"ap")),
              0);
    // Setting the text of a drop-down list selects the item of that text.
    EXPECT_EQ(SendMessageW(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"Banana")), TRUE);
    EXPECT_EQ(Selection(combo), 1);
    EXPECT_EQ(SendMessageW(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"kiwi")), CB_ERR);
    EXPECT_EQ(Selection(combo), 1);
    char ansi[16] = {};
    EXPECT_EQ(GetWindowTextA(combo, ansi, sizeof ansi), 6);
    EXPECT_STREQ(ansi, "banana");
    SendMessageW(combo, CB_SETITEMDATA, 1, 99);
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, 1, 0), 99);
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(Text(combo), u"");
    EXPECT_TRUE(CodesOf(combo).empty());
    SendMessageW(combo, CB_DELETESTRING, 0, 0);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 0);
}

TEST_F(ComboBoxTest, OwnerDrawnItemsAreMeasuredAndDrawnAsTheComboBoxs) {
    Parent().itemHeight = [](const MEASUREITEMSTRUCT& item) {
        return item.itemID == static_cast<UINT>(-1) ? 20u : 18u;
    };
    HWND combo = Combo(CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, {});
    ASSERT_EQ(Parent().measured.size(), 2u);
    for (const MEASUREITEMSTRUCT& measured : Parent().measured) {
        EXPECT_EQ(measured.CtlType, ODT_COMBOBOX);
        EXPECT_EQ(measured.CtlID, 7u);
    }
    EXPECT_EQ(Parent().measured[0].itemID, static_cast<UINT>(-1));
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), 20);
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0), 18);
    SendMessageW(combo, CB_ADDSTRING, 0, 5);
    SendMessageW(combo, CB_ADDSTRING, 0, 7);
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    Parent().drawn.clear();
    UpdateWindow(combo);
    ASSERT_EQ(Parent().drawn.size(), 1u);
    DRAWITEMSTRUCT field = Parent().drawn[0];
    EXPECT_EQ(field.CtlType, ODT_COMBOBOX);
    EXPECT_EQ(field.hwndItem, combo);
    EXPECT_EQ(field.itemID, 1u);
    EXPECT_EQ(field.itemData, 7u);
    EXPECT_TRUE(field.itemState & ODS_COMBOBOXEDIT);

    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    Parent().drawn.clear();
    UpdateWindow(Info(combo).hwndList);
    ASSERT_EQ(Parent().drawn.size(), 2u);
    EXPECT_EQ(Parent().drawn[1].CtlType, ODT_COMBOBOX);
    EXPECT_EQ(Parent().drawn[1].hwndItem, combo);
    EXPECT_EQ(Parent().drawn[1].itemData, 7u);
    EXPECT_TRUE(Parent().drawn[1].itemState & ODS_SELECTED);
    EXPECT_FALSE(Parent().drawn[1].itemState & ODS_COMBOBOXEDIT);
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    ASSERT_EQ(Parent().deleted.size(), 2u);
    EXPECT_EQ(Parent().deleted[0].CtlType, ODT_COMBOBOX);
}

TEST_F(ComboBoxTest, TypingInTheEditFieldOfADropDown) {
    HWND combo = Combo(CBS_DROPDOWN | CBS_AUTOHSCROLL, {u"apple", u"banana"});
    HWND edit = Info(combo).hwndItem;
    ASSERT_TRUE(edit);
    WCHAR className[16] = {};
    GetClassNameW(edit, className, 16);
    EXPECT_EQ(WideString(className), u"Edit");
    SetFocus(combo);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(CodesOf(combo), std::vector<WORD>{CBN_SETFOCUS});
    Parent().commands.clear();

    DeliverCharacters(u"b");
    Pump();
    EXPECT_EQ(CodesOf(combo), (std::vector<WORD>{CBN_EDITUPDATE, CBN_EDITCHANGE}));
    EXPECT_EQ(Text(combo), u"b");
    EXPECT_EQ(Selection(combo), CB_ERR);
    Press(VK_F4);
    DeliverCharacters(u"a");
    Pump();
    // While the list shows, it follows what is typed.
    EXPECT_EQ(Selection(combo), 1);
    Parent().commands.clear();
    Press(VK_RETURN);
    EXPECT_FALSE(Dropped(combo));
    EXPECT_EQ(CodesOf(combo), (std::vector<WORD>{CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
    EXPECT_EQ(Text(combo), u"banana");

    Parent().commands.clear();
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    EXPECT_EQ(Text(combo), u"apple");
    EXPECT_TRUE(CodesOf(combo).empty());
    SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(1, 3));
    EXPECT_EQ(SendMessageW(combo, CB_GETEDITSEL, 0, 0), MAKELONG(1, 3));
    SendMessageW(combo, CB_LIMITTEXT, 3, 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 3);

    HWND other = Control(u"BUTTON", 0, parent, {200, 10, 260, 30}, u"x", 9);
    SetFocus(other);
    EXPECT_EQ(CodesOf(combo).back(), CBN_KILLFOCUS);
}

TEST_F(ComboBoxTest, ASimpleComboBoxShowsItsListAlways) {
    HWND combo = Combo(CBS_SIMPLE, {u"one", u"two", u"three"}, {10, 10, 160, 150});
    TRect rect;
    GetWindowRect(combo, &rect);
    EXPECT_EQ(rect.Height(), 140);
    HWND list = Info(combo).hwndList;
    EXPECT_TRUE(IsWindowVisible(list));
    EXPECT_EQ(GetParent(list), combo);
    EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & WS_CHILD, WS_CHILD);
    ClickAt(ListItemPoint(combo, 1));
    EXPECT_EQ(Text(combo), u"two");
    ClickAt(ListItemPoint(combo, 1));
    EXPECT_EQ(GetFocus(), Info(combo).hwndItem);
    EXPECT_EQ(CodesOf(combo), (std::vector<WORD>{CBN_SETFOCUS, CBN_SELCHANGE, CBN_DBLCLK}));
}

} // namespace
