// The dialog manager's keys: a window of edits and pretend buttons driven
// through IsDialogMessage with keys delivered as input.
#include "platform/win/DialogKeys.h"
#include "WindowTestSupport.h"
#include "platform/win/ButtonControl.h"
#include "platform/win/EditControl.h"

namespace {

using namespace window_tests;

constexpr const WCHAR* DialogClass = u"DialogKeysTestDialog";
constexpr const WCHAR* ButtonClass = u"DialogKeysTestButton";

std::vector<int> commands;
std::vector<HWND> clicked;
LRESULT defaultId = 0;

LRESULT dialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) commands.push_back(LOWORD(wParam));
    if (message == DM_GETDEFID) return defaultId;
    return DefWindowProcW(window, message, wParam, lParam);
}

// A button that answers WM_GETDLGCODE with the code kept in its user data.
LRESULT buttonProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE) return GetWindowLongPtrW(window, GWLP_USERDATA);
    if (message == BM_CLICK) clicked.push_back(window);
    return DefWindowProcW(window, message, wParam, lParam);
}

class DialogKeysTest : public WindowTest {
protected:
    HWND dialog = nullptr;

    void SetUp() override {
        WindowTest::SetUp();
        RegisterEditControlClass();
        static bool registered = [] {
            WNDCLASSEXW windowClass;
            windowClass.lpfnWndProc = WindowProcFromFunction(dialogProcedure);
            windowClass.lpszClassName = DialogClass;
            RegisterClassExW(&windowClass);
            windowClass.lpfnWndProc = WindowProcFromFunction(buttonProcedure);
            windowClass.lpszClassName = ButtonClass;
            return RegisterClassExW(&windowClass) != 0;
        }();
        (void)registered;
        dialog = CreateWindowExW(0, DialogClass, u"Dialog", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 400,
                                 300, nullptr, nullptr, nullptr, nullptr);
        commands.clear();
        clicked.clear();
        defaultId = 0;
        nextTop = 10;
    }

    HWND edit(int id, DWORD style, const WCHAR* text = u"text") {
        return CreateWindowExW(0, EditClassName, text, WS_CHILD | WS_VISIBLE | style, 10, nextRow(), 150, 20,
                               dialog, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
    }

    HWND button(int id, DWORD style, LRESULT code, HWND parent = nullptr) {
        HWND created = CreateWindowExW(0, ButtonClass, u"", WS_CHILD | WS_VISIBLE | style, 200, nextRow(), 80,
                                       20, parent ? parent : dialog,
                                       reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
        SetWindowLongPtrW(created, GWLP_USERDATA, code);
        return created;
    }

    // Delivers the key and runs the messages through IsDialogMessage as a dialog's loop does.
    void press(UINT key, std::initializer_list<UINT> modifiers = {}) {
        PressKey(key, modifiers);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            if (!IsDialogMessageW(dialog, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
    }

    static std::pair<DWORD, DWORD> selectionOf(HWND window) {
        DWORD start = 0, end = 0;
        SendMessageW(window, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }

private:
    int nextTop = 10;
    int nextRow() {
        int top = nextTop;
        nextTop += 25;
        return top;
    }
};

TEST_F(DialogKeysTest, TabItemsFollowTheZOrderAndSkipWhatCannotTakeTheFocus) {
    HWND first = edit(1, WS_TABSTOP);
    HWND noTabStop = edit(2, 0);
    HWND disabled = edit(3, WS_TABSTOP | WS_DISABLED);
    HWND hidden = edit(4, WS_TABSTOP);
    ShowWindow(hidden, SW_HIDE);
    HWND last = edit(5, WS_TABSTOP);
    EXPECT_EQ(GetNextDlgTabItem(dialog, first, FALSE), last);
    EXPECT_EQ(GetNextDlgTabItem(dialog, last, FALSE), first);
    EXPECT_EQ(GetNextDlgTabItem(dialog, first, TRUE), last);
    EXPECT_EQ(GetNextDlgTabItem(dialog, noTabStop, FALSE), last);
    EXPECT_EQ(GetNextDlgTabItem(dialog, nullptr, FALSE), first);
    EXPECT_EQ(GetNextDlgTabItem(dialog, nullptr, TRUE), last);
    EnableWindow(last, FALSE);
    EXPECT_EQ(GetNextDlgTabItem(dialog, first, FALSE), first);
    (void)disabled;
}

TEST_F(DialogKeysTest, ControlParentsLendTheirChildrenToTheTabOrder) {
    HWND first = edit(1, WS_TABSTOP);
    HWND panel = CreateWindowExW(WS_EX_CONTROLPARENT, ButtonClass, u"", WS_CHILD | WS_VISIBLE, 10, 100, 300,
                                 100, dialog, nullptr, nullptr, nullptr);
    HWND inner = button(10, WS_TABSTOP, 0, panel);
    HWND last = edit(2, WS_TABSTOP);
    EXPECT_EQ(GetNextDlgTabItem(dialog, first, FALSE), inner);
    EXPECT_EQ(GetNextDlgTabItem(dialog, inner, FALSE), last);
}

TEST_F(DialogKeysTest, TabMovesTheFocusAndSelectsTheTextOfAnEdit) {
    HWND first = edit(1, WS_TABSTOP | ES_AUTOHSCROLL);
    HWND second = edit(2, WS_TABSTOP | ES_AUTOHSCROLL, u"selected");
    HWND ok = button(IDOK, WS_TABSTOP, DLGC_UNDEFPUSHBUTTON | DLGC_BUTTON);
    SetFocus(first);
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), second);
    EXPECT_EQ(selectionOf(second), (std::pair<DWORD, DWORD>(0, 8)));
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), ok);
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), first);
    press(VK_TAB, {VK_SHIFT});
    EXPECT_EQ(GetFocus(), ok);
    // No character reaches the edits for the keys the dialog took.
    EXPECT_EQ(GetWindowTextLengthW(first), 4);
}

