#include "platform/core/SysUtils.h"

#include <gtest/gtest.h>

namespace {

struct FormatCase {
    const char* format;
    std::vector<TVarRec> args;
    const char* expected;
};

template <typename Exceptional> AnsiString messageOf(Exceptional call) {
    try {
        call();
    } catch (const Exception& e) {
        return e.Message;
    }
    return "(nothing raised)";
}

} // namespace

TEST(Format, FormatsEveryTypeWithWidthPrecisionAndIndex) {
    const std::vector<FormatCase> cases = {
        {"%d", {42}, "42"},
        {"%5d|%-5d|", {42, 42}, "   42|42   |"},
        {"%05d", {3}, "    3"}, // a leading zero is part of the width, not a fill
        {"%.5d", {-12}, "-00012"},
        {"%u", {-1}, "4294967295"},
        {"%x %X", {255, 255}, "FF FF"},
        {"%x", {-1}, "FFFFFFFF"},
        {"%x", {Int64(-1)}, "FFFFFFFFFFFFFFFF"},
        {"%.4x", {10}, "000A"},
        {"%d", {Int64(1) << 40}, "1099511627776"},
        {"%s|%.2s|%4s|%-4s|", {"abc", "abc", "ab", "ab"}, "abc|ab|  ab|ab  |"},
        {"%s", {WideString(u"\u00E9\u0416")}, "\xE9?"},
        {"%c%c", {'x', 65}, "xA"},
        {"%*d|%-*d|", {4, 7, 3, 7}, "   7|7  |"},
        {"%1:s %0:s %s", {"a", "b"}, "b a b"},
        {"%.*f", {3, 1.5}, "1.500"},
        {"%f %.0f %.1f", {2.5, 2.5, 0.05}, "2.50 3 0.1"},
        {"%e", {1.5}, "1.50000000000000E+000"},
        {"%.3e", {-12345.0}, "-1.23E+004"},
        {"%g %g %g", {0.00001, 123.456, 1e20}, "1E-5 123.456 1E20"},
        {"%n", {1234567.891}, "1,234,567.89"},
        {"%m %m", {1234.5, -1234.5}, "$1,234.50 ($1,234.50)"},
        {"%p", {reinterpret_cast<const void*>(std::uintptr_t{0x1234})}, "0000000000001234"},
        {"100%% %d%%", {5}, "100% 5%"},
        {"%D %S", {1, "x"}, "1 x"},
    };
    for (const FormatCase& c : cases)
        EXPECT_EQ(Format(c.format, c.args), c.expected) << c.format;
}

TEST(Format, RejectsMissingAndMismatchedArguments) {
    EXPECT_EQ(messageOf([] { Format("%d", {"x"}); }), "Format '%d' invalid or incompatible with argument");
    EXPECT_EQ(messageOf([] { Format("%f", {1}); }), "Format '%f' invalid or incompatible with argument");
    EXPECT_EQ(messageOf([] { Format("%s", {1}); }), "Format '%s' invalid or incompatible with argument");
    EXPECT_EQ(messageOf([] { Format("%q", {1}); }), "Format '%q' invalid or incompatible with argument");
    EXPECT_EQ(messageOf([] { Format("%d %d", {1}); }), "No argument for format '%d %d'");
    EXPECT_EQ(messageOf([] { Format("%5", {1}); }), "Format '%5' invalid or incompatible with argument");
    EXPECT_THROW(Format("%d", {}), EConvertError);
}

