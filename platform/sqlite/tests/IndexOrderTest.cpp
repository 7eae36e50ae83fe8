// The order of a category's rows when an index starts with the compared column: the
// index's further columns, then the rowid.
#include "platform/sqlite/sqlite.h"
#include "platform/sqlite/tests/DatabaseWriter.h"
#include "platform/sqlite/tests/TestSupport.h"

#include <gtest/gtest.h>

using namespace sqlite2test;

namespace {

constexpr const char* CreateTable = "CREATE TABLE MarrowindScript(Id INTEGER PRIMARY KEY, Effect TEXT, "
                                    "Title TEXT, Author TEXT, Rank)";

// Rows in rowid order: the titles run against the authors and the ranks, so each order
// shows which column it came from.
std::vector<Row> scriptRows() {
    return {
        {1, {std::nullopt, "Clocks", "Digital", "Cleo", "10"}},
        {2, {std::nullopt, "Text", "Wave", "Ann", "1"}},
        {3, {std::nullopt, "Clocks", "Analog", "Bob", "x"}},
        {4, {std::nullopt, "Clocks", "Countdown", "Abe", "9"}},
        {5, {std::nullopt, "Clocks", std::nullopt, "Dan", std::nullopt}},
        {6, {std::nullopt, "Clocks", "Analog", "Al", "9.0"}},
    };
}

struct IndexDefinition {
    const char* name;
    // None: an automatic index.
    std::optional<std::string> sql;
};

struct OrderCase {
    const char* what;
    std::string createTable;
    std::vector<IndexDefinition> indexes;
    std::vector<std::string> ids;
};

std::vector<std::string> categoryIds(const OrderCase& each, const std::string& category) {
    DatabaseWriter writer;
    writer.addTable("MarrowindScript", each.createTable, scriptRows());
    for (const IndexDefinition& index : each.indexes)
        writer.addIndex(index.name, "MarrowindScript", index.sql);
    MemoryFile file;
    file.replaceContent(writer.image());
    const OpenResult opened = openDatabase(file.path());
    EXPECT_NE(opened.db, nullptr);
    if (!opened.db) return {};
    const ExecResult result = exec(opened.db, categoryStatement(category));
    sqlite_close(opened.db);
    std::vector<std::string> ids;
    for (const auto& row : result.rows)
        ids.push_back(row[0].value_or("NULL"));
    return ids;
}

} // namespace

TEST(IndexOrder, ACategoryComesInTheOrderOfTheIndexThatStartsWithItsColumn) {
    const std::string autoName = DatabaseWriter::automaticIndexName("MarrowindScript", 1);
    const std::vector<OrderCase> cases = {
        {"no index", CreateTable, {}, {"1", "3", "4", "5", "6"}},
        {"an index on the category alone keeps rowid order",
         CreateTable,
         {{"EffectIdx", "CREATE INDEX EffectIdx ON MarrowindScript(Effect)"}},
         {"1", "3", "4", "5", "6"}},
        {"by title, NULL first, then rowid",
         CreateTable,
         {{"EffectTitle", "CREATE INDEX EffectTitle ON MarrowindScript ( effect , Title DESC )"}},
         {"5", "3", "6", "4", "1"}},
        {"an index on another column first is not used",
         CreateTable,
         {{"TitleEffect", "CREATE INDEX TitleEffect ON MarrowindScript(Title, Effect)"}},
         {"1", "3", "4", "5", "6"}},
        {"of two candidates the later one",
         CreateTable,
         {{"EffectTitle", "CREATE INDEX EffectTitle ON MarrowindScript(Effect, Title)"},
          {"EffectAuthor", "CREATE UNIQUE INDEX EffectAuthor ON MarrowindScript(Effect, Author)"},
          {"TitleIdx", "CREATE INDEX TitleIdx ON MarrowindScript(Title)"}},
         {"4", "6", "3", "1", "5"}},
        {"a numeric column: NULL, numbers by value, then texts",
         CreateTable,
         {{"EffectRank", "CREATE INDEX EffectRank ON MarrowindScript(Effect, Rank)"}},
         {"5", "4", "6", "1", "3"}},
        {"an automatic index of a table constraint",
         "CREATE TABLE MarrowindScript(Id INTEGER PRIMARY KEY, Effect TEXT, Title TEXT, Author TEXT UNIQUE, "
         "Rank, UNIQUE(Effect, Author))",
         {{"(MarrowindScript autoindex 1)", std::nullopt}, {"(MarrowindScript autoindex 2)", std::nullopt}},
         {"4", "6", "3", "1", "5"}},
        {"a non-integer primary key makes an automatic index",
         "CREATE TABLE MarrowindScript(Id INTEGER PRIMARY KEY, Effect TEXT, Title TEXT, Author TEXT, Rank, "
         "PRIMARY KEY(Effect, Title))",
         {{autoName.c_str(), std::nullopt}},
         {"5", "3", "6", "4", "1"}},
    };
    for (const OrderCase& each : cases)
        EXPECT_EQ(categoryIds(each, "Clocks"), each.ids) << each.what;
}

TEST(IndexOrder, TheWholeTableStaysInRowidOrder) {
    DatabaseWriter writer;
    writer.addTable("MarrowindScript", CreateTable, scriptRows());
    writer.addIndex("EffectTitle", "MarrowindScript",
                    "CREATE INDEX EffectTitle ON MarrowindScript(Effect, Title)");
    MemoryFile file;
    file.replaceContent(writer.image());
    const OpenResult opened = openDatabase(file.path());
    ASSERT_NE(opened.db, nullptr);
    const TableResult all = getTable(opened.db, SelectAll);
    sqlite_close(opened.db);
    ASSERT_EQ(all.rowCount, 6);
    for (int row = 1; row <= 6; ++row)
        EXPECT_EQ(all.cells[static_cast<std::size_t>(row * all.columnCount)], std::to_string(row));
}
