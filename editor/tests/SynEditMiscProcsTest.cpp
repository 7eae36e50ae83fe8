#include "editor/SynEditMiscProcs.h"

#include "platform/vcl/Graphics.h"
#include "platform/win/Gdi.h"
#include "platform/win/SysColors.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace std::string_literals;

namespace {

struct TabCase {
    AnsiString line;
    Integer tabWidth;
    AnsiString expanded;
};

// Tab columns computed the plain way, one column at a time.
AnsiString referenceExpansion(const AnsiString& line, Integer tabWidth) {
    AnsiString result;
    for (char c : line) {
        if (c != '\t') {
            result += c;
        } else if (tabWidth < 2) {
            result += ' ';
        } else {
            do
                result += '\t';
            while (result.size() % static_cast<std::size_t>(tabWidth) != 0);
        }
    }
    return result;
}

} // namespace

TEST(TabExpansion, ExpandsToTheNextTabStopWithTabPadding) {
    const TabCase cases[] = {
        {"\tab", 4, "\t\t\t\tab"},
        {"ab\tc", 4, "ab\t\tc"},
        {"ab\tc", 1, "ab c"},
        {"ab\tc", 0, "ab c"},
        {"ab\tc", 3, "ab\tc"},
        {"abc\td", 3, "abc\t\t\td"},
        {"ab\tc", 8, "ab\t\t\t\t\t\tc"},
        {"a\t\tb", 4, "a\t\t\t\t\t\t\tb"},
        {"abcdefg\th", 6, "abcdefg\t\t\t\t\th"},
        {"a\0\tb"s, 4, "a\0\t\tb"s},
        {"abc", 4, "abc"},
        {"", 4, ""},
    };
    for (const TabCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "width " << c.tabWidth << " line " << testing::PrintToString(c.line));
        const bool expectTabs = c.line.find('\t') != AnsiString::npos;
        bool hasTabs = !expectTabs;
        EXPECT_EQ(ConvertTabsEx(c.line, c.tabWidth, hasTabs), c.expanded);
        EXPECT_EQ(hasTabs, expectTabs);
        hasTabs = !expectTabs;
        EXPECT_EQ(GetBestConvertTabsProcEx(c.tabWidth)(c.line, c.tabWidth, hasTabs), c.expanded);
        EXPECT_EQ(hasTabs, expectTabs);
        EXPECT_EQ(ConvertTabs(c.line, c.tabWidth), c.expanded);
        EXPECT_EQ(GetBestConvertTabsProc(c.tabWidth)(c.line, c.tabWidth), c.expanded);
        EXPECT_EQ(GetExpandedLength(c.line, c.tabWidth), static_cast<Integer>(c.expanded.size()));
    }
}

TEST(TabExpansion, ChoosesTheMaskedVariantOnlyForPowersOfTwoUpTo65536) {
    EXPECT_EQ(GetBestConvertTabsProcEx(3), &ConvertTabsEx);
    EXPECT_EQ(GetBestConvertTabsProcEx(12), &ConvertTabsEx);
    EXPECT_EQ(GetBestConvertTabsProcEx(131072), &ConvertTabsEx);
    EXPECT_NE(GetBestConvertTabsProcEx(8), &ConvertTabsEx);
    EXPECT_NE(GetBestConvertTabsProcEx(65536), &ConvertTabsEx);
    EXPECT_NE(GetBestConvertTabsProcEx(1), &ConvertTabsEx);
    EXPECT_EQ(GetBestConvertTabsProc(3), &ConvertTabs);
    EXPECT_NE(GetBestConvertTabsProc(16), &ConvertTabs);
}

TEST(TabExpansion, EveryVariantAgreesWithColumnByColumnExpansion) {
    std::mt19937 random(7);
    const char alphabet[] = {'a', 'b', '\t', ' '};
    for (int round = 0; round < 300; ++round) {
        AnsiString line;
        for (int length = random() % 20; length > 0; --length)
            line += alphabet[random() % 4];
        for (Integer width = 1; width <= 33; ++width) {
            bool hasTabs = false;
            ASSERT_EQ(GetBestConvertTabsProcEx(width)(line, width, hasTabs), referenceExpansion(line, width))
                << "width " << width << " line " << testing::PrintToString(line);
            ASSERT_EQ(GetExpandedLength(line, width),
                      static_cast<Integer>(referenceExpansion(line, width).size()));
        }
    }
}

