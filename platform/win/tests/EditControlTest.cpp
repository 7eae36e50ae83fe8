// The EDIT class driven as a user drives it (keys, characters and the mouse
// delivered as input) and as programs drive it (its messages), with the
// notifications its parent receives; a picture of the kinds of edit is saved
// under the build folder (edit-controls.png) for a person to look at.
#include "platform/win/EditControl.h"
#include "WindowTestSupport.h"
#include "platform/win/BitmapFiles.h"
#include "platform/win/Bitmaps.h"
#include "platform/win/Blit.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Drawing.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/GlobalMemory.h"
#include "platform/win/Menus.h"
#include "platform/win/Painting.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/SysColors.h"
#include "platform/win/SystemInfo.h"

#include <filesystem>
#include <functional>
#include <map>

namespace {

using namespace window_tests;

constexpr const WCHAR* ParentClass = u"EditTestParent";

std::vector<WORD> notifications;
std::vector<UINT> colourRequests;

LRESULT parentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) notifications.push_back(HIWORD(wParam));
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC) colourRequests.push_back(message);
    return DefWindowProcW(window, message, wParam, lParam);
}

void registerParentClass() {
    static bool done = [] {
        WNDCLASSEXW windowClass;
        windowClass.lpfnWndProc = WindowProcFromFunction(parentProcedure);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(COLOR_3DFACE + 1));
        windowClass.lpszClassName = ParentClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)done;
}

HFONT dialogFont() {
    static HFONT font = [] {
        LOGFONTW logFont{};
        logFont.lfHeight = -11;
        std::u16string face = u"MS Sans Serif";
        std::copy(face.begin(), face.end(), logFont.lfFaceName);
        return CreateFontIndirectW(&logFont);
    }();
    return font;
}

void putTextOnClipboard(const WideString& text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(WCHAR));
    auto* units = static_cast<WCHAR*>(GlobalLock(memory));
    std::copy(text.begin(), text.end(), units);
    units[text.size()] = 0;
    GlobalUnlock(memory);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

void emptyTheClipboard() {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
}

WideString textOnClipboard() {
    WideString text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const WCHAR*>(GlobalLock(memory));
        GlobalUnlock(memory);
    }
    CloseClipboard();
    return text;
}

class EditControlTest : public WindowTest {
protected:
    HWND parent = nullptr;

    void SetUp() override {
        WindowTest::SetUp();
        RegisterEditControlClass();
        registerParentClass();
        parent = CreateWindowExW(0, ParentClass, u"Edits", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 480, 360,
                                 nullptr, nullptr, nullptr, nullptr);
        notifications.clear();
        colourRequests.clear();
    }

    HWND createEdit(DWORD style, const WCHAR* text = u"", TRect rect = {10, 10, 210, 30}) {
        HWND edit = CreateWindowExW(0, EditClassName, text, WS_CHILD | WS_VISIBLE | style, rect.Left,
                                    rect.Top, rect.Width(), rect.Height(), parent, reinterpret_cast<HMENU>(7),
                                    nullptr, nullptr);
        SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont()), FALSE);
        return edit;
    }

    HWND focusedEdit(DWORD style, const WCHAR* text = u"", TRect rect = {10, 10, 210, 30}) {
        HWND edit = createEdit(style, text, rect);
        SetFocus(edit);
        ProcessMessages();
        notifications.clear();
        return edit;
    }

    static WideString textOf(HWND edit) {
        WideString text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, u'\0');
        text.resize(
            static_cast<std::size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
        return text;
    }

    static std::pair<DWORD, DWORD> selectionOf(HWND edit) {
        DWORD start = 0, end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }

    static void type(const WideString& text) {
        DeliverCharacters(text);
        ProcessMessages();
    }

    static void press(UINT key, std::initializer_list<UINT> modifiers = {}) {
        PressKey(key, modifiers);
        ProcessMessages();
    }

    // A point inside the character at `index`, near its left edge.
    static POINT pointOfCharacter(HWND edit, int index) {
        LRESULT packed = SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
        return {GET_X_LPARAM(packed) + 1, GET_Y_LPARAM(packed) + 4};
    }

    static COLORREF pixelAt(HWND window, POINT point) {
        UpdateWindow(window);
        return ColorRefFromPixel(CaptureWindowPixels(window, true)->At(point.x, point.y));
    }
};

using Selection = std::pair<DWORD, DWORD>;

TEST_F(EditControlTest, TypedCharactersAreInsertedAndTheParentHearsOfEachChange) {
    HWND edit = focusedEdit(ES_AUTOHSCROLL);
    press('H', {VK_SHIFT});
    press('I');
    EXPECT_EQ(textOf(edit), u"Hi");
    EXPECT_EQ(notifications, (std::vector<WORD>{EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE}));
    EXPECT_TRUE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
    press(VK_BACK);
    EXPECT_EQ(textOf(edit), u"H");
    EXPECT_EQ(selectionOf(edit), Selection(1, 1));
}

