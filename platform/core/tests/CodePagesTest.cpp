#include "platform/core/CodePages.h"

#include "platform/core/System.h"

#include <gtest/gtest.h>

namespace {

// The characters Windows-1252 puts at 0x80..0x9F (undefined bytes map to the
// C1 control of the same number).
constexpr WideChar High1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                   0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

WideChar expected1252(int byte) {
    return byte >= 0x80 && byte <= 0x9F ? High1252[byte - 0x80] : WideChar(byte);
}

} // namespace

TEST(CodePages, EveryByteOf1252ConvertsBothWays) {
    for (int byte = 0; byte < 256; ++byte) {
        const AnsiString ansi(1, static_cast<char>(byte));
        const WideString wide = AnsiToWide(ansi);
        ASSERT_EQ(wide.size(), 1u);
        EXPECT_EQ(wide[0], expected1252(byte)) << byte;
        EXPECT_EQ(CodePageToWide(ansi, CP_ACP), wide) << byte;
        EXPECT_EQ(CodePageToWide(ansi, CP_WINDOWS_1252), wide) << byte;
        bool usedDefault = true;
        EXPECT_EQ(WideToCodePage(wide, CP_ACP, &usedDefault), ansi) << byte;
        EXPECT_FALSE(usedDefault) << byte;
        EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(ansi)), ansi) << byte;
    }
}

TEST(CodePages, UnmappableCharactersBecomeTheDefaultCharacter) {
    bool usedDefault = false;
    EXPECT_EQ(WideToCodePage(u"a\u0100\u20AC\u0416", CP_ACP, &usedDefault), "a?\x80?");
    EXPECT_TRUE(usedDefault);
    EXPECT_EQ(WideToCodePage(u"\u20AC\u00E9", CP_ISO_8859_1, &usedDefault), "?\xE9");
    EXPECT_TRUE(usedDefault);
    EXPECT_EQ(WideToCodePage(u"x\U0001F600y", CP_ACP, &usedDefault), "x?y"); // one character, one "?"
    EXPECT_EQ(CodePageToWide("\x80\xE9", CP_ISO_8859_1), u"\u0080\u00E9");

    const WideString text = u"\u0416\u00E9";
    char out[8] = {};
    const char hash = '#';
    Integer used = 0;
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text.data(), 2, out, sizeof out, &hash, &used), 2);
    EXPECT_EQ(AnsiString(out, 2), "#\xE9");
    EXPECT_EQ(used, 1);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"ok", 2, out, sizeof out, nullptr, &used), 2);
    EXPECT_EQ(used, 0);
}

TEST(CodePages, Utf8EncodesAndDecodes) {
    const WideString text = u"a\u00E9\u20AC\U0001F600";
    const std::string bytes = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    EXPECT_EQ(UTF8Encode(text), bytes);
    EXPECT_EQ(UTF8Decode(bytes), text);
    EXPECT_EQ(AnsiToUtf8("\xE9\x80"), "\xC3\xA9\xE2\x82\xAC");

    // Ill-formed input: one U+FFFD per bad sequence, or a failure on request.
    EXPECT_EQ(UTF8Decode("a\xC3"), u"a\uFFFD");
    EXPECT_EQ(UTF8Decode("\xC0\xAF"
                         "b"),
              u"\uFFFD\uFFFD"
              "b");
    EXPECT_EQ(UTF8Decode("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(UTF8Decode("\xE2\x82x"), u"\uFFFDx");
    WideChar buffer[8];
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xC3", 2, buffer, 8), 0);
    EXPECT_EQ(GetLastOSError(), OSErrorCode::NoUnicodeTranslation);

    const WideString loneSurrogate(1, WideChar(0xD800));
    EXPECT_EQ(UTF8Encode(loneSurrogate), "\xEF\xBF\xBD");
    char bytesOut[8];
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, loneSurrogate.data(), 1, bytesOut, 8,
                                  nullptr, nullptr),
              0);
    EXPECT_EQ(GetLastOSError(), OSErrorCode::NoUnicodeTranslation);
}

TEST(CodePages, CallsMeasureTerminateAndReportErrors) {
    WideChar wide[4] = {};
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, nullptr, 0), 4); // the terminator counts
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, wide, 4), 4);
    EXPECT_EQ(WideString(wide), u"abc");
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 3, wide, 2), 0);
    EXPECT_EQ(GetLastOSError(), OSErrorCode::InsufficientBuffer);
    EXPECT_EQ(MultiByteToWideChar(437, 0, "abc", 3, wide, 4), 0);
    EXPECT_EQ(GetLastOSError(), OSErrorCode::InvalidParameter);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 0, wide, 4), 0);
    EXPECT_EQ(GetLastOSError(), OSErrorCode::InvalidParameter);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "abc", 3, wide, 4), 0);
    EXPECT_EQ(GetLastOSError(), OSErrorCode::InvalidFlags);

    Integer used = 0;
    char out[4];
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", 1, out, 4, nullptr, &used), 0);
    EXPECT_EQ(GetLastOSError(), OSErrorCode::InvalidParameter);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"\u20AC", 1, nullptr, 0, nullptr, nullptr), 3);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"\u20AC", 1, out, 2, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastOSError(), OSErrorCode::InsufficientBuffer);
}

