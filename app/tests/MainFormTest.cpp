#include "MainFormFixture.h"

#include "editor/SynEdit.h"
#include "gl/glGrBox.h"
#include "highlighters/SynHighlighterHtml.h"
#include "highlighters/SynHighlighterJScript.h"
#include "platform/core/CodePages.h"
#include "platform/core/IniFiles.h"
#include "platform/core/SysUtils.h"
#include "platform/sqlite/tests/DatabaseWriter.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/FileCtrl.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/Registry.h"
#include "platform/vcl/RichEdits.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/ToolBars.h"
#include "platform/vcl/tests/VisualTestSupport.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/Messages.h"
#include "platform/win/SystemInfo.h"
#include "rx/RxCombos.h"
#include "rx/ToolEdit.h"
#include "unicode/TntComCtrls.h"
#include "unicode/TntExtCtrls.h"
#include "unicode/TntMenus.h"

#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

const std::string dbFixtures = QUORVANE_FIXTURES_DIR "/db/";
const std::string expectedPages = QUORVANE_EXPECTED_PAGES_DIR "/";

std::vector<AnsiString> itemsOf(TStrings* Strings) {
    std::vector<AnsiString> items;
    for (Integer i = 0; i < Strings->Count(); ++i)
        items.push_back(Strings->Strings(i));
    return items;
}

class MainFormTest : public MainFormFixture {
protected:
    TMainForm& startWith(const std::string& Database) {
        return start("[Database]\nLastDBase=" + dbFixtures + Database + "\n");
    }


    void chooseCategory(const AnsiString& Category) {
        form->TypeComboBox->SetItemIndex(form->TypeComboBox->Items()->IndexOf(Category));
        form->SelectScriptType(form->TypeComboBox);
    }
    void chooseTitle(Integer Index) {
        form->TitleBox->SetItemIndex(Index);
        form->SelectTitleBox(form->TitleBox);
    }
    std::vector<AnsiString> titles() const { return itemsOf(form->TitleBox->Items()); }
    std::vector<AnsiString> categories() const { return itemsOf(form->TypeComboBox->Items()); }
};

TEST_F(MainFormTest, WithoutASettingsFileTheDefaultsApplyAndTheDemoLibraryOpens) {
    start();
    EXPECT_EQ(form->BoundsRect(), Rect(100, 100, 900, 700));
    EXPECT_TRUE(form->WrapButton->Down());
    EXPECT_EQ(form->WrapButton->ImageIndex(), 21);
    EXPECT_TRUE(form->HigLightBtn->Down());
    EXPECT_EQ(form->HigLightBtn->ImageIndex(), 25);
    for (TSynEdit* editor : {form->HeadEdit, form->BodyEdit, form->SettEdit, form->SummaryEdit}) {
        EXPECT_EQ(editor->Highlighter(), form->JScriptSyn);
        EXPECT_TRUE(editor->WordWrap());
    }
    EXPECT_EQ(form->Body_Edit->Highlighter(), nullptr);
    EXPECT_FALSE(form->Body_Edit->WordWrap());
    EXPECT_EQ(form->Body_Edit->Color(), clWindow);
    EXPECT_EQ(form->JScriptSyn->EventAttri()->Foreground(), clRed);
    EXPECT_EQ(form->SynHTMLSyn->KeyAttri()->Foreground(), clGreen);

    EXPECT_EQ(categories(),
              (std::vector<AnsiString>{"Clocks and dates", "Colours and backgrounds", "Forms and tools",
                                       "Images", "Navigation and menus", "Text effects"}));
    EXPECT_EQ(form->TypeComboBox->Text(), "Clocks and dates");
    EXPECT_EQ(titles(), (std::vector<AnsiString>{"Digital clock", "Analog clock", "Countdown to a date",
                                                 "Today's date", "Greeting for the time of day"}));
    EXPECT_EQ(page(), ReadFile(expectedPages + "empty.htm"));
    EXPECT_FALSE(Exists(iniName));
    EXPECT_EQ(form->PageControl1->ActivePageIndex(), 0);
    EXPECT_EQ(GetCurrentDir(), ProgramFolder());
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("Software\\Marrowind\\Quorvane", false));
    EXPECT_EQ(registry.ReadString("AppDir"), ProgramFolder());
}

