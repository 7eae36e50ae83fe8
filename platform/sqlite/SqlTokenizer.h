// Splits SQL text into tokens with the engine's own boundaries (strings running to
// the end when never closed, bytes from 0x80 up counting as letters), so that error
// texts quote exactly the source text the engine would.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace sqlite2 {

enum class TokenKind { End, Identifier, BracketName, String, Number, Operator };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string_view text;
    // A string or bracketed name that is never closed runs to the end of the text.
    bool unterminated = false;

    bool isKeyword(std::string_view word) const;
    bool isAnyKeyword(std::span<const std::string_view> words) const;
    bool isOperator(std::string_view symbol) const { return kind == TokenKind::Operator && text == symbol; }
};

class Tokenizer {
public:
    explicit Tokenizer(std::string_view sql) : sql(sql) {}

    // Skips white space and comments. Throws SqliteError for a byte no token can start with.
    Token next();
    std::size_t position() const { return offset; }

private:
    std::size_t skipSpaceAndComments(std::size_t from) const;
    std::size_t endOfQuoted(std::size_t from, bool& unterminated) const;
    std::size_t endOfNumber(std::size_t from) const;
    std::size_t endOfWord(std::size_t from) const;
    std::size_t operatorLength(std::size_t from) const;

    std::string_view sql;
    std::size_t offset = 0;
};

// The name or text a token stands for: quotes and brackets removed, doubled quotes
// undoubled; any other token as written.
std::string tokenValue(const Token& token);

bool equalsIgnoringAsciiCase(std::string_view left, std::string_view right);

} // namespace sqlite2