TEST(Integers, ConvertToAndFromText) {
    EXPECT_EQ(IntToStr(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(IntToStr(Int64(1) << 40), "1099511627776");
    EXPECT_EQ(IntToHex(255, 1), "FF");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
    EXPECT_EQ(IntToHex(Int64(-1), 2), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(IntToHex(0, 0), "0");

    const std::vector<std::pair<const char*, Integer>> valid = {
        {"42", 42},
        {"  42", 42},
        {"-42", -42},
        {"+7", 7},
        {"$FF", 255},
        {"0x1F", 31},
        {"0XfF", 255},
        {"x10", 16},
        {"-$10", -16},
        {"$FFFFFFFF", -1},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"007", 7},
    };
    for (const auto& [text, value] : valid)
        EXPECT_EQ(StrToInt(text), value) << text;

    for (const char* text : {"", " ", "42 ", "4x", "2147483648", "$1FFFFFFFF", "0x", "--1", "1.5", "\t1"}) {
        Integer value = 99;
        EXPECT_FALSE(TryStrToInt(text, value)) << text;
        EXPECT_EQ(value, 99);
        EXPECT_EQ(StrToIntDef(text, -5), -5) << text;
    }
    EXPECT_EQ(messageOf([] { StrToInt("abc"); }), "'abc' is not a valid integer value");
    EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(StrToInt64Def("9223372036854775808", 3), 3);
}

TEST(Integers, MulDivRoundsHalvesAwayFromZero) {
    struct Case {
        Integer number, numerator, denominator, expected;
    };
    const Case cases[] = {
        {1, 1, 2, 1},
        {-1, 1, 2, -1},
        {3, 2, 4, 2},
        {-3, 2, 4, -2},
        {10, 3, 4, 8},
        {7, 3, 2, 11},
        {2, 5, -4, -3},
        {1, 1, 3, 0},
        {2, 1, 3, 1},
        {5, 3, 0, -1},
        {1 << 30, 4, 1, -1},
        {100000, 100000, 100000, 100000},
        {-2147483647 - 1, 1, 1, -2147483647 - 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected)
            << c.number << "*" << c.numerator << "/" << c.denominator;
}

TEST(FloatText, FloatToStrUsesTheShortestGeneralForm) {
    const std::vector<std::pair<double, const char*>> cases = {
        {1.5, "1.5"},
        {0.1, "0.1"},
        {100, "100"},
        {0, "0"},
        {-2.25, "-2.25"},
        {1e20, "1E20"},
        {1e-5, "1E-5"},
        {0.0001, "0.0001"},
        {1.0 / 3, "0.333333333333333"},
        {123456789012345678.0, "1.23456789012346E17"},
        {999999999999999.0, "999999999999999"},
        {1e15, "1E15"},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(FloatToStr(value), expected) << expected;
}

TEST(FloatText, FloatToStrFFormats) {
    EXPECT_EQ(FloatToStrF(1.5, ffFixed, 15, 3), "1.500");
    EXPECT_EQ(FloatToStrF(2.675, ffFixed, 15, 2), "2.68");
    EXPECT_EQ(FloatToStrF(-0.001, ffFixed, 15, 2), "0.00");
    EXPECT_EQ(FloatToStrF(1234567.5, ffNumber, 15, 1), "1,234,567.5");
    EXPECT_EQ(FloatToStrF(1.5, ffExponent, 4, 2), "1.500E+00");
    EXPECT_EQ(FloatToStrF(1e30, ffFixed, 15, 2), "1E30");
}

TEST(FloatText, FormatFloatPictures) {
    struct Case {
        const char* picture;
        double value;
        const char* expected;
    };
    const Case cases[] = {
        {"#,###' kB'", 1234567, "1,234,567 kB"},
        {"#,###' kB'", 0, " kB"},
        {"0.00", 3.14159, "3.14"},
        {"#.##", 0.5, ".5"},
        {"0.##", 1, "1"},
        {"000", 7, "007"},
        {"#,##0.00", -1234.5, "-1,234.50"},
        {"0.00;(0.00)", -1.5, "(1.50)"},
        {"0.00;;\"zero\"", 0, "zero"},
        {"0.###E+00", 12345, "1.235E+04"},
        {"0E-0", 0.05, "5E-2"},
        {"00-00", 1234, "12-34"},
        {".00", 12.5, "12.50"},
        {"", 2.5, "2.5"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatFloat(c.picture, c.value), c.expected) << c.picture;
}

TEST(FloatText, StrToFloatAcceptsTheDecimalSeparatorOnly) {
    EXPECT_DOUBLE_EQ(StrToFloat(" 1.25 "), 1.25);
    EXPECT_DOUBLE_EQ(StrToFloat("-1E3"), -1000);
    EXPECT_EQ(messageOf([] { StrToFloat("1,5"); }), "'1,5' is not a valid floating point value");
    EXPECT_DOUBLE_EQ(StrToFloatDef("abc", 7), 7);
    EXPECT_DOUBLE_EQ(StrToFloatDef("nan", 7), 7);
    DecimalSeparator = ',';
    EXPECT_DOUBLE_EQ(StrToFloatDef("1,5", 0), 1.5);
    EXPECT_DOUBLE_EQ(StrToFloatDef("1.5", 0), 0);
    EXPECT_EQ(FloatToStr(1.5), "1,5");
    DecimalSeparator = '.';
}

TEST(Strings, CaseMappingOfAsciiAndOfTheAnsiCodePage) {
    EXPECT_EQ(UpperCase("ab\xE9z"), "AB\xE9Z");
    EXPECT_EQ(LowerCase("AB\xC9Z"), "ab\xC9z");
    // à é ÿ š œ ž ß µ
    EXPECT_EQ(AnsiUpperCase("\xE0\xE9\xFF\x9A\x9C\x9E\xDF\xB5x"), "\xC0\xC9\x9F\x8A\x8C\x8E\xDF\xB5X");
    EXPECT_EQ(AnsiLowerCase("\xC0\xC9\x9F\x8A\x8C\x8E\xD7X"), "\xE0\xE9\xFF\x9A\x9C\x9E\xD7x");
}

TEST(Strings, OrdinalAndLocaleComparisons) {
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_EQ(CompareText("abc", "ABC"), 0);
    EXPECT_NE(CompareText("\xE9", "\xC9"), 0); // only ASCII letters fold
    EXPECT_GT(CompareStr("a", "B"), 0);
    EXPECT_LT(CompareStr("ab", "abc"), 0);

    EXPECT_LT(AnsiCompareStr("a", "B"), 0);
    EXPECT_LT(AnsiCompareStr("a", "A"), 0); // lower case first
    EXPECT_EQ(AnsiCompareText("a", "A"), 0);
    EXPECT_EQ(AnsiCompareText("\xE9t\xE9", "\xC9T\xC9"), 0);
    EXPECT_LT(AnsiCompareText("resume", "r\xE9sum\xE9"), 0);
    EXPECT_LT(AnsiCompareText("r\xE9sum\xE9", "resumf"), 0); // accents weigh less than letters
    EXPECT_LT(AnsiCompareText("coop", "co-op"), 0);
    EXPECT_LT(AnsiCompareText("co-op", "cop"), 0); // the hyphen is skipped first
    EXPECT_LT(AnsiCompareText("_x", "1"), 0);      // punctuation, digits, letters
    EXPECT_LT(AnsiCompareText("9", "a"), 0);
    EXPECT_LT(AnsiCompareText("apple", "Zebra"), 0);
    EXPECT_EQ(AnsiCompareText("stra\xDF"
                              "e",
                              "STRASSE"),
              0);
    EXPECT_TRUE(AnsiSameText("Form", "FORM"));
    EXPECT_FALSE(AnsiSameStr("Form", "FORM"));
}

TEST(Strings, TrimPosReplaceAndQuote) {
    EXPECT_EQ(Trim("\t a b \r\n"), "a b");
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a "), "  a");
    EXPECT_EQ(Trim("\xA0"
                   "a"),
              "\xA0"
              "a");

    EXPECT_EQ(Pos("b", "abcb"), 2);
    EXPECT_EQ(Pos("", "abc"), 0);
    EXPECT_EQ(Pos("x", "abc"), 0);
    EXPECT_EQ(LastDelimiter("/\\", "a\\b/c"), 4);

    EXPECT_EQ(StringReplace("aAa", "a", "x", rfReplaceAll | rfIgnoreCase), "xxx");
    EXPECT_EQ(StringReplace("aAa", "a", "x", rfReplaceAll), "xAx");
    EXPECT_EQ(StringReplace("aAa", "A", "xy", rfNone), "axya");
    EXPECT_EQ(StringReplace("\xE9t\xC9", "\xE9", "e", rfReplaceAll | rfIgnoreCase), "ete");
    EXPECT_EQ(StringReplace("abc", "", "x", rfReplaceAll), "abc");

    EXPECT_EQ(QuotedStr("it's"), "'it''s'");
    EXPECT_EQ(QuotedStr(""), "''");
    std::size_t position = 1;
    EXPECT_EQ(AnsiExtractQuotedStr("x\"a\"\"b\",c", position, '"'), "a\"b");
    EXPECT_EQ(position, 7u);
    position = 0;
    EXPECT_EQ(AnsiExtractQuotedStr("\"open", position, '"'), "open");
}

TEST(Errors, StandardTextsAndSystemMessages) {
    EXPECT_EQ(messageOf([] { Abort(); }), "Operation aborted");
    EXPECT_EQ(messageOf([] { AbstractError(); }), "Abstract Error");
    const int line = __LINE__ + 1;
    const AnsiString assertion = messageOf([] { Assert(false); });
    EXPECT_EQ(assertion, Format("Assertion failure (SysUtilsTest.cpp, line %d)", {line}));
    EXPECT_EQ(messageOf([] { Assert(1 + 1 == 3, "Sums"); }).substr(0, 21), "Sums (SysUtilsTest.cp");
    EXPECT_NO_THROW(Assert(true));

    EXPECT_EQ(messageOf([] { RaiseLastOSError(OSErrorCode::FileNotFound); }),
              "System Error.  Code: 2.\r\nThe system cannot find the file specified.");
    try {
        RaiseLastOSError(OSErrorCode::AccessDenied);
    } catch (const EOSError& e) {
        EXPECT_EQ(e.ErrorCode, OSErrorCode::AccessDenied);
    }
    EXPECT_EQ(OSErrorFromErrno(ENOENT), OSErrorCode::FileNotFound);
    EXPECT_EQ(SysErrorMessage(OSErrorFromErrno(EPIPE)), "Broken pipe");
}

TEST(Time, ClockAdvances) {
    const DWORD before = GetTickCount();
    const TDateTime now = Now();
    Sleep(20);
    EXPECT_GE(GetTickCount() - before, 20u);
    EXPECT_GT(now, 45000.0); // after 2023
    EXPECT_GT(Now(), now);
}
