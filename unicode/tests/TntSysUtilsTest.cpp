#include "unicode/TntSysUtils.h"

#include "platform/core/CodePages.h"
#include "platform/win/Kernel.h"
#include "platform/win/LastError.h"
#include "platform/win/Modules.h"
#include "platform/win/Windows.h"
#include "unicode/TntClasses.h"
#include "unicode/TntSystem.h"
#include "unicode/tests/TemporaryFolder.h"

#include <cfenv>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using test::TemporaryFolder;

void writeFile(const std::string& nativeName, const std::string& bytes) {
    std::ofstream(nativeName, std::ios::binary) << bytes;
}

// ---- Strings ---------------------------------------------------------------------------------

TEST(WideStrings, CaseQuotesAndSmallHelpers) {
    EXPECT_EQ(Tnt_WideUpperCase(u"caf\u00E9 \u0436"), u"CAF\u00C9 \u0416");
    EXPECT_EQ(Tnt_WideLowerCase(u"CAF\u00C9 \u0416"), u"caf\u00E9 \u0436");
    EXPECT_EQ(WideLastChar(u""), 0);
    EXPECT_EQ(WideLastChar(u"ab"), u'b');
    EXPECT_EQ(WideQuotedStr(u"", u'\''), u"''");
    EXPECT_EQ(WideQuotedStr(u"it's", u'\''), u"'it''s'");
    EXPECT_EQ(WideDequotedStr(u"'it''s' rest", u'\''), u"it's");
    EXPECT_EQ(WideDequotedStr(u"plain", u'\''), u"plain");
    EXPECT_EQ(WideTextPos(u"\u0436X", u"ab\u0416x"), 3);
    EXPECT_EQ(WideTextPos(u"zz", u"abc"), 0);
    EXPECT_TRUE(IsRTF(u"{\\rtf1 text"));
    EXPECT_TRUE(IsRTF(u"{\\RTF"));
    EXPECT_TRUE(IsRTF(u"{urtf"));
    EXPECT_FALSE(IsRTF(u"{\\rt"));
    EXPECT_TRUE(IsWideStringMappableToAnsi(u"caf\u00E9 \u20AC"));
    EXPECT_FALSE(IsWideCharMappableToAnsi(u'\u0416'));
}

TEST(WideStrings, ExtractQuotedValuesAndMovesPastThem) {
    const WideString text = u"'a''b' rest";
    const WideChar* p = text.c_str();
    EXPECT_EQ(Tnt_WideExtractQuotedStr(p, u'\''), u"a'b");
    EXPECT_EQ(WideString(p), u" rest");
    const WideChar* unclosed = u"'open";
    EXPECT_EQ(Tnt_WideExtractQuotedStr(unclosed, u'\''), u"open");
    EXPECT_EQ(*unclosed, 0);
    const WideChar* unquoted = u"x";
    EXPECT_EQ(Tnt_WideExtractQuotedStr(unquoted, u'\''), u"");
    EXPECT_EQ(*unquoted, u'x');
}

