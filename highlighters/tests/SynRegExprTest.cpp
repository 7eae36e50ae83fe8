#include "highlighters/SynRegExpr.h"

#include "platform/core/Classes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <sstream>

namespace {

// The node names of an expression's program, in program order, from the listing.
std::vector<std::string> nodeNames(const AnsiString& expression, const AnsiString& modifiers = "") {
    TRegExpr regExpr;
    regExpr.SetModifierStr(modifiers);
    regExpr.SetExpression(expression);
    std::vector<std::string> names;
    std::istringstream listing(regExpr.Dump());
    for (std::string line; std::getline(listing, line);) {
        const size_t colon = line.find(':');
        if (colon == std::string::npos || line.rfind("FirstCharSet", 0) == 0) continue;
        names.push_back(line.substr(colon + 1, line.find(' ', colon) - colon - 1));
        if (names.back() == "END") break;
    }
    return names;
}

std::string listingLine(const AnsiString& expression, const std::string& name) {
    TRegExpr regExpr;
    regExpr.SetExpression(expression);
    std::istringstream listing(regExpr.Dump());
    for (std::string line; std::getline(listing, line);)
        if (line.find(":" + name + " ") != std::string::npos) return line.substr(0, line.size() - 1);
    return "";
}

// The error an expression's compile raises, or none.
struct CompileError {
    Integer code = 0;
    Integer position = 0;
    std::string message;
};

CompileError compileError(const AnsiString& expression) {
    TRegExpr regExpr;
    regExpr.SetExpression(expression);
    try {
        regExpr.Compile();
    } catch (const ERegExpr& error) {
        return {error.ErrorCode, error.CompilerErrorPos, error.Message};
    }
    return {};
}

Integer errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ERegExpr& error) {
        return error.ErrorCode;
    }
    return 0;
}

// The whole match as the text matched, or "<none>".
std::string firstMatch(const AnsiString& expression, const AnsiString& input,
                       const AnsiString& modifiers = "") {
    TRegExpr regExpr;
    regExpr.SetModifierStr(modifiers);
    regExpr.SetExpression(expression);
    return regExpr.Exec(input) ? regExpr.GetMatch(0) : "<none>";
}

std::vector<Integer> allMatchPositions(TRegExpr& regExpr, const AnsiString& input) {
    std::vector<Integer> positions;
    if (regExpr.Exec(input)) {
        do
            positions.push_back(regExpr.GetMatchPos(0));
        while (regExpr.ExecNext());
    }
    return positions;
}

std::vector<std::string> stringsOf(const TStrings& list) {
    std::vector<std::string> strings;
    for (Integer i = 0; i < list.Count(); ++i)
        strings.push_back(list[i]);
    return strings;
}

using Names = std::vector<std::string>;

} // namespace

// ---- Program form -------------------------------------------------------------

TEST(RegExprCompile, ProgramFormOfTheBasicConstructs) {
    EXPECT_EQ(nodeNames("ab*"), (Names{"BRANCH", "EXACTLY", "STAR", "EXACTLY", "END"}));
    EXPECT_EQ(nodeNames("a{2,3}"), (Names{"BRANCH", "BRACES", "EXACTLY", "END"}));
    EXPECT_EQ(listingLine("a{2,3}", "BRACES"), " 6:BRACES (26) {2,3}");
    EXPECT_EQ(nodeNames("(ab)*"), (Names{"BRANCH", "BRANCH", "OPEN[1]", "BRANCH", "EXACTLY", "CLOSE[1]",
                                         "BACK", "BRANCH", "NOTHING", "END"}));
    EXPECT_EQ(nodeNames("(ab)+"), (Names{"BRANCH", "OPEN[1]", "BRANCH", "EXACTLY", "CLOSE[1]", "BRANCH",
                                         "BACK", "BRANCH", "NOTHING", "END"}));
    EXPECT_EQ(nodeNames("(ab)*?"),
              (Names{"BRANCH", "LOOPENTRY", "OPEN[1]", "BRANCH", "EXACTLY", "CLOSE[1]", "LOOPNG", "END"}));
    EXPECT_EQ(listingLine("(ab)*?", "LOOPNG"), "34:LOOPNG (51)  -> (11) {0,2147483646}");
    EXPECT_EQ(nodeNames("a?"), (Names{"BRANCH", "BRANCH", "EXACTLY", "BRANCH", "NOTHING", "END"}));
    EXPECT_EQ(nodeNames("a??"), (Names{"BRANCH", "BRACESNG", "EXACTLY", "END"}));
    EXPECT_EQ(nodeNames("a+?b*?"), (Names{"BRANCH", "PLUSNG", "EXACTLY", "STARNG", "EXACTLY", "END"}));
    EXPECT_EQ(nodeNames("a|"), (Names{"BRANCH", "EXACTLY", "BRANCH", "NOTHING", "END"}));
    EXPECT_EQ(nodeNames("(a)\\1"),
              (Names{"BRANCH", "OPEN[1]", "BRANCH", "EXACTLY", "CLOSE[1]", "BSUBEXP", "END"}));
    EXPECT_EQ(listingLine("(a)\\1", "BSUBEXP"), "28:BSUBEXP (34)  \\1");
    EXPECT_EQ(nodeNames("(a)\\1", "i"),
              (Names{"BRANCH", "OPEN[1]", "BRANCH", "EXACTLY/CI", "CLOSE[1]", "BSUBEXP/CI", "END"}));
}

TEST(RegExprCompile, ListingOfAProgram) {
    TRegExpr regExpr;
    regExpr.SetExpression("ab*");
    EXPECT_EQ(regExpr.Dump(), " 1:BRANCH (25) \r\n"
                              " 6:EXACTLY (13) a\r\n"
                              "13:STAR (25) \r\n"
                              "18:EXACTLY (0)b\r\n"
                              "25:END (0)\r\n"
                              "start a\r\n"
                              "FirstCharSet:a\r\n");
    regExpr.SetExpression("x*[\\x01y]z");
    EXPECT_NE(regExpr.Dump().find("\r\nmust have z\r\nFirstCharSet:#1xy\r\n"), std::string::npos)
        << regExpr.Dump();
    regExpr.SetExpression("^a");
    EXPECT_NE(regExpr.Dump().find("\r\nanchored \r\nFirstCharSet:a\r\n"), std::string::npos)
        << regExpr.Dump();
    regExpr.SetExpression("\\s");
    EXPECT_NE(regExpr.Dump().find("ANYOFFULLSET (43) #9#10#12#13 \r\n"), std::string::npos) << regExpr.Dump();
}

