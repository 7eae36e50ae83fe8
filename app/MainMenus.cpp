// The menu's and the tool bar's page switches, the help page of the
// language in use, the maker's home page and the About box.
#include "app/Main.h"

#include "app/About.h"
#include "platform/core/CodePages.h"
#include "platform/vcl/TypInfo.h"
#include "platform/vcl/WebBrowser.h"
#include "platform/win/Shell.h"
#include "unicode/TntComCtrls.h"

#include <memory>

namespace {

// The maker's home page, opened in the user's default browser.
constexpr const char* HomePageAddress = "http://www.example.com/";

// The help page is named after the language file, without its ".lng".
AnsiString helpPageName(const AnsiString& LanguageFile) {
    constexpr std::size_t ExtensionLength = 4;
    const std::size_t dot = LanguageFile.rfind('.');
    return dot == AnsiString::npos ? LanguageFile : AnsiString(LanguageFile).erase(dot, ExtensionLength);
}

} // namespace

// Setting the page raises no change of its own.
void TMainForm::showPage(Integer Page, TObject* Sender) {
    PageControl1->SetActivePageIndex(Page);
    PageControlChange(Sender);
}

void TMainForm::MenuSource1Click(TObject* Sender) {
    showPage(SourcePage, Sender);
}

void TMainForm::MenuSummary1Click(TObject* Sender) {
    showPage(SummaryPage, Sender);
}

void TMainForm::ColorButtonClick(TObject* Sender) {
    showPage(ColorPage, Sender);
}

void TMainForm::SettButtonClick(TObject* Sender) {
    showPage(SettingsPage, Sender);
}

// The preview page is composed and shown first; the help page replaces it.
// A missing help page shows the browser's own error page.
void TMainForm::MenuHelpClick(TObject* Sender) {
    const AnsiString name = helpPageName(LangFile);
    showPage(PreviewPage, Sender);
    CppWebBrowser1->Navigate(AnsiToWide(AppDir + "/Help/" + name + ".htm"), navNoReadFromCache);
}

void TMainForm::MenuHomePage1Click(TObject*) {
    ShellExecuteA(Handle(), "open", HomePageAddress, nullptr, nullptr, SW_SHOW);
}

void TMainForm::MenuAbout1Click(TObject*) {
    std::unique_ptr<TAboutForm> about(NewForm<TAboutForm>(Application));
    AboutForm = about.get();
    about->ShowModal();
    AboutForm = nullptr;
}

void TMainForm::DescribeMenus(TClassBuilder<TMainForm>& Builder) {
    Builder.Method("MenuHelpClick", &TMainForm::MenuHelpClick);
    Builder.Method("MenuSource1Click", &TMainForm::MenuSource1Click);
    Builder.Method("MenuSummary1Click", &TMainForm::MenuSummary1Click);
    Builder.Method("ColorButtonClick", &TMainForm::ColorButtonClick);
    Builder.Method("SettButtonClick", &TMainForm::SettButtonClick);
    Builder.Method("MenuHomePage1Click", &TMainForm::MenuHomePage1Click);
    Builder.Method("MenuAbout1Click", &TMainForm::MenuAbout1Click);
}
