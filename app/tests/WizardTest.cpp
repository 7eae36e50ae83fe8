#include "WizardFixture.h"

#include "app/WizardDefinitions.h"
#include "components/ColorPickerButton.h"
#include "editor/SynEdit.h"
#include "gl/glGrBox.h"
#include "platform/core/Classes.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/RichEdits.h"
#include "platform/vcl/ToolBars.h"
#include "rx/RXSpin.h"
#include "rx/ToolEdit.h"
#include "unicode/TntComCtrls.h"
#include "unicode/TntExtCtrls.h"
#include "unicode/TntStdCtrls.h"

#include <algorithm>
#include <map>

namespace {

const std::string expectedPages = QUORVANE_EXPECTED_PAGES_DIR "/";

// The values the expected "-changed" pages hold (make_pages.py).
AnsiString changedText(Integer Row) {
    return "Text " + std::to_string(Row) + ": caf\xe9 \x80 & <b>";
}
TColor pickedColour(Integer Row) {
    return static_cast<TColor>((0xA0 + Row) << 16 | 0x20 << 8 | 16 * Row);
}
AnsiString pastedColour(Integer Row) {
    return "#ABCD0" + std::to_string(Row);
}
const char* const chosenPicture = "chosen picture.gif";

class WizardTest : public WizardFixture {
protected:
    std::string pictures = scratch / "pictures/";

    void SetUp() override {
        WizardFixture::SetUp();
        WriteFile(pictures + chosenPicture, "GIF89a chosen");
    }

    AnsiString head() const { return form->HeadEdit->Text(); }

    // File row Row's button pressed and Path chosen in its dialog.
    void chooseFile(Integer Row, const std::string& Path) {
        backend.AnswerFileDialog({AnsiToWide(Path)});
        control<TFilenameEdit>("WFilenameEdit", Row)->Button()->Click();
    }
    // The colour edit's text selected, the clipboard holding Text, the edit's button pressed.
    void pasteColour(Integer Row, const AnsiString& Text) {
        auto* edit = control<TComboEdit>("WColorEdit", Row);
        edit->SelectAll();
        Clipboard()->SetAsText(Text);
        edit->Button()->Click();
    }
    void changeValue(const TWizardDefinition& Definition) {
        const Integer row = Definition.Row;
        switch (Definition.Kind) {
        case TWizardKind::Text:
            control<TTntEdit>("WTextEdit", row)->SetText(AnsiToWide(changedText(row)));
            break;
        case TWizardKind::Colour:
            if (row % 2)
                control<TColorPickerButton>("WColorBtn", row)->SetSelectionColor(pickedColour(row));
            else
                pasteColour(row, pastedColour(row));
            break;
        case TWizardKind::Number:
            control<TRxSpinEdit>("WIntEdit", row)->SetText(IntToStr(40 + row));
            break;
        case TWizardKind::File:
            if (row == 1) chooseFile(row, pictures + chosenPicture);
            break;
        }
    }
    void changeEveryValue() {
        for (Integer i = 0; i < form->WizardLines->Count(); ++i)
            if (std::optional<TWizardDefinition> definition = ParseWizardLine((*form->WizardLines)[i]))
                changeValue(*definition);
    }

