// Reads the statements the reader runs, one at a time: SELECT * FROM <table> with an
// optional WHERE clause. Parsing follows the engine's grammar far enough that a
// statement it rejects is rejected here with the same "near ..." text.
#pragma once

#include "platform/sqlite/Expression.h"
#include "platform/sqlite/SqlTokenizer.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace sqlite2 {

struct SelectStatement {
    std::string tableName;
    std::unique_ptr<Expression> where;
    // The engine parses HAVING but refuses it without GROUP BY.
    bool hasHaving = false;
};

class StatementReader {
public:
    explicit StatementReader(std::string_view sql) : tokens(sql) {}

    // The next statement, or none at the end of the text; empty statements are skipped.
    // Reads no further than the statement's own end, so that later statements are only
    // looked at after this one has run. Throws SqliteError (SQLITE_ERROR).
    std::optional<SelectStatement> next();

private:
    void advance();
    [[noreturn]] void syntaxError() const;
    void expectKeyword(std::string_view word);
    void expectOperator(std::string_view symbol);
    bool atReservedWord() const;
    std::string parseName();
    SelectStatement parseSelect();
    void parseTrailingClauses(SelectStatement& statement);

    std::unique_ptr<Expression> parseExpression();
    std::unique_ptr<Expression> parseAnd();
    std::unique_ptr<Expression> parseNot();
    std::unique_ptr<Expression> parseEquality();
    std::unique_ptr<Expression> parseEqualityTail(std::unique_ptr<Expression> left, bool negated);
    std::unique_ptr<Expression> parseRelational();
    std::unique_ptr<Expression> parseBitwise();
    std::unique_ptr<Expression> parseAdditive();
    std::unique_ptr<Expression> parseMultiplicative();
    std::unique_ptr<Expression> parseConcat();
    std::unique_ptr<Expression> parseUnary();
    std::unique_ptr<Expression> parsePrimary();
    std::unique_ptr<Expression> parseNameOrColumn();
    void refuseUnclosedString() const;

    Tokenizer tokens;
    // Starts as a statement separator so that the first call reads the first token.
    Token current{TokenKind::Operator, ";"};
    std::string_view lastText;
    std::size_t nesting = 0;
};

} // namespace sqlite2
