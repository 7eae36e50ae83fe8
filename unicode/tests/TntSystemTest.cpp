#include "unicode/TntSystem.h"

#include "platform/win/SystemInfo.h"
#include "unicode/TntSysUtils.h"
#include "unicode/tests/IconvReference.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

using test::IconvDecode;
using test::IconvEncode;

// ---- Platform flags -------------------------------------------------------------------

class PlatformFlags : public ::testing::Test {
protected:
    void TearDown() override {
        SetReportedVersion(VER_PLATFORM_WIN32_NT, 5, 1, 2600);
        ReadPlatformFlags();
    }
};

TEST_F(PlatformFlags, TheReportedPlatformTakesTheWideRoad) {
    EXPECT_TRUE(Win32PlatformIsUnicode);
    EXPECT_TRUE(Win32PlatformIsXP);
}

TEST_F(PlatformFlags, FollowTheVersion) {
    struct Case {
        DWORD platform, major, minor;
        bool unicode, xp;
    };
    const Case cases[] = {
        {VER_PLATFORM_WIN32_NT, 5, 0, true, false},        {VER_PLATFORM_WIN32_NT, 5, 1, true, true},
        {VER_PLATFORM_WIN32_NT, 5, 2, true, true},         {VER_PLATFORM_WIN32_NT, 6, 0, true, true},
        {VER_PLATFORM_WIN32_NT, 4, 0, true, false},        {VER_PLATFORM_WIN32_WINDOWS, 4, 10, false, false},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 90, false, false},
    };
    for (const Case& c : cases) {
        SetReportedVersion(c.platform, c.major, c.minor, 0);
        ReadPlatformFlags();
        EXPECT_EQ(Win32PlatformIsUnicode, c.unicode) << c.major << "." << c.minor;
        EXPECT_EQ(Win32PlatformIsXP, c.xp) << c.major << "." << c.minor;
    }
}

// ---- Code pages against the C library's converter ----------------------------------------

struct CodePageName {
    Cardinal codePage;
    const char* name;
};

// Every code page the character sets and locales name, and the ANSI one.
const CodePageName NamedCodePages[] = {
    {0, "CP1252"},    {1252, "CP1252"}, {874, "CP874"},   {932, "CP932"},
    {936, "CP936"},   {949, "CP949"},   {950, "CP950"},   {1250, "CP1250"},
    {1251, "CP1251"}, {1253, "CP1253"}, {1254, "CP1254"}, {1255, "CP1255"},
    {1256, "CP1256"}, {1257, "CP1257"}, {1258, "CP1258"}, {1361, "CP1361"},
};

TEST(CodePages, EveryByteOfTheSingleByteCodePagesAgreesWithTheReference) {
    for (const CodePageName& page : NamedCodePages) {
        if (page.codePage >= 932 && page.codePage <= 950) continue;
        if (page.codePage == 1361) continue;
        for (int byte = 0x01; byte <= 0xFF; ++byte) {
            const std::string bytes(1, static_cast<char>(byte));
            const auto expected = IconvDecode(page.name, bytes);
            if (!expected || expected->size() != 1) continue;
            EXPECT_EQ(StringToWideStringEx(bytes, page.codePage), *expected) << page.name << " byte " << byte;
            EXPECT_EQ(WideStringToStringEx(*expected, page.codePage), bytes) << page.name << " byte " << byte;
        }
    }
}

TEST(CodePages, DoubleByteTextAgreesWithTheReference) {
    const WideString sample = u"Text: \u65E5\u672C\u8A9E \u30C6\u30AD\u30B9\u30C8 \u4E2D\u6587\u5B57 "
                              u"\uD55C\uAD6D\uC5B4 \u7E41\u9AD4 \uFF71\uFF72";
    for (const CodePageName& page : NamedCodePages) {
        WideString representable;
        for (const char16_t c : sample)
            if (IconvEncode(page.name, WideString(1, c))) representable += c;
        const auto bytes = IconvEncode(page.name, representable);
        ASSERT_TRUE(bytes) << page.name;
        EXPECT_EQ(WideStringToStringEx(representable, page.codePage), *bytes) << page.name;
        EXPECT_EQ(StringToWideStringEx(*bytes, page.codePage), representable) << page.name;
    }
}

TEST(CodePages, CharactersACodePageLacksBecomeItsDefaultCharacter) {
    EXPECT_EQ(WideStringToStringEx(u"a\u0416b", 1252), "a?b");
    EXPECT_EQ(WideStringToStringEx(u"a\u65E5b", 1251), "a?b");
    EXPECT_EQ(WideStringToStringEx(u"\u0416", 1251), "\xC6");
}

TEST(CodePages, BytesACodePageCannotReadBecomeTheReplacementCharacter) {
    EXPECT_EQ(StringToWideStringEx("a\x98z", 1251), u"a\uFFFDz");
    EXPECT_EQ(StringToWideStringEx("a\x82", 932), u"a\uFFFD");
}

TEST(CodePages, AnUnknownCodePageGivesEmptyText) {
    EXPECT_EQ(StringToWideStringEx("abc", 12345), u"");
    EXPECT_EQ(WideStringToStringEx(u"abc", 12345), "");
}

