#include "WizardFixture.h"

#include "editor/SynEdit.h"
#include "platform/core/Classes.h"
#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/ToolBars.h"
#include "rx/RxMenus.h"
#include "unicode/TntComCtrls.h"

#include <filesystem>
#include <functional>

namespace {

class ExportTest : public WizardFixture {
protected:
    std::string folder = scratch / "export/";

    void SetUp() override {
        WizardFixture::SetUp();
        ForceDirectories(folder);
    }

    void showSourcePage() {
        form->PageControl1->SetActivePageIndex(1);
        form->PageControlChange(form->PageControl1);
        HeadlessBackend::ProcessMessages();
    }
    void exportTo(const std::string& Page) {
        backend.AnswerFileDialog({AnsiToWide(Page)});
        form->MenuExport1Click(form->ExportButton);
    }
    std::vector<TMenuItem*> tagItems() const {
        std::vector<TMenuItem*> items;
        std::function<void(TMenuItem*)> walk = [&](TMenuItem* Parent) {
            for (Integer i = 0; i < Parent->Count(); ++i) {
                items.push_back(Parent->Items(i));
                walk(Parent->Items(i));
            }
        };
        walk(form->RxPopupMenu1->Items());
        return items;
    }
    TMenuItem* tagItem(const AnsiString& Caption) const {
        for (TMenuItem* item : tagItems())
            if (item->Caption() == Caption) return item;
        return nullptr;
    }
};

TEST_F(ExportTest, ADoubleClickedPartGoesToTheClipboardWithItsNote) {
    const struct {
        TSynEdit* TMainForm::*editor;
        Integer sourcePage;
        const char* label;
    } cases[] = {{&TMainForm::HeadEdit, 0, " <HEAD>...</HEAD> "},
                 {&TMainForm::Body_Edit, 0, " <BODY ........ > "},
                 {&TMainForm::BodyEdit, 1, " <BODY>...</BODY> "}};
    showSourcePage();
    for (const auto& c : cases) {
        TSynEdit* editor = form.get()->*c.editor;
        SCOPED_TRACE(editor->Name());
        form->SourcePageControl->SetActivePageIndex(c.sourcePage);
        HeadlessBackend::ProcessMessages();
        editor->SetText("line one\r\nline two");
        editor->SetFocus();
        boxes.clear();
        form->CopyToClpbrd(editor);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, u"Copy text");
        EXPECT_EQ(WideToAnsi(boxes[0].text),
                  std::string("The text is copied in clipboard. Add the code to the") + c.label +
                      "section in your html-document.");
        EXPECT_EQ(Clipboard()->AsText(), "line one\r\nline two");
        EXPECT_EQ(editor->Text(), "line one\r\nline two");
        EXPECT_EQ(editor->SelLength(), 0);
        EXPECT_EQ(editor->SelStart(), 18);
        EXPECT_TRUE(form->TitleBox->Focused());
    }
}

TEST_F(ExportTest, AClipboardChangedWhileTheNoteIsOpenLeavesTheEditorAlone) {
    showSourcePage();
    form->HeadEdit->SetText("<script>a()</script>");
    form->HeadEdit->SetFocus();
    answerMessageBoxes([] { Clipboard()->SetAsText("changed meanwhile"); });
    form->CopyToClpbrd(form->HeadEdit);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(form->HeadEdit->Text(), "<script>a()</script>");
    EXPECT_EQ(Clipboard()->AsText(), "changed meanwhile");
}

TEST_F(ExportTest, AnEmptyOrUnfocusedEditorCopiesNothing) {
    showSourcePage();
    Clipboard()->SetAsText("before");
    form->HeadEdit->SetFocus();
    form->CopyToClpbrd(form->HeadEdit);
    form->BodyEdit->SetText("not focused");
    form->TitleBox->SetFocus();
    form->CopyToClpbrd(form->PopupMenu1);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(Clipboard()->AsText(), "before");
}

TEST_F(ExportTest, TheTagMenuHoldsSeventyTwoInsertingItemsCaptionedAsWritten) {
    EXPECT_EQ(form->HeadEdit->PopupMenu(), form->RxPopupMenu1);
    ASSERT_EQ(form->RxPopupMenu1->Items()->Count(), 1);
    TMenuItem* tags = form->RxPopupMenu1->Items()->Items(0);
    EXPECT_EQ(tags->Caption(), "Tags");
    std::vector<AnsiString> letters;
    for (Integer i = 0; i < tags->Count(); ++i)
        letters.push_back(tags->Items(i)->Caption());
    EXPECT_EQ(letters, (std::vector<AnsiString>{"A", "B", "C", "D", "E", "F", "H", "I"}));
    // The system's menus are made, which is when hot keys would be given.
    tags->Handle();
    for (TMenuItem* item : tagItems())
        if (item->Count() > 0) item->Handle();
    Integer inserting = 0;
    for (TMenuItem* item : tagItems()) {
        EXPECT_EQ(item->Caption().find('&'), AnsiString::npos) << item->Caption();
        if (item->OnClick) ++inserting;
    }
    EXPECT_EQ(inserting, 72);
    for (const char* parent : {"<DFN></DFN>", "<DL></DL>", "<DT></DT>", "shape=\"\"", "<HR>"}) {
        ASSERT_TRUE(tagItem(parent)) << parent;
        EXPECT_TRUE(tagItem(parent)->OnClick) << parent;
        EXPECT_GT(tagItem(parent)->Count(), 0) << parent;
    }
    for (const char* group :
         {"<A>------------->", "target---->", "<FONT></FONT>", "<H1></H>", "<IFRAME></IFRAME>"}) {
        ASSERT_TRUE(tagItem(group)) << group;
        EXPECT_FALSE(tagItem(group)->OnClick) << group;
    }
}

