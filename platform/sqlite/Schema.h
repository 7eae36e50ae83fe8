// The tables of a database as the master table describes them: each table's root
// page and its columns, read from the CREATE TABLE text the way the engine reads it.
#pragma once

#include "platform/sqlite/DatabaseFile.h"

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

private:
    std::vector<TableSchema> tables;
};

} // namespace sqlite2
