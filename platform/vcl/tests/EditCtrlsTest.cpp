// The framework's edit, mask edit and memo on a form in the headless backend:
// typing, selecting and the clipboard through input and the controls'
// methods, the window styles the properties make, the memo's lines, the keys
// a memo wants, tab order and form resources. A form of edits is saved under
// the build folder (vcl-edits.png) for a person to look at.
#include "VisualTestSupport.h"

#include "platform/core/FileUtils.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/EditCtrls.h"
#include "platform/vcl/Filers.h"
#include "platform/win/EditControl.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"

#include <filesystem>

namespace {

struct TChangeLog : TObject {
    int changes = 0;
    void Changed(TObject*) { ++changes; }
};

class EditCtrlsTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(400, 300);
    TChangeLog log;

    template <typename T> T* add(Place Bounds) {
        auto* control = child<T>(form.get(), alNone, Bounds);
        control->OnChange = TNotifyEvent(&log, &TChangeLog::Changed);
        return control;
    }

    void show() {
        form->Show();
        Application->ProcessMessages();
    }

    void type(const WideString& Text) {
        backend.TypeText(Text);
        Application->ProcessMessages();
    }

    void press(UINT Key, std::initializer_list<UINT> Modifiers = {}) {
        backend.PressKey(Key, Modifiers);
        Application->ProcessMessages();
    }

    static DWORD styleOf(TWinControl* Control) {
        return static_cast<DWORD>(GetWindowLongA(Control->Handle(), GWL_STYLE));
    }

    static std::vector<AnsiString> linesOf(TStrings* Lines) {
        std::vector<AnsiString> lines;
        for (Integer i = 0; i < Lines->Count(); ++i)
            lines.push_back(Lines->Strings(i));
        return lines;
    }
};

using Lines = std::vector<AnsiString>;

TEST_F(EditCtrlsTest, TypingChangesTheTextAndTheSelectionFollowsTheKeys) {
    auto* edit = add<TEdit>({10, 10, 150, 21});
    show();
    edit->SetFocus();
    type(u"hello");
    EXPECT_EQ(edit->Text(), "hello");
    EXPECT_EQ(log.changes, 5);
    EXPECT_TRUE(edit->Modified());
    press(VK_HOME, {VK_SHIFT});
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_EQ(edit->SelLength(), 5);
    EXPECT_EQ(edit->SelText(), "hello");
    edit->SetSelStart(1);
    edit->SetSelLength(3);
    EXPECT_EQ(edit->SelText(), "ell");
    edit->SetSelText("ipp");
    EXPECT_EQ(edit->Text(), "hippo");
    EXPECT_EQ(log.changes, 6);
    char buffer[4];
    edit->SelectAll();
    EXPECT_EQ(edit->GetSelTextBuf(buffer, sizeof buffer), 3);
    EXPECT_STREQ(buffer, "hip");
}

TEST_F(EditCtrlsTest, ClipboardAndUndoWorkOnTheWindow) {
    auto* edit = add<TEdit>({10, 10, 150, 21});
    show();
    edit->SetText("copy me");
    edit->SelectAll();
    edit->CopyToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), "copy me");
    edit->SetSelStart(7);
    edit->PasteFromClipboard();
    EXPECT_EQ(edit->Text(), "copy mecopy me");
    EXPECT_TRUE(edit->CanUndo());
    edit->Undo();
    EXPECT_EQ(edit->Text(), "copy me");
    edit->SetSelStart(0);
    edit->SetSelLength(5);
    edit->CutToClipboard();
    EXPECT_EQ(edit->Text(), "me");
    EXPECT_EQ(Clipboard()->AsText(), "copy ");
    edit->SelectAll();
    edit->ClearSelection();
    EXPECT_EQ(edit->Text(), "");
    edit->ClearUndo();
    EXPECT_FALSE(edit->CanUndo());
    edit->SetText("gone");
    log.changes = 0;
    edit->Clear();
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(log.changes, 1);
}