TEST_F(MainFormTest, SettingsAreAppliedAsTheyAreRead) {
    start("[Form]\nTop=0x20\nLeft=15\nHeight=0x258\nWidth=900\nWrap=0\nHighlight=0\n"
          "[Color]\nEvent=255\nIdentifier=clNavy\nBack=clYellow\n[Path]\nOpera=/opt/opera/opera\n");
    EXPECT_EQ(form->BoundsRect(), Rect(15, 32, 915, 632));
    EXPECT_FALSE(form->WrapButton->Down());
    EXPECT_EQ(form->WrapButton->ImageIndex(), 20);
    EXPECT_FALSE(form->HigLightBtn->Down());
    EXPECT_EQ(form->HigLightBtn->ImageIndex(), 26);
    for (TSynEdit* editor : {form->HeadEdit, form->BodyEdit, form->SettEdit, form->SummaryEdit}) {
        EXPECT_EQ(editor->Highlighter(), form->SynHTMLSyn);
        EXPECT_FALSE(editor->WordWrap());
    }
    for (TSynEdit* editor :
         {form->HeadEdit, form->BodyEdit, form->Body_Edit, form->SettEdit, form->SummaryEdit})
        EXPECT_EQ(editor->Color(), clYellow);
    EXPECT_EQ(form->JScriptSyn->EventAttri()->Foreground(), 255);
    EXPECT_EQ(form->JScriptSyn->IdentifierAttri()->Foreground(), clNavy);
    EXPECT_EQ(form->SynHTMLSyn->IdentifierAttri()->Foreground(), clNavy);
    EXPECT_EQ(form->OperaEdit->Text(), "/opt/opera/opera");
}

TEST_F(MainFormTest, WithoutTheInformationPanelTheStripGrowsAndItsBoxesStayHidden) {
    start();
    const Integer shownHeight = form->Panel3->Height();
    EXPECT_TRUE(form->InfoEdit->Visible());
    EXPECT_TRUE(form->MenuInfoPanel->Checked());
    EXPECT_TRUE(form->InfoButton->Down());
    form.reset();

    start("[Form]\nInfoPanel=0\nShowExport=0\n");
    EXPECT_EQ(form->Panel3->Height(), shownHeight + 90);
    EXPECT_FALSE(form->InfoEdit->Visible());
    EXPECT_FALSE(form->RemarksEdit->Visible());
    EXPECT_FALSE(form->FilesMemo->Visible());
    EXPECT_FALSE(form->MenuInfoPanel->Checked());
    EXPECT_FALSE(form->InfoButton->Down());
    EXPECT_FALSE(form->ShowExportCheckBox->Checked());
}

// One bad value of each kind: the window still starts, with that key's
// default, and the file stays as it was until the window closes.
TEST_F(MainFormTest, AMalformedValueStartsTheWindowWithThatKeysDefault) {
    const std::string text = "[Form]\nLeft=far\nTop=12\nWrap=yes\n[Color]\nKey=greenish\nEvent=clNavy\n";
    start(text);
    EXPECT_EQ(form->Left(), 100);
    EXPECT_EQ(form->Top(), 12);
    EXPECT_TRUE(form->WrapButton->Down());
    EXPECT_EQ(form->JScriptSyn->KeyAttri()->Foreground(), clGreen);
    EXPECT_EQ(form->KeyColorComboBox->ColorValue(), clGreen);
    EXPECT_EQ(form->JScriptSyn->EventAttri()->Foreground(), clNavy);
    EXPECT_EQ(ReadFile(iniName), text);
}