TEST(CodePages, CharacterClassesOfTheAnsiCodePage) {
    struct Case {
        unsigned char byte;
        Word type1;
        Word type3;
    };
    const Case cases[] = {
        {'A', C1_UPPER | C1_ALPHA | C1_XDIGIT | C1_DEFINED, C3_ALPHA | C3_HALFWIDTH},
        {'z', C1_LOWER | C1_ALPHA | C1_DEFINED, C3_ALPHA | C3_HALFWIDTH},
        {'5', C1_DIGIT | C1_XDIGIT | C1_DEFINED, C3_HALFWIDTH},
        {' ', C1_SPACE | C1_BLANK | C1_DEFINED, C3_HALFWIDTH},
        {'\t', C1_SPACE | C1_BLANK | C1_CNTRL | C1_DEFINED, 0},
        {'\n', C1_SPACE | C1_CNTRL | C1_DEFINED, 0},
        {'_', C1_PUNCT | C1_DEFINED, C3_SYMBOL | C3_HALFWIDTH},
        {0xE9, C1_LOWER | C1_ALPHA | C1_DEFINED, C3_ALPHA | C3_HALFWIDTH}, // é
        {0xC9, C1_UPPER | C1_ALPHA | C1_DEFINED, C3_ALPHA | C3_HALFWIDTH}, // É
        {0x8A, C1_UPPER | C1_ALPHA | C1_DEFINED, C3_ALPHA | C3_HALFWIDTH}, // Š
        {0xDF, C1_LOWER | C1_ALPHA | C1_DEFINED, C3_ALPHA | C3_HALFWIDTH}, // ß
        {0xD7, C1_PUNCT | C1_DEFINED, C3_SYMBOL | C3_HALFWIDTH},           // ×
        {0x80, C1_PUNCT | C1_DEFINED, C3_SYMBOL | C3_HALFWIDTH},           // €
        {0xA0, C1_SPACE | C1_BLANK | C1_DEFINED, C3_HALFWIDTH},            // no-break space
        {0xB2, C1_DIGIT | C1_PUNCT | C1_DEFINED, C3_HALFWIDTH},            // ²
        {0x81, C1_CNTRL | C1_DEFINED, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AnsiCharType(static_cast<char>(c.byte), CT_CTYPE1), c.type1) << int(c.byte);
        EXPECT_EQ(AnsiCharType(static_cast<char>(c.byte), CT_CTYPE3), c.type3) << int(c.byte);
    }
    EXPECT_EQ(WideCharType(0x0416, CT_CTYPE1) & (C1_UPPER | C1_ALPHA), C1_UPPER | C1_ALPHA); // Ж
    EXPECT_EQ(WideCharType(0x4E00, CT_CTYPE3) & (C3_IDEOGRAPH | C3_FULLWIDTH), C3_IDEOGRAPH | C3_FULLWIDTH);
}

TEST(CodePages, CaseMappingStaysWithinEachRepertoire) {
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        const char upper = AnsiCharUpper(c), lower = AnsiCharLower(c);
        EXPECT_TRUE(upper == c || AnsiCharLower(upper) == c) << byte;
        EXPECT_TRUE(lower == c || AnsiCharUpper(lower) == c) << byte;
        const bool letter = (AnsiCharType(c, CT_CTYPE1) & C1_ALPHA) != 0;
        EXPECT_TRUE(letter || (upper == c && lower == c)) << byte;
    }
    EXPECT_EQ(AnsiCharUpper('\xFF'), '\x9F'); // ÿ -> Ÿ
    EXPECT_EQ(AnsiCharUpper('\xB5'), '\xB5'); // µ has no upper case in the code page
    EXPECT_EQ(WideCharUpper(0xB5), 0x39C);
    EXPECT_EQ(WideCharUpper(0x0436), 0x0416);
    EXPECT_EQ(WideCharLower(0x0178), 0xFF);
}

TEST(CodePages, TheSystemCodePageHasNoLeadBytes) {
    for (int byte = 0; byte < 256; ++byte) {
        EXPECT_FALSE(IsDBCSLeadByte(static_cast<Byte>(byte)));
        EXPECT_FALSE(IsDBCSLeadByteEx(CP_ACP, static_cast<Byte>(byte)));
    }
    EXPECT_EQ(ByteType("\x81\x40", 1), mbSingleByte);
    EXPECT_FALSE(SysLocaleFarEast);
}
