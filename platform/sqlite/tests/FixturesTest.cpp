// Every fixture through both calls, printed in the format of its .expected record of
// what the engine itself returned, and compared byte for byte.
#include "platform/sqlite/sqlite.h"
#include "platform/sqlite/tests/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

using namespace sqlite2test;

namespace {

struct Fixture {
    const char* name;
    const char* file;
};

const Fixture Fixtures[] = {
    {"tiny", "tiny.db"},           {"small", "small.db"},           {"empty", "empty.db"},
    {"nulls", "nulls.db"},         {"overflow", "overflow.db"},     {"large", "large.db"},
    {"case", "case.db"},           {"apostrophe", "apostrophe.db"}, {"latin1", "latin1.db"},
    {"untyped", "untyped.db"},     {"multi", "multi.db"},           {"othertable", "othertable.db"},
    {"deleted", "deleted.db"},     {"schema", "schema.db"},         {"keys", "keys.db"},
    {"bigendian", "bigendian.db"}, {"corrupt", "corrupt.db"},       {"badmaster", "badmaster.db"},
    {"zero", "zero.db"},           {"notadb", "notadb.txt"},        {"short", "short.txt"},
    {"sqlite3", "sqlite3.db"},
};

void PrintTo(const Fixture& fixture, std::ostream* out) {
    *out << fixture.file;
}

constexpr std::size_t TitleColumn = 3;

std::string escaped(std::string_view text) {
    std::string out;
    for (const char byte : text) {
        const auto value = static_cast<unsigned char>(byte);
        if (byte == '\\')
            out += "\\\\";
        else if (byte == '"')
            out += "\\\"";
        else if (byte == '\n')
            out += "\\n";
        else if (byte == '\r')
            out += "\\r";
        else if (byte == '\t')
            out += "\\t";
        else if (value < 0x20 || value >= 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02x", value);
            out += hex;
        } else {
            out += byte;
        }
    }
    return out;
}

std::string literal(const Text& text) {
    return text ? "\"" + escaped(*text) + "\"" : "NULL";
}

std::string unescaped(std::string_view text) {
    std::string out;
    for (std::size_t index = 0; index < text.size(); ++index) {
        if (text[index] != '\\') {
            out += text[index];
            continue;
        }
        const char kind = text[++index];
        if (kind == 'n')
            out += '\n';
        else if (kind == 'r')
            out += '\r';
        else if (kind == 't')
            out += '\t';
        else if (kind == 'x') {
            out += static_cast<char>(std::stoi(std::string(text.substr(index + 1, 2)), nullptr, 16));
            index += 2;
        } else {
            out += kind;
        }
    }
    return out;
}

// The category texts the record was made with, in its order.
std::vector<std::string> recordedCategories(const std::string& expected) {
    std::vector<std::string> categories;
    std::istringstream lines(expected);
    const std::string prefix = "category \"";
    for (std::string line; std::getline(lines, line);)
        if (line.starts_with(prefix))
            categories.push_back(
                unescaped(std::string_view(line).substr(prefix.size(), line.size() - prefix.size() - 1)));
    return categories;
}

class RecordPrinter {
public:
    explicit RecordPrinter(sqlite* db) : db(db) {}

    void printTable() {
        table = getTable(db, SelectAll);
        out << "sqlite_get_table " << literal(std::string(SelectAll)) << ": rc=" << table.code
            << " nrow=" << table.rowCount << " ncol=" << table.columnCount
            << " result=" << (table.resultIsNull ? "NULL" : "non-null") << " error text "
            << literal(table.error) << "\n";
        for (int row = 0; row <= table.rowCount; ++row)
            for (int column = 0; column < table.columnCount; ++column)
                out << row << "\t" << column << "\t" << literal(table.cells[row * table.columnCount + column])
                    << "\n";
    }

    void printCategory(const std::string& category) {
        const std::string statement = categoryStatement(category);
        const ExecResult result = exec(db, statement);
        out << "\ncategory " << literal(category) << "\n  statement " << literal(statement) << "\n";
        if (!result.rows.empty()) {
            const std::size_t columns = result.namesAndTypes.size() / 2;
            out << "  colnames:";
            for (std::size_t index = 0; index < columns; ++index)
                out << " " << literal(result.namesAndTypes[index]);
            out << "\n  coltypes:";
            for (std::size_t index = columns; index < 2 * columns; ++index)
                out << " " << literal(result.namesAndTypes[index]);
            out << "\n";
        }
        for (std::size_t index = 0; index < result.rows.size(); ++index)
            printCallback(index + 1, result.rows[index]);
        out << "  sqlite_exec: rc=" << result.code << " callbacks=" << result.rows.size() << " error text "
            << literal(result.error) << "\n";
    }

    std::string text() const { return out.str(); }
    std::ostringstream out;

private:
    int matchingTableRow(const std::vector<Text>& values) const {
        if (static_cast<int>(values.size()) != table.columnCount) return 0;
        for (int row = 1; row <= table.rowCount; ++row)
            if (std::equal(values.begin(), values.end(), table.cells.begin() + row * table.columnCount))
                return row;
        return 0;
    }

    void printCallback(std::size_t number, const std::vector<Text>& values) {
        out << "  callback " << number << ": argc=" << values.size();
        if (const int row = matchingTableRow(values); row > 0 && values.size() > TitleColumn) {
            out << " = table row " << row << " (Title " << literal(values[TitleColumn]) << ")\n";
            return;
        }
        out << " values:";
        for (const Text& value : values)
            out << " " << literal(value);
        out << "\n";
    }

    sqlite* db;
    TableResult table;
};

std::string printRecord(const std::string& path, const std::vector<std::string>& categories) {
    const OpenResult opened = openDatabase(path);
    std::ostringstream out;
    out << "sqlite_open: " << (opened.db ? "handle" : "NULL") << ", error text " << literal(opened.error)
        << "\n";
    if (!opened.db) return out.str();
    RecordPrinter printer(opened.db);
    printer.out << out.str() << "\n";
    printer.printTable();
    for (const std::string& category : categories)
        printer.printCategory(category);
    sqlite_close(opened.db);
    return printer.text();
}

std::string firstDifference(const std::string& expected, const std::string& actual) {
    std::istringstream expectedLines(expected), actualLines(actual);
    std::string wanted, got;
    for (int line = 1;; ++line) {
        const bool hasWanted = static_cast<bool>(std::getline(expectedLines, wanted));
        const bool hasGot = static_cast<bool>(std::getline(actualLines, got));
        if (!hasWanted && !hasGot) return "identical lines, different bytes";
        if (wanted != got || hasWanted != hasGot)
            return "line " + std::to_string(line) + "\n  expected: " + (hasWanted ? wanted : "<end>") +
                   "\n  actual:   " + (hasGot ? got : "<end>");
    }
}

class FixtureRecord : public testing::TestWithParam<Fixture> {};

} // namespace

TEST_P(FixtureRecord, MatchesTheEnginesOutputByteForByte) {
    const Fixture& fixture = GetParam();
    const std::string expected = readFile(fixturePath(std::string(fixture.name) + ".expected"));
    const std::string actual = printRecord(fixturePath(fixture.file), recordedCategories(expected));
    EXPECT_TRUE(actual == expected) << firstDifference(expected, actual);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, FixtureRecord, testing::ValuesIn(Fixtures),
                         [](const testing::TestParamInfo<Fixture>& info) {
                             return std::string(info.param.name);
                         });