TEST(RegExprCompile, BracesThatDoNotFormAQuantifierAreText) {
    EXPECT_EQ(nodeNames("a{,3}"), (Names{"BRANCH", "EXACTLY", "EXACTLY", "END"}));
    EXPECT_EQ(listingLine("a{,3}", "EXACTLY").substr(0, 17), " 6:EXACTLY (13) a");
    for (const char* expression : {"a{,3}", "a{x}", "a{2", "a{2,x}", "{2}"}) {
        SCOPED_TRACE(expression);
        EXPECT_EQ(firstMatch(expression, std::string("x") + expression + "x"), expression);
    }
    EXPECT_EQ(firstMatch("a{2,}", "aaaaa"), "aaaaa");
    EXPECT_EQ(firstMatch("a{2}", "aaaaa"), "aa");
    EXPECT_EQ(firstMatch("a{0}b", "ab"), "b");
}

TEST(RegExprCompile, SetsEmitTinyOrFullSets) {
    EXPECT_EQ(listingLine("[abc]", "ANYOFTINYSET"), " 6:ANYOFTINYSET (14) abc");
    EXPECT_EQ(listingLine("[cab]", "ANYOFTINYSET"), " 6:ANYOFTINYSET (14) abc");
    EXPECT_EQ(listingLine("[abcd]", "ANYOFFULLSET"), " 6:ANYOFFULLSET (43) abcd");
    EXPECT_EQ(listingLine("[^ab]", "ANYBUTTINYSET"), " 6:ANYBUTTINYSET (14) abb");
    EXPECT_EQ(listingLine("[a]", "ANYOFTINYSET"), " 6:ANYOFTINYSET (14) aaa");
    EXPECT_EQ(nodeNames("[^abcd]"), (Names{"BRANCH", "ANYOFFULLSET", "END"}));
}

TEST(RegExprCompile, SetMembers) {
    struct Row {
        const char* expression;
        const char* matching;
        const char* notMatching;
    };
    const Row rows[] = {
        {"[\\D]", "D", "1a"},      // only \d, \w and \s are classes inside a set
        {"[\\W\\S]", "WS", "a -"}, //
        {"[\\b]", "b", "\b"},      //
        {"[]a]", "]a", "b"},       // "]" first is a member
        {"[^]a]", "b", "]a"},      //
        {"[a-]", "a-", "b"},       // "-" last is a member
        {"[a-c-e]", "abc-e", "d"}, // after a range "-" is a member
        {"[\\d-z]", "5-z", "y"},   // after a class "-" is a member
        {"[a-\\d]", "a-5", "b"},   // a class cannot end a range
        {"[\\x41-\\x43]", "ABC", "D"}, {"[\\t\\n]", "\t\n", "tn"}, {"[A-C]", "ABC", "abc"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expression);
        for (const char* ch = row.matching; *ch; ++ch)
            EXPECT_EQ(firstMatch(row.expression, {*ch}), AnsiString{*ch});
        for (const char* ch = row.notMatching; *ch; ++ch)
            EXPECT_EQ(firstMatch(row.expression, {*ch}), "<none>");
    }
    EXPECT_EQ(firstMatch("[A-C]+", "xaBcd", "i"), "aBc");
    EXPECT_EQ(firstMatch("[^a]+", "AaAb", "i"), "b");
}

TEST(RegExprCompile, CyrillicRangesFollowTheRModifier) {
    constexpr char LowerYo = '\xB8', UpperYo = '\xA8', LowerA = '\xE0', UpperA = '\xC0';
    EXPECT_EQ(firstMatch("[\xE0-\xFF]", {LowerYo}), AnsiString{LowerYo});
    EXPECT_EQ(firstMatch("[\xC0-\xDF]", {UpperYo}), AnsiString{UpperYo});
    EXPECT_EQ(firstMatch("[\xE0-\xDF]+", {UpperYo, LowerA, UpperA, LowerYo}),
              AnsiString({UpperYo, LowerA, UpperA, LowerYo}));
    EXPECT_EQ(firstMatch("[\xE0-\xFF]", {LowerYo}, "-r"), "<none>");
    EXPECT_EQ(compileError("(?-r)[\xE0-\xDF]").code, reeInvalidRange);
}

TEST(RegExprCompile, WithoutGEveryQuantifierIsNonGreedy) {
    EXPECT_EQ(nodeNames("a*", "-g"), (Names{"BRANCH", "STARNG", "EXACTLY", "END"}));
    EXPECT_EQ(nodeNames("(ab)+", "-g"),
              (Names{"BRANCH", "LOOPENTRY", "OPEN[1]", "BRANCH", "EXACTLY", "CLOSE[1]", "LOOPNG", "END"}));
    EXPECT_EQ(firstMatch("a+", "aaa", "-g"), "a");
}

