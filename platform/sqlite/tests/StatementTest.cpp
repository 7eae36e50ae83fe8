// How statements are read and evaluated: category texts cut by apostrophes, illegal
// characters, name resolution and the WHERE operators.
#include "platform/sqlite/sqlite.h"
#include "platform/sqlite/tests/TestSupport.h"

#include <gtest/gtest.h>

using namespace sqlite2test;

namespace {

class Statements : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"apostrophe.db", "small.db", "nulls.db"}) {
            const OpenResult opened = openDatabase(fixturePath(name));
            ASSERT_NE(opened.db, nullptr) << name;
            databases.push_back(opened.db);
        }
    }
    void TearDown() override {
        for (sqlite* db : databases)
            sqlite_close(db);
    }
    sqlite* apostrophe() const { return databases[0]; }
    sqlite* small() const { return databases[1]; }
    sqlite* nulls() const { return databases[2]; }

    static std::vector<std::string> column(const ExecResult& result, std::size_t index) {
        std::vector<std::string> values;
        for (const auto& row : result.rows)
            values.push_back(row[index].value_or("NULL"));
        return values;
    }

    std::vector<sqlite*> databases;
};

struct CategoryCase {
    const char* category;
    int code;
    Text error;
    std::size_t rows;
};

std::string nearText(const char* token) {
    return std::string("near \"") + token + "\": syntax error";
}

} // namespace

TEST_F(Statements, CategoryTextsCutByApostrophesFailOrMatchAsTheEngineDoes) {
    const std::vector<CategoryCase> cases = {
        {"x' 'y", SQLITE_ERROR, nearText("'y'"), 0},
        {"a'`b", SQLITE_ERROR, "unrecognized token: \"`\"", 0},
        {"a'!b", SQLITE_ERROR, "unrecognized token: \"!b\"", 0},
        {"a'/*c", SQLITE_OK, std::nullopt, 0},
        {"Plain'--c", SQLITE_OK, std::nullopt, 2},
        {"Rock'in Roll", SQLITE_ERROR, nearText("';"), 0},
        {"Rock'or Roll", SQLITE_ERROR, nearText("';"), 0},
        {"x'is null", SQLITE_ERROR, nearText("';"), 0},
        {"a'.b", SQLITE_ERROR, nearText("';"), 0},
        {"a'-b", SQLITE_ERROR, nearText("';"), 0},
        {"a'=b", SQLITE_ERROR, nearText("';"), 0},
        {"x'LIKE", SQLITE_OK, std::nullopt, 0},
        {"x'glob", SQLITE_OK, std::nullopt, 0},
        {"x'HAVING", SQLITE_ERROR, "a GROUP BY clause is required before HAVING", 0},
        {"It''s", SQLITE_OK, std::nullopt, 1},
    };
    for (const CategoryCase& test : cases) {
        const ExecResult result = exec(apostrophe(), categoryStatement(test.category));
        EXPECT_EQ(result.code, test.code) << test.category;
        EXPECT_EQ(result.error, test.error) << test.category;
        EXPECT_EQ(result.rows.size(), test.rows) << test.category;
    }
}

TEST_F(Statements, AWordAfterAnApostropheFailsAtItUnlessItContinuesTheExpression) {
    for (const char* word : {"AND", "OR", "NOT", "IS", "ISNULL", "NOTNULL", "IN", "BETWEEN", "ORDER", "GROUP",
                             "LIMIT", "UNION", "INTERSECT", "EXCEPT"})
        EXPECT_EQ(exec(apostrophe(), categoryStatement(std::string("x'") + word)).error, nearText("';"))
            << word;
    for (const char* word : {"AS", "SELECT", "ON", "ESCAPE", "COLLATE", "DESC", "KEY", "END", "OFFSET"})
        EXPECT_EQ(exec(apostrophe(), categoryStatement(std::string("x'") + word)).error, nearText(word))
            << word;
}

TEST_F(Statements, StatementsOfOneTextRunInTurnUntilOneFails) {
    const ExecResult result = exec(apostrophe(), categoryStatement("Plain';SELECT * FROM Nope;--"));
    EXPECT_EQ(result.rows.size(), 2u);
    EXPECT_EQ(result.code, SQLITE_ERROR);
    EXPECT_EQ(result.error, "no such table: Nope");
    // A later statement's illegal character stops nothing before it.
    EXPECT_EQ(exec(apostrophe(), categoryStatement("Plain';`")).rows.size(), 2u);
}