TEST_F(EditCtrlsTest, PropertiesBecomeTheWindowsStylesAndSurviveANewWindow) {
    auto* edit = add<TEdit>({10, 10, 150, 21});
    EXPECT_TRUE(edit->TabStop());
    EXPECT_FALSE(edit->ParentColor());
    EXPECT_EQ(edit->Width(), 150);
    edit->SetMaxLength(4);
    edit->SetReadOnly(true);
    edit->SetPasswordChar('#');
    edit->SetCharCase(ecUpperCase);
    edit->SetText("abc");
    show();
    HWND window = edit->Handle();
    EXPECT_FALSE(IsWindowUnicode(window));
    DWORD style = styleOf(edit);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(style & ES_UPPERCASE);
    EXPECT_TRUE(style & ES_AUTOHSCROLL);
    EXPECT_FALSE(style & ES_NOHIDESEL);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(SendMessageA(window, EM_GETLIMITTEXT, 0, 0), 4);
    EXPECT_EQ(SendMessageA(window, EM_GETPASSWORDCHAR, 0, 0), '#');
    EXPECT_EQ(edit->Text(), "ABC");

    edit->SetModified(true);
    edit->SetHideSelection(false);
    EXPECT_TRUE(styleOf(edit) & ES_NOHIDESEL);
    EXPECT_TRUE(edit->Modified());
    EXPECT_EQ(edit->Text(), "ABC");
    EXPECT_EQ(SendMessageA(edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), '#');

    edit->SetCtl3D(false);
    edit->SetReadOnly(false);
    edit->SetCharCase(ecNormal);
    EXPECT_TRUE(styleOf(edit) & WS_BORDER);
    EXPECT_FALSE(styleOf(edit) & ES_READONLY);
}

TEST_F(EditCtrlsTest, AnAutoSizedEditIsAsHighAsItsFontAndBorders) {
    auto* edit = add<TEdit>({10, 10, 150, 40});
    edit->Font()->SetSize(14);
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, edit->Font()->Handle());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    show();
    EXPECT_EQ(edit->Height(), metrics.tmHeight + 8);
    edit->SetAutoSize(false);
    edit->SetHeight(40);
    EXPECT_EQ(edit->Height(), 40);
    auto* memo = add<TMemo>({10, 60, 200, 100});
    EXPECT_FALSE(memo->AutoSize());
    EXPECT_EQ(memo->Height(), 100);
}

TEST_F(EditCtrlsTest, SettingTheTextTellsOnceInAnEditAndInAMemo) {
    auto* edit = add<TEdit>({10, 10, 150, 21});
    auto* memo = add<TMemo>({10, 40, 200, 100});
    show();
    edit->SetText("one");
    EXPECT_EQ(log.changes, 1);
    memo->SetText("one\r\ntwo");
    EXPECT_EQ(log.changes, 2);
    memo->Lines()->SetText("three");
    EXPECT_EQ(log.changes, 3);
    // Loading the same text again leaves the window alone.
    memo->Lines()->SetText("three");
    EXPECT_EQ(log.changes, 3);
}

TEST_F(EditCtrlsTest, TheMemosLinesAreTheWindowsLines) {
    auto* memo = add<TMemo>({10, 10, 200, 150});
    show();
    TStrings* lines = memo->Lines();
    EXPECT_EQ(lines->Count(), 0);
    lines->Add("one");
    lines->Add("two");
    EXPECT_EQ(memo->Text(), "one\r\ntwo\r\n");
    EXPECT_EQ(linesOf(lines), (Lines{"one", "two"}));
    lines->Insert(1, "mid");
    lines->Put(0, "ONE");
    EXPECT_EQ(linesOf(lines), (Lines{"ONE", "mid", "two"}));
    lines->Delete(2);
    EXPECT_EQ(linesOf(lines), (Lines{"ONE", "mid"}));
    EXPECT_EQ(lines->Strings(99), "");
    EXPECT_EQ(lines->IndexOf("mid"), 1);

    // LF and CR alone become CR LF.
    lines->SetText("a\nb\rc");
    EXPECT_EQ(memo->Text(), "a\r\nb\r\nc");
    EXPECT_EQ(lines->Count(), 3);
    // Past a last line with text a new line is appended; past an empty one nothing happens.
    lines->Insert(3, "d");
    EXPECT_EQ(memo->Text(), "a\r\nb\r\nc\r\nd");
    lines->SetText("a\r\n");
    lines->Insert(2, "x");
    EXPECT_EQ(memo->Text(), "a\r\n");

    TStringList copied;
    copied.Add("first");
    copied.Add("second");
    memo->SetLines(&copied);
    EXPECT_EQ(linesOf(lines), (Lines{"first", "second"}));
    lines->Clear();
    EXPECT_EQ(memo->Text(), "");
}