TEST_F(EditControlTest, TextBeyondTheAnsiCodePageStaysIntactAndIsConvertedForAnsiCallers) {
    HWND edit = focusedEdit(ES_AUTOHSCROLL);
    EXPECT_TRUE(IsWindowUnicode(edit));
    const WideString typed = u"\u041F\u0440\u0438 \u20AC\U0001F600";
    type(typed);
    EXPECT_EQ(textOf(edit), typed);
    char ansi[32] = {};
    int length = GetWindowTextA(edit, ansi, sizeof ansi);
    EXPECT_EQ(AnsiString(ansi, static_cast<std::size_t>(length)), WideToAnsi(typed));
    EXPECT_EQ(AnsiString(ansi, 5), "??? \x80");
    EXPECT_EQ(GetWindowTextLengthA(edit), static_cast<int>(WideToAnsi(typed).size()));
    // Selection positions count UTF-16 units for every caller.
    EXPECT_EQ(SendMessageA(edit, EM_GETSEL, 0, 0), MAKELONG(7, 7));

    SendMessageA(edit, WM_CHAR, 0xE9, 0);
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("\x80!"));
    EXPECT_EQ(textOf(edit), typed + u"\u00E9\u20AC!");
}

TEST_F(EditControlTest, AnsiCallersReadMultiLineLinesConverted) {
    HWND edit = createEdit(ES_MULTILINE | ES_AUTOVSCROLL, u"\u03B1\u03B2\r\ncaf\u00E9");
    char buffer[16] = {};
    *reinterpret_cast<WORD*>(buffer) = sizeof buffer;
    EXPECT_EQ(SendMessageA(edit, EM_GETLINE, 1, reinterpret_cast<LPARAM>(buffer)), 4);
    EXPECT_EQ(AnsiString(buffer, 4), "caf\xE9");
    *reinterpret_cast<WORD*>(buffer) = sizeof buffer;
    EXPECT_EQ(SendMessageA(edit, EM_GETLINE, 0, reinterpret_cast<LPARAM>(buffer)), 2);
    EXPECT_EQ(AnsiString(buffer, 2), "??");
    WCHAR wide[8] = {8};
    EXPECT_EQ(SendMessageW(edit, EM_GETLINE, 0, reinterpret_cast<LPARAM>(wide)), 2);
    EXPECT_EQ(WideString(wide, 2), u"\u03B1\u03B2");
}

TEST_F(EditControlTest, KeysMoveTheCaretAndShiftExtendsTheSelection) {
    HWND edit = focusedEdit(ES_AUTOHSCROLL, u"one two three");
    struct Step {
        UINT key;
        std::initializer_list<UINT> modifiers;
        Selection selection;
    };
    const Step steps[] = {
        {VK_END, {}, {13, 13}},         {VK_LEFT, {VK_SHIFT, VK_CONTROL}, {8, 13}},
        {VK_HOME, {VK_SHIFT}, {0, 13}}, {VK_RIGHT, {}, {13, 13}},
        {VK_HOME, {}, {0, 0}},          {VK_RIGHT, {VK_CONTROL}, {4, 4}},
        {VK_RIGHT, {VK_SHIFT}, {4, 5}}, {VK_LEFT, {}, {4, 4}},
        {VK_DOWN, {}, {5, 5}},
    };
    for (const Step& step : steps) {
        press(step.key, step.modifiers);
        EXPECT_EQ(selectionOf(edit), step.selection) << step.key;
    }
    press(VK_DELETE);
    EXPECT_EQ(textOf(edit), u"one to three");
}

TEST_F(EditControlTest, DraggingSelectsAndADoubleClickSelectsAWordWithItsSpace) {
    HWND edit = focusedEdit(ES_AUTOHSCROLL, u"alpha beta gamma");
    POINT from = ScreenPoint(edit, pointOfCharacter(edit, 6));
    POINT to = ScreenPoint(edit, pointOfCharacter(edit, 10));
    DeliverMouseMove(from);
    DeliverMouseButton(MouseButton::Left, true, from);
    DeliverMouseMove(to);
    DeliverMouseButton(MouseButton::Left, false, to);
    ProcessMessages();
    EXPECT_EQ(selectionOf(edit), Selection(6, 10));
    EXPECT_EQ(GetCapture(), nullptr);

    Click(edit, pointOfCharacter(edit, 7));
    Click(edit, pointOfCharacter(edit, 7));
    ProcessMessages();
    EXPECT_EQ(selectionOf(edit), Selection(6, 11));
}

// A desktop clipboard that notes what is offered as the selection.
class SelectionWatch : public SystemClipboard {
public:
    std::vector<WideString> offered;
    std::optional<WideString> GetText() override { return text_; }
    void SetText(const WideString& text) override { text_ = text; }
    void Clear() override { text_.reset(); }
    void OfferSelection(const WideString& text) override { offered.push_back(text); }

private:
    std::optional<WideString> text_;
};