TEST(PositionConversion, CharIndexToCaretColumn) {
    struct Case {
        AnsiString line;
        Integer tabWidth, index, column;
    };
    const Case cases[] = {
        {"ab\tc", 4, 0, 1}, {"ab\tc", 4, 1, 1},  {"ab\tc", 4, 3, 3},  {"ab\tc", 4, 4, 5},
        {"ab\tc", 4, 5, 6}, {"ab\tc", 4, 9, 10}, {"ab\tc", 1, 4, 4},  {"\tab", 4, 2, 5},
        {"\tab", 4, 3, 6},  {"abc", 4, 20, 20},  {"a\t\tb", 3, 4, 7}, {"a\t\tb", 3, 5, 8},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CharIndex2CaretPos(c.index, c.tabWidth, c.line), c.column)
            << testing::PrintToString(c.line) << " width " << c.tabWidth << " index " << c.index;
}

TEST(PositionConversion, CaretColumnToCharIndex) {
    struct Case {
        AnsiString line;
        Integer tabWidth, column, index;
        bool insideTab;
    };
    const Case cases[] = {
        {"ab\tc", 4, 1, 1, false}, {"ab\tc", 4, 3, 3, false}, {"ab\tc", 4, 4, 3, true},
        {"ab\tc", 4, 5, 4, false}, {"ab\tc", 4, 6, 5, false}, {"ab\tc", 4, 20, 5, false},
        {"abc", 4, 20, 20, false}, {"ab\tc", 1, 4, 4, false}, {"\t\tx", 4, 2, 1, true},
        {"\t\tx", 4, 5, 2, false}, {"\t\tx", 4, 6, 2, true},  {"\t\tx", 4, 9, 3, false},
        {"\t\tx", 4, 0, 0, false},
    };
    for (const Case& c : cases) {
        bool insideTab = !c.insideTab;
        EXPECT_EQ(CaretPos2CharIndex(c.column, c.tabWidth, c.line, insideTab), c.index)
            << testing::PrintToString(c.line) << " width " << c.tabWidth << " column " << c.column;
        EXPECT_EQ(insideTab, c.insideTab) << testing::PrintToString(c.line) << " column " << c.column;
    }
}

TEST(PositionConversion, ColumnOfEveryCharacterLeadsBackToIt) {
    const AnsiString line = "if\t(a)\t\t{ b;\tc }";
    for (Integer width : {2, 3, 4, 8}) {
        for (Integer index = 1; index <= static_cast<Integer>(line.size()) + 1; ++index) {
            bool insideTab = true;
            const Integer column = CharIndex2CaretPos(index, width, line);
            EXPECT_EQ(CaretPos2CharIndex(column, width, line, insideTab), index) << "width " << width;
            EXPECT_FALSE(insideTab);
        }
    }
}

TEST(Scanning, FindsCharactersOfASetForwardAndBackward) {
    const TSynIdentChars blanks(" ,");
    EXPECT_EQ(StrScanForCharInSet("ab cd,e", 1, blanks), 3);
    EXPECT_EQ(StrScanForCharInSet("ab cd,e", 3, blanks), 3);
    EXPECT_EQ(StrScanForCharInSet("ab cd,e", 4, blanks), 6);
    EXPECT_EQ(StrScanForCharInSet("ab cd,e", 7, blanks), 0);
    EXPECT_EQ(StrScanForCharInSet("ab cd,e", 0, blanks), 0);
    EXPECT_EQ(StrScanForCharInSet("ab cd,e", 8, blanks), 0);
    EXPECT_EQ(StrRScanForCharInSet("ab cd,e", 7, blanks), 6);
    EXPECT_EQ(StrRScanForCharInSet("ab cd,e", 5, blanks), 3);
    EXPECT_EQ(StrRScanForCharInSet("ab cd,e", 2, blanks), 0);
    EXPECT_EQ(StrRScanForCharInSet("ab cd,e", 8, blanks), 0);
    // The ANSI code page has no double-byte characters.
    EXPECT_EQ(StrScanForMultiByteChar("ab\x81\x40", 1), 0);
    EXPECT_EQ(StrRScanForMultiByteChar("ab\x81\x40", 4), 0);
}

