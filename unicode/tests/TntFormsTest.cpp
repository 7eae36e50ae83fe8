// The wide application and its message hook: characters above 255 for a
// Unicode window are dispatched wide before the framework's loop sees them,
// everything else is left to the loop; the pending title; the wide hint
// action; the wide form.
#include "platform/vcl/tests/VisualTestSupport.h"

#include "platform/core/CodePages.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/StdActns.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Focus.h"
#include "platform/win/Messages.h"
#include "platform/win/Profile.h"
#include "platform/win/Windows.h"
#include "unicode/TntActnList.h"
#include "unicode/TntComCtrls.h"
#include "unicode/TntForms.h"
#include "unicode/TntMenus.h"
#include "unicode/TntStdActns.h"
#include "unicode/TntStdCtrls.h"
#include "unicode/TntSystem.h"
#include "unicode/tests/TemporaryFolder.h"
#include "unicode/tests/WideEdit.h"

#include <fstream>

namespace {

class MessageLog : public TObject {
public:
    std::vector<UINT> messages;
    void OnMessage(MSG& Msg, bool&) {
        if (Msg.message == WM_CHAR || Msg.message == WM_NULL) messages.push_back(Msg.message);
    }
};

class HookTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm();
    TWideEdit* wideEdit = child<TWideEdit>(form.get(), alNone, {10, 10, 120, 24});
    TEdit* ansiEdit = child<TEdit>(form.get(), alNone, {10, 40, 120, 24});
    MessageLog log;

    void SetUp() override {
        VisualTest::SetUp();
        InitializeTntForms();
        form->Show();
        Application->ProcessMessages();
        Application->OnMessage = TMessageEvent(&log, &MessageLog::OnMessage);
    }
    void TearDown() override {
        Application->OnMessage = nullptr;
        Application->SetDialogHandle(nullptr);
        form.reset();
        VisualTest::TearDown();
    }
    void post(TWinControl* Control, WPARAM Char) {
        PostMessageW(Control->Handle(), WM_CHAR, Char, 1);
        Application->ProcessMessages();
    }
};

TEST_F(HookTest, ACharacterBeyondAnsiForAUnicodeWindowIsDispatchedWide) {
    post(wideEdit, 0x3042);
    EXPECT_EQ(TntControl_GetText(wideEdit), u"\u3042");
    EXPECT_EQ(wideEdit->keysPressed, std::vector<unsigned char>{255});
    EXPECT_EQ(log.messages, (std::vector<UINT>{WM_CHAR, WM_NULL}));
}

TEST_F(HookTest, OtherCharactersAndWindowsAreLeftToTheLoop) {
    post(wideEdit, 200);
    EXPECT_EQ(TntControl_GetText(wideEdit), u"\u00C8");
    post(ansiEdit, 0x3042);
    EXPECT_EQ(ansiEdit->Text(), "?");
    Application->SetDialogHandle(ansiEdit->Handle());
    post(wideEdit, 0x3043);
    Application->SetDialogHandle(nullptr);
    EnableManualPeekMessageWithRemove();
    post(wideEdit, 0x3044);
    DisableManualPeekMessageWithRemove();
    DisableManualPeekMessageWithRemove();
    EXPECT_EQ(TntControl_GetText(wideEdit), u"\u00C8??");
    EXPECT_EQ(log.messages, (std::vector<UINT>{WM_CHAR, WM_CHAR, WM_CHAR, WM_CHAR}));
    // The counter stayed at 0: the hook takes characters again.
    post(wideEdit, 0x3045);
    EXPECT_EQ(TntControl_GetText(wideEdit), u"\u00C8??\u3045");
}

TEST_F(HookTest, TypedCjkLandsWholeUnlessTheHookIsKeptOut) {
    SetFocus(wideEdit->Handle());
    backend.TypeText(u"中文");
    Application->ProcessMessages();
    EXPECT_EQ(TntControl_GetText(wideEdit), u"中文");
    EnableManualPeekMessageWithRemove();
    backend.TypeText(u"字");
    Application->ProcessMessages();
    DisableManualPeekMessageWithRemove();
    EXPECT_EQ(TntControl_GetText(wideEdit), u"中文?");
}

