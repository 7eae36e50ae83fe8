#include "highlighters/SynHighlighterHtml.h"

#include "highlighters/tests/HighlighterTestSupport.h"

#include <gtest/gtest.h>

namespace {

using H = TSynHTMLSyn;

struct LineCase {
    const char* Line;
    std::vector<Token> Tokens;
    TSynRangeValue EndRange = H::rsText;
};

void PrintTo(const LineCase& c, std::ostream* out) {
    *out << caseName(c.Line);
}

class HtmlLines : public testing::TestWithParam<LineCase> {};

TEST_P(HtmlLines, GiveTheseTokens) {
    H highlighter(nullptr);
    EXPECT_EQ(scanLine(highlighter, GetParam().Line, H::rsText), GetParam().Tokens) << GetParam().Line;
    EXPECT_EQ(highlighter.GetRange(), GetParam().EndRange) << GetParam().Line;
}

INSTANTIATE_TEST_SUITE_P(
    Tags, HtmlLines,
    testing::Values(
        LineCase{"<p class=x>Hi</p>",
                 {{"<", H::tkSymbol},
                  {"p", H::tkKey},
                  {" ", H::tkSpace},
                  {"class", H::tkIdentifier},
                  {"=", H::tkSymbol},
                  {"x", H::tkValue},
                  {">", H::tkSymbol},
                  {"Hi", H::tkText},
                  {"<", H::tkSymbol},
                  {"/p", H::tkKey},
                  {">", H::tkSymbol}}},
        LineCase{"<P><H6></H6>",
                 {{"<", H::tkSymbol},
                  {"P", H::tkKey},
                  {">", H::tkSymbol},
                  {"<", H::tkSymbol},
                  {"H6", H::tkKey},
                  {">", H::tkSymbol},
                  {"<", H::tkSymbol},
                  {"/H6", H::tkKey},
                  {">", H::tkSymbol}}},
        LineCase{"<!DOCTYPE html>",
                 {{"<", H::tkSymbol},
                  {"!DOCTYPE", H::tkKey},
                  {" ", H::tkSpace},
                  {"html", H::tkIdentifier},
                  {">", H::tkSymbol}}},
        LineCase{"<H7><invalid>",
                 {{"<", H::tkSymbol},
                  {"H7", H::tkUndefKey},
                  {">", H::tkSymbol},
                  {"<", H::tkSymbol},
                  {"invalid", H::tkUndefKey},
                  {">", H::tkSymbol}}},
        // "/BR" has no closing form in the list.
        LineCase{"</br>", {{"<", H::tkSymbol}, {"/br", H::tkUndefKey}, {">", H::tkSymbol}}},
        // Ten letters z hash to 260, nine to 234.
        LineCase{"<zzzzzzzzzz>", {{"<", H::tkSymbol}, {"zzzzzzzzzz", H::tkIdentifier}, {">", H::tkSymbol}}},
        LineCase{"<zzzzzzzzz>", {{"<", H::tkSymbol}, {"zzzzzzzzz", H::tkUndefKey}, {">", H::tkSymbol}}},
        LineCase{"<br/>", {{"<", H::tkSymbol}, {"br/", H::tkUndefKey}, {">", H::tkSymbol}}},
        LineCase{"<\"x\">",
                 {{"<", H::tkSymbol},
                  {"", H::tkUndefKey},
                  {"\"x", H::tkIdentifier},
                  {"\"", H::tkIdentifier},
                  {">", H::tkSymbol}}},
        LineCase{"<&x", {{"<", H::tkSymbol}, {"&", H::tkText}, {"x", H::tkText}}},
        LineCase{"<a href='u v' b=\"w\">",
                 {{"<", H::tkSymbol},
                  {"a", H::tkKey},
                  {" ", H::tkSpace},
                  {"href", H::tkIdentifier},
                  {"=", H::tkSymbol},
                  {"'u v'", H::tkValue},
                  {" ", H::tkSpace},
                  {"b", H::tkIdentifier},
                  {"=", H::tkSymbol},
                  {"\"w\"", H::tkValue},
                  {">", H::tkSymbol}}},
        LineCase{"<input value='any",
                 {{"<", H::tkSymbol},
                  {"input", H::tkKey},
                  {" ", H::tkSpace},
                  {"value", H::tkIdentifier},
                  {"=", H::tkSymbol},
                  {"'any", H::tkValue}},
                 H::rsQuoteValue},
        LineCase{"<td", {{"<", H::tkSymbol}, {"td", H::tkKey}}, H::rsParam},
        LineCase{"<td width=",
                 {{"<", H::tkSymbol},
                  {"td", H::tkKey},
                  {" ", H::tkSpace},
                  {"width", H::tkIdentifier},
                  {"=", H::tkSymbol}},
                 H::rsValue}));

INSTANTIATE_TEST_SUITE_P(
    TextAndEntities, HtmlLines,
    testing::Values(
        LineCase{"a &copy; b", {{"a ", H::tkText}, {"&copy;", H::tkAmpersand}, {" b", H::tkText}}},
        LineCase{"&COPY;", {{"&COPY;", H::tkText}}},
        LineCase{"&#169;&#xA9;&#XfF;",
                 {{"", H::tkText},
                  {"&#169;", H::tkAmpersand},
                  {"", H::tkText},
                  {"&#xA9;", H::tkAmpersand},
                  {"", H::tkText},
                  {"&#XfF;", H::tkAmpersand}}},
        LineCase{"&#169 x", {{"&#169", H::tkText}, {" x", H::tkText}}},
        LineCase{"&amp; more", {{"", H::tkText}, {"&amp;", H::tkAmpersand}, {" more", H::tkText}}},
        LineCase{"a && b &", {{"a && b &", H::tkText}}},
        LineCase{"x &thetasym;&Scaron;",
                 {{"x ", H::tkText},
                  {"&thetasym;", H::tkAmpersand},
                  {"", H::tkText},
                  {"&Scaron;", H::tkAmpersand}}},
        LineCase{"&#", {{"&#", H::tkText}}},
        LineCase{"a\tb = 'c' >", {{"a", H::tkText}, {"\t", H::tkSpace}, {"b = 'c' >", H::tkText}}},
        // Blanks are text; a control character such as a tab ends a text token
        // and starts a space token, which takes the blanks after it along.
        LineCase{"  \t x", {{"  ", H::tkText}, {"\t ", H::tkSpace}, {"x", H::tkText}}}));

INSTANTIATE_TEST_SUITE_P(
    Comments, HtmlLines,
    testing::Values(
        LineCase{"<!-- a", {{"<!--", H::tkComment}, {" a", H::tkComment}}, H::rsComment},
        LineCase{"<!-->x", {{"<!--", H::tkComment}, {">", H::tkComment}, {"x", H::tkText}}},
        LineCase{"<!-- a -- > b -->c",
                 {{"<!--", H::tkComment}, {" a -- > b -->", H::tkComment}, {"c", H::tkText}}},
        LineCase{"<!--", {{"<!--", H::tkComment}}, H::rsComment},
        LineCase{"<!-x>",
                 {{"<", H::tkSymbol}, {"!", H::tkUndefKey}, {"-x", H::tkIdentifier}, {">", H::tkSymbol}}}));

TEST(HtmlRanges, CommentsValuesAndTagsRunOnOverLines) {
    H highlighter(nullptr);
    std::vector<TSynRangeValue> ranges;
    const auto lines = scanLines(highlighter,
                                 {"<!-- a", "", "b -->", "<input name=\"u\" value='any", "      value'>",
                                  "<td", "  class=", "x>", "-->"},
                                 ranges);
    EXPECT_EQ(lines[0], (std::vector<Token>{{"<!--", H::tkComment}, {" a", H::tkComment}}));
    EXPECT_TRUE(lines[1].empty());
    EXPECT_EQ(lines[2], (std::vector<Token>{{"b -->", H::tkComment}}));
    EXPECT_EQ(lines[4], (std::vector<Token>{{"      value'", H::tkValue}, {">", H::tkSymbol}}));
    EXPECT_EQ(lines[6],
              (std::vector<Token>{{"  ", H::tkSpace}, {"class", H::tkIdentifier}, {"=", H::tkSymbol}}));
    EXPECT_EQ(lines[7], (std::vector<Token>{{"x", H::tkValue}, {">", H::tkSymbol}}));
    // The dashes of a closing "-->" must stand on the same line as ">".
    EXPECT_EQ(lines[8], (std::vector<Token>{{"-->", H::tkText}}));
    EXPECT_EQ(ranges, (std::vector<TSynRangeValue>{H::rsComment, H::rsComment, H::rsText, H::rsQuoteValue,
                                                   H::rsText, H::rsParam, H::rsValue, H::rsText, H::rsText}));
}

TEST(HtmlRanges, DashesOnThePreviousLineDoNotCloseAComment) {
    H highlighter(nullptr);
    std::vector<TSynRangeValue> ranges;
    const auto lines = scanLines(highlighter, {"<!-- a --", ">", "->", "-->"}, ranges);
    EXPECT_EQ(lines[1], (std::vector<Token>{{">", H::tkComment}}));
    EXPECT_EQ(lines[2], (std::vector<Token>{{"->", H::tkComment}}));
    EXPECT_EQ(ranges, (std::vector<TSynRangeValue>{H::rsComment, H::rsComment, H::rsComment, H::rsText}));
}

TEST(HtmlRanges, SetRangeTakesTheLowByteAndResetGoesBackToText) {
    H highlighter(nullptr);
    EXPECT_EQ(highlighter.GetRange(), H::rsText);
    highlighter.SetRange(0x300 | H::rsComment);
    EXPECT_EQ(highlighter.GetRange(), H::rsComment);
    highlighter.ResetRange();
    EXPECT_EQ(highlighter.GetRange(), H::rsText);
}

// A line buffer answers 0 for a line it has not scanned, and 0 is the
// entity state. Whatever state a line starts in, the scanner stays inside it.
TEST(HtmlRanges, NoStartRangeMakesTheScannerLeaveTheLine) {
    const char* lines[] = {"&",   "&#",  "&#x", "&c", "a&", "'",  "\"", "<",
                           "<!-", "-->", "=",   "x",  "",   "\t", ">"};
    for (TSynRangeValue range = 0; range < 256; ++range) {
        for (const char* line : lines) {
            H highlighter(nullptr);
            // Leave an entity found but not yet scanned, as a painter that
            // stops early does.
            highlighter.SetLine("x&Epsilon;", 0);
            ASSERT_EQ(highlighter.GetRange(), H::rsAmpersand);
            const std::vector<Token> tokens = scanLine(highlighter, line, range);
            for (const Token& token : tokens)
                ASSERT_NE(token.Kind, -1) << "range " << range << " line " << line;
            ASSERT_NE(highlighter.GetRange(), H::rsAmpersand) << "range " << range << " line " << line;
        }
    }
}

TEST(HtmlRanges, ALineStartingInTheEntityStateScansAsText) {
    H highlighter(nullptr);
    EXPECT_EQ(scanLine(highlighter, "&amp; <b>", H::rsAmpersand),
              (std::vector<Token>{{"", H::tkText},
                                  {"&amp;", H::tkAmpersand},
                                  {" ", H::tkText},
                                  {"<", H::tkSymbol},
                                  {"b", H::tkKey},
                                  {">", H::tkSymbol}}));
}

TEST(HtmlAttributes, EachKindIsPaintedWithItsAttribute) {
    H highlighter(nullptr);
    const struct {
        const char* Line;
        int Skip;
        TSynHighlighterAttributes* Attribute;
    } cases[] = {
        {"&lt;", 1, highlighter.AndAttri()},        {"<!--", 0, highlighter.CommentAttri()},
        {"<a b", 3, highlighter.IdentifierAttri()}, {"<a", 1, highlighter.KeyAttri()},
        {"\t", 0, highlighter.SpaceAttri()},        {"<", 0, highlighter.SymbolAttri()},
        {"t", 0, highlighter.TextAttri()},          {"<q1", 1, highlighter.UndefKeyAttri()},
        {"<a b=c", 5, highlighter.ValueAttri()},
    };
    for (const auto& c : cases) {
        highlighter.ResetRange();
        highlighter.SetLine(c.Line, 0);
        for (int i = 0; i < c.Skip; ++i)
            highlighter.Next();
        EXPECT_EQ(highlighter.GetTokenAttribute(), c.Attribute) << c.Line;
    }
    highlighter.SetLine("", 0);
    EXPECT_TRUE(highlighter.GetEol());
    EXPECT_EQ(highlighter.GetTokenAttribute(), nullptr);
}

TEST(HtmlAttributes, NamesStylesColoursAndDefaults) {
    H highlighter(nullptr);
    const struct {
        const char* Name;
        TFontStyles Style;
        TColor Foreground;
    } expected[] = {
        {"Comment", {}, clNone},
        {"Escape Ampersand", {fsBold}, 0x0000FF00},
        {"Identifier", {fsBold}, clNone},
        {"Reserved Word", {fsBold}, 0x00FF0080},
        {"Space", {}, clNone},
        {"Symbol", {fsBold}, clNone},
        {"Text", {}, clNone},
        {"Unknown Word", {fsBold}, 0x000000FF},
        {"Value", {}, 0x00FF8000},
    };
    ASSERT_EQ(highlighter.GetAttribCount(), 9);
    for (int i = 0; i < 9; ++i) {
        TSynHighlighterAttributes* attribute = highlighter.GetAttribute(i);
        EXPECT_EQ(attribute->Name(), expected[i].Name);
        EXPECT_EQ(attribute->Style(), expected[i].Style) << expected[i].Name;
        EXPECT_EQ(attribute->Foreground(), expected[i].Foreground) << expected[i].Name;
        EXPECT_EQ(attribute->Background(), clNone);
        EXPECT_FALSE(attribute->GetForegroundColorStored());
    }
    EXPECT_EQ(highlighter.GetDefaultAttribute(SYN_ATTR_COMMENT), highlighter.CommentAttri());
    EXPECT_EQ(highlighter.GetDefaultAttribute(SYN_ATTR_IDENTIFIER), highlighter.IdentifierAttri());
    EXPECT_EQ(highlighter.GetDefaultAttribute(SYN_ATTR_KEYWORD), highlighter.KeyAttri());
    EXPECT_EQ(highlighter.GetDefaultAttribute(SYN_ATTR_STRING), nullptr);
    EXPECT_EQ(highlighter.GetDefaultAttribute(SYN_ATTR_WHITESPACE), highlighter.SpaceAttri());
    EXPECT_EQ(highlighter.GetDefaultAttribute(SYN_ATTR_SYMBOL), highlighter.SymbolAttri());
    EXPECT_EQ(highlighter.GetDefaultAttribute(-1), nullptr);
}

TEST(HtmlHighlighter, LanguageFilterAndSample) {
    H highlighter(nullptr);
    EXPECT_EQ(H::GetLanguageName(), "HTML");
    EXPECT_EQ(highlighter.GetDefaultFilter(), "HTML Documents (*.htm;*.html)|*.htm;*.html");
    EXPECT_FALSE(highlighter.IsFilterStored());
    EXPECT_EQ(highlighter.GetIdentChars(), WordIdentChars());

    const auto lines = splitLines(highlighter.GetSampleSource());
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[5], "    <input name=\"user\" value='any");
    EXPECT_EQ(lines[6], "      value'>");
    EXPECT_EQ(lines[8], "  <invalid>Sample HTML code &copy; 2001</invalid>");
}

} // namespace
