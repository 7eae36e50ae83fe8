#include "platform/sqlite/Expression.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace sqlite2 {

namespace {

constexpr int NumberPrecision = 15;
constexpr int BitsInInteger = 64;

bool isDigit(char byte) {
    return byte >= '0' && byte <= '9';
}
unsigned char lowerAscii(unsigned char byte) {
    return byte >= 'A' && byte <= 'Z' ? byte - 'A' + 'a' : byte;
}

// The length of the number at the start of text (sign, digits, fraction, exponent), 0 if none.
std::size_t numberPrefixLength(std::string_view text) {
    std::size_t index = 0;
    if (index < text.size() && (text[index] == '+' || text[index] == '-')) ++index;
    const std::size_t digitsStart = index;
    while (index < text.size() && isDigit(text[index]))
        ++index;
    if (index == digitsStart) return 0;
    if (index + 1 < text.size() && text[index] == '.' && isDigit(text[index + 1])) {
        ++index;
        while (index < text.size() && isDigit(text[index]))
            ++index;
    }
    if (index < text.size() && (text[index] == 'e' || text[index] == 'E')) {
        std::size_t exponent = index + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
        if (exponent < text.size() && isDigit(text[exponent])) {
            index = exponent;
            while (index < text.size() && isDigit(text[index]))
                ++index;
        }
    }
    return index;
}

// The number a text starts with, 0 when it starts with none.
double numberValue(std::string_view text) {
    const std::size_t leadingSpace = std::min(text.find_first_not_of(" \t\n\r\f"), text.size());
    text.remove_prefix(leadingSpace);
    const std::size_t length = numberPrefixLength(text);
    if (length == 0) return 0;
    const bool negative = text[0] == '-';
    const std::size_t signLength = text[0] == '+' || text[0] == '-' ? 1 : 0;
    const std::string_view digits = text.substr(signLength, length - signLength);
    double value = 0;
    if (std::from_chars(digits.data(), digits.data() + digits.size(), value).ec ==
        std::errc::result_out_of_range)
        value = digits.find("e-") != std::string_view::npos || digits.find("E-") != std::string_view::npos
                    ? 0.0
                    : std::numeric_limits<double>::infinity();
    return negative ? -value : value;
}

std::int64_t integerValue(double number) {
    if (std::isnan(number)) return 0;
    constexpr double Limit = 9.2e18;
    return static_cast<std::int64_t>(std::clamp(number, -Limit, Limit));
}

std::string formatNumber(double number) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::general, NumberPrecision);
    return std::string(buffer, result.ptr);
}

// A value during evaluation: a text or NULL, and whether it forces text comparison.
struct Value {
    enum class Affinity { None, Text, Numeric };
    std::optional<std::string> text;
    Affinity affinity = Affinity::None;
};

Value nullValue() {
    return Value{std::nullopt, Value::Affinity::Numeric};
}
Value numberResult(double number) {
    return Value{formatNumber(number), Value::Affinity::Numeric};
}
Value truthValue(bool truth) {
    return Value{truth ? "1" : "0", Value::Affinity::Numeric};
}
Value truthOrNull(std::optional<bool> truth) {
    return truth ? truthValue(*truth) : nullValue();
}

std::optional<bool> truthOf(const Value& value) {
    if (!value.text) return std::nullopt;
    return numberValue(*value.text) != 0;
}

// Bytes compare unsigned, as the engine compares them; a prefix sorts first.
int compareUnsignedBytes(std::string_view left, std::string_view right) {
    const std::size_t common = std::min(left.size(), right.size());
    for (std::size_t index = 0; index < common; ++index) {
        const auto a = static_cast<unsigned char>(left[index]), b = static_cast<unsigned char>(right[index]);
        if (a != b) return a < b ? -1 : 1;
    }
    return left.size() < right.size() ? -1 : left.size() > right.size() ? 1 : 0;
}

// Numbers sort before other texts, which compare byte for byte.
int compareTexts(std::string_view left, std::string_view right, bool asText) {
    if (asText) return compareUnsignedBytes(left, right);
    const bool leftIsNumber = looksLikeNumber(left), rightIsNumber = looksLikeNumber(right);
    if (leftIsNumber && rightIsNumber) {
        const double a = numberValue(left), b = numberValue(right);
        return a < b ? -1 : a > b ? 1 : 0;
    }
    if (leftIsNumber != rightIsNumber) return leftIsNumber ? -1 : 1;
    return compareUnsignedBytes(left, right);
}

std::optional<int> compareValues(const Value& left, const Value& right) {
    if (!left.text || !right.text) return std::nullopt;
    return compareTexts(*left.text, *right.text,
                        left.affinity == Value::Affinity::Text || right.affinity == Value::Affinity::Text);
}