TEST(RegExprCompile, ErrorsCarryCodeAndPosition) {
    struct Row {
        const char* expression;
        Integer code;
        Integer position;
    };
    const Row rows[] = {
        {"a**", reeNestedSQP, 2},
        {"a{2}{3}", reeNestedSQP, 4},
        {"*a", reeQPSBFollowsNothing, 1},
        {"a|+", reeQPSBFollowsNothing, 3},
        {"(a", reeCompParseRegUnmatchedBrackets, 2},
        {"a)", reeCompParseRegUnmatchedBrackets2, 1},
        {"a{3,2}", reeBracesMinParamGreaterMax, 6},
        {"a{123456789}", reeBRACESArgTooBig, 2},
        {"[a", reeUnmatchedSqBrackets, 2},
        {"[", reeUnmatchedSqBrackets, 1},
        {"[^", reeUnmatchedSqBrackets, 2},
        {"[b-a]", reeInvalidRange, 4},
        {"a\\", reeTrailingBackSlash, 2},
        {"[a\\", reeParseAtomTrailingBackSlash, 3},
        {"\\x", reeNoHexCodeAfterBSlashX, 2},
        {"\\x4", reeNoHexCodeAfterBSlashX, 3},
        {"\\x{41", reeNoHexCodeAfterBSlashX, 5},
        {"\\xg0", reeBadHexDigit, 2},
        {"\\x{100}", reeHexCodeAfterBSlashXTooBig, 6},
        {"(?#comment", reeUnclosedComment, 10},
        {"(?q)", reeUrecognizedModifier, 1},
        {"(?i", reeUrecognizedModifier, 3},
        {"(?i)*", reePlusStarOperandCouldBeEmpty, 4},
        {"\\b+", reePlusStarOperandCouldBeEmpty, 2},
        {"(a|)*", reePlusStarOperandCouldBeEmpty, 4},
        {"(a*)+", reePlusStarOperandCouldBeEmpty, 4},
        {"(?:a)", reeUrecognizedModifier, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expression);
        const CompileError error = compileError(row.expression);
        EXPECT_EQ(error.code, row.code);
        EXPECT_EQ(error.position, row.position);
    }
    EXPECT_EQ(compileError("a**").message, "TRegExpr(comp): Nested *?+ (pos 2)");
    EXPECT_EQ(compileError("(a").message, "TRegExpr(comp): ParseReg Unmatched () (pos 2)");
}

TEST(RegExprCompile, FourteenGroupsCompileAndAFifteenthFails) {
    std::string fourteen;
    for (int i = 0; i < 14; ++i)
        fourteen += "(a)";
    EXPECT_EQ(compileError(fourteen).code, 0);
    EXPECT_EQ(compileError(fourteen + "(a)").code, reeCompParseRegTooManyBrackets);
    TRegExpr regExpr;
    regExpr.SetExpression(fourteen);
    ASSERT_TRUE(regExpr.Exec(std::string(14, 'a')));
    EXPECT_EQ(regExpr.GetSubExprMatchCount(), 14);
    EXPECT_EQ(regExpr.GetMatchPos(14), 14);
}

TEST(RegExprCompile, AFailedCompileLeavesNoProgramAndFailsAgain) {
    TRegExpr regExpr;
    regExpr.SetExpression("a(");
    EXPECT_EQ(errorOf([&] { regExpr.Exec("a"); }), reeCompParseRegUnmatchedBrackets);
    EXPECT_EQ(regExpr.LastError(), reeCompParseRegUnmatchedBrackets);
    EXPECT_EQ(regExpr.LastError(), reeOk);
    EXPECT_EQ(errorOf([&] { regExpr.Exec("a"); }), reeCompParseRegUnmatchedBrackets);
}

TEST(RegExprCompile, ErrorMessages) {
    TRegExpr regExpr;
    EXPECT_EQ(regExpr.ErrorMsg(reeOk), "No errors");
    EXPECT_EQ(regExpr.ErrorMsg(reeLoopWithoutEntry), "TRegExpr(exec): Loop Without LoopEntry !");
    EXPECT_EQ(regExpr.ErrorMsg(reeModifierUnsupported), "Unknown error");
    EXPECT_EQ(regExpr.ErrorMsg(12345), "Unknown error");
    try {
        regExpr.Exec("a");
        FAIL() << "no expression";
    } catch (const ERegExpr& error) {
        EXPECT_EQ(error.ErrorCode, reeNoExpression);
        EXPECT_EQ(error.Message, "TRegExpr(exec): Not Assigned Expression Property");
        EXPECT_EQ(error.CompilerErrorPos, 0);
    }
}

// ---- Modifiers ---------------------------------------------------------------

TEST(RegExprModifiers, DefaultsAndModifierString) {
    TRegExpr regExpr;
    EXPECT_EQ(regExpr.GetModifierStr(), "gsr-imx");
    const bool expected[] = {false, true, true, true, false, false};
    for (Integer index = 1; index <= 6; ++index)
        EXPECT_EQ(regExpr.GetModifier(index), expected[index - 1]);
    regExpr.SetModifierStr("I-gS");
    EXPECT_EQ(regExpr.GetModifierStr(), "ri-sgmx");
    regExpr.SetModifierStr("msx-");
    EXPECT_EQ(regExpr.GetModifierStr(), "xmsri-g");
    regExpr.SetModifier(4, true);
    EXPECT_EQ(regExpr.GetModifierStr(), "xmgsri");
    EXPECT_EQ(errorOf([&] { regExpr.SetModifierStr("-iq"); }), reeModifierUnsupported);
    EXPECT_FALSE(regExpr.GetModifier(1)) << "letters before the bad one are applied";
    EXPECT_EQ(errorOf([&] { regExpr.SetModifier(0, true); }), reeModifierUnsupported);
    EXPECT_EQ(errorOf([&] { regExpr.GetModifier(7); }), reeModifierUnsupported);
}

TEST(RegExprModifiers, ParseModifiersStr) {
    Integer mask = 0;
    EXPECT_TRUE(TRegExpr::ParseModifiersStr("", mask));
    EXPECT_EQ(mask, 0);
    EXPECT_TRUE(TRegExpr::ParseModifiersStr("iM-x", mask));
    EXPECT_EQ(mask, 1 | 16);
    EXPECT_TRUE(TRegExpr::ParseModifiersStr("-i", mask));
    EXPECT_EQ(mask, 16);
    EXPECT_FALSE(TRegExpr::ParseModifiersStr("g:", mask));
    EXPECT_EQ(mask, 16 | 8);
}

