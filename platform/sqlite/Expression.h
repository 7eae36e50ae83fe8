// WHERE expressions and their evaluation over one row. Every value is a text or NULL;
// comparisons follow the column's declared type: byte for byte for text columns, as
// numbers for the others when both sides look like numbers.
#pragma once

#include "platform/sqlite/Record.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sqlite2 {

enum class Operator {
    Or,
    And,
    Not,
    Equal,
    NotEqual,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    IsNull,
    NotNull,
    Like,
    Glob,
    Between,
    In,
    // IN followed by a table's name; text holds the name.
    InTable,
    Concat,
    Add,
    Subtract,
    Multiply,
    Divide,
    Remainder,
    BitAnd,
    BitOr,
    ShiftLeft,
    ShiftRight,
    Negate,
    Positive,
    BitNot,
};

struct Expression {
    enum class Kind { Text, Number, Null, Column, Operation };

    Kind kind = Kind::Null;
    Operator operation = Operator::Equal;
    // NOT LIKE, NOT GLOB, NOT BETWEEN, NOT IN.
    bool negated = false;
    // A literal's value, or a column's name as written.
    std::string text;
    // The table name written before a column's name, if any.
    std::optional<std::string> qualifier;
    std::vector<std::unique_ptr<Expression>> operands;
    // Set once the column's name is resolved against the table.
    std::size_t columnIndex = 0;
    // Levels of operations down to the deepest leaf, bounded so that evaluation can recurse.
    std::size_t height = 1;
};

struct RowContext {
    std::span<const FieldValue> values;
    // Per column: whether it compares as text.
    const std::vector<bool>& textColumns;
};

// Whether the WHERE clause selects the row: NULL and texts that read as zero do not.
bool selectsRow(const Expression& where, const RowContext& row);

// An optional sign, digits, optionally a dot and digits, optionally an exponent; nothing else.
bool looksLikeNumber(std::string_view text);

// How an index orders two values of a column (negative, zero or positive): NULL first;
// then in a text column by bytes, in the others numbers by value before other texts by bytes.
int compareIndexKeys(const FieldValue& left, const FieldValue& right, bool textColumn);

} // namespace sqlite2
