// An open database: the file, its schema read at open, and the running of statements
// that hand their result rows to the caller one at a time.
#pragma once

#include "platform/sqlite/DatabaseFile.h"
#include "platform/sqlite/Schema.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace sqlite2 {

struct ResultRow {
    int columnCount;
    // columnCount values, a null pointer for SQL NULL, then a null pointer.
    char** values;
    // columnCount names, columnCount declared types (null when none), then a null pointer.
    char** namesAndTypes;
};

// Returns false to stop the statement. The row's texts are valid only during the call.
using RowHandler = std::function<bool(const ResultRow&)>;

class Connection {
public:
    // Throws SqliteError with the engine's texts when the file can't be opened as a database.
    static std::unique_ptr<Connection> open(const std::string& fileName);

    // Runs the statements of sql one after another. Returns false when onRow stopped
    // one. Throws SqliteError; rows handed over before the failure stay handed over.
    bool run(std::string_view sql, const RowHandler& onRow);

private:
    Connection(DatabaseFile file, Schema schema) : file(std::move(file)), schema(std::move(schema)) {}

    DatabaseFile file;
    Schema schema;
};

} // namespace sqlite2
