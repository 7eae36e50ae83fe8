// Starting programs from a command line: the program found, its arguments
// split the Windows way, its folder, its handles, and the failures.
#include "platform/win/Processes.h"

#include "platform/core/CodePages.h"
#include "platform/core/tests/TestFolder.h"
#include "platform/win/LastError.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

using namespace kernel32;

namespace {

class ProcessesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(folder / "work dir");
        folder.write("work dir/args.sh",
                     "#!/bin/sh\n"
                     "for argument in \"$@\"; do printf '[%s]\\n' \"$argument\"; done > out.tmp\n"
                     "pwd >> out.tmp\n"
                     "mv out.tmp out.txt\n");
        std::filesystem::permissions(folder / "work dir/args.sh", std::filesystem::perms::owner_all);
    }

    std::string waitFor(const std::string& name) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!std::filesystem::exists(folder / name) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return folder.read(name);
    }

    WideString wide(const std::string& text) { return UTF8Decode(text); }

    TestFolder folder;
};

TEST_F(ProcessesTest, TheCommandLineNamesTheProgramAndItsArgumentsAndTheChildRunsInItsFolder) {
    const WideString directory = wide(folder / "work dir");
    WideString commandLine = u"\"" + directory + u"/args.sh\" one \"two words\" a\\\"b \u65E5\u672C";
    STARTUPINFOW startup;
    PROCESS_INFORMATION process;
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               directory.c_str(), &startup, &process));
    EXPECT_NE(process.dwProcessId, 0u);
    EXPECT_EQ(waitFor("work dir/out.txt"),
              "[one]\n[two words]\n[a\"b]\n[\xE6\x97\xA5\xE6\x9C\xAC]\n" + folder / "work dir" + "\n");
    EXPECT_TRUE(CloseHandle(process.hProcess));
    EXPECT_TRUE(CloseHandle(process.hThread));
}

TEST_F(ProcessesTest, AnApplicationNameIsTheProgramWhateverTheCommandLineSays) {
    const WideString program = wide(folder / "work dir/args.sh");
    WideString commandLine = u"shown-name x";
    PROCESS_INFORMATION process;
    ASSERT_TRUE(CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               wide(folder.path()).c_str(), nullptr, &process));
    EXPECT_EQ(waitFor("out.txt"), "[x]\n" + folder.path().substr(0, folder.path().size() - 1) + "\n");
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
}

TEST_F(ProcessesTest, FailuresSayWhy) {
    folder.write("plain.txt", "not a program");
    struct Case {
        std::string commandLine;
        std::string directory;
        DWORD error;
    } cases[] = {
        {folder / "missing.sh", "", ERROR_FILE_NOT_FOUND},
        {"no-such-program-anywhere", "", ERROR_FILE_NOT_FOUND},
        {folder / "plain.txt", "", ERROR_ACCESS_DENIED},
        {"\"" + folder / "work dir/args.sh\"", folder / "no folder", ERROR_DIRECTORY},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.commandLine);
        AnsiString commandLine = each.commandLine;
        PROCESS_INFORMATION process;
        SetLastError(0);
        EXPECT_FALSE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                    each.directory.empty() ? nullptr : each.directory.c_str(), nullptr,
                                    &process));
        EXPECT_EQ(GetLastError(), each.error);
        EXPECT_EQ(process.hProcess, nullptr);
    }
    SetLastError(0);
    EXPECT_FALSE(
        CreateProcessW(nullptr, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

// A search-path folder the system can't look into (here a name longer than
// it takes) is passed over on the way to the one that holds the program.
TEST_F(ProcessesTest, AFolderOfTheSearchPathThatCantBeLookedIntoIsPassedOver) {
    const char* oldPath = std::getenv("PATH");
    const std::string savedPath = oldPath ? oldPath : "";
    const std::string workFolder = folder / "work dir";
    setenv("PATH", ("/" + std::string(5000, 'x') + ":" + workFolder + ":" + savedPath).c_str(), 1);
    WideString commandLine = u"args.sh found";
    PROCESS_INFORMATION process;
    const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                        wide(workFolder).c_str(), nullptr, &process);
    setenv("PATH", savedPath.c_str(), 1);
    ASSERT_TRUE(started);
    EXPECT_EQ(waitFor("work dir/out.txt"), "[found]\n" + workFolder + "\n");
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
}

TEST(SplitCommandLine, QuotesAndBackslashesFollowTheRunTimeRules) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"a  b\tc", {"a", "b", "c"}},
        {"\"a b\" \"\"", {"a b", ""}},
        {"a\\\\\"b c\"", {"a\\b c"}},
        {"a\\\\\\\"b", {"a\\\"b"}},
        {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
        {"c:\\dir\\x", {"c:\\dir\\x"}},
        {"", {}},
    };
    for (const auto& [line, arguments] : cases)
        EXPECT_EQ(SplitCommandLine(line), arguments) << line;
}

} // namespace
