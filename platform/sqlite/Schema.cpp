#include "platform/sqlite/Schema.h"

#include "platform/sqlite/Record.h"
#include "platform/sqlite/SqlTokenizer.h"
#include "platform/sqlite/SqliteError.h"
#include "platform/sqlite/TableTree.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace sqlite2 {

namespace {

constexpr std::uint32_t MasterRootPage = 2;
enum MasterColumn : std::size_t {
    TypeColumn,
    NameColumn,
    TableNameColumn,
    RootPageColumn,
    SqlColumn,
    MasterColumnCount
};
constexpr std::string_view TableType = "table";
constexpr std::string_view IntegerType = "INTEGER";

// Words that end a column's type and start its constraints.
constexpr std::array<std::string_view, 10> ColumnConstraintWords = {
    "CONSTRAINT", "DEFAULT", "NULL",       "NOT",     "PRIMARY",
    "UNIQUE",     "CHECK",   "REFERENCES", "COLLATE", "DEFERRABLE"};
// Words that start the table constraints after the last column.
constexpr std::array<std::string_view, 5> TableConstraintWords = {"CONSTRAINT", "PRIMARY", "UNIQUE", "CHECK",
                                                                  "FOREIGN"};
constexpr std::array<std::string_view, 4> TextTypeWords = {"BLOB", "CHAR", "CLOB", "TEXT"};

bool containsIgnoringAsciiCase(std::string_view text, std::string_view part) {
    if (part.size() > text.size()) return false;
    for (std::size_t start = 0; start + part.size() <= text.size(); ++start)
        if (equalsIgnoringAsciiCase(text.substr(start, part.size()), part)) return true;
    return false;
}

bool isTextType(const std::optional<std::string>& type) {
    return type && std::any_of(TextTypeWords.begin(), TextTypeWords.end(),
                               [&](std::string_view word) { return containsIgnoringAsciiCase(*type, word); });
}

class CreateTableParser {
public:
    explicit CreateTableParser(std::string_view sql) : tokens(sql) { advance(); }

    TableSchema parse() {
        TableSchema table;
        expectKeyword("CREATE");
        if (current.isKeyword("TEMP") || current.isKeyword("TEMPORARY")) advance();
        expectKeyword("TABLE");
        table.name = parseName();
        expectOperator("(");
        parseDefinitions(table);
        findIntegerKey(table);
        return table;
    }

private:
    void advance() {
        if (current.kind != TokenKind::End) lastText = current.text;
        current = tokens.next();
    }

    [[noreturn]] void syntaxError() const {
        const std::string_view text = current.kind == TokenKind::End ? lastText : current.text;
        throw SqliteError(SQLITE_ERROR, "near \"" + std::string(text) + "\": syntax error");
    }

    void expectKeyword(std::string_view word) {
        if (!current.isKeyword(word)) syntaxError();
        advance();
    }

    void expectOperator(std::string_view symbol) {
        if (!current.isOperator(symbol)) syntaxError();
        advance();
    }

    std::string parseName() {
        if (current.kind != TokenKind::Identifier && current.kind != TokenKind::String &&
            current.kind != TokenKind::BracketName)
            syntaxError();
        std::string name = tokenValue(current);
        advance();
        return name;
    }

    // Column definitions come first, then the table constraints, then the closing parenthesis.
    void parseDefinitions(TableSchema& table) {
        while (!current.isAnyKeyword(TableConstraintWords)) {
            table.columns.push_back(parseColumn());
            if (current.isOperator(")")) return;
            expectOperator(",");
        }
        parseTableConstraints();
    }

    Column parseColumn() {
        Column column;
        column.name = parseName();
        column.declaredType = parseType();
        column.comparesAsText = isTextType(column.declaredType);
        if (skipColumnConstraints()) primaryKeyColumns.push_back(column.name);
        return column;
    }

    // The type's words and its parenthesised sizes, kept without white space.
    std::optional<std::string> parseType() {
        std::string type;
        while ((current.kind == TokenKind::Identifier && !current.isAnyKeyword(ColumnConstraintWords)) ||
               current.kind == TokenKind::String) {
            type += current.text;
            advance();
        }
        if (type.empty()) return std::nullopt;
        if (current.isOperator("(")) type += takeParenthesised();
        return type;
    }

