#include "platform/sqlite/Connection.h"

#include "platform/sqlite/Expression.h"
#include "platform/sqlite/Record.h"
#include "platform/sqlite/SelectStatement.h"
#include "platform/sqlite/SqlTokenizer.h"
#include "platform/sqlite/SqliteError.h"
#include "platform/sqlite/TableTree.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace sqlite2 {

namespace {

constexpr std::size_t RowidTextSize = 16;

void resolveNames(Expression& expression, const TableSchema& table, const Schema& schema) {
    // Membership in another table's rows is beyond the statements the reader runs.
    if (expression.kind == Expression::Kind::Operation && expression.operation == Operator::InTable) {
        if (!schema.findTable(expression.text))
            throw SqliteError(SQLITE_ERROR, "no such table: " + expression.text);
        throw SqliteError(SQLITE_ERROR, "IN with a table is not supported");
    }
    if (expression.kind == Expression::Kind::Column) {
        const auto& columns = table.columns;
        const auto found = std::find_if(columns.begin(), columns.end(), [&](const Column& column) {
            return equalsIgnoringAsciiCase(column.name, expression.text);
        });
        const bool rightTable =
            !expression.qualifier || equalsIgnoringAsciiCase(*expression.qualifier, table.name);
        if (found == columns.end() || !rightTable) {
            const std::string written =
                expression.qualifier ? *expression.qualifier + "." + expression.text : expression.text;
            throw SqliteError(SQLITE_ERROR, "no such column: " + written);
        }
        expression.columnIndex = static_cast<std::size_t>(found - columns.begin());
    }
    for (auto& operand : expression.operands)
        resolveNames(*operand, table, schema);
}

// One SELECT over one table: walks the rows, filters them and lays each out as C texts.
class SelectRun {
public:
    SelectRun(const DatabaseFile& file, const TableSchema& table, const Expression* where)
        : file(file), table(table), where(where), columnCount(table.columns.size()), valueStarts(columnCount),
          values(columnCount + 1) {
        for (const Column& column : table.columns) {
            names.push_back(column.name);
            types.push_back(column.declaredType);
            textColumns.push_back(column.comparesAsText);
        }
        for (std::string& name : names)
            namesAndTypes.push_back(name.data());
        for (auto& type : types)
            namesAndTypes.push_back(type ? type->data() : nullptr);
        namesAndTypes.push_back(nullptr);
    }

    bool run(const RowHandler& onRow) {
        TableTree tree(file, table.rootPage);
        return tree.forEachRow([&](const TableEntry& entry) { return handleEntry(entry, onRow); });
    }

private:
    bool handleEntry(const TableEntry& entry, const RowHandler& onRow) {
        splitRecord(entry.record, columnCount, fields);
        // The INTEGER PRIMARY KEY column stores nothing; its value is the rowid.
        if (table.integerKey) {
            const auto end = std::to_chars(rowidText, rowidText + RowidTextSize, entry.rowid).ptr;
            fields[*table.integerKey] =
                std::string_view(rowidText, static_cast<std::size_t>(end - rowidText));
        }
        if (where && !selectsRow(*where, RowContext{fields, textColumns})) return true;
        layOutRow();
        return onRow(ResultRow{static_cast<int>(columnCount), values.data(), namesAndTypes.data()});
    }

    // Copies the values, each with a closing zero, into one buffer reused for every row.
    void layOutRow() {
        rowText.clear();
        for (std::size_t index = 0; index < columnCount; ++index) {
            if (!fields[index]) continue;
            valueStarts[index] = rowText.size();
            rowText.append(*fields[index]);
            rowText.push_back('\0');
        }
        for (std::size_t index = 0; index < columnCount; ++index)
            values[index] = fields[index] ? rowText.data() + valueStarts[index] : nullptr;
    }

    const DatabaseFile& file;
    const TableSchema& table;
    const Expression* where;
    std::size_t columnCount;
    std::vector<std::string> names;
    std::vector<std::optional<std::string>> types;
    std::vector<char*> namesAndTypes;
    std::vector<bool> textColumns;
    std::vector<FieldValue> fields;
    std::string rowText;
    std::vector<std::size_t> valueStarts;
    std::vector<char*> values;
    char rowidText[RowidTextSize] = {};
};

} // namespace

std::unique_ptr<Connection> Connection::open(const std::string& fileName) {
    DatabaseFile file = DatabaseFile::open(fileName);
    Schema schema = Schema::read(file);
    return std::unique_ptr<Connection>(new Connection(std::move(file), std::move(schema)));
}

bool Connection::run(std::string_view sql, const RowHandler& onRow) {
    StatementReader reader(sql);
    while (std::optional<SelectStatement> statement = reader.next()) {
        const TableSchema* table = schema.findTable(statement->tableName);
        if (!table) throw SqliteError(SQLITE_ERROR, "no such table: " + statement->tableName);
        if (statement->where) resolveNames(*statement->where, *table, schema);
        if (statement->hasHaving)
            throw SqliteError(SQLITE_ERROR, "a GROUP BY clause is required before HAVING");
        if (!SelectRun(file, *table, statement->where.get()).run(onRow)) return false;
    }
    return true;
}

} // namespace sqlite2