TEST_F(MainFormTest, ClosingWritesBoundsLanguageAndTheDatabaseByItsBareName) {
    startWith("case.db");
    EXPECT_EQ(categories(), (std::vector<AnsiString>{"Buttons", "effects", "Effects "}));
    form->SetBounds(40, 50, 820, 580);
    TCloseAction action = caHide;
    form->FormClose(form.get(), action);
    const TQuorvaneSettings written = ReadSettings(TIniFile(iniName));
    EXPECT_EQ(written.Left, 40);
    EXPECT_EQ(written.Top, 50);
    EXPECT_EQ(written.Width, 820);
    EXPECT_EQ(written.Height, 580);
    EXPECT_EQ(written.LangFile, "English.lng");
    EXPECT_EQ(written.LastDBase, "case.db");
    EXPECT_EQ(DBName, "case.db");
}

TEST_F(MainFormTest, EveryCategoryListsItsTitlesApostrophesIncluded) {
    startWith("apostrophe.db");
    const std::map<AnsiString, std::vector<AnsiString>> expected = {
        {"It's", {"Apostrophe s"}},
        {"It''s", {"Doubled apostrophe"}},
        {"L'art", {"French"}},
        {"Plain", {"Plain one", "Plain two"}},
        {"Rock'", {"Trailing apostrophe"}},
        {"Rock'n Roll", {"Elvis", "Chuck"}},
    };
    ASSERT_EQ(categories().size(), expected.size());
    for (const auto& [category, categoryTitles] : expected) {
        SCOPED_TRACE(category);
        chooseCategory(category);
        EXPECT_EQ(titles(), categoryTitles);
    }
}

TEST_F(MainFormTest, TablesWithoutRowsNullsAndLatinBytesAreListedAsTheyAre) {
    startWith("empty.db");
    EXPECT_TRUE(categories().empty());
    EXPECT_TRUE(titles().empty());
    EXPECT_EQ(page(), ReadFile(expectedPages + "empty.htm"));
    form.reset();

    startWith("nulls.db");
    EXPECT_EQ(categories(), (std::vector<AnsiString>{"", "Misc"}));
    EXPECT_EQ(titles(), std::vector<AnsiString>{"Empty category"});
    chooseCategory("Misc");
    EXPECT_EQ(titles(), (std::vector<AnsiString>{"All null", "", "", "Null id"}));
    chooseTitle(0);
    EXPECT_EQ(page(), ReadFile(expectedPages + "empty.htm"));
    form.reset();

    startWith("latin1.db");
    chooseCategory("Caf\xe9");
    EXPECT_EQ(titles(), (std::vector<AnsiString>{"Cr\xe8me br\xfbl\xe9"
                                                 "e",
                                                 "Euro \x80 and \x93quotes\x94"}));
}

TEST_F(MainFormTest, AFailedQueryShowsTheErrorPageAndLaterChoicesTouchNoHandle) {
    startWith("corrupt.db");
    EXPECT_EQ(page(), ReadFile(expectedPages + "malformed.htm"));
    EXPECT_TRUE(categories().empty());
    form->SelectScriptType(form->TypeComboBox);
    chooseTitle(-1);
    EXPECT_TRUE(titles().empty());
    EXPECT_EQ(form->BodyEdit->Text(), "");
    form.reset(); // closing touches no handle either

    startWith("othertable.db");
    EXPECT_NE(page().find("<br><br>no such table: MarrowindScript!!!</font>"), std::string::npos);
}

TEST_F(MainFormTest, ATableWithoutATitleColumnShowsTheErrorPageAndListsNothing) {
    sqlite2test::DatabaseWriter writer;
    writer.addTable("MarrowindScript", "CREATE TABLE MarrowindScript(Id, Wizard, Effect)",
                    {{1, {"1", "", "Buttons"}}, {2, {"2", "", "Menus"}}});
    WriteFile(scratch / "narrow.zelk", writer.image());
    start("[Database]\nLastDBase=" + scratch / "narrow.zelk" + "\n");
    EXPECT_NE(page().find("<br><br>no such column: Title!!!</font>"), std::string::npos);
    EXPECT_TRUE(categories().empty());
    EXPECT_TRUE(titles().empty());
    chooseTitle(0);
    EXPECT_EQ(form->HeadEdit->Text(), "");
}

