// What the shell says about files with nothing more to go on than their
// names: display and type names, the stock icon, and the refusals.
#include "platform/win/ShellFolders.h"

#include "platform/core/CodePages.h"
#include "platform/core/tests/TestFolder.h"
#include "platform/win/Icons.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(ShellFolders, FileInformationGivesDisplayAndTypeNames) {
    TestFolder folder;
    folder.write("notes.txt", "");
    folder.write("README", "");
    std::filesystem::create_directory(folder / "\xE6\x97\xA5.d");
    const std::pair<std::string, std::pair<WideString, WideString>> cases[] = {
        {"notes.txt", {u"notes.txt", u"TXT File"}},
        {"README", {u"README", u"File"}},
        {"\xE6\x97\xA5.d", {u"\u65E5.d", u"File folder"}},
    };
    for (const auto& [name, expected] : cases) {
        SHFILEINFOW info;
        const WideString path = UTF8Decode(folder / name);
        ASSERT_NE(SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME | SHGFI_TYPENAME),
                  0u);
        EXPECT_EQ(WideString(info.szDisplayName), expected.first);
        EXPECT_EQ(WideString(info.szTypeName), expected.second);
        EXPECT_EQ(info.hIcon, nullptr);
    }
}

TEST(ShellFolders, DescribedFilesNeedNotExistAndMissingOnesOtherwiseFail) {
    SHFILEINFOA info;
    EXPECT_NE(SHGetFileInfoA("C:\\nowhere\\photo.jpeg", 0, &info, sizeof info,
                             SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME),
              0u);
    EXPECT_STREQ(info.szTypeName, "JPEG File");
    EXPECT_NE(SHGetFileInfoA("/nowhere/sub", kernel32::FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                             SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME),
              0u);
    EXPECT_STREQ(info.szTypeName, "File folder");
    EXPECT_EQ(SHGetFileInfoA("/nowhere/photo.jpeg", 0, &info, sizeof info, SHGFI_TYPENAME), 0u);
    EXPECT_EQ(SHGetFileInfoA("/tmp", 0, &info, sizeof info - 1, SHGFI_TYPENAME), 0u);
    EXPECT_EQ(SHGetFileInfoA("/tmp", 0, nullptr, sizeof info, SHGFI_TYPENAME), 0u);
}

TEST(ShellFolders, EveryFileShowsItsOwnCopyOfTheStockIcon) {
    SHFILEINFOW info;
    info.iIcon = 7;
    ASSERT_NE(SHGetFileInfoW(u"/tmp", 0, &info, sizeof info, SHGFI_ICON), 0u);
    ASSERT_NE(info.hIcon, nullptr);
    EXPECT_EQ(info.iIcon, 0);
    WCHAR path[kernel32::MAX_PATH] = u"/tmp/any.doc";
    WORD index = 3;
    HICON icon = ExtractAssociatedIconW(nullptr, path, &index);
    ASSERT_NE(icon, nullptr);
    EXPECT_NE(icon, info.hIcon);
    EXPECT_EQ(index, 0);
    ICONINFO parts;
    EXPECT_TRUE(GetIconInfo(icon, &parts));
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_TRUE(DestroyIcon(info.hIcon));
    EXPECT_EQ(ExtractAssociatedIconA(nullptr, nullptr, &index), nullptr);
}

TEST(ShellFolders, NoItemListNoPath) {
    WCHAR path[kernel32::MAX_PATH] = u"left over";
    EXPECT_FALSE(SHGetPathFromIDListW(nullptr, path));
    EXPECT_EQ(path[0], 0);
}

} // namespace
