#include "platform/core/IniFiles.h"

#include "TestFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::string_literals;

namespace {

std::vector<AnsiString> linesOf(const TStrings& list) {
    std::vector<AnsiString> lines;
    for (Integer i = 0; i < list.Count(); ++i)
        lines.push_back(list[i]);
    return lines;
}

} // namespace

TEST(IniFile, AMissingFileGivesTheDefaultsAndIsNotCreated) {
    TestFolder folder;
    TIniFile ini(folder / "absent.ini");
    EXPECT_EQ(ini.ReadString("Form", "LangFile", "English.lng"), "English.lng");
    EXPECT_EQ(ini.ReadInteger("Form", "Top", 100), 100);
    EXPECT_TRUE(ini.ReadBool("Form", "Wrap", true));
    TStringList keys;
    keys.Add("stale");
    ini.ReadSection("Form", &keys);
    EXPECT_EQ(keys.Count(), 0);
    EXPECT_FALSE(ini.SectionExists("Form"));
    ini.EraseSection("Form");
    ini.DeleteKey("Form", "Top");
    EXPECT_FALSE(FileExists(folder / "absent.ini"));
}

TEST(IniFile, SectionsAndKeysIgnoreCaseAndValuesLoseBlanksAndQuotes) {
    TestFolder folder;
    folder.write("s.ini",
                 "\xEF\xBB\xBF[Form]\r\n  Top = 10 \r\nName=\"  spaced  \"\r\nQuote='x'\r\nEmpty=\r\n"
                 "[form]\r\nTop=99\r\n[ Other ]\nKey=v\n;Top=1\n");
    TIniFile ini(folder / "s.ini");
    EXPECT_EQ(ini.ReadInteger("FORM", "top", 0), 10); // the first of two equal sections counts
    EXPECT_EQ(ini.ReadString("form", "NAME", ""), "  spaced  ");
    EXPECT_EQ(ini.ReadString("Form", "Quote", ""), "x");
    EXPECT_EQ(ini.ReadString("Form", "Empty", "default"), "");
    EXPECT_EQ(ini.ReadString("other", "key", ""), "v");
    EXPECT_FALSE(ini.ValueExists("Other", "Top")); // a comment is no key
    TStringList list;
    ini.ReadSections(&list);
    EXPECT_EQ(linesOf(list), (std::vector<AnsiString>{"Form", "Other"}));
    ini.ReadSection("form", &list);
    EXPECT_EQ(linesOf(list), (std::vector<AnsiString>{"Top", "Name", "Quote", "Empty"}));
    ini.ReadSectionValues("Form", &list);
    EXPECT_EQ(list[0], "Top=10");
}

TEST(IniFile, IntegersAreDecimalOrHexadecimalElseTheDefault) {
    TestFolder folder;
    folder.write("n.ini", "[N]\r\ndec=-42\r\nhex=0x1F\r\nHEX=0XfF\r\ndollar=$10\r\nbad=12abc\r\nempty=\r\n"
                          "half=0x\r\nbig=4294967296\r\ntrue=2\r\nword=yes\r\n");
    TIniFile ini(folder / "n.ini");
    const std::vector<std::pair<const char*, Integer>> cases = {
        {"dec", -42}, {"hex", 31}, {"HEX", 31}, {"dollar", 16}, {"bad", 7},
        {"empty", 7}, {"half", 7}, {"big", 7},  {"missing", 7},
    };
    for (const auto& [key, value] : cases)
        EXPECT_EQ(ini.ReadInteger("N", key, 7), value) << key;
    EXPECT_TRUE(ini.ReadBool("N", "true", false));
    EXPECT_TRUE(ini.ReadBool("N", "dec", false));
    EXPECT_TRUE(ini.ReadBool("N", "word", true));
    EXPECT_FALSE(ini.ReadBool("N", "word", false));
}

TEST(IniFile, WritingKeepsEveryOtherLine) {
    TestFolder folder;
    folder.write("k.ini", "; settings\r\n\r\n[Form]\r\nTop=100\r\n; window height\r\nHeight = 600 \r\n\r\n"
                          "[Color]\r\nBack=clWindow\r\njunk line\r\n");
    ::chmod((folder / "k.ini").c_str(), 0640);
    TIniFile ini(folder / "k.ini");
    ini.WriteInteger("FORM", "top", 5);
    ini.WriteString("form", "Width", "700");
    ini.WriteBool("Path", "Wrap", true);
    ini.DeleteKey("color", "BACK");
    EXPECT_EQ(folder.read("k.ini"),
              "; settings\r\n\r\n[Form]\r\nTop=5\r\n; window height\r\nHeight = 600 \r\n"
              "Width=700\r\n\r\n[Color]\r\njunk line\r\n\r\n[Path]\r\nWrap=1\r\n");
    ini.EraseSection("Color");
    EXPECT_EQ(folder.read("k.ini"),
              "; settings\r\n\r\n[Form]\r\nTop=5\r\n; window height\r\nHeight = 600 \r\n"
              "Width=700\r\n\r\n[Path]\r\nWrap=1\r\n");
    struct stat info {};
    ::stat((folder / "k.ini").c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_TRUE(ini.ReadBool("Path", "wrap", false));
}

TEST(IniFile, WritesCreateTheFileAndFollowLinks) {
    TestFolder folder;
    TIniFile ini(folder.path() + "sub\\..\\new.ini"); // "\" separates folders too
    ::mkdir((folder / "sub").c_str(), 0700);
    ini.WriteString("Database", "LastDBase", "demo.zelk");
    EXPECT_EQ(folder.read("new.ini"), "[Database]\r\nLastDBase=demo.zelk\r\n");

    ::symlink("new.ini", (folder / "link.ini").c_str());
    TIniFile linked(folder / "link.ini");
    linked.WriteString("Database", "LastDBase", "other.zelk");
    struct stat info {};
    ::lstat((folder / "link.ini").c_str(), &info);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(ini.ReadString("Database", "LastDBase", ""), "other.zelk");
}

TEST(IniFile, AFileThatCannotBeWrittenRaises) {
    TestFolder folder;
    TIniFile ini(folder / "no/such/folder.ini");
    try {
        ini.WriteString("S", "K", "V");
        FAIL() << "no exception";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message, "Unable to write to " + folder / "no/such/folder.ini");
    }
}

