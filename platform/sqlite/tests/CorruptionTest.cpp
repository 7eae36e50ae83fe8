// Damaged files built on purpose: every kind of damage ends in a clean "database disk
// image is malformed", never in a crash, a loop or an allocation the file can't justify.
#include "platform/sqlite/sqlite.h"
#include "platform/sqlite/tests/DatabaseWriter.h"
#include "platform/sqlite/tests/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace sqlite2test;

namespace {

constexpr std::size_t PageSize = 1024;
const char* const CreateScripts =
    "CREATE TABLE MarrowindScript (Id INTEGER PRIMARY KEY, Effect TEXT, Title TEXT)";

Row scriptRow(std::int32_t id, std::string title) {
    return Row{id, {std::nullopt, "Misc", std::move(title)}};
}

std::vector<Row> scriptRows(int count, std::size_t titleSize = 10) {
    std::vector<Row> rows;
    for (int id = 1; id <= count; ++id)
        rows.push_back(scriptRow(id, std::string(titleSize, 'a' + id % 26)));
    return rows;
}

std::size_t pageOffset(std::uint32_t page) {
    return (page - 1) * PageSize;
}

void put32(std::string& image, std::size_t offset, std::uint32_t value) {
    for (int index = 0; index < 4; ++index)
        image[offset + index] = static_cast<char>(value >> (8 * index));
}

void put16(std::string& image, std::size_t offset, std::uint16_t value) {
    image[offset] = static_cast<char>(value);
    image[offset + 1] = static_cast<char>(value >> 8);
}

TableResult readScripts(const std::string& image, const std::string& sql = SelectAll) {
    MemoryFile file;
    file.replaceContent(image);
    const OpenResult opened = openDatabase(file.path());
    if (!opened.db) return TableResult{-1, 0, 0, true, opened.error, {}};
    TableResult result = getTable(opened.db, sql);
    sqlite_close(opened.db);
    return result;
}

void expectMalformed(const std::string& image) {
    const TableResult result = readScripts(image);
    EXPECT_EQ(result.code, SQLITE_CORRUPT);
    EXPECT_EQ(result.error, "database disk image is malformed");
    EXPECT_TRUE(result.resultIsNull);
}

// A chain of pages, each holding one row and the next page as its left child.
std::string chainOfDepth(int depth) {
    DatabaseWriter writer;
    std::vector<std::uint32_t> pages;
    for (int level = 0; level < depth; ++level)
        pages.push_back(writer.newPage());
    for (int level = 0; level < depth; ++level) {
        auto cell = writer.makeCell(depth - level, encodeRecord({std::nullopt, "Misc", "Deep"}));
        cell.leftChild = level + 1 < depth ? pages[level + 1] : 0;
        writer.writeTreePage(pages[level], {cell}, 0);
    }
    writer.registerTable("MarrowindScript", CreateScripts, pages.front());
    return writer.image();
}

} // namespace

TEST(Corruption, SoundFilesFromTheTestWriterRead) {
    DatabaseWriter writer;
    writer.addTable("MarrowindScript", CreateScripts, scriptRows(300, 200));
    const TableResult result = readScripts(writer.image());
    EXPECT_EQ(result.code, SQLITE_OK);
    EXPECT_EQ(result.rowCount, 300);
}

TEST(Corruption, ChildPointerBackToAnAncestorIsACycle) {
    DatabaseWriter writer;
    const std::uint32_t root = writer.addTable("MarrowindScript", CreateScripts, scriptRows(200, 100));
    std::string image = writer.image();
    // The root is interior; its first cell's left child gets the root as right child.
    const std::size_t firstCell = pageOffset(root) + 8;
    std::uint32_t child = 0;
    std::memcpy(&child, image.data() + firstCell, 4);
    ASSERT_NE(child, 0u);
    put32(image, pageOffset(child), root);
    expectMalformed(image);
}

TEST(Corruption, OverflowChainsThatLeaveTheFileLoopOrAreSharedAreDamage) {
    DatabaseWriter writer;
    const std::uint32_t root = writer.addTable("MarrowindScript", CreateScripts,
                                               {scriptRow(1, std::string(5000, 'x')), scriptRow(2, "y")});
    const std::string sound = writer.image();
    // The first cell sits at offset 8 of the leaf root; its overflow link at cell offset 248.
    const std::size_t link = pageOffset(root) + 8 + 248;
    std::uint32_t first = 0;
    std::memcpy(&first, sound.data() + link, 4);

    std::string outside = sound;
    put32(outside, link, 100000);
    expectMalformed(outside);

    std::string endsEarly = sound;
    put32(endsEarly, pageOffset(first + 1), 0);
    expectMalformed(endsEarly);

    std::string loops = sound;
    put32(loops, pageOffset(first + 1), first);
    expectMalformed(loops);
}

