#include "app/ScriptDatabase.h"

#include "ScratchFolder.h"
#include "platform/sqlite/tests/DatabaseWriter.h"

#include <gtest/gtest.h>

#include <map>

namespace {

const std::string fixtures = QUORVANE_FIXTURES_DIR "/db/";

std::vector<AnsiString> titlesOf(const TScriptRows& Rows) {
    std::vector<AnsiString> titles;
    for (std::size_t row = 1; row < Rows.size(); ++row)
        titles.push_back(ColumnText(Rows[row], scriptcolumn::Title));
    return titles;
}

// A script table of the given columns with one record.
std::string narrowTable(const std::string& Columns, const sqlite2test::Fields& Record) {
    sqlite2test::DatabaseWriter writer;
    writer.addTable("MarrowindScript", "CREATE TABLE MarrowindScript(" + Columns + ")", {{1, Record}});
    return writer.image();
}

// Each test stops at a fixture that does not open: what follows would read
// records that are not there.
class ScriptDatabaseTest : public ::testing::Test {
protected:
    TScriptDatabase database;
    TScriptRows rows;

    std::optional<TScriptDatabase::Failure> open(const char* Name) { return database.Open(fixtures + Name); }
};

TEST(CategoryStatementTest, QuotesTheCategoryWithEveryApostropheDoubled) {
    EXPECT_EQ(CategoryStatement("Menus"), "SELECT * FROM MarrowindScript WHERE Effect ='Menus';");
    EXPECT_EQ(CategoryStatement("Rock'n Roll"),
              "SELECT * FROM MarrowindScript WHERE Effect ='Rock''n Roll';");
    EXPECT_EQ(CategoryStatement("It''s"), "SELECT * FROM MarrowindScript WHERE Effect ='It''''s';");
    EXPECT_EQ(CategoryStatement(""), "SELECT * FROM MarrowindScript WHERE Effect ='';");
}

TEST_F(ScriptDatabaseTest, TheTableComesWithColumnNamesFirstAndRecordsInTableOrder) {
    ASSERT_EQ(open("small.db"), std::nullopt);
    ASSERT_EQ(database.ReadTable(rows), std::nullopt);
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[0][scriptcolumn::Files], "Files");
    EXPECT_EQ(titlesOf(rows)[0], "Glowing button");
    EXPECT_EQ(titlesOf(rows)[7], "Scrolling text");
    EXPECT_EQ(CategoriesOf(rows), (std::vector<AnsiString>{"Buttons", "Menus", "Text effects"}));
    ASSERT_EQ(database.ReadCategory("Text effects", rows), std::nullopt);
    EXPECT_EQ(titlesOf(rows), (std::vector<AnsiString>{"Typewriter", "Rainbow text", "Scrolling text"}));
    EXPECT_EQ(rows[0][scriptcolumn::Title], "Title");
}

TEST_F(ScriptDatabaseTest, CategoriesDifferingInCaseAppearOnceAsFirstMet) {
    ASSERT_EQ(open("case.db"), std::nullopt);
    ASSERT_EQ(database.ReadTable(rows), std::nullopt);
    EXPECT_EQ(CategoriesOf(rows), (std::vector<AnsiString>{"Buttons", "effects", "Effects "}));
    ASSERT_EQ(database.ReadCategory("effects", rows), std::nullopt);
    EXPECT_EQ(titlesOf(rows), (std::vector<AnsiString>{"Lower one", "Lower two"}));
}

TEST_F(ScriptDatabaseTest, EveryCategoryWithApostrophesListsItsTitles) {
    ASSERT_EQ(open("apostrophe.db"), std::nullopt);
    ASSERT_EQ(database.ReadTable(rows), std::nullopt);
    const std::map<AnsiString, std::vector<AnsiString>> expected = {
        {"It's", {"Apostrophe s"}},
        {"It''s", {"Doubled apostrophe"}},
        {"L'art", {"French"}},
        {"Plain", {"Plain one", "Plain two"}},
        {"Rock'", {"Trailing apostrophe"}},
        {"Rock'n Roll", {"Elvis", "Chuck"}},
    };
    const std::vector<AnsiString> categories = CategoriesOf(rows);
    ASSERT_EQ(categories.size(), expected.size());
    for (const AnsiString& category : categories) {
        SCOPED_TRACE(category);
        ASSERT_EQ(database.ReadCategory(category, rows), std::nullopt);
        EXPECT_EQ(titlesOf(rows), expected.at(category));
    }
}