TEST_F(EditControlTest, WhatTheUserSelectsIsOfferedAsTheDesktopsSelection) {
    auto watch = std::make_shared<SelectionWatch>();
    SetSystemClipboard(watch);
    HWND edit = focusedEdit(ES_AUTOHSCROLL, u"alpha beta gamma");
    SendMessageW(edit, EM_SETSEL, 0, 5);
    EXPECT_TRUE(watch->offered.empty()) << "a program's selection is not the user's";
    Click(edit, pointOfCharacter(edit, 7));
    Click(edit, pointOfCharacter(edit, 7));
    ProcessMessages();
    SendMessageW(edit, EM_SETSEL, 0, 0);
    PressKey(VK_RIGHT, {VK_SHIFT});
    ProcessMessages();
    HWND password = focusedEdit(ES_PASSWORD | ES_AUTOHSCROLL, u"secret", {10, 40, 210, 60});
    Click(password, pointOfCharacter(password, 2));
    Click(password, pointOfCharacter(password, 2));
    ProcessMessages();
    SetSystemClipboard(nullptr);
    EXPECT_EQ(watch->offered, (std::vector<WideString>{u"beta ", u"a"}));
}

TEST_F(EditControlTest, CutCopyPasteAndUndoGoThroughTheClipboard) {
    HWND edit = focusedEdit(ES_AUTOHSCROLL, u"hello world");
    SendMessageW(edit, EM_SETSEL, 0, 5);
    press('C', {VK_CONTROL});
    EXPECT_EQ(textOnClipboard(), u"hello");
    press(VK_END);
    press('V', {VK_CONTROL});
    EXPECT_EQ(textOf(edit), u"hello worldhello");
    press('Z', {VK_CONTROL});
    EXPECT_EQ(textOf(edit), u"hello world");
    // A second undo takes the undo back.
    press('Z', {VK_CONTROL});
    EXPECT_EQ(textOf(edit), u"hello worldhello");
    SendMessageW(edit, EM_SETSEL, 5, 11);
    press('X', {VK_CONTROL});
    EXPECT_EQ(textOf(edit), u"hellohello");
    EXPECT_EQ(textOnClipboard(), u" world");
    SendMessageW(edit, EM_SETSEL, 0, 5);
    SendMessageW(edit, WM_CLEAR, 0, 0);
    EXPECT_EQ(textOf(edit), u"hello");
    press(VK_INSERT, {VK_SHIFT});
    EXPECT_EQ(textOf(edit), u" worldhello");
}

// The enabled state of each command of the last menu the edit opened, by command.
std::map<UINT, bool> menuCommandsEnabled;
WNDPROC editProcedure = nullptr;

LRESULT recordMenuProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITMENUPOPUP) {
        menuCommandsEnabled.clear();
        auto menu = reinterpret_cast<HMENU>(wParam);
        for (int item = 0; item < GetMenuItemCount(menu); ++item)
            if (const UINT id = GetMenuItemID(menu, item); id != 0)
                menuCommandsEnabled[id] = !(GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED);
    }
    return CallWindowProcW(editProcedure, window, message, wParam, lParam);
}

TEST_F(EditControlTest, ARightClickOffersTheEditCommandsEachEnabledAsTheyApply) {
    struct Case {
        const char* what;
        DWORD style;
        bool selectSome;
        bool clipboardHasText;
        std::map<UINT, bool> enabled;
    };
    const Case cases[] = {
        {"a selection in a fresh edit",
         ES_AUTOHSCROLL,
         true,
         true,
         {{WM_UNDO, false},
          {WM_CUT, true},
          {WM_COPY, true},
          {WM_PASTE, true},
          {WM_CLEAR, true},
          {EM_SETSEL, true}}},
        {"read-only, nothing selected, an empty clipboard",
         ES_AUTOHSCROLL | ES_READONLY,
         false,
         false,
         {{WM_UNDO, false},
          {WM_CUT, false},
          {WM_COPY, false},
          {WM_PASTE, false},
          {WM_CLEAR, false},
          {EM_SETSEL, true}}},
        {"a password",
         ES_AUTOHSCROLL | ES_PASSWORD,
         true,
         true,
         {{WM_UNDO, false},
          {WM_CUT, false},
          {WM_COPY, false},
          {WM_PASTE, true},
          {WM_CLEAR, true},
          {EM_SETSEL, true}}},
    };
    for (const Case& each : cases) {
        if (each.clipboardHasText)
            putTextOnClipboard(u"pasted");
        else
            emptyTheClipboard();
        HWND edit = createEdit(each.style, u"hello world");
        editProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProcFromFunction(recordMenuProcedure))));
        SendMessageW(edit, EM_SETSEL, 0, each.selectSome ? 5 : 0);
        const POINT screen = ScreenPoint(edit, {20, 5});
        DeliverMouseButton(MouseButton::Right, true, screen);
        DeliverMouseButton(MouseButton::Right, false, screen);
        PressKey(VK_ESCAPE);
        ProcessMessages();
        EXPECT_EQ(menuCommandsEnabled, each.enabled) << each.what;
        EXPECT_EQ(GetFocus(), edit) << each.what;
        DestroyWindow(edit);
    }
}

TEST_F(EditControlTest, TheContextMenuCarriesOutItsCommandsAndSelectAllWithoutTheMouse) {
    HWND edit = createEdit(ES_AUTOHSCROLL, u"hello world");
    SendMessageW(edit, EM_SETSEL, 0, 5);
    const POINT screen = ScreenPoint(edit, {20, 5});
    DeliverMouseButton(MouseButton::Right, true, screen);
    DeliverMouseButton(MouseButton::Right, false, screen);
    PressKey('T');
    ProcessMessages();
    EXPECT_EQ(textOf(edit), u" world");
    EXPECT_EQ(textOnClipboard(), u"hello");
    // From the keyboard the menu comes up over the edit.
    PressKey('A');
    SendMessageW(edit, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit), -1);
    EXPECT_EQ(selectionOf(edit), Selection(0, 6));
}

