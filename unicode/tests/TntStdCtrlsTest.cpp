// The wide standard controls: captions in Unicode windows (or painted wide),
// embossed disabled labels, one-line "&" labels, hot keys found in wide
// captions, and a picture of a form with one of each.
#include "platform/vcl/tests/VisualTestSupport.h"

#include "platform/core/CodePages.h"
#include "platform/core/FileUtils.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/Pictures.h"
#include "platform/win/DrawText.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/Windows.h"
#include "unicode/TntComCtrls.h"
#include "unicode/TntExtCtrls.h"
#include "unicode/TntStdCtrls.h"
#include "unicode/TntSystem.h"
#include "unicode/tests/TemporaryFolder.h"

#include <filesystem>
#include <fstream>

namespace {

const WideString Captions[] = {u"中文字", u"Кириллица", u"Ελληνικά"};

class StdCtrlsTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(400, 260);
    void TearDown() override {
        form.reset();
        Win32PlatformIsUnicode = true;
        VisualTest::TearDown();
    }
    template <typename T> T* make(Place Bounds, const WideString& Caption) {
        T* control = child<T>(form.get(), alNone, Bounds);
        control->SetCaption(Caption);
        return control;
    }
};

class StdCtrlsRoads : public StdCtrlsTest, public ::testing::WithParamInterface<bool> {};
INSTANTIATE_TEST_SUITE_P(Road, StdCtrlsRoads, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Wide" : "Ansi"; });

TEST_P(StdCtrlsRoads, CaptionsSetBeforeTheWindowsExistComeBack) {
    Win32PlatformIsUnicode = GetParam();
    for (const WideString& caption : Captions) {
        std::vector<TControl*> controls = {
            make<TTntLabel>({0, 0, 80, 20}, caption), make<TTntButton>({0, 20, 80, 20}, caption),
            make<TTntCheckBox>({0, 40, 80, 20}, caption), make<TTntGroupBox>({0, 60, 80, 40}, caption)};
        auto* edit = child<TTntEdit>(form.get(), alNone, {0, 100, 80, 20});
        edit->SetText(caption);
        controls.push_back(edit);
        form->Show();
        const WideString expected = GetParam() ? caption : AnsiToWide(WideToAnsi(caption));
        for (TControl* control : controls) {
            EXPECT_EQ(TntControl_GetText(control), expected) << ClassTypeOf(control)->ClassName();
            EXPECT_EQ(control->Text(), WideToAnsi(caption));
        }
        EXPECT_EQ(edit->Text(), expected);
        for (TControl* control : controls)
            delete control;
    }
}

// The highlight copy shows right and below the shadow-coloured text.
TEST_F(StdCtrlsTest, ADisabledLabelIsEmbossed) {
    auto* label = make<TTntLabel>({10, 10, 100, 40}, u"ЖЖЖ");
    label->Font()->SetSize(20);
    label->Font()->SetStyle({fsBold});
    label->SetEnabled(false);
    form->SetColor(clBtnFace);
    form->Show();
    Application->ProcessMessages();
    std::shared_ptr<PixelSurface> pixels = backend.Capture(form->Handle(), true);
    auto at = [&](Integer x, Integer y) {
        return static_cast<TColor>(ColorRefFromPixel(pixels->Row(y)[x] & PixelColourMask));
    };
    Integer lowestShadow = 0, lowestHighlight = 0;
    for (Integer y = 10; y < 50; ++y)
        for (Integer x = 10; x < 110; ++x) {
            if (at(x, y) == ColorToRGB(clBtnShadow)) lowestShadow = y;
            if (at(x, y) == ColorToRGB(clBtnHighlight)) lowestHighlight = y;
        }
    ASSERT_GT(lowestShadow, 0);
    EXPECT_EQ(lowestHighlight, lowestShadow + 1);
}

// The caption's background covers the top frame line at the start of the
// reading order: the left end, or the right end when right to left.
TEST_F(StdCtrlsTest, AGroupBoxCaptionCoversTheFrameLineAtItsReadingEnd) {
    for (const bool rightToLeft : {false, true}) {
        auto* group = make<TTntGroupBox>({10, 10, 200, 80}, u"Группа");
        group->SetColor(clYellow);
        if (rightToLeft) group->SetBiDiMode(bdRightToLeft);
        form->Show();
        Application->ProcessMessages();
        std::shared_ptr<PixelSurface> pixels = backend.Capture(group->Handle(), true);
        auto at = [&](Integer x, Integer y) {
            return static_cast<TColor>(ColorRefFromPixel(pixels->Row(y)[x] & PixelColourMask));
        };
        Integer line = 0;
        while (line < 40 && at(100, line) != ColorToRGB(clBtnShadow))
            ++line;
        ASSERT_LT(line, 40) << rightToLeft;
        auto yellowBetween = [&](Integer from, Integer to) {
            Integer yellow = 0;
            for (Integer x = from; x < to; ++x)
                yellow += at(x, line) == clYellow ? 1 : 0;
            return yellow;
        };
        const Integer captionStart = rightToLeft ? 170 : 10, frameStart = rightToLeft ? 10 : 170;
        EXPECT_GT(yellowBetween(captionStart, captionStart + 20), 0) << rightToLeft;
        EXPECT_EQ(yellowBetween(frameStart, frameStart + 20), 0) << rightToLeft;
        delete group;
    }
}

TEST_F(StdCtrlsTest, AnAmpersandLabelIsOneLineHigh) {
    auto* letter = make<TTntLabel>({10, 10, 10, 10}, u"A");
    auto* ampersand = make<TTntLabel>({10, 40, 10, 10}, u"&");
    letter->SetAutoSize(true);
    ampersand->SetAutoSize(true);
    EXPECT_EQ(ampersand->Height(), letter->Height());
    EXPECT_GT(ampersand->Height(), 0);
}

class TClicks : public TObject {
public:
    Integer clicks = 0;
    void Clicked(TObject*) { ++clicks; }
};

TEST_F(StdCtrlsTest, WideHotKeysClickTheButtonAndToggleTheFocusedCheckBox) {
    TClicks log;
    auto* button = make<TTntButton>({10, 10, 100, 24}, u"Пуск &K");
    button->OnClick = TNotifyEvent(&log, &TClicks::Clicked);
    auto* box = make<TTntCheckBox>({10, 40, 100, 24}, u"Флажок &F");
    form->Show();
    EXPECT_EQ(button->Perform(CM_DIALOGCHAR, 'k', 0), 1);
    EXPECT_EQ(log.clicks, 1);
    EXPECT_EQ(button->Perform(CM_DIALOGCHAR, 'x', 0), 0);
    EXPECT_EQ(box->Perform(CM_DIALOGCHAR, 'F', 0), 1);
    EXPECT_TRUE(box->Checked());
    box->SetEnabled(false);
    EXPECT_EQ(box->Perform(CM_DIALOGCHAR, 'F', 0), 0);
    EXPECT_TRUE(box->Checked());
}

// ---- Edits: selection and password characters ----

class EditTest : public StdCtrlsTest {
protected:
    TTntEdit* edit = child<TTntEdit>(form.get(), alNone, {10, 10, 200, 24});
    WideChar windowPasswordChar() {
        return static_cast<WideChar>(SendMessageW(edit->Handle(), EM_GETPASSWORDCHAR, 0, 0));
    }
};

TEST_F(EditTest, TheSelectionCountsUtf16Units) {
    form->Show();
    edit->SetText(u"a😀中b");
    edit->SetSelStart(1);
    edit->SetSelLength(3);
    EXPECT_EQ(edit->SelText(), u"😀中");
    EXPECT_EQ(edit->SelLength(), 3);
    edit->SetSelText(u"Жж");
    EXPECT_EQ(edit->Text(), u"aЖжb");
    EXPECT_EQ(edit->SelStart(), 3);
}

TEST_F(EditTest, AnAnsiRoadSelectionIsThatOfTheAnsiText) {
    Win32PlatformIsUnicode = false;
    form->Show();
    edit->SetText(u"Café au lait");
    edit->SetSelStart(3);
    edit->SetSelLength(4);
    EXPECT_EQ(edit->SelText(), u"é au");
    EXPECT_EQ(edit->SelStart(), 3);
    EXPECT_EQ(edit->SelLength(), 4);
}

TEST_F(EditTest, PasswordCharactersShowInTheWindowWideAndAsStarsToTheFramework) {
    struct Case {
        WideChar wide;
        char ansi;
    };
    for (const Case& c : {Case{u'*', '*'}, Case{u'\u25CF', '*'}, Case{u'#', '#'}}) {
        edit->SetPasswordChar(c.wide);
        form->Show();
        EXPECT_EQ(windowPasswordChar(), c.wide);
        EXPECT_EQ(edit->TCustomEdit::PasswordChar(), c.ansi);
        EXPECT_EQ(edit->PasswordChar(), c.wide);
        edit->SetPasswordChar(0);
        EXPECT_EQ(windowPasswordChar(), 0);
    }
    // Set before the window existed: the new window gets it.
    edit->SetPasswordChar(u'\u25CF');
    edit->RecreateWnd();
    EXPECT_EQ(windowPasswordChar(), u'\u25CF');
}

TEST_F(EditTest, AChangeThroughTheAnsiPropertyWins) {
    form->Show();
    edit->SetPasswordChar(u'\u25CF');
    edit->TCustomEdit::SetPasswordChar('#');
    EXPECT_EQ(edit->PasswordChar(), u'#');
    EXPECT_EQ(windowPasswordChar(), u'#');
}

TEST_F(EditTest, TheWidePasswordCharGoesThroughAFormResource) {
    edit->SetName("Secret");
    edit->SetPasswordChar(u'\u25CF');
    const AnsiString text = WriteComponentText(edit);
    TTntEdit copy(nullptr);
    ReadComponentText(text, &copy);
    EXPECT_EQ(copy.PasswordChar(), u'\u25CF') << text;
    EXPECT_EQ(copy.TCustomEdit::PasswordChar(), '*');
    edit->SetPasswordChar(0);
    EXPECT_EQ(WriteComponentText(edit).find("PasswordChar"), AnsiString::npos);
    // A resource of the framework's edit still gives its ANSI character.
    ReadComponentText("object Secret: TTntEdit\n  PasswordChar = '#'\nend\n", &copy);
    EXPECT_EQ(copy.PasswordChar(), u'#');
}

// What a read-only edit's window was created with and told afterwards.
class TReadOnlyWatch : public TObject {
public:
    explicit TReadOnlyWatch(TControl* Control) : previous_(Control->WindowProc) {
        Control->WindowProc = TWndMethod(this, &TReadOnlyWatch::WindowProc);
    }
    bool createdReadOnly = false;
    Integer setReadOnlyMessages = 0;

private:
    void WindowProc(TMessage& Message) {
        if (Message.Msg == WM_CREATE)
            createdReadOnly =
                (reinterpret_cast<const CREATESTRUCTA*>(Message.LParam)->style & ES_READONLY) != 0;
        if (Message.Msg == EM_SETREADONLY) ++setReadOnlyMessages;
        previous_(Message);
    }
    TWndMethod previous_;
};

TEST_F(EditTest, AFarEastAnsiEditIsMadeReadOnlyAfterItsWindowExists) {
    struct Case {
        bool farEast;
        bool unicode;
        bool createdReadOnly;
        Integer setReadOnlyMessages;
    };
    for (const Case& c :
         {Case{true, false, false, 1}, Case{false, false, true, 0}, Case{true, true, true, 0}}) {
        SysLocaleFarEast = c.farEast;
        Win32PlatformIsUnicode = c.unicode;
        auto* readOnly = child<TTntEdit>(form.get(), alNone, {10, 40, 200, 24});
        readOnly->SetReadOnly(true);
        TReadOnlyWatch watch(readOnly);
        readOnly->HandleNeeded();
        SysLocaleFarEast = false;
        EXPECT_EQ(watch.createdReadOnly, c.createdReadOnly) << c.farEast << c.unicode;
        EXPECT_EQ(watch.setReadOnlyMessages, c.setReadOnlyMessages) << c.farEast << c.unicode;
        EXPECT_NE(GetWindowLongW(readOnly->Handle(), GWL_STYLE) & ES_READONLY, 0);
        delete readOnly;
    }
}

TEST_F(EditTest, TheHiddenHandleComesBackWhenTheSetterThrows) {
    form->Show();
    const HWND window = edit->Handle();
    EXPECT_THROW(WithWindowHandleHidden(edit,
                                        [&] {
                                            EXPECT_FALSE(edit->HandleAllocated());
                                            throw EConvertError("refused");
                                        }),
                 EConvertError);
    EXPECT_EQ(edit->WindowHandle(), window);
}

// ---- Accelerators ----

class AcceleratorTest : public StdCtrlsTest {
protected:
    TClicks log;
    TTntButton* button = make<TTntButton>({10, 10, 120, 24}, u"&Button");
    TTntButton* cyrillic = make<TTntButton>({140, 10, 120, 24}, u"&Кнопка");
    TTntCheckBox* box = make<TTntCheckBox>({10, 40, 120, 22}, u"&Флажок");
    TTntRadioButton* radio = make<TTntRadioButton>({10, 70, 120, 22}, u"&Выбор");
    TTntEdit* target = child<TTntEdit>(form.get(), alNone, {140, 70, 100, 22});
    TTntLabel* label = make<TTntLabel>({10, 100, 120, 20}, u"&Метка");
    TTntStaticText* text = make<TTntStaticText>({140, 100, 120, 20}, u"&Текст");
    TTntGroupBox* group = make<TTntGroupBox>({10, 130, 200, 80}, u"&Группа");
    TTntEdit* first = child<TTntEdit>(group, alNone, {10, 20, 80, 22});
    void SetUp() override {
        StdCtrlsTest::SetUp();
        button->OnClick = TNotifyEvent(&log, &TClicks::Clicked);
        cyrillic->OnClick = TNotifyEvent(&log, &TClicks::Clicked);
        label->SetFocusControl(target);
        text->SetFocusControl(target);
        child<TTntEdit>(group, alNone, {100, 20, 80, 22});
        form->Show();
    }
};

TEST_F(AcceleratorTest, WideHotKeysActOnTheirControls) {
    struct Case {
        const char* what;
        TWinControl* receiver;
        WideChar key;
        TWinControl* focused;
        Integer clicks;
    };
    const Case cases[] = {
        {"Latin button clicks", button, u'b', nullptr, 1},
        {"Cyrillic button clicks", cyrillic, u'к', nullptr, 1},
        {"radio button takes the focus", radio, u'в', radio, 0},
        {"static text focuses its control", text, u'т', target, 0},
        {"group box selects its first child", group, u'г', first, 0},
    };
    for (const Case& c : cases) {
        log.clicks = 0;
        box->SetFocus();
        EXPECT_EQ(c.receiver->Perform(CM_DIALOGCHAR, c.key, 0), 1) << c.what;
        EXPECT_EQ(log.clicks, c.clicks) << c.what;
        if (c.focused) {
            EXPECT_EQ(Screen->ActiveControl(), c.focused) << c.what;
        }
    }
    EXPECT_EQ(label->Perform(CM_DIALOGCHAR, u'м', 0), 1);
    EXPECT_EQ(Screen->ActiveControl(), target);
    EXPECT_EQ(radio->Perform(CM_DIALOGCHAR, u'x', 0), 0);
    EXPECT_FALSE(box->Checked());
}

// An OnEnter handler that hands the focus straight on.
class TFocusThief : public TObject {
public:
    TWinControl* to = nullptr;
    void Entered(TObject*) { to->SetFocus(); }
};

TEST_F(AcceleratorTest, TheCheckBoxTogglesOnlyWhenItReallyGotTheFocus) {
    EXPECT_EQ(box->Perform(CM_DIALOGCHAR, u'ф', 0), 1);
    EXPECT_TRUE(box->Checked());
    TFocusThief thief;
    thief.to = target;
    box->OnEnter = TNotifyEvent(&thief, &TFocusThief::Entered);
    button->SetFocus();
    EXPECT_EQ(box->Perform(CM_DIALOGCHAR, u'ф', 0), 1);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(Screen->ActiveControl(), target);
}

// ---- Static text ----

TEST_F(StdCtrlsTest, AStaticTextSizesItselfToItsWideCaption) {
    auto* text = make<TTntStaticText>({10, 10, 10, 10}, u"中文中文中文");
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, text->Font()->Handle());
    SIZE extent{};
    GetTextExtentPoint32W(dc, u"中文中文中文", 6, &extent);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(text->Width(), extent.cx + 4 * GetSystemMetrics(SM_CXBORDER));
    EXPECT_EQ(text->Height(), extent.cy + 4 * GetSystemMetrics(SM_CYBORDER));
    form->Show();
    EXPECT_EQ(text->Caption(), u"中文中文中文");
}