TEST(RegExprModifiers, TheConstructorCopiesTheGlobalsButNeverX) {
    RegExprModifierI = true;
    RegExprModifierX = true;
    TRegExpr regExpr;
    RegExprModifierI = false;
    RegExprModifierX = false;
    EXPECT_EQ(regExpr.GetModifierStr(), "gsri-mx");
}

TEST(RegExprModifiers, AnInlineModifierLastsToTheEndOfItsGroup) {
    EXPECT_EQ(firstMatch("(a(?i)b)c", "aBc"), "aBc");
    EXPECT_EQ(firstMatch("(a(?i)b)c", "aBC"), "<none>");
    EXPECT_EQ(firstMatch("(?i)a(?-i)b", "Ab"), "Ab");
    EXPECT_EQ(firstMatch("(?i)a(?-i)b", "AB"), "<none>");
    EXPECT_EQ(firstMatch("a(?#note)b", "ab"), "ab");
    EXPECT_EQ(firstMatch("(?x) a b # note\n c", "abc"), "abc");
}

TEST(RegExprModifiers, ChangingAModifierRecompiles) {
    TRegExpr regExpr;
    regExpr.SetExpression("abc");
    EXPECT_FALSE(regExpr.Exec("ABC"));
    regExpr.SetModifier(1, true);
    EXPECT_TRUE(regExpr.Exec("ABC"));
}

TEST(RegExprModifiers, CaseInverter) {
    EXPECT_EQ(TRegExpr::InvertCaseFunction('a'), 'A');
    EXPECT_EQ(TRegExpr::InvertCaseFunction('A'), 'a');
    EXPECT_EQ(TRegExpr::InvertCaseFunction('1'), '1');
    EXPECT_EQ(TRegExpr::InvertCaseFunction('\xE9'), '\xC9');
    EXPECT_EQ(TRegExpr::InvertCaseFunction('\xC9'), '\xE9');
    EXPECT_EQ(TRegExpr::InvertCaseFunction('\xFF'), '\x9F');
    EXPECT_EQ(TRegExpr::InvertCaseFunction('\xDF'), '\xDF');
    EXPECT_EQ(firstMatch("\xE9t\xE9", "\xC9T\xC9", "i"), "\xC9T\xC9");

    // An object's own inverter is used for literals, sets and back-references.
    struct SwapXY : TObject {
        AnsiChar Invert(AnsiChar ch) const { return ch == 'x' ? 'y' : ch == 'y' ? 'x' : ch; }
    } swap;
    TRegExpr regExpr;
    regExpr.InvertCase = TRegExprInvertCaseFunction(&swap, &SwapXY::Invert);
    regExpr.SetModifierStr("i");
    regExpr.SetExpression("x[x](x)\\1");
    ASSERT_TRUE(regExpr.Exec("yyyy"));
    EXPECT_FALSE(regExpr.Exec("XXXX"));
}

// ---- Searching -------------------------------------------------------------------

TEST(RegExprSearch, EmptyMatchAtTheEndAndExecNext) {
    TRegExpr regExpr;
    regExpr.SetExpression("a*");
    ASSERT_TRUE(regExpr.Exec(""));
    EXPECT_EQ(regExpr.GetMatchPos(0), 1);
    EXPECT_EQ(regExpr.GetMatchLen(0), 0);
    EXPECT_FALSE(regExpr.ExecNext());

    EXPECT_EQ(allMatchPositions(regExpr, "baab"), (std::vector<Integer>{1, 2, 4, 5}));
    regExpr.SetExpression("$");
    regExpr.SetInputString("abc");
    ASSERT_TRUE(regExpr.ExecPos(4));
    EXPECT_EQ(regExpr.GetMatchPos(0), 4);
}

TEST(RegExprSearch, Offsets) {
    TRegExpr regExpr;
    regExpr.SetExpression("b");
    regExpr.SetInputString("abc");
    EXPECT_TRUE(regExpr.ExecPos(2));
    EXPECT_FALSE(regExpr.ExecPos(3));
    EXPECT_FALSE(regExpr.ExecPos(4));
    EXPECT_FALSE(regExpr.ExecPos(5));
    EXPECT_EQ(errorOf([&] { regExpr.ExecPos(0); }), reeOffsetMustBeGreaterThen0);
    EXPECT_TRUE(regExpr.Exec(Integer{1}));
    EXPECT_EQ(regExpr.GetMatchPos(0), 2);
}

// A search in place behaves as a search of the rest of the text.
TEST(RegExprSearch, ExecFromSearchesTheRestAsIfItWereTheWholeText) {
    const AnsiString text("ab cd\0ef cd", 11); // the NUL does not end it
    TRegExpr regExpr;
    regExpr.SetExpression("^c|\\bd|cd$");
    struct Case {
        Integer from;
        Integer position;
        AnsiString match;
    };
    const Case cases[] = {{1, 10, "cd"}, {4, 1, "c"}, {5, 1, "d"}, {7, 4, "cd"}, {12, -1, ""}, {20, -1, ""}};
    for (const Case& c : cases) {
        EXPECT_EQ(regExpr.ExecFrom(text, c.from), c.position >= 0) << c.from;
        EXPECT_EQ(regExpr.GetMatchPos(0), c.position) << c.from;
        EXPECT_EQ(regExpr.GetMatch(0), c.match) << c.from;
    }
}

TEST(RegExprSearch, ErrorsWithoutInputOrMatch) {
    TRegExpr regExpr;
    regExpr.SetExpression("a");
    EXPECT_EQ(errorOf([&] { regExpr.Exec(); }), reeNoInputStringSpecified);
    EXPECT_EQ(errorOf([&] { regExpr.GetInputString(); }), reeGetInputStringWithoutInputString);
    EXPECT_EQ(errorOf([&] { regExpr.ExecNext(); }), reeExecNextWithoutExec);
    EXPECT_EQ(errorOf([&] { regExpr.Substitute("$0"); }), reeNoInputStringSpecified);
    EXPECT_EQ(regExpr.GetMatchPos(0), -1);
    EXPECT_EQ(regExpr.GetSubExprMatchCount(), -1);
    EXPECT_FALSE(regExpr.Exec("b"));
    EXPECT_EQ(errorOf([&] { regExpr.ExecNext(); }), reeExecNextWithoutExec);
}