TEST_F(EditControlTest, PastingKeepsTheFirstLineInASingleLineAndEveryLineInAMultiLineEdit) {
    putTextOnClipboard(u"first\nsecond\r\nthird");
    HWND single = createEdit(ES_AUTOHSCROLL);
    SendMessageW(single, WM_PASTE, 0, 0);
    EXPECT_EQ(textOf(single), u"first");
    HWND multi = createEdit(ES_MULTILINE | ES_AUTOVSCROLL, u"", {10, 40, 210, 120});
    SendMessageW(multi, WM_PASTE, 0, 0);
    EXPECT_EQ(textOf(multi), u"first\r\nsecond\r\nthird");
    EXPECT_EQ(SendMessageW(multi, EM_GETLINECOUNT, 0, 0), 3);
}

TEST_F(EditControlTest, PasswordEditsNeitherCopyNorCut) {
    putTextOnClipboard(u"kept");
    HWND edit = focusedEdit(ES_PASSWORD | ES_AUTOHSCROLL, u"secret");
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_COPY, 0, 0);
    SendMessageW(edit, WM_CUT, 0, 0);
    EXPECT_EQ(textOnClipboard(), u"kept");
    EXPECT_EQ(textOf(edit), u"secret");
}

TEST_F(EditControlTest, TypingIsOneUndoStepAndTheBufferCanBeEmptied) {
    HWND edit = focusedEdit(ES_AUTOHSCROLL, u"x");
    press(VK_END);
    EXPECT_FALSE(SendMessageW(edit, EM_CANUNDO, 0, 0));
    type(u"abc");
    press(VK_BACK);
    EXPECT_TRUE(SendMessageW(edit, EM_CANUNDO, 0, 0));
    EXPECT_TRUE(SendMessageW(edit, EM_UNDO, 0, 0));
    EXPECT_EQ(textOf(edit), u"x");
    SendMessageW(edit, EM_EMPTYUNDOBUFFER, 0, 0);
    EXPECT_FALSE(SendMessageW(edit, EM_CANUNDO, 0, 0));
    EXPECT_FALSE(SendMessageW(edit, EM_UNDO, 0, 0));

    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(u"y"));
    EXPECT_TRUE(SendMessageW(edit, EM_CANUNDO, 0, 0));
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"z"));
    EXPECT_FALSE(SendMessageW(edit, EM_CANUNDO, 0, 0));

    EXPECT_TRUE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
    SetWindowTextW(edit, u"new");
    EXPECT_FALSE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
    EXPECT_FALSE(SendMessageW(edit, EM_CANUNDO, 0, 0));
    SendMessageW(edit, EM_SETMODIFY, TRUE, 0);
    EXPECT_TRUE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
}

TEST_F(EditControlTest, TheTextLimitStopsInsertionsWithMaxText) {
    HWND edit = focusedEdit(ES_AUTOHSCROLL);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 32767);
    SendMessageW(edit, EM_LIMITTEXT, 5, 0);
    type(u"abcdefg");
    EXPECT_EQ(textOf(edit), u"abcde");
    EXPECT_EQ(std::count(notifications.begin(), notifications.end(), EN_MAXTEXT), 2);
    SendMessageW(edit, EM_SETSEL, 0, 1);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(u"XYZ"));
    EXPECT_EQ(textOf(edit), u"Xbcde");
    // Text set from outside is not limited.
    SetWindowTextW(edit, u"0123456789");
    EXPECT_EQ(textOf(edit), u"0123456789");
    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
    HWND multi = createEdit(ES_MULTILINE, u"", {10, 40, 210, 120});
    SendMessageW(multi, EM_SETLIMITTEXT, 0, 0);
    EXPECT_EQ(SendMessageW(multi, EM_GETLIMITTEXT, 0, 0), 0xFFFFFFFF);
}

TEST_F(EditControlTest, StylesFilterWhatIsTyped) {
    struct Case {
        DWORD style;
        WideString typed;
        WideString expected;
    };
    const Case cases[] = {
        {ES_NUMBER, u"a1b2", u"12"},
        {ES_UPPERCASE, u"aB\u00E9", u"AB\u00C9"},
        {ES_LOWERCASE, u"aB", u"ab"},
        {ES_READONLY, u"abc", u""},
    };
    for (const Case& each : cases) {
        HWND edit = focusedEdit(each.style | ES_AUTOHSCROLL);
        type(each.typed);
        EXPECT_EQ(textOf(edit), each.expected) << each.style;
        DestroyWindow(edit);
    }
}

