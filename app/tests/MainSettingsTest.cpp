#include "MainFormFixture.h"

#include "app/TempFiles.h"
#include "editor/SynEdit.h"
#include "highlighters/SynHighlighterHtml.h"
#include "highlighters/SynHighlighterJScript.h"
#include "platform/core/CodePages.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/FileCtrl.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/RichEdits.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/ToolBars.h"
#include "platform/vcl/WebBrowser.h"
#include "rx/RxCombos.h"
#include "rx/ToolEdit.h"
#include "unicode/TntComCtrls.h"
#include "unicode/TntExtCtrls.h"
#include "unicode/TntMenus.h"
#include "unicode/TntStdCtrls.h"

#include <filesystem>

namespace {

using Values = std::map<std::string, std::string>;

class MainSettingsTest : public MainFormFixture {
protected:
    std::vector<TSynEdit*> editors() const {
        return {form->SummaryEdit, form->SettEdit, form->HeadEdit, form->BodyEdit, form->Body_Edit};
    }
    void chooseColor(TColorComboBox* Box, TColor Color) {
        Box->SetFocus();
        Box->SetColorValue(Color);
        HeadlessBackend::ProcessMessages();
    }
};

// Colours are written as the signed decimal of their value.
TEST_F(MainSettingsTest, EachColourBoxWritesItsOwnKeysAndRecolours) {
    show();
    form->SettButtonClick(form->SettButton);
    const TColor red = 0x0000FF;
    const TColor info = clInfoBk;
    struct Case {
        const char* name;
        TColorComboBox* box;
        TColor color;
        Values written;
        std::vector<TSynHighlighterAttributes*> attributes;
    };
    const Case cases[] = {
        {"Event", form->EventColorComboBox, clNavy, {{"Color.Event", "8388608"}}, {form->JScriptSyn->EventAttri()}},
        {"Identifier",
         form->IdentColorComboBox,
         red,
         {{"Color.Identifier", "255"}, {"Color.Identifier_H", "255"}},
         {form->JScriptSyn->IdentifierAttri(), form->SynHTMLSyn->IdentifierAttri()}},
        {"Key", form->KeyColorComboBox, clPurple, {{"Color.Key", "8388736"}},
         {form->JScriptSyn->KeyAttri(), form->SynHTMLSyn->KeyAttri()}},
        {"NonReserved", form->NonResColorComboBox, clTeal, {{"Color.NonReserved", "8421376"}},
         {form->JScriptSyn->NonReservedKeyAttri()}},
        {"Number", form->NumberColorComboBox, clMaroon, {{"Color.Number", "128"}}, {form->JScriptSyn->NumberAttri()}},
        {"String", form->StringColorComboBox, clOlive, {{"Color.String", "32896"}}, {form->JScriptSyn->StringAttri()}},
        {"Symbol", form->SymbolColorComboBox, clFuchsia, {{"Color.Symbol", "16711935"}},
         {form->JScriptSyn->SymbolAttri(), form->SynHTMLSyn->SymbolAttri()}},
        {"Back", form->BackColorComboBox, info, {{"Color.Back", "-2147483624"}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Values before = settingsFile();
        chooseColor(c.box, c.color);
        EXPECT_EQ(changedSince(before), c.written);
        for (TSynHighlighterAttributes* attribute : c.attributes)
            EXPECT_EQ(attribute->Foreground(), c.color);
    }
    for (TSynEdit* editor : editors())
        EXPECT_EQ(editor->Color(), info) << editor->Name();

    restart();
    EXPECT_EQ(form->BackColorComboBox->ColorValue(), info);
    EXPECT_EQ(form->Body_Edit->Color(), info);
    EXPECT_EQ(form->SynHTMLSyn->IdentifierAttri()->Foreground(), red);
}

TEST_F(MainSettingsTest, AColourBoxChangedWhileAnotherControlHasTheFocusWritesNothing) {
    show();
    form->SettButtonClick(form->SettButton);
    form->LangListBox->SetFocus();
    const TColor before = form->JScriptSyn->EventAttri()->Foreground();
    const Values settings = settingsFile();
    form->EventColorComboBox->SetColorValue(clNavy);
    HeadlessBackend::ProcessMessages();
    EXPECT_EQ(settingsFile(), settings);
    EXPECT_EQ(form->JScriptSyn->EventAttri()->Foreground(), before);
}

// Check-style buttons, pressed on the tool bar: each press turns the button over once.
TEST_F(MainSettingsTest, TheHighlightButtonSwitchesTheFourEditorsAndLeavesBodyEditAlone) {
    show("[Form]\nTop=0\nLeft=0\nWidth=1000\nHeight=740\nHighlight=0\n");
    form->MenuSource1Click(form->SourceButton);
    ASSERT_FALSE(form->HigLightBtn->Down());
    const std::vector<TSynEdit*> switched = {form->HeadEdit, form->BodyEdit, form->SettEdit, form->SummaryEdit};
    const struct {
        bool javaScript;
        const char* written;
        Integer image;
    } presses[] = {{true, "1", JavaScriptImage}, {false, "0", HtmlImage}};
    for (const auto& press : presses) {
        SCOPED_TRACE(press.written);
        const Values before = settingsFile();
        click(form->HigLightBtn);
        EXPECT_EQ(changedSince(before), (Values{{"Form.Highlight", press.written}}));
        EXPECT_EQ(form->HigLightBtn->Down(), press.javaScript);
        EXPECT_EQ(form->HigLightBtn->ImageIndex(), press.image);
        TSynCustomHighlighter* expected = press.javaScript ? static_cast<TSynCustomHighlighter*>(form->JScriptSyn)
                                                           : form->SynHTMLSyn;
        for (TSynEdit* editor : switched)
            EXPECT_EQ(editor->Highlighter(), expected) << editor->Name();
        EXPECT_EQ(form->Body_Edit->Highlighter(), nullptr);
    }
}

TEST_F(MainSettingsTest, TheWrapButtonWrapsAllFiveEditors) {
    show();
    form->MenuSource1Click(form->SourceButton);
    ASSERT_TRUE(form->WrapButton->Down());
    const struct {
        bool wrap;
        const char* written;
        Integer image;
    } presses[] = {{false, "0", WrapOffImage}, {true, "1", WrapOnImage}};
    for (const auto& press : presses) {
        SCOPED_TRACE(press.written);
        const Values before = settingsFile();
        click(form->WrapButton);
        EXPECT_EQ(changedSince(before), (Values{{"Form.Wrap", press.written}}));
        EXPECT_EQ(Wrap, press.wrap);
        EXPECT_EQ(form->WrapButton->Down(), press.wrap);
        EXPECT_EQ(form->WrapButton->ImageIndex(), press.image);
        for (TSynEdit* editor : editors())
            EXPECT_EQ(editor->WordWrap(), press.wrap) << editor->Name();
    }
}

TEST_F(MainSettingsTest, TheShowExportBoxKeepsTheChoiceButStartUpWritesNothing) {
    show();
    EXPECT_EQ(settingsFile().count("Form.ShowExport"), 0u);
    form->SettButtonClick(form->SettButton);
    click(form->ShowExportCheckBox);
    EXPECT_FALSE(form->ShowExportCheckBox->Checked());
    EXPECT_FALSE(ShowExport);
    EXPECT_EQ(settingsFile()["Form.ShowExport"], "0");
    restart();
    EXPECT_FALSE(form->ShowExportCheckBox->Checked());
}

// The strip's text boxes go and come back by the button or the menu; the
// window starts again the way it was left.
TEST_F(MainSettingsTest, TheInformationStripTogglesAndStartsAsItWasLeft) {
    show();
    const Integer shownHeight = form->Panel3->Height();
    ASSERT_TRUE(form->MenuInfoPanel->Checked());

    Values before = settingsFile();
    click(form->InfoButton);
    EXPECT_EQ(changedSince(before), (Values{{"Form.InfoPanel", "0"}}));
    EXPECT_EQ(form->Panel3->Height(), shownHeight + InfoStripGrowth);
    EXPECT_FALSE(form->MenuInfoPanel->Checked());
    EXPECT_FALSE(form->InfoButton->Down());
    EXPECT_FALSE(form->InfoEdit->Visible());
    EXPECT_FALSE(form->RemarksEdit->Visible());
    EXPECT_FALSE(form->FilesMemo->Visible());

    restart();
    EXPECT_EQ(form->Panel3->Height(), shownHeight + InfoStripGrowth);
    EXPECT_FALSE(form->MenuInfoPanel->Checked());
    EXPECT_FALSE(form->InfoButton->Down());

    before = settingsFile();
    form->MenuInfoPanel->Click();
    EXPECT_EQ(changedSince(before), (Values{{"Form.InfoPanel", "1"}}));
    EXPECT_EQ(form->Panel3->Height(), shownHeight);
    EXPECT_TRUE(form->InfoButton->Down());
    EXPECT_TRUE(form->InfoEdit->Visible());
    EXPECT_TRUE(form->FilesMemo->Visible());
}

// A program named with arguments keeps only the program: the edit's change
// runs again, nested, and finds its text as it is.
TEST_F(MainSettingsTest, ABrowserProgramKeepsOnlyItsFileName) {
    const std::string program = scratch / "browser";
    WriteFile(program, "#!/bin/sh\n");
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    show();
    const struct {
        const char* name;
        TFilenameEdit* edit;
        const char* key;
    } edits[] = {{"Opera", form->OperaEdit, "Path.Opera"}, {"FireFox", form->FireFoxEdit, "Path.FireFox"}};
    for (const auto& e : edits) {
        SCOPED_TRACE(e.name);
        const Values before = settingsFile();
        e.edit->SetText("\"" + program + "\" --new-window");
        EXPECT_EQ(e.edit->Text(), program);
        EXPECT_EQ(changedSince(before), (Values{{e.key, program}}));
    }
}

// The page goes to the default browser through the desktop; the two
// programs get it as their argument, quoted when its folder has a blank.
TEST_F(MainSettingsTest, TheBrowserButtonsHandThePageOn) {
    const std::string folder = scratch / "with blank";
    std::filesystem::create_directories(folder);
    setenv("TMPDIR", folder.c_str(), 1);
    const std::string opera = scratch / "opera";
    const std::string firefox = scratch / "firefox";
    for (const std::string& program : {opera, firefox}) {
        WriteFile(program, "#!/bin/sh\n");
        std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    }
    show("[Form]\nTop=0\nLeft=0\nWidth=1000\nHeight=740\n[Path]\nOpera=" + opera + "\nFireFox=" + firefox + "\n");
    const std::string page = TempDir + PreviewPageFile;
    ASSERT_NE(page.find(' '), std::string::npos);
    backend.RecordProgramStarts(true);

    const std::size_t openedBefore = backend.OpenedUrls().size();
    click(form->ViewDefBrowBtn);
    ASSERT_EQ(backend.OpenedUrls().size(), openedBefore + 1);
    EXPECT_EQ(WideToAnsi(backend.OpenedUrls().back()), page);

    click(form->OperaBtn);
    click(form->FireFoxBtn);
    const std::vector<ShellProgramStart> started = backend.StartedPrograms();
    ASSERT_EQ(started.size(), 2u);
    const std::string programs[] = {opera, firefox};
    for (std::size_t i = 0; i < started.size(); ++i) {
        SCOPED_TRACE(programs[i]);
        EXPECT_EQ(started[i].Verb, u"");
        EXPECT_EQ(WideToAnsi(started[i].File), programs[i]);
        EXPECT_EQ(WideToAnsi(started[i].Parameters), "\"" + page + "\"");
        EXPECT_EQ(started[i].ShowCommand, SW_SHOWNORMAL);
    }
    backend.RecordProgramStarts(false);
}

TEST_F(MainSettingsTest, TheBrowserReportsReachTheWindow) {
    show();
    const std::string page = scratch / "titled.htm";
    WriteFile(page, "<html><head><title>A titled page</title></head><body></body></html>");
    form->CppWebBrowser1->Navigate(AnsiToWide(page));
    Application->ProcessMessages();
    EXPECT_EQ(form->CaptionPanel->Caption(), u"A titled page");
    EXPECT_TRUE(form->StatusProgress->Visible());
    EXPECT_EQ(form->StatusProgress->Position(), form->StatusProgress->Max());

    form->CppWebBrowser1->OnStatusTextChange(form->CppWebBrowser1, u"Fertig \u2713");
    EXPECT_EQ(form->BrowsStatusBar->SimpleText(), u"Fertig \u2713");

    // What a browser reports before it knows the size: the bar takes it in its range.
    form->CppWebBrowser1->OnProgressChange(form->CppWebBrowser1, -1, 0);
    EXPECT_TRUE(form->StatusProgress->Visible());
    EXPECT_GE(form->StatusProgress->Position(), form->StatusProgress->Min());
}

} // namespace