TEST_F(HookTest, ATitleSetWhileItCannotBeShownIsAppliedWhenTheWindowIsMade) {
    Win32PlatformIsUnicode = false;
    TntApplication()->SetTitle(u"Заголовок");
    Win32PlatformIsUnicode = true;
    EXPECT_EQ(Application->Title(), "?????????");
    TMessage create{WM_CREATE, 0, 0, 0};
    EXPECT_FALSE(TntApplication()->WndProc(create));
    EXPECT_EQ(TntApplication()->Title(), u"Заголовок");
    TntApplication()->SetTitle(u"Заголовок 2");
    EXPECT_EQ(TntApplication()->Title(), u"Заголовок 2");
    EXPECT_EQ(Application->Title(), "????????? 2");
}

class THintActionDescendant : public THintAction {
public:
    using THintAction::THintAction;
};

TEST_F(HookTest, TheFrameworksHintActionIsReplacedByTheWideOneButNotADescendant) {
    TntApplication()->SetHint(u"Подсказка");
    THintAction action(nullptr);
    action.SetHint(WideToAnsi(u"Подсказка"));
    EXPECT_EQ(SendMessageW(Application->Handle(), CM_ACTIONEXECUTE, 0, reinterpret_cast<LPARAM>(&action)), 1);
    THintActionDescendant descendant(nullptr);
    descendant.SetHint(action.Hint());
    TMessage message{CM_ACTIONEXECUTE, 0, reinterpret_cast<LPARAM>(&descendant), 0};
    EXPECT_FALSE(TntApplication()->WndProc(message));
    action.SetHint("other");
    message.LParam = reinterpret_cast<LPARAM>(&action);
    EXPECT_FALSE(TntApplication()->WndProc(message));
}

TEST_F(HookTest, AWideFormShowsItsWideCaption) {
    auto* wideForm = new TTntForm(nullptr);
    std::unique_ptr<TTntForm> owner(wideForm);
    wideForm->SetCaption(u"Окно 窓");
    wideForm->SetBounds(0, 0, 100, 100);
    wideForm->Show();
    EXPECT_TRUE(IsWindowUnicode(wideForm->Handle()));
    EXPECT_EQ(wideForm->Caption(), u"Окно 窓");
    wideForm->SetFormStyle(fsMDIChild);
    EXPECT_THROW(wideForm->RecreateWnd(), EInvalidOperation);
}

// A real selection in a wide form's menu bar: the form, not the menu's own
// handling, turns the highlighted item's hint into the application's wide hint.
TEST_F(HookTest, AHighlightedMenuItemOfAWideFormGivesItsWideLongHint) {
    std::unique_ptr<TTntForm> wideForm(new TTntForm(nullptr));
    wideForm->SetBounds(0, 0, 200, 150);
    auto* menu = new TTntMainMenu(wideForm.get());
    auto* file = new TTntMenuItem(wideForm.get());
    file->SetCaption(u"&Файл");
    menu->Items()->Add(file);
    auto* open = new TTntMenuItem(wideForm.get());
    open->SetCaption(u"Открыть");
    open->SetHint(u"Откр|Открывает файл");
    file->Add(open);
    wideForm->SetMenu(menu);
    wideForm->Show();
    Application->ProcessMessages();
    WideString hintWhileOpen;
    backend.SetIdleHandler([&] {
        backend.SetIdleHandler(nullptr);
        hintWhileOpen = TntApplication()->Hint();
        backend.PressKey(VK_ESCAPE);
        backend.PressKey(VK_ESCAPE);
    });
    backend.KeyDown(VK_MENU);
    backend.KeyDown('Q', u"ф");
    backend.KeyUp('Q');
    backend.KeyUp(VK_MENU);
    Application->ProcessMessages();
    EXPECT_EQ(hintWhileOpen, u"Открывает файл");
    EXPECT_EQ(TntApplication()->Hint(), u"");
}

// A scroll box whose every size change sets off another follows them 31 deep.
TEST_F(HookTest, AScrollBoxFollowsNestedSizeChanges31Deep) {
    struct TGrowing {
        TTntScrollBox* box = nullptr;
        Integer resizes = 0;
        void Resized(TObject*) {
            ++resizes;
            box->SetWidth(box->Width() + 1);
        }
    } growing;
    growing.box = child<TTntScrollBox>(form.get(), alNone, {150, 10, 100, 100});
    growing.box->HandleNeeded();
    EXPECT_TRUE(IsWindowUnicode(growing.box->Handle()));
    growing.box->OnResize = TNotifyEvent(&growing, &TGrowing::Resized);
    growing.box->SetWidth(120);
    EXPECT_EQ(growing.resizes, 31);
}