TEST_F(EditControlTest, WithoutAutomaticScrollingASingleLineTakesOnlyWhatFits) {
    HWND edit = focusedEdit(0);
    type(WideString(200, u'W'));
    EXPECT_GT(textOf(edit).size(), 5u);
    EXPECT_LT(textOf(edit).size(), 200u);
    EXPECT_NE(std::find(notifications.begin(), notifications.end(), EN_MAXTEXT), notifications.end());
    EXPECT_EQ(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);

    // Nor does a multi-line edit without ES_AUTOVSCROLL take more lines than it shows.
    HWND multi = focusedEdit(ES_MULTILINE, u"", {10, 40, 210, 60});
    type(u"a");
    press(VK_RETURN);
    EXPECT_EQ(textOf(multi), u"a");
    EXPECT_EQ(notifications.back(), EN_MAXTEXT);
}

TEST_F(EditControlTest, ReadOnlyCanBeSwitchedAndSetTextIsConvertedByCase) {
    HWND edit = focusedEdit(ES_READONLY | ES_UPPERCASE | ES_AUTOHSCROLL);
    SetWindowTextW(edit, u"shout");
    EXPECT_EQ(textOf(edit), u"SHOUT");
    press(VK_END);
    type(u"s");
    EXPECT_EQ(textOf(edit), u"SHOUT");
    EXPECT_TRUE(SendMessageW(edit, EM_SETREADONLY, FALSE, 0));
    EXPECT_FALSE(GetWindowLongPtrW(edit, GWL_STYLE) & ES_READONLY);
    type(u"s");
    EXPECT_EQ(textOf(edit), u"SHOUTS");
}

TEST_F(EditControlTest, ThePasswordCharacterIsUtf16AndHidesTheText) {
    HWND edit = createEdit(ES_PASSWORD | ES_AUTOHSCROLL, u"abc");
    EXPECT_EQ(SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0), '*');
    HWND stars = createEdit(ES_AUTOHSCROLL, u"***", {10, 40, 210, 60});
    auto pixelsOf = [](HWND window) {
        UpdateWindow(window);
        std::shared_ptr<PixelSurface> pixels = CaptureWindowPixels(window, true);
        std::vector<Pixel> all;
        for (int y = 0; y < pixels->Height(); ++y)
            all.insert(all.end(), pixels->Row(y), pixels->Row(y) + pixels->Width());
        return all;
    };
    EXPECT_EQ(pixelsOf(edit), pixelsOf(stars));

    SendMessageW(edit, EM_SETPASSWORDCHAR, 0x25CF, 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0), 0x25CF);
    SendMessageW(edit, EM_SETPASSWORDCHAR, 0, 0);
    EXPECT_FALSE(GetWindowLongPtrW(edit, GWL_STYLE) & ES_PASSWORD);
    EXPECT_NE(pixelsOf(edit), pixelsOf(stars));
    SendMessageW(edit, EM_SETPASSWORDCHAR, '*', 0);
    EXPECT_TRUE(GetWindowLongPtrW(edit, GWL_STYLE) & ES_PASSWORD);
    EXPECT_EQ(pixelsOf(edit), pixelsOf(stars));
}

// A parent with child windows paints the edit through the DC it hands over.
TEST_F(EditControlTest, APaintMessageWithADeviceContextPaintsIntoThatContext) {
    HWND edit = createEdit(ES_AUTOHSCROLL, u"abc");
    std::shared_ptr<PixelSurface> painted = [&] {
        UpdateWindow(edit);
        return CaptureWindowPixels(edit, true);
    }();
    HDC windowDC = GetDC(edit);
    HDC memory = CreateCompatibleDC(windowDC);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDC, painted->Width(), painted->Height());
    HGDIOBJ old = SelectObject(memory, bitmap);
    PatBlt(memory, 0, 0, painted->Width(), painted->Height(), BLACKNESS);
    SendMessageW(edit, WM_PAINT, reinterpret_cast<WPARAM>(memory), 0);
    int differing = 0;
    for (int y = 0; y < painted->Height(); ++y)
        for (int x = 0; x < painted->Width(); ++x)
            if (GetPixel(memory, x, y) != ColorRefFromPixel(painted->At(x, y))) ++differing;
    EXPECT_EQ(differing, 0);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(edit, windowDC);
}

TEST_F(EditControlTest, MultiLineMessagesCountLinesAndCharacters) {
    HWND edit = createEdit(ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                           u"first\r\nsecond line\r\n\r\nlast", {10, 10, 300, 120});
    struct Case {
        UINT message;
        WPARAM wParam;
        LRESULT expected;
    };
    const Case cases[] = {
        {EM_GETLINECOUNT, 0, 4},        {EM_LINEINDEX, 0, 0},    {EM_LINEINDEX, 1, 7},
        {EM_LINEINDEX, 2, 20},          {EM_LINEINDEX, 3, 22},   {EM_LINEINDEX, 4, -1},
        {EM_LINELENGTH, 8, 11},         {EM_LINELENGTH, 20, 0},  {EM_LINELENGTH, 99, 0},
        {EM_LINEFROMCHAR, 6, 0},        {EM_LINEFROMCHAR, 7, 1}, {EM_LINEFROMCHAR, 99, 3},
        {EM_GETFIRSTVISIBLELINE, 0, 0},
    };
    for (const Case& each : cases)
        EXPECT_EQ(SendMessageW(edit, each.message, each.wParam, 0), each.expected)
            << each.message << " " << each.wParam;

    SendMessageW(edit, EM_SETSEL, 2, 10);
    EXPECT_EQ(SendMessageW(edit, EM_LINELENGTH, static_cast<WPARAM>(-1), 0), 2 + 8);
    EXPECT_EQ(SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(-1), 0), 7);
    EXPECT_EQ(SendMessageW(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), 0);
    WCHAR buffer[4] = {3};
    EXPECT_EQ(SendMessageW(edit, EM_GETLINE, 1, reinterpret_cast<LPARAM>(buffer)), 3);
    EXPECT_EQ(WideString(buffer, 3), u"sec");
}

