// Utility routines of the gl widget set.
#include "gl/glUtils.h"

#include "platform/core/Exceptions.h"

#include <string>

namespace {

constexpr char EndOfText = '\0';
constexpr unsigned char LastBlank = ' ';
constexpr char FirstSignificant = '(';
constexpr char LastSignificant = '9';

// Each parenthesis and each unary minus is one level of recursion; the bound
// keeps a hostile input from exhausting the stack.
constexpr int MaxNesting = 256;

constexpr const char* EmptyExpression = "Expression string is empty.";
constexpr const char* MissingRightBracket = "Right brakets not found";
constexpr const char* UnopenedRightBracket = "Right braket havn't a left one. Pos:";
constexpr const char* DivideByZero = "Divide by 0";
constexpr const char* SignAfterPlus = "Duplicate signs. Pos:";
constexpr const char* SignAfterMinus = "Duplicate signs at. Pos:";
constexpr const char* NestedTooDeeply = "Expression is nested too deeply";

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= LastBlank;
}
bool isSignificant(char c) {
    return c >= FirstSignificant && c <= LastSignificant;
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isOperator(char c) {
    return c == '*' || c == '+' || c == '-' || c == '/';
}
bool isDecimalSeparator(char c) {
    return c == '.' || c == ',';
}

AnsiString trimBlanks(const AnsiString& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

float powerOfTen(int exponent) {
    float power = 1;
    for (int i = 0; i < exponent; ++i)
        power *= 10;
    return power;
}

class NestingGuard {
public:
    explicit NestingGuard(int& level) : level_(level) {
        if (++level_ > MaxNesting) throw Exception(NestedTooDeeply);
    }
    ~NestingGuard() { --level_; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

private:
    int& level_;
};

// Recursive descent over the characters of one expression. Positions are
// 1-based as the messages count them: a message names position - 1, the
// offending character's index in the trimmed text.
class ExpressionParser {
public:
    explicit ExpressionParser(AnsiString text) : text_(std::move(text)) {}

    float evaluate() {
        readChar();
        return expression();
    }

private:
    void readChar() {
        do {
            ++position_;
            current_ = position_ <= text_.size() ? text_[position_ - 1] : EndOfText;
        } while (current_ != EndOfText && !isSignificant(current_));
    }

    [[noreturn]] void failAtCurrent(const char* message) const {
        throw Exception(message + std::to_string(position_ - 1));
    }

    float expression() {
        float value = term();
        for (;;) {
            if (current_ == '+') {
                readChar();
                rejectSecondSign(SignAfterPlus);
                value += term();
            } else if (current_ == '-') {
                readChar();
                rejectSecondSign(SignAfterMinus);
                value -= term();
            } else {
                return value;
            }
        }
    }

    void rejectSecondSign(const char* message) const {
        if (isOperator(current_)) failAtCurrent(message);
    }

    float term() {
        float value = factor();
        while (current_ == '*' || current_ == '/') {
            const char operation = current_;
            readChar();
            const float operand = factor();
            if (operation == '*') {
                value *= operand;
            } else {
                if (operand == 0) throw Exception(DivideByZero);
                value /= operand;
            }
        }
        return value;
    }

    // Anything that starts no factor counts as 0 and is left for the caller.
    float factor() {
        if (current_ == '-') return negated();
        float value = 0;
        if (isDigit(current_))
            value = number();
        else if (current_ == '(')
            value = parenthesised();
        countClosingBracket();
        return value;
    }

    // The factor being negated has already counted a ")" that follows it;
    // counting it again here would reject "(-5)".
    float negated() {
        NestingGuard guard(nesting_);
        readChar();
        return -factor();
    }

    float parenthesised() {
        NestingGuard guard(nesting_);
        ++depth_;
        readChar();
        const float value = expression();
        if (current_ != ')') throw Exception(MissingRightBracket);
        readChar();
        return value;
    }

    // A ")" closes a level as soon as the factor before it is complete; the
    // parenthesis routine then only reads past it.
    void countClosingBracket() {
        if (current_ == ')' && --depth_ < 0) failAtCurrent(UnopenedRightBracket);
    }

    // Skipped characters are skipped inside numbers too: "1 2" reads as 12.
    float number() {
        float value = 0;
        int fractionDigits = 0;
        bool separatorSeen = false;
        while (isDigit(current_)) {
            value = value * 10 + static_cast<float>(current_ - '0');
            readChar();
            if (separatorSeen) ++fractionDigits;
            if (isDecimalSeparator(current_)) {
                readChar();
                separatorSeen = true;
            }
        }
        return value / powerOfTen(fractionDigits);
    }

    AnsiString text_;
    std::size_t position_ = 0;
    char current_ = EndOfText;
    int depth_ = 0;
    int nesting_ = 0;
};

} // namespace

float CalcMathString(const AnsiString& expression) {
    AnsiString text = trimBlanks(expression);
    if (text.empty()) throw Exception(EmptyExpression);
    return ExpressionParser(std::move(text)).evaluate();
}
