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
constexpr std::string_view IndexType = "index";
constexpr std::string_view AutomaticIndexWord = " autoindex ";
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
        skipColumnConstraints(column.name);
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

    // Skips to the comma or parenthesis ending the column, noting its PRIMARY KEY and
    // UNIQUE constraints.
    void skipColumnConstraints(const std::string& columnName) {
        while (!current.isOperator(",") && !current.isOperator(")")) {
            if (current.kind == TokenKind::End) syntaxError();
            if (current.isOperator("(")) {
                takeParenthesised();
                continue;
            }
            const bool primary = current.isKeyword("PRIMARY");
            const bool unique = current.isKeyword("UNIQUE");
            advance();
            if ((primary && current.isKeyword("KEY")) || unique) keys.push_back({{columnName}, primary});
        }
    }

    void parseTableConstraints() {
        while (!current.isOperator(")")) {
            if (current.kind == TokenKind::End) syntaxError();
            if (current.isOperator("(")) {
                takeParenthesised();
                continue;
            }
            const bool primary = current.isKeyword("PRIMARY");
            const bool unique = current.isKeyword("UNIQUE");
            advance();
            if (primary && current.isKeyword("KEY")) advance();
            if ((primary || unique) && current.isOperator("(")) keys.push_back({readNameList(), primary});
        }
    }

    std::vector<std::string> readNameList() {
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
        return names;
    }

    // Only a primary key over a single column of type INTEGER makes that column the
    // rowid; every other key gets an automatic index, numbered in the text's order.
    void findIntegerKey(TableSchema& table) const {
        for (const KeyConstraint& key : keys) {
            const std::optional<std::size_t> column = key.primary && key.columns.size() == 1
                                                          ? table.columnIndex(key.columns.front())
                                                          : std::nullopt;
            Column* keyColumn = column ? &table.columns[*column] : nullptr;
            if (!table.integerKey && keyColumn && keyColumn->declaredType &&
                equalsIgnoringAsciiCase(*keyColumn->declaredType, IntegerType)) {
                keyColumn->declaredType = std::string(IntegerType);
                table.integerKey = column;
            } else {
                table.automaticIndexColumns.push_back(key.columns);
            }
        }
    }

    struct KeyConstraint {
        std::vector<std::string> columns;
        bool primary = false;
    };

    Tokenizer tokens;
    Token current;
    std::string_view lastText;
    std::vector<KeyConstraint> keys;
};

// CREATE [UNIQUE] INDEX name ON table ( column [ASC|DESC] {, column [ASC|DESC]} ) ...
class CreateIndexParser {
public:
    explicit CreateIndexParser(std::string_view sql) : tokens(sql) {}

    // The indexed columns' names; none when the text is not an index definition.
    std::vector<std::string> columns() {
        advance();
        while (current.kind != TokenKind::End && !current.isKeyword("ON"))
            advance();
        advance();
        advance();
        if (!current.isOperator("(")) return {};
        std::vector<std::string> names;
        bool nameExpected = true;
        for (advance(); current.kind != TokenKind::End && !current.isOperator(")"); advance()) {
            if (current.isOperator(",")) {
                nameExpected = true;
            } else if (nameExpected) {
                names.push_back(tokenValue(current));
                nameExpected = false;
            }
        }
        return names;
    }

private:
    void advance() { current = tokens.next(); }

    Tokenizer tokens;
    Token current;
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

std::optional<std::size_t> TableSchema::columnIndex(std::string_view columnName) const {
    const auto found = std::find_if(columns.begin(), columns.end(), [&](const Column& column) {
        return equalsIgnoringAsciiCase(column.name, columnName);
    });
    return found == columns.end() ? std::nullopt : std::optional<std::size_t>(found - columns.begin());
}

Schema Schema::read(const DatabaseFile& file) {
    Schema schema;
    std::vector<FieldValue> values;
    TableTree master(file, MasterRootPage);
    master.forEachRow([&](const TableEntry& entry) {
        splitRecord(entry.record(), MasterColumnCount, values);
        if (values[TypeColumn] == IndexType && values[NameColumn] && values[TableNameColumn])
            schema.addIndex(*values[NameColumn], *values[TableNameColumn], values[SqlColumn]);
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

// A table's row comes before its indexes' rows, so the table is known here.
void Schema::addIndex(std::string_view name, std::string_view tableName, const FieldValue& createSql) {
    const TableSchema* table = findTable(tableName);
    if (!table) return;
    std::vector<std::string> names;
    if (createSql) {
        names = CreateIndexParser(*createSql).columns();
    } else if (const std::size_t word = name.find(AutomaticIndexWord); word != std::string_view::npos) {
        std::size_t number = 0;
        const std::string_view digits = name.substr(word + AutomaticIndexWord.size());
        std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (number >= 1 && number <= table->automaticIndexColumns.size())
            names = table->automaticIndexColumns[number - 1];
    }
    IndexSchema index{table->name, {}};
    for (const std::string& columnName : names) {
        // An index naming a column the table lacks can't order anything.
        const std::optional<std::size_t> column = table->columnIndex(columnName);
        if (!column) return;
        index.columns.push_back(*column);
    }
    if (!index.columns.empty()) indexes.push_back(std::move(index));
}

const IndexSchema* Schema::indexStartingWith(const TableSchema& table,
                                             const std::vector<std::size_t>& columns) const {
    const auto found = std::find_if(indexes.rbegin(), indexes.rend(), [&](const IndexSchema& index) {
        return std::find(columns.begin(), columns.end(), index.columns.front()) != columns.end() &&
               equalsIgnoringAsciiCase(index.tableName, table.name);
    });
    return found == indexes.rend() ? nullptr : &*found;
}

const TableSchema* Schema::findTable(std::string_view name) const {
    const auto found = std::find_if(tables.begin(), tables.end(), [&](const TableSchema& table) {
        return equalsIgnoringAsciiCase(table.name, name);
    });
    return found == tables.end() ? nullptr : &*found;
}

} // namespace sqlite2