TEST(RegExprSearch, GroupResults) {
    TRegExpr regExpr;
    regExpr.SetExpression("(a)|(b)(c)?");
    ASSERT_TRUE(regExpr.Exec("xb"));
    EXPECT_EQ(regExpr.GetSubExprMatchCount(), 2);
    EXPECT_EQ(regExpr.GetMatchPos(1), -1);
    EXPECT_EQ(regExpr.GetMatchLen(1), -1);
    EXPECT_EQ(regExpr.GetMatch(1), "");
    EXPECT_EQ(regExpr.GetMatchPos(2), 2);
    EXPECT_EQ(regExpr.GetMatch(2), "b");
    EXPECT_EQ(regExpr.GetMatchPos(-1), -1);
    EXPECT_EQ(regExpr.GetMatchPos(NSUBEXP), -1);
    regExpr.SetInputString("xb");
    EXPECT_EQ(regExpr.GetMatchPos(0), -1) << "setting the input clears the results";
    EXPECT_EQ(regExpr.GetInputString(), "xb");
}

TEST(RegExprSearch, TheInputEndsAtItsFirstNul) {
    TRegExpr regExpr;
    regExpr.SetExpression("b");
    EXPECT_FALSE(regExpr.Exec(std::string("a\0b", 3)));
    EXPECT_EQ(regExpr.GetInputString(), "a");
    regExpr.SetExpression("a\\x00b");
    EXPECT_FALSE(regExpr.Exec("ab")) << "a NUL in the expression can never match";
}

TEST(RegExprSearch, StartUpFiltersKeepEveryMatch) {
    struct Row {
        const char* expression;
        const char* input;
        const char* match;
    };
    const Row rows[] = {
        {"^ab", "ab", "ab"},
        {"^ab", "cab", "<none>"},
        {"a*bcd", "xaabcd", "aabcd"},
        {"a*bcd", "aaab", "<none>"},
        {"x|y", "zzy", "y"},
        {"(a{0,3}){2}b", "b", "b"},
        {"(a{0,3}){2}b", "aab", "aab"},
        {"b*$", "ab", "b"},
        {"$", "a", ""},
        {"(\\w+)\\1", "xabab", "abab"},
        {"\\bb", "a b", "b"},
        {"[^a]", "aab", "b"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expression);
        EXPECT_EQ(firstMatch(row.expression, row.input), row.match);
    }
    TRegExpr regExpr;
    regExpr.SetExpression("^a");
    regExpr.SetInputString("ba");
    EXPECT_FALSE(regExpr.ExecPos(2)) << "an anchored expression matches only at the input start";
}

// A repeat that gives nothing back, the start positions skipped after a run
// already failed on, and the alternatives passed over because their first
// character is not there must find what the full search finds (as perl does).
TEST(RegExprSearch, ShortcutsKeepEveryMatch) {
    struct Row {
        const char* expression;
        const char* input;
        Integer position;
        const char* match;
    };
    const Row rows[] = {
        {"[a-z][a-z0-9]*\\(", "abc def9(x", 5, "def9("},
        {"[a-z][a-z0-9]*\\(", "9ab9c(d", 2, "ab9c("},
        {"[a-z]\\w*x", "ab1xc", 1, "ab1x"},
        {"a[ab]*b", "aab!ab", 1, "aab"},
        {"x[a-z]*$", "xab xcd", 5, "xcd"},
        {"x[a-z]*$", "xab xcd!", -1, ""},
        {"[a-z]+[0-9]", "abc d4", 5, "d4"},
        {"a*ab", "aaab", 1, "aaab"},
        {"\"[^\"]*\"", "say \"hi\" and \"bye", 5, "\"hi\""},
        {"(w|wh)ile", "a while", 3, "while"},
        {"(for|foreach)x", "foreachx", 1, "foreachx"},
        {"\\b(if|else)\\b", "elsif else", 7, "else"},
        {"(a|ab)(c|bcd)", "abcd", 1, "abcd"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expression);
        TRegExpr regExpr;
        regExpr.SetExpression(row.expression);
        const bool matched = regExpr.Exec(row.input);
        EXPECT_EQ(regExpr.GetMatchPos(0), row.position);
        EXPECT_EQ(matched ? regExpr.GetMatch(0) : AnsiString(), row.match);
    }
}

TEST(RegExprSearch, WordBoundaries) {
    EXPECT_EQ(firstMatch("\\bfoo\\b", "a foo."), "foo");
    EXPECT_EQ(firstMatch("\\bfoo\\b", "afoo."), "<none>");
    EXPECT_EQ(firstMatch("\\Boo\\B", "food"), "oo");
    EXPECT_EQ(firstMatch("\\Boo\\B", "oo"), "<none>");
    EXPECT_EQ(firstMatch("\\Boo\\B", "zoom"), "oo");
    TRegExpr regExpr;
    regExpr.SetExpression("\\bfoo");
    ASSERT_TRUE(regExpr.Exec("a-foo x foo"));
    EXPECT_EQ(regExpr.GetMatchPos(0), 3);
    regExpr.WordChars = "fo-";
    ASSERT_TRUE(regExpr.Exec("a-foo x foo"));
    EXPECT_EQ(regExpr.GetMatchPos(0), 9) << "the word characters are read when matching";
}

