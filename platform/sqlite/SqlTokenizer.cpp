#include "platform/sqlite/SqlTokenizer.h"

#include "platform/sqlite/SqliteError.h"

#include <array>

namespace sqlite2 {

namespace {

bool isSpace(unsigned char byte) {
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r' || byte == '\f';
}
bool isDigit(unsigned char byte) {
    return byte >= '0' && byte <= '9';
}
bool isLetter(unsigned char byte) {
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || byte == '_' || byte >= 0x80;
}
bool isWordByte(unsigned char byte) {
    return isLetter(byte) || isDigit(byte);
}

char lowerAscii(char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte;
}

constexpr std::array<std::string_view, 8> TwoByteOperators = {"==", "<=", "<>", "<<", ">=", ">>", "!=", "||"};
constexpr std::string_view OneByteOperators = "(),;+-*/%=<>|&~.?";

} // namespace

bool Token::isKeyword(std::string_view word) const {
    return kind == TokenKind::Identifier && equalsIgnoringAsciiCase(text, word);
}

bool Token::isAnyKeyword(std::span<const std::string_view> words) const {
    for (const std::string_view word : words)
        if (isKeyword(word)) return true;
    return false;
}

bool equalsIgnoringAsciiCase(std::string_view left, std::string_view right) {
    if (left.size() != right.size()) return false;
    for (std::size_t index = 0; index < left.size(); ++index)
        if (lowerAscii(left[index]) != lowerAscii(right[index])) return false;
    return true;
}

std::size_t Tokenizer::skipSpaceAndComments(std::size_t from) const {
    while (from < sql.size()) {
        const std::string_view rest = sql.substr(from);
        if (isSpace(static_cast<unsigned char>(rest[0]))) {
            ++from;
        } else if (rest.starts_with("--")) {
            const std::size_t lineEnd = sql.find('\n', from);
            from = lineEnd == std::string_view::npos ? sql.size() : lineEnd;
        } else if (rest.starts_with("/*")) {
            const std::size_t close = sql.find("*/", from + 2);
            from = close == std::string_view::npos ? sql.size() : close + 2;
        } else {
            break;
        }
    }
    return from;
}

std::size_t Tokenizer::endOfQuoted(std::size_t from, bool& unterminated) const {
    const char close = sql[from] == '[' ? ']' : sql[from];
    for (std::size_t index = from + 1; index < sql.size(); ++index) {
        if (sql[index] != close) continue;
        // Inside a string a doubled quote stands for one quote; brackets have no escape.
        if (close != ']' && index + 1 < sql.size() && sql[index + 1] == close) {
            ++index;
            continue;
        }
        return index + 1;
    }
    unterminated = true;
    return sql.size();
}

std::size_t Tokenizer::endOfNumber(std::size_t from) const {
    auto digitsFrom = [this](std::size_t index) {
        while (index < sql.size() && isDigit(static_cast<unsigned char>(sql[index])))
            ++index;
        return index;
    };
    auto digitAt = [this](std::size_t index) {
        return index < sql.size() && isDigit(static_cast<unsigned char>(sql[index]));
    };
    std::size_t end = digitsFrom(from);
    if (end < sql.size() && sql[end] == '.' && digitAt(end + 1)) end = digitsFrom(end + 1);
    if (end < sql.size() && (sql[end] == 'e' || sql[end] == 'E')) {
        std::size_t exponent = end + 1;
        if (exponent < sql.size() && (sql[exponent] == '+' || sql[exponent] == '-')) ++exponent;
        if (digitAt(exponent)) end = digitsFrom(exponent);
    }
    return end;
}

std::size_t Tokenizer::endOfWord(std::size_t from) const {
    while (from < sql.size() && isWordByte(static_cast<unsigned char>(sql[from])))
        ++from;
    return from;
}

std::size_t Tokenizer::operatorLength(std::size_t from) const {
    const std::string_view rest = sql.substr(from);
    for (const std::string_view symbol : TwoByteOperators)
        if (rest.starts_with(symbol)) return symbol.size();
    return OneByteOperators.find(rest[0]) != std::string_view::npos ? 1 : 0;
}

Token Tokenizer::next() {
    const std::size_t start = skipSpaceAndComments(offset);
    Token token;
    if (start == sql.size()) {
        offset = start;
        return token;
    }
    const auto first = static_cast<unsigned char>(sql[start]);
    std::size_t end = start;
    if (first == '\'' || first == '"') {
        token.kind = TokenKind::String;
        end = endOfQuoted(start, token.unterminated);
    } else if (first == '[') {
        token.kind = TokenKind::BracketName;
        end = endOfQuoted(start, token.unterminated);
    } else if (isDigit(first)) {
        token.kind = TokenKind::Number;
        end = endOfNumber(start);
    } else if (isLetter(first)) {
        token.kind = TokenKind::Identifier;
        end = endOfWord(start);
    } else if (const std::size_t length = operatorLength(start); length > 0) {
        token.kind = TokenKind::Operator;
        end = start + length;
    } else {
        // A lone '!' is reported together with the byte after it.
        const std::size_t illegalLength = first == '!' && start + 1 < sql.size() ? 2 : 1;
        throw SqliteError(SQLITE_ERROR,
                          "unrecognized token: \"" + std::string(sql.substr(start, illegalLength)) + "\"");
    }
    token.text = sql.substr(start, end - start);
    offset = end;
    return token;
}

std::string tokenValue(const Token& token) {
    const std::string_view text = token.text;
    if (token.kind == TokenKind::BracketName)
        return std::string(text.substr(1, text.size() - (token.unterminated ? 1 : 2)));
    if (token.kind != TokenKind::String) return std::string(text);
    const char quote = text[0];
    const std::string_view inside = text.substr(1, text.size() - (token.unterminated ? 1 : 2));
    std::string value;
    value.reserve(inside.size());
    for (std::size_t index = 0; index < inside.size(); ++index) {
        value += inside[index];
        if (inside[index] == quote && index + 1 < inside.size() && inside[index + 1] == quote) ++index;
    }
    return value;
}

} // namespace sqlite2