TEST_F(EditCtrlsTest, TheMemosStylesFollowItsProperties) {
    auto* memo = add<TMemo>({10, 10, 200, 150});
    show();
    EXPECT_TRUE(styleOf(memo) & ES_MULTILINE);
    EXPECT_FALSE(styleOf(memo) & ES_AUTOHSCROLL);
    memo->SetWordWrap(false);
    memo->SetScrollBars(ssVertical);
    memo->SetAlignment(taCenter);
    DWORD style = styleOf(memo);
    EXPECT_TRUE(style & ES_AUTOHSCROLL);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(style & WS_HSCROLL);
    EXPECT_TRUE(style & ES_CENTER);
}

TEST_F(EditCtrlsTest, AMemoTakesEnterAndTabOnlyWhenItWantsThem) {
    auto* memo = add<TMemo>({10, 10, 200, 150});
    auto* next = add<TEdit>({10, 170, 150, 21});
    show();
    memo->SetFocus();
    type(u"a");
    press(VK_RETURN);
    type(u"b");
    EXPECT_EQ(memo->Text(), "a\r\nb");
    press(VK_TAB);
    EXPECT_TRUE(next->Focused());

    memo->SetFocus();
    memo->SetWantReturns(false);
    memo->SetWantTabs(true);
    press(VK_END, {VK_CONTROL});
    press(VK_RETURN);
    EXPECT_EQ(memo->Text(), "a\r\nb");
    press(VK_TAB);
    EXPECT_TRUE(memo->Focused());
    EXPECT_EQ(memo->Text(), "a\r\nb\t");
    // Ctrl+Enter still breaks the line.
    press(VK_RETURN, {VK_CONTROL});
    EXPECT_EQ(memo->Text(), "a\r\nb\t\r\n");
}

TEST_F(EditCtrlsTest, TabMovesTheFocusInTabOrderAndEnteringAnEditSelectsItsText) {
    auto* first = add<TEdit>({10, 10, 150, 21});
    auto* second = add<TEdit>({10, 40, 150, 21});
    auto* memo = add<TMemo>({10, 70, 150, 80});
    first->SetText("first");
    second->SetText("second");
    memo->SetText("memo");
    second->SetTabOrder(0);
    show();
    EXPECT_TRUE(second->Focused());
    EXPECT_EQ(second->SelLength(), 6);
    press(VK_TAB);
    EXPECT_TRUE(first->Focused());
    EXPECT_EQ(first->SelText(), "first");
    press(VK_TAB);
    EXPECT_TRUE(memo->Focused());
    EXPECT_EQ(memo->SelLength(), 0);
    press(VK_TAB, {VK_SHIFT});
    EXPECT_TRUE(first->Focused());
    first->SetAutoSelect(false);
    first->SetSelStart(2);
    press(VK_TAB);
    press(VK_TAB, {VK_SHIFT});
    EXPECT_TRUE(first->Focused());
    EXPECT_EQ(first->SelLength(), 0);
    // A click places the caret instead.
    backend.Click(second->Handle(), {2, 5});
    Application->ProcessMessages();
    EXPECT_TRUE(second->Focused());
    EXPECT_EQ(second->SelStart(), 0);
    EXPECT_EQ(second->SelLength(), 0);
}