TEST_F(HookTest, AFrameHasAUnicodeWindowAndAWideHint) {
    auto* frame = child<TTntFrame>(form.get(), alNone, {150, 10, 100, 100});
    frame->SetHint(u"Рамка|Подробно");
    EXPECT_TRUE(IsWindowUnicode(frame->Handle()));
    EXPECT_EQ(WideGetLongHint(WideGetHint(frame)), u"Подробно");
}

// A caption or hint an action supplies is the action's: the form resource leaves it out.
TEST_F(HookTest, CaptionsAndHintsFromAnActionAreNotWrittenToTheFormResource) {
    std::unique_ptr<TTntForm> wideForm(new TTntForm(nullptr));
    wideForm->SetName("WideForm");
    auto* button = child<TTntButton>(wideForm.get(), alNone, {0, 0, 80, 24});
    button->SetName("Button");
    TTntAction action(nullptr);
    action.SetName("FileAction");
    action.SetCaption(u"Файл");
    action.SetHint(u"Открывает");
    wideForm->SetCaption(u"Окно");
    wideForm->SetHint(u"Своя");
    button->SetAction(&action);
    wideForm->SetAction(&action);
    const AnsiString text = WriteComponentText(wideForm.get());
    EXPECT_EQ(text.find("Caption"), AnsiString::npos) << text;
    EXPECT_EQ(text.find("Hint"), AnsiString::npos) << text;
    button->SetAction(nullptr);
    EXPECT_NE(WriteComponentText(button).find("Caption"), AnsiString::npos);
}

// Alt with a Cyrillic letter, typed into a Unicode edit: the hook takes the
// WM_SYSCHAR out of the ANSI loop, so the hot keys of the wide controls and
// of the menu bar see the letter itself rather than "?".
class AltKeyTest : public HookTest {
protected:
    Integer clicks = 0;
    TTntButton* button = captioned<TTntButton>({140, 10, 100, 24}, u"&Кнопка");
    TTntCheckBox* box = captioned<TTntCheckBox>({140, 40, 100, 22}, u"&Флажок");
    TTntRadioButton* radio = captioned<TTntRadioButton>({140, 70, 100, 22}, u"&Выбор");
    TTntLabel* label = captioned<TTntLabel>({250, 10, 40, 20}, u"&Метка");
    TTntGroupBox* group = captioned<TTntGroupBox>({10, 100, 120, 80}, u"&Группа");
    TTntEdit* first = child<TTntEdit>(group, alNone, {10, 20, 80, 22});
    TTntEdit* typing = child<TTntEdit>(form.get(), alNone, {10, 70, 120, 22});
    TTntPageControl* pages = child<TTntPageControl>(form.get(), alNone, {140, 100, 150, 90});
    TTntMainMenu* menu = new TTntMainMenu(form.get());

    void SetUp() override {
        button->OnClick = TNotifyEvent(this, &AltKeyTest::clicked);
        label->SetFocusControl(wideEdit);
        addSheet(u"Один");
        addSheet(u"&Два");
        auto* fileMenu = new TTntMenuItem(form.get());
        fileMenu->SetCaption(u"&Правка");
        menu->Items()->Add(fileMenu);
        auto* open = new TTntMenuItem(form.get());
        open->SetCaption(u"Открыть");
        open->OnClick = TNotifyEvent(this, &AltKeyTest::clicked);
        fileMenu->Add(open);
        HookTest::SetUp();
    }
    void clicked(TObject*) { ++clicks; }
    template <typename T> T* captioned(Place Bounds, const WideString& Caption) {
        T* control = child<T>(form.get(), alNone, Bounds);
        control->SetCaption(Caption);
        return control;
    }
    void addSheet(const WideString& Caption) {
        auto* sheet = new TTntTabSheet(form.get());
        sheet->SetPageControl(pages);
        sheet->SetCaption(Caption);
    }
    void pressAlt(WideChar Letter) {
        typing->SetFocus();
        backend.KeyDown(VK_MENU);
        backend.KeyDown('Q', WideString(1, Letter));
        backend.KeyUp('Q');
        backend.KeyUp(VK_MENU);
        Application->ProcessMessages();
    }
};

