// The expression evaluator: values, precedence, skipped characters and every
// error with its message and position.
#include "gl/glUtils.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

namespace {

AnsiString messageOf(const AnsiString& expression) {
    try {
        CalcMathString(expression);
    } catch (const Exception& e) {
        return e.Message;
    }
    return "(no exception)";
}

TEST(CalcMathString, Values) {
    const struct {
        const char* text;
        float value;
    } cases[] = {
        // operators and precedence
        {"2+3*4", 14},
        {"(1+2)*3", 9},
        {"10-4-3", 3},
        {"8/4/2", 1},
        {"2*3+4*5", 26},
        {"7/2", 3.5f},
        {"(2+3)*(4-1)", 15},
        {"((1))", 1},
        {"1/3", 1.0f / 3.0f},
        // numbers
        {"1,5*2", 3},
        {"1.5*2", 3},
        {"1.25", 1.25f},
        {"0.125", 0.125f},
        {"0.1", 0.1f},
        {"16777217", 16777216.0f}, // single precision
        // unary minus
        {"-5", -5},
        {"2*-3", -6},
        {"--5", 5},
        {"-(2+3)", -5},
        {"(-5)", -5},
        {"3*(-2)", -6},
        {"1-(-2)", 3},
        // blanks and skipped characters
        {"  1 + 2  ", 3},
        {"\t7\r\n", 7},
        {"1 2", 12},
        {"2x3", 23},
        {"abc", 0},
        {"\xE9"
         "4",
         4},
        // what starts no factor counts as 0; text after the expression is ignored
        {"1*+2", 2},
        {"()", 0},
        {"3-", 3},
        {"1(2", 1},
    };
    for (const auto& c : cases) {
        try {
            EXPECT_EQ(CalcMathString(c.text), c.value) << c.text;
        } catch (const Exception& e) {
            ADD_FAILURE() << c.text << " raised " << e.Message;
        }
    }
}

TEST(CalcMathString, Errors) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"", "Expression string is empty."},
        {"    ", "Expression string is empty."},
        {"\t\r\n", "Expression string is empty."},
        {"7/0", "Divide by 0"},
        {"1/(2-2)", "Divide by 0"},
        {"1/-0", "Divide by 0"},
        {"(1+2", "Right brakets not found"},
        {"((1)", "Right brakets not found"},
        {"1+2)", "Right braket havn't a left one. Pos:3"},
        {"(1+2))", "Right braket havn't a left one. Pos:5"},
        {"1 )", "Right braket havn't a left one. Pos:2"},
        {")", "Right braket havn't a left one. Pos:0"},
        {"1++2", "Duplicate signs. Pos:2"},
        {"1+*2", "Duplicate signs. Pos:2"},
        {"1+ +2", "Duplicate signs. Pos:3"},
        {"1--2", "Duplicate signs at. Pos:2"},
        {"1-/2", "Duplicate signs at. Pos:2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(messageOf(c.text), c.message) << '"' << c.text << '"';
}

TEST(CalcMathString, NestingIsBounded) {
    const int limit = 256;
    const AnsiString deepest = AnsiString(limit, '(') + "1" + AnsiString(limit, ')');
    EXPECT_EQ(CalcMathString(deepest), 1);
    EXPECT_EQ(CalcMathString(AnsiString(limit, '-') + "1"), 1);

    const char* tooDeep = "Expression is nested too deeply";
    EXPECT_EQ(messageOf("(" + deepest + ")"), tooDeep);
    EXPECT_EQ(messageOf(AnsiString(limit + 1, '-') + "1"), tooDeep);
    // Far past the bound: a clean error, not a stack overflow.
    EXPECT_EQ(messageOf(AnsiString(1000000, '(') + "1"), tooDeep);
    EXPECT_EQ(messageOf(AnsiString(1000000, '-') + "1"), tooDeep);
}

} // namespace
