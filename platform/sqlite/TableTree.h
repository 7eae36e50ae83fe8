// Walks the B-tree of one table in rowid order, gathering each row's record from its
// page and overflow chain only as far as the visitor reads it, so that a row whose
// first columns rule it out costs no overflow pages. Every inconsistency the engine
// treats as a damaged image, and every loop or runaway a damaged file could cause,
// ends the walk as corruption.
#pragma once

#include "platform/sqlite/DatabaseFile.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace sqlite2 {

class TableTree;

// One row during the visit: the bytes handed out stay valid until the visit returns.
struct TableEntry {
    std::int32_t rowid;
    std::size_t recordSize;
    TableTree* tree;

    // The record's first `count` bytes (all of them when it is shorter).
    std::span<const std::uint8_t> recordPrefix(std::size_t count) const;
    std::span<const std::uint8_t> record() const { return recordPrefix(recordSize); }
};

class TableTree {
public:
    TableTree(const DatabaseFile& file, std::uint32_t rootPage);
    ~TableTree();

    // Hands the rows over in rowid order until visit returns false; returns false when
    // stopped that way. Throws SqliteError (SQLITE_CORRUPT) on a damaged tree; the
    // record handed over is valid only during the call.
    bool forEachRow(const std::function<bool(const TableEntry&)>& visit);

    // The current row's payload (key and record) up to `count` bytes.
    std::span<const std::uint8_t> payloadPrefix(std::size_t count);

private:
    struct Level;
    struct Cell;

    bool walk(std::uint32_t pageNumber, std::size_t depth,
              const std::function<bool(const TableEntry&)>& visit);
    Level& level(std::size_t depth);
    void readLayout(Level& level) const;
    void claimPage(std::uint32_t pageNumber);
    void startPayload(const Page& page, const Cell& cell);

    const DatabaseFile& file;
    std::uint32_t rootPage;
    // Each page belongs to one place in a sound file, so a page met twice means a cycle
    // or shared pages; refusing it also keeps the walk linear in the file size.
    std::vector<bool> visited;
    std::vector<std::unique_ptr<Level>> levels;
    // The current row's payload: on its page when it fits there, else gathered into
    // `payload` up to `gathered` bytes, the chain going on at `nextOverflow`.
    const std::uint8_t* localPayload = nullptr;
    std::size_t payloadSize = 0;
    std::size_t gathered = 0;
    std::uint32_t nextOverflow = 0;
    std::vector<std::uint8_t> payload;
    Page overflowPage{};
};

} // namespace sqlite2