TEST_F(ScriptDatabaseTest, NullsReadAsEmptyTextAndLatinBytesPassUnchanged) {
    ASSERT_EQ(open("nulls.db"), std::nullopt);
    ASSERT_EQ(database.ReadTable(rows), std::nullopt);
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows[1][scriptcolumn::Body], "");
    EXPECT_EQ(CategoriesOf(rows), (std::vector<AnsiString>{"", "Misc"}));
    ASSERT_EQ(database.ReadCategory("Misc", rows), std::nullopt);
    EXPECT_EQ(titlesOf(rows), (std::vector<AnsiString>{"All null", "", "", "Null id"}));

    ASSERT_EQ(open("latin1.db"), std::nullopt);
    ASSERT_EQ(database.ReadTable(rows), std::nullopt);
    ASSERT_EQ(database.ReadCategory("Caf\xe9", rows), std::nullopt);
    EXPECT_EQ(titlesOf(rows), (std::vector<AnsiString>{"Cr\xe8me br\xfbl\xe9"
                                                       "e",
                                                       "Euro \x80 and \x93quotes\x94"}));
}

TEST_F(ScriptDatabaseTest, AnEmptyTableGivesNoRowsAndNoCategories) {
    ASSERT_EQ(open("empty.db"), std::nullopt);
    ASSERT_EQ(database.ReadTable(rows), std::nullopt);
    EXPECT_TRUE(rows.empty());
    EXPECT_TRUE(CategoriesOf(rows).empty());
}

TEST_F(ScriptDatabaseTest, AFailedQueryReportsTheEnginesTextAndClosesTheDatabase) {
    struct Case {
        const char* file;
        const char* text;
    } cases[] = {{"corrupt.db", "database disk image is malformed"},
                 {"othertable.db", "no such table: MarrowindScript"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_EQ(open(c.file), std::nullopt);
        EXPECT_EQ(database.ReadTable(rows), TScriptDatabase::Failure{c.text});
        EXPECT_FALSE(database.IsOpen());
        EXPECT_TRUE(rows.empty());
        rows = {{"stale"}};
        EXPECT_EQ(database.ReadCategory("Buttons", rows), std::nullopt);
        EXPECT_TRUE(rows.empty());
    }
}

TEST_F(ScriptDatabaseTest, AFailedOpenReportsBothTextsAndLeavesNoHandle) {
    struct Case {
        const char* file;
        const char* text;
    } cases[] = {{"badmaster.db", "database disk image is malformed"},
                 {"notadb.txt", "file is encrypted or is not a database"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(open(c.file), (TScriptDatabase::Failure{"Can't open DataBase", c.text}));
        EXPECT_FALSE(database.IsOpen());
        EXPECT_EQ(database.ReadTable(rows), std::nullopt);
    }
}

TEST(ColumnTextTest, AColumnTheRecordDoesNotReachIsEmpty) {
    const std::vector<AnsiString> record = {"1", "wizard", "Buttons"};
    EXPECT_EQ(ColumnText(record, scriptcolumn::Effect), "Buttons");
    EXPECT_EQ(ColumnText(record, scriptcolumn::Title), "");
    EXPECT_EQ(ColumnText(record, scriptcolumn::Files), "");
    EXPECT_EQ(ColumnText({}, 0), "");
}

// Records without the category or the title column fail as the category
// query does on a table without its Effect column.
TEST_F(ScriptDatabaseTest, ATableWithoutTheTitleOrCategoryColumnFailsNamingIt) {
    struct Case {
        const char* columns;
        sqlite2test::Fields record;
        const char* text;
    } cases[] = {{"Id, Wizard, Effect", {"1", "", "Buttons"}, "no such column: Title"},
                 {"Id, Wizard", {"1", ""}, "no such column: Effect"},
                 {"Id", {"1"}, "no such column: Effect"}};
    ScratchFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.columns);
        WriteFile(folder / "narrow.db", narrowTable(c.columns, c.record));
        ASSERT_EQ(database.Open(folder / "narrow.db"), std::nullopt);
        EXPECT_EQ(database.ReadTable(rows), TScriptDatabase::Failure{c.text});
        EXPECT_FALSE(database.IsOpen());
        EXPECT_TRUE(rows.empty());

        ASSERT_EQ(database.Open(folder / "narrow.db"), std::nullopt);
        EXPECT_EQ(database.ReadCategory("Buttons", rows), TScriptDatabase::Failure{c.text});
        EXPECT_FALSE(database.IsOpen());
        EXPECT_TRUE(rows.empty());
    }
}

TEST_F(ScriptDatabaseTest, ATableEndingAtTheTitleColumnReadsWhole) {
    ScratchFolder folder;
    WriteFile(folder / "titles.db", narrowTable("Id, Wizard, Effect, Title", {"1", "", "Buttons", "Glow"}));
    ASSERT_EQ(database.Open(folder / "titles.db"), std::nullopt);
    ASSERT_EQ(database.ReadTable(rows), std::nullopt);
    EXPECT_EQ(titlesOf(rows), std::vector<AnsiString>{"Glow"});
    ASSERT_EQ(database.ReadCategory("Buttons", rows), std::nullopt);
    EXPECT_EQ(titlesOf(rows), std::vector<AnsiString>{"Glow"});
}

} // namespace
