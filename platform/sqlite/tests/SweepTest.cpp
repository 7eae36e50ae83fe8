// Every truncation of tiny.db and small.db, and every byte value at every offset of
// their file header and page headers: each variant reads the right rows or fails
// cleanly, and never crashes or hangs.
#include "platform/sqlite/sqlite.h"
#include "platform/sqlite/tests/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace sqlite2test;

namespace {

constexpr std::size_t PageSize = 1024;
constexpr std::size_t FileHeaderSize = 96;
constexpr std::size_t PageHeaderSize = 8;
constexpr std::size_t MagicEnd = 52;
constexpr std::size_t ChildLinkSize = 4;

struct SweptFixture {
    const char* file;
    std::vector<std::string> categories;
    // B-tree pages; the other pages past the first hold overflow data.
    std::set<std::uint32_t> treePages;
};

const SweptFixture Swept[] = {
    {"tiny.db", {"Fade"}, {2, 3}},
    {"small.db", {"Buttons", "Menus", "Text effects"}, {2, 3, 10, 11}},
};

// What a variant gave back through open and both calls.
struct Outcome {
    Text openError;
    TableResult table;
    std::vector<ExecResult> categories;

    bool isFailure() const {
        if (openError) return true;
        return table.code != SQLITE_OK || std::any_of(categories.begin(), categories.end(),
                                                      [](const auto& c) { return c.code != SQLITE_OK; });
    }
};

bool sameRows(const Outcome& left, const Outcome& right) {
    if (left.openError != right.openError || !(left.table == right.table)) return false;
    for (std::size_t index = 0; index < left.categories.size(); ++index)
        if (left.categories[index].code != right.categories[index].code ||
            left.categories[index].rows != right.categories[index].rows)
            return false;
    return true;
}

// A failure must be one of the clean ones, with its text, and leave no result.
void expectClean(const Outcome& outcome, const std::string& variant) {
    if (outcome.openError) {
        static const std::set<std::string> openTexts = {"file is encrypted or is not a database",
                                                        "database disk image is malformed",
                                                        "unsupported file format"};
        EXPECT_TRUE(openTexts.count(*outcome.openError) ||
                    outcome.openError->starts_with("malformed database schema"))
            << variant << ": " << *outcome.openError;
        return;
    }
    const auto cleanCode = [](int code) {
        return code == SQLITE_OK || code == SQLITE_ERROR || code == SQLITE_CORRUPT;
    };
    EXPECT_TRUE(cleanCode(outcome.table.code)) << variant;
    EXPECT_EQ(outcome.table.code != SQLITE_OK, outcome.table.resultIsNull) << variant;
    EXPECT_EQ(outcome.table.code != SQLITE_OK, outcome.table.error.has_value()) << variant;
    EXPECT_EQ(outcome.table.cells.size(),
              static_cast<std::size_t>((outcome.table.rowCount + 1) * outcome.table.columnCount))
        << variant;
    for (const ExecResult& result : outcome.categories) {
        EXPECT_TRUE(cleanCode(result.code)) << variant;
        EXPECT_EQ(result.code != SQLITE_OK, result.error.has_value()) << variant;
    }
}

class Sweeper {
public:
    explicit Sweeper(const SweptFixture& fixture)
        : fixture(fixture), original(readFile(fixturePath(fixture.file))), reference(read(original)) {}

    Outcome read(const std::string& bytes) {
        file.replaceContent(bytes);
        Outcome outcome;
        const OpenResult opened = openDatabase(file.path());
        outcome.openError = opened.error;
        if (!opened.db) return outcome;
        outcome.table = getTable(opened.db, SelectAll);
        for (const std::string& category : fixture.categories)
            outcome.categories.push_back(exec(opened.db, categoryStatement(category)));
        sqlite_close(opened.db);
        return outcome;
    }

    const SweptFixture& fixture;
    const std::string original;
    MemoryFile file;
    const Outcome reference;
};

bool isEmptyTable(const Outcome& outcome) {
    return !outcome.isFailure() && outcome.table.rowCount == 0 &&
           std::all_of(outcome.categories.begin(), outcome.categories.end(),
                       [](const ExecResult& result) { return result.rows.empty(); });
}

// Where a changed byte may legitimately change the rows read: a child link may lead to
// another sound page, and overflow pages past their link hold the data itself.
bool mayChangeRows(const SweptFixture& fixture, std::uint32_t page, std::size_t offsetInPage) {
    if (page == 1) return false;
    if (fixture.treePages.count(page)) return offsetInPage < ChildLinkSize;
    return offsetInPage >= ChildLinkSize;
}

} // namespace

TEST(Sweep, EveryTruncationReadsTheWholeTableAnEmptyOneOrFailsCleanly) {
    for (const SweptFixture& fixture : Swept) {
        Sweeper sweeper(fixture);
        ASSERT_FALSE(sweeper.reference.isFailure());
        for (std::size_t length = 0; length <= sweeper.original.size(); ++length) {
            const Outcome outcome = sweeper.read(sweeper.original.substr(0, length));
            const std::string variant = std::string(fixture.file) + " cut at " + std::to_string(length);
            expectClean(outcome, variant);
            if (length == sweeper.original.size())
                EXPECT_TRUE(sameRows(outcome, sweeper.reference)) << variant;
            else
                EXPECT_TRUE(outcome.isFailure() || isEmptyTable(outcome)) << variant;
        }
    }
}

TEST(Sweep, EveryByteOfEveryHeaderReadsTheRightRowsOrFailsCleanly) {
    for (const SweptFixture& fixture : Swept) {
        Sweeper sweeper(fixture);
        const auto pageCount = static_cast<std::uint32_t>(sweeper.original.size() / PageSize);
        for (std::uint32_t page = 1; page <= pageCount; ++page) {
            const std::size_t headerSize = page == 1 ? FileHeaderSize : PageHeaderSize;
            for (std::size_t offsetInPage = 0; offsetInPage < headerSize; ++offsetInPage) {
                const std::size_t offset = (page - 1) * PageSize + offsetInPage;
                for (int value = 0; value < 256; ++value) {
                    std::string bytes = sweeper.original;
                    if (static_cast<unsigned char>(bytes[offset]) == value) continue;
                    bytes[offset] = static_cast<char>(value);
                    const Outcome outcome = sweeper.read(bytes);
                    const std::string variant = std::string(fixture.file) + " offset " +
                                                std::to_string(offset) + " = " + std::to_string(value);
                    expectClean(outcome, variant);
                    if (page == 1 && offsetInPage < MagicEnd) {
                        EXPECT_EQ(outcome.openError, "file is encrypted or is not a database") << variant;
                    } else if (!outcome.isFailure() && !mayChangeRows(fixture, page, offsetInPage)) {
                        EXPECT_TRUE(sameRows(outcome, sweeper.reference)) << variant;
                    }
                }
            }
        }
    }
}