// The panel paints its wide caption itself: the same ink as the caption
// drawn wide in the panel's font, centred on the height of "W"; the ANSI
// copy ("???") would leave other ink.
TEST_F(StdCtrlsTest, AWidePanelPaintsItsWideCaption) {
    const WideString caption = u"中文 Ελληνικά";
    auto* panel = make<TTntPanel>({10, 10, 200, 40}, caption);
    panel->SetColor(clWhite);
    panel->Font()->SetColor(clBlack);
    form->Show();
    Application->ProcessMessages();
    const auto painted = Headless().Capture(panel->Handle(), true);

    TBitmap expected;
    expected.SetSize(200, 40);
    TCanvas* canvas = expected.Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect({0, 0, 200, 40});
    canvas->SetFont(panel->Font());
    // Measuring puts the font into the canvas's device context.
    const Integer letterHeight = canvas->TextHeight("W");
    // Inside the one-pixel raised bevel.
    const Integer top = (1 + 39 - letterHeight) / 2;
    RECT text{1, top, 199, top + letterHeight};
    SetBkMode(canvas->Handle(), TRANSPARENT);
    DrawTextW(canvas->Handle(), caption.c_str(), -1, &text, DT_EXPANDTABS | DT_VCENTER | DT_CENTER);

    auto ink = [](TColor Color) { return GetRValue(Color) < 0x80; };
    int inked = 0;
    int differing = 0;
    for (Integer y = 2; y < 38; ++y)
        for (Integer x = 2; x < 198; ++x) {
            const bool wanted = ink(expected.Canvas()->Pixels(x, y));
            const auto pixel = static_cast<TColor>(ColorRefFromPixel(painted->Row(y)[x] & PixelColourMask));
            if (wanted) ++inked;
            if (wanted != ink(pixel)) ++differing;
        }
    EXPECT_GT(inked, 50);
    EXPECT_EQ(differing, 0);
}