TEST_F(AltKeyTest, CyrillicHotKeysOfTheWideControlsAct) {
    pressAlt(u'к');
    EXPECT_EQ(clicks, 1);
    pressAlt(u'Ф');
    EXPECT_TRUE(box->Checked());
    pressAlt(u'в');
    EXPECT_EQ(Screen->ActiveControl(), radio);
    pressAlt(u'м');
    EXPECT_EQ(Screen->ActiveControl(), wideEdit);
    pressAlt(u'г');
    EXPECT_EQ(Screen->ActiveControl(), first);
    pressAlt(u'д');
    EXPECT_EQ(pages->ActivePageIndex(), 1);
    EXPECT_EQ(TntControl_GetText(typing), u"");
}

TEST_F(AltKeyTest, ACyrillicHotKeyOpensTheMenuBarItem) {
    SetFormMenu(form.get(), menu);
    backend.SetIdleHandler([&] {
        backend.SetIdleHandler(nullptr);
        backend.PressKey(VK_RETURN);
    });
    pressAlt(u'п');
    EXPECT_EQ(clicks, 1);
}

TEST_F(AltKeyTest, KeptOutOfTheHookTheLetterArrivesAsAQuestionMark) {
    EnableManualPeekMessageWithRemove();
    pressAlt(u'к');
    DisableManualPeekMessageWithRemove();
    EXPECT_EQ(clicks, 0);
}

} // namespace

namespace {

std::vector<std::string> settingChanges;

LRESULT recordSettingChange(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WININICHANGE)
        settingChanges.push_back(WideToAnsi(reinterpret_cast<const WCHAR*>(lParam)));
    return DefWindowProcW(window, message, wParam, lParam);
}

// A profile of the test's own and a top-level window that notes every settings change.
class TntEnvironmentTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetProfileFile(folder.NativePath() + "/win.ini");
        WNDCLASSEXW windowClass{};
        windowClass.lpfnWndProc = WindowProcFromFunction(recordSettingChange);
        windowClass.lpszClassName = u"SettingsListener";
        RegisterClassExW(&windowClass);
        listener = CreateWindowExW(0, u"SettingsListener", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   nullptr, nullptr);
        settingChanges.clear();
    }
    void TearDown() override {
        DestroyWindow(listener);
        SetDefaultNewFontName(fontNameBefore);
        HintWindowClass = hintClassBefore;
        SetProfileFile("");
    }

    std::string profileText() const {
        std::ifstream file(folder.NativePath() + "/win.ini", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    test::TemporaryFolder folder;
    HWND listener = nullptr;
    const TFontName fontNameBefore = DefaultNewFontName();
    const TClass hintClassBefore = HintWindowClass;
};

TEST_F(TntEnvironmentTest, MissingDialogFontSubstitutesAreWrittenAnnouncedAndGiveNewFontsTheirName) {
    InitTntEnvironment();
    const bool hasTahoma = Screen->Fonts()->IndexOf("Tahoma") >= 0;
    const std::string dialog2 = hasTahoma ? "Tahoma" : "MS Sans Serif";
    EXPECT_EQ(profileText(),
              "[FontSubstitutes]\r\nMS Shell Dlg=MS Sans Serif\r\nMS Shell Dlg 2=" + dialog2 + "\r\n");
    EXPECT_EQ(settingChanges, (std::vector<std::string>{"FontSubstitutes", "FontSubstitutes"}));
    EXPECT_EQ(TFont().Name(), dialog2);
    EXPECT_EQ(HintWindowClass, ClassOf<TTntHintWindow>());
}

TEST_F(TntEnvironmentTest, PresentSubstitutesAreKeptAndTheDialogFontIsReadFromTheProfile) {
    ASSERT_TRUE(WriteProfileStringA("FontSubstitutes", "MS Shell Dlg 2", "Courier New"));
    InitTntEnvironment();
    EXPECT_EQ(profileText(),
              "[FontSubstitutes]\r\nMS Shell Dlg 2=Courier New\r\nMS Shell Dlg=MS Sans Serif\r\n");
    EXPECT_EQ(settingChanges, std::vector<std::string>{"FontSubstitutes"});
    EXPECT_EQ(TFont().Name(), "Courier New");

    settingChanges.clear();
    InitTntEnvironment();
    EXPECT_TRUE(settingChanges.empty());
}

} // namespace
