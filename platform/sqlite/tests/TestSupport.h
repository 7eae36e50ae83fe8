// Shared by the reader's tests: fixture paths, in-memory files the reader can open by
// name, and the results of both statement calls captured as plain values.
#pragma once

#include "platform/sqlite/sqlite.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sqlite2test {

using Text = std::optional<std::string>;

std::string fixturePath(std::string_view name);
std::string readFile(const std::string& path);

// A file living only in memory, reachable by a path for as long as the object lives.
class MemoryFile {
public:
    MemoryFile();
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    void replaceContent(std::string_view bytes);
    const std::string& path() const { return name; }

private:
    int descriptor;
    std::string name;
};

struct TableResult {
    int code = 0;
    int rowCount = 0;
    int columnCount = 0;
    bool resultIsNull = true;
    Text error;
    // (rowCount + 1) * columnCount cells, the names first.
    std::vector<Text> cells;

    bool operator==(const TableResult&) const = default;
};

struct ExecResult {
    int code = 0;
    Text error;
    std::vector<std::vector<Text>> rows;
    // From the first callback: the names then the declared types.
    std::vector<Text> namesAndTypes;
};

TableResult getTable(sqlite* db, const std::string& sql);
// stopAfter: the callback asks to stop on that many rows; -1 never.
ExecResult exec(sqlite* db, const std::string& sql, int stopAfter = -1);

std::string categoryStatement(std::string_view category);
inline constexpr const char* SelectAll = "SELECT * FROM MarrowindScript;";

struct OpenResult {
    sqlite* db = nullptr;
    Text error;
};
OpenResult openDatabase(const std::string& path);

} // namespace sqlite2test