TEST_F(StdCtrlsTest, AFormWithOneOfEachControlForAPersonToLookAt) {
    form->SetColor(clBtnFace);
    make<TTntLabel>({10, 10, 180, 20}, u"Метка 标签 Ετικέτα");
    make<TTntButton>({10, 40, 180, 26}, u"Кнопка 按钮 Κουμπί");
    TTntCheckBox* box = make<TTntCheckBox>({10, 76, 200, 22}, u"Флажок 复选 Πλαίσιο");
    box->SetChecked(true);
    auto* group = make<TTntGroupBox>({210, 10, 180, 90}, u"Группа 组 Ομάδα");
    group->SetColor(clBtnFace);
    auto* edit = child<TTntEdit>(form.get(), alNone, {10, 110, 380, 24});
    edit->SetText(u"Текст 文本 Κείμενο");
    auto* disabled = make<TTntLabel>({10, 150, 180, 20}, u"Отключено");
    disabled->SetEnabled(false);
    form->SetBounds(10, 10, 620, 440);
    make<TTntRadioButton>({400, 170, 210, 22}, u"Выбор 选项 Επιλογή")->SetChecked(true);
    make<TTntStaticText>({10, 180, 180, 20}, u"Текст 静态 Στατικό");
    auto* memo = child<TTntMemo>(form.get(), alNone, {10, 210, 180, 80});
    memo->Lines()->SetText(u"Строка 一行\r\nΓραμμή 二行");
    auto* radios = make<TTntRadioGroup>({210, 140, 180, 100}, u"Группа 单选 Ομάδα");
    for (const WideString& item : Captions)
        radios->Items()->Add(item);
    radios->SetItemIndex(1);
    make<TTntPanel>({210, 250, 180, 40}, u"Панель 面板 Πίνακας");
    auto* pages = child<TTntPageControl>(form.get(), alNone, {400, 10, 210, 150});
    for (const WideString& caption : Captions) {
        auto* sheet = new TTntTabSheet(form.get());
        sheet->SetPageControl(pages);
        sheet->SetCaption(caption);
    }
    auto* bar = child<TTntStatusBar>(form.get(), alBottom, {0, 0, 620, 20});
    for (const WideString& caption : Captions) {
        auto* panel = static_cast<TTntStatusPanel*>(bar->Panels()->Add());
        panel->SetWidth(140);
        panel->SetText(caption);
    }
    form->Show();
    Application->ProcessMessages();
    const std::filesystem::path folder = std::filesystem::path(ProgramFolder()).parent_path() / "screenshots";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(backend.SavePng(form->Handle(), (folder / "unicode-std-controls.png").string()));
}

} // namespace

