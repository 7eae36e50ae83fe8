// The shell's file operations on a scratch folder: each operation's main
// path, wildcards and several targets, and the refusals that leave every
// file as it was.
#include "platform/win/ShellFileOperations.h"

#include "platform/core/CodePages.h"
#include "platform/core/tests/TestFolder.h"
#include "platform/win/LastError.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

class ShellFileOperationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.write("a.txt", "A");
        folder.write("b.log", "B");
        fs::create_directories(folder / "tree/inner");
        folder.write("tree/inner/c.txt", "C");
        fs::create_directory(folder / "target");
    }

    // A name list: each name in the folder, ended by a zero, the list by a second one.
    WideString names(std::initializer_list<std::string> list) {
        WideString text;
        for (const std::string& name : list) {
            text += UTF8Decode(folder / name);
            text += u'\0';
        }
        return text + u'\0';
    }

    int run(UINT function, const WideString& from, const WideString& to, FILEOP_FLAGS flags = 0) {
        SHFILEOPSTRUCTW operation;
        operation.wFunc = function;
        operation.pFrom = from.c_str();
        operation.pTo = to.empty() ? nullptr : to.c_str();
        operation.fFlags = flags | FOF_NOCONFIRMMKDIR;
        return SHFileOperationW(&operation);
    }

    bool exists(const std::string& name) { return fs::exists(folder / name); }

    TestFolder folder;
};

TEST_F(ShellFileOperationsTest, CopyMoveRenameAndDeleteDoWhatTheyName) {
    EXPECT_EQ(run(FO_COPY, names({"a.txt", "tree"}), names({"target"})), 0);
    EXPECT_EQ(folder.read("target/a.txt"), "A");
    EXPECT_EQ(folder.read("target/tree/inner/c.txt"), "C");
    EXPECT_TRUE(exists("a.txt"));

    EXPECT_EQ(run(FO_COPY, names({"a.txt"}), names({"new/folder/copy.txt"})), 0);
    EXPECT_EQ(folder.read("new/folder/copy.txt"), "A");

    EXPECT_EQ(run(FO_MOVE, names({"b.log"}), names({"target"})), 0);
    EXPECT_FALSE(exists("b.log"));
    EXPECT_EQ(folder.read("target/b.log"), "B");

    EXPECT_EQ(run(FO_RENAME, names({"tree"}), WideString(u"\u6728\0\0", 3)), 0);
    EXPECT_TRUE(exists("\xE6\x9C\xA8/inner/c.txt"));
    EXPECT_FALSE(exists("tree"));

    EXPECT_EQ(run(FO_DELETE, names({"target/*.*", "a.txt"}), {}), 0);
    EXPECT_TRUE(fs::is_empty(folder / "target"));
    EXPECT_FALSE(exists("a.txt"));
}

TEST_F(ShellFileOperationsTest, WildcardsAndOneTargetForEachSource) {
    EXPECT_EQ(run(FO_COPY, names({"*.TXT", "*.log"}), names({"target"}), FOF_FILESONLY), 0);
    EXPECT_TRUE(exists("target/a.txt"));
    EXPECT_TRUE(exists("target/b.log"));

    EXPECT_EQ(run(FO_COPY, names({"a.txt", "b.log"}), names({"one.txt", "two.log"}), FOF_MULTIDESTFILES), 0);
    EXPECT_EQ(folder.read("one.txt"), "A");
    EXPECT_EQ(folder.read("two.log"), "B");
}

TEST_F(ShellFileOperationsTest, RefusalsLeaveEverythingAsItWas) {
    struct Case {
        UINT function;
        WideString from;
        WideString to;
        FILEOP_FLAGS flags;
        int result;
    } cases[] = {
        {FO_COPY, names({"a.txt", "missing.txt"}), names({"target"}), 0,
         static_cast<int>(ERROR_FILE_NOT_FOUND)},
        {FO_DELETE, names({"a.txt", "nothing*.xyz"}), {}, 0, static_cast<int>(ERROR_FILE_NOT_FOUND)},
        {FO_COPY, names({"a.txt"}), names({"b.log"}), 0, static_cast<int>(OSErrorCode::AlreadyExists)},
        {FO_MOVE, names({"tree"}), names({"tree/inner"}), 0, DE_DESTSUBTREE},
        {FO_COPY, names({"a.txt"}), names({"a.txt"}), FOF_NOCONFIRMATION, DE_SAMEFILE},
        {FO_COPY, names({"a.txt"}), {}, 0, static_cast<int>(ERROR_INVALID_PARAMETER)},
        {9, names({"a.txt"}), names({"target"}), 0, static_cast<int>(ERROR_INVALID_PARAMETER)},
    };
    for (const Case& each : cases) {
        EXPECT_EQ(run(each.function, each.from, each.to, each.flags), each.result);
        EXPECT_EQ(folder.read("a.txt"), "A");
        EXPECT_EQ(folder.read("b.log"), "B");
        EXPECT_TRUE(exists("tree/inner/c.txt"));
        EXPECT_TRUE(fs::is_empty(folder / "target"));
    }
}

TEST_F(ShellFileOperationsTest, AnExistingTargetIsReplacedOnlyWhenNoQuestionIsWanted) {
    EXPECT_EQ(run(FO_COPY, names({"a.txt"}), names({"b.log"}), FOF_NOCONFIRMATION), 0);
    EXPECT_EQ(folder.read("b.log"), "A");
}

TEST_F(ShellFileOperationsTest, TheAnsiCallReadsItsListsInTheAnsiCodePage) {
    const AnsiString from = WideToAnsi(names({"a.txt"})), to = WideToAnsi(names({"caf\xC3\xA9.txt"}));
    SHFILEOPSTRUCTA operation;
    operation.wFunc = FO_COPY;
    operation.pFrom = from.c_str();
    operation.pTo = to.c_str();
    EXPECT_EQ(SHFileOperationA(&operation), 0);
    EXPECT_EQ(folder.read("caf\xC3\xA9.txt"), "A");
    EXPECT_EQ(operation.hNameMappings, nullptr);
    SHFreeNameMappings(operation.hNameMappings);
}

} // namespace
