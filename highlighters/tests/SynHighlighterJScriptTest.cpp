#include "highlighters/SynHighlighterJScript.h"

#include "highlighters/tests/HighlighterTestSupport.h"

#include <gtest/gtest.h>

namespace {

using J = TSynJScriptSyn;

struct LineCase {
    const char* Line;
    std::vector<Token> Tokens;
};

void PrintTo(const LineCase& c, std::ostream* out) {
    *out << caseName(c.Line);
}

class JScriptLines : public testing::TestWithParam<LineCase> {};

TEST_P(JScriptLines, GiveTheseTokens) {
    J highlighter(nullptr);
    EXPECT_EQ(scanLine(highlighter, GetParam().Line, J::rsUnknown), GetParam().Tokens) << GetParam().Line;
    EXPECT_EQ(highlighter.GetTokenKind(), J::tkNull);
    EXPECT_EQ(highlighter.GetToken(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Words, JScriptLines,
    testing::Values(
        LineCase{"if", {{"if", J::tkKey}}}, LineCase{"NaN", {{"NaN", J::tkKey}}},
        LineCase{"null Null", {{"null", J::tkKey}, {" ", J::tkSpace}, {"Null", J::tkNonReservedKey}}},
        LineCase{"All all", {{"All", J::tkNonReservedKey}, {" ", J::tkSpace}, {"all", J::tkNonReservedKey}}},
        LineCase{"Date date", {{"Date", J::tkNonReservedKey}, {" ", J::tkSpace}, {"date", J::tkIdentifier}}},
        LineCase{"onLoad onload", {{"onLoad", J::tkEvent}, {" ", J::tkSpace}, {"onload", J::tkIdentifier}}},
        LineCase{"LN10 MAX_VALUE SQRT1_2",
                 {{"LN10", J::tkNonReservedKey},
                  {" ", J::tkSpace},
                  {"MAX_VALUE", J::tkNonReservedKey},
                  {" ", J::tkSpace},
                  {"SQRT1_2", J::tkNonReservedKey}}},
        LineCase{"synchronized getUTCMilliseconds onMouseOver",
                 {{"synchronized", J::tkKey},
                  {" ", J::tkSpace},
                  {"getUTCMilliseconds", J::tkNonReservedKey},
                  {" ", J::tkSpace},
                  {"onMouseOver", J::tkEvent}}},
        // Heavier than any keyword: the hash leaves the table.
        LineCase{"zzzzzzzzzzzz", {{"zzzzzzzzzzzz", J::tkIdentifier}}},
        LineCase{"if2 _x", {{"if2", J::tkIdentifier}, {" ", J::tkSpace}, {"_x", J::tkIdentifier}}}));

INSTANTIATE_TEST_SUITE_P(
    Numbers, JScriptLines,
    testing::Values(
        LineCase{"1234", {{"1234", J::tkNumber}}}, LineCase{"0x1F", {{"0x1F", J::tkNumber}}},
        LineCase{"0X1f", {{"0X1f", J::tkNumber}}}, LineCase{"1.5.3", {{"1.5.3", J::tkNumber}}},
        LineCase{"1e5", {{"1", J::tkNumber}, {"e5", J::tkIdentifier}}},
        LineCase{"1..2", {{"1", J::tkNumber}, {".", J::tkSymbol}, {".", J::tkSymbol}, {"2", J::tkNumber}}},
        LineCase{"0xg", {{"0", J::tkNumber}, {"xg", J::tkIdentifier}}},
        LineCase{"10x1", {{"10", J::tkNumber}, {"x1", J::tkIdentifier}}},
        LineCase{"0x", {{"0", J::tkNumber}, {"x", J::tkIdentifier}}}, LineCase{"5.", {{"5.", J::tkNumber}}}));

INSTANTIATE_TEST_SUITE_P(
    Strings, JScriptLines,
    testing::Values(
        LineCase{R"('It\'s')", {{R"('It\'s')", J::tkString}}},
        LineCase{R"("a" + 'b')",
                 {{R"("a")", J::tkString},
                  {" ", J::tkSpace},
                  {"+", J::tkSymbol},
                  {" ", J::tkSpace},
                  {"'b'", J::tkString}}},
        // A quote after two backslashes still counts as escaped.
        LineCase{R"("a\\" b" c)", {{R"("a\\" b")", J::tkString}, {" ", J::tkSpace}, {"c", J::tkIdentifier}}},
        LineCase{R"("a\\")", {{R"("a\\")", J::tkString}}}, LineCase{R"("open)", {{R"("open)", J::tkString}}},
        LineCase{R"(")", {{R"(")", J::tkString}}}, LineCase{R"("")", {{R"("")", J::tkString}}},
        LineCase{R"("""x" y)", {{R"("""x")", J::tkString}, {" ", J::tkSpace}, {"y", J::tkIdentifier}}}));

