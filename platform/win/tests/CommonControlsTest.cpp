#include "CommonControlTestSupport.h"

#include "platform/win/Messages.h"

using namespace control_tests;

namespace {

class NotifyFormatTest : public ControlTest {};

TEST_F(NotifyFormatTest, ControlsAskTheirParentAtCreationAndOnRequery) {
    HWND wide = WideParent();
    HWND ansi = AnsiParent();
    HWND underWide = Control(WC_TABCONTROLW, 0, wide, {0, 0, 100, 50});
    HWND underAnsi = Control(WC_TABCONTROLW, 0, ansi, {0, 0, 100, 50});
    EXPECT_TRUE(SendMessageW(underWide, CCM_GETUNICODEFORMAT, 0, 0));
    EXPECT_FALSE(SendMessageW(underAnsi, CCM_GETUNICODEFORMAT, 0, 0));

    // CCM_SETUNICODEFORMAT answers the format it replaces; a requery asks the parent again.
    EXPECT_FALSE(SendMessageW(underAnsi, CCM_SETUNICODEFORMAT, TRUE, 0));
    EXPECT_TRUE(SendMessageW(underAnsi, CCM_GETUNICODEFORMAT, 0, 0));
    EXPECT_EQ(SendMessageW(underAnsi, WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(ansi), NF_REQUERY), NFR_ANSI);
    EXPECT_FALSE(SendMessageW(underAnsi, CCM_GETUNICODEFORMAT, 0, 0));
    // A child of a control is told that the control reads UTF-16.
    EXPECT_EQ(SendMessageW(underAnsi, WM_NOTIFYFORMAT, 0, NF_QUERY), NFR_UNICODE);
}

TEST_F(NotifyFormatTest, EveryClassIsRegisteredAndFoundFromAnyInstance) {
    HWND parent = WideParent();
    for (const WCHAR* name : {PROGRESS_CLASSW, STATUSCLASSNAMEW, WC_TABCONTROLW}) {
        HWND control = Control(name, 0, parent, {0, 0, 50, 20});
        EXPECT_TRUE(control);
        WNDCLASSA info;
        EXPECT_TRUE(GetClassInfoA(reinterpret_cast<HINSTANCE>(0x1234), WideToAnsi(name).c_str(), &info));
    }
    INITCOMMONCONTROLSEX bad;
    bad.dwSize = 0;
    EXPECT_FALSE(InitCommonControlsEx(&bad));
    INITCOMMONCONTROLSEX good;
    good.dwICC = ICC_WIN95_CLASSES;
    EXPECT_TRUE(InitCommonControlsEx(&good));
}

} // namespace