TEST_F(Statements, NamesResolveIgnoringCaseAndUnknownNamesAreReportedAsWritten) {
    EXPECT_EQ(exec(small(), "select * from marrowindscript where EFFECT = 'Menus'").rows.size(), 2u);
    EXPECT_EQ(
        exec(small(), "SELECT * FROM [MarrowindScript] WHERE MarrowindScript.Effect = 'Menus'").rows.size(),
        2u);
    EXPECT_EQ(exec(small(), "SELECT * FROM MarrowindScript WHERE Category = 'x'").error,
              "no such column: Category");
    EXPECT_EQ(exec(small(), "SELECT * FROM MarrowindScript WHERE Other.Effect = 'x'").error,
              "no such column: Other.Effect");
    EXPECT_EQ(exec(small(), "SELECT * FROM Scripts WHERE Category = 'x'").error, "no such table: Scripts");
    EXPECT_EQ(exec(small(), "SELECT Title FROM MarrowindScript").error, nearText("Title"));
    EXPECT_EQ(exec(small(), "SELECT * FROM").error, nearText("FROM"));
    EXPECT_EQ(exec(small(), "SELECT * FROM MarrowindScript WHERE Effect IN Roll").error,
              "no such table: Roll");
}

TEST_F(Statements, WhereOperatorsSelectTheRowsTheyDescribe) {
    struct WhereCase {
        const char* where;
        std::vector<std::string> ids;
    };
    const std::vector<WhereCase> smallCases = {
        {"Effect LIKE 'b%'", {"1", "4", "7"}},
        {"Effect NOT GLOB 'B*'", {"2", "3", "5", "6", "8"}},
        {"Effect IN ('Menus', 'Buttons') AND Id > 3", {"4", "6", "7"}},
        {"Effect BETWEEN 'M' AND 'N'", {"3", "6"}},
        {"Id + 1 = 3 OR Id * 2 = 16", {"2", "8"}},
        {"Id % 3 = 0", {"3", "6"}},
        {"Effect || '!' = 'Menus!'", {"3", "6"}},
        {"-Id = -5", {"5"}},
        {"Id < 3", {"1", "2"}},
        {"Id >= 7", {"7", "8"}},
        {"(Id & 1) = 1 AND NOT Id <> 5", {"5"}},
        {"Id / 0 ISNULL", {"1", "2", "3", "4", "5", "6", "7", "8"}},
    };
    for (const WhereCase& test : smallCases) {
        const ExecResult result =
            exec(small(), std::string("SELECT * FROM MarrowindScript WHERE ") + test.where);
        EXPECT_EQ(result.code, SQLITE_OK) << test.where << " " << result.error.value_or("");
        EXPECT_EQ(column(result, 0), test.ids) << test.where;
    }
    const std::vector<WhereCase> nullCases = {
        {"Title IS NULL", {"4"}},
        {"Effect NOTNULL AND Effect <> 'Misc'", {"5"}},
        {"NOT Effect = 'Misc'", {"5"}},
        {"Effect = NULL", {}},
        {"Effect IS NOT NULL AND Title = ''", {"2"}},
    };
    for (const WhereCase& test : nullCases)
        EXPECT_EQ(column(exec(nulls(), std::string("SELECT * FROM MarrowindScript WHERE ") + test.where), 0),
                  test.ids)
            << test.where;
}

TEST_F(Statements, DeeplyNestedExpressionsFailCleanly) {
    const std::string nested = std::string(5000, '(') + "1" + std::string(5000, ')');
    const ExecResult deep = exec(small(), "SELECT * FROM MarrowindScript WHERE " + nested);
    EXPECT_EQ(deep.code, SQLITE_ERROR);
    std::string chain = "Effect = 'x'";
    for (int index = 0; index < 20000; ++index)
        chain += " || 'x'";
    EXPECT_EQ(exec(small(), "SELECT * FROM MarrowindScript WHERE " + chain).code, SQLITE_ERROR);
}