namespace {

// The hidden memo that receives a language file: non-wrapping, read line by line.
class MemoTest : public StdCtrlsTest {
protected:
    TTntMemo* memo = child<TTntMemo>(form.get(), alNone, {0, 0, 200, 100});
    void SetUp() override {
        StdCtrlsTest::SetUp();
        memo->SetWordWrap(false);
        memo->SetVisible(false);
        form->Show();
    }
    std::vector<WideString> lines() {
        std::vector<WideString> result;
        for (Integer i = 0; i < memo->Lines()->Count(); ++i)
            result.push_back(memo->Lines()->Strings(i));
        return result;
    }
};

TEST_F(MemoTest, LanguageFilesInUtf16AndInTheAnsiCodePageReadBackLineForLine) {
    test::TemporaryFolder folder;
    const WideString wideFile = folder.Path() + u"/Русский.lng";
    {
        TTntStringList source;
        source.Add(u"Open=Открыть");
        source.Add(u"Title=标题 " + WideString(300, u'x'));
        source.SaveToFile(wideFile);
    }
    memo->Lines()->LoadFromFile(wideFile);
    EXPECT_EQ(lines(), (std::vector<WideString>{u"Open=Открыть", u"Title=标题 " + WideString(300, u'x')}));

    const std::string ansiFile = folder.NativePath() + "/English.lng";
    std::ofstream(ansiFile, std::ios::binary) << "Open=Caf\xE9\r\nExit=Quit\r\n";
    memo->Lines()->LoadFromFile(UTF8Decode(ansiFile));
    EXPECT_EQ(lines(), (std::vector<WideString>{u"Open=Caf\u00E9", u"Exit=Quit"}));
}

TEST_F(MemoTest, LfTextIsStoredWithCrLfAndAnEqualTextLeavesTheWindowAlone) {
    memo->Lines()->SetTextStr(u"один\nдва\n");
    EXPECT_EQ(memo->Text(), u"один\r\nдва\r\n");
    SendMessageW(memo->Handle(), EM_SETMODIFY, 0, 0);
    memo->Lines()->SetTextStr(u"один\r\nдва\r\n");
    EXPECT_EQ(SendMessageW(memo->Handle(), EM_GETMODIFY, 0, 0), 0);
}

TEST_F(MemoTest, InsertingAfterTheLastLine) {
    memo->SetText(u"a\r\n");
    // No line starts at 2 and line 1 is empty: nothing is inserted.
    memo->Lines()->Insert(2, u"x");
    EXPECT_EQ(memo->Text(), u"a\r\n");
    memo->SetText(u"a\r\nb");
    memo->Lines()->Insert(2, u"c");
    EXPECT_EQ(memo->Text(), u"a\r\nb\r\nc");
    memo->Lines()->Insert(0, u"Ж");
    EXPECT_EQ(memo->Text(), u"Ж\r\na\r\nb\r\nc");
    memo->Lines()->Put(1, u"Щ");
    EXPECT_EQ(memo->Lines()->Strings(1), u"Щ");
}

TEST_F(MemoTest, LineStartsAndLengthsCountUtf16Units) {
    memo->SetText(u"Жук\r\n\r\n一二三四");
    const HWND window = memo->Handle();
    EXPECT_EQ(TntMemo_LineStart(window, 2), 7);
    EXPECT_EQ(TntMemo_LineLength(window, 2), 4);
    EXPECT_EQ(TntMemo_LineLength(window, 1), 0);
    EXPECT_EQ(TntMemo_LineLength(window, 0, 0), 3) << "a start given is used as it is";
    EXPECT_EQ(TntMemo_LineStart(window, 3), -1);
    EXPECT_EQ(TntMemo_LineLength(window, 3), 0) << "no line there";
}

// The wide lines are the memo's published Lines: a form resource carries them whole.
TEST_F(MemoTest, TheWideLinesGoThroughAFormResource) {
    memo->SetName("Notes");
    memo->Lines()->SetText(u"Строка 一行\r\nΓραμμή");
    const AnsiString text = WriteComponentText(memo);
    auto* copy = child<TTntMemo>(form.get(), alNone, {0, 100, 200, 100});
    ReadComponentText(text, copy);
    ASSERT_EQ(copy->Lines()->Count(), 2) << text;
    EXPECT_EQ(copy->Lines()->Strings(0), u"Строка 一行") << text;
    EXPECT_EQ(copy->Lines()->Strings(1), u"Γραμμή");
}

TEST_F(MemoTest, ALineTooLongToReadIsAnError) {
    memo->SetText(WideString(70000, u'x'));
    EXPECT_THROW(memo->Lines()->Strings(0), EOutOfResources);
}

} // namespace
