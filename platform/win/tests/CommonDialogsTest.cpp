// The common dialogs of our own: colour and font answered through their
// controls while the owner hears WM_ENTERIDLE, the modeless find and replace
// dialogs reporting to their owner, and the checks of the records.
#include "platform/win/CommonDialogs.h"
#include "WindowTestSupport.h"
#include "platform/win/ButtonControl.h"
#include "platform/win/DialogKeys.h"
#include "platform/win/Painting.h"

#include <cstring>
#include <deque>
#include <functional>
#include <optional>

using namespace window_tests;

namespace {

class CommonDialogsTest : public WindowTest {
protected:
    HWND owner = nullptr;
    WNDPROC procedure = nullptr;
    // One step each time a modal dialog waits; with none left the dialog is cancelled.
    std::deque<std::function<void(HWND dialog)>> steps;
    std::vector<FINDREPLACEW> reports;
    UINT findMessage = RegisterWindowMessageW(FINDMSGSTRINGW);

    void SetUp() override {
        WindowTest::SetUp();
        procedure = CreateWindowProcObject([this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
            return ownerProcedure(window, message, wParam, lParam);
        });
        owner = Create("owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, {100, 100, 500, 400});
        SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
        SetForegroundWindow(owner);
    }
    void TearDown() override {
        WindowTest::TearDown();
        FreeWindowProcObject(procedure);
    }

    LRESULT ownerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX) {
            auto dialog = reinterpret_cast<HWND>(lParam);
            if (steps.empty()) {
                PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            } else {
                auto step = std::move(steps.front());
                steps.pop_front();
                step(dialog);
            }
            return 0;
        }
        if (message == findMessage) {
            reports.push_back(*reinterpret_cast<FINDREPLACEW*>(lParam));
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

// Where a colour shows in the dialog's client area, found by its pixels.
std::optional<POINT> findColour(HWND dialog, COLORREF colour) {
    std::shared_ptr<PixelSurface> pixels = CaptureWindowPixels(dialog, true);
    for (int y = 0; y < pixels->Height(); ++y)
        for (int x = 0; x < pixels->Width(); ++x)
            if (ColorRefFromPixel(pixels->At(x, y) & PixelColourMask) == colour) return POINT{x + 2, y + 2};
    return std::nullopt;
}

TEST_F(CommonDialogsTest, TheColourDialogTakesTypedValuesAndClickedSwatches) {
    COLORREF custom[CustomColourCount] = {};
    CHOOSECOLORW request;
    request.hwndOwner = owner;
    request.rgbResult = RGB(0, 0, 255);
    request.lpCustColors = custom;
    request.Flags = CC_RGBINIT;
    WideString shownRed;
    steps = {[&](HWND dialog) {
        WCHAR text[8] = {};
        GetWindowTextW(GetDlgItem(dialog, COLOR_BLUE), text, 8);
        shownRed = text;
        SetWindowTextW(GetDlgItem(dialog, COLOR_RED), u"10");
        SetWindowTextW(GetDlgItem(dialog, COLOR_GREEN), u"300");
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(COLOR_ADD, BN_CLICKED), 0);
        PressKey(VK_RETURN);
    }};
    ASSERT_TRUE(ChooseColorW(&request));
    EXPECT_EQ(shownRed, u"255");
    EXPECT_EQ(request.rgbResult, RGB(10, 255, 255));
    EXPECT_EQ(custom[0], RGB(10, 255, 255));

    constexpr COLORREF firstBasicColour = RGB(255, 128, 128);
    steps = {[&](HWND dialog) {
                 std::optional<POINT> swatch = findColour(dialog, firstBasicColour);
                 ASSERT_TRUE(swatch);
                 POINT screen = *swatch;
                 ClientToScreen(dialog, &screen);
                 DeliverMouseMove(screen);
                 DeliverMouseButton(MouseButton::Left, true, screen);
                 DeliverMouseButton(MouseButton::Left, false, screen);
             },
             [&](HWND) { PressKey(VK_RETURN); }};
    ASSERT_TRUE(ChooseColorW(&request));
    EXPECT_EQ(request.rgbResult, firstBasicColour);

    steps.clear();
    SetLastError(0);
    EXPECT_FALSE(ChooseColorW(&request));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(CommonDialogsTest, TheFontDialogStartsFromTheLogFontAndFillsItIn) {
    LOGFONTA font{};
    std::strcpy(font.lfFaceName, "Arial");
    font.lfHeight = -13;
    CHOOSEFONTA request;
    request.hwndOwner = owner;
    request.lpLogFont = &font;
    request.Flags = CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_SCREENFONTS;
    WCHAR initialFace[32] = {};
    steps = {[&](HWND dialog) {
        HWND faces = GetDlgItem(dialog, lst1);
        SendMessageW(faces, LB_GETTEXT, static_cast<WPARAM>(SendMessageW(faces, LB_GETCURSEL, 0, 0)),
                     reinterpret_cast<LPARAM>(initialFace));
        SendMessageW(faces, LB_SELECTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(u"Courier New"));
        SendMessageW(GetDlgItem(dialog, lst2), LB_SETCURSEL, 3, 0);
        SendMessageW(GetDlgItem(dialog, lst3), LB_SELECTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(u"12"));
        SendMessageW(GetDlgItem(dialog, chx2), BM_SETCHECK, BST_CHECKED, 0);
        PressKey(VK_RETURN);
    }};
    ASSERT_TRUE(ChooseFontA(&request));
    EXPECT_EQ(WideString(initialFace), u"Arial");
    EXPECT_STREQ(font.lfFaceName, "Courier New");
    EXPECT_EQ(font.lfHeight, -16);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_TRUE(font.lfItalic);
    EXPECT_TRUE(font.lfUnderline);
    EXPECT_FALSE(font.lfStrikeOut);
    EXPECT_EQ(request.iPointSize, 120);
    EXPECT_EQ(request.nFontType, SCREEN_FONTTYPE | BOLD_FONTTYPE | ITALIC_FONTTYPE);

    request.lStructSize = 12;
    EXPECT_FALSE(ChooseFontA(&request));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);
}

TEST_F(CommonDialogsTest, TheReplaceDialogReportsEachRequestToItsOwnerUntilClosed) {
    WCHAR findWhat[16] = u"old";
    WCHAR replaceWith[16] = u"";
    FINDREPLACEW request;
    request.hwndOwner = owner;
    request.Flags = FR_DOWN | FR_MATCHCASE;
    request.lpstrFindWhat = findWhat;
    request.wFindWhatLen = 16;
    request.lpstrReplaceWith = replaceWith;
    request.wReplaceWithLen = 16;
    HWND dialog = ReplaceTextW(&request);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(SendMessageW(GetDlgItem(dialog, chx2), BM_GETCHECK, 0, 0), BST_CHECKED);

    SetWindowTextW(GetDlgItem(dialog, edt2), u"new");
    SendMessageW(GetDlgItem(dialog, chx1), BM_SETCHECK, BST_CHECKED, 0);
    SetFocus(GetDlgItem(dialog, edt1));
    PressKey(VK_RETURN);
    ProcessMessages();
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(psh2, BN_CLICKED), 0);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].Flags & (FR_FINDNEXT | FR_REPLACE | FR_REPLACEALL), FR_FINDNEXT);
    EXPECT_EQ(reports[0].Flags & (FR_MATCHCASE | FR_WHOLEWORD), FR_MATCHCASE | FR_WHOLEWORD);
    EXPECT_EQ(reports[1].Flags & (FR_FINDNEXT | FR_REPLACE | FR_REPLACEALL), FR_REPLACEALL);
    EXPECT_EQ(WideString(findWhat), u"old");
    EXPECT_EQ(WideString(replaceWith), u"new");

    SetWindowTextW(GetDlgItem(dialog, edt1), u"");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
    SetFocus(GetDlgItem(dialog, edt1));
    PressKey(VK_ESCAPE);
    ProcessMessages();
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_TRUE(reports[2].Flags & FR_DIALOGTERM);
    EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(CommonDialogsTest, TheFindDialogHasADirectionAndChecksItsRecord) {
    WCHAR findWhat[8] = u"x";
    FINDREPLACEW request;
    request.hwndOwner = owner;
    request.lpstrFindWhat = findWhat;
    request.wFindWhatLen = 8;
    HWND dialog = FindTextW(&request);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetDlgItem(dialog, edt2), nullptr);
    SendMessageW(GetDlgItem(dialog, rad2), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(GetDlgItem(dialog, rad1), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].Flags & FR_DOWN);
    DestroyWindow(dialog);

    struct Case {
        DWORD size;
        HWND owner;
        WORD length;
        DWORD error;
    };
    for (Case test :
         {Case{12, owner, 8, CDERR_STRUCTSIZE}, Case{sizeof(FINDREPLACEW), nullptr, 8, CDERR_DIALOGFAILURE},
          Case{sizeof(FINDREPLACEW), owner, 0, FRERR_BUFFERLENGTHZERO}}) {
        FINDREPLACEW wrong;
        wrong.lStructSize = test.size;
        wrong.hwndOwner = test.owner;
        wrong.lpstrFindWhat = findWhat;
        wrong.wFindWhatLen = test.length;
        EXPECT_EQ(FindTextW(&wrong), nullptr);
        EXPECT_EQ(CommDlgExtendedError(), test.error);
    }
}

TEST_F(CommonDialogsTest, RegisteredMessagesAreSharedByName) {
    UINT message = RegisterWindowMessageA("commdlg_FindReplace");
    EXPECT_EQ(message, findMessage);
    EXPECT_GE(message, 0xC000u);
    EXPECT_NE(RegisterWindowMessageW(u"another message"), message);
}

TEST_F(CommonDialogsTest, AFileDialogWithoutAChooserIsCancelled) {
    WCHAR file[260] = u"start.txt";
    OPENFILENAMEW request;
    request.hwndOwner = owner;
    request.lpstrFile = file;
    request.nMaxFile = 260;
    EXPECT_FALSE(GetOpenFileNameW(&request));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_EQ(WideString(file), u"start.txt");
    request.lStructSize = 20;
    EXPECT_FALSE(GetSaveFileNameW(&request));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);
}

} // namespace
