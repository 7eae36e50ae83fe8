// Tables written by the test writer read back exactly: many-level trees, values at the
// page, overflow and offset-width boundaries, NULLs, negative rowids.
#include "platform/sqlite/sqlite.h"
#include "platform/sqlite/tests/DatabaseWriter.h"
#include "platform/sqlite/tests/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

using namespace sqlite2test;

namespace {

// Sizes on both sides of the local payload limit, one and several overflow pages,
// and the 1-, 2- and 3-byte record offset widths.
const std::size_t InterestingSizes[] = {0, 1, 200, 220, 221, 300, 1019, 1020, 1021, 3000, 65000, 70000};

std::vector<Row> randomRows(std::mt19937& random, std::size_t count, std::size_t columns) {
    std::uniform_int_distribution<std::int32_t> anyRowid(-2000000000, 2000000000);
    std::set<std::int32_t> rowids;
    while (rowids.size() < count)
        rowids.insert(anyRowid(random));
    std::vector<Row> rows;
    for (const std::int32_t rowid : rowids) {
        Row row{rowid, {}};
        for (std::size_t column = 0; column < columns; ++column) {
            const auto pick = random() % 16;
            if (pick == 0) {
                row.fields.push_back(std::nullopt);
            } else if (pick == 1) {
                row.fields.push_back(
                    std::string(InterestingSizes[random() % std::size(InterestingSizes)], 'v'));
            } else {
                std::string value(random() % 40, ' ');
                for (char& byte : value)
                    byte = static_cast<char>(1 + random() % 255);
                row.fields.push_back(value);
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

TableResult readBack(const std::string& image, const std::string& sql) {
    MemoryFile file;
    file.replaceContent(image);
    const OpenResult opened = openDatabase(file.path());
    EXPECT_NE(opened.db, nullptr) << opened.error.value_or("");
    if (!opened.db) return {};
    TableResult result = getTable(opened.db, sql);
    sqlite_close(opened.db);
    return result;
}

} // namespace

TEST(RoundTrip, RandomTablesReadBackInRowidOrder) {
    std::mt19937 random(20240601);
    for (const std::size_t count : {0u, 1u, 7u, 150u, 3000u}) {
        const std::vector<Row> rows = randomRows(random, count, 4);
        DatabaseWriter writer;
        writer.addTable("Other", "CREATE TABLE Other (x)", {});
        writer.addTable("T", "CREATE TABLE T (a TEXT, b, \"c\" varchar(9), [d])", rows);
        const TableResult result = readBack(writer.image(), "SELECT * FROM T");
        ASSERT_EQ(result.code, SQLITE_OK) << result.error.value_or("");
        ASSERT_EQ(result.rowCount, static_cast<int>(count));
        if (count == 0) continue;
        EXPECT_EQ(std::vector<Text>(result.cells.begin(), result.cells.begin() + 4),
                  (std::vector<Text>{"a", "b", "c", "d"}));
        for (std::size_t row = 0; row < count; ++row)
            for (std::size_t column = 0; column < 4; ++column)
                ASSERT_EQ(result.cells[(row + 1) * 4 + column], rows[row].fields[column])
                    << row << " " << column;
    }
}

TEST(RoundTrip, IntegerPrimaryKeyReadsTheRowidAndMissingFieldsReadNull) {
    DatabaseWriter writer;
    // Records with fewer fields than columns, as a table widened by hand would hold.
    writer.addTable("T", "CREATE TABLE T (x TEXT, Id integer PRIMARY KEY, y TEXT, z TEXT)",
                    {Row{-7, {"first"}}, Row{0, {"second", std::nullopt, "why"}}, Row{2147483647, {}}});
    const TableResult result = readBack(writer.image(), "SELECT * FROM T");
    ASSERT_EQ(result.code, SQLITE_OK);
    const std::vector<Text> expected = {
        "x",      "Id", "y",   "z",          "first",      "-7",         std::nullopt, std::nullopt,
        "second", "0",  "why", std::nullopt, std::nullopt, "2147483647", std::nullopt, std::nullopt};
    EXPECT_EQ(result.cells, expected);
}