TEST_F(EditCtrlsTest, EditsAreReadFromAndWrittenToFormResources) {
    TForm read(nullptr);
    ReadComponentText("object Main: TForm\n"
                      "  Left = 0\n  Top = 0\n  Width = 300\n  Height = 200\n"
                      "  object Name: TEdit\n"
                      "    Left = 8\n    Top = 8\n    Width = 120\n    Height = 21\n"
                      "    CharCase = ecUpperCase\n    MaxLength = 10\n    PasswordChar = '*'\n"
                      "    ReadOnly = True\n    Text = 'abc'\n"
                      "  end\n"
                      "  object Notes: TMemo\n"
                      "    Left = 8\n    Top = 40\n    Width = 200\n    Height = 80\n"
                      "    Alignment = taCenter\n"
                      "    Lines.Strings = (\n      'first'\n      'second')\n"
                      "    ScrollBars = ssVertical\n    WantTabs = True\n    WordWrap = False\n"
                      "  end\n"
                      "  object Date: TMaskEdit\n"
                      "    Left = 8\n    Top = 130\n    Width = 80\n    Height = 21\n"
                      "    EditMask = '!99/99/00;1;_'\n    Text = '01/02/03'\n"
                      "  end\n"
                      "end\n",
                      &read);
    auto* name = static_cast<TEdit*>(read.FindComponent("Name"));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->CharCase(), ecUpperCase);
    EXPECT_EQ(name->MaxLength(), 10);
    EXPECT_EQ(name->PasswordChar(), '*');
    EXPECT_TRUE(name->ReadOnly());
    EXPECT_EQ(name->Text(), "abc");
    // The window converts the case.
    name->HandleNeeded();
    EXPECT_EQ(name->Text(), "ABC");
    auto* notes = static_cast<TMemo*>(read.FindComponent("Notes"));
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(linesOf(notes->Lines()), (Lines{"first", "second"}));
    EXPECT_EQ(notes->Alignment(), taCenter);
    EXPECT_EQ(notes->ScrollBars(), ssVertical);
    EXPECT_TRUE(notes->WantTabs());
    EXPECT_FALSE(notes->WordWrap());
    auto* date = static_cast<TMaskEdit*>(read.FindComponent("Date"));
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(date->EditMask(), "!99/99/00;1;_");
    EXPECT_EQ(date->EditText(), "01/02/03");

    TForm root(nullptr);
    auto* plain = child<TEdit>(&root, alNone, {0, 0, 121, 21});
    plain->SetName("Plain");
    auto* memo = child<TMemo>(&root, alNone, {0, 30, 185, 89});
    memo->SetName("Memo");
    memo->Lines()->Add("kept");
    AnsiString written = WriteComponentText(&root);
    for (const char* absent : {"TabStop", "AutoSelect", "BorderStyle", "CharCase", "WordWrap", "WantReturns"})
        EXPECT_EQ(written.find(absent), AnsiString::npos) << absent;
    EXPECT_NE(written.find("Text = 'Plain'"), AnsiString::npos);
    EXPECT_NE(written.find("'kept'"), AnsiString::npos);
    EXPECT_EQ(written.find("Text = 'kept"), AnsiString::npos);
}

TEST_F(EditCtrlsTest, RendersAFormOfEditsToAPicture) {
    form->SetColor(clBtnFace);
    form->SetBounds(10, 10, 320, 230);
    auto* plain = add<TEdit>({10, 10, 300, 21});
    plain->SetText("An edit with the focus");
    auto* password = add<TEdit>({10, 40, 300, 21});
    password->SetPasswordChar('*');
    password->SetText("secret");
    auto* readOnly = add<TEdit>({10, 70, 300, 21});
    readOnly->SetReadOnly(true);
    readOnly->SetColor(clBtnFace);
    readOnly->SetText("A read-only edit");
    auto* memo = add<TMemo>({10, 100, 300, 90});
    memo->SetScrollBars(ssVertical);
    memo->Lines()->Add("A memo wraps its lines at the right edge, word by word, as this one does.");
    memo->Lines()->Add("Second line");
    memo->Lines()->Add("Third line");
    auto* mask = add<TMaskEdit>({10, 200, 120, 21});
    mask->SetText("12/34/56");
    show();
    plain->SetFocus();
    plain->SetSelStart(3);
    plain->SetSelLength(4);
    Application->ProcessMessages();
    const std::filesystem::path path = std::filesystem::path(ProgramFolder()).parent_path() / "vcl-edits.png";
    ASSERT_TRUE(backend.SavePng(form->Handle(), path.string()));
    EXPECT_GT(std::filesystem::file_size(path), 1000u);
}

} // namespace
