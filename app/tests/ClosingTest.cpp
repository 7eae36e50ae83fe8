#include "WizardFixture.h"

#include "platform/win/Messages.h"

#include <filesystem>
#include <functional>
#include <sys/stat.h>

using namespace std::string_literals;

namespace {

class ClosingTest : public WizardFixture {
protected:
    // The window closed as the user closes it, from its system menu.
    void closeWindow() {
        boxes.clear();
        PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
        HeadlessBackend::ProcessMessages();
    }
};

// Whatever keeps the settings from being written, the window closes after
// one box saying so and why, and the settings file stays as it was. (A
// program folder the user may not write is refused the same way; as root,
// which these tests run as, a folder can't be made unwritable.)
TEST_F(ClosingTest, ASettingsFileThatCannotBeWrittenIsReportedOnceAndTheWindowClosesAll) {
    const std::string utf16 = "\xFF\xFE[\0F\0o\0r\0m\0]\0\r\0\n\0"s;
    struct Case {
        const char* name;
        std::function<void()> prepare;
        std::function<void()> check;
        const char* reason;
    };
    const Case cases[] = {
        {"a folder", [&] { std::filesystem::create_directory(iniName); },
         [&] { EXPECT_TRUE(std::filesystem::is_empty(iniName)); }, "Cannot open file"},
        {"UTF-16", [&] { WriteFile(iniName, utf16); }, [&] { EXPECT_EQ(ReadFile(iniName), utf16); },
         "the file is in UTF-16"},
        {"read-only",
         [&] {
             WriteFile(iniName, "[Form]\r\nTop=5\r\n");
             ::chmod(iniName.c_str(), 0444);
         },
         [&] {
             EXPECT_EQ(ReadFile(iniName), "[Form]\r\nTop=5\r\n");
             ::chmod(iniName.c_str(), 0644);
         },
         "Access is denied."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form.reset();
        std::filesystem::remove_all(iniName);
        c.prepare();
        start(); // reads the prepared settings file as it is
        form->Show();
        HeadlessBackend::ProcessMessages();
        closeWindow();
        EXPECT_FALSE(form->Visible());
        ASSERT_EQ(boxes.size(), 1u);
        const AnsiString text = WideToAnsi(boxes[0].text);
        EXPECT_TRUE(text.starts_with("The settings could not be saved.\n")) << text;
        EXPECT_NE(text.find(iniName), AnsiString::npos) << text;
        EXPECT_NE(text.find(c.reason), AnsiString::npos) << text;
        c.check();
    }
    std::filesystem::remove_all(iniName);
}

} // namespace