    std::string takeParenthesised() {
        std::string text;
        int depth = 0;
        do {
            if (current.kind == TokenKind::End) syntaxError();
            if (current.isOperator("(")) ++depth;
            if (current.isOperator(")")) --depth;
            text += current.text;
            advance();
        } while (depth > 0);
        return text;
    }

    // Skips to the comma or parenthesis ending the column; tells whether the column
    // is declared PRIMARY KEY.
    bool skipColumnConstraints() {
        bool primaryKey = false;
        while (!current.isOperator(",") && !current.isOperator(")")) {
            if (current.kind == TokenKind::End) syntaxError();
            if (current.isOperator("(")) {
                takeParenthesised();
                continue;
            }
            const bool primary = current.isKeyword("PRIMARY");
            advance();
            if (primary && current.isKeyword("KEY")) primaryKey = true;
        }
        return primaryKey;
    }

    void parseTableConstraints() {
        while (!current.isOperator(")")) {
            if (current.kind == TokenKind::End) syntaxError();
            if (current.isOperator("(")) {
                takeParenthesised();
                continue;
            }
            const bool primary = current.isKeyword("PRIMARY");
            advance();
            if (primary && current.isKeyword("KEY")) {
                advance();
                if (current.isOperator("(")) readPrimaryKeyList();
            }
        }
    }

    void readPrimaryKeyList() {
        advance();
        std::vector<std::string> names;
        bool nameExpected = true;
        while (!current.isOperator(")")) {
            if (current.kind == TokenKind::End) syntaxError();
            if (current.isOperator(",")) {
                nameExpected = true;
            } else if (nameExpected) {
                names.push_back(tokenValue(current));
                nameExpected = false;
            }
            advance();
        }
        advance();
        // Only a key over a single column can make that column the rowid.
        if (names.size() == 1) primaryKeyColumns.push_back(names.front());
    }

    void findIntegerKey(TableSchema& table) const {
        for (std::size_t index = 0; index < table.columns.size(); ++index) {
            Column& column = table.columns[index];
            const bool isKey =
                std::any_of(primaryKeyColumns.begin(), primaryKeyColumns.end(),
                            [&](const auto& name) { return equalsIgnoringAsciiCase(name, column.name); });
            if (isKey && column.declaredType && equalsIgnoringAsciiCase(*column.declaredType, IntegerType)) {
                column.declaredType = std::string(IntegerType);
                table.integerKey = index;
                return;
            }
        }
    }

    Tokenizer tokens;
    Token current;
    std::string_view lastText;
    std::vector<std::string> primaryKeyColumns;
};

std::uint32_t pageNumberFrom(const FieldValue& text) {
    std::uint32_t number = 0;
    if (!text) return 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), number);
    // Page 0 stands for no page; the walk reports it as damage.
    return error == std::errc() && end == text->data() + text->size() ? number : 0;
}

} // namespace

TableSchema parseCreateTable(std::string_view sql) {
    return CreateTableParser(sql).parse();
}

Schema Schema::read(const DatabaseFile& file) {
    Schema schema;
    std::vector<FieldValue> values;
    TableTree master(file, MasterRootPage);
    master.forEachRow([&](const TableEntry& entry) {
        splitRecord(entry.record, MasterColumnCount, values);
        if (values[TypeColumn] != TableType) return true;
        TableSchema table;
        try {
            table = parseCreateTable(values[SqlColumn].value_or(std::string_view()));
        } catch (const SqliteError& error) {
            throw SqliteError(error.code, std::string("malformed database schema - ") + error.what());
        }
        if (values[NameColumn]) table.name = *values[NameColumn];
        table.rootPage = pageNumberFrom(values[RootPageColumn]);
        if (file.comparesAllColumnsAsNumbers())
            for (Column& column : table.columns)
                column.comparesAsText = false;
        schema.tables.push_back(std::move(table));
        return true;
    });
    return schema;
}

const TableSchema* Schema::findTable(std::string_view name) const {
    const auto found = std::find_if(tables.begin(), tables.end(), [&](const TableSchema& table) {
        return equalsIgnoringAsciiCase(table.name, name);
    });
    return found == tables.end() ? nullptr : &*found;
}

} // namespace sqlite2