TEST_F(DialogKeysTest, ArrowsMoveInsideAGroupAndClickRadioButtons) {
    HWND one = button(1, WS_GROUP | WS_TABSTOP, DLGC_RADIOBUTTON | DLGC_BUTTON);
    HWND two = button(2, 0, DLGC_RADIOBUTTON | DLGC_BUTTON);
    HWND three = button(3, 0, DLGC_RADIOBUTTON | DLGC_BUTTON);
    HWND nextGroup = button(4, WS_GROUP | WS_TABSTOP, DLGC_BUTTON);
    EXPECT_EQ(GetNextDlgGroupItem(dialog, one, FALSE), two);
    EXPECT_EQ(GetNextDlgGroupItem(dialog, three, FALSE), one);
    EXPECT_EQ(GetNextDlgGroupItem(dialog, one, TRUE), three);
    EXPECT_EQ(GetNextDlgGroupItem(dialog, nextGroup, FALSE), nextGroup);
    SetFocus(one);
    press(VK_DOWN);
    EXPECT_EQ(GetFocus(), two);
    press(VK_RIGHT);
    press(VK_RIGHT);
    EXPECT_EQ(GetFocus(), one);
    press(VK_UP);
    EXPECT_EQ(GetFocus(), three);
    EXPECT_EQ(clicked, (std::vector<HWND>{two, three, one, three}));
}

TEST_F(DialogKeysTest, EnterPressesTheDefaultButtonAndEscapeTheCancelButton) {
    HWND name = edit(1, WS_TABSTOP | ES_AUTOHSCROLL);
    button(IDOK, WS_TABSTOP, DLGC_UNDEFPUSHBUTTON | DLGC_BUTTON);
    HWND apply = button(9, WS_TABSTOP, DLGC_DEFPUSHBUTTON | DLGC_BUTTON);
    HWND cancel = button(IDCANCEL, WS_TABSTOP, DLGC_UNDEFPUSHBUTTON | DLGC_BUTTON);
    SetFocus(name);
    press(VK_RETURN);
    EXPECT_EQ(commands, std::vector<int>{9});
    defaultId = MAKELONG(IDOK, DC_HASDEFID);
    press(VK_RETURN);
    press(VK_ESCAPE);
    EXPECT_EQ(commands, (std::vector<int>{9, IDOK, IDCANCEL}));
    // A push button with the focus is the one Enter presses.
    SetFocus(cancel);
    press(VK_RETURN);
    EXPECT_EQ(commands.back(), IDCANCEL);
    EnableWindow(apply, FALSE);
    defaultId = MAKELONG(9, DC_HASDEFID);
    SetFocus(name);
    commands.clear();
    press(VK_RETURN);
    EXPECT_TRUE(commands.empty());
    EXPECT_EQ(GetWindowTextLengthW(name), 4);
}

TEST_F(DialogKeysTest, AMultiLineEditKeepsEnterOnlyWhenItWantsReturn) {
    HWND plain = edit(1, WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL, u"");
    HWND wantsReturn = edit(2, WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, u"");
    SetFocus(plain);
    press(VK_RETURN);
    EXPECT_EQ(commands, std::vector<int>{IDOK});
    EXPECT_EQ(GetWindowTextLengthW(plain), 0);
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), wantsReturn);
    press(VK_RETURN);
    EXPECT_EQ(GetWindowTextLengthW(wantsReturn), 2);
    EXPECT_EQ(commands, std::vector<int>{IDOK});
    // The arrows stay in the edit.
    press(VK_UP);
    EXPECT_EQ(GetFocus(), wantsReturn);
}

TEST_F(DialogKeysTest, MessagesForOtherWindowsAreLeftToTheCaller) {
    HWND other =
        CreateWindowExW(0, DialogClass, u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    MSG msg;
    msg.hwnd = other;
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_TAB;
    EXPECT_FALSE(IsDialogMessageW(dialog, &msg));
    EXPECT_FALSE(IsDialogMessageA(nullptr, &msg));
    msg.hwnd = dialog;
    msg.message = WM_NULL;
    EXPECT_TRUE(IsDialogMessageA(dialog, &msg));
    EXPECT_EQ(GetDlgItem(dialog, 77), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CONTROL_ID_NOT_FOUND);
    HWND found = edit(77, 0);
    EXPECT_EQ(GetDlgItem(dialog, 77), found);
    EXPECT_EQ(GetDlgCtrlID(found), 77);
}

} // namespace
