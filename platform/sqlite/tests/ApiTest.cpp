// The C calls' contracts: opening missing, foreign and unreadable files, handles,
// callbacks, result memory and error texts.
#include "platform/sqlite/sqlite.h"
#include "platform/sqlite/tests/DatabaseWriter.h"
#include "platform/sqlite/tests/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace sqlite2test;
namespace fs = std::filesystem;

extern "C" int cProgramCountRows(const char* path);

namespace {

const Text NoSuchTable = "no such table: MarrowindScript";

class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = (fs::temp_directory_path() / "sqlite-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path = pattern;
    }
    ~TemporaryFolder() { fs::remove_all(path); }
    fs::path path;
};

void writeFile(const fs::path& path, std::string_view content) {
    std::ofstream(path, std::ios::binary) << content;
}

} // namespace

TEST(Open, FilesShorterThanAPageAreEmptyDatabasesLongerOnesMustBeDatabases) {
    struct Case {
        std::size_t size;
        bool opens;
    };
    MemoryFile file;
    for (const Case& test :
         {Case{0, true}, Case{33, true}, Case{1023, true}, Case{1024, false}, Case{1920, false}}) {
        file.replaceContent(std::string(test.size, 'x'));
        const OpenResult opened = openDatabase(file.path());
        ASSERT_EQ(opened.db != nullptr, test.opens) << test.size;
        if (!opened.db) {
            EXPECT_EQ(opened.error, "file is encrypted or is not a database");
            continue;
        }
        EXPECT_EQ(opened.error, std::nullopt);
        EXPECT_EQ(getTable(opened.db, SelectAll).error, NoSuchTable);
        sqlite_close(opened.db);
    }
}

TEST(Open, MissingFileOpensAsAnEmptyDatabaseWithoutCreatingIt) {
    TemporaryFolder folder;
    const fs::path missing = folder.path / "missing.zelk";
    const OpenResult opened = openDatabase(missing.string());
    ASSERT_NE(opened.db, nullptr);
    const TableResult table = getTable(opened.db, SelectAll);
    EXPECT_EQ(table.code, SQLITE_ERROR);
    EXPECT_EQ(table.error, NoSuchTable);
    sqlite_close(opened.db);
    EXPECT_FALSE(fs::exists(missing));
}

TEST(Open, NamesThatCannotBeOpenedAreReportedAsPassed) {
    TemporaryFolder folder;
    const std::string missingFolder = (folder.path / "nowhere" / "x.zelk").string();
    const std::string directory = folder.path.string();
    for (const std::string& name : {missingFolder, directory}) {
        const OpenResult opened = openDatabase(name);
        EXPECT_EQ(opened.db, nullptr) << name;
        EXPECT_EQ(opened.error, "unable to open database: " + name);
    }
}

TEST(Open, FileWithoutReadPermissionIsRefused) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    TemporaryFolder folder;
    const fs::path locked = folder.path / "locked.zelk";
    writeFile(locked, readFile(fixturePath("tiny.db")));
    fs::permissions(locked, fs::perms::none);
    const OpenResult opened = openDatabase(locked.string());
    EXPECT_EQ(opened.db, nullptr);
    EXPECT_EQ(opened.error, "unable to open database: " + locked.string());
}

TEST(Open, EmptyNameGivesAnEmptyDatabase) {
    const OpenResult opened = openDatabase("");
    ASSERT_NE(opened.db, nullptr);
    EXPECT_EQ(getTable(opened.db, SelectAll).error, NoSuchTable);
    sqlite_close(opened.db);
}

TEST(Open, ReadingLeavesTheFileAndItsFolderUntouched) {
    TemporaryFolder folder;
    const fs::path database = folder.path / "small.zelk";
    const std::string original = readFile(fixturePath("small.db"));
    writeFile(database, original);
    const auto modified = fs::last_write_time(database);
    const OpenResult opened = openDatabase(database.string());
    ASSERT_NE(opened.db, nullptr);
    EXPECT_EQ(getTable(opened.db, SelectAll).rowCount, 8);
    EXPECT_EQ(exec(opened.db, categoryStatement("Menus")).rows.size(), 2u);
    sqlite_close(opened.db);
    EXPECT_EQ(readFile(database.string()), original);
    EXPECT_EQ(fs::last_write_time(database), modified);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path), fs::directory_iterator()), 1);
}

TEST(Handle, NullHandleIsMisuseNotACrash) {
    char* error = nullptr;
    char** result = nullptr;
    int rows = -1, columns = -1;
    EXPECT_EQ(sqlite_get_table(nullptr, SelectAll, &result, &rows, &columns, &error), SQLITE_MISUSE);
    EXPECT_STREQ(error, "library routine called out of sequence");
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(rows, 0);
    sqlite_freemem(error);
    EXPECT_EQ(sqlite_exec(nullptr, SelectAll, nullptr, nullptr, &error), SQLITE_MISUSE);
    EXPECT_STREQ(error, "library routine called out of sequence");
    std::free(error);
    sqlite_close(nullptr);
    sqlite_free_table(nullptr);
}

