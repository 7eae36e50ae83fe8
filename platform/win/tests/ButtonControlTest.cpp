#include "StandardControlsTestSupport.h"

#include "platform/win/ButtonControl.h"
#include "platform/win/SysColors.h"

using namespace standard_control_tests;

namespace {

class ButtonTest : public StandardControlTest {
protected:
    HWND parent = nullptr;
    void SetUp() override {
        StandardControlTest::SetUp();
        parent = MakeParent();
    }
    HWND Button(DWORD style, TRect rect = {10, 10, 110, 34}, const WCHAR* text = u"&Button", int id = 7) {
        return Control(u"BUTTON", style, parent, rect, text, id);
    }
};

TEST_F(ButtonTest, ClicksStepTheStateOfAutomaticCheckBoxes) {
    struct Case {
        DWORD style;
        std::vector<LRESULT> states;
    };
    const Case cases[] = {
        {BS_AUTOCHECKBOX, {BST_CHECKED, BST_UNCHECKED, BST_CHECKED}},
        {BS_AUTO3STATE, {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}},
        // Plain check boxes leave their state to the parent.
        {BS_CHECKBOX, {BST_UNCHECKED, BST_UNCHECKED, BST_UNCHECKED}},
    };
    for (const Case& each : cases) {
        HWND box = Button(each.style);
        for (LRESULT expected : each.states) {
            Click(box, {5, 12});
            EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), expected) << each.style;
        }
        EXPECT_EQ(CodesOf(box), std::vector<WORD>(3, BN_CLICKED));
        EXPECT_EQ(GetFocus(), box);
        DestroyWindow(box);
    }
}

