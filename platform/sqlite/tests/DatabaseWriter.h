// Writes version 2 database files in memory for tests and benchmarks: sound files laid
// out the way the engine lays them out, and the raw page building blocks to build
// damaged ones. Link platform_sqlite_writer to use it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sqlite2test {

using Fields = std::vector<std::optional<std::string>>;

struct Row {
    std::int32_t rowid;
    Fields fields;
};

std::vector<std::uint8_t> encodeRecord(const Fields& fields);

class DatabaseWriter {
public:
    struct Cell {
        std::uint32_t leftChild = 0;
        std::size_t keySize = 0;
        std::size_t dataSize = 0;
        // The payload bytes kept on the tree page, and where the rest continues.
        std::vector<std::uint8_t> local;
        std::uint32_t firstOverflowPage = 0;
    };

    DatabaseWriter();

    // Adds a table's master row and its B-tree; rows in ascending rowid order.
    // Returns the tree's root page.
    std::uint32_t addTable(const std::string& name, const std::string& createSql,
                           const std::vector<Row>& rows);
    // Adds the master row of a table whose tree was written page by page.
    void registerTable(const std::string& name, const std::string& createSql, std::uint32_t rootPage);
    // Adds an index's master row after the rows added so far, with an empty tree: the
    // reader takes an index's order from its definition, not from its tree. No CREATE
    // INDEX text makes it an automatic index ("(<table> autoindex <number>)").
    void addIndex(const std::string& name, const std::string& tableName,
                  const std::optional<std::string>& createSql);
    // An automatic index's name as the engine makes it.
    static std::string automaticIndexName(const std::string& tableName, int number);
    // The whole file. Writes the master table, so call it once, after the last addTable.
    std::string image();

    std::uint32_t newPage();
    // A table row's cell; a long payload goes onto new overflow pages.
    Cell makeCell(std::int32_t rowid, const std::vector<std::uint8_t>& record);
    void writeTreePage(std::uint32_t pageNumber, const std::vector<Cell>& cells, std::uint32_t rightChild);

private:
    using Page = std::array<std::uint8_t, 1024>;

    std::uint32_t buildLevel(std::vector<Cell> cells, std::uint32_t rightmost,
                             std::optional<std::uint32_t> root);
    std::uint32_t buildTree(const std::vector<Row>& rows, std::optional<std::uint32_t> root);

    std::vector<Page> pages;
    std::vector<Row> masterRows;
};

} // namespace sqlite2test