INSTANTIATE_TEST_SUITE_P(
    CommentsAndSymbols, JScriptLines,
    testing::Values(
        LineCase{"a // b", {{"a", J::tkIdentifier}, {" ", J::tkSpace}, {"// b", J::tkComment}}},
        LineCase{"x /= 2",
                 {{"x", J::tkIdentifier},
                  {" ", J::tkSpace},
                  {"/=", J::tkSymbol},
                  {" ", J::tkSpace},
                  {"2", J::tkNumber}}},
        LineCase{"a/b", {{"a", J::tkIdentifier}, {"/", J::tkSymbol}, {"b", J::tkIdentifier}}},
        LineCase{"/*c*/d", {{"/*c*/", J::tkComment}, {"d", J::tkIdentifier}}},
        // Looks like a regular expression; the scanner knows none.
        LineCase{"/ab+c/g",
                 {{"/", J::tkSymbol},
                  {"ab", J::tkIdentifier},
                  {"+", J::tkSymbol},
                  {"c", J::tkIdentifier},
                  {"/", J::tkSymbol},
                  {"g", J::tkIdentifier}}},
        LineCase{"a...b", {{"a", J::tkIdentifier}, {"...", J::tkSymbol}, {"b", J::tkIdentifier}}},
        LineCase{"x->y", {{"x", J::tkIdentifier}, {"->", J::tkSymbol}, {"y", J::tkIdentifier}}},
        LineCase{"&&&=||%=*=++--",
                 {{"&&", J::tkSymbol},
                  {"&=", J::tkSymbol},
                  {"||", J::tkSymbol},
                  {"%=", J::tkSymbol},
                  {"*=", J::tkSymbol},
                  {"++", J::tkSymbol},
                  {"--", J::tkSymbol}}},
        LineCase{"(a[0]){~}",
                 {{"(", J::tkSymbol},
                  {"a", J::tkIdentifier},
                  {"[", J::tkSymbol},
                  {"0", J::tkNumber},
                  {"]", J::tkSymbol},
                  {")", J::tkSymbol},
                  {"{", J::tkSymbol},
                  {"~", J::tkSymbol},
                  {"}", J::tkSymbol}}},
        LineCase{"$x @",
                 {{"$", J::tkUnknown}, {"x", J::tkIdentifier}, {" ", J::tkSpace}, {"@", J::tkUnknown}}},
        LineCase{"\t \x01x\xE9", {{"\t \x01", J::tkSpace}, {"x", J::tkIdentifier}, {"\xE9", J::tkUnknown}}}));

TEST(JScriptRanges, BlockCommentRunsOnOverLines) {
    J highlighter(nullptr);
    std::vector<TSynRangeValue> ranges;
    const auto lines = scanLines(highlighter, {"a/*b", "", "  more", "c*/d", "/*/"}, ranges);
    EXPECT_EQ(lines[0], (std::vector<Token>{{"a", J::tkIdentifier}, {"/*b", J::tkComment}}));
    EXPECT_TRUE(lines[1].empty());
    EXPECT_EQ(lines[2], (std::vector<Token>{{"  more", J::tkComment}}));
    EXPECT_EQ(lines[3], (std::vector<Token>{{"c*/", J::tkComment}, {"d", J::tkIdentifier}}));
    EXPECT_EQ(lines[4], (std::vector<Token>{{"/*/", J::tkComment}}));
    EXPECT_EQ(ranges,
              (std::vector<TSynRangeValue>{J::rsANSI, J::rsANSI, J::rsANSI, J::rsUnknown, J::rsANSI}));
}

TEST(JScriptRanges, StringsAndLineCommentsEndWithTheirLine) {
    J highlighter(nullptr);
    std::vector<TSynRangeValue> ranges;
    scanLines(highlighter, {"\"open", "// note"}, ranges);
    EXPECT_EQ(ranges, (std::vector<TSynRangeValue>{J::rsUnknown, J::rsUnknown}));
}

TEST(JScriptRanges, SetRangeTakesTheLowByte) {
    J highlighter(nullptr);
    highlighter.SetRange(0x100 | J::rsANSI);
    EXPECT_EQ(highlighter.GetRange(), J::rsANSI);
    highlighter.ResetRange();
    EXPECT_EQ(highlighter.GetRange(), J::rsUnknown);
    // An unknown state scans as normal code.
    EXPECT_EQ(scanLine(highlighter, "x", NullRange), (std::vector<Token>{{"x", J::tkIdentifier}}));
}