TEST_F(MainFormTest, AFailedOpenShowsTwoErrorPagesAndTheEnginesTextStays) {
    const std::pair<const char*, const char*> cases[] = {
        {"badmaster.db", "database disk image is malformed"},
        {"notadb.txt", "file is encrypted or is not a database"}};
    for (const auto& [file, text] : cases) {
        SCOPED_TRACE(file);
        startWith(file);
        EXPECT_NE(page().find(std::string("<br><br>") + text + "!!!</font>"), std::string::npos);
        EXPECT_TRUE(categories().empty());
        form.reset();
    }
}

TEST_F(MainFormTest, AnotherDatabaseIsOpenedByItsFullPathAndShowsOkFirst) {
    start();
    const std::string before = GetCurrentDir();
    backend.AnswerFileDialog({AnsiToWide(dbFixtures + "case.db")});
    form->MenuOpen1Click(form->OpenButton);
    EXPECT_EQ(DBName, dbFixtures + "case.db");
    EXPECT_EQ(categories(), (std::vector<AnsiString>{"Buttons", "effects", "Effects "}));
    EXPECT_EQ(titles(), std::vector<AnsiString>{"Upper B"});
    EXPECT_NE(page().find("<br><br>OK!!!</font>"), std::string::npos);
    EXPECT_EQ(GetCurrentDir(), before);
}

TEST_F(MainFormTest, EachDemoScriptShowsItsPartsNotesAndAttachedFiles) {
    start();
    const std::string pictures = ProgramFolder() + "/Scripts/Images/";
    std::vector<AnsiString> previousFiles;
    for (const AnsiString& category : categories()) {
        chooseCategory(category);
        for (Integer index = 0; index < form->TitleBox->Items()->Count(); ++index) {
            chooseTitle(index);
            const AnsiString id = form->StringGrid1->Cells(0, index + 1);
            SCOPED_TRACE(id + " " + form->TitleBox->Items()->Strings(index));
            for (const AnsiString& gone : previousFiles)
                EXPECT_FALSE(Exists(tempDir + gone)) << gone;
            EXPECT_EQ(page(), ReadFile(expectedPages + Format("%.2d.htm", {StrToInt(id)})));
            EXPECT_EQ(form->InfoEdit->Text(), "\xa9 Quorvane Demo Team - free to use in your own pages");
            EXPECT_EQ(form->TmpBodyEdit->Text(), form->StringGrid1->Cells(6, index + 1));
            EXPECT_FALSE(form->RemarksEdit->Text().empty());
            const std::vector<AnsiString> files = itemsOf(form->FilesMemo->Lines());
            std::string list;
            for (const AnsiString& file : files) {
                EXPECT_EQ(ReadFile(tempDir + file), ReadFile(pictures + file)) << file;
                list += file + "\r\n";
            }
            EXPECT_EQ(Exists(tempDir + AttachedListFile), !files.empty());
            if (!files.empty()) {
                EXPECT_EQ(ReadFile(tempDir + AttachedListFile), list);
            }
            previousFiles = files;
        }
    }
    TCloseAction action = caHide;
    form->FormClose(form.get(), action);
    for (const AnsiString& gone : previousFiles)
        EXPECT_FALSE(Exists(tempDir + gone)) << gone;
    EXPECT_FALSE(Exists(tempDir + AttachedListFile));
}

TEST_F(MainFormTest, AChosenScriptEnablesExportAndShowsTheWizardCollapsed) {
    start();
    EXPECT_FALSE(form->ExportButton->Enabled());
    EXPECT_FALSE(form->WizGroupBox->Visible());
    chooseTitle(0);
    EXPECT_TRUE(form->ExportButton->Enabled());
    EXPECT_TRUE(form->MenuExport->Enabled());
    EXPECT_TRUE(form->BrowsStatusBar->Visible());
    EXPECT_TRUE(form->WizGroupBox->Visible());
    EXPECT_TRUE(form->WizGroupBox->Collapsed());
    EXPECT_EQ(form->WizardLines->Count(), 4);
    // Collapsed, the box is its caption bar alone: its rows and Apply button
    // would be drawn across the bar.
    auto* rows = static_cast<TControl*>(form->FindComponent("WizScrollBox"));
    EXPECT_FALSE(form->PrevWizPanel->Visible());
    EXPECT_FALSE(rows->Visible());
    form->WizGroupBox->Collapse(false);
    EXPECT_TRUE(form->PrevWizPanel->Visible());
    EXPECT_TRUE(rows->Visible());
}

