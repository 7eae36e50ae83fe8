#include "MainFormFixture.h"

#include "app/About.h"
#include "platform/core/CodePages.h"
#include "platform/vcl/ToolBars.h"
#include "platform/vcl/WebBrowser.h"
#include "unicode/TntComCtrls.h"
#include "unicode/TntExtCtrls.h"
#include "unicode/TntMenus.h"

namespace {

class MainMenusTest : public MainFormFixture {
protected:
    AnsiString location() { return WideToAnsi(form->CppWebBrowser1->LocationURL()); }
};

// Each switch selects its page and shows that page's tool buttons.
TEST_F(MainMenusTest, ButtonsAndMenuItemsSwitchPages) {
    show();
    const struct {
        const char* name;
        std::function<void()> press;
        Integer page;
        TToolButton* shownButton;
    } switches[] = {
        {"SourceButton", [&] { click(form->SourceButton); }, 1, form->WrapButton},
        {"HtmlButton", [&] { click(form->HtmlButton); }, 2, form->HigLightBtn},
        {"ColorButton", [&] { click(form->ColorButton); }, 3, form->ZoomButton},
        {"SettButton", [&] { click(form->SettButton); }, 4, form->WrapButton},
        {"MenuSource", [&] { form->MenuSource->Click(); }, 1, form->HigLightBtn},
        {"MenuColorChooser", [&] { form->MenuColorChooser->Click(); }, 3, form->ZoomButton},
        {"MenuSettings", [&] { form->MenuSettings->Click(); }, 4, form->HigLightBtn},
    };
    for (const auto& s : switches) {
        SCOPED_TRACE(s.name);
        form->MenuPreviewClick(form->PreviewButton);
        s.press();
        EXPECT_EQ(form->PageControl1->ActivePageIndex(), s.page);
        EXPECT_TRUE(s.shownButton->Visible());
        EXPECT_FALSE(form->GoBackButton->Visible());
    }

    // The menu's summary item has no handler of its own.
    form->MenuSource->Click();
    form->MenuSummary->Click();
    EXPECT_EQ(form->PageControl1->ActivePageIndex(), 1);
}

// The preview page is composed and shown first; the help page replaces it.
TEST_F(MainMenusTest, HelpShowsTheLanguagesHelpPageFromEveryPage) {
    show();
    for (Integer page = 4; page >= 0; --page) {
        SCOPED_TRACE(page);
        form->PageControl1->SetActivePageIndex(page);
        form->PageControlChange(form->PageControl1);
        click(form->HelpButton);
        EXPECT_EQ(form->PageControl1->ActivePageIndex(), 0);
        EXPECT_EQ(location(), ProgramFolder() + "/Help/English.htm");
        EXPECT_TRUE(form->GoBackButton->Visible());
    }
    Application->ProcessMessages();
    EXPECT_EQ(form->CaptionPanel->Caption(), u"Quorvane Help");

    const struct {
        const char* languageFile;
        const char* page;
    } names[] = {{"German.lng", "German.htm"}, {"Klingon", "Klingon.htm"}, {"my.lang.lng", "my.lang.htm"}};
    for (const auto& n : names) {
        SCOPED_TRACE(n.languageFile);
        LangFile = n.languageFile;
        form->MenuContents->Click();
        EXPECT_EQ(location(), ProgramFolder() + "/Help/" + n.page);
    }
}

// The desktop opens web addresses; the shell calls are recorded by the backend.
TEST_F(MainMenusTest, TheHomePageOpensInTheDefaultBrowser) {
    start();
    const std::size_t before = backend.OpenedUrls().size();
    form->MenuHomePage->Click();
    ASSERT_EQ(backend.OpenedUrls().size(), before + 1);
    EXPECT_EQ(backend.OpenedUrls().back(), u"http://www.example.com/");
}

TEST_F(MainMenusTest, TheAboutBoxIsModalAndGoesWithAClick) {
    show();
    TAboutForm* shown = nullptr;
    backend.SetIdleHandler([&] {
        ASSERT_NE(AboutForm, nullptr);
        shown = AboutForm;
        backend.Click(AboutForm->Handle(), {300, 5});
    });
    form->MenuAbout->Click();
    EXPECT_NE(shown, nullptr);
    EXPECT_EQ(AboutForm, nullptr);
}

} // namespace