TEST(JScriptAttributes, EachKindIsPaintedWithItsAttribute) {
    J highlighter(nullptr);
    const struct {
        const char* Line;
        TSynHighlighterAttributes* Attribute;
    } cases[] = {
        {"//", highlighter.CommentAttri()},
        {"x", highlighter.IdentifierAttri()},
        {"@", highlighter.IdentifierAttri()},
        {"if", highlighter.KeyAttri()},
        {"alert", highlighter.NonReservedKeyAttri()},
        {"onClick", highlighter.EventAttri()},
        {"1", highlighter.NumberAttri()},
        {" ", highlighter.SpaceAttri()},
        {"'s'", highlighter.StringAttri()},
        {";", highlighter.SymbolAttri()},
    };
    for (const auto& c : cases) {
        highlighter.SetLine(c.Line, 0);
        EXPECT_EQ(highlighter.GetTokenAttribute(), c.Attribute) << c.Line;
    }
    highlighter.SetLine("", 0);
    EXPECT_TRUE(highlighter.GetEol());
    EXPECT_EQ(highlighter.GetTokenAttribute(), nullptr);
}

TEST(JScriptAttributes, NamesStylesAndDefaults) {
    J highlighter(nullptr);
    const struct {
        const char* Name;
        TFontStyles Style;
    } expected[] = {{"Comment", {fsItalic}}, {"Event", {}},
                    {"Identifier", {}},      {"Non-reserved Keyword", {}},
                    {"Number", {}},          {"Reserved Word", {fsBold}},
                    {"Space", {}},           {"String", {}},
                    {"Symbol", {}}};
    ASSERT_EQ(highlighter.GetAttribCount(), 9);
    for (int i = 0; i < 9; ++i) {
        TSynHighlighterAttributes* attribute = highlighter.GetAttribute(i);
        EXPECT_EQ(attribute->Name(), expected[i].Name);
        EXPECT_EQ(attribute->Style(), expected[i].Style) << expected[i].Name;
        EXPECT_EQ(attribute->Foreground(), clNone);
        EXPECT_EQ(attribute->Background(), clNone);
        EXPECT_FALSE(attribute->GetFontStyleStored());
    }
    EXPECT_EQ(highlighter.GetDefaultAttribute(SYN_ATTR_COMMENT), highlighter.CommentAttri());
    EXPECT_EQ(highlighter.GetDefaultAttribute(SYN_ATTR_IDENTIFIER), highlighter.IdentifierAttri());
    EXPECT_EQ(highlighter.GetDefaultAttribute(SYN_ATTR_KEYWORD), highlighter.KeyAttri());
    EXPECT_EQ(highlighter.GetDefaultAttribute(SYN_ATTR_STRING), highlighter.StringAttri());
    EXPECT_EQ(highlighter.GetDefaultAttribute(SYN_ATTR_WHITESPACE), highlighter.SpaceAttri());
    EXPECT_EQ(highlighter.GetDefaultAttribute(SYN_ATTR_SYMBOL), highlighter.SymbolAttri());
    EXPECT_EQ(highlighter.GetDefaultAttribute(6), nullptr);
}

TEST(JScriptHighlighter, LanguageFilterAndCharacters) {
    J highlighter(nullptr);
    EXPECT_EQ(J::GetLanguageName(), "JavaScript");
    EXPECT_EQ(highlighter.GetLanguageNameProp(), "JavaScript");
    EXPECT_EQ(highlighter.GetDefaultFilter(), "Javascript Files (*.js)|*.js");
    EXPECT_FALSE(highlighter.IsFilterStored());
    highlighter.SetDefaultFilter("Scripts|*.js");
    EXPECT_TRUE(highlighter.IsFilterStored());

    const TSynIdentChars chars = highlighter.GetIdentChars();
    int count = 0;
    for (int c = 0; c < 256; ++c)
        count += chars.Contains(static_cast<char>(c)) ? 1 : 0;
    EXPECT_EQ(count, 125);
    EXPECT_TRUE(chars.Contains('_'));
    EXPECT_TRUE(chars.Contains('\xC0'));
    EXPECT_FALSE(chars.Contains('\xD7'));
    EXPECT_FALSE(chars.Contains('\xF7'));
    EXPECT_FALSE(chars.Contains('$'));
}

TEST(JScriptHighlighter, SampleSource) {
    J highlighter(nullptr);
    const AnsiString sample = highlighter.GetSampleSource();
    const auto lines = splitLines(sample);
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[0], "// Syntax highlighting");
    EXPECT_EQ(lines[12], "  i += @; // illegal character");
    EXPECT_EQ(lines[14], "body.onLoad = printNumber;");
    EXPECT_EQ(sample.find('\n'), sample.find('\r') + 1);
    EXPECT_NE(sample.back(), '\n');
}

} // namespace