// The list reports a click on the title already chosen too: the script is
// shown anew, its parts and the wizard's values back to the library's.
TEST_F(MainFormTest, AClickOnTheChosenTitleShowsTheScriptAnew) {
    show();
    const auto clickTitle = [&](Integer Index) {
        RECT item{};
        SendMessageA(form->TitleBox->Handle(), LB_GETITEMRECT, Index, reinterpret_cast<LPARAM>(&item));
        backend.Click(form->TitleBox->Handle(), POINT{item.Left + 5, (item.Top + item.Bottom) / 2});
        HeadlessBackend::ProcessMessages();
    };
    clickTitle(0);
    ASSERT_EQ(form->TitleBox->ItemIndex(), 0);
    const AnsiString head = form->HeadEdit->Text();
    form->HeadEdit->SetText("edited by hand");
    // Past the double-click time, so that the second click is a click of its own.
    backend.AdvanceTime(GetDoubleClickTime() + 1);
    clickTitle(0);
    EXPECT_EQ(form->HeadEdit->Text(), head);
}

TEST_F(MainFormTest, ADatabaseDoubleClickedInTheListIsOpenedAndThePageGoesWithTheWindow) {
    start();
    ASSERT_EQ(form->DBListBox->Items()->IndexOf("demo.zelk"), 0);
    chooseCategory("Images");
    chooseTitle(0);
    ASSERT_TRUE(Exists(tempDir + "btn_on.gif"));
    form->DBListBox->SetItemIndex(0);
    form->DBListBoxSelect(form->DBListBox);
    EXPECT_FALSE(Exists(tempDir + "btn_on.gif"));
    EXPECT_EQ(form->TypeComboBox->Text(), "Clocks and dates");
    EXPECT_EQ(DBName, ProgramFolder() + "/demo.zelk");
    ASSERT_TRUE(Exists(tempDir + PreviewPageFile));
    form.reset();
    EXPECT_FALSE(Exists(tempDir + PreviewPageFile));
}

// The editors go, but the templates, the wizard's lines and the attached
// files stay: Apply composes the previous script again.
TEST_F(MainFormTest, ChoosingNoTitleEmptiesTheEditorsAndKeepsTheScriptForApply) {
    start();
    chooseCategory("Images");
    chooseTitle(0);
    const std::string composed = page();
    const AnsiString head = form->TmpHeadEdit->Text();
    const Integer wizardLines = form->WizardLines->Count();
    ASSERT_TRUE(Exists(tempDir + AttachedListFile));
    chooseTitle(-1);
    EXPECT_EQ(form->HeadEdit->Text(), "");
    EXPECT_EQ(page(), ReadFile(expectedPages + "empty.htm"));
    EXPECT_EQ(form->TmpHeadEdit->Text(), head);
    EXPECT_EQ(form->WizardLines->Count(), wizardLines);
    EXPECT_GT(form->AttachedFiles->Count(), 0);
    EXPECT_TRUE(Exists(tempDir + "btn_on.gif"));
    form->WizardPrevAction(form.get());
    EXPECT_EQ(page(), composed);
}

TEST_F(MainFormTest, TheListLeftByAnEarlierRunIsCleanedAtStart) {
    const std::string canary = scratch / "canary.txt";
    WriteFile(canary, "keep me");
    WriteFile(tempDir + "tile.gif", "old copy");
    WriteFile(tempDir + AttachedListFile, "tile.gif\r\n..\\canary.txt\r\n\r\n" + canary + "\r\n");
    start();
    EXPECT_FALSE(Exists(tempDir + "tile.gif"));
    EXPECT_FALSE(Exists(tempDir + AttachedListFile));
    EXPECT_EQ(ReadFile(canary), "keep me");
}

