#include "MainFormFixture.h"

#include "platform/core/CodePages.h"
#include "platform/core/FileUtils.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/FileCtrl.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/ToolBars.h"
#include "editor/SynEdit.h"
#include "unicode/TntClasses.h"
#include "unicode/TntComCtrls.h"
#include "unicode/TntControls.h"
#include "unicode/TntMenus.h"
#include "unicode/TntStdCtrls.h"

namespace {

enum class Target { Menu, Wide, Ansi, Hint, Message };

struct KeyTarget {
    const char* key;
    Target kind;
    const char* name; // a component's name, or a message text's
    Integer entry = 0;
};

// Every key a language file may name, with what it sets.
const KeyTarget allKeys[] = {
    {"mFile", Target::Menu, "MenuFile"},
    {"mOpen", Target::Menu, "MenuOpen"},
    {"mExport", Target::Menu, "MenuExport"},
    {"mExit", Target::Menu, "MenuExit"},
    {"mView", Target::Menu, "MenuView"},
    {"mSource", Target::Menu, "MenuSource"},
    {"mSummary", Target::Menu, "MenuSummary"},
    {"mPreview", Target::Menu, "MenuPreview"},
    {"mDescription", Target::Menu, "MenuInfoPanel"},
    {"mSettings", Target::Menu, "MenuSettings"},
    {"mHelp", Target::Menu, "MenuHelp"},
    {"mContents", Target::Menu, "MenuContents"},
    {"mHomePage", Target::Menu, "MenuHomePage"},
    {"mAbout", Target::Menu, "MenuAbout"},
    {"mColorChooser", Target::Menu, "MenuColorChooser"},
    {"hOpenDatabase", Target::Hint, "", 1},
    {"hExport", Target::Hint, "", 2},
    {"hPreview", Target::Hint, "", 3},
    {"hEdit", Target::Hint, "", 4},
    {"hHtml", Target::Hint, "", 5},
    {"hSettings", Target::Hint, "", 6},
    {"hDescription", Target::Hint, "", 7},
    {"hWordWrap", Target::Hint, "", 8},
    {"hHelp", Target::Hint, "", 9},
    {"hHighlight", Target::Hint, "", 10},
    {"hPreviewIE", Target::Hint, "", 11},
    {"hPreviewOpera", Target::Hint, "", 12},
    {"hPreviewFireFox", Target::Hint, "", 13},
    {"hGoBack", Target::Hint, "", 14},
    {"hGoForward", Target::Hint, "", 15},
    {"hReloadPage", Target::Hint, "", 16},
    {"hReloadScript", Target::Hint, "", 17},
    {"hCopyToClipbrd", Target::Hint, "", 18},
    {"hColorChooser", Target::Hint, "", 19},
    {"hColorToClipBoard", Target::Hint, "", 20},
    {"hClickOnPalette", Target::Hint, "", 21},
    {"hZoom", Target::Hint, "", 22},
    {"lLanguage", Target::Wide, "LangBox"},
    {"lHighlight", Target::Ansi, "HighlightBox"},
    {"lShowExp", Target::Wide, "ShowExportCheckBox"},
    {"lAuthor", Target::Wide, "AuthorLabel"},
    {"lPreview", Target::Wide, "TabSheet1"},
    {"lSource_code", Target::Wide, "TabSheet2"},
    {"lSummary_HTML", Target::Wide, "TabSheet3"},
    {"lColor", Target::Wide, "ColorTabSheet"},
    {"lSettings", Target::Wide, "TabSheet4"},
    {"lFiles", Target::Wide, "FilesLabel"},
    {"lDescription", Target::Wide, "DescriptLabel"},
    {"lDataBases", Target::Ansi, "DataBasesLabel"},
    {"lSaturate", Target::Wide, "SaturateLabel"},
    {"lBright", Target::Wide, "BrightLabel"},
    {"lPalette1", Target::Ansi, "Palette1GroupBox"},
    {"lPalette2", Target::Ansi, "Palette2GroupBox"},
    {"lColorPalette", Target::Wide, "ColorPalGroup"},
    {"lInputColor", Target::Wide, "InputColorLabel"},
    {"lInputColor", Target::Ansi, "ColorBaseGroup"},
    {"lColorClipboard", Target::Wide, "ClipbrdLabel"},
    {"lZoom", Target::Wide, "ZoomGroupBox"},
    {"lZoomCapture", Target::Ansi, "ZoomAutoChkBox"},
    {"lColorScheme", Target::Ansi, "ColorShemeRdoGr"},
    {"lOffset", Target::Wide, "OffsetLabel"},
    {"lWizard", Target::Ansi, "WizGroupBox"},
    {"lOutputColor", Target::Ansi, "ColPalRdoGr"},
    {"lMainColor", Target::Wide, "MainColorGrBox"},
    {"lEmptyWiz", Target::Wide, "WizLabel"},
    {"lApplyWiz", Target::Wide, "WizApplytBtn"},
    {"lPrevWiz", Target::Wide, "PrevWizPanel"},
    {"MessCopyTxtCap", Target::Message, "MessCopyTxtCap"},
    {"MessCopyTxt1", Target::Message, "MessCopyTxt1"},
    {"MessCopyTxt2", Target::Message, "MessCopyTxt2"},
    {"MessExportCap", Target::Message, "MessExportCap"},
    {"MessExport1", Target::Message, "MessExport1"},
    {"MessExport2", Target::Message, "MessExport2"},
};

const std::map<std::string, const WideString*> messageTexts = {
    {"MessCopyTxtCap", &MessCopyTxtCap}, {"MessCopyTxt1", &MessCopyTxt1}, {"MessCopyTxt2", &MessCopyTxt2},
    {"MessExportCap", &MessExportCap},   {"MessExport1", &MessExport1},   {"MessExport2", &MessExport2},
};

class MainLanguageTest : public MainFormFixture {
protected:
    // Menus add hot keys of their own, so captions compare without them.
    static WideString menuText(TTntMenuItem* Item) { return WideStripHotkey(Item->Caption()); }
    // What a key's target shows now, as the wide text it was given.
    WideString shown(const KeyTarget& Key) {
        switch (Key.kind) {
        case Target::Menu:
            return menuText(static_cast<TTntMenuItem*>(form->FindComponent(Key.name)));
        case Target::Wide:
            return TntControl_GetText(static_cast<TControl*>(form->FindComponent(Key.name)));
        case Target::Ansi:
            return AnsiToWide(static_cast<TControl*>(form->FindComponent(Key.name))->Text());
        case Target::Hint:
            return HintTexts[Key.entry];
        case Target::Message:
            return *messageTexts.at(Key.name);
        }
        return {};
    }
    void translate(const WideString& Text) {
        form->TntMemo1->Lines()->SetTextStr(Text);
        form->Translate(form.get());
    }
    // Chooses a language in the list as the user does.
    void chooseLanguage(const AnsiString& Name) {
        const Integer index = form->LangListBox->Items()->IndexOf(Name);
        ASSERT_GE(index, 0) << Name;
        const TRect item = form->LangListBox->ItemRect(index);
        backend.Click(form->LangListBox->Handle(), {item.Left + 5, (item.Top + item.Bottom) / 2});
        HeadlessBackend::ProcessMessages();
    }
    WideString caption(const char* Name) { return TntControl_GetText(static_cast<TControl*>(form->FindComponent(Name))); }
};

TEST_F(MainLanguageTest, LinesApplyInOrderByTheirExactKey) {
    start();
    translate(u"lApplyWiz=Go\r\n"
              u"lEmptyWiz =blank before the equals\r\n"
              u"mFile=a=b\r\n"
              u"mOpen=first\r\n"
              u"mOpen=second\r\n"
              u"mopen=wrong case\r\n"
              u"unknownKey=ignored\r\n"
              u"lOffset no equals\r\n"
              u"\r\n"
              u"=no key\r\n");
    EXPECT_EQ(caption("WizApplytBtn"), u"Go");
    EXPECT_EQ(caption("WizLabel"), u"There are no parameters for change!");
    EXPECT_EQ(menuText(form->MenuFile), u"a=b");
    EXPECT_EQ(menuText(form->MenuOpen), u"second");
    EXPECT_EQ(caption("OffsetLabel"), u"Offset");
}

// Values beyond the ANSI code page: Unicode targets show them exactly, the
// framework's own controls as the ANSI code page has them. A second file
// changes only what it names.
TEST_F(MainLanguageTest, EveryKeyReachesItsTargetAndALaterFileKeepsWhatItDoesNotName) {
    start();
    WideString text;
    for (const KeyTarget& key : allKeys)
        text += AnsiToWide(key.key) + u"=" + AnsiToWide(key.key) + u" \u0416\u00e9\u4e2d=\r\n";
    const std::string file = scratch / "All.lng";
    WriteFile(file, "\xEF\xBB\xBF" + UTF8Encode(text));
    form->TntMemo1->Lines()->LoadFromFile(AnsiToWide(file));
    form->Translate(form.get());
    for (const KeyTarget& key : allKeys) {
        SCOPED_TRACE(std::string(key.key) + " " + key.name);
        const WideString value = AnsiToWide(key.key) + u" \u0416\u00e9\u4e2d=";
        const WideString expected = key.kind == Target::Ansi ? AnsiToWide(WideToAnsi(value))
                                    : key.kind == Target::Menu ? WideStripHotkey(value)
                                                               : value;
        EXPECT_EQ(shown(key), expected);
    }

    translate(u"mFile=Only this\r\n");
    EXPECT_EQ(menuText(form->MenuFile), u"Only this");
    EXPECT_EQ(menuText(form->MenuOpen), u"mOpen \u0416\u00e9\u4e2d=");
    EXPECT_EQ(HintTexts[9], u"hHelp \u0416\u00e9\u4e2d=");
}

TEST_F(MainLanguageTest, ChoosingALanguageStoresItAndEnglishRestoresEveryText) {
    show();
    form->SettButtonClick(form->SettButton);
    std::map<std::string, WideString> english;
    for (const KeyTarget& key : allKeys)
        english[std::string(key.key) + key.name] = shown(key);

    chooseLanguage("German.lng");
    EXPECT_EQ(LangFile, "German.lng");
    EXPECT_EQ(settingsFile()["Form.LangFile"], "German.lng");
    EXPECT_EQ(caption("TabSheet4"), u"Einstellungen");
    EXPECT_EQ(menuText(form->MenuOpen), u"\u00d6ffnen...");
    EXPECT_EQ(static_cast<TControl*>(form->FindComponent("DataBasesLabel"))->Text(), "JS-Datenbanken");
    EXPECT_EQ(caption("SaturateLabel"), u"S\u00e4ttigung");
    EXPECT_EQ(static_cast<TControl*>(form->FindComponent("ZoomAutoChkBox"))->Text(), "Automatisch \xfc" "bernehmen");

    // One key names both the input label and the base-colour group, so the
    // group shows the label's English text from then on.
    english["lInputColorColorBaseGroup"] = u"Input Color";
    chooseLanguage("English.lng");
    EXPECT_EQ(settingsFile()["Form.LangFile"], "English.lng");
    for (const KeyTarget& key : allKeys) {
        SCOPED_TRACE(std::string(key.key) + " " + key.name);
        EXPECT_EQ(shown(key), (english[std::string(key.key) + key.name]));
    }
}

TEST_F(MainLanguageTest, AChosenFileThatIsGoneIsStoredAndChangesNothing) {
    start();
    form->LangListBox->Items()->Add("Gone.lng");
    form->LangListBox->SetItemIndex(form->LangListBox->Items()->IndexOf("Gone.lng"));
    form->SelectLang(form->LangListBox);
    EXPECT_EQ(LangFile, "Gone.lng");
    EXPECT_EQ(settingsFile()["Form.LangFile"], "Gone.lng");
    EXPECT_EQ(menuText(form->MenuFile), u"File");
    EXPECT_EQ(HintTexts[9], u"Help");
}

TEST_F(MainLanguageTest, AStoredLanguageIsAppliedAtStart) {
    show("[Form]\nTop=0\nLeft=0\nWidth=1000\nHeight=740\nLangFile=German.lng\n");
    EXPECT_EQ(menuText(form->MenuFile), u"Datei");
    EXPECT_EQ(caption("TabSheet2"), u"Quelltext");
    EXPECT_EQ(HintTexts[9], u"Hilfe");
    EXPECT_EQ(MessCopyTxtCap, u"Text kopieren");
    form->SettButtonClick(form->SettButton);
    Application->ProcessMessages();
    ForceDirectories(QUORVANE_SCREENSHOTS_DIR);
    EXPECT_TRUE(backend.SavePng(form->Handle(), QUORVANE_SCREENSHOTS_DIR "/main-window-german.png"));
}

// The mouse over a control shows the hint of its Tag in the last panel;
// tags without a text clear it, tags past the table leave it.
TEST_F(MainLanguageTest, TheMouseOverAControlShowsTheHintOfItsTag) {
    show();
    TTntStatusPanel* panel = form->StatusBar->GetPanels()->GetItem(3);
    const struct {
        const char* name;
        Integer page;
        TControl* control;
    } controls[] = {{"tool button", 0, form->OpenButton},
                    {"editor", 1, form->Body_Edit},
                    {"colour panel", 3, form->ClPanel1}};
    for (const auto& c : controls) {
        SCOPED_TRACE(c.name);
        form->PageControl1->SetActivePageIndex(c.page);
        HeadlessBackend::ProcessMessages();
        const TRect bounds = c.control->BoundsRect();
        for (Integer tag = 0; tag <= HintCount; ++tag) {
            SCOPED_TRACE(tag);
            c.control->SetTag(tag);
            panel->SetText(u"before");
            // A move to a new point each time, so that every one is reported.
            const POINT point{bounds.Left + 2 + tag % 2, bounds.Top + 2 + tag % 3};
            backend.MoveMouse(c.control->Parent()->Handle(), point);
            HeadlessBackend::ProcessMessages();
            const WideString expected = tag < HintCount ? HintTexts[tag] : WideString(u"before");
            EXPECT_EQ(panel->Text(), expected);
            if (tag >= 1 && tag <= 22) {
                EXPECT_FALSE(expected.empty());
            }
            if (tag == 0 || (tag >= 23 && tag < HintCount)) {
                EXPECT_TRUE(expected.empty());
            }
        }
    }
}

} // namespace