TEST(Scanning, GetEOLStopsAtTheFirstBreakOrNul) {
    const char text[] = "ab\r\ncd";
    EXPECT_EQ(GetEOL(text), text + 2);
    const char noBreak[] = "abc";
    EXPECT_EQ(GetEOL(noBreak), noBreak + 3);
    const char linefeed[] = "a\nb";
    EXPECT_EQ(GetEOL(linefeed), linefeed + 1);
    EXPECT_EQ(GetEOL(nullptr), nullptr);
}

TEST(Scanning, StringTypeFromCharacterTypeFlags) {
    const std::pair<Word, TStringType> cases[] = {
        {C3_SYMBOL, stControl},
        {C3_HALFWIDTH, stHalfNumAlpha},
        {C3_HALFWIDTH | C3_ALPHA, stHalfNumAlpha},
        {C3_HALFWIDTH | C3_SYMBOL, stHalfSymbol},
        {C3_HALFWIDTH | C3_LEXICAL | C3_ALPHA, stHalfSymbol},
        {C3_HALFWIDTH | C3_KATAKANA, stHalfKatakana},
        {C3_HALFWIDTH | C3_HIRAGANA, stNone},
        {C3_FULLWIDTH, stWideNumAlpha},
        {C3_FULLWIDTH | C3_ALPHA, stWideNumAlpha},
        {C3_FULLWIDTH | C3_SYMBOL, stWideSymbol},
        {C3_FULLWIDTH | C3_KATAKANA, stWideKatakana},
        {C3_HIRAGANA | C3_FULLWIDTH, stHiragana},
        {C3_IDEOGRAPH, stIdeograph},
        {C3_ALPHA, stNone},
        {0, stNone},
    };
    for (auto [flags, type] : cases)
        EXPECT_EQ(IsStringType(flags), type) << "flags " << flags;
}

TEST(SmallUtilities, LimitSwapAndOrder) {
    EXPECT_EQ(MinMax(15, 2, 12), 12);
    EXPECT_EQ(MinMax(1, 2, 12), 2);
    EXPECT_EQ(MinMax(5, 2, 12), 5);
    EXPECT_EQ(MinMax(5, 9, 3), 9); // Max first, then Min

    Integer a = 1, b = 2;
    SwapInt(a, b);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 1);

    EXPECT_EQ(MaxPoint(Point(9, 1), Point(0, 2)), Point(0, 2));
    EXPECT_EQ(MaxPoint(Point(3, 2), Point(1, 2)), Point(3, 2));
    EXPECT_EQ(MinPoint(Point(9, 1), Point(0, 2)), Point(9, 1));
    EXPECT_EQ(MinPoint(Point(3, 2), Point(1, 2)), Point(1, 2));

    EXPECT_EQ(GetIntArray(3, 7), (std::vector<Integer>{7, 7, 7}));
    EXPECT_EQ(GetIntArray(2, 0), (std::vector<Integer>{0, 0}));
    EXPECT_TRUE(GetIntArray(0, 5).empty());
}

TEST(SmallUtilities, KeyNameEncodingRoundTrips) {
    EXPECT_EQ(EncodeString("a/b\\c"), "a\\.b\\\\c");
    EXPECT_EQ(DecodeString("a\\.b\\\\c"), "a/b\\c");
    EXPECT_EQ(DecodeString("\\x"), "/");
    EXPECT_EQ(DecodeString("end\\"), "end/");
    const AnsiString samples[] = {"", "plain", "//\\\\", "\\/\\/", "a\\.b"};
    for (const AnsiString& s : samples)
        EXPECT_EQ(DecodeString(EncodeString(s)), s) << s;
    EXPECT_EQ(EncodeString("x/y").find('/'), AnsiString::npos);
}