bool matchesClass(std::string_view pattern, std::size_t& index, unsigned char byte) {
    // index is just past '['; leaves it just past the closing ']'.
    bool negated = index < pattern.size() && pattern[index] == '^';
    if (negated) ++index;
    bool matched = false;
    bool first = true;
    while (index < pattern.size() && (first || pattern[index] != ']')) {
        const auto low = static_cast<unsigned char>(pattern[index]);
        if (index + 2 < pattern.size() && pattern[index + 1] == '-' && pattern[index + 2] != ']') {
            const auto high = static_cast<unsigned char>(pattern[index + 2]);
            matched = matched || (byte >= low && byte <= high);
            index += 3;
        } else {
            matched = matched || byte == low;
            ++index;
        }
        first = false;
    }
    if (index == pattern.size()) return false;
    ++index;
    return matched != negated;
}

// Wildcard matching with one remembered star: linear in practice, never exponential.
bool matchesPattern(std::string_view text, std::string_view pattern, bool isGlob) {
    const char anySequence = isGlob ? '*' : '%';
    const char anyOne = isGlob ? '?' : '_';
    std::size_t textIndex = 0, patternIndex = 0;
    std::size_t starPattern = std::string_view::npos, starText = 0;
    while (textIndex < text.size()) {
        if (patternIndex < pattern.size()) {
            const char wanted = pattern[patternIndex];
            const auto byte = static_cast<unsigned char>(text[textIndex]);
            if (wanted == anySequence) {
                starPattern = ++patternIndex;
                starText = textIndex;
                continue;
            }
            std::size_t next = patternIndex + 1;
            bool matched;
            if (wanted == anyOne) {
                matched = true;
            } else if (isGlob && wanted == '[') {
                matched = matchesClass(pattern, next, byte);
            } else if (isGlob) {
                matched = static_cast<unsigned char>(wanted) == byte;
            } else {
                matched = lowerAscii(static_cast<unsigned char>(wanted)) == lowerAscii(byte);
            }
            if (matched) {
                patternIndex = next;
                ++textIndex;
                continue;
            }
        }
        if (starPattern == std::string_view::npos) return false;
        patternIndex = starPattern;
        textIndex = ++starText;
    }
    while (patternIndex < pattern.size() && pattern[patternIndex] == anySequence)
        ++patternIndex;
    return patternIndex == pattern.size();
}

class Evaluator {
public:
    explicit Evaluator(const RowContext& row) : row(row) {}

    Value evaluate(const Expression& expression) const {
        switch (expression.kind) {
        case Expression::Kind::Text:
            return Value{expression.text, Value::Affinity::None};
        case Expression::Kind::Number:
            return Value{expression.text, Value::Affinity::Numeric};
        case Expression::Kind::Null:
            return nullValue();
        case Expression::Kind::Column:
            return columnValue(expression.columnIndex);
        case Expression::Kind::Operation:
            break;
        }
        const Value result = operate(expression);
        if (!expression.negated) return result;
        return truthOrNull(invert(truthOf(result)));
    }

private:
    static std::optional<bool> invert(std::optional<bool> truth) {
        if (!truth) return std::nullopt;
        return !*truth;
    }

    Value columnValue(std::size_t index) const {
        const auto affinity = row.textColumns[index] ? Value::Affinity::Text : Value::Affinity::Numeric;
        const FieldValue& field = row.values[index];
        return Value{field ? std::optional<std::string>(*field) : std::nullopt, affinity};
    }

    Value operand(const Expression& expression, std::size_t index) const {
        return evaluate(*expression.operands[index]);
    }

    Value operate(const Expression& expression) const {
        switch (expression.operation) {
        case Operator::Or:
        case Operator::And:
            return logical(expression);
        case Operator::Not:
            return truthOrNull(invert(truthOf(operand(expression, 0))));
        case Operator::IsNull:
            return truthValue(!operand(expression, 0).text);
        case Operator::NotNull:
            return truthValue(operand(expression, 0).text.has_value());
        case Operator::Like:
        case Operator::Glob:
            return pattern(expression);
        case Operator::Between:
            return between(expression);
        case Operator::In:
            return within(expression);
        case Operator::InTable:
            return nullValue();
        case Operator::Concat:
            return concat(expression);
        case Operator::Negate:
        case Operator::Positive:
        case Operator::BitNot:
            return unary(expression);
        default:
            break;
        }
        if (isComparison(expression.operation)) return comparison(expression);
        return arithmetic(expression);
    }

    Value logical(const Expression& expression) const {
        const std::optional<bool> left = truthOf(operand(expression, 0));
        const std::optional<bool> right = truthOf(operand(expression, 1));
        const bool decisive = expression.operation == Operator::Or;
        if (left == decisive || right == decisive) return truthValue(decisive);
        if (!left || !right) return nullValue();
        return truthValue(!decisive);
    }