TEST_F(EditControlTest, EnterStartsANewLineInAMultiLineEditOnly) {
    HWND multi = focusedEdit(ES_MULTILINE | ES_AUTOVSCROLL, u"", {10, 10, 210, 100});
    type(u"a");
    press(VK_RETURN);
    type(u"b");
    EXPECT_EQ(textOf(multi), u"a\r\nb");
    press(VK_BACK);
    press(VK_BACK);
    EXPECT_EQ(textOf(multi), u"a");
    HWND single = focusedEdit(ES_AUTOHSCROLL, u"", {10, 110, 210, 130});
    type(u"a");
    press(VK_RETURN);
    EXPECT_EQ(textOf(single), u"a");
}

TEST_F(EditControlTest, WordWrapBreaksAfterSpacesAndInsideWordsTooLongForALine) {
    HWND edit = createEdit(ES_MULTILINE, u"aaa bbb ccc", {10, 10, 400, 100});
    int widthOfTwoWords = GET_X_LPARAM(SendMessageW(edit, EM_POSFROMCHAR, 8, 0)) -
                          GET_X_LPARAM(SendMessageW(edit, EM_POSFROMCHAR, 0, 0));
    RECT format;
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    RECT client;
    GetClientRect(edit, &client);
    int margins = client.Width() - format.Width();
    MoveWindow(edit, 10, 10, widthOfTwoWords + margins + 1, 90, TRUE);
    EXPECT_EQ(SendMessageW(edit, EM_GETLINECOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(edit, EM_LINEINDEX, 1, 0), 8);
    EXPECT_EQ(SendMessageW(edit, EM_LINELENGTH, 0, 0), 8);
    EXPECT_GT(GET_Y_LPARAM(SendMessageW(edit, EM_POSFROMCHAR, 8, 0)),
              GET_Y_LPARAM(SendMessageW(edit, EM_POSFROMCHAR, 0, 0)));
    SetWindowTextW(edit, u"abcdefghijklmnopqrstuvwxyzabcdefghijklmnop");
    EXPECT_GT(SendMessageW(edit, EM_GETLINECOUNT, 0, 0), 1);
    // A horizontal scroll bar stops the wrapping.
    HWND scrolling = createEdit(ES_MULTILINE | WS_HSCROLL, u"aaa bbb ccc", {10, 10, 60, 100});
    EXPECT_EQ(SendMessageW(scrolling, EM_GETLINECOUNT, 0, 0), 1);
}

TEST_F(EditControlTest, EditsLeaveTheLinesAsAFreshLayoutOfTheTextWouldBe) {
    const DWORD style = ES_MULTILINE | ES_AUTOVSCROLL;
    const TRect rect{10, 10, 80, 200};
    HWND edit =
        createEdit(style, u"alpha beta gamma delta\r\nepsilon zeta\r\n\r\neta theta iota kappa", rect);
    using Selector = std::function<std::pair<int, int>(const WideString&)>;
    auto at = [](int start, int end) {
        return Selector([=](const WideString&) { return std::pair(start, end); });
    };
    auto aroundBreak = [](int which, int from, int to) {
        return Selector([=](const WideString& text) {
            std::size_t found = text.find(u"\r\n");
            for (int skip = 0; skip < which; ++skip)
                found = text.find(u"\r\n", found + 2);
            int position = static_cast<int>(found);
            return std::pair(position + from, position + to);
        });
    };
    auto inWord = [](const WideString& word, int from, int to) {
        return Selector([=](const WideString& text) {
            int position = static_cast<int>(text.find(word));
            return std::pair(position + from, position + to);
        });
    };
    struct Step {
        Selector selection;
        WideString replacement;
    };
    // A wrapped paragraph whose second line shrinks takes a word back onto its first line.
    const Step steps[] = {
        {inWord(u"gamma", 0, 10), u""},
        {at(6, 6), u"\r\n"},
        {at(0, 0), u"lead "},
        {aroundBreak(0, 0, 1), u""},
        {aroundBreak(0, 0, 0), u"\r\n"},
        {aroundBreak(1, 1, 1), u"X"},
        {at(3, 30), u""},
        {at(-1, -1), u""},
        {at(4, 4), u" more words that wrap onto further lines"},
        {at(0, -1), u"one\r\ntwo\r\n"},
        {at(5, 5), u"mid\r\n"},
        {at(0, -1), u""},
    };
    auto linesOf = [](HWND window) {
        std::vector<std::pair<LRESULT, LRESULT>> lines;
        LRESULT count = SendMessageW(window, EM_GETLINECOUNT, 0, 0);
        for (LRESULT line = 0; line < count; ++line) {
            LRESULT start = SendMessageW(window, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
            lines.emplace_back(start, SendMessageW(window, EM_LINELENGTH, static_cast<WPARAM>(start), 0));
        }
        return lines;
    };
    for (const Step& step : steps) {
        auto [start, end] = step.selection(textOf(edit));
        SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(start), end);
        SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(step.replacement.c_str()));
        WideString text = textOf(edit);
        HWND fresh = createEdit(style, text.c_str(), rect);
        EXPECT_EQ(linesOf(edit), linesOf(fresh)) << WideToAnsi(text);
        DestroyWindow(fresh);
    }
}