namespace {

// The colours along a row (or down a column) of a canvas, one run per colour.
std::vector<std::pair<TColor, Integer>> colourRuns(TCanvas* canvas, Integer length, bool horizontal) {
    std::vector<std::pair<TColor, Integer>> runs;
    for (Integer i = 0; i < length; ++i) {
        TColor colour = horizontal ? canvas->Pixels(i, 0) : canvas->Pixels(0, i);
        if (runs.empty() || runs.back().first != colour)
            runs.push_back({colour, 1});
        else
            ++runs.back().second;
    }
    return runs;
}

} // namespace

TEST(Gradient, BandsRunFromTheStartColourToTheEndColour) {
    TBitmap bitmap;
    bitmap.SetSize(100, 1);
    SynDrawGradient(bitmap.Canvas(), RGB(0, 0, 0), RGB(200, 100, 40), 5, Rect(0, 0, 100, 1), true);
    const std::vector<std::pair<TColor, Integer>> expected = {{RGB(0, 0, 0), 20},
                                                              {RGB(50, 25, 10), 20},
                                                              {RGB(100, 50, 20), 20},
                                                              {RGB(150, 75, 30), 20},
                                                              {RGB(200, 100, 40), 20}};
    EXPECT_EQ(colourRuns(bitmap.Canvas(), 100, true), expected);
}

TEST(Gradient, VerticalBandsFollowTheRectangleAndSystemColoursAreResolved) {
    TBitmap bitmap;
    bitmap.SetSize(1, 12);
    bitmap.Canvas()->Brush()->SetColor(clWhite);
    bitmap.Canvas()->FillRect(Rect(0, 0, 1, 12));
    SynDrawGradient(bitmap.Canvas(), clBtnFace, RGB(0, 0, 0), 3, Rect(0, 2, 1, 9), false);
    const TColor face = static_cast<TColor>(GetSysColor(COLOR_BTNFACE));
    const TColor middle = RGB(GetRValue(face) / 2, GetGValue(face) / 2, GetBValue(face) / 2);
    // Three bands over rows 2 to 8 start 0, 2 and 5 rows in (MulDiv rounds), below two untouched rows.
    const std::vector<std::pair<TColor, Integer>> expected = {
        {clWhite, 2}, {face, 2}, {middle, 3}, {RGB(0, 0, 0), 2}, {clWhite, 3}};
    EXPECT_EQ(colourRuns(bitmap.Canvas(), 12, false), expected);
}

TEST(Gradient, StepsAreLimitedTo2Through256) {
    struct Case {
        Integer steps;
        std::size_t bands;
    };
    for (Case c : {Case{1, 2}, Case{0, 2}, Case{1000, 256}, Case{256, 256}}) {
        TBitmap bitmap;
        bitmap.SetSize(512, 1);
        SynDrawGradient(bitmap.Canvas(), RGB(0, 0, 0), RGB(255, 0, 0), c.steps, Rect(0, 0, 512, 1), true);
        EXPECT_EQ(colourRuns(bitmap.Canvas(), 512, true).size(), c.bands) << c.steps;
    }
}

TEST(FillRect, FillsWithTheBackgroundColourOnly) {
    TBitmap bitmap;
    bitmap.SetSize(6, 4);
    HDC dc = bitmap.Canvas()->Handle();
    SetBkColor(dc, RGB(10, 200, 30));
    InternalFillRect(dc, Rect(1, 1, 4, 3));
    for (Integer y = 0; y < 4; ++y)
        for (Integer x = 0; x < 6; ++x) {
            const bool inside = x >= 1 && x < 4 && y >= 1 && y < 3;
            EXPECT_EQ(bitmap.Canvas()->Pixels(x, y), inside ? TColor(RGB(10, 200, 30)) : clWhite)
                << x << "," << y;
        }
}
