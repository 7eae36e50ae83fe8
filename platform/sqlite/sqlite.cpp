// The C entry points: argument checks, error texts the caller frees with free(), and
// the memory layout of sqlite_get_table's result.
#include "platform/sqlite/sqlite.h"

#include "platform/sqlite/Connection.h"
#include "platform/sqlite/SqliteError.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

struct sqlite {
    std::unique_ptr<sqlite2::Connection> connection;
};

const char sqlite_version[] = SQLITE_VERSION;
const char sqlite_encoding[] = "iso8859";

namespace {

using sqlite2::ResultRow;
using sqlite2::SqliteError;

constexpr const char* MisuseText = "library routine called out of sequence";
constexpr const char* NoMemoryText = "out of memory";

// Allocated with malloc, because the program releases error texts with free().
char* copyForCaller(const char* text) {
    const std::size_t size = std::strlen(text) + 1;
    auto* copy = static_cast<char*>(std::malloc(size));
    if (copy) std::memcpy(copy, text, size);
    return copy;
}

void report(char** errmsg, const char* text) {
    if (errmsg) *errmsg = copyForCaller(text);
}

template <typename Action> int reportingFailures(char** errmsg, Action action) {
    try {
        return action();
    } catch (const SqliteError& error) {
        report(errmsg, error.what());
        return error.code;
    } catch (const std::bad_alloc&) {
        report(errmsg, NoMemoryText);
        return SQLITE_NOMEM;
    }
}

// sqlite_get_table's result: the cells follow a hidden slot that points back to their
// owner, so that sqlite_free_table can find everything from the pointer it is given.
class TableResult {
public:
    TableResult() : cells(1, nullptr) {}

    void addRow(const ResultRow& row) {
        if (rows == 0) {
            columns = row.columnCount;
            for (int index = 0; index < columns; ++index)
                cells.push_back(store(row.namesAndTypes[index]));
        } else if (row.columnCount != columns) {
            throw SqliteError(SQLITE_ERROR, "the statements give different numbers of columns");
        }
        for (int index = 0; index < columns; ++index)
            cells.push_back(store(row.values[index]));
        ++rows;
    }

    int rowCount() const { return rows; }
    int columnCount() const { return columns; }

    static char** release(std::unique_ptr<TableResult> owner) {
        owner->cells.front() = reinterpret_cast<char*>(owner.get());
        return owner.release()->cells.data() + 1;
    }

    static void free(char** result) { delete reinterpret_cast<TableResult*>(result[-1]); }

private:
    static constexpr std::size_t ChunkSize = 64 * 1024;

    // Texts are packed into large chunks so that big results cost few allocations.
    char* store(const char* text) {
        if (!text) return nullptr;
        const std::size_t size = std::strlen(text) + 1;
        if (size > chunkSpace) {
            const std::size_t chunkSize = std::max(ChunkSize, size);
            chunks.push_back(std::make_unique_for_overwrite<char[]>(chunkSize));
            chunkNext = chunks.back().get();
            chunkSpace = chunkSize;
        }
        char* copy = chunkNext;
        std::memcpy(copy, text, size);
        chunkNext += size;
        chunkSpace -= size;
        return copy;
    }

    std::vector<char*> cells;
    std::vector<std::unique_ptr<char[]>> chunks;
    char* chunkNext = nullptr;
    std::size_t chunkSpace = 0;
    int rows = 0;
    int columns = 0;
};

} // namespace

const char* sqlite_libversion(void) {
    return sqlite_version;
}

sqlite* sqlite_open(const char* filename, int, char** errmsg) {
    if (errmsg) *errmsg = nullptr;
    if (!filename) {
        report(errmsg, MisuseText);
        return nullptr;
    }
    std::unique_ptr<sqlite> database;
    const int code = reportingFailures(errmsg, [&] {
        database = std::make_unique<sqlite>();
        database->connection = sqlite2::Connection::open(filename);
        return SQLITE_OK;
    });
    return code == SQLITE_OK ? database.release() : nullptr;
}

void sqlite_close(sqlite* db) {
    delete db;
}

int sqlite_exec(sqlite* db, const char* sql, sqlite_callback callback, void* argument, char** errmsg) {
    if (errmsg) *errmsg = nullptr;
    // The engine itself crashes on a missing handle; answering misuse is the sound behaviour.
    if (!db || !sql) {
        report(errmsg, MisuseText);
        return SQLITE_MISUSE;
    }
    return reportingFailures(errmsg, [&] {
        const bool completed = db->connection->run(sql, [&](const ResultRow& row) {
            return !callback || callback(argument, row.columnCount, row.values, row.namesAndTypes) == 0;
        });
        return completed ? SQLITE_OK : SQLITE_ABORT;
    });
}

int sqlite_get_table(sqlite* db, const char* sql, char*** result, int* nrow, int* ncolumn, char** errmsg) {
    if (result) *result = nullptr;
    if (nrow) *nrow = 0;
    if (ncolumn) *ncolumn = 0;
    if (errmsg) *errmsg = nullptr;
    if (!db || !sql || !result) {
        report(errmsg, MisuseText);
        return SQLITE_MISUSE;
    }
    auto table = std::make_unique<TableResult>();
    const int code = reportingFailures(errmsg, [&] {
        db->connection->run(sql, [&](const ResultRow& row) {
            table->addRow(row);
            return true;
        });
        return SQLITE_OK;
    });
    if (code != SQLITE_OK) return code;
    if (nrow) *nrow = table->rowCount();
    if (ncolumn) *ncolumn = table->columnCount();
    *result = TableResult::release(std::move(table));
    return SQLITE_OK;
}

void sqlite_free_table(char** result) {
    if (result) TableResult::free(result);
}

void sqlite_freemem(void* p) {
    std::free(p);
}