TEST_F(ButtonTest, SetCheckKeepsTheThirdStateForThreeStateBoxesOnly) {
    HWND twoState = Button(BS_CHECKBOX);
    HWND threeState = Button(BS_3STATE, {10, 40, 110, 64});
    HWND push = Button(BS_PUSHBUTTON, {10, 70, 110, 94});
    SendMessageW(twoState, BM_SETCHECK, BST_INDETERMINATE, 0);
    SendMessageW(threeState, BM_SETCHECK, BST_INDETERMINATE, 0);
    SendMessageW(push, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageW(twoState, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(threeState, BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    EXPECT_EQ(SendMessageW(push, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(CodesOf(twoState).empty());
}

TEST_F(ButtonTest, AnAutomaticRadioButtonUnchecksTheOthersOfItsGroupOnly) {
    HWND first = Button(BS_AUTORADIOBUTTON | WS_GROUP, {10, 10, 110, 30}, u"One", 1);
    HWND second = Button(BS_AUTORADIOBUTTON, {10, 40, 110, 60}, u"Two", 2);
    HWND third = Button(BS_AUTORADIOBUTTON, {10, 70, 110, 90}, u"Three", 3);
    HWND otherGroup = Button(BS_AUTORADIOBUTTON | WS_GROUP, {10, 100, 110, 120}, u"Four", 4);
    SendMessageW(first, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(otherGroup, BM_SETCHECK, BST_CHECKED, 0);
    Click(third, {5, 10});
    EXPECT_EQ(SendMessageW(first, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(second, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(third, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(otherGroup, BM_GETCHECK, 0, 0), BST_CHECKED);
    // The checked radio button is the group's tab stop.
    EXPECT_FALSE(GetWindowLongW(first, GWL_STYLE) & WS_TABSTOP);
    EXPECT_TRUE(GetWindowLongW(third, GWL_STYLE) & WS_TABSTOP);
    EXPECT_EQ(Parent().commands, (std::vector<Command>{{3, BN_CLICKED, third}}));
    EXPECT_EQ(SendMessageW(third, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_RADIOBUTTON);
}

TEST_F(ButtonTest, APushButtonClicksOnlyWhenReleasedOverIt) {
    HWND button = Button(BS_PUSHBUTTON);
    POINT inside = window_tests::ScreenPoint(button, {20, 10});
    POINT outside = window_tests::ScreenPoint(button, {20, 60});
    DeliverMouseMove(inside);
    DeliverMouseButton(MouseButton::Left, true, inside);
    Pump();
    EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0), BST_PUSHED | BST_FOCUS);
    DeliverMouseMove(outside);
    Pump();
    EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0), BST_FOCUS);
    DeliverMouseButton(MouseButton::Left, false, outside);
    Pump();
    EXPECT_TRUE(Parent().commands.empty());
    EXPECT_EQ(GetCapture(), nullptr);

    Click(button, {20, 10});
    Press(VK_SPACE);
    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(CodesOf(button), std::vector<WORD>(3, BN_CLICKED));

    EnableWindow(button, FALSE);
    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(CodesOf(button).size(), 3u);
}

TEST_F(ButtonTest, SetStyleMakesTheDefaultButton) {
    HWND button = Button(BS_PUSHBUTTON | BS_CENTER);
    EXPECT_EQ(SendMessageW(button, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
    SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(SendMessageW(button, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    // Only the kind changes; the alignment stays.
    EXPECT_EQ(GetWindowLongW(button, GWL_STYLE) & (BS_TYPEMASK | BS_CENTER), BS_DEFPUSHBUTTON | BS_CENTER);
    // The default button wears a black frame.
    auto pixels = Pixels(button);
    EXPECT_EQ(PixelAt(*pixels, 0, 10), GetSysColor(COLOR_WINDOWFRAME));
}

TEST_F(ButtonTest, AGroupBoxLetsTheMouseThroughToWhatIsBehindIt) {
    HWND group = Button(BS_GROUPBOX, {10, 10, 200, 150}, u"Group");
    EXPECT_EQ(SendMessageW(group, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
    EXPECT_EQ(WindowFromPoint(window_tests::ScreenPoint(group, {50, 50})), parent);
    EXPECT_EQ(SendMessageW(group, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    // The frame runs through the middle of the caption's height; the caption covers it.
    auto pixels = Pixels(group);
    TRect caption = InkBounds(*pixels, {0, 0, 100, 20});
    EXPECT_GE(caption.Left, 8);
    EXPECT_EQ(PixelAt(*pixels, 2, 140 - 1), GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST_F(ButtonTest, OwnerDrawnButtonsAreDrawnByTheParentWithTheirState) {
    HWND button = Button(BS_OWNERDRAW);
    UpdateWindow(button);
    ASSERT_FALSE(Parent().drawn.empty());
    DRAWITEMSTRUCT idle = Parent().drawn.back();
    EXPECT_EQ(idle.CtlType, ODT_BUTTON);
    EXPECT_EQ(idle.CtlID, 7u);
    EXPECT_EQ(idle.hwndItem, button);
    EXPECT_EQ(idle.itemState, 0u);
    EXPECT_EQ(idle.rcItem, (TRect{0, 0, 100, 24}));
    SetFocus(button);
    SendMessageW(button, BM_SETSTATE, TRUE, 0);
    UpdateWindow(button);
    EXPECT_EQ(Parent().drawn.back().itemState, ODS_SELECTED | ODS_FOCUS);
    SendMessageW(button, WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    EXPECT_EQ(CodesOf(button), std::vector<WORD>{BN_DOUBLECLICKED});
}

TEST_F(ButtonTest, CheckMarksAndTheAcceleratorAreDrawn) {
    HWND box = Button(BS_AUTOCHECKBOX, {10, 10, 150, 30}, u"&Check");
    auto unchecked = Pixels(box);
    // The box is sunken, white inside, with a blank middle.
    EXPECT_EQ(PixelAt(*unchecked, 0, 3), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(PixelAt(*unchecked, 6, 9), GetSysColor(COLOR_WINDOW));
    SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    auto checked = Pixels(box);
    TRect mark = InkBounds(*checked, {2, 5, 11, 15});
    EXPECT_EQ(mark.Width(), 7);
    EXPECT_EQ(mark.Height(), 7);
    // The text has its accelerator underlined: ink below the letters' baseline under "C" only.
    TRect text = InkBounds(*checked, {17, 0, 140, 20});
    TRect underline = InkBounds(*checked, {17, text.Bottom - 1, 140, text.Bottom});
    EXPECT_LT(underline.Width(), text.Width() / 2);
}

TEST_F(ButtonTest, AnAnsiCallerReadsTheTextConverted) {
    HWND button = Button(BS_PUSHBUTTON, {10, 10, 110, 34}, u"\u041E\u043A");
    char ansi[8] = {};
    GetWindowTextA(button, ansi, sizeof ansi);
    EXPECT_STREQ(ansi, "??");
    SetWindowTextA(button, "Gr\xF6\xDF"
                           "e");
    WCHAR wide[8] = {};
    GetWindowTextW(button, wide, 8);
    EXPECT_EQ(WideString(wide), u"Gr\u00F6\u00DFe");
}

} // namespace