    std::vector<TControl*> shownRows() const {
        std::vector<TControl*> shown;
        for (const char* panel : {"WizColorPanel", "WizEditPanel", "WizIntPanel", "WizFilePanel"})
            for (Integer row = 1; row <= 7; ++row)
                if (auto* control = static_cast<TControl*>(form->WizardControl(panel, row));
                    control && control->Visible())
                    shown.push_back(control);
        return shown;
    }
};

TEST_F(WizardTest, EveryDemoScriptTakesItsDefaultsAndTheValuesAppliedAndExportsThem) {
    std::vector<AnsiString> exported;
    forEachDemoScript([&](const AnsiString& id) {
        SCOPED_TRACE("script " + id);
        exported.push_back(id);
        const std::string number = Format("%.2d", {StrToInt(id)});
        EXPECT_EQ(page(), ReadFile(expectedPages + number + ".htm"));

        form->WizGroupBox->Collapse(false);
        changeEveryValue();
        applyButton()->Click();
        const std::string changed = ReadFile(expectedPages + number + "-changed.htm");
        EXPECT_EQ(page(), changed);
        applyButton()->Click();
        EXPECT_EQ(page(), changed);
        form->HeadEdit->SetText("edited by hand");
        form->WizGroupBox->Collapse(true);
        EXPECT_EQ(page(), changed);

        const std::string folder = scratch / ("export" + number + "/");
        ForceDirectories(folder);
        backend.AnswerFileDialog({AnsiToWide(folder + "page.htm")});
        boxes.clear();
        form->MenuExport1Click(form->ExportButton);
        EXPECT_EQ(ReadFile(folder + "page.htm"), changed);
        EXPECT_EQ(WideToAnsi(backend.OpenedUrls().back()), folder + "page.htm");
        if (!Exists(tempDir + AttachedListFile)) {
            EXPECT_TRUE(boxes.empty());
            return;
        }
        TStringList listed;
        listed.LoadFromFile(tempDir + AttachedListFile);
        for (Integer i = 0; i < listed.Count(); ++i) {
            EXPECT_FALSE(ReadFile(tempDir + listed[i]).empty()) << listed[i];
            EXPECT_EQ(ReadFile(folder + listed[i]), ReadFile(tempDir + listed[i])) << listed[i];
        }
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, u"Export");
        EXPECT_EQ(WideToAnsi(boxes[0].text),
                  "Following files: \n\n" + listed.Text() + "\n\nalso exported in: \n\n" + folder);
    });
    EXPECT_EQ(exported.size(), 30u);
}

TEST_F(WizardTest, OnlyTheScriptsRowsShowInNumberOrderInTheirContainers) {
    showScript("#Int_2#5|b\r\n#Text3#x|c\r\n#Color2#FFFFFF|d\r\n#File1#a.gif$*.gif%e\r\n#Color1#000000|f\r\n"
               "#Text1#y|g\r\n#Int_1#3|h",
               "");
    form->WizGroupBox->Collapse(false);
    HeadlessBackend::ProcessMessages();
    const std::vector<AnsiString> expected = {"WizColorPanel1", "WizColorPanel2", "WizEditPanel1",
                                              "WizEditPanel3",  "WizIntPanel1",   "WizIntPanel2",
                                              "WizFilePanel1"};
    std::vector<AnsiString> shown;
    Integer previousBottom = -1;
    for (TControl* row : shownRows()) {
        shown.push_back(row->Name());
        const TRect bounds = row->BoundsRect();
        const TPoint top = row->Parent()->ClientToScreen(TPoint{bounds.Left, bounds.Top});
        EXPECT_GE(top.y, previousBottom) << row->Name();
        EXPECT_GT(bounds.Height(), 0) << row->Name();
        previousBottom = top.y + bounds.Height();
    }
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(WideToAnsi(control<TTntLabel>("WTextLabel", 3)->Caption()), "c");
    EXPECT_EQ(control<TFilenameEdit>("WFilenameEdit", 1)->Filter(), "*.gif");
    EXPECT_EQ(form->Width(), 1000);

    showScript("", "#Text1# stays");
    EXPECT_TRUE(shownRows().empty());
    EXPECT_EQ(head(), "#Text1# stays");
    // The pickers of rows never used hold clBtnFace, read as the text of 0x8000000F.
    for (Integer row = 3; row <= 7; ++row)
        EXPECT_EQ(control<TComboEdit>("WColorEdit", row)->Text(), "#000080") << row;
}