TEST(CodePages, TheUtfCodePagesGoToTheirOwnCoders) {
    EXPECT_EQ(StringToWideStringEx("\xC3\xA9", 65001), u"\u00E9");
    EXPECT_EQ(StringToWideStringEx("+AOk-x", 65000), u"\u00E9x");
    EXPECT_EQ(WideStringToStringEx(u"\u00E9", 65001), "\xC3\xA9");
    EXPECT_EQ(WideStringToStringEx(u"\u00E9.", 65000), "+AOk.");
    EXPECT_EQ(DefaultSystemCodePage(), 0u);
}

// ---- UTF-8 -------------------------------------------------------------------------------

const WideString MixedText =
    u"ASCII, caf\u00E9, \u0416\u0418\u0412, \u20AC 5, \u65E5\u672C, \uFFFD\uFFFF end";

TEST(Utf8, EncodesAsTheReferenceDoesAndReadsItBack) {
    const auto expected = IconvEncode("UTF-8", MixedText);
    ASSERT_TRUE(expected);
    EXPECT_EQ(WideStringToUTF8(MixedText), *expected);
    EXPECT_EQ(UTF8ToWideString(*expected), MixedText);
}

TEST(Utf8, SurrogatePairsAreWrittenAsTwoSequencesAndFourByteFormsReadAsPairs) {
    const WideString pair = u"\U0001F600";
    EXPECT_EQ(WideStringToUTF8(pair), "\xED\xA0\xBD\xED\xB8\x80");
    EXPECT_EQ(UTF8ToWideString(WideStringToUTF8(pair)), pair);
    const auto fourBytes = IconvEncode("UTF-8", pair);
    ASSERT_TRUE(fourBytes);
    EXPECT_EQ(UTF8ToWideString(*fourBytes), pair);
}