TEST_F(EditControlTest, CharacterPositionsAndPointsAgree) {
    HWND edit = createEdit(ES_MULTILINE | ES_AUTOVSCROLL, u"ab\r\ncd", {10, 10, 210, 100});
    for (int index : {0, 1, 4, 5}) {
        LRESULT packed = SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
        ASSERT_NE(packed, -1);
        LPARAM point = MAKELPARAM(static_cast<WORD>(GET_X_LPARAM(packed) + 1),
                                  static_cast<WORD>(GET_Y_LPARAM(packed) + 1));
        LRESULT found = SendMessageW(edit, EM_CHARFROMPOS, 0, point);
        EXPECT_EQ(LOWORD(static_cast<UINT_PTR>(found)), index);
        EXPECT_EQ(HIWORD(static_cast<UINT_PTR>(found)), index < 4 ? 0 : 1);
    }
    EXPECT_EQ(SendMessageW(edit, EM_POSFROMCHAR, 6, 0), -1);
}

TEST_F(EditControlTest, FormatRectangleFollowsMarginsUntilTheNextResize) {
    HWND edit = createEdit(ES_MULTILINE | ES_AUTOVSCROLL, u"", {10, 10, 210, 100});
    SendMessageW(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(3, 4));
    EXPECT_EQ(SendMessageW(edit, EM_GETMARGINS, 0, 0), MAKELONG(3, 4));
    RECT format;
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(format, (TRect{3, 0, 196, 90}));
    RECT given{0, 0, 150, 91};
    SendMessageW(edit, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&given));
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(format, given);
    MoveWindow(edit, 10, 10, 300, 90, TRUE);
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(format, (TRect{3, 0, 296, 90}));
}