TEST(Exec, CallbackGetsValuesThenNamesAndDeclaredTypesEachEndedByNull) {
    const OpenResult opened = openDatabase(fixturePath("schema.db"));
    ASSERT_NE(opened.db, nullptr);
    struct Seen {
        int calls = 0;
        bool valuesEnded = false, namesEnded = false;
        std::string firstType, headType = "not null";
    } seen;
    auto callback = [](void* argument, int argc, char** argv, char** names) {
        auto* state = static_cast<Seen*>(argument);
        ++state->calls;
        state->valuesEnded = argv[argc] == nullptr;
        state->namesEnded = names[2 * argc] == nullptr;
        state->firstType = names[argc];
        state->headType = names[argc + 4] ? names[argc + 4] : "NULL";
        return 0;
    };
    EXPECT_EQ(sqlite_exec(opened.db, categoryStatement("Shapes").c_str(), callback, &seen, nullptr),
              SQLITE_OK);
    EXPECT_EQ(seen.calls, 2);
    EXPECT_TRUE(seen.valuesEnded);
    EXPECT_TRUE(seen.namesEnded);
    EXPECT_EQ(seen.firstType, "int");
    EXPECT_EQ(seen.headType, "NULL");
    sqlite_close(opened.db);
}

TEST(Exec, NonZeroFromTheCallbackStopsWithAbortAndNoText) {
    const OpenResult opened = openDatabase(fixturePath("small.db"));
    ASSERT_NE(opened.db, nullptr);
    const ExecResult result = exec(opened.db, SelectAll, 2);
    EXPECT_EQ(result.code, SQLITE_ABORT);
    EXPECT_EQ(result.error, std::nullopt);
    EXPECT_EQ(result.rows.size(), 2u);
    sqlite_close(opened.db);
}

TEST(Exec, NullCallbackEmptyStatementAndNoErrorPointerAreAccepted) {
    const OpenResult opened = openDatabase(fixturePath("small.db"));
    ASSERT_NE(opened.db, nullptr);
    EXPECT_EQ(sqlite_exec(opened.db, SelectAll, nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(exec(opened.db, "").rows.size(), 0u);
    EXPECT_EQ(exec(opened.db, " ; -- nothing\n;").code, SQLITE_OK);
    EXPECT_EQ(sqlite_exec(opened.db, "SELECT * FROM Nope", nullptr, nullptr, nullptr), SQLITE_ERROR);
    sqlite_close(opened.db);
}

TEST(Exec, RowsBeforeTheDamageStayDelivered) {
    // Cut before tiny.db's overflow page: row 1 reads, row 2 runs out of the file.
    MemoryFile file;
    file.replaceContent(readFile(fixturePath("tiny.db")).substr(0, 3 * 1024));
    const OpenResult opened = openDatabase(file.path());
    ASSERT_NE(opened.db, nullptr);
    const ExecResult result = exec(opened.db, SelectAll);
    EXPECT_EQ(result.code, SQLITE_CORRUPT);
    EXPECT_EQ(result.error, "database disk image is malformed");
    ASSERT_EQ(result.rows.size(), 1u);
    EXPECT_EQ(result.rows[0][3], "Hi");
    EXPECT_TRUE(getTable(opened.db, SelectAll).resultIsNull);
    sqlite_close(opened.db);
}

// Pages are read ahead in runs; a later statement still sees what the file
// holds when it starts, as the engine re-reads a file another program changed.
TEST(GetTable, EachStatementReadsTheFileAsItIsThen) {
    auto imageWithTitle = [](const std::string& title) {
        DatabaseWriter writer;
        writer.addTable("MarrowindScript", "CREATE TABLE MarrowindScript(Id INTEGER PRIMARY KEY, Title TEXT)",
                        {{1, {std::nullopt, title}}});
        return writer.image();
    };
    MemoryFile file;
    file.replaceContent(imageWithTitle("Before"));
    const OpenResult opened = openDatabase(file.path());
    ASSERT_NE(opened.db, nullptr);
    EXPECT_EQ(getTable(opened.db, SelectAll).cells.back(), "Before");
    file.replaceContent(imageWithTitle("Afters"));
    EXPECT_EQ(getTable(opened.db, SelectAll).cells.back(), "Afters");
    sqlite_close(opened.db);
}

TEST(GetTable, StatementsOfOneTextAddUpAndMustAgreeOnColumns) {
    const OpenResult opened = openDatabase(fixturePath("multi.db"));
    ASSERT_NE(opened.db, nullptr);
    const TableResult twice =
        getTable(opened.db, "SELECT * FROM MarrowindScript; select * from marrowindscript");
    EXPECT_EQ(twice.code, SQLITE_OK);
    EXPECT_EQ(twice.rowCount, 12);
    const TableResult mixed = getTable(opened.db, "SELECT * FROM MarrowindScript; SELECT * FROM Authors;");
    EXPECT_EQ(mixed.code, SQLITE_ERROR);
    EXPECT_TRUE(mixed.resultIsNull);
    EXPECT_EQ(mixed.rowCount, 0);
    sqlite_close(opened.db);
}

TEST(Version, NamesTheEmulatedEngine) {
    EXPECT_STREQ(sqlite_libversion(), "2.8.17");
    EXPECT_STREQ(sqlite_version, SQLITE_VERSION);
    EXPECT_STREQ(sqlite_encoding, "iso8859");
}

TEST(CProgram, UsesTheInterfaceFromC) {
    EXPECT_EQ(cProgramCountRows(fixturePath("small.db").c_str()), 8);
    EXPECT_EQ(cProgramCountRows(fixturePath("notadb.txt").c_str()), -1);
}
