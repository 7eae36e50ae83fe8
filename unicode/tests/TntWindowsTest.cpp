#include "unicode/TntWindows.h"

#include "platform/core/CodePages.h"
#include "platform/vcl/tests/VisualTestSupport.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Icons.h"
#include "platform/win/LastError.h"
#include "platform/win/Shell.h"
#include "platform/win/VersionInfo.h"
#include "platform/win/WindowProcedures.h"
#include "platform/win/Windows.h"
#include "unicode/TntSysUtils.h"
#include "unicode/TntSystem.h"
#include "unicode/tests/TemporaryFolder.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace {

using namespace kernel32;
using test::TemporaryFolder;

// Runs each test once on the wide road and once on the ANSI road.
class BothRoads : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { Win32PlatformIsUnicode = GetParam(); }
    void TearDown() override { Win32PlatformIsUnicode = true; }
};

INSTANTIATE_TEST_SUITE_P(Road, BothRoads, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Wide" : "Ansi"; });

class AnsiRoad : public ::testing::Test {
protected:
    void SetUp() override { Win32PlatformIsUnicode = false; }
    void TearDown() override { Win32PlatformIsUnicode = true; }
};

TEST_P(BothRoads, FileCallsWorkWithNamesTheAnsiCodePageHolds) {
    TemporaryFolder folder;
    const WideString name = folder.Path() + u"\\caf\u00E9.txt";
    const HANDLE file = Tnt_CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    EXPECT_EQ(Tnt_CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(OSErrorCode::FileExists));
    EXPECT_EQ(Tnt_GetFileAttributesW(name.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);

    WIN32_FIND_DATAW found;
    const WideString mask = folder.Path() + u"\\*.txt";
    const HANDLE search = Tnt_FindFirstFileW(mask.c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(WideString(found.cFileName), u"caf\u00E9.txt");
    EXPECT_FALSE(Tnt_FindNextFileW(search, &found));
    FindClose(search);

    const WideString copy = folder.Path() + u"\\copy", moved = folder.Path() + u"\\moved";
    const WideString sub = folder.Path() + u"\\sub";
    EXPECT_TRUE(Tnt_CopyFileW(name.c_str(), copy.c_str(), TRUE));
    EXPECT_TRUE(Tnt_MoveFileW(copy.c_str(), moved.c_str()));
    EXPECT_TRUE(Tnt_SetFileAttributesW(moved.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_NE(Tnt_GetFileAttributesW(moved.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_TRUE(Tnt_DeleteFileW(moved.c_str()));
    EXPECT_TRUE(Tnt_CreateDirectoryW(sub.c_str(), nullptr));
    EXPECT_TRUE(Tnt_SetCurrentDirectoryW(sub.c_str()));
    EXPECT_TRUE(Tnt_SetCurrentDirectoryW(u"/"));
    EXPECT_TRUE(Tnt_RemoveDirectoryW(sub.c_str()));
    DWORD sectors = 0, bytes = 0, free = 0, total = 0;
    EXPECT_TRUE(Tnt_GetDiskFreeSpaceW(folder.Path().c_str(), &sectors, &bytes, &free, &total));
    EXPECT_GT(total, 0u);
}

TEST_P(BothRoads, NamesComeBackWholeOrWithTheSizeTheyNeed) {
    WideChar buffer[400] = {};
    LPWSTR filePart = nullptr;
    const DWORD length = Tnt_GetFullPathNameW(u"/a/./b/../c.txt", 400, buffer, &filePart);
    EXPECT_EQ(WideString(buffer), u"\\a\\c.txt");
    EXPECT_EQ(length, 8u);
    EXPECT_EQ(filePart, buffer + 3);
    buffer[0] = u'x';
    EXPECT_EQ(Tnt_GetFullPathNameW(u"/a/./b/../c.txt", 5, buffer, &filePart), 9u);
    EXPECT_EQ(filePart, nullptr);

    const DWORD tempLength = Tnt_GetTempPathW(400, buffer);
    const WideString temp(buffer);
    EXPECT_EQ(tempLength, temp.size());
    EXPECT_EQ(temp.back(), u'\\');
    EXPECT_EQ(Tnt_GetTempPathW(2, buffer), tempLength + 1);

    const DWORD moduleLength = Tnt_GetModuleFileNameW(nullptr, buffer, 400);
    const WideString module(buffer);
    EXPECT_EQ(moduleLength, module.size());
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(Tnt_GetModuleFileNameW(nullptr, buffer, 4), 4u);
    EXPECT_EQ(WideString(buffer, 5), module.substr(0, 4) + u"#");

    DWORD size = 400;
    EXPECT_TRUE(Tnt_GetUserNameW(buffer, &size));
    EXPECT_EQ(size, WideString(buffer).size() + 1);
    size = 400;
    EXPECT_TRUE(Tnt_GetComputerNameW(buffer, &size));
    EXPECT_EQ(size, WideString(buffer).size());
    size = 0;
    EXPECT_FALSE(Tnt_GetUserNameW(buffer, &size));
    EXPECT_GT(size, 1u);
}

TEST_F(AnsiRoad, OverflowingNamesFollowTheirOwnRules) {
    const WideString temp = [] {
        WideChar buffer[400] = {};
        Tnt_GetTempPathW(400, buffer);
        return WideString(buffer);
    }();
    WideChar buffer[400];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    const auto exact = static_cast<DWORD>(temp.size());
    EXPECT_EQ(Tnt_GetTempPathW(exact, buffer), exact + 1);
    EXPECT_EQ(WideString(buffer), temp.substr(0, exact - 1));
    EXPECT_EQ(Tnt_GetTempPathW(3, buffer), exact + 1);
    EXPECT_EQ(buffer[0], 0);

    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(Tnt_GetFullPathNameW(u"/abc/def/ghi", 10, buffer, nullptr), 13u);
    EXPECT_EQ(buffer[0], 0);

    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(Tnt_GetShortPathNameW(u"/usr/bin", buffer, 6), 9u);
    EXPECT_EQ(WideString(buffer), u"\\usr");
}

TEST_P(BothRoads, CurrencyTextsAndSizeQueries) {
    WideChar buffer[64] = {};
    const int needed = Tnt_GetCurrencyFormatW(LOCALE_USER_DEFAULT, 0, u"-1234.567", nullptr, nullptr, 0);
    EXPECT_EQ(needed, 12);
    EXPECT_EQ(Tnt_GetCurrencyFormatW(LOCALE_USER_DEFAULT, 0, u"-1234.567", nullptr, buffer, 64), 12);
    EXPECT_EQ(WideString(buffer), u"($1,234.57)");
    EXPECT_EQ(Tnt_GetCurrencyFormatW(LOCALE_USER_DEFAULT, 0, u"-1234.567", nullptr, buffer, 5), 0);
    EXPECT_EQ(Tnt_GetCurrencyFormatW(LOCALE_USER_DEFAULT, 0, u"12x", nullptr, buffer, 64), 0);
}

TEST_P(BothRoads, CompareStringsAndCharacterTypes) {
    EXPECT_EQ(Tnt_CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, u"abc", -1, u"ABC", -1), CSTR_EQUAL);
    EXPECT_EQ(Tnt_CompareStringW(LOCALE_USER_DEFAULT, 0, u"abc", 2, u"abd", 2), CSTR_EQUAL);
    WORD types[3] = {};
    EXPECT_TRUE(Tnt_GetStringTypeExW(LOCALE_USER_DEFAULT, CT_CTYPE1, u"a1 ", 3, types));
    EXPECT_NE(types[0] & C1_ALPHA, 0);
    EXPECT_NE(types[1] & C1_DIGIT, 0);
    EXPECT_NE(types[2] & C1_SPACE, 0);
}

TEST_F(AnsiRoad, CompareStringWithoutFlagsOrdersByCodeUnits) {
    EXPECT_EQ(Tnt_CompareStringW(LOCALE_USER_DEFAULT, 0, u"B", -1, u"a", -1), CSTR_LESS_THAN);
    EXPECT_EQ(Tnt_CompareStringW(LOCALE_USER_DEFAULT, 0, u"\u0417", -1, u"\u0416", -1), CSTR_GREATER_THAN);
    Win32PlatformIsUnicode = true;
    EXPECT_EQ(Tnt_CompareStringW(LOCALE_USER_DEFAULT, 0, u"B", -1, u"a", -1), CSTR_GREATER_THAN);
}

TEST_P(BothRoads, CaseMappingOfTextsAndSingleCharacters) {
    WideChar text[] = u"caf\u00E9";
    EXPECT_EQ(Tnt_CharUpperW(text), text);
    EXPECT_EQ(WideString(text), u"CAF\u00C9");
    EXPECT_EQ(Tnt_CharLowerBuffW(text, 2), 2u);
    EXPECT_EQ(WideString(text), u"caF\u00C9");
    auto single = [](LPWSTR (*map)(LPWSTR), WideChar c) {
        return static_cast<WideChar>(
            reinterpret_cast<UINT_PTR>(map(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(c)))));
    };
    EXPECT_EQ(single(Tnt_CharUpperW, u'\u00E9'), u'\u00C9');
    EXPECT_EQ(single(Tnt_CharLowerW, u'Q'), u'q');
}

TEST_F(AnsiRoad, CharactersWithoutAnAnsiFormKeepTheirCase) {
    WideChar text[] = u"\u0436a";
    Tnt_CharUpperBuffW(text, 2);
    EXPECT_EQ(WideString(text), u"\u0436A");
    Win32PlatformIsUnicode = true;
    Tnt_CharUpperBuffW(text, 2);
    EXPECT_EQ(WideString(text), u"\u0416A");
}

TEST_P(BothRoads, ShellExecutePassesAnEmptyOperationAsNone) {
    std::vector<std::string> opened;
    SetShellOpener([&](const std::string& target) {
        opened.push_back(target);
        return true;
    });
    EXPECT_GT(reinterpret_cast<INT_PTR>(
                  Tnt_ShellExecuteW(nullptr, u"", u"https://example.org/", nullptr, nullptr, 1)),
              32);
    EXPECT_GT(reinterpret_cast<INT_PTR>(
                  Tnt_ShellExecuteW(nullptr, u"open", u"https://example.org/x", nullptr, nullptr, 1)),
              32);
    EXPECT_LE(reinterpret_cast<INT_PTR>(
                  Tnt_ShellExecuteW(nullptr, u"print", u"https://example.org/", nullptr, nullptr, 1)),
              32);
    SetShellOpener(nullptr);
    EXPECT_EQ(opened, (std::vector<std::string>{"https://example.org/", "https://example.org/x"}));
}

HWND createTextWindow() {
    static const ATOM registered = [] {
        WNDCLASSW windowClass;
        windowClass.lpfnWndProc = WindowProcFromFunction(&DefWindowProcW);
        windowClass.lpszClassName = u"TntTextWindow";
        return RegisterClassW(&windowClass);
    }();
    EXPECT_NE(registered, 0);
    return CreateWindowExW(0, u"TntTextWindow", u"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

TEST_P(BothRoads, WindowTextTakesTheWideOrTheAnsiForm) {
    const HWND window = createTextWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(Tnt_SetWindowTextW(window, u"\u0416 caf\u00E9"));
    WideChar text[32] = {};
    GetWindowTextW(window, text, 32);
    EXPECT_EQ(WideString(text), GetParam() ? u"\u0416 caf\u00E9" : u"? caf\u00E9");
    DestroyWindow(window);
}

TEST_P(BothRoads, MenuItemsTakeTheWideOrTheAnsiText) {
    const HMENU menu = CreatePopupMenu();
    WideString caption = u"\u0416 &caf\u00E9";
    MENUITEMINFOW item;
    item.fMask = MIIM_STRING | MIIM_ID;
    item.wID = 7;
    item.dwTypeData = caption.data();
    ASSERT_TRUE(Tnt_InsertMenuItemW(menu, 0, TRUE, &item));
    WideChar text[32] = {};
    GetMenuStringW(menu, 7, text, 32, MF_BYCOMMAND);
    EXPECT_EQ(WideString(text), GetParam() ? u"\u0416 &caf\u00E9" : u"? &caf\u00E9");
    DestroyMenu(menu);
}

TEST_P(BothRoads, ProgramsStartWithTheirArgumentsInTheirFolder) {
    TemporaryFolder folder;
    const std::string script = folder.NativePath() + "/args.sh";
    std::ofstream(script)
        << "#!/bin/sh\nprintf '[%s]' \"$@\" > out.tmp\npwd >> out.tmp\nmv out.tmp out.txt\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    WideString commandLine = u"\"" + UTF8Decode(script) + u"\" one \"caf\u00E9 two\"";
    TStartupInfoW startup;
    PROCESS_INFORMATION process;
    ASSERT_TRUE(Tnt_CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   folder.Path().c_str(), &startup, &process));
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    const std::string out = folder.NativePath() + "/out.txt";
    for (int wait = 0; wait < 2000 && !std::filesystem::exists(out); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream file(out);
    const std::string written((std::istreambuf_iterator<char>(file)), {});
    EXPECT_EQ(written, "[one][caf\xC3\xA9 two]" + folder.NativePath() + "\n");

    WideString missing = folder.Path() + u"/none.sh";
    EXPECT_FALSE(Tnt_CreateProcessW(nullptr, missing.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                    nullptr, &process));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_P(BothRoads, FileOperationsCopyRenameAndDeleteWithoutQuestions) {
    TemporaryFolder folder;
    const WideString file = folder.Path() + u"/caf\u00E9.txt";
    std::ofstream(UTF8Encode(file)) << "x";
    const WideString copy = folder.Path() + u"/copy.txt";
    const WideString from = file + WideString(1, u'\0'), to = copy + WideString(1, u'\0');
    SHFILEOPSTRUCTW operation;
    operation.wFunc = FO_COPY;
    operation.pFrom = from.c_str();
    operation.pTo = to.c_str();
    EXPECT_EQ(Tnt_SHFileOperationW(&operation), 0);
    EXPECT_NE(Tnt_GetFileAttributesW(copy.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(Tnt_SHFileOperationW(&operation), 0) << "the copy is there: no question, no replacing";
    EXPECT_EQ(operation.hNameMappings, nullptr);
    Tnt_SHFreeNameMappings(operation.hNameMappings);
    operation.wFunc = FO_DELETE;
    operation.pFrom = to.c_str();
    EXPECT_EQ(Tnt_SHFileOperationW(&operation), 0);
    EXPECT_EQ(Tnt_GetFileAttributesW(copy.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(Tnt_GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_P(BothRoads, FileInformationAndTheStockIcon) {
    TemporaryFolder folder;
    WideString file = folder.Path() + u"/caf\u00E9.txt";
    std::ofstream(UTF8Encode(file)) << "x";
    SHFILEINFOW info;
    ASSERT_NE(Tnt_SHGetFileInfoW(file.c_str(), 0, &info, sizeof info,
                                 SHGFI_DISPLAYNAME | SHGFI_TYPENAME | SHGFI_ICON),
              0u);
    EXPECT_EQ(WideString(info.szDisplayName), u"caf\u00E9.txt");
    EXPECT_EQ(WideString(info.szTypeName), u"TXT File");
    ASSERT_NE(info.hIcon, nullptr);
    DestroyIcon(info.hIcon);
    WORD index = 9;
    const HICON icon = Tnt_ExtractAssociatedIconW(nullptr, file.data(), &index);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(index, 0);
    DestroyIcon(icon);
}

TEST_P(BothRoads, NoVersionResourceNoStringsAndFixedSystemFolders) {
    TemporaryFolder folder;
    DWORD handle = 1;
    EXPECT_EQ(Tnt_GetFileVersionInfoSizeW(folder.Path().c_str(), &handle), 0u);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
    char block[8];
    EXPECT_FALSE(Tnt_GetFileVersionInfoW(folder.Path().c_str(), 0, sizeof block, block));
    void* value = block;
    UINT length = 3;
    EXPECT_FALSE(Tnt_VerQueryValueW(block, u"\\StringFileInfo\\040904E4\\ProductName", &value, &length));
    EXPECT_EQ(length, 0u);

    WideChar buffer[16] = u"left";
    EXPECT_EQ(Tnt_LoadStringW(nullptr, 65099, buffer, 16), 0);
    EXPECT_EQ(buffer[0], 0);

    EXPECT_EQ(Tnt_GetWindowsDirectoryW(buffer, 16), 4u);
    EXPECT_EQ(WideString(buffer), u"\\usr");
    EXPECT_EQ(Tnt_GetSystemDirectoryW(buffer, 16), 8u);
    EXPECT_EQ(WideString(buffer), u"\\usr\\lib");
    EXPECT_EQ(Tnt_GetSystemDirectoryW(buffer, 4), 9u);
    EXPECT_EQ(WideString(buffer), u"\\usr\\lib") << "a short buffer is left alone";
}

TEST_P(BothRoads, TheFolderChooserGivesItsFolderWide) {
    HeadlessBackendInstalled()->AnswerFileDialog({u"/srv/caf\u00E9"});
    WideChar displayName[MAX_PATH] = {};
    BROWSEINFOW info;
    info.pszDisplayName = displayName;
    info.lpszTitle = u"Folder";
    PIDLIST_ABSOLUTE list = Tnt_SHBrowseForFolderW(&info);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(WideString(displayName), u"caf\u00E9");
    WideChar path[MAX_PATH] = {};
    EXPECT_TRUE(Tnt_SHGetPathFromIDListW(list, path));
    EXPECT_EQ(WideString(path), u"/srv/caf\u00E9");
    CoTaskMemFree(list);
    EXPECT_EQ(Tnt_SHBrowseForFolderW(&info), nullptr) << "no answer: cancelled";
}

TEST(LanguageIdentifiers, PackAndUnpack) {
    EXPECT_EQ(MAKELANGID(0x09, 0x01), 0x0409);
    EXPECT_EQ(PRIMARYLANGID(0x0409), 0x09);
    EXPECT_EQ(SUBLANGID(0x0409), 0x01);
    EXPECT_EQ(MAKELCID(0x0409, 0x0001), 0x00010409u);
    EXPECT_EQ(LANGIDFROMLCID(0x00010409), 0x0409);
    EXPECT_EQ(SORTIDFROMLCID(0x00010409), 0x0001);
    EXPECT_TRUE(Tnt_Is_IntResource(reinterpret_cast<const void*>(0x1234)));
    EXPECT_FALSE(Tnt_Is_IntResource(u"name"));
}

} // namespace