TEST(Utf8, IllFormedInputGivesEmptyTextAndOverlongFormsTheReplacementCharacter) {
    struct Case {
        std::string bytes;
        WideString expected;
    };
    const Case cases[] = {
        {"\xC3\xA9", u"\u00E9"},
        {"\xE2\x82\xAC", u"\u20AC"},
        {"ab\xC3", u""},   // truncated
        {"\xE2\x82", u""}, // truncated
        {"\xC3(", u""},    // not a continuation byte
        {"a\x80z", u""},   // a continuation byte cannot start
        {"a\xFFz", u""},
        {"\xF4\x90\x80\x80", u""},       // beyond U+10FFFF
        {"a\xC0\x80z", u"a\uFFFDz"},     // overlong NUL
        {"\xC1\xBF", u"\uFFFD"},         // overlong "\x7F"
        {"\xE0\x80\xAF", u"\uFFFD"},     // overlong "/"
        {"\xF0\x80\x80\x80", u"\uFFFD"}, // overlong four-byte form
        {"\xED\xA0\x80", u"\xD800"},     // a lone surrogate, as the encoder writes it
        {"", u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UTF8ToWideString(c.bytes), c.expected) << testing::PrintToString(c.bytes);
}

// ---- UTF-7 ---------------------------------------------------------------------------------

TEST(Utf7, EncodesTheWayTheRfcExamplesShow) {
    struct Case {
        WideString text;
        std::string expected;
    };
    const Case cases[] = {
        {u"Hi Mom -\u263A-!", "Hi Mom -+Jjo--!"},
        {u"A+B", "A+-B"},
        {u"\u00E9.", "+AOk."},
        {u"\u00E9a", "+AOk-a"},
        {u"~", "+AH4"},
        {u"\u65E5\u672C\u8A9E", "+ZeVnLIqe"},
        {u"a\\b", "a+AFw-b"},
        {u"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WideStringToUTF7(c.text), c.expected);
}

TEST(Utf7, DecodesValidInput) {
    struct Case {
        std::string bytes;
        WideString expected;
    };
    const Case cases[] = {
        {"+-", u"+"},
        {"+AOk", u"\u00E9"},
        {"+AOk-x", u"\u00E9x"},
        {"Hi Mom -+Jjo--!", u"Hi Mom -\u263A-!"},
        {"+ZeVnLIqe", u"\u65E5\u672C\u8A9E"},
        {"a+-b", u"a+b"},
        {"", u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UTF7ToWideString(c.bytes), c.expected) << c.bytes;
}

TEST(Utf7, RejectsInvalidInput) {
    for (const std::string bytes : {"+", "++", "+!", "+AOl", "a+A-", "caf\xE9"}) {
        try {
            UTF7ToWideString(bytes);
            ADD_FAILURE() << bytes << " was accepted";
        } catch (const ETntGeneralError& error) {
            EXPECT_EQ(error.Message, "Invalid UTF7") << bytes;
        }
    }
}

TEST(Utf7, AgreesWithTheReferenceBothWays) {
    const WideString text = MixedText + u" +plus ~tilde \\back \"quoted\" tab\there \U0001F600";
    const std::string ours = WideStringToUTF7(text);
    EXPECT_EQ(IconvDecode("UTF-7", ours), text);
    const auto theirs = IconvEncode("UTF-7", text);
    ASSERT_TRUE(theirs);
    EXPECT_EQ(UTF7ToWideString(*theirs), text);
}

// ---- Raw UTF-16 -----------------------------------------------------------------------------

TEST(Ucs2, TakesLittleEndianBytesAndDropsAnOddOne) {
    EXPECT_EQ(UCS2ToWideString(std::string("a\0\x16\x04", 4)), u"a\u0416");
    EXPECT_EQ(UCS2ToWideString(std::string("a\0b", 3)), u"a");
    EXPECT_EQ(UCS2ToWideString(""), u"");
    EXPECT_EQ(WideStringToUCS2(u"a\u0416"), std::string("a\0\x16\x04", 4));
}

TEST(Ucs2, SwapsByteOrderUpToTheTerminator) {
    WideChar text[] = {0x4100, 0x1604, 0, 0x4100};
    StrSwapByteOrder(text);
    EXPECT_EQ(text[0], 0x0041);
    EXPECT_EQ(text[1], 0x0416);
    EXPECT_EQ(text[3], 0x4100);
}

// ---- Character sets, locales, keys -------------------------------------------------------------

TEST(CodePagesOf, CharacterSetsHaveTheirAnsiCodePages) {
    EXPECT_EQ(CharSetToCodePage(0), 1252u);
    EXPECT_EQ(CharSetToCodePage(204), 1251u);
    EXPECT_EQ(CharSetToCodePage(238), 1250u);
    EXPECT_EQ(CharSetToCodePage(128), 932u);
    EXPECT_THROW(CharSetToCodePage(1), EOSError);
    EXPECT_THROW(CharSetToCodePage(255), EOSError);
}

TEST(CodePagesOf, LocalesHaveTheirAnsiCodePages) {
    EXPECT_EQ(LCIDToCodePage(0x0409), 1252u);
    EXPECT_EQ(LCIDToCodePage(0x0419), 1251u);
    EXPECT_EQ(LCIDToCodePage(0x0411), 932u);
    EXPECT_EQ(LCIDToCodePage(0xFFFFFFFF), GetACP());
}

class KeyboardLanguage : public ::testing::Test {
protected:
    void TearDown() override { SetKeyboardLanguage(0x0409); }
};

TEST_F(KeyboardLanguage, KeyCodesBecomeCharactersOfTheKeyboardsCodePage) {
    EXPECT_EQ(KeyboardCodePage(), 1252u);
    EXPECT_EQ(KeyUnicode(0x41), 0x0041);
    EXPECT_EQ(KeyUnicode(0x80), 0x20AC);
    EXPECT_EQ(KeyUnicode(0x0416), 0x0416);
    SetKeyboardLanguage(0x0419);
    EXPECT_EQ(KeyboardCodePage(), 1251u);
    EXPECT_EQ(KeyUnicode(0xC6), 0x0416);
    SetKeyboardLanguage(0x0411);
    EXPECT_EQ(KeyUnicode(0xB1), 0xFF71);
}

// ---- Resource strings and parameters ---------------------------------------------------------

TResStringRec textRecord(const char* text) {
    return TResStringRec{nullptr, reinterpret_cast<NativeUInt>(text)};
}

TEST(ResourceStrings, TextsWithTheUtf8MarkAreUtf8) {
    const TResStringRec marked = textRecord("\xEF\xBB\xBF\xD0\x96 ok");
    const TResStringRec plain = textRecord("caf\xE9");
    const TResStringRec markOnly = textRecord("\xEF\xBB\xBF");
    EXPECT_EQ(WideLoadResString(&marked), u"\u0416 ok");
    EXPECT_EQ(WideLoadResString(&plain), u"caf\u00E9");
    EXPECT_EQ(WideLoadResString(&markOnly), u"\u00EF\u00BB\u00BF");
    EXPECT_EQ(WideLoadResString(nullptr), u"");
}

bool translated(PResStringRec, WideString& Value) {
    Value = u"translated";
    return true;
}

TEST(ResourceStrings, ACustomLoaderIsAskedFirst) {
    const TResStringRec plain = textRecord("plain");
    WideCustomLoadResString = &translated;
    EXPECT_EQ(WideLoadResString(&plain), u"translated");
    WideCustomLoadResString = nullptr;
    EXPECT_EQ(WideLoadResString(&plain), u"plain");
}

TEST(Parameters, FollowTheCommandLine) {
    std::ifstream file("/proc/self/cmdline", std::ios::binary);
    std::vector<std::string> arguments;
    for (std::string argument; std::getline(file, argument, '\0');)
        arguments.push_back(argument);
    ASSERT_FALSE(arguments.empty());
    ASSERT_EQ(WideParamCount(), static_cast<Integer>(arguments.size() - 1));
    for (std::size_t i = 1; i < arguments.size(); ++i)
        EXPECT_EQ(WideParamStr(static_cast<Integer>(i)), UTF8ToWideString(arguments[i]));
    EXPECT_EQ(WideParamStr(0), WideGetModuleFileName(nullptr));
    EXPECT_EQ(WideParamStr(WideParamCount() + 1), u"");
}

} // namespace