TEST(RegExprSearch, LineSeparatorsInMultiLineMode) {
    TRegExpr regExpr;
    regExpr.SetModifierStr("m");
    regExpr.SetExpression("^b");
    ASSERT_TRUE(regExpr.Exec("a\r\nb"));
    EXPECT_EQ(regExpr.GetMatchPos(0), 4);
    regExpr.SetExpression("^");
    EXPECT_EQ(allMatchPositions(regExpr, "a\r\nb\nc\rd"), (std::vector<Integer>{1, 4, 6, 8}));
    regExpr.SetExpression("$");
    EXPECT_EQ(allMatchPositions(regExpr, "a\r\nb\nc"), (std::vector<Integer>{2, 5, 7}));
    regExpr.SetExpression(".+");
    EXPECT_EQ(allMatchPositions(regExpr, "ab\r\ncd"), (std::vector<Integer>{1}));
    regExpr.SetModifierStr("-s");
    EXPECT_EQ(allMatchPositions(regExpr, "ab\r\ncd"), (std::vector<Integer>{1, 5}))
        << "without s . stops at line ends";

    regExpr.SetLineSeparators("|");
    regExpr.SetLinePairedSeparator("");
    regExpr.SetExpression("^b");
    EXPECT_TRUE(regExpr.Exec("a|b"));
    EXPECT_FALSE(regExpr.Exec("a\nb"));
    regExpr.SetModifierStr("-m");
    EXPECT_FALSE(regExpr.Exec("a|b"));
}