TEST(WideStrings, ReplacesWholeWordsOnlyWhenAsked) {
    struct Case {
        WideString text, from, to;
        TReplaceFlags flags;
        bool wholeWord;
        WideString expected;
    };
    const Case cases[] = {
        {u"a cat.", u"cat", u"dog", rfNone, true, u"a dog."},
        {u"concat", u"cat", u"dog", rfReplaceAll, true, u"concat"},
        {u"cat cat", u"cat", u"dog", rfNone, true, u"dog cat"},
        {u"concat cat cat", u"cat", u"dog", rfNone, true, u"concat dog cat"},
        {u"cat cat", u"cat", u"dog", rfReplaceAll, true, u"dog dog"},
        {u"Cat CAT", u"cat", u"x", rfReplaceAll | rfIgnoreCase, false, u"x x"},
        {u"Cat CAT", u"cat", u"x", rfReplaceAll, false, u"Cat CAT"},
        {u"aaa", u"a", u"bb", rfReplaceAll, false, u"bbbbbb"},
        {u"abc", u"", u"x", rfReplaceAll, false, u"abc"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Tnt_WideStringReplace(c.text, c.from, c.to, c.flags, c.wholeWord), c.expected);
}

TEST(WideStrings, AdjustsEveryKindOfLineBreak) {
    EXPECT_EQ(TntAdjustLineBreaks(u"a\rb\nc", tlbsCRLF), u"a\r\nb\r\nc");
    EXPECT_EQ(TntAdjustLineBreaks(u"a\r\nb\u2028c\n\r", tlbsLF), u"a\nb\nc\n\n");
    EXPECT_EQ(TntAdjustLineBreaks(u"a\r\nb", tlbsCR), u"a\rb");
    EXPECT_EQ(TntAdjustLineBreaksLength(u"a\rb\nc", tlbsCRLF), 7);
}

TEST(WideStrings, WrapsAtBreakCharactersOutsideQuotes) {
    EXPECT_EQ(WideWrapText(u"aaa bbb ccc", 5), u"aaa \r\nbbb \r\nccc");
    EXPECT_EQ(WideWrapText(u"\"a b c d\" e", 3), u"\"a b c d\" \r\ne");
    EXPECT_EQ(WideWrapText(u"short", 20), u"short");
    EXPECT_EQ(WideWrapText(u"aa\r\nbb cc", 4), u"aa\r\nbb \r\ncc");
}

TEST(WideStrings, NumbersUseAPointWhateverTheSettings) {
    const char saved = DecimalSeparator;
    DecimalSeparator = ',';
    EXPECT_EQ(ENG_US_FloatToStr(1.5), u"1.5");
    EXPECT_DOUBLE_EQ(ENG_US_StrToFloat(u"2.25"), 2.25);
    EXPECT_EQ(DecimalSeparator, ',');
    DecimalSeparator = saved;
}

TEST(WideStrings, ReadsDoubleNullTerminatedLists) {
    const WideString list(u"one\0two\0\0", 9);
    EXPECT_EQ(ExtractStringArrayStr(list.c_str()), list);
    EXPECT_EQ(ExtractStringsFromStringArray(list.c_str()), (std::vector<WideString>{u"one", u"two"}));
    const WideChar* p = u"a;b";
    EXPECT_EQ(ExtractStringFromStringArray(p, u';'), u"a");
    EXPECT_EQ(ExtractStringFromStringArray(p, u';'), u"b");
    EXPECT_EQ(*p, 0);
}

// ---- File names -----------------------------------------------------------------------------------

TEST(WideFileNames, FollowTheBackslashAndDriveRules) {
    EXPECT_EQ(WideExtractFileDrive(u"\\\\server\\share\\dir\\f"), u"\\\\server\\share");
    EXPECT_EQ(WideExtractFileDrive(u"C:\\x"), u"C:");
    EXPECT_EQ(WideExtractFileDrive(u"\\x"), u"");
    EXPECT_EQ(WideExtractFilePath(u"C:\\dir\\f.txt"), u"C:\\dir\\");
    EXPECT_EQ(WideExtractFilePath(u"C:f.txt"), u"C:");
    EXPECT_EQ(WideExtractFileDir(u"C:\\dir\\f.txt"), u"C:\\dir");
    EXPECT_EQ(WideExtractFileDir(u"C:\\f.txt"), u"C:\\");
    EXPECT_EQ(WideExtractFileName(u"C:\\dir\\f.txt"), u"f.txt");
    EXPECT_EQ(WideExtractFileExt(u"C:\\d.ir\\f.tar.gz"), u".gz");
    EXPECT_EQ(WideExtractFileExt(u"C:\\d.ir\\f"), u"");
    EXPECT_EQ(WideChangeFileExt(u"C:\\d.ir\\f", u".htm"), u"C:\\d.ir\\f.htm");
    EXPECT_EQ(WideChangeFileExt(u"f.txt", u""), u"f");
    EXPECT_EQ(WideIncludeTrailingPathDelimiter(u"a"), u"a\\");
    EXPECT_EQ(WideIncludeTrailingBackslash(u"a\\"), u"a\\");
    EXPECT_EQ(WideExcludeTrailingPathDelimiter(u"a\\"), u"a");
    EXPECT_TRUE(WideIsPathDelimiter(u"a\\", 2));
    EXPECT_FALSE(WideIsPathDelimiter(u"a\\", 3));
    EXPECT_TRUE(WideIsDelimiter(u":\\", u"c:", 2));
    EXPECT_EQ(WideLastDelimiter(u"\\:", u"c:\\a\\b"), 5);
    EXPECT_EQ(WideLastDelimiter(u"\\", u"abc"), 0);
}

TEST(WideFileNames, RelativePathsShareTheCommonFolders) {
    EXPECT_EQ(WideExtractRelativePath(u"C:\\a\\b\\base.txt", u"C:\\a\\c\\d\\f.txt"), u"..\\c\\d\\f.txt");
    EXPECT_EQ(WideExtractRelativePath(u"c:\\A\\base.txt", u"C:\\a\\f.txt"), u"f.txt");
    EXPECT_EQ(WideExtractRelativePath(u"C:\\a\\base.txt", u"D:\\a\\f.txt"), u"D:\\a\\f.txt");
}

TEST(WideFileNames, ExpandsNamesOfAnyLength) {
    TemporaryFolder folder;
    ASSERT_EQ(::chdir(folder.NativePath().c_str()), 0);
    const WideString longName = WideString(300, u'n') + u"\\..\\" + WideString(250, u'\u0416') + u".txt";
    const WideString expanded = WideExpandFileName(longName);
    WideString expected = UTF8Decode(folder.NativePath()) + u"/" + WideString(250, u'\u0416') + u".txt";
    std::replace(expected.begin(), expected.end(), u'/', u'\\');
    EXPECT_EQ(expanded, expected);
    EXPECT_GT(expanded.size(), 260u);
    EXPECT_EQ(WideExtractFileName(expanded), WideString(250, u'\u0416') + u".txt");
    ASSERT_EQ(::chdir("/"), 0);

    WideString deep = folder.Path();
    for (int level = 0; level < 3; ++level) {
        deep += u"\\" + WideString(100, u'd');
        ASSERT_TRUE(WideCreateDir(deep));
    }
    std::replace(deep.begin(), deep.end(), u'/', u'\\');
    EXPECT_EQ(WideExtractShortPathName(deep), deep);
}

TEST(WideFileNames, TheModuleNameIsTheProgramsFullName) {
    const WideString name = WideGetModuleFileName(nullptr);
    EXPECT_EQ(WideExtractFileName(name), u"unicode_tests");
    EXPECT_EQ(name[0], u'\\');
}

// ---- Files and folders ------------------------------------------------------------------------------

class WideFiles : public ::testing::Test {
protected:
    WideString at(const WideString& name) const { return folder.Path() + u"\\" + name; }
    std::string nativeAt(const std::string& name) const { return folder.NativePath() + "/" + name; }
    TemporaryFolder folder;
};

TEST_F(WideFiles, ExistenceAgeAndAttributes) {
    const WideString file = at(u"\u0416.txt");
    EXPECT_FALSE(WideFileExists(file));
    EXPECT_EQ(WideFileAge(file), -1);
    EXPECT_FALSE(WideFileIsReadOnly(file));
    EXPECT_FALSE(WideFileSetReadOnly(file, true));
    writeFile(nativeAt("\xD0\x96.txt"), "data");
    EXPECT_TRUE(WideFileExists(file));
    EXPECT_FALSE(WideFileExists(at(u"\u0436.txt")));
    EXPECT_NE(WideFileAge(file), -1);
    EXPECT_FALSE(WideFileExists(folder.Path()));
    EXPECT_TRUE(WideDirectoryExists(folder.Path()));
    EXPECT_FALSE(WideDirectoryExists(file));
    EXPECT_TRUE(WideFileSetReadOnly(file, true));
    EXPECT_TRUE(WideFileIsReadOnly(file));
    EXPECT_TRUE(WideFileSetReadOnly(file, false));
    EXPECT_FALSE(WideFileIsReadOnly(file));
    EXPECT_EQ(WideFileGetAttr(file) & faDirectory, 0u);
}

TEST_F(WideFiles, CreateOpenCopyRenameDelete) {
    const WideString file = at(u"\u65E5.bin");
    const THandle created = WideFileCreate(file);
    ASSERT_NE(created, InvalidHandle);
    EXPECT_EQ(FileWrite(created, "abc", 3), 3);
    FileClose(created);
    const THandle opened = WideFileOpen(file, fmOpenRead | fmShareDenyWrite);
    ASSERT_NE(opened, InvalidHandle);
    char buffer[8] = {};
    EXPECT_EQ(FileRead(opened, buffer, 8), 3);
    FileClose(opened);
    EXPECT_EQ(WideFileOpen(file, 3), InvalidHandle);
    EXPECT_EQ(WideFileOpen(file, fmOpenRead | 0x50), InvalidHandle);
    EXPECT_EQ(WideFileOpen(at(u"missing"), fmOpenRead), InvalidHandle);

    EXPECT_TRUE(WideCopyFile(file, at(u"copy"), true));
    EXPECT_FALSE(WideCopyFile(file, at(u"copy"), true));
    EXPECT_TRUE(WideRenameFile(at(u"copy"), at(u"\u0416")));
    EXPECT_FALSE(WideRenameFile(file, at(u"\u0416")));
    EXPECT_TRUE(WideDeleteFile(at(u"\u0416")));
    EXPECT_FALSE(WideDeleteFile(at(u"\u0416")));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(WideFiles, ForcesFoldersAndSearchesForFiles) {
    EXPECT_THROW(WideForceDirectories(u""), ETntGeneralError);
    const WideString deep = at(u"a\\\u0416\\c\\");
    EXPECT_TRUE(WideForceDirectories(deep));
    EXPECT_TRUE(WideDirectoryExists(at(u"a\\\u0416\\c")));
    EXPECT_TRUE(WideForceDirectories(deep));
    writeFile(nativeAt("a/\xD0\x96/found.txt"), "x");
    EXPECT_EQ(WideFileSearch(u"found.txt", at(u"a") + u";" + at(u"a\\\u0416")), at(u"a\\\u0416\\found.txt"));
    EXPECT_EQ(WideFileSearch(u"nowhere.txt", at(u"a")), u"");
    EXPECT_TRUE(WideRemoveDir(at(u"a\\\u0416\\c")));
    EXPECT_FALSE(WideRemoveDir(at(u"a")));
    EXPECT_TRUE(WideCreateDir(at(u"b")));
    EXPECT_FALSE(WideCreateDir(at(u"b")));
    EXPECT_TRUE(WideSetCurrentDir(at(u"b")));
    EXPECT_TRUE(WideFileExists(u"..\\a\\\u0416\\found.txt"));
    ASSERT_EQ(::chdir("/"), 0);
}

TEST_F(WideFiles, FindsEntriesByMaskAndAttributes) {
    writeFile(nativeAt("b.txt"), "12345");
    writeFile(nativeAt("A.TXT"), "1");
    writeFile(nativeAt("\xD0\x96.txt"), "");
    writeFile(nativeAt("c.dat"), "");
    writeFile(nativeAt(".hidden.txt"), "");
    ::mkdir(nativeAt("sub.txt").c_str(), 0700);

    auto namesFound = [&](Integer attributes) {
        std::vector<WideString> names;
        TSearchRecW found;
        for (Integer result = WideFindFirst(at(u"*.txt"), attributes, found); result == 0;
             result = WideFindNext(found))
            names.push_back(found.Name);
        WideFindClose(found);
        return names;
    };
    EXPECT_EQ(namesFound(0), (std::vector<WideString>{u"A.TXT", u"b.txt", u"\u0416.txt"}));
    EXPECT_EQ(namesFound(faDirectory | faHidden),
              (std::vector<WideString>{u".hidden.txt", u"A.TXT", u"b.txt", u"sub.txt", u"\u0416.txt"}));

    TSearchRecW found;
    ASSERT_EQ(WideFindFirst(at(u"b.txt"), 0, found), 0);
    EXPECT_EQ(found.Size, 5);
    EXPECT_EQ(found.Time, WideFileAge(at(u"b.txt")));
    EXPECT_EQ(WideFindNext(found), static_cast<Integer>(OSErrorCode::NoMoreFiles));
    WideFindClose(found);
    EXPECT_EQ(found.FindHandle, kernel32::INVALID_HANDLE_VALUE);
    EXPECT_EQ(WideFindFirst(at(u"*.none"), 0, found), static_cast<Integer>(ERROR_FILE_NOT_FOUND));
}

// ---- Locale, dates and currency ----------------------------------------------------------------------

TEST(WideModules, ALibraryOfTheProgramLoadsAndAnyOtherIsAPackageError) {
    const UINT previousMode = SetErrorMode(0);
    std::feraiseexcept(FE_INEXACT);
    EXPECT_NE(WideSafeLoadLibrary(u"riched20.dll", SEM_FAILCRITICALERRORS), nullptr);
    EXPECT_EQ(SetErrorMode(0), 0u) << "the mode in force before comes back";
    EXPECT_FALSE(std::fetestexcept(FE_INEXACT)) << "the flags the load left are cleared";
    EXPECT_NE(WideLoadPackage(u"RICHED20"), nullptr);
    try {
        WideLoadPackage(u"пакет.bpl");
        ADD_FAILURE() << "no such package";
    } catch (const EPackageError& error) {
        EXPECT_EQ(error.Message,
                  WideToAnsi(u"Can't load package пакет.bpl.\r\n") + SysErrorMessage(ERROR_MOD_NOT_FOUND));
    }
    SetErrorMode(previousMode);
}

TEST(WideLocale, ReadsLocaleTextsWithDefaults) {
    EXPECT_EQ(WideGetLocaleStr(LOCALE_USER_DEFAULT, LOCALE_SCURRENCY, u"?"), u"$");
    EXPECT_EQ(WideGetLocaleStr(LOCALE_USER_DEFAULT, 0x7777, u"fallback"), u"fallback");
}

TEST(WideDates, ReadTheUsersDateAndTimeForms) {
    EXPECT_TRUE(ValidDateTimeStr(u"12/31/2004 1:30:00 PM"));
    EXPECT_DOUBLE_EQ(TntStrToDate(u"12/31/2004"), 38352.0);
    EXPECT_DOUBLE_EQ(TntStrToDateTime(u"1/1/2000 6:00 PM"), 36526.75);
    EXPECT_DOUBLE_EQ(TntStrToTime(u"1/1/2000 6:00"), 0.25);
    EXPECT_DOUBLE_EQ(TntStrToDate(u"1/1/2000 6:00"), 36526.0);
    EXPECT_FALSE(ValidDateStr(u"2/30/2001"));
    EXPECT_FALSE(ValidTimeStr(u"25:00"));
    EXPECT_DOUBLE_EQ(TntStrToDateDef(u"nonsense", -1), -1);
    try {
        TntStrToDate(u"nonsense");
        ADD_FAILURE();
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message, "'nonsense' is not a valid date\r\nType mismatch.");
    }
}

TEST(WideCurrency, ParsesAndFormatsTheLocalesCurrency) {
    EXPECT_EQ(TntStrToCurr(u"$1,234.5"), 12345000);
    EXPECT_EQ(TntStrToCurr(u"(2.00005)"), -20001);
    EXPECT_EQ(TntStrToCurrDef(u"abc", 7), 7);
    EXPECT_FALSE(ValidCurrencyStr(u"1.2.3"));
    EXPECT_THROW(TntStrToCurr(u""), EConvertError);
    EXPECT_EQ(TntCurrToStr(12345000), u"$1,234.50");
    EXPECT_EQ(TntCurrToStr(-5000), u"($0.50)");
    const kernel32::CURRENCYFMTW format = GetDefaultCurrencyFmt();
    EXPECT_EQ(format.NumDigits, 2u);
    EXPECT_EQ(format.Grouping, 3u);
    EXPECT_EQ(WideString(format.lpCurrencySymbol), u"$");
    EXPECT_EQ(WideString(format.lpDecimalSep), u".");
    WideChar euro[] = u"\u20AC", comma[] = u",", space[] = u" ";
    const kernel32::CURRENCYFMTW european{2, 1, 3, comma, space, 8, 3, euro};
    EXPECT_EQ(TntCurrToStr(-12345678900, &european), u"-1 234 567,89 \u20AC");
}

// ---- Errors and character classes ---------------------------------------------------------------------

TEST(WideErrors, SystemMessagesAndTheirFallback) {
    EXPECT_EQ(WideSysErrorMessage(2), u"The system cannot find the file specified.\r\n");
    EXPECT_EQ(WideLibraryErrorMessage(u"mylib", nullptr, 0x1234), u"Unspecified error (4660) from mylib.");
    EXPECT_TRUE(CheckWin32Version(5, 1));
    EXPECT_FALSE(CheckWin32Version(6));
    int value = 0;
    EXPECT_EQ(WinCheckP(&value), &value);
    EXPECT_THROW(WinCheckP(nullptr), EOSError);
    EXPECT_THROW(WinCheckH(nullptr), EOSError);
    EXPECT_THROW(WinCheckFileH(kernel32::INVALID_HANDLE_VALUE), EOSError);
}

TEST(WideCharClasses, FollowTheCharacterTypes) {
    EXPECT_TRUE(IsWideCharUpper(u'\u0416'));
    EXPECT_TRUE(IsWideCharLower(u'\u00E9'));
    EXPECT_TRUE(IsWideCharDigit(u'7'));
    EXPECT_TRUE(IsWideCharSpace(u'\t'));
    EXPECT_TRUE(IsWideCharPunct(u'.'));
    EXPECT_TRUE(IsWideCharCntrl(u'\x01'));
    EXPECT_TRUE(IsWideCharBlank(u' '));
    EXPECT_TRUE(IsWideCharXDigit(u'f'));
    EXPECT_TRUE(IsWideCharAlpha(u'\u0416'));
    EXPECT_TRUE(IsWideCharAlphaNumeric(u'5'));
    EXPECT_FALSE(IsWideCharAlphaNumeric(u'-'));
}

} // namespace