// The WHERE clause is tested on a record's first columns: a row it rules out has
// the rest of its record, overflow pages and all, never read, as with the engine.
TEST(Corruption, ABrokenOverflowChainOfARowTheWhereClauseRulesOutIsNotRead) {
    DatabaseWriter writer;
    const std::uint32_t root = writer.addTable(
        "MarrowindScript", CreateScripts,
        {scriptRow(1, std::string(5000, 'x')), Row{2, {std::nullopt, "Other", std::string(3000, 'z')}}});
    std::string image = writer.image();
    put32(image, pageOffset(root) + 8 + 248, 100000);

    const TableResult other = readScripts(image, "SELECT * FROM MarrowindScript WHERE Effect = 'Other';");
    EXPECT_EQ(other.code, SQLITE_OK);
    ASSERT_EQ(other.rowCount, 1);
    expectMalformed(image);
    EXPECT_EQ(readScripts(image, "SELECT * FROM MarrowindScript WHERE Effect = 'Misc';").code, SQLITE_CORRUPT);
    EXPECT_EQ(readScripts(image, "SELECT * FROM MarrowindScript WHERE Title = 'z';").code, SQLITE_CORRUPT)
        << "a clause reading the long column reads the chain";
}

TEST(Corruption, TwoCellsSharingOverflowPagesAreDamage) {
    DatabaseWriter writer;
    const std::uint32_t root =
        writer.addTable("MarrowindScript", CreateScripts,
                        {scriptRow(1, std::string(900, 'x')), scriptRow(2, std::string(900, 'y'))});
    std::string image = writer.image();
    const std::size_t firstLink = pageOffset(root) + 8 + 248;
    const std::size_t secondLink = pageOffset(root) + 8 + 252 + 248;
    std::memcpy(image.data() + secondLink, image.data() + firstLink, 4);
    expectMalformed(image);
}

TEST(Corruption, CellsAndFreeBlocksMustStayInsideTheirPageAndAddUp) {
    DatabaseWriter writer;
    const std::uint32_t root = writer.addTable("MarrowindScript", CreateScripts, scriptRows(3));
    const std::string sound = writer.image();
    const std::size_t page = pageOffset(root);
    struct Damage {
        std::size_t offset;
        std::uint16_t value;
    };
    // First cell offset, first free block offset, and the free block's own size and link.
    std::uint16_t freeBlock = 0;
    std::memcpy(&freeBlock, sound.data() + page + 6, 2);
    for (const Damage damage : {Damage{4, 1012}, Damage{4, 6}, Damage{4, 10}, Damage{6, 1022}, Damage{6, 4},
                                Damage{static_cast<std::size_t>(freeBlock), 8},
                                Damage{static_cast<std::size_t>(freeBlock + 2), 8}}) {
        std::string image = sound;
        put16(image, page + damage.offset, damage.value);
        SCOPED_TRACE(damage.offset);
        expectMalformed(image);
    }
    // A cell near the end whose size runs past the page.
    std::string image = sound;
    put16(image, page + 4, 1008);
    put16(image, page + 1008 + 10, 100);
    expectMalformed(image);
}

TEST(Corruption, EmptyChildPageAndBrokenRecordAreDamage) {
    DatabaseWriter writer;
    const std::uint32_t root = writer.addTable("MarrowindScript", CreateScripts, scriptRows(200, 100));
    const std::string sound = writer.image();
    std::string emptyChild = sound;
    put32(emptyChild, pageOffset(root), 60000);
    expectMalformed(emptyChild);

    DatabaseWriter small;
    const std::uint32_t leaf = small.addTable("MarrowindScript", CreateScripts, scriptRows(1));
    std::string badRecord = small.image();
    // The record's offsets start after the 12-byte cell header and the 4-byte key.
    badRecord[pageOffset(leaf) + 8 + 16 + 1] = static_cast<char>(200);
    expectMalformed(badRecord);
}

TEST(Corruption, TreeDepthIsBounded) {
    EXPECT_EQ(readScripts(chainOfDepth(60)).rowCount, 60);
    expectMalformed(chainOfDepth(70));
}

TEST(Corruption, PayloadLargerThanTheFileIsRefusedBeforeReading) {
    DatabaseWriter writer;
    const std::uint32_t root =
        writer.addTable("MarrowindScript", CreateScripts, {scriptRow(1, std::string(300, 'x'))});
    std::string image = writer.image();
    // Data size 0xFFFFFF: 16 MB in a five-page file.
    image[pageOffset(root) + 8 + 9] = static_cast<char>(0xFF);
    put16(image, pageOffset(root) + 8 + 10, 0xFFFF);
    expectMalformed(image);
}

TEST(Corruption, MasterDamageFailsTheOpenAndUnknownFormatsAreRefused) {
    std::string badMaster = readFile(fixturePath("tiny.db"));
    put16(badMaster, pageOffset(2) + 4, 6);
    EXPECT_EQ(readScripts(badMaster).error, "database disk image is malformed");

    std::string newer = readFile(fixturePath("tiny.db"));
    newer[64] = 5;
    EXPECT_EQ(readScripts(newer).error, "unsupported file format");
}
