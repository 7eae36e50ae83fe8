// Unicode window creation and text: wide captions before and after the
// window exists, on both roads; the trap surviving re-creation; the answer
// to WM_NOTIFYFORMAT; text the framework sends itself while another message
// is delivered; refused creation; the WM_CHAR helpers; hints.
#include "platform/vcl/tests/VisualTestSupport.h"

#include "platform/core/CodePages.h"
#include "platform/core/FileUtils.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "unicode/TntControls.h"
#include "unicode/TntSystem.h"
#include "unicode/tests/WideEdit.h"

#include <cstring>
#include <filesystem>

namespace {

const WideString MixedCaption = u"中文 Кириллица Ελληνικά";

// A windowed control of the layer painted by the framework, counting CM_TEXTCHANGED.
class TWideBox : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    WideString Caption() { return TntControl_GetText(this); }
    void SetCaption(const WideString& Value) { TntControl_SetText(this, Value); }
    Integer textChanges = 0;
    bool refuseCreation = false;
    LRESULT notifyFormatDuringCreation = 0;

    void Dispatch(TMessage& Message) override {
        if (Message.Msg == CM_TEXTCHANGED) ++textChanges;
        if (Message.Msg == WM_CREATE && refuseCreation) {
            Message.Result = -1;
            return;
        }
        if (Message.Msg == WM_CREATE && Parent())
            notifyFormatDuringCreation = SendMessageW(Parent()->WindowHandle(), WM_NOTIFYFORMAT,
                                                      reinterpret_cast<WPARAM>(WindowHandle()), NF_QUERY);
        TCustomControl::Dispatch(Message);
    }

protected:
    void CreateWindowHandle(const TCreateParams& Params) override { CreateUnicodeHandle(this, Params, {}); }
};

const TClass wideBoxClass = DescribeClass<TWideBox, TCustomControl>();

class ControlsTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm();
    void TearDown() override {
        form.reset();
        Win32PlatformIsUnicode = true;
        VisualTest::TearDown();
    }
    TWideBox* box() { return child<TWideBox>(form.get(), alNone, {10, 10, 100, 30}); }
};