TEST_F(MainFormTest, EachPageShowsItsOwnToolButtons) {
    start();
    const std::vector<TToolButton*> all = {
        form->ZoomButton,       form->FireFoxBtn,         form->OperaBtn,     form->ViewDefBrowBtn,
        form->WrapButton,       form->HigLightBtn,        form->GoBackButton, form->GoForwardButton,
        form->ReloadPageButton, form->ReloadScriptButton, form->Spacer4,      form->Spacer5,
        form->Spacer6};
    const std::vector<TToolButton*> preview = {
        form->GoBackButton,   form->GoForwardButton, form->ReloadPageButton, form->ReloadScriptButton,
        form->ViewDefBrowBtn, form->FireFoxBtn,      form->OperaBtn,         form->ZoomButton,
        form->Spacer4,        form->Spacer5,         form->Spacer6};
    const std::vector<TToolButton*> editing = {form->WrapButton, form->HigLightBtn};
    const std::vector<std::vector<TToolButton*>> shown = {
        preview, editing, editing, {form->ZoomButton}, editing};
    for (Integer tab = 4; tab >= 0; --tab) {
        SCOPED_TRACE(tab);
        form->PageControl1->SetActivePageIndex(tab);
        form->PageControlChange(form->PageControl1);
        for (TToolButton* button : all) {
            const bool expected = std::find(shown[tab].begin(), shown[tab].end(), button) != shown[tab].end();
            EXPECT_EQ(button->Visible(), expected) << button->Name();
        }
    }
    EXPECT_EQ(form->PageControl1->ActivePageIndex(), 0);
}

TEST_F(MainFormTest, SettingAPageOrASelectionInCodeRaisesNoEvent) {
    start();
    const std::vector<AnsiString> clockTitles = titles();
    form->PageControl1->SetActivePageIndex(1);
    EXPECT_FALSE(form->WrapButton->Visible());
    form->TypeComboBox->SetItemIndex(form->TypeComboBox->Items()->IndexOf("Images"));
    EXPECT_EQ(titles(), clockTitles);
    form->TitleBox->SetItemIndex(0);
    EXPECT_EQ(form->HeadEdit->Text(), "");
    EXPECT_FALSE(form->WizGroupBox->Visible());
}

TEST_F(MainFormTest, ALinkClickInTheAuthorTextOpensOnlyWebAddresses) {
    start();
    const struct {
        const char* text;
        const char* opened;
    } cases[] = {{"http://www.example.com/", "http://www.example.com/"},
                 {"www.example.com", "http://www.example.com"},
                 {"mailto:ann@example.com", "mailto:ann@example.com"},
                 {"file:///etc/passwd", nullptr},
                 {"javascript:alert(1)", nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::size_t openedBefore = backend.OpenedUrls().size();
        form->InfoEdit->SetText(AnsiString("See ") + c.text + " now");
        ENLINK link;
        link.nmhdr.hwndFrom = form->InfoEdit->Handle();
        link.nmhdr.code = EN_LINK;
        link.msg = WM_LBUTTONDOWN;
        link.chrg = {4, 4 + static_cast<LONG>(std::strlen(c.text))};
        SendMessageA(form->InfoEdit->Parent()->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&link));
        const std::vector<WideString> opened = backend.OpenedUrls();
        if (c.opened) {
            ASSERT_EQ(opened.size(), openedBefore + 1);
            EXPECT_EQ(WideToAnsi(opened.back()), c.opened);
        } else {
            EXPECT_EQ(opened.size(), openedBefore);
        }
    }
}

TEST_F(MainFormTest, AScreenshotOfAScriptForAPersonToLookAt) {
    start();
    form->Show();
    chooseCategory("Images");
    chooseTitle(0);
    form->PageControl1->SetActivePageIndex(1);
    form->PageControlChange(form->PageControl1);
    Application->ProcessMessages();
    ForceDirectories(QUORVANE_SCREENSHOTS_DIR);
    EXPECT_TRUE(backend.SavePng(form->Handle(), QUORVANE_SCREENSHOTS_DIR "/main-window.png"));
}

} // namespace
