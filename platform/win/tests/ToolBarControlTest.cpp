#include "CommonControlTestSupport.h"

#include "platform/win/Messages.h"

using namespace control_tests;
using namespace window_tests;

namespace {

constexpr int openCommand = 101;
constexpr int wrapCommand = 102;
constexpr int leftCommand = 103;
constexpr int rightCommand = 104;
constexpr int menuCommand = 105;

class ToolBarTest : public ControlTest {
protected:
    HWND parent = nullptr;
    HWND bar = nullptr;
    void SetUp() override {
        ControlTest::SetUp();
        parent = WideParent(400, 300);
        bar = Control(TOOLBARCLASSNAMEW, TBSTYLE_FLAT | CCS_NODIVIDER, parent, {0, 0, 400, 30});
        const LRESULT first = send(TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>("Open\0Wrap\0"));
        EXPECT_EQ(first, 0);
        TBBUTTON buttons[] = {
            {0, openCommand, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
            {5, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {}, 0, -1},
            {1, wrapCommand, TBSTATE_ENABLED | TBSTATE_CHECKED, TBSTYLE_CHECK, {}, 0, 1},
            {2, leftCommand, TBSTATE_ENABLED | TBSTATE_CHECKED, TBSTYLE_CHECKGROUP, {}, 0, -1},
            {3, rightCommand, TBSTATE_ENABLED, TBSTYLE_CHECKGROUP, {}, 0, -1},
        };
        send(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
        EXPECT_TRUE(send(TB_ADDBUTTONS, 5, reinterpret_cast<LPARAM>(buttons)));
        send(TB_SETBUTTONSIZE, 0, MAKELPARAM(23, 22));
        ProcessMessages();
        HeardLog().clear();
    }
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageW(bar, message, wParam, lParam);
    }
    static constexpr UINT TB_ADDBUTTONS = TB_ADDBUTTONSA;
    RECT rectOf(int index) {
        RECT rect;
        send(TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    void clickButton(int index) {
        RECT rect = rectOf(index);
        Click(bar, {rect.Left + rect.Width() / 2, rect.Top + rect.Height() / 2});
        ProcessMessages();
    }
    bool checked(int command) { return send(TB_ISBUTTONCHECKED, static_cast<WPARAM>(command)) != 0; }
    std::vector<int> commands() {
        std::vector<int> ids;
        for (const Heard& heard : HeardOf(WM_COMMAND)) {
            EXPECT_EQ(heard.lParam, reinterpret_cast<LPARAM>(bar));
            ids.push_back(LOWORD(heard.wParam));
        }
        return ids;
    }
};

TEST_F(ToolBarTest, ButtonsAreLaidOutInARowWithTheirSeparators) {
    EXPECT_EQ(send(TB_BUTTONCOUNT), 5);
    EXPECT_EQ(rectOf(0), (RECT{0, 0, 23, 22}));
    EXPECT_EQ(rectOf(1), (RECT{23, 0, 28, 22}));
    EXPECT_EQ(rectOf(2).Left, 28);
    send(TB_HIDEBUTTON, wrapCommand, TRUE);
    RECT hidden;
    EXPECT_FALSE(send(TB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&hidden)));
    EXPECT_EQ(rectOf(3).Left, 28);
    EXPECT_EQ(send(TB_COMMANDTOINDEX, rightCommand), 4);
    TBBUTTON button;
    EXPECT_TRUE(send(TB_GETBUTTON, 2, reinterpret_cast<LPARAM>(&button)));
    EXPECT_EQ(button.idCommand, wrapCommand);
    EXPECT_EQ(button.iString, 1);
    WCHAR text[16] = {};
    EXPECT_EQ(send(TB_GETBUTTONTEXTW, wrapCommand, reinterpret_cast<LPARAM>(text)), 4);
    EXPECT_EQ(WideString(text), u"Wrap");
    POINT onSeparator{25, 5};
    EXPECT_EQ(send(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&onSeparator)), ~1);
}

TEST_F(ToolBarTest, AClickReachesTheParentWithTheCheckStateAlreadyTurned) {
    std::vector<bool> seen;
    CommandHandler() = [&](WPARAM wParam, LPARAM) { seen.push_back(checked(LOWORD(wParam))); };
    clickButton(0);
    clickButton(2);
    clickButton(2);
    EXPECT_EQ(commands(), (std::vector<int>{openCommand, wrapCommand, wrapCommand}));
    EXPECT_EQ(seen, (std::vector<bool>{false, false, true}));
}

TEST_F(ToolBarTest, AGroupKeepsOneButtonChecked) {
    clickButton(4);
    EXPECT_TRUE(checked(rightCommand));
    EXPECT_FALSE(checked(leftCommand));
    clickButton(4);
    EXPECT_TRUE(checked(rightCommand));
    send(TB_CHECKBUTTON, leftCommand, TRUE);
    EXPECT_FALSE(checked(rightCommand));
    EXPECT_EQ(commands(), (std::vector<int>{rightCommand, rightCommand}));
}

TEST_F(ToolBarTest, NoClickWhenReleasedElsewhereOrDisabled) {
    RECT rect = rectOf(0);
    DeliverMouseMove(ScreenPoint(bar, {rect.Left + 5, rect.Top + 5}));
    DeliverMouseButton(MouseButton::Left, true, ScreenPoint(bar, {rect.Left + 5, rect.Top + 5}));
    ProcessMessages();
    EXPECT_TRUE(send(TB_ISBUTTONPRESSED, openCommand));
    DeliverMouseMove(ScreenPoint(bar, {rect.Left + 5, rect.Top + 60}));
    ProcessMessages();
    EXPECT_FALSE(send(TB_ISBUTTONPRESSED, openCommand));
    DeliverMouseButton(MouseButton::Left, false, ScreenPoint(bar, {rect.Left + 5, rect.Top + 60}));
    ProcessMessages();
    send(TB_ENABLEBUTTON, wrapCommand, FALSE);
    clickButton(2);
    EXPECT_TRUE(commands().empty());
    EXPECT_TRUE(checked(wrapCommand));
}

TEST_F(ToolBarTest, InsertedButtonsMayCarryTheirOwnTextAndDropDowns) {
    TBBUTTON menu{
        4, menuCommand, TBSTATE_ENABLED, TBSTYLE_DROPDOWN, {}, 0, reinterpret_cast<INT_PTR>(u"Menu")};
    EXPECT_TRUE(send(TB_INSERTBUTTONW, 1, reinterpret_cast<LPARAM>(&menu)));
    EXPECT_EQ(send(TB_COMMANDTOINDEX, menuCommand), 1);
    char text[16] = {};
    send(TB_GETBUTTONTEXTA, menuCommand, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "Menu");
    clickButton(1);
    // The flat bar also told of the button under the mouse.
    EXPECT_EQ(NotificationCodes(), (std::vector<UINT>{TBN_HOTITEMCHANGE, TBN_DROPDOWN}));
    EXPECT_TRUE(commands().empty());
    TBBUTTONINFOW info;
    info.dwMask = TBIF_TEXT | TBIF_IMAGE;
    info.pszText = const_cast<WCHAR*>(u"Other");
    info.iImage = 9;
    EXPECT_TRUE(send(TB_SETBUTTONINFOW, menuCommand, reinterpret_cast<LPARAM>(&info)));
    TBBUTTON read;
    send(TB_GETBUTTON, 1, reinterpret_cast<LPARAM>(&read));
    EXPECT_EQ(read.iBitmap, 9);
    EXPECT_TRUE(send(TB_DELETEBUTTON, 1));
    EXPECT_EQ(send(TB_COMMANDTOINDEX, menuCommand), -1);
}

TEST_F(ToolBarTest, WrapableBarsBreakIntoRows) {
    SetWindowLongW(bar, GWL_STYLE, GetWindowLongW(bar, GWL_STYLE) | TBSTYLE_WRAPABLE);
    SetWindowPos(bar, nullptr, 0, 0, 60, 50, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_GT(send(TB_GETROWS), 1);
    EXPECT_EQ(rectOf(4).Top, 22);
}

} // namespace