class ControlRoads : public ControlsTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Win32PlatformIsUnicode = GetParam();
    }
};
INSTANTIATE_TEST_SUITE_P(Road, ControlRoads, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Wide" : "Ansi"; });

TEST_P(ControlRoads, CaptionSetBeforeTheWindowShowsWhenItExists) {
    TWideBox* control = box();
    control->SetCaption(MixedCaption);
    form->Show();
    ASSERT_TRUE(control->HandleAllocated());
    const WideString expected = GetParam() ? MixedCaption : AnsiToWide(WideToAnsi(MixedCaption));
    EXPECT_EQ(control->Caption(), expected);
    EXPECT_EQ(control->Text(), WideToAnsi(MixedCaption));
    EXPECT_EQ(IsWindowUnicode(control->WindowHandle()) != FALSE, GetParam());
    WCHAR buffer[64];
    GetWindowTextW(control->WindowHandle(), buffer, 64);
    EXPECT_EQ(WideString(buffer), expected);
}

TEST_P(ControlRoads, GraphicControlsKeepWideCaptionsAndHintsAside) {
    auto* label = child<TMark>(form.get(), alNone, {0, 0, 10, 10});
    TntControl_SetText(label, MixedCaption);
    TntControl_SetHint(label, u"Ж|long Ж");
    const WideString expectedCaption = GetParam() ? MixedCaption : AnsiToWide(WideToAnsi(MixedCaption));
    EXPECT_EQ(TntControl_GetText(label), expectedCaption);
    EXPECT_EQ(label->Text(), WideToAnsi(MixedCaption));
    EXPECT_EQ(TntControl_GetHint(label), GetParam() ? u"Ж|long Ж" : u"?|long ?");
    // An ANSI change behind the wide copy's back wins.
    label->SetText("plain");
    EXPECT_EQ(TntControl_GetText(label), u"plain");
}

TEST_F(ControlsTest, AnEqualTextSendsNoTextChange) {
    TWideBox* control = box();
    form->Show();
    control->SetCaption(u"Ж");
    EXPECT_EQ(control->textChanges, 1);
    control->SetCaption(u"Ж");
    EXPECT_EQ(control->textChanges, 1);
    control->SetCaption(u"Щ");
    EXPECT_EQ(control->textChanges, 2);
}

TEST_F(ControlsTest, ReCreationKeepsTheTextTheTrapAndTheClass) {
    TWideBox* control = box();
    form->Show();
    control->SetCaption(MixedCaption);
    const HWND first = control->WindowHandle();
    const LONG_PTR trapProcedure = GetWindowLongPtrW(first, GWLP_WNDPROC);
    WCHAR className[64];
    GetClassNameW(first, className, 64);
    EXPECT_EQ(WideString(className), u"TWideBox.UnicodeClass");

    control->RecreateWnd();
    const HWND second = control->Handle();
    ASSERT_NE(second, first);
    EXPECT_EQ(control->Caption(), MixedCaption);
    EXPECT_EQ(GetWindowLongPtrW(second, GWLP_WNDPROC), trapProcedure);
    GetClassNameW(second, className, 64);
    EXPECT_EQ(WideString(className), u"TWideBox.UnicodeClass");
}

// The framework's own edit, its window made anew as a Unicode one: its text
// and focus stay, and from then on it holds UTF-16.
TEST_F(ControlsTest, AFrameworkEditGetsAUnicodeWindowMadeAnew) {
    auto* edit = child<TEdit>(form.get(), alNone, {10, 10, 120, 24});
    form->Show();
    edit->SetText("abc");
    edit->SetFocus();
    ASSERT_FALSE(IsWindowUnicode(edit->Handle()));
    ReCreateUnicodeWnd(edit, u"EDIT");
    ASSERT_TRUE(IsWindowUnicode(edit->Handle()));
    EXPECT_EQ(TntControl_GetText(edit), u"abc");
    EXPECT_TRUE(edit->Focused());
    TntControl_SetText(edit, u"Правка");
    EXPECT_EQ(TntControl_GetText(edit), u"Правка");
    EXPECT_EQ(edit->Text(), "??????");
}

TEST_P(ControlRoads, NotifyFormatAnswersUnicodeForUnicodeWindowsAlsoDuringCreation) {
    TWideBox* parent = box();
    parent->SetControlStyle(parent->ControlStyle() + TControlStyle{csAcceptsControls});
    form->Show();
    auto* inner = child<TWideBox>(parent, alNone, {0, 0, 10, 10});
    inner->HandleNeeded();
    auto* ansiWindow = child<TBox>(form.get(), alNone, {0, 0, 10, 10});
    const LRESULT wide = GetParam() ? NFR_UNICODE : NFR_ANSI;
    EXPECT_EQ(inner->notifyFormatDuringCreation, wide);
    EXPECT_EQ(parent->Perform(WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(inner->Handle()), NF_QUERY), wide);
    EXPECT_EQ(parent->Perform(WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(ansiWindow->Handle()), NF_QUERY),
              NFR_ANSI);
}

// A WindowProc hook in front of the trap that reads the text while WM_SIZE is delivered.
class TTextReader : public TObject {
public:
    explicit TTextReader(TControl* Control) : control_(Control), previous_(Control->WindowProc) {
        Control->WindowProc = TWndMethod(this, &TTextReader::WindowProc);
    }
    ~TTextReader() override { control_->WindowProc = previous_; }
    AnsiString textDuringSize;

private:
    void WindowProc(TMessage& Message) {
        if (Message.Msg == WM_SIZE) {
            char buffer[64] = {};
            control_->Perform(WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
            textDuringSize = buffer;
        }
        previous_(Message);
    }
    TControl* control_;
    TWndMethod previous_;
};

TEST_F(ControlsTest, TextReadWhileAnotherMessageIsDeliveredComesAsAnsi) {
    TWideBox* control = box();
    form->Show();
    control->SetCaption(u"abc Ж");
    TTextReader reader(control);
    control->SetBounds(10, 10, 150, 40);
    EXPECT_EQ(reader.textDuringSize, "abc ?");
}

// As the framework's destructor does before the window goes: WindowProc is
// taken back past the trap, and the text is read into an ANSI buffer.
TEST_F(ControlsTest, TextReadPastTheTrapComesAsAnsiWithinItsBuffer) {
    TWideBox* control = box();
    control->SetCaption(u"Кириллица");
    form->Show();
    control->WindowProc = TWndMethod(control, &TControl::WndProc);
    char buffer[32];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(control->Perform(WM_GETTEXT, 10, reinterpret_cast<LPARAM>(buffer)), 9);
    EXPECT_STREQ(buffer, "?????????");
    EXPECT_EQ(std::string(buffer + 10, sizeof buffer - 10), std::string(sizeof buffer - 10, 'x'));
    EXPECT_EQ(control->Text(), "?????????");
}

TEST_F(ControlsTest, ARefusedWindowLeavesNoHandleAndALaterOneWorks) {
    TWideBox* control = box();
    control->SetCaption(MixedCaption);
    form->HandleNeeded();
    control->refuseCreation = true;
    EXPECT_THROW(control->HandleNeeded(), EOSError);
    EXPECT_FALSE(control->HandleAllocated());
    control->refuseCreation = false;
    control->HandleNeeded();
    ASSERT_TRUE(control->HandleAllocated());
    EXPECT_TRUE(IsWindowUnicode(control->WindowHandle()));
    EXPECT_EQ(control->Caption(), MixedCaption);
}

TEST_F(ControlsTest, ACharacterBeyondAnsiPassesTheHandlersAs255AndReachesTheEditWhole) {
    auto* edit = child<TWideEdit>(form.get(), alNone, {10, 10, 100, 24});
    form->Show();
    SendMessageW(edit->Handle(), WM_CHAR, 0x4E2D, 1);
    SendMessageW(edit->Handle(), WM_CHAR, 'a', 1);
    EXPECT_EQ(edit->keysPressed, (std::vector<unsigned char>{255, 'a'}));
    EXPECT_EQ(TntControl_GetText(edit), u"\u4E2Da");
}

struct CharCase {
    WPARAM wParam;
    WPARAM safe;
    WideChar wide;
};

TEST(WMCharHelpers, CarryWideCharactersThroughTheAnsiHandlers) {
    const CharCase cases[] = {
        {0x41, 0x41, 0x41},
        {0xFF, 0xFF, 0xFF},
        {0x100, MAKEWPARAM(255, 0x100), 0x100},
        {0x4E2D, MAKEWPARAM(255, 0x4E2D), 0x4E2D},
        {0xD800, MAKEWPARAM(255, 0xD800), 0xD800},
    };
    for (const CharCase& c : cases) {
        TMessage message{WM_CHAR, c.wParam, 0, 0};
        MakeWMCharMsgSafeForAnsi(message);
        EXPECT_EQ(message.WParam, c.safe) << c.wParam;
        EXPECT_EQ(GetWideCharFromWMCharMsg(message), c.wide) << c.wParam;
        RestoreWMCharMsg(message);
        EXPECT_EQ(message.WParam, c.wParam) << c.wParam;
        SetWideCharForWMCharMsg(message, c.wide);
        EXPECT_EQ(message.WParam, c.safe) << c.wParam;
    }
}

TEST(WMCharHelpers, BrokenPreconditionsAreAssertionFailures) {
    TMessage keyDown{WM_KEYDOWN, 0x41, 0, 0};
    EXPECT_THROW(MakeWMCharMsgSafeForAnsi(keyDown), EAssertionFailed);
    EXPECT_THROW(RestoreWMCharMsg(keyDown), EAssertionFailed);
    EXPECT_THROW(GetWideCharFromWMCharMsg(keyDown), EAssertionFailed);
    EXPECT_THROW(SetWideCharForWMCharMsg(keyDown, u'x'), EAssertionFailed);
    TMessage spareInUse{WM_CHAR, MAKEWPARAM(255, 0x4E2D), 0, 0};
    EXPECT_THROW(MakeWMCharMsgSafeForAnsi(spareInUse), EAssertionFailed);
    EXPECT_FALSE(IsTextMessage(WM_CHAR));
    EXPECT_TRUE(IsTextMessage(WM_GETTEXTLENGTH));
}

TEST(Hints, SplitAtTheFirstBar) {
    struct Case {
        WideString hint, shortHint, longHint;
    };
    const Case cases[] = {
        {u"a|b", u"a", u"b"}, {u"abc", u"abc", u"abc"}, {u"a|b|c", u"a", u"b|c"},
        {u"|x", u"", u"x"},   {u"", u"", u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WideGetShortHint(c.hint), c.shortHint) << WideToAnsi(c.hint);
        EXPECT_EQ(WideGetLongHint(c.hint), c.longHint) << WideToAnsi(c.hint);
    }
}

TEST_F(ControlsTest, TheHintComesFromTheFirstParentThatHasOne) {
    TWideBox* control = box();
    TntControl_SetHint(form.get(), u"Форма|длинная");
    EXPECT_EQ(WideGetHint(control), u"Форма|длинная");
    TntControl_SetHint(control, u"Ж");
    EXPECT_EQ(WideGetHint(control), u"Ж");
}

} // namespace

namespace {

std::filesystem::path screenshotPath(const char* Name) {
    const std::filesystem::path folder = std::filesystem::path(ProgramFolder()).parent_path() / "screenshots";
    std::filesystem::create_directories(folder);
    return folder / Name;
}

TEST_F(ControlsTest, AHintWithAnActionsShortcutShowsTheWideShortcutText) {
    Application->SetShowHint(true);
    TWideBox* control = box();
    control->SetShowHint(true);
    TntControl_SetHint(control, u"Открыть|Открывает файл");
    TAction action(nullptr);
    action.SetShortCut(scCtrl | 'O');
    SetControlAction(control, &action);
    TntControl_SetHint(control, u"Открыть|Открывает файл");
    form->Show();
    backend.MoveMouse(control->Handle(), {5, 5});
    Application->ProcessMessages();
    Application->ActivateHint(control->ClientToScreen({5, 5}));
    auto* window = dynamic_cast<TTntCustomHintWindow*>(Application->HintWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Caption(), u"Открыть (Ctrl+O)");
    Application->HideHint();
    SetControlAction(control, nullptr);
    Application->SetShowHint(false);
}

TEST_F(ControlsTest, TheWideHintWindowShowsItsText) {
    TTntHintWindow hint(nullptr);
    const WideString text = u"Подсказка 提示 Υπόδειξη";
    TRect rect = hint.CalcHintRect(300, text, nullptr);
    rect = {100, 100, 100 + rect.Width(), 100 + rect.Height()};
    hint.ActivateHint(rect, text);
    Application->ProcessMessages();
    EXPECT_EQ(hint.Caption(), text);
    EXPECT_TRUE(IsWindowUnicode(hint.Handle()));
    EXPECT_TRUE(backend.SavePng(hint.Handle(), screenshotPath("unicode-hint-window.png").string()));
}

} // namespace
