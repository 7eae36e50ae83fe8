// The tables of a database as the master table describes them: each table's root
// page and its columns, read from the CREATE TABLE text the way the engine reads it.
#pragma once

#include "platform/sqlite/DatabaseFile.h"
#include "platform/sqlite/Record.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sqlite2 {

struct Column {
    std::string name;
    // The declared type with its white space removed; none when the column has no type.
    std::optional<std::string> declaredType;
    // Columns of a text type compare byte for byte, the others as numbers when both
    // sides look like numbers.
    bool comparesAsText = false;
};

struct TableSchema {
    std::string name;
    std::uint32_t rootPage = 0;
    std::vector<Column> columns;
    // The INTEGER PRIMARY KEY column, whose value is the row's rowid.
    std::optional<std::size_t> integerKey;
    // The columns of each UNIQUE or other PRIMARY KEY constraint, in the text's order:
    // the engine makes an automatic index for each, numbered from 1 in this order.
    std::vector<std::vector<std::string>> automaticIndexColumns;

    // Names match ignoring ASCII letter case.
    std::optional<std::size_t> columnIndex(std::string_view columnName) const;
};

// An index of a table: the columns its keys are ordered by, in turn, before the rowid.
struct IndexSchema {
    std::string tableName;
    std::vector<std::size_t> columns;
};

// Throws SqliteError (SQLITE_ERROR) with a syntax error text when the text isn't a
// CREATE TABLE with a column list.
TableSchema parseCreateTable(std::string_view sql);

class Schema {
public:
    // Walks the master table. Throws SqliteError: SQLITE_CORRUPT for a damaged master
    // tree, SQLITE_ERROR for a table definition that doesn't parse.
    static Schema read(const DatabaseFile& file);

    // Table names match ignoring ASCII letter case.
    const TableSchema* findTable(std::string_view name) const;
    // The index the engine walks to find a table's rows by the values of some columns:
    // of those that start with one of the columns, the one that comes last in the
    // master table. None when no index starts with one of them.
    const IndexSchema* indexStartingWith(const TableSchema& table,
                                         const std::vector<std::size_t>& columns) const;

private:
    void addIndex(std::string_view name, std::string_view tableName, const FieldValue& createSql);

    std::vector<TableSchema> tables;
    // In the master table's order.
    std::vector<IndexSchema> indexes;
};

} // namespace sqlite2