    static bool isComparison(Operator operation) {
        return operation == Operator::Equal || operation == Operator::NotEqual ||
               operation == Operator::Less || operation == Operator::LessEqual ||
               operation == Operator::Greater || operation == Operator::GreaterEqual;
    }

    static bool holds(Operator operation, int order) {
        switch (operation) {
        case Operator::Equal:
            return order == 0;
        case Operator::NotEqual:
            return order != 0;
        case Operator::Less:
            return order < 0;
        case Operator::LessEqual:
            return order <= 0;
        case Operator::Greater:
            return order > 0;
        default:
            return order >= 0;
        }
    }

    Value comparison(const Expression& expression) const {
        const std::optional<int> order = compareValues(operand(expression, 0), operand(expression, 1));
        if (!order) return nullValue();
        return truthValue(holds(expression.operation, *order));
    }

    Value pattern(const Expression& expression) const {
        const Value text = operand(expression, 0), wanted = operand(expression, 1);
        if (!text.text || !wanted.text) return nullValue();
        return truthValue(matchesPattern(*text.text, *wanted.text, expression.operation == Operator::Glob));
    }

    Value between(const Expression& expression) const {
        const Value value = operand(expression, 0);
        const std::optional<int> low = compareValues(value, operand(expression, 1));
        const std::optional<int> high = compareValues(value, operand(expression, 2));
        if ((low && *low < 0) || (high && *high > 0)) return truthValue(false);
        if (!low || !high) return nullValue();
        return truthValue(true);
    }

    Value within(const Expression& expression) const {
        const Value value = operand(expression, 0);
        if (!value.text) return nullValue();
        bool sawNull = false;
        for (std::size_t index = 1; index < expression.operands.size(); ++index) {
            const std::optional<int> order = compareValues(value, operand(expression, index));
            if (order == 0) return truthValue(true);
            sawNull = sawNull || !order;
        }
        return sawNull ? nullValue() : truthValue(false);
    }

    Value concat(const Expression& expression) const {
        const Value left = operand(expression, 0), right = operand(expression, 1);
        if (!left.text || !right.text) return Value{std::nullopt, Value::Affinity::Text};
        return Value{*left.text + *right.text, Value::Affinity::Text};
    }

    Value unary(const Expression& expression) const {
        const Value value = operand(expression, 0);
        if (!value.text) return nullValue();
        if (expression.operation == Operator::Positive) return value;
        const double number = numberValue(*value.text);
        if (expression.operation == Operator::Negate) return numberResult(-number);
        return numberResult(static_cast<double>(~integerValue(number)));
    }

    Value arithmetic(const Expression& expression) const {
        const Value left = operand(expression, 0), right = operand(expression, 1);
        if (!left.text || !right.text) return nullValue();
        const double a = numberValue(*left.text), b = numberValue(*right.text);
        const std::int64_t x = integerValue(a), y = integerValue(b);
        switch (expression.operation) {
        case Operator::Add:
            return numberResult(a + b);
        case Operator::Subtract:
            return numberResult(a - b);
        case Operator::Multiply:
            return numberResult(a * b);
        case Operator::Divide:
            return b == 0 ? nullValue() : numberResult(a / b);
        case Operator::Remainder:
            // The one quotient that overflows is -2^63 / -1, whose remainder is 0.
            if (y == 0) return nullValue();
            return numberResult(y == -1 ? 0.0 : static_cast<double>(x % y));
        case Operator::BitAnd:
            return numberResult(static_cast<double>(x & y));
        case Operator::BitOr:
            return numberResult(static_cast<double>(x | y));
        case Operator::ShiftLeft:
            return numberResult(static_cast<double>(shiftLeft(x, y)));
        default:
            return numberResult(static_cast<double>(shiftLeft(x, -y)));
        }
    }

    // A negative count shifts the other way; counts past the width shift everything out.
    static std::int64_t shiftLeft(std::int64_t value, std::int64_t count) {
        if (count >= BitsInInteger) return 0;
        if (count <= -BitsInInteger) return value < 0 ? -1 : 0;
        if (count >= 0) return static_cast<std::int64_t>(static_cast<std::uint64_t>(value) << count);
        return value >> -count;
    }

    const RowContext& row;
};

} // namespace

bool looksLikeNumber(std::string_view text) {
    return !text.empty() && numberPrefixLength(text) == text.size();
}

bool selectsRow(const Expression& where, const RowContext& row) {
    return truthOf(Evaluator(row).evaluate(where)).value_or(false);
}

int compareIndexKeys(const FieldValue& left, const FieldValue& right, bool textColumn) {
    if (!left || !right) return left ? 1 : right ? -1 : 0;
    return compareTexts(*left, *right, textColumn);
}

} // namespace sqlite2