// The rows of every demo script, met after all the scripts before it, the
// wizard open as a user keeps it: top to bottom in container and number order.
TEST_F(WizardTest, EveryDemoScriptsRowsShowInOrderWhateverWasShownBefore) {
    form->WizGroupBox->Collapse(false);
    forEachDemoScript([&](const AnsiString& id) {
        HeadlessBackend::ProcessMessages();
        std::vector<AnsiString> expected;
        std::vector<std::pair<Integer, AnsiString>> onScreen;
        for (TControl* row : shownRows()) {
            expected.push_back(row->Name());
            const TPoint top = row->Parent()->ClientToScreen(TPoint{row->Left(), row->Top()});
            onScreen.emplace_back(top.y, row->Name());
        }
        std::stable_sort(onScreen.begin(), onScreen.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<AnsiString> shown;
        for (const auto& [top, name] : onScreen)
            shown.push_back(name);
        EXPECT_EQ(shown, expected) << "script " << id;
    });
}

TEST_F(WizardTest, DefinitionLinesSubstituteInOrderAndOddLinesAreTolerated) {
    const struct {
        const char* wizard;
        const char* head;
        const char* expected;
    } cases[] = {
        {"#Text1#first|One\r\n#Text1#second|Two", "#Text1# and #Text1# and #Text1#",
         "first and second and #Text1#"},
        {"#Color1#FF0000|c", "color: #Color1; border: #Color1;", "color: #FF0000; border: #Color1;"},
        {"#Text1##top|Address", "href=\"#Text1#\"", "href=\"#top\""},
        {"#Text1#no bar\r\n#Int_1#\r\n#File1#name.gif", "[#Text1#][#Int_1#][#File1#]", "[][][]"},
        {"#Text9#x|y\r\n#Tex\r\n\r\n#text1#x|y\r\n#Int_7#1|n", "#Text1#", "#Text1#"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.wizard);
        showScript(c.wizard, c.head, "#Text1#", "<p>#Color1</p>");
        EXPECT_EQ(head(), c.expected);
    }
    showScript("#Text1#first|One\r\n#Text1#second|Two", "#Text1# and #Text1#", "#Text1#", "#Text1#");
    EXPECT_EQ(form->Body_Edit->Text(), "first");
    EXPECT_EQ(form->BodyEdit->Text(), "first");
    EXPECT_EQ(WideToAnsi(control<TTntEdit>("WTextEdit", 1)->Text()), "second");
    EXPECT_EQ(WideToAnsi(control<TTntLabel>("WTextLabel", 1)->Caption()), "Two");
    control<TTntEdit>("WTextEdit", 1)->SetText(u"X");
    form->WizardPrevAction(applyButton());
    EXPECT_EQ(head(), "X and X");
    EXPECT_EQ(form->TmpHeadEdit->Text(), "#Text1# and #Text1#");

    showScript("#Text1#no bar", "");
    EXPECT_EQ(WideToAnsi(control<TTntLabel>("WTextLabel", 1)->Caption()), "#Text1#no bar");
}

TEST_F(WizardTest, EveryByteOfATextSurvivesTheEditAndLineBreaksCountTwice) {
    AnsiString bytes;
    for (int byte = 0x20; byte <= 0xFF; ++byte)
        if (byte != '|') bytes += static_cast<char>(byte);
    showScript("#Text1#" + bytes + "|all", "a\r\nb\r\n<#Text1#>\r\nc");
    EXPECT_EQ(head(), "a\r\nb\r\n<" + bytes + ">\r\nc");
    form->WizardPrevAction(applyButton());
    EXPECT_EQ(head(), "a\r\nb\r\n<" + bytes + ">\r\nc");
}

TEST_F(WizardTest, APickedColourGoesToItsOwnEditOnly) {
    showScript("#Color3#000000|c\r\n#Color4#000000|d", "");
    control<TColorPickerButton>("WColorBtn", 3)->SetSelectionColor(clRed);
    EXPECT_EQ(control<TComboEdit>("WColorEdit", 3)->Text(), "#FF0000");
    EXPECT_EQ(control<TComboEdit>("WColorEdit", 4)->Text(), "#000000");
    // The wizard's start resets every picker to the button face; the first
    // one was made with that colour already, so its edit keeps the form's text.
    EXPECT_EQ(control<TComboEdit>("WColorEdit", 1)->Text(), "....");
    for (Integer row : {2, 5, 6, 7})
        EXPECT_EQ(control<TComboEdit>("WColorEdit", row)->Text(), "#000080") << row;
    // A paste lands at the caret, nothing selected first.
    auto* edit = control<TComboEdit>("WColorEdit", 4);
    edit->SetSelStart(0);
    edit->SetSelLength(0);
    Clipboard()->SetAsText("#1");
    edit->Button()->Click();
    EXPECT_EQ(edit->Text(), "#1#000000");
}

TEST_F(WizardTest, FileRowOneCopiesTheChosenFileAndListsItOnce) {
    showScript("#File1#a.gif$*.gif%Picture", "<img src=\"#File1#\">");
    EXPECT_EQ(attachedList(), "a.gif\r\n");
    WriteFile(pictures + "b.gif", "GIF b");
    WriteFile(tempDir + "a.gif", "copy of a");

    chooseFile(1, pictures + "b.gif");
    EXPECT_EQ(control<TFilenameEdit>("WFilenameEdit", 1)->Text(), "b.gif");
    EXPECT_EQ(ReadFile(tempDir + "b.gif"), "GIF b");
    EXPECT_FALSE(Exists(tempDir + "a.gif"));
    EXPECT_EQ(attachedList(), "b.gif\r\n");

    // The same file again: the copy stays, listed once.
    chooseFile(1, pictures + "b.gif");
    EXPECT_EQ(ReadFile(tempDir + "b.gif"), "GIF b");
    EXPECT_EQ(attachedList(), "b.gif\r\n");

    // A name with blanks is shown and listed whole, copied from where the dialog found it.
    SetCurrentDir(scratch.Path());
    chooseFile(1, pictures + chosenPicture);
    EXPECT_EQ(control<TFilenameEdit>("WFilenameEdit", 1)->Text(), chosenPicture);
    EXPECT_EQ(ReadFile(tempDir + chosenPicture), "GIF89a chosen");
    EXPECT_FALSE(Exists(tempDir + "b.gif"));
    EXPECT_EQ(attachedList(), std::string(chosenPicture) + "\r\n");

    form->WizardPrevAction(applyButton());
    EXPECT_EQ(head(), "<img src=\"chosen picture.gif\">");
}

TEST_F(WizardTest, AFileRowOneDefaultWithBlanksIsKeptWhole) {
    showScript("#File1#my pic.gif$*.gif%Picture", "<img src=\"#File1#\">");
    EXPECT_EQ(control<TFilenameEdit>("WFilenameEdit", 1)->Text(), "my pic.gif");
    EXPECT_EQ(head(), "<img src=\"my pic.gif\">");
    EXPECT_EQ(attachedList(), "my pic.gif\r\n");
    form->WizardPrevAction(applyButton());
    EXPECT_EQ(head(), "<img src=\"my pic.gif\">");
}

TEST_F(WizardTest, OtherFileRowsSubstituteTheNameOnly) {
    showScript("#File2#a.gif$*.gif%Picture", "<img src=\"#File2#\">");
    EXPECT_FALSE(Exists(tempDir + AttachedListFile));
    WriteFile(pictures + "b.gif", "GIF b");
    chooseFile(2, pictures + "b.gif");
    form->WizardPrevAction(applyButton());
    EXPECT_EQ(head(), "<img src=\"" + pictures + "b.gif\">");
    EXPECT_FALSE(Exists(tempDir + "b.gif"));
    EXPECT_FALSE(Exists(tempDir + AttachedListFile));
}

TEST_F(WizardTest, AStaleOldNameDeletesNothingOutsideTheTemporaryFolder) {
    const std::string canary = scratch / "canary.gif";
    WriteFile(canary, "keep me");
    showScript("#File1#a.gif$*.gif%Picture", "");
    form->WOldFileName = "../canary.gif";
    WriteFile(pictures + "b.gif", "GIF b");
    backend.AnswerFileDialog({AnsiToWide(pictures + "b.gif")});
    // The dialog alone, as if the button's press had not been seen.
    auto* edit = control<TFilenameEdit>("WFilenameEdit", 1);
    ASSERT_TRUE(edit->Dialog()->Execute());
    edit->SetText(edit->Dialog()->FileName());
    EXPECT_EQ(ReadFile(canary), "keep me");
    EXPECT_EQ(attachedList(), "a.gif\r\nb.gif\r\n");
}

TEST_F(WizardTest, ThePreviewButtonAppliesWhileTheWizardPageIsShown) {
    showScript("#Text1#default|t", "#Text1#");
    control<TTntEdit>("WTextEdit", 1)->SetText(u"typed");
    form->MenuPreviewClick(form->PreviewButton);
    EXPECT_EQ(head(), "default");
    form->SourcePageControl->SetActivePageIndex(2);
    form->SourcePageControlChange(form->SourcePageControl);
    EXPECT_TRUE(form->WizardTabShown);
    form->MenuPreviewClick(form->PreviewButton);
    EXPECT_EQ(head(), "typed");
    form->SourcePageControl->SetActivePageIndex(0);
    form->SourcePageControlChange(form->SourcePageControl);
    EXPECT_FALSE(form->WizardTabShown);
}

} // namespace
