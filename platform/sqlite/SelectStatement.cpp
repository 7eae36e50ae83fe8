#include "platform/sqlite/SelectStatement.h"

#include "platform/sqlite/SqliteError.h"

#include <algorithm>
#include <array>
#include <span>

namespace sqlite2 {

namespace {

// Words with a meaning in the statements read here; any other word can name a column.
constexpr std::array<std::string_view, 21> ReservedWords = {
    "SELECT",  "FROM", "WHERE", "AND",   "OR",    "NOT",   "NULL",   "IS",    "ISNULL",    "NOTNULL", "IN",
    "BETWEEN", "LIKE", "GLOB",  "ORDER", "GROUP", "LIMIT", "HAVING", "UNION", "INTERSECT", "EXCEPT"};
// Clauses the reader does not offer (the program never sends them).
constexpr std::array<std::string_view, 6> UnsupportedClauseWords = {"ORDER", "GROUP",     "LIMIT",
                                                                    "UNION", "INTERSECT", "EXCEPT"};

struct BinaryOperator {
    std::string_view symbol;
    Operator operation;
};

constexpr std::array<BinaryOperator, 4> RelationalOperators = {{{"<", Operator::Less},
                                                                {"<=", Operator::LessEqual},
                                                                {">", Operator::Greater},
                                                                {">=", Operator::GreaterEqual}}};
constexpr std::array<BinaryOperator, 4> BitwiseOperators = {{{"&", Operator::BitAnd},
                                                             {"|", Operator::BitOr},
                                                             {"<<", Operator::ShiftLeft},
                                                             {">>", Operator::ShiftRight}}};
constexpr std::array<BinaryOperator, 2> AdditiveOperators = {
    {{"+", Operator::Add}, {"-", Operator::Subtract}}};
constexpr std::array<BinaryOperator, 3> MultiplicativeOperators = {
    {{"*", Operator::Multiply}, {"/", Operator::Divide}, {"%", Operator::Remainder}}};
constexpr std::array<BinaryOperator, 1> ConcatOperators = {{{"||", Operator::Concat}}};
constexpr std::array<BinaryOperator, 3> UnaryOperators = {
    {{"-", Operator::Negate}, {"+", Operator::Positive}, {"~", Operator::BitNot}}};

const BinaryOperator* findOperator(const Token& token, std::span<const BinaryOperator> operators) {
    const auto found = std::find_if(operators.begin(), operators.end(), [&](const BinaryOperator& candidate) {
        return token.isOperator(candidate.symbol);
    });
    return found == operators.end() ? nullptr : &*found;
}

// Far beyond any hand-written statement; keeps parsing and evaluation off the stack's end.
constexpr std::size_t MaximumNesting = 100;
constexpr std::size_t MaximumHeight = 1000;

[[noreturn]] void tooComplex() {
    throw SqliteError(SQLITE_ERROR, "expression nested too deeply");
}

void addOperand(Expression& expression, std::unique_ptr<Expression> operand) {
    expression.height = std::max(expression.height, operand->height + 1);
    if (expression.height > MaximumHeight) tooComplex();
    expression.operands.push_back(std::move(operand));
}

template <typename... Operands>
std::unique_ptr<Expression> makeOperation(Operator operation, Operands... operands) {
    auto expression = std::make_unique<Expression>();
    expression->kind = Expression::Kind::Operation;
    expression->operation = operation;
    (addOperand(*expression, std::move(operands)), ...);
    return expression;
}

std::unique_ptr<Expression> makeLeaf(Expression::Kind kind, std::string text = {}) {
    auto expression = std::make_unique<Expression>();
    expression->kind = kind;
    expression->text = std::move(text);
    return expression;
}

class NestingGuard {
public:
    explicit NestingGuard(std::size_t& nesting) : nesting(nesting) {
        if (nesting == MaximumNesting) tooComplex();
        ++nesting;
    }
    ~NestingGuard() { --nesting; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

private:
    std::size_t& nesting;
};

} // namespace

std::optional<SelectStatement> StatementReader::next() {
    if (current.kind == TokenKind::End) return std::nullopt;
    do
        advance();
    while (current.isOperator(";"));
    if (current.kind == TokenKind::End) return std::nullopt;
    SelectStatement statement = parseSelect();
    if (!current.isOperator(";") && current.kind != TokenKind::End) syntaxError();
    return statement;
}

void StatementReader::advance() {
    lastText = current.text;
    current = tokens.next();
}

// At the end of the text the engine names the last token it read.
void StatementReader::syntaxError() const {
    const std::string_view text = current.kind == TokenKind::End ? lastText : current.text;
    throw SqliteError(SQLITE_ERROR, "near \"" + std::string(text) + "\": syntax error");
}

void StatementReader::expectKeyword(std::string_view word) {
    if (!current.isKeyword(word)) syntaxError();
    advance();
}

void StatementReader::expectOperator(std::string_view symbol) {
    if (!current.isOperator(symbol)) syntaxError();
    advance();
}

bool StatementReader::atReservedWord() const {
    return current.isAnyKeyword(ReservedWords);
}

std::string StatementReader::parseName() {
    const bool isName = (current.kind == TokenKind::Identifier && !atReservedWord()) ||
                        current.kind == TokenKind::String || current.kind == TokenKind::BracketName;
    if (!isName) syntaxError();
    std::string name = tokenValue(current);
    advance();
    return name;
}

SelectStatement StatementReader::parseSelect() {
    SelectStatement statement;
    expectKeyword("SELECT");
    expectOperator("*");
    expectKeyword("FROM");
    statement.tableName = parseName();
    if (current.isKeyword("WHERE")) {
        advance();
        statement.where = parseExpression();
    }
    parseTrailingClauses(statement);
    return statement;
}

void StatementReader::parseTrailingClauses(SelectStatement& statement) {
    if (current.isKeyword("HAVING")) {
        advance();
        parseExpression();
        statement.hasHaving = true;
    }
    // The engine names the token after such a keyword when the clause is left
    // incomplete, as it is when a category's apostrophe cuts it short.
    if (current.isAnyKeyword(UnsupportedClauseWords)) {
        advance();
        syntaxError();
    }
}

// Observed: after AND or OR the engine refuses a string left open at the end of the
// text, though it takes one as the other side of a comparison.
void StatementReader::refuseUnclosedString() const {
    if (current.kind == TokenKind::String && current.unterminated) syntaxError();
}

std::unique_ptr<Expression> StatementReader::parseExpression() {
    const NestingGuard guard(nesting);
    auto left = parseAnd();
    while (current.isKeyword("OR")) {
        advance();
        refuseUnclosedString();
        left = makeOperation(Operator::Or, std::move(left), parseAnd());
    }
    return left;
}

std::unique_ptr<Expression> StatementReader::parseAnd() {
    auto left = parseNot();
    while (current.isKeyword("AND")) {
        advance();
        refuseUnclosedString();
        left = makeOperation(Operator::And, std::move(left), parseNot());
    }
    return left;
}

std::unique_ptr<Expression> StatementReader::parseNot() {
    if (!current.isKeyword("NOT")) return parseEquality();
    const NestingGuard guard(nesting);
    advance();
    return makeOperation(Operator::Not, parseNot());
}

std::unique_ptr<Expression> StatementReader::parseEquality() {
    auto left = parseRelational();
    while (true) {
        if (current.isOperator("=") || current.isOperator("==") || current.isOperator("!=") ||
            current.isOperator("<>")) {
            const Operator operation =
                current.isOperator("=") || current.isOperator("==") ? Operator::Equal : Operator::NotEqual;
            advance();
            left = makeOperation(operation, std::move(left), parseRelational());
        } else if (current.isKeyword("ISNULL") || current.isKeyword("NOTNULL")) {
            const Operator operation = current.isKeyword("ISNULL") ? Operator::IsNull : Operator::NotNull;
            advance();
            left = makeOperation(operation, std::move(left));
        } else if (current.isKeyword("IS")) {
            advance();
            const bool negated = current.isKeyword("NOT");
            if (negated) advance();
            expectKeyword("NULL");
            left = makeOperation(negated ? Operator::NotNull : Operator::IsNull, std::move(left));
        } else if (current.isKeyword("NOT")) {
            advance();
            if (current.isKeyword("NULL")) {
                advance();
                left = makeOperation(Operator::NotNull, std::move(left));
            } else {
                left = parseEqualityTail(std::move(left), true);
            }
        } else if (current.isKeyword("LIKE") || current.isKeyword("GLOB") || current.isKeyword("BETWEEN") ||
                   current.isKeyword("IN")) {
            left = parseEqualityTail(std::move(left), false);
        } else {
            return left;
        }
    }
}

// LIKE, GLOB, BETWEEN and IN, each possibly after NOT.
std::unique_ptr<Expression> StatementReader::parseEqualityTail(std::unique_ptr<Expression> left,
                                                               bool negated) {
    std::unique_ptr<Expression> result;
    if (current.isKeyword("LIKE") || current.isKeyword("GLOB")) {
        const Operator operation = current.isKeyword("LIKE") ? Operator::Like : Operator::Glob;
        advance();
        result = makeOperation(operation, std::move(left), parseRelational());
    } else if (current.isKeyword("BETWEEN")) {
        advance();
        auto low = parseRelational();
        expectKeyword("AND");
        result = makeOperation(Operator::Between, std::move(left), std::move(low), parseRelational());
    } else if (current.isKeyword("IN")) {
        advance();
        if (!current.isOperator("(")) {
            // Observed: a string (the rest of the text after a category's apostrophe)
            // is no table name here.
            if (current.kind == TokenKind::String) syntaxError();
            result = makeOperation(Operator::InTable, std::move(left));
            result->text = parseName();
            result->negated = negated;
            return result;
        }
        advance();
        result = makeOperation(Operator::In, std::move(left));
        while (true) {
            addOperand(*result, parseExpression());
            if (!current.isOperator(",")) break;
            advance();
        }
        expectOperator(")");
    } else {
        syntaxError();
    }
    result->negated = negated;
    return result;
}

std::unique_ptr<Expression> StatementReader::parseRelational() {
    auto left = parseBitwise();
    while (const BinaryOperator* found = findOperator(current, RelationalOperators)) {
        advance();
        left = makeOperation(found->operation, std::move(left), parseBitwise());
    }
    return left;
}

std::unique_ptr<Expression> StatementReader::parseBitwise() {
    auto left = parseAdditive();
    while (const BinaryOperator* found = findOperator(current, BitwiseOperators)) {
        advance();
        left = makeOperation(found->operation, std::move(left), parseAdditive());
    }
    return left;
}

std::unique_ptr<Expression> StatementReader::parseAdditive() {
    auto left = parseMultiplicative();
    while (const BinaryOperator* found = findOperator(current, AdditiveOperators)) {
        advance();
        left = makeOperation(found->operation, std::move(left), parseMultiplicative());
    }
    return left;
}

std::unique_ptr<Expression> StatementReader::parseMultiplicative() {
    auto left = parseConcat();
    while (const BinaryOperator* found = findOperator(current, MultiplicativeOperators)) {
        advance();
        left = makeOperation(found->operation, std::move(left), parseConcat());
    }
    return left;
}

std::unique_ptr<Expression> StatementReader::parseConcat() {
    auto left = parseUnary();
    while (findOperator(current, ConcatOperators)) {
        advance();
        left = makeOperation(Operator::Concat, std::move(left), parseUnary());
    }
    return left;
}

std::unique_ptr<Expression> StatementReader::parseUnary() {
    const BinaryOperator* found = findOperator(current, UnaryOperators);
    if (!found) return parsePrimary();
    const NestingGuard guard(nesting);
    advance();
    return makeOperation(found->operation, parseUnary());
}

std::unique_ptr<Expression> StatementReader::parsePrimary() {
    if (current.isOperator("(")) {
        advance();
        auto inner = parseExpression();
        expectOperator(")");
        return inner;
    }
    if (current.kind == TokenKind::Number) {
        auto number = makeLeaf(Expression::Kind::Number, std::string(current.text));
        advance();
        return number;
    }
    // An unbound parameter reads as NULL.
    if (current.isKeyword("NULL") || current.isOperator("?")) {
        advance();
        return makeLeaf(Expression::Kind::Null);
    }
    const bool startsName = (current.kind == TokenKind::Identifier && !atReservedWord()) ||
                            current.kind == TokenKind::String || current.kind == TokenKind::BracketName;
    if (!startsName) syntaxError();
    return parseNameOrColumn();
}

// A string is a literal unless a dot follows it: then, like a name, it names a table.
std::unique_ptr<Expression> StatementReader::parseNameOrColumn() {
    const Token first = current;
    advance();
    if (current.isOperator(".")) {
        advance();
        auto column = makeLeaf(Expression::Kind::Column, parseName());
        column->qualifier = tokenValue(first);
        return column;
    }
    const auto kind = first.kind == TokenKind::String ? Expression::Kind::Text : Expression::Kind::Column;
    return makeLeaf(kind, tokenValue(first));
}

} // namespace sqlite2
