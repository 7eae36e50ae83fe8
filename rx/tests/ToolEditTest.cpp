// The combo edit (its click key, read-only and DirectInput states, button
// widths and placements, Enter, the minimum height, the ellipsis glyph, the
// popup a descendant supplies) and
// the file-name edit (the name part of its text, its dialog and the two
// dialog events, kind changes, the dialog's history, preview and help,
// dropped files), on a form in the headless
// backend. Both fields are saved under the build folder (rx-edits.png).
#include "rx/ToolEdit.h"

#include "rx/tests/RxTestSupport.h"

#include "platform/core/CodePages.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/ExtDlgs.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/CommonDialogs.h"
#include "platform/win/EditControl.h"
#include "platform/win/KernelCalls.h"
#include "platform/win/Messages.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/WindowPos.h"
#include "platform/win/Windows.h"

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

struct EventLog : TObject {
    int buttonClicks = 0;
    int changes = 0;
    int drops = 0;
    bool clearBefore = false;
    bool clearAfter = false;
    AnsiString renameAfter;
    void ButtonClicked(TObject*) { ++buttonClicks; }
    void Changed(TObject*) { ++changes; }
    void Dropped(TObject*) { ++drops; }
    void BeforeDialog(TObject*, AnsiString&, bool& Action) {
        if (clearBefore) Action = false;
    }
    void AfterDialog(TObject*, AnsiString& Name, bool& Action) {
        if (clearAfter) Action = false;
        if (!renameAfter.empty()) Name = renameAfter;
    }
};

class ComboEditTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(320, 160);
    EventLog log;

    template <typename T> T* add(Integer Top, Integer Width = 150) {
        auto* edit = child<T>(form.get(), alNone, {10, Top, Width, 21});
        edit->OnButtonClick = TNotifyEvent(&log, &EventLog::ButtonClicked);
        edit->OnChange = TNotifyEvent(&log, &EventLog::Changed);
        return edit;
    }

    void show() {
        form->Show();
        Application->ProcessMessages();
    }

    void press(UINT Key, std::initializer_list<UINT> Modifiers = {}) {
        backend.PressKey(Key, Modifiers);
        Application->ProcessMessages();
    }

    void type(const WideString& Text) {
        backend.TypeText(Text);
        Application->ProcessMessages();
    }

    void clickButton(TCustomComboEdit* Edit) {
        TWinControl* host = Edit->ButtonHost();
        backend.Click(host->Handle(), {host->Width() / 2, host->Height() / 2});
        Application->ProcessMessages();
    }

    static TRect editRect(TCustomComboEdit* Edit) {
        RECT rect{};
        SendMessageA(Edit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
};

TEST_F(ComboEditTest, AltDownClicksOnlyWhileTheButtonHasAWidth) {
    auto* edit = add<TComboEdit>(10);
    show();
    edit->SetFocus();
    press(VK_DOWN, {VK_MENU});
    EXPECT_EQ(log.buttonClicks, 1);
    edit->SetButtonWidth(0);
    press(VK_DOWN, {VK_MENU});
    EXPECT_EQ(log.buttonClicks, 1);
}

TEST_F(ComboEditTest, AReadOnlyFieldClicksOnlyWithAlwaysEnable) {
    auto* edit = add<TComboEdit>(10);
    edit->SetReadOnly(true);
    show();
    edit->SetFocus();
    press(VK_DOWN, {VK_MENU});
    clickButton(edit);
    EXPECT_EQ(log.buttonClicks, 0);
    edit->SetAlwaysEnable(true);
    press(VK_DOWN, {VK_MENU});
    clickButton(edit);
    EXPECT_EQ(log.buttonClicks, 2);
}

TEST_F(ComboEditTest, NarrowButtonsHideTheHostButTheTextStillLeavesItsRoom) {
    auto* edit = add<TComboEdit>(10);
    show();
    for (Integer width : {0, 1}) {
        edit->SetButtonWidth(width);
        Application->ProcessMessages();
        EXPECT_FALSE(edit->ButtonHost()->Visible()) << width;
        EXPECT_EQ(editRect(edit).Right, edit->ClientWidth() - edit->ButtonHost()->Width() - 2) << width;
    }
    edit->SetButtonWidth(edit->ClientWidth());
    EXPECT_EQ(edit->ButtonWidth(), 1) << "a width of the whole field is ignored";
}

TEST_F(ComboEditTest, TheButtonSitsInsideTheBorderItHas) {
    struct Case {
        TBorderStyle border;
        bool ctl3D;
        TRect host;
    };
    for (const Case& c : {Case{bsSingle, true, {150 - 21 - 4, 0, 150 - 4, 21 - 4}},
                          Case{bsSingle, false, {150 - 21 - 2, 2, 150 - 2, 2 + 21 - 4}},
                          Case{bsNone, true, {150 - 21, 0, 150, 21}}}) {
        auto* edit = add<TComboEdit>(10);
        edit->SetBorderStyle(c.border);
        edit->SetCtl3D(c.ctl3D);
        show();
        edit->SetBounds(10, 10, 150, 21);
        Application->ProcessMessages();
        EXPECT_EQ(edit->ButtonHost()->BoundsRect(), c.host) << c.border << " " << c.ctl3D;
        EXPECT_EQ(edit->Button()->Height(), edit->ButtonHost()->Height());
        delete edit;
    }
}

TEST_F(ComboEditTest, EnterFiresTheDefaultButtonAndNeverReachesTheText) {
    auto* edit = add<TComboEdit>(10);
    auto* ok = child<TButton>(form.get(), alNone, {200, 10, 75, 25});
    ok->SetDefault(true);
    int okClicks = 0;
    struct Counter : TObject {
        int* count;
        void Clicked(TObject*) { ++*count; }
    } counter;
    counter.count = &okClicks;
    ok->OnClick = TNotifyEvent(&counter, &Counter::Clicked);
    edit->SetText("abc");
    show();
    edit->SetFocus();
    press(VK_END);
    press(VK_RETURN);
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(edit->Text(), "abc");
}

TEST_F(ComboEditTest, AFieldBelowTheMinimumHeightGrowsBack) {
    auto* edit = add<TComboEdit>(10);
    show();
    edit->SetHeight(5);
    Application->ProcessMessages();
    EXPECT_GT(edit->Height(), 5);
    const Integer least = edit->Height();
    edit->SetHeight(least + 10);
    EXPECT_EQ(edit->Height(), least + 10);
    edit->SetHeight(least - 1);
    EXPECT_EQ(edit->Height(), least);
}

TEST_F(ComboEditTest, WithoutDirectInputOnlyTheProgramSetsTheText) {
    auto* edit = add<TComboEdit>(10);
    edit->SetDirectInput(false);
    edit->SetText("kept");
    show();
    edit->SetFocus();
    edit->TCustomEdit::SetSelStart(1);
    edit->TCustomEdit::SetSelLength(1);
    type(u"x");
    Clipboard()->SetAsText("pasted");
    SendMessageA(edit->Handle(), WM_PASTE, 0, 0);
    SendMessageA(edit->Handle(), WM_CUT, 0, 0);
    edit->SelectAll();
    EXPECT_EQ(edit->Text(), "kept");
    EXPECT_EQ(edit->SelStart(), 1);
    EXPECT_EQ(edit->SelLength(), 1);
    edit->SetText("set by the program");
    EXPECT_EQ(edit->Text(), "set by the program");
    edit->SetDirectInput(true);
    SendMessageA(edit->Handle(), WM_PASTE, 0, 0);
    EXPECT_NE(edit->Text(), "set by the program");
    Clipboard()->Clear();
}

TEST_F(ComboEditTest, TheEllipsisGlyphHasThreeDots) {
    auto* edit = add<TComboEdit>(10);
    edit->SetButtonWidth(20);
    edit->SetGlyphKind(gkEllipsis);
    TBitmap* glyph = edit->Glyph();
    // Width 14: gap 3, margin 1; dots at 1, 6 and 11.
    ASSERT_EQ(glyph->Width(), 14);
    ASSERT_EQ(glyph->Height(), 4);
    std::string row;
    for (Integer x = 0; x < glyph->Width(); ++x)
        row += glyph->Canvas()->Pixels(x, 1) == clBlack ? '#' : '.';
    EXPECT_EQ(row, ".##...##...##.");
    EXPECT_EQ(glyph->Canvas()->Pixels(1, 0), clWhite);
    EXPECT_EQ(glyph->Canvas()->Pixels(1, 2), clBlack);
}

TEST_F(ComboEditTest, TheDropDownGlyphIsTheSystemsComboArrow) {
    auto* edit = add<TComboEdit>(10);
    edit->SetGlyphKind(gkDropDown);
    EXPECT_FALSE(edit->Glyph()->Empty());
    EXPECT_EQ(edit->NumGlyphs(), 1);
    EXPECT_EQ(edit->ButtonWidth(), GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_FALSE(edit->IsButtonWidthStored());
}

// ---- The popup of a descendant ----------------------------------------------------------------

// A popup holding a text, as a descendant of the combo edit would supply one.
class TTextPopup : public TComboEditPopup {
public:
    explicit TTextPopup(TComponent* AOwner) : TComboEditPopup(AOwner) { SetVisible(false); }
    AnsiString value;
    AnsiString PopupValue() override { return value; }
    void SetPopupValue(const AnsiString& Value) override { value = Value; }

protected:
    void CreateParams(TCreateParams& Params) override {
        TComboEditPopup::CreateParams(Params);
        Params.Style = WS_POPUP | WS_BORDER;
        Params.WndParent = Application->Handle();
    }
};

class TPopupComboEdit : public TComboEdit {
public:
    explicit TPopupComboEdit(TComponent* AOwner) : TComboEdit(AOwner), popup(new TTextPopup(this)) {
        popup->SetBounds(0, 0, 200, 80);
        SetPopup(popup);
    }
    TTextPopup* popup;
    int popupChanges = 0;

protected:
    void PopupValueChanged() override { ++popupChanges; }
};

bool windowReadOnly(TWinControl* Control) {
    return (GetWindowLongA(Control->Handle(), GWL_STYLE) & ES_READONLY) != 0;
}

TEST_F(ComboEditTest, TheButtonOpensThePopupWithTheTextAndClosesItAcceptingItsValue) {
    auto* edit = add<TPopupComboEdit>(10);
    edit->SetText("first");
    log.changes = 0;
    show();
    clickButton(edit);
    EXPECT_EQ(log.buttonClicks, 1);
    ASSERT_TRUE(edit->PopupVisible());
    EXPECT_TRUE(edit->popup->Visible());
    EXPECT_EQ(edit->popup->value, "first");
    EXPECT_TRUE(windowReadOnly(edit)) << "typing waits while the popup shows";
    edit->SetText("typed by the program");
    EXPECT_EQ(edit->popupChanges, 1);
    EXPECT_EQ(log.changes, 0) << "changes while the popup is open are the popup's";
    edit->popup->value = "chosen";
    clickButton(edit);
    EXPECT_EQ(log.buttonClicks, 1) << "the press that closes the popup clicks nothing";
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_FALSE(edit->popup->Visible());
    EXPECT_EQ(edit->Text(), "chosen");
    EXPECT_TRUE(edit->Modified());
    EXPECT_EQ(log.changes, 1);
    EXPECT_FALSE(windowReadOnly(edit));
}

TEST_F(ComboEditTest, EnterAcceptsEscapeAndLosingTheFocusDiscard) {
    auto* edit = add<TPopupComboEdit>(10);
    auto* other = add<TComboEdit>(40);
    auto* defaultButton = child<TButton>(form.get(), alNone, {200, 100, 60, 24});
    defaultButton->SetDefault(true);
    defaultButton->OnClick = TNotifyEvent(&log, &EventLog::ButtonClicked);
    show();
    struct Case {
        std::function<void()> close;
        const char* text;
    };
    const Case cases[] = {
        {[&] { press(VK_ESCAPE); }, "start"},
        {[&] { other->SetFocus(); }, "start"},
        {[&] { press(VK_RETURN); }, "chosen"},
    };
    for (const Case& c : cases) {
        edit->SetText("start");
        edit->SetFocus();
        clickButton(edit);
        log.buttonClicks = 0;
        ASSERT_TRUE(edit->PopupVisible());
        edit->popup->value = "chosen";
        c.close();
        EXPECT_FALSE(edit->PopupVisible()) << c.text;
        EXPECT_EQ(edit->Text(), c.text);
        EXPECT_EQ(log.buttonClicks, 0) << "the key closing the popup is not the form's";
    }
}

// The popup is 200 wide and 80 high, the field 150 wide and 21 high at
// (10, 10) of a borderless form.
TEST_F(ComboEditTest, ThePopupOpensUnderTheFieldInsideTheScreen) {
    const Integer screenWidth = Screen->Width();
    const Integer screenHeight = Screen->Height();
    struct Case {
        TPoint form;
        Byte align;
        TPoint popup;
    };
    const Case cases[] = {
        {{400, 100}, 0, {410 - 50, 131}},
        {{400, 100}, 1, {410, 131}},
        {{0, 100}, 0, {10, 131}},
        {{screenWidth - 200, 100}, 1, {screenWidth - 190 - 50, 131}},
        {{400, screenHeight - 60}, 0, {360, screenHeight - 50 - 80}},
    };
    for (const Case& c : cases) {
        auto* edit = add<TPopupComboEdit>(10);
        edit->SetPopupAlign(c.align);
        form->SetBounds(c.form.x, c.form.y, 320, 160);
        show();
        clickButton(edit);
        RECT placed{};
        GetWindowRect(edit->popup->Handle(), &placed);
        EXPECT_EQ((TPoint{placed.Left, placed.Top}), c.popup)
            << c.form.x << ", " << c.form.y << " align " << int(c.align);
        delete edit;
    }
}

// ---- The file-name edit ------------------------------------------------------------------------

class FilenameEditTest : public ComboEditTest {
protected:
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("quorvane-rx-filename-" +
         std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));

    void SetUp() override {
        ComboEditTest::SetUp();
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        std::filesystem::remove_all(folder);
        ComboEditTest::TearDown();
    }

    AnsiString file(const std::string& Name) {
        const std::filesystem::path path = folder / Name;
        std::ofstream(path) << Name;
        return path.string();
    }

    TFilenameEdit* fileEdit() {
        auto* edit = add<TFilenameEdit>(40, 250);
        edit->OnBeforeDialog = TExecOpenDialogEvent(&log, &EventLog::BeforeDialog);
        edit->OnAfterDialog = TExecOpenDialogEvent(&log, &EventLog::AfterDialog);
        return edit;
    }
};

TEST_F(FilenameEditTest, TheNamePartIsTheFirstWordUnlessTheWholeTextIsAFile) {
    auto* edit = fileEdit();
    const AnsiString withBlank = file("a b.txt");
    struct Case {
        AnsiString text;
        AnsiString name;
    };
    for (const Case& c :
         {Case{"\"/x/my file.txt\" -flag", "/x/my file.txt"}, Case{withBlank, withBlank},
          Case{"\"\" \"\" second", "second"}, Case{"", ""}, Case{"plain.txt more", "plain.txt"}}) {
        edit->SetText(c.text);
        EXPECT_EQ(edit->FileName(), c.name) << c.text;
    }
}

TEST_F(FilenameEditTest, SettingAnInvalidNameRaisesAndLeavesTheText) {
    auto* edit = fileEdit();
    edit->SetFileName("/x/a b.txt");
    EXPECT_EQ(edit->Text(), "\"/x/a b.txt\"");
    EXPECT_EQ(edit->FileName(), "/x/a b.txt");
    try {
        edit->SetFileName("bad|name");
        FAIL() << "no error";
    } catch (const EComboEditError& error) {
        EXPECT_EQ(error.Message, "Invalid file name - bad|name");
    }
    EXPECT_EQ(edit->Text(), "\"/x/a b.txt\"");
}

TEST_F(FilenameEditTest, TheDialogsChoiceGoesIntoTheFieldQuoted) {
    auto* edit = fileEdit();
    edit->SetDirectInput(false);
    edit->SetFilter("Pages|*.htm");
    show();
    const AnsiString chosen = file("my page.htm");
    backend.AnswerFileDialog({UTF8Decode(chosen)});
    clickButton(edit);
    EXPECT_EQ(log.buttonClicks, 1);
    EXPECT_EQ(log.changes, 1);
    EXPECT_EQ(edit->Text(), "\"" + chosen + "\"");
    EXPECT_EQ(edit->FileName(), chosen);
    EXPECT_EQ(backend.LastFileDialog().Filters.front().second, u"*.htm");
    EXPECT_EQ(edit->InitialDir(), ExtractFilePath(chosen));
}

TEST_F(FilenameEditTest, TheDialogEventsCanStopOrChangeTheChoice) {
    auto* edit = fileEdit();
    show();
    // A dialog of another title before, so that the edit's own is told apart.
    WCHAR name[kernel32::MAX_PATH] = {};
    OPENFILENAMEW earlier{};
    earlier.lStructSize = sizeof earlier;
    earlier.lpstrFile = name;
    earlier.nMaxFile = kernel32::MAX_PATH;
    earlier.lpstrTitle = u"Earlier";
    ASSERT_FALSE(GetOpenFileNameW(&earlier));
    log.clearBefore = true;
    backend.AnswerFileDialog({UTF8Decode(file("a.txt"))});
    clickButton(edit);
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(backend.LastFileDialog().Title, u"Earlier") << "no dialog ran";
    log.clearBefore = false;
    log.clearAfter = true;
    clickButton(edit);
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(backend.LastFileDialog().Title, u"Browse");
    log.clearAfter = false;
    log.renameAfter = "/other/name.txt";
    backend.AnswerFileDialog({UTF8Decode(file("b.txt"))});
    clickButton(edit);
    EXPECT_EQ(edit->Text(), "/other/name.txt");
}

TEST_F(FilenameEditTest, AKindChangeKeepsTheDialogSettings) {
    auto* edit = fileEdit();
    edit->SetFilter("Text|*.txt");
    edit->SetFilterIndex(2);
    edit->SetDialogTitle("Pick");
    edit->SetDefaultExt("txt");
    edit->SetDialogOptions({ofAllowMultiSelect});
    edit->SetFileEditStyle(fsComboBox);
    edit->HistoryList()->Add("/earlier.txt");
    const auto isSave = [](TOpenDialog* D) { return dynamic_cast<TSaveDialog*>(D) != nullptr; };
    const auto isOpenPicture = [](TOpenDialog* D) { return dynamic_cast<TOpenPictureDialog*>(D) != nullptr; };
    const auto isSavePicture = [](TOpenDialog* D) { return dynamic_cast<TSavePictureDialog*>(D) != nullptr; };
    const std::pair<TFileDialogKind, std::function<bool(TOpenDialog*)>> kinds[] = {
        {dkSave, isSave}, {dkOpenPicture, isOpenPicture}, {dkSavePicture, isSavePicture}};
    for (const auto& [kind, isOfKind] : kinds) {
        edit->SetDialogKind(kind);
        EXPECT_TRUE(isOfKind(edit->Dialog())) << kind;
        EXPECT_EQ(edit->Filter(), "Text|*.txt") << kind;
        EXPECT_EQ(edit->FilterIndex(), 2);
        EXPECT_EQ(edit->DialogTitle(), "Pick");
        EXPECT_EQ(edit->DefaultExt(), "txt");
        EXPECT_TRUE(edit->DialogOptions().Contains(ofAllowMultiSelect));
        EXPECT_EQ(edit->FileEditStyle(), fsComboBox);
        EXPECT_EQ(edit->HistoryList()->Text(), "/earlier.txt\r\n");
        EXPECT_TRUE(edit->IsFilterStored());
        EXPECT_TRUE(edit->IsDialogTitleStored());
    }
}

struct HelpLog : TObject {
    std::vector<Integer> contexts;
    bool Help(Word Command, Integer Data, bool&) {
        if (Command == HELP_CONTEXT) contexts.push_back(Data);
        return true;
    }
};

// The name field's history with fsComboBox, the picture preview of the
// picture kinds, and a Help button for a field with a help topic.
TEST_F(FilenameEditTest, TheDialogOffersTheHistoryThePreviewAndHelp) {
    auto* edit = fileEdit();
    edit->HistoryList()->Add("/one.bmp");
    edit->HistoryList()->Add("/two.ico");
    show();
    clickButton(edit);
    FileDialogRequest plain = backend.LastFileDialog();
    EXPECT_TRUE(plain.History.empty()) << "a plain name field lists nothing";
    EXPECT_FALSE(plain.PicturePreview);
    EXPECT_FALSE(plain.HelpRequested) << "no topic, no Help button";

    edit->SetFileEditStyle(fsComboBox);
    edit->SetDialogKind(dkOpenPicture);
    edit->SetHelpContext(7);
    clickButton(edit);
    FileDialogRequest picture = backend.LastFileDialog();
    EXPECT_EQ(picture.History, (std::vector<WideString>{u"/one.bmp", u"/two.ico"}));
    EXPECT_TRUE(picture.PicturePreview);
    ASSERT_TRUE(picture.HelpRequested);
    HelpLog help;
    Application->OnHelp = THelpEvent(&help, &HelpLog::Help);
    picture.HelpRequested();
    Application->OnHelp = nullptr;
    EXPECT_EQ(help.contexts, std::vector<Integer>{7});
}

TEST_F(FilenameEditTest, DropsKeepTheFirstNameUnlessSeveralAreAllowed) {
    auto* edit = fileEdit();
    edit->SetAcceptFiles(true);
    edit->OnDropFiles = TNotifyEvent(&log, &EventLog::Dropped);
    show();
    const AnsiString longName = file(std::string(300, 'n'));
    const AnsiString second = file("second.txt");
    backend.DropFiles(edit->Handle(), {5, 5}, {UTF8Decode(longName), UTF8Decode(second)});
    Application->ProcessMessages();
    EXPECT_EQ(edit->FileName(), longName) << "a dropped name is read whole";
    EXPECT_EQ(edit->Dialog()->Files()->Count(), 0);
    EXPECT_EQ(log.drops, 1);
    edit->SetDialogOptions({ofAllowMultiSelect});
    backend.DropFiles(edit->Handle(), {5, 5}, {UTF8Decode(second), UTF8Decode(longName)});
    Application->ProcessMessages();
    EXPECT_EQ(edit->FileName(), second);
    EXPECT_EQ(edit->Dialog()->Files()->Count(), 2);
}

TEST_F(FilenameEditTest, BothFieldsAreSavedForAPersonToLookAt) {
    auto* colour = add<TComboEdit>(10, 80);
    colour->SetText("#FF8000");
    colour->SetButtonWidth(12);
    auto* files = fileEdit();
    files->SetText("/home/user/page.htm");
    show();
    EXPECT_EQ(files->Glyph()->Width(), 14);
    EXPECT_TRUE(backend.SavePng(form->Handle(), ScreenshotPath("rx-edits.png")));
}

} // namespace
