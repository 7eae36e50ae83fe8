// The browser control over the headless backend's web view: progress, title
// and completion of a local page raised on the message loop, the later of two
// quick navigations, the history, new windows and stopping.
#include "VisualTestSupport.h"

#include "platform/core/CodePages.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/WebBrowser.h"

#include <filesystem>
#include <fstream>

namespace {

// What the browser reported, in order.
class TBrowserLog : public TObject {
public:
    std::vector<std::string> events;
    void Progress(TObject*, Integer Progress, Integer ProgressMax) {
        events.push_back("progress " + std::to_string(Progress) + "/" + std::to_string(ProgressMax));
    }
    void Title(TObject*, const WideString& Text) { events.push_back("title " + WideToAnsi(Text)); }
    void Completed(TObject*, const WideString& URL) { events.push_back("complete " + WideToAnsi(URL)); }

    void Watch(TCppWebBrowser* Browser) {
        Browser->OnProgressChange = TWebBrowserProgressChange(this, &TBrowserLog::Progress);
        Browser->OnTitleChange = TWebBrowserTitleChange(this, &TBrowserLog::Title);
        Browser->OnDocumentComplete = TWebBrowserDocumentComplete(this, &TBrowserLog::Completed);
    }
};

class WebBrowserTest : public VisualTest {
protected:
    // A folder of each test's own, as ctest runs the tests side by side.
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("quorvane-webbrowser-test-" +
         std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::unique_ptr<TForm> form = plainForm(400, 300);
    TCppWebBrowser* browser = child<TCppWebBrowser>(form.get(), alClient, {0, 0, 400, 300});
    TBrowserLog log;

    void SetUp() override {
        VisualTest::SetUp();
        std::filesystem::create_directories(folder);
        log.Watch(browser);
        form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override {
        form.reset();
        std::filesystem::remove_all(folder);
        VisualTest::TearDown();
    }

    WideString page(const std::string& name, const std::string& title) {
        std::filesystem::path path = folder / name;
        std::ofstream(path) << "<html><head><title>" << title << "</title></head><body>" << name
                            << "</body></html>";
        return AnsiToWide(path.string());
    }
};

TEST_F(WebBrowserTest, ALocalPageReportsProgressTitleAndCompletionFromTheMessageLoop) {
    WideString hello = page("hello.htm", "Hello page");
    browser->Navigate(hello, navNoReadFromCache);
    EXPECT_TRUE(log.events.empty());
    Application->ProcessMessages();
    std::string path = WideToAnsi(hello);
    EXPECT_EQ(log.events, (std::vector<std::string>{"progress 0/100", "title Hello page", "progress 100/100",
                                                    "complete " + path}));
    EXPECT_EQ(browser->LocationURL(), hello);
}

TEST_F(WebBrowserTest, TheLaterOfTwoQuickNavigationsWins) {
    WideString first = page("first.htm", "First");
    WideString second = page("second.htm", "Second");
    browser->Navigate(first, navNoReadFromCache);
    browser->Navigate(second, navNoReadFromCache);
    Application->ProcessMessages();
    EXPECT_EQ(log.events, (std::vector<std::string>{"progress 0/100", "title Second", "progress 100/100",
                                                    "complete " + WideToAnsi(second)}));
    EXPECT_EQ(browser->LocationURL(), second);
}

TEST_F(WebBrowserTest, HistoryNewWindowsAndStopping) {
    WideString first = page("first.htm", "First");
    WideString second = page("second.htm", "Second");
    browser->Navigate(first);
    Application->ProcessMessages();
    browser->Navigate(second);
    Application->ProcessMessages();
    log.events.clear();
    browser->GoBack();
    Application->ProcessMessages();
    EXPECT_EQ(browser->LocationURL(), first);
    EXPECT_EQ(log.events.at(1), "title First");
    browser->GoForward();
    browser->Refresh();
    Application->ProcessMessages();
    EXPECT_EQ(browser->LocationURL(), second);
    EXPECT_EQ(log.events.back(), "complete " + WideToAnsi(second));

    WideString exported = page("export.htm", "Export");
    log.events.clear();
    browser->Navigate(exported, navOpenInNewWindow);
    Application->ProcessMessages();
    EXPECT_EQ(backend.OpenedUrls().back(), exported);
    EXPECT_EQ(browser->LocationURL(), second);
    EXPECT_TRUE(log.events.empty());

    browser->Navigate(first);
    browser->Stop();
    Application->ProcessMessages();
    EXPECT_TRUE(log.events.empty());
}

TEST_F(WebBrowserTest, AControlWithoutAWindowGoesToItsPageOnceItHasOne) {
    auto* later = new TCppWebBrowser(form.get());
    log.Watch(later);
    WideString hello = page("later.htm", "Later");
    later->Navigate(hello);
    EXPECT_EQ(later->LocationURL(), hello);
    later->SetParent(form.get());
    later->HandleNeeded();
    Application->ProcessMessages();
    EXPECT_EQ(log.events.at(1), "title Later");
}

TEST_F(WebBrowserTest, AFormResourceWithTheSystemControlsDataIsRead) {
    TForm owner(nullptr);
    ReadComponentText("object Main: TForm\n"
                      "  Width = 300\n  Height = 200\n"
                      "  object CppWebBrowser1: TCppWebBrowser\n"
                      "    Left = 0\n    Top = 0\n    Width = 300\n    Height = 150\n"
                      "    ControlData = {4C000000}\n"
                      "  end\n"
                      "end\n",
                      &owner);
    auto* read = dynamic_cast<TCppWebBrowser*>(owner.FindComponent("CppWebBrowser1"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Height(), 150);
}

} // namespace