TEST_F(EditControlTest, TheViewFollowsTheCaretAndTheScrollBars) {
    HWND single =
        focusedEdit(ES_AUTOHSCROLL, u"a rather long line that will not fit into this edit", {10, 10, 90, 30});
    press(VK_END);
    EXPECT_GT(SendMessageW(single, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    press(VK_HOME);
    EXPECT_EQ(SendMessageW(single, EM_GETFIRSTVISIBLELINE, 0, 0), 0);

    WideString lines;
    for (int line = 0; line < 20; ++line)
        lines += u"line\r\n";
    HWND multi = focusedEdit(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, lines.c_str(), {10, 40, 210, 100});
    press(VK_END, {VK_CONTROL});
    int first = static_cast<int>(SendMessageW(multi, EM_GETFIRSTVISIBLELINE, 0, 0));
    EXPECT_GT(first, 10);
    EXPECT_EQ(GetScrollPos(multi, SB_VERT), first);
    press(VK_HOME, {VK_CONTROL});
    EXPECT_EQ(SendMessageW(multi, EM_GETFIRSTVISIBLELINE, 0, 0), 0);

    notifications.clear();
    SendMessageW(multi, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(SendMessageW(multi, EM_GETFIRSTVISIBLELINE, 0, 0), 1);
    EXPECT_EQ(notifications, std::vector<WORD>{EN_VSCROLL});
    EXPECT_TRUE(SendMessageW(multi, EM_LINESCROLL, 0, 3));
    EXPECT_EQ(SendMessageW(multi, EM_GETFIRSTVISIBLELINE, 0, 0), 4);
    EXPECT_EQ(SendMessageW(multi, EM_SCROLL, SB_LINEUP, 0), MAKELONG(static_cast<WORD>(-1), TRUE));
    SendMessageW(multi, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 7), 0);
    EXPECT_EQ(SendMessageW(multi, EM_GETFIRSTVISIBLELINE, 0, 0), 7);

    // Dragging the thumb of the edit's own bar to the bottom shows the last lines.
    RECT window;
    GetWindowRect(multi, &window);
    int barX = window.Right - GetSystemMetrics(SM_CXVSCROLL) / 2;
    int thumbY = window.Top + GetSystemMetrics(SM_CYVSCROLL) + 2;
    SendMessageW(multi, WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
    DeliverMouseMove({barX, thumbY});
    DeliverMouseButton(MouseButton::Left, true, {barX, thumbY});
    DeliverMouseMove({barX, window.Bottom});
    DeliverMouseButton(MouseButton::Left, false, {barX, window.Bottom});
    ProcessMessages();
    EXPECT_GT(SendMessageW(multi, EM_GETFIRSTVISIBLELINE, 0, 0), 15);
    EXPECT_EQ(GetScrollPos(multi, SB_VERT), SendMessageW(multi, EM_GETFIRSTVISIBLELINE, 0, 0));
}

TEST_F(EditControlTest, DialogCodesAskForTheKeysEachKindOfEditUses) {
    HWND single = createEdit(ES_AUTOHSCROLL);
    HWND multi = createEdit(ES_MULTILINE, u"", {10, 40, 210, 100});
    HWND wantsReturn = createEdit(ES_MULTILINE | ES_WANTRETURN, u"", {10, 110, 210, 150});
    const LRESULT plain = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    auto codeFor = [](HWND edit, WPARAM key) {
        MSG msg;
        msg.hwnd = edit;
        msg.message = WM_KEYDOWN;
        msg.wParam = key;
        return SendMessageW(edit, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&msg));
    };
    EXPECT_EQ(SendMessageW(single, WM_GETDLGCODE, 0, 0), plain);
    EXPECT_EQ(SendMessageW(multi, WM_GETDLGCODE, 0, 0), plain | DLGC_WANTALLKEYS);
    EXPECT_EQ(codeFor(multi, 'A'), plain | DLGC_WANTALLKEYS);
    EXPECT_EQ(codeFor(multi, VK_RETURN), plain);
    EXPECT_EQ(codeFor(multi, VK_TAB), plain);
    EXPECT_EQ(codeFor(multi, VK_ESCAPE), plain);
    EXPECT_EQ(codeFor(wantsReturn, VK_RETURN), plain | DLGC_WANTALLKEYS);
}

TEST_F(EditControlTest, FocusIsReportedAndTheCaretStandsAtTheSelectionEnd) {
    HWND edit = createEdit(ES_AUTOHSCROLL, u"caret");
    SendMessageW(edit, EM_SETSEL, 2, 2);
    SetFocus(edit);
    EXPECT_EQ(notifications, std::vector<WORD>{EN_SETFOCUS});
    POINT caret;
    GetCaretPos(&caret);
    LRESULT expected = SendMessageW(edit, EM_POSFROMCHAR, 2, 0);
    EXPECT_EQ(caret.x, GET_X_LPARAM(expected));
    EXPECT_EQ(caret.y, GET_Y_LPARAM(expected));
    SetFocus(parent);
    EXPECT_EQ(notifications, (std::vector<WORD>{EN_SETFOCUS, EN_KILLFOCUS}));
}

TEST_F(EditControlTest, ReadOnlyAndDisabledEditsAskForStaticColours) {
    HWND normal = createEdit(ES_AUTOHSCROLL);
    HWND readOnly = createEdit(ES_AUTOHSCROLL | ES_READONLY, u"", {10, 40, 210, 60});
    HWND disabled = createEdit(ES_AUTOHSCROLL | WS_DISABLED, u"", {10, 70, 210, 90});
    EXPECT_EQ(pixelAt(normal, {150, 5}), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(pixelAt(readOnly, {150, 5}), GetSysColor(COLOR_3DFACE));
    EXPECT_EQ(pixelAt(disabled, {150, 5}), GetSysColor(COLOR_3DFACE));
    EXPECT_EQ(colourRequests, (std::vector<UINT>{WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC, WM_CTLCOLORSTATIC}));
}

TEST_F(EditControlTest, TheSelectionShowsInTheHighlightColourWhileFocused) {
    HWND edit = createEdit(ES_AUTOHSCROLL, u"MMMM");
    SendMessageW(edit, EM_SETSEL, 0, -1);
    POINT inside = pointOfCharacter(edit, 1);
    EXPECT_NE(pixelAt(edit, {inside.x, 1}), GetSysColor(COLOR_HIGHLIGHT));
    SetFocus(edit);
    EXPECT_EQ(pixelAt(edit, {inside.x, 1}), GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(EditControlTest, RendersEachKindOfEditToAPicture) {
    MoveWindow(parent, 20, 20, 300, 230, TRUE);
    auto label = [](HWND edit, DWORD exStyle) {
        SetWindowLongPtrW(edit, GWL_EXSTYLE, static_cast<LONG_PTR>(exStyle));
        SetWindowPos(edit, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    };
    HWND single = createEdit(ES_AUTOHSCROLL, u"Single line: caf\u00E9 \u03B1\u03B2\u03B3", {10, 10, 270, 31});
    HWND password = createEdit(ES_AUTOHSCROLL | ES_PASSWORD, u"password", {10, 40, 270, 61});
    HWND readOnly = createEdit(ES_AUTOHSCROLL | ES_READONLY, u"Read-only text", {10, 70, 270, 91});
    HWND multi = createEdit(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL,
                            u"A multi-line edit wraps its words at the right edge.\r\nSecond paragraph.\r\n"
                            u"Third.\r\nFourth.\r\nFifth.",
                            {10, 100, 270, 190});
    for (HWND edit : {single, password, readOnly, multi})
        label(edit, WS_EX_CLIENTEDGE);
    SetFocus(single);
    SendMessageW(single, EM_SETSEL, 0, 6);
    UpdateWindow(parent);
    auto path = std::filesystem::path(QUORVANE_TEST_OUTPUT_DIR) / "edit-controls.png";
    ASSERT_TRUE(WritePngFile(*CaptureWindowPixels(parent, false), path.string()));
    EXPECT_GT(std::filesystem::file_size(path), 1000u);
}

} // namespace