TEST(IniFile, AWriteKeepsWhatFollowsANulByte) {
    TestFolder folder;
    folder.write("nul.ini", "[A]\r\nx=1\r\nbad\0byte\r\n[B]\r\ny=2\r\n"s);
    TIniFile ini(folder / "nul.ini");
    EXPECT_EQ(ini.ReadString("B", "y", ""), "2");
    ini.WriteString("A", "x", "3");
    EXPECT_EQ(folder.read("nul.ini"), "[A]\r\nx=3\r\nbad\0byte\r\n[B]\r\ny=2\r\n"s);
}

TEST(IniFile, AUtf16FileIsReadButNeverRewritten) {
    TestFolder folder;
    const std::string utf16 = "\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\xE9\0\r\0\n\0"s;
    folder.write("wide.ini", utf16);
    TIniFile ini(folder / "wide.ini");
    EXPECT_EQ(ini.ReadString("S", "k", ""), "\xE9");
    EXPECT_THROW(ini.WriteString("S", "k", "v"), EIniFileException);
    EXPECT_THROW(ini.DeleteKey("S", "k"), EIniFileException);
    EXPECT_EQ(folder.read("wide.ini"), utf16);
}

TEST(IniFile, AFileThatCannotBeReadIsNotWrittenOver) {
    if (::geteuid() == 0) GTEST_SKIP() << "every file is readable for root";
    TestFolder folder;
    folder.write("locked.ini", "[S]\r\nk=v\r\n");
    ::chmod((folder / "locked.ini").c_str(), 0200);
    TIniFile ini(folder / "locked.ini");
    EXPECT_EQ(ini.ReadString("S", "k", "default"), "default");
    EXPECT_THROW(ini.WriteString("S", "other", "x"), EFOpenError);
    ::chmod((folder / "locked.ini").c_str(), 0600);
    EXPECT_EQ(folder.read("locked.ini"), "[S]\r\nk=v\r\n");
}

// The read-only attribute binds every user, the administrator too: the test
// holds for root as well.
TEST(IniFile, AReadOnlyFileIsRefusedAndKeptAsItIs) {
    TestFolder folder;
    folder.write("read-only.ini", "[S]\r\nk=v\r\n");
    const std::string name = folder / "read-only.ini";
    ::chmod(name.c_str(), 0444);
    TIniFile ini(name);
    SetLastOSError(OSErrorCode::Success);
    EXPECT_THROW(ini.WriteString("S", "k", "changed"), EIniFileException);
    EXPECT_EQ(GetLastOSError(), OSErrorCode::AccessDenied);
    EXPECT_THROW(ini.EraseSection("S"), EIniFileException);
    EXPECT_EQ(folder.read("read-only.ini"), "[S]\r\nk=v\r\n");
    struct stat info {};
    ASSERT_EQ(::stat(name.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0444u);
}

// Another user's file in a folder everyone may write: the folder would take
// the replacement by rename, but the file is not the user's to write. Root
// writes every file, so the write is tried by a process given up to "nobody".
TEST(IniFile, AFileTheUserMayNotWriteIsRefusedThoughItsFolderIsWritable) {
    constexpr uid_t nobody = 65534;
    if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
    TestFolder folder;
    ::chmod(folder.path().c_str(), 0777);
    folder.write("theirs.ini", "[S]\r\nk=v\r\n");
    const std::string name = folder / "theirs.ini";
    ::chmod(name.c_str(), 0644);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(nobody) != 0 || ::setuid(nobody) != 0) ::_exit(2);
        try {
            TIniFile(name).WriteString("S", "k", "changed");
        } catch (const EIniFileException&) {
            ::_exit(GetLastOSError() == OSErrorCode::AccessDenied ? 0 : 3);
        }
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: written, 2: could not become nobody, 3: another reason";
    EXPECT_EQ(folder.read("theirs.ini"), "[S]\r\nk=v\r\n");
    struct stat info {};
    ASSERT_EQ(::stat(name.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 0u);
}

// A lookup walks the section once: before, every line of the section
// walked it again, and this file took minutes to read.
TEST(IniFile, ALongSectionIsReadInOneWalk) {
    TestFolder folder;
    constexpr int keyCount = 100000;
    std::string text = "[Big]\r\n";
    for (int i = 0; i < keyCount; ++i)
        text += "key" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    folder.write("big.ini", text);
    TIniFile ini(folder / "big.ini");
    EXPECT_EQ(ini.ReadInteger("Big", "key99999", -1), keyCount - 1);
    ini.WriteInteger("Big", "new", 1);
    EXPECT_EQ(ini.ReadInteger("Big", "new", -1), 1);
}
