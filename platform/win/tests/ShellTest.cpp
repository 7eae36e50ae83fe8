#include "platform/win/Shell.h"

#include "platform/core/tests/TestFolder.h"
#include "platform/win/LastError.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

namespace {

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetShellOpener([this](const std::string& target) {
            opened.push_back(target);
            return openerAccepts;
        });
    }
    void TearDown() override { SetShellOpener(nullptr); }

    void writeExecutable(const std::string& name, const std::string& content) {
        folder.write(name, content);
        std::filesystem::permissions(folder / name, std::filesystem::perms::owner_all);
    }

    // Waits for a file a started program writes; programs run in the background.
    std::string waitFor(const std::string& name) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!std::filesystem::exists(folder / name) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return folder.read(name);
    }

    TestFolder folder;
    std::vector<std::string> opened;
    bool openerAccepts = true;
};

INT_PTR result(HINSTANCE instance) {
    return reinterpret_cast<INT_PTR>(instance);
}

} // namespace

TEST_F(ShellTest, WebAddressesAndDocumentsGoToTheOpener) {
    EXPECT_GT(result(ShellExecuteA(nullptr, "open", "http://example.com/a?b=1", nullptr, nullptr, SW_SHOW)),
              32);
    EXPECT_GT(result(ShellExecuteA(nullptr, "OPEN", "mailto:someone@example.com", nullptr, nullptr, SW_SHOW)),
              32);
    EXPECT_GT(
        result(ShellExecuteA(nullptr, nullptr, "https://example.com/caf\xE9", nullptr, nullptr, SW_SHOW)),
        32);

    folder.write("page.htm", "<html></html>");
    std::filesystem::create_directory(folder / "sub");
    folder.write("sub/page.htm", "");
    writeExecutable("no-interpreter.txt", "plain text with an executable bit");
    EXPECT_GT(result(ShellExecuteA(nullptr, "open", "page.htm", nullptr, folder.path().c_str(), SW_SHOW)),
              32);
    const std::string folderPath = folder.path();
    const std::u16string wideFolder(folderPath.begin(), folderPath.end());
    EXPECT_GT(result(ShellExecuteW(nullptr, u"", u"sub\\page.htm", nullptr, wideFolder.c_str(), SW_SHOW)),
              32);
    EXPECT_GT(result(ShellExecuteA(nullptr, "open", (folder / "sub\\page.htm").c_str(), nullptr, nullptr, 1)),
              32);
    EXPECT_GT(
        result(ShellExecuteA(nullptr, "open", (folder / "no-interpreter.txt").c_str(), "x", nullptr, 1)), 32);

    EXPECT_EQ(opened, (std::vector<std::string>{"http://example.com/a?b=1", "mailto:someone@example.com",
                                                "https://example.com/caf\xC3\xA9", folder / "page.htm",
                                                folder / "sub/page.htm", folder / "sub/page.htm",
                                                folder / "no-interpreter.txt"}));
}

TEST_F(ShellTest, FailuresAreReportedWithTheShellsCodes) {
    folder.write("page.htm", "");
    struct Case {
        const char* operation;
        std::string file;
        INT_PTR expected;
    };
    const Case cases[] = {
        {"open", folder / "missing.htm", ERROR_FILE_NOT_FOUND},
        {"open", folder / "no-folder/page.htm", ERROR_PATH_NOT_FOUND},
        {"open", "", SE_ERR_FNF},
        {"print", folder / "page.htm", SE_ERR_NOASSOC},
    };
    for (const Case& c : cases)
        EXPECT_EQ(result(ShellExecuteA(nullptr, c.operation, c.file.c_str(), nullptr, nullptr, SW_SHOW)),
                  c.expected)
            << c.file;
    EXPECT_TRUE(opened.empty());

    openerAccepts = false;
    EXPECT_EQ(result(ShellExecuteA(nullptr, "open", "page.htm", nullptr, folder.path().c_str(), SW_SHOW)),
              SE_ERR_NOASSOC);
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(ShellTest, ProgramsStartWithTheirParametersInTheirFolder) {
    writeExecutable("arguments.sh",
                    "#!/bin/sh\n"
                    "for argument in \"$@\"; do printf '[%s]\\n' \"$argument\"; done > out.tmp\n"
                    "mv out.tmp out.txt\n");
    const char* parameters =
        "one \"two words\" three\\\"quote \"\" back\\slash \"in \"\"quotes\"\"\" \\\\\"x y\"";
    ASSERT_GT(result(ShellExecuteA(nullptr, nullptr, "arguments.sh", parameters, folder.path().c_str(), 1)),
              32);
    EXPECT_EQ(waitFor("out.txt"),
              "[one]\n[two words]\n[three\"quote]\n[]\n[back\\slash]\n[in \"quotes\"]\n[\\x y]\n");

    EXPECT_GT(result(ShellExecuteW(nullptr, u"open", u"/bin/true", u"", nullptr, SW_SHOW)), 32);
    EXPECT_GT(result(ShellExecuteA(nullptr, nullptr, "true", nullptr, nullptr, SW_SHOW)), 32);
    EXPECT_TRUE(opened.empty());
}