TEST(RegExprSearch, PairedSeparatorSetter) {
    TRegExpr regExpr;
    EXPECT_EQ(regExpr.GetLinePairedSeparator(), "\r\n");
    regExpr.SetLinePairedSeparator("ab");
    EXPECT_EQ(regExpr.GetLinePairedSeparator(), "ab");
    for (const char* bad : {"aa", "abc", "a"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(errorOf([&] { regExpr.SetLinePairedSeparator(bad); }), reeBadLinePairedSeparator);
    }
    regExpr.SetLinePairedSeparator("");
    EXPECT_EQ(regExpr.GetLinePairedSeparator(), "");
    EXPECT_EQ(regExpr.GetLineSeparators(), "\r\n");
}

TEST(RegExprSearch, CountedLoops) {
    EXPECT_EQ(firstMatch("(ab){2}", "abababab"), "abab");
    EXPECT_EQ(firstMatch("(ab){2,3}?", "abababab"), "abab");
    EXPECT_EQ(firstMatch("(ab)*?c", "ababc"), "ababc");
    EXPECT_EQ(firstMatch("((a|b){2}c){2}", "abcbac"), "abcbac");
    EXPECT_EQ(firstMatch("((ab){1,2}?c)+", "abcababc"), "abcababc");
}

TEST(RegExprSearch, ElevenNestedCountedLoopsExceedTheLoopStack) {
    std::string ten = "a", eleven;
    for (int i = 0; i < 10; ++i)
        ten = "(" + ten + "){1,2}";
    eleven = "(" + ten + "){1,2}";
    EXPECT_EQ(firstMatch(ten, "a"), "a");
    EXPECT_EQ(errorOf([&] { firstMatch(eleven, "a"); }), reeLoopStackExceeded);
}

// ---- Faults mended ------------------------------------------------------------------

// A back-reference repeated with *, + or {m,n} counts whole copies of the
// group's text, and an empty group ends the repeat at once.
TEST(RegExprMended, BackReferenceUnderARepeat) {
    struct Row {
        const char* expression;
        const char* input;
        const char* match;
    };
    const Row rows[] = {
        {"(ab)\\1*", "abababx", "ababab"},
        {"(ab)\\1+", "abx", "<none>"},
        {"(ab)\\1{2}", "abababab", "ababab"},
        {"(ab)\\1+?", "ababab", "abab"},
        {"(b)\\1*c", "abbbc", "bbbc"},
        {"(ab)\\1*b", "ababb", "ababb"},
        {"(a*)\\1*b", "b", "b"},
        {"(a*)\\1+$", "", ""},
        {"(a*)\\1{3,5}b", "xb", "b"},
        {"()\\1*?x", "x", "x"},
        {"(x)?\\1*y", "y", "y"},
        {"(a)\\1*", "AAA", "<none>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expression);
        EXPECT_EQ(firstMatch(row.expression, row.input), row.match);
    }
    EXPECT_EQ(firstMatch("(a)\\1*", "AAA", "i"), "AAA");
}

TEST(RegExprMended, LongSubjectsDoNotExhaustTheStack) {
    constexpr size_t Megabyte = 1 << 20;
    const AnsiString spaces(Megabyte, ' ');
    TRegExpr regExpr;
    regExpr.SetExpression("(\\s\\s)+");
    ASSERT_TRUE(regExpr.Exec(spaces));
    EXPECT_EQ(regExpr.GetMatchLen(0), static_cast<Integer>(Megabyte));
    EXPECT_EQ(regExpr.GetMatchPos(1), static_cast<Integer>(Megabyte) - 1);

    AnsiString alternating;
    for (size_t i = 0; i < Megabyte / 2; ++i)
        alternating += "ab";
    regExpr.SetExpression("(a|b)*[!c]");
    EXPECT_FALSE(regExpr.Exec(alternating));
    regExpr.SetExpression("(ab)*?$");
    ASSERT_TRUE(regExpr.Exec(alternating));
    EXPECT_EQ(regExpr.GetMatchLen(0), static_cast<Integer>(Megabyte));
    // Non-capturing groups are not part of the syntax.
    regExpr.SetExpression("(?:\\s\\s)+");
    EXPECT_EQ(errorOf([&] { regExpr.Exec(spaces); }), reeUrecognizedModifier);
}

TEST(RegExprMended, BacktrackingBeyondItsMemoryBoundFailsCleanly) {
    // Two choices per character: the loop's exit and the other alternative,
    // which can begin there too.
    AnsiString letters(2400000, 'a');
    TRegExpr regExpr;
    regExpr.SetExpression("(a|.)*$");
    EXPECT_EQ(errorOf([&] { regExpr.Exec(letters); }), reeBacktrackStackExceeded);
    EXPECT_EQ(regExpr.GetMatchPos(0), -1);
    letters.resize(1000);
    ASSERT_TRUE(regExpr.Exec(letters)) << "the object stays usable";
    EXPECT_EQ(regExpr.GetMatchLen(0), 1000);
}

TEST(RegExprMended, ExponentialBacktrackingEnds) {
    EXPECT_EQ(firstMatch("(a+)+$", std::string(30, 'a') + "b"), "<none>");
    EXPECT_EQ(firstMatch("(a+)+$", std::string(30, 'a')), std::string(30, 'a'));
    EXPECT_EQ(firstMatch("(a|aa)+$", std::string(60, 'a') + "b"), "<none>");
    EXPECT_EQ(firstMatch("(\\w+\\s?)+$", "a quick brown fox jumps over the lazy dog!"), "<none>");
    EXPECT_EQ(firstMatch("(a|aa)+b", std::string(60, 'a') + "b"), std::string(60, 'a') + "b");
}

// Lazy and counted loops remember their failures as greedy ones do, so these
// searches end quickly with the right answer instead of at the step budget.
TEST(RegExprMended, LazyAndCountedLoopsDoNotBacktrackExponentially) {
    struct Case {
        const char* expression;
        std::string subject;
        std::string match;
    };
    const std::string a40(40, 'a');
    const Case cases[] = {
        {"(a+?)+?$", a40 + "!", "<none>"},
        {"(a+?)+?b", a40 + "!b", "<none>"},
        {"(a+?)+?b", a40 + "b", a40 + "b"},
        {"(a|aa){2,30}b", a40 + "!", "<none>"},
        {"(a|aa){2,30}b", a40 + "!b", "<none>"},
        {"(a|aa){2,30}b", a40 + "b", a40 + "b"},
        {"(a|aa){2,30}?$", std::string(100, 'a') + "!", "<none>"},
        {"(a|aa){25,30}b", std::string(24, 'a') + "b", "<none>"},
        {"(a|aa){2,3}?", "aaaaaa", "aa"},
        {"x(a|ab)*?c", "xababac" + std::string(40, 'a'), "xababac"},
    };
    for (const Case& c : cases) {
        TRegExpr regExpr;
        regExpr.SetExpression(c.expression);
        bool matched = false;
        EXPECT_EQ(errorOf([&] { matched = regExpr.Exec(c.subject); }), 0) << c.expression;
        EXPECT_EQ(matched ? AnsiString(regExpr.GetMatch(0)) : AnsiString("<none>"), c.match) << c.expression;
    }
}

// Loops of every shape remember their failures, counted or not, nested or
// not, and with back-references keyed on the groups' spans, so that searches
// backtracking engines answer only slowly end quickly here with perl's answer
// instead of giving up.
TEST(RegExprMended, LoopsOverLongSubjectsAnswerAsPerlDoes) {
    struct Case {
        const char* expression;
        std::string subject;
        Integer position; // perl's 0-based offset, -1 for no match
        Integer length;
    };
    auto repeated = [](const std::string& unit, int count) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += unit;
        return text;
    };
    const std::string pairs = repeated("ab", 2500);
    const std::string a22(22, 'a');
    const std::string a24(24, 'a');
    const Case cases[] = {
        {"(a*b)*c", pairs + "!c", 5001, 1},
        {"(a*b)*c", pairs + "c", 0, 5001},
        {"(a*b)+c", pairs + "!c", -1, 0},
        {"(a*?b)*c", pairs + "!c", 5001, 1},
        {"(a*b)*?c", pairs + "!c", 5001, 1},
        {"(a*b){2,}c", pairs + "!c", -1, 0},
        {"(ab|b)*c", pairs + "!c", 5001, 1},
        {"(a|b)*c", pairs + "!c", 5001, 1},
        {"((a|aa)+){2}b", a24 + "!aaab", 25, 4},
        {"((a|aa)+){2}b", a24 + "!", -1, 0},
        {"((a|aa)+){2}b", a24 + "b", 0, 25},
        {"((a|aa)+){2,3}b", a24 + "!aaab", 25, 4},
        {"((a|aa)+){2,}b", a24 + "!aaab", 25, 4},
        {"((a|aa)+?){2}b", a24 + "!aaab", 25, 4},
        {"((a|aa){1,3}){2,}b", a24 + "!aaab", 25, 4},
        {"(((a|aa)+){2})+b", a24 + "!aaab", 25, 4},
        {"(a+)+\\1c", a22 + "!c", -1, 0},
        {"(a+)+\\1c", a22 + "c", 0, 23},
        {"(a+)*\\1c", a22 + "!c", -1, 0},
        {"(a+)+?\\1c", a22 + "!c", -1, 0},
        {"(a+){2,}\\1c", a22 + "!c", -1, 0},
        {"((a+)+)\\2c", a22 + "!c", -1, 0},
        {"(a|aa)+\\1$", std::string(60, 'a') + "!", -1, 0},
        {"(a|aa)+\\1$", std::string(60, 'a'), 0, 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression);
        TRegExpr regExpr;
        regExpr.SetExpression(c.expression);
        bool matched = false;
        ASSERT_EQ(errorOf([&] { matched = regExpr.Exec(c.subject); }), 0);
        EXPECT_EQ(matched ? regExpr.GetMatchPos(0) - 1 : -1, c.position);
        if (matched) {
            EXPECT_EQ(regExpr.GetMatchLen(0), c.length);
        }
    }
}

// What the memo cannot cover (simple repeats whose counts multiply) stops at
// the step budget with the engine's error instead of running for minutes,
// and the object stays usable.
TEST(RegExprMended, RunawayBacktrackingEndsWithAnError) {
    TRegExpr regExpr;
    regExpr.SetExpression("(a*)(a*)(a*)(a*)(a*)(a*)c$");
    EXPECT_EQ(errorOf([&] { regExpr.Exec(std::string(80, 'a') + "c!"); }), reeMatchStepBudgetExceeded);
    EXPECT_EQ(regExpr.GetMatchPos(0), -1);
    ASSERT_TRUE(regExpr.Exec("aac")) << "the object stays usable";
}

TEST(RegExprMended, AnEmptyExpressionDropsTheOldProgram) {
    TRegExpr regExpr;
    regExpr.SetExpression("a");
    ASSERT_TRUE(regExpr.Exec("a"));
    regExpr.SetExpression("");
    EXPECT_EQ(regExpr.GetExpression(), "");
    EXPECT_EQ(errorOf([&] { regExpr.Exec("a"); }), reeNoExpression);
}

TEST(RegExprMended, ManyDigitsAfterADollarInsertNothing) {
    TRegExpr regExpr;
    regExpr.SetExpression("(a)");
    ASSERT_TRUE(regExpr.Exec("a"));
    EXPECT_EQ(regExpr.Substitute("<$99999999999999999999999>"), "<>");
    EXPECT_EQ(regExpr.Substitute("<${4294967297}>"), "<>");
    EXPECT_EQ(regExpr.Substitute("<$000000000000000000001>"), "<a>");
}

// ---- Substitution, splitting and replacing -------------------------------------------

TEST(RegExprSubstitute, Templates) {
    TRegExpr regExpr;
    regExpr.SetExpression("(a)(b)");
    ASSERT_TRUE(regExpr.Exec("xab"));
    struct Row {
        const char* templateText;
        const char* result;
    };
    const Row rows[] = {
        {"$0-$1", "ab-a"}, {"$&|${&}", "ab|ab"}, {"$15$99", ""},    {"a$", "a$"},       {"${1}0", "a0"},
        {"$10", ""},       {"\\$1", "$1"},       {"x\\", "x\\"},    {"${1", "${1"},     {"${}$x", "${}$x"},
        {"", ""},          {"$2$1", "ba"},       {"\\\\$2", "\\b"}, {"${2}${1}", "ba"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.templateText);
        EXPECT_EQ(regExpr.Substitute(row.templateText), row.result);
    }
}

TEST(RegExprSubstitute, SplitAndReplace) {
    TStringList pieces;
    pieces.Add("kept");
    TRegExpr regExpr;
    regExpr.SetExpression(",");
    regExpr.Split("a,b,,c", &pieces);
    EXPECT_EQ(stringsOf(pieces), (std::vector<std::string>{"kept", "a", "b", "", "c"}));
    SplitRegExpr("\\s+", " x  y ", &pieces);
    EXPECT_EQ(stringsOf(pieces), (std::vector<std::string>{"", "x", "y", ""}));

    regExpr.SetExpression("(\\w)(\\d)");
    EXPECT_EQ(regExpr.Replace("a1 b2 c", "[$2$1]"), "[$2$1] [$2$1] c");
    EXPECT_EQ(regExpr.Replace("a1 b2 c", "[$2$1]", true), "[1a] [2b] c");
    EXPECT_EQ(ReplaceRegExpr("o", "foo", "0"), "f00");
    EXPECT_EQ(ReplaceRegExpr("x*", "ab", "-"), "-a-b-");

    struct Upper : TObject {
        AnsiString Replace(TRegExpr* match) { return "<" + match->GetMatch(1) + ">"; }
    } upper;
    const TRegExprReplaceFunction function(&upper, &Upper::Replace);
    EXPECT_EQ(regExpr.ReplaceEx("a1 b2 c", function), "<a> <b> c");
    EXPECT_EQ(regExpr.Replace("a1", function), "<a>");
}

TEST(RegExprSubstitute, UnitFunctions) {
    EXPECT_TRUE(ExecRegExpr("b+", "abbc"));
    EXPECT_FALSE(ExecRegExpr("d", "abbc"));
    EXPECT_EQ(QuoteRegExprMetaChars("a.b"), "a\\.b");
    EXPECT_EQ(QuoteRegExprMetaChars("^$.[()|?+*\\{]}x"), "\\^\\$\\.\\[\\(\\)\\|\\?\\+\\*\\\\\\{\\]\\}x");
    EXPECT_EQ(firstMatch(QuoteRegExprMetaChars("(a+)?"), "x(a+)?"), "(a+)?");
    EXPECT_EQ(TRegExpr::VersionMajor(), 0);
    EXPECT_EQ(TRegExpr::VersionMinor(), 952);
}

// ---- Sub-expression scan -----------------------------------------------------------

namespace {

struct SubExpression {
    std::string text;
    std::intptr_t span;
    bool operator==(const SubExpression&) const = default;
};

std::intptr_t span(std::intptr_t position, std::intptr_t length) {
    return position | (length << 16);
}

std::vector<SubExpression> subExpressions(const AnsiString& expression, Integer& result,
                                          bool extended = false) {
    TStringList list;
    list.Add("stale");
    result = RegExprSubExpressions(expression, &list, extended);
    std::vector<SubExpression> entries;
    for (Integer i = 0; i < list.Count(); ++i)
        entries.push_back({list[i], reinterpret_cast<std::intptr_t>(list.Objects(i))});
    return entries;
}

} // namespace

TEST(RegExprSubExpressions, ListsGroupsWithPositionsAndLengths) {
    Integer result = -99;
    EXPECT_EQ(
        subExpressions("a(b(c))d", result),
        (std::vector<SubExpression>{{"a(b(c))d", span(1, 8)}, {"b(c)", span(2, 6)}, {"c", span(4, 3)}}));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(subExpressions("(ab)", result), (std::vector<SubExpression>{{"ab", span(1, 4)}}));
    EXPECT_EQ(subExpressions("\\((a)[(]", result),
              (std::vector<SubExpression>{{"\\((a)[(]", span(1, 8)}, {"a", span(3, 3)}}));
    EXPECT_EQ(subExpressions("(?x)#(\n(b)", result, false),
              (std::vector<SubExpression>{{"(?x)#(\n(b)", span(1, 10)}, {"b", span(8, 3)}}));
    EXPECT_EQ(result, 0);
}

TEST(RegExprSubExpressions, ReportsUnbalancedExpressions) {
    Integer result = 0;
    subExpressions("a)b", result);
    EXPECT_EQ(result, 2);
    subExpressions("(ab", result);
    EXPECT_EQ(result, -1);
    subExpressions("a[b", result);
    EXPECT_EQ(result, -3);
    subExpressions("a(?i", result);
    EXPECT_EQ(result, -1);
    subExpressions("[]a](x)", result);
    EXPECT_EQ(result, 0);
}
