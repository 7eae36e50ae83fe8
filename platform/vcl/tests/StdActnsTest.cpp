// The standard actions: the edit actions on the focused edit, a file dialog
// action answered by the headless backend, and searching and replacing in an edit.
#include "VisualTestSupport.h"

#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/StdActns.h"
#include "platform/win/DialogKeys.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"

namespace {

class StdActnsTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(300, 120);
    TEdit* edit = nullptr;
    TEdit* other = nullptr;

    void SetUp() override {
        VisualTest::SetUp();
        edit = child<TEdit>(form.get(), alNone, {10, 10, 200, 32});
        other = child<TEdit>(form.get(), alNone, {10, 50, 200, 72});
        form->Show();
        Application->ProcessMessages();
        edit->SetText("hello world");
        edit->SetFocus();
        Application->ProcessMessages();
    }

    template <typename Action> std::unique_ptr<Action> action() { return std::make_unique<Action>(nullptr); }
};

TEST_F(StdActnsTest, EditActionsWorkOnTheFocusedEdit) {
    auto cut = action<TEditCut>();
    auto copy = action<TEditCopy>();
    auto paste = action<TEditPaste>();
    auto selectAll = action<TEditSelectAll>();
    auto undo = action<TEditUndo>();
    auto erase = action<TEditDelete>();

    edit->SetSelStart(6);
    edit->SetSelLength(5);
    for (TCustomAction* each :
         std::initializer_list<TCustomAction*>{cut.get(), copy.get(), erase.get(), selectAll.get()}) {
        each->Update();
        EXPECT_TRUE(each->Enabled()) << each->ClassName();
    }
    EXPECT_TRUE(copy->Execute());
    EXPECT_EQ(Clipboard()->AsText(), "world");
    EXPECT_TRUE(cut->Execute());
    EXPECT_EQ(edit->Text(), "hello ");
    undo->Update();
    EXPECT_TRUE(undo->Enabled());
    EXPECT_TRUE(undo->Execute());
    EXPECT_EQ(edit->Text(), "hello world");
    EXPECT_TRUE(selectAll->Execute());
    EXPECT_EQ(edit->SelLength(), 11);
    EXPECT_TRUE(erase->Execute());
    EXPECT_EQ(edit->Text(), "");
    paste->Update();
    EXPECT_TRUE(paste->Enabled());
    EXPECT_TRUE(paste->Execute());
    EXPECT_EQ(edit->Text(), "world");

    copy->Update();
    EXPECT_FALSE(copy->Enabled());
    edit->SetReadOnly(true);
    edit->SelectAll();
    cut->Update();
    EXPECT_FALSE(cut->Enabled());

    // An action tied to another edit leaves the focused one alone.
    copy->SetControl(other);
    copy->Update();
    EXPECT_FALSE(copy->Enabled());
}

TEST_F(StdActnsTest, AFileOpenActionRunsItsDialog) {
    struct Log : TObject {
        std::vector<std::string> events;
        void Accepted(TObject*) { events.push_back("accepted"); }
        void Cancelled(TObject*) { events.push_back("cancelled"); }
    } log;
    auto open = action<TFileOpen>();
    open->OnAccept = TNotifyEvent(&log, &Log::Accepted);
    open->OnCancel = TNotifyEvent(&log, &Log::Cancelled);
    open->Dialog()->SetFilter("Text|*.txt");
    backend.AnswerFileDialog({u"/tmp/chosen.txt"});
    EXPECT_TRUE(open->Execute());
    EXPECT_TRUE(open->Execute());
    EXPECT_EQ(open->Dialog()->FileName(), "/tmp/chosen.txt");
    EXPECT_EQ(log.events, (std::vector<std::string>{"accepted", "cancelled"}));
}

TEST_F(StdActnsTest, SearchActionsFindAndReplaceInTheEdit) {
    edit->SetText("one two One");
    auto find = action<TSearchFind>();
    find->Update();
    EXPECT_TRUE(find->Enabled());
    find->SetControl(edit);
    find->Dialog()->SetFindText("one");
    edit->SetSelStart(0);
    EXPECT_TRUE(find->Search());
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_TRUE(find->Search());
    EXPECT_EQ(edit->SelStart(), 8);
    find->Dialog()->SetOptions({frDown, frMatchCase});
    edit->SetSelStart(0);
    EXPECT_TRUE(find->Search());
    EXPECT_FALSE(find->Search());

    auto next = action<TSearchFindNext>();
    next->SetSearchFind(find.get());
    find->Dialog()->SetOptions({frDown});
    edit->SetSelStart(1);
    EXPECT_TRUE(next->Execute());
    EXPECT_EQ(edit->SelStart(), 8);

    auto replace = action<TSearchReplace>();
    replace->SetControl(edit);
    ASSERT_TRUE(replace->Execute());
    TReplaceDialog* dialog = replace->Dialog();
    SetWindowTextA(GetDlgItem(dialog->Handle(), edt1), "one");
    SetWindowTextA(GetDlgItem(dialog->Handle(), edt2), "1");
    SendMessageW(dialog->Handle(), WM_COMMAND, MAKEWPARAM(psh2, 0), 0);
    EXPECT_EQ(edit->Text(), "1 two 1");
    dialog->CloseDialog();
}

} // namespace
