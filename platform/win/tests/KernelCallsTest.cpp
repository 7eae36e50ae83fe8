// The kernel's file and folder calls: names with either separator, and the
// last error of the calls that fail.
#include "platform/win/KernelCalls.h"
#include "platform/win/LastError.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <unistd.h>

namespace {

using namespace kernel32;

class KernelCallsTest : public ::testing::Test {
protected:
    std::string folder;

    void SetUp() override {
        char temp[MAX_PATH] = {};
        ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
        folder = std::string(temp) + "kernel-calls-" + std::to_string(getpid());
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    }
    void TearDown() override {
        for (const char* name : {"/a.txt", "/b.txt", "/c.txt"})
            DeleteFileA((folder + name).c_str());
        RemoveDirectoryA((folder + "/inner").c_str());
        RemoveDirectoryA(folder.c_str());
    }
    std::string windowsName(const std::string& name) const { return folder + "\\" + name; }
    std::set<std::string> listed() {
        WIN32_FIND_DATAA found;
        std::set<std::string> names;
        HANDLE search = FindFirstFileA((folder + "\\*.txt").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do
            names.insert(found.cFileName);
        while (FindNextFileA(search, &found));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(OSErrorCode::NoMoreFiles));
        FindClose(search);
        return names;
    }
};

TEST_F(KernelCallsTest, FilesAreCopiedMovedFoundAndDeletedByEitherSeparator) {
    HANDLE file = CreateFileA((folder + "/a.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    EXPECT_EQ(GetFileAttributesA(windowsName("a.txt").c_str()), FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_TRUE(CreateDirectoryA(windowsName("inner").c_str(), nullptr));
    EXPECT_EQ(GetFileAttributesA((folder + "/inner").c_str()), FILE_ATTRIBUTE_DIRECTORY);

    EXPECT_TRUE(CopyFileA(windowsName("a.txt").c_str(), (folder + "/b.txt").c_str(), TRUE));
    EXPECT_FALSE(CopyFileA(windowsName("a.txt").c_str(), windowsName("b.txt").c_str(), TRUE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(OSErrorCode::FileExists));
    EXPECT_TRUE(MoveFileA(windowsName("b.txt").c_str(), windowsName("c.txt").c_str()));
    EXPECT_EQ(listed(), (std::set<std::string>{"a.txt", "c.txt"}));

    EXPECT_TRUE(DeleteFileA(windowsName("c.txt").c_str()));
    EXPECT_FALSE(DeleteFileA(windowsName("c.txt").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(GetFileAttributesA((folder + "\\none\\c.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_TRUE(RemoveDirectoryA(windowsName("inner").c_str()));
}

TEST_F(KernelCallsTest, TheTemporaryPathEndsWithADelimiterAndSaysHowLongItIs) {
    char small[2] = {};
    const DWORD needed = GetTempPathA(sizeof small, small);
    char temp[MAX_PATH] = {};
    const DWORD length = GetTempPathA(MAX_PATH, temp);
    EXPECT_EQ(needed, length + 1);
    ASSERT_GT(length, 0u);
    EXPECT_TRUE(temp[length - 1] == '\\' || temp[length - 1] == '/');
}

TEST_F(KernelCallsTest, TheSystemFoldersAreFixedExistingFoldersAndAShortBufferIsLeftAlone) {
    WCHAR windows[MAX_PATH] = {};
    ASSERT_EQ(GetWindowsDirectoryW(windows, MAX_PATH), 4u);
    EXPECT_EQ(WideString(windows), u"\\usr");
    char system[MAX_PATH] = {};
    ASSERT_EQ(GetSystemDirectoryA(system, MAX_PATH), 8u);
    EXPECT_STREQ(system, "\\usr\\lib");
    EXPECT_NE(GetFileAttributesA(system) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    char small[4] = "old";
    EXPECT_EQ(GetSystemDirectoryA(small, sizeof small), 9u);
    EXPECT_STREQ(small, "old");
}

} // namespace