TEST_F(ExportTest, ATagGoesIntoTheHeadPartAtTheCaretWithABlankEachSide) {
    form->HeadEdit->SetText("<head></head>");
    form->HeadEdit->SetSelStart(6);
    tagItem("<BR>")->Click();
    EXPECT_EQ(form->HeadEdit->Text(), "<head> <BR> </head>");
    EXPECT_EQ(Clipboard()->AsText(), " <BR> ");
    form->HeadEdit->SelectAll();
    tagItem("title=\"\"")->Click();
    EXPECT_EQ(form->HeadEdit->Text(), " title=\"\" ");
    // Opening the sub-menu of a tag that has one inserts it, as a click does.
    form->HeadEdit->SetText("");
    TMenuItem* rule = tagItem("<HR>");
    EXPECT_TRUE(form->RxPopupMenu1->DispatchPopup(rule->Handle()));
    EXPECT_EQ(form->HeadEdit->Text(), " <HR> ");
}

TEST_F(ExportTest, AScriptWithoutAttachedFilesExportsThePageAloneQuietly) {
    chooseTitle(0);
    exportTo(folder + "clock.htm");
    EXPECT_EQ(ReadFile(folder + "clock.htm"), page());
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(std::filesystem::directory_iterator(folder)->path().filename(), "clock.htm");
    EXPECT_EQ(WideToAnsi(backend.OpenedUrls().back()), folder + "clock.htm");
    EXPECT_EQ(GetCurrentDir(), ProgramFolder());
}

TEST_F(ExportTest, AFileChosenInTheWizardIsExportedThoughTheScriptAttachesNone) {
    chooseTitle(0);
    ASSERT_EQ(form->AttachedFiles->Count(), 0);
    WriteFile(tempDir + "chosen.gif", "GIF");
    WriteFile(tempDir + AttachedListFile, "chosen.gif\r\n");
    exportTo(folder + "clock.htm");
    EXPECT_EQ(ReadFile(folder + "chosen.gif"), "GIF");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(WideToAnsi(boxes[0].text),
              "Following files: \n\nchosen.gif\r\n\n\nalso exported in: \n\n" + folder);
}

TEST_F(ExportTest, OnlyBareNamesAreCopiedAndOnlyIntoTheChosenFolder) {
    WriteFile(tempDir + "a.gif", "new a");
    WriteFile(tempDir + "b.gif", "b");
    WriteFile(folder + "a.gif", "old a");
    WriteFile(tempDir + AttachedListFile, "a.gif\r\n../../b.gif\r\n..\r\n\r\n/etc/passwd\r\n");
    exportTo(folder + "page.htm");
    EXPECT_EQ(ReadFile(folder + "a.gif"), "new a");
    EXPECT_EQ(ReadFile(folder + "b.gif"), "b");
    EXPECT_FALSE(Exists(scratch / "b.gif"));
    EXPECT_FALSE(Exists(folder + "passwd"));
    ASSERT_EQ(boxes.size(), 1u);
}

TEST_F(ExportTest, FailuresReachTheMessageLoopAsTheFrameworksErrors) {
    // Attached files without a list: the page is written, nothing copied.
    form->AttachedFiles->Add("\\Scripts\\Images\\tile.gif");
    backend.AnswerFileDialog({AnsiToWide(folder + "page.htm")});
    EXPECT_THROW(form->MenuExport1Click(form->ExportButton), EFOpenError);
    EXPECT_TRUE(Exists(folder + "page.htm"));
    EXPECT_EQ(GetCurrentDir(), ProgramFolder());

    // A folder no file can be created in (a file stands in its place, which
    // stops every user alike).
    WriteFile(scratch / "locked", "");
    backend.AnswerFileDialog({AnsiToWide(scratch / "locked/page.htm")});
    EXPECT_THROW(form->MenuExport1Click(form->ExportButton), EFCreateError);
    EXPECT_TRUE(boxes.empty());

    // A cancelled dialog exports nothing.
    const std::size_t opened = backend.OpenedUrls().size();
    form->MenuExport1Click(form->ExportButton);
    EXPECT_EQ(backend.OpenedUrls().size(), opened);
}

} // namespace
