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

bool isConstant(const Expression& expression) {
    return expression.kind == Expression::Kind::Text || expression.kind == Expression::Kind::Number;
}

// The columns that terms of the WHERE clause's top-level AND compare for equality with
// a constant: the terms the engine looks up through an index.
void collectEqualityColumns(const Expression& expression, std::vector<std::size_t>& columns) {
    if (expression.kind != Expression::Kind::Operation) return;
    if (expression.operation == Operator::And) {
        for (const auto& operand : expression.operands)
            collectEqualityColumns(*operand, columns);
        return;
    }
    if (expression.operation != Operator::Equal || expression.operands.size() != 2) return;
    const Expression& left = *expression.operands[0];
    const Expression& right = *expression.operands[1];
    if (left.kind == Expression::Kind::Column && isConstant(right)) columns.push_back(left.columnIndex);
    if (right.kind == Expression::Kind::Column && isConstant(left)) columns.push_back(right.columnIndex);
}

// The columns the rows come ordered by, before the rowid, when the engine walks an
// index: the index's columns after the first, whose values the WHERE clause makes equal.
std::vector<std::size_t> resultOrder(const Expression* where, const TableSchema& table,
                                     const Schema& schema) {
    std::vector<std::size_t> compared;
    if (where) collectEqualityColumns(*where, compared);
    const IndexSchema* index = compared.empty() ? nullptr : schema.indexStartingWith(table, compared);
    if (!index) return {};
    return {index->columns.begin() + 1, index->columns.end()};
}

// One more than the last column the expression reads (0 when it reads none).
std::size_t columnsRead(const Expression& expression) {
    std::size_t count = expression.kind == Expression::Kind::Column ? expression.columnIndex + 1 : 0;
    for (const auto& operand : expression.operands)
        count = std::max(count, columnsRead(*operand));
    return count;
}

// A selected row kept until the rows can be handed over in the index's order.
struct HeldRow {
    std::vector<std::optional<std::string>> values;

    std::vector<FieldValue> fields() const {
        std::vector<FieldValue> views;
        for (const auto& value : values)
            views.push_back(value ? FieldValue(*value) : std::nullopt);
        return views;
    }
};

// One SELECT over one table: walks the rows, filters them and lays each out as C texts.
class SelectRun {
public:
    SelectRun(const DatabaseFile& file, const TableSchema& table, const Expression* where,
              std::vector<std::size_t> order)
        : file(file), table(table), where(where), order(std::move(order)), columnCount(table.columns.size()),
          whereColumns(where ? columnsRead(*where) : 0), valueStarts(columnCount), values(columnCount + 1) {
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
        if (order.empty())
            return tree.forEachRow(
                [&](const TableEntry& entry) { return !selects(entry) || handOver(onRow); });
        std::vector<HeldRow> held;
        tree.forEachRow([&](const TableEntry& entry) {
            if (selects(entry)) held.push_back(holdRow());
            return true;
        });
        // Rows come in rowid order, so a stable sort leaves the rowid to break ties.
        std::stable_sort(held.begin(), held.end(), [this](const HeldRow& left, const HeldRow& right) {
            return comesBefore(left, right);
        });
        for (const HeldRow& row : held) {
            fields = row.fields();
            if (!handOver(onRow)) return false;
        }
        return true;
    }

private:
    // Reads the entry's values into fields; whether the WHERE clause selects the row.
    // The clause is tested on the record's first bytes, up to the last column it
    // reads: the rest, overflow pages and all, is read only for a row it selects.
    bool selects(const TableEntry& entry) {
        if (where) {
            const auto prefix = [&entry](std::size_t count) { return entry.recordPrefix(count); };
            const std::size_t tested = bytesHoldingColumns(prefix, entry.recordSize, whereColumns);
            splitRecordPrefix(entry.recordPrefix(tested), entry.recordSize, columnCount, fields);
            putRowid(entry);
            if (!selectsRow(*where, RowContext{fields, textColumns})) return false;
        }
        splitRecord(entry.record(), columnCount, fields);
        putRowid(entry);
        return true;
    }

    // The INTEGER PRIMARY KEY column stores nothing; its value is the rowid.
    void putRowid(const TableEntry& entry) {
        if (!table.integerKey) return;
        const auto end = std::to_chars(rowidText, rowidText + RowidTextSize, entry.rowid).ptr;
        fields[*table.integerKey] = std::string_view(rowidText, static_cast<std::size_t>(end - rowidText));
    }

    bool handOver(const RowHandler& onRow) {
        layOutRow();
        return onRow(ResultRow{static_cast<int>(columnCount), values.data(), namesAndTypes.data()});
    }

    HeldRow holdRow() const {
        HeldRow row;
        for (const FieldValue& field : fields)
            row.values.push_back(field ? std::optional<std::string>(*field) : std::nullopt);
        return row;
    }

    bool comesBefore(const HeldRow& left, const HeldRow& right) const {
        for (std::size_t column : order) {
            const auto& a = left.values[column];
            const auto& b = right.values[column];
            const int comparison = compareIndexKeys(a ? FieldValue(*a) : std::nullopt,
                                                    b ? FieldValue(*b) : std::nullopt, textColumns[column]);
            if (comparison != 0) return comparison < 0;
        }
        return false;
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
    std::vector<std::size_t> order;
    std::size_t columnCount;
    std::vector<std::string> names;
    std::vector<std::optional<std::string>> types;
    std::vector<char*> namesAndTypes;
    std::vector<bool> textColumns;
    // The WHERE clause reads the fields before this one.
    std::size_t whereColumns;
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
        file.forgetReadAhead();
        const TableSchema* table = schema.findTable(statement->tableName);
        if (!table) throw SqliteError(SQLITE_ERROR, "no such table: " + statement->tableName);
        if (statement->where) resolveNames(*statement->where, *table, schema);
        if (statement->hasHaving)
            throw SqliteError(SQLITE_ERROR, "a GROUP BY clause is required before HAVING");
        const Expression* where = statement->where.get();
        if (!SelectRun(file, *table, where, resultOrder(where, *table, schema)).run(onRow)) return false;
    }
    return true;
}

} // namespace sqlite2
