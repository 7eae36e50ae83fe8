#include "platform/sqlite/tests/DatabaseWriter.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace sqlite2test {

namespace {

constexpr std::size_t PageSize = 1024;
constexpr std::size_t PageHeaderSize = 8;
constexpr std::size_t CellHeaderSize = 12;
constexpr std::size_t LocalPayloadMax = 236;
constexpr std::size_t OverflowDataSize = PageSize - 4;
constexpr std::size_t UsableSpace = PageSize - PageHeaderSize;
constexpr std::uint32_t MasterRootPage = 2;
constexpr char MagicText[] = "** This file contains an SQLite 2.1 database **";
constexpr std::uint32_t MagicNumber = 0xDAE37528;
constexpr std::uint32_t FileFormat = 4;

void put16(std::uint8_t* at, std::size_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(std::uint8_t* at, std::uint32_t value) {
    for (int index = 0; index < 4; ++index)
        at[index] = static_cast<std::uint8_t>(value >> (8 * index));
}

std::size_t cellSize(const DatabaseWriter::Cell& cell) {
    const std::size_t payload = cell.keySize + cell.dataSize;
    if (payload > LocalPayloadMax) return CellHeaderSize + LocalPayloadMax + 4;
    return CellHeaderSize + (payload + 3) / 4 * 4;
}

std::size_t totalSize(const std::vector<DatabaseWriter::Cell>& cells) {
    return std::accumulate(cells.begin(), cells.end(), std::size_t{0},
                           [](std::size_t sum, const auto& cell) { return sum + cellSize(cell); });
}

} // namespace

std::vector<std::uint8_t> encodeRecord(const Fields& fields) {
    std::size_t textSize = 0;
    for (const auto& field : fields)
        textSize += field ? field->size() + 1 : 0;
    const std::size_t offsets = fields.size() + 1;
    std::size_t width = 1;
    while (width < 3 && offsets * width + textSize >= (std::size_t{1} << (8 * width)))
        ++width;
    std::vector<std::uint8_t> record(offsets * width + textSize);
    std::size_t position = offsets * width;
    auto putOffset = [&](std::size_t index, std::size_t value) {
        for (std::size_t byte = 0; byte < width; ++byte)
            record[index * width + byte] = static_cast<std::uint8_t>(value >> (8 * byte));
    };
    for (std::size_t index = 0; index < fields.size(); ++index) {
        putOffset(index, position);
        if (!fields[index]) continue;
        std::memcpy(record.data() + position, fields[index]->data(), fields[index]->size());
        position += fields[index]->size() + 1;
    }
    putOffset(fields.size(), position);
    return record;
}

DatabaseWriter::DatabaseWriter() {
    newPage();
    newPage();
}

std::uint32_t DatabaseWriter::newPage() {
    pages.push_back(Page{});
    return static_cast<std::uint32_t>(pages.size());
}

DatabaseWriter::Cell DatabaseWriter::makeCell(std::int32_t rowid, const std::vector<std::uint8_t>& record) {
    const std::uint32_t key = static_cast<std::uint32_t>(rowid) ^ 0x80000000u;
    std::vector<std::uint8_t> payload = {static_cast<std::uint8_t>(key >> 24),
                                         static_cast<std::uint8_t>(key >> 16),
                                         static_cast<std::uint8_t>(key >> 8), static_cast<std::uint8_t>(key)};
    payload.insert(payload.end(), record.begin(), record.end());
    Cell cell;
    cell.keySize = 4;
    cell.dataSize = record.size();
    const std::size_t local = std::min(payload.size(), LocalPayloadMax);
    cell.local.assign(payload.begin(), payload.begin() + static_cast<std::ptrdiff_t>(local));
    std::uint32_t previous = 0;
    for (std::size_t start = local; start < payload.size(); start += OverflowDataSize) {
        const std::uint32_t page = newPage();
        if (previous == 0)
            cell.firstOverflowPage = page;
        else
            put32(pages[previous - 1].data(), page);
        const std::size_t count = std::min(OverflowDataSize, payload.size() - start);
        std::memcpy(pages[page - 1].data() + 4, payload.data() + start, count);
        previous = page;
    }
    return cell;
}

void DatabaseWriter::writeTreePage(std::uint32_t pageNumber, const std::vector<Cell>& cells,
                                   std::uint32_t rightChild) {
    std::uint8_t* page = pages[pageNumber - 1].data();
    std::memset(page, 0, PageSize);
    put32(page, rightChild);
    std::size_t offset = PageHeaderSize;
    if (!cells.empty()) put16(page + 4, offset);
    for (std::size_t index = 0; index < cells.size(); ++index) {
        const Cell& cell = cells[index];
        const std::size_t next = index + 1 < cells.size() ? offset + cellSize(cell) : 0;
        std::uint8_t* header = page + offset;
        put32(header, cell.leftChild);
        put16(header + 4, cell.keySize & 0xFFFF);
        put16(header + 6, next);
        header[8] = static_cast<std::uint8_t>(cell.keySize >> 16);
        header[9] = static_cast<std::uint8_t>(cell.dataSize >> 16);
        put16(header + 10, cell.dataSize & 0xFFFF);
        std::memcpy(header + CellHeaderSize, cell.local.data(), cell.local.size());
        if (cell.firstOverflowPage != 0)
            put32(header + CellHeaderSize + LocalPayloadMax, cell.firstOverflowPage);
        offset += cellSize(cell);
    }
    const std::size_t freeSpace = PageSize - offset;
    if (freeSpace > 0) {
        put16(page + 6, offset);
        put16(page + offset, freeSpace);
    }
}

// Packs the cells into pages from the left; the cell after each full page moves up a
// level, with that page as its left child.
std::uint32_t DatabaseWriter::buildLevel(std::vector<Cell> cells, std::uint32_t rightmost,
                                         std::optional<std::uint32_t> root) {
    if (totalSize(cells) <= UsableSpace) {
        const std::uint32_t page = root ? *root : newPage();
        writeTreePage(page, cells, rightmost);
        return page;
    }
    std::vector<std::vector<Cell>> groups(1);
    std::vector<Cell> separators;
    std::size_t used = 0;
    for (Cell& cell : cells) {
        if (used + cellSize(cell) <= UsableSpace) {
            used += cellSize(cell);
            groups.back().push_back(std::move(cell));
        } else {
            separators.push_back(std::move(cell));
            groups.emplace_back();
            used = 0;
        }
    }
    // A page can't be empty: the last separator comes down, and the cell before it goes up.
    if (groups.back().empty()) {
        groups.back().push_back(std::move(separators.back()));
        separators.back() = std::move(groups[groups.size() - 2].back());
        groups[groups.size() - 2].pop_back();
    }
    std::vector<Cell> upper;
    std::uint32_t lastPage = 0;
    for (std::size_t index = 0; index < groups.size(); ++index) {
        const bool hasSeparator = index < separators.size();
        const std::uint32_t page = newPage();
        writeTreePage(page, groups[index], hasSeparator ? separators[index].leftChild : rightmost);
        if (hasSeparator) {
            upper.push_back(std::move(separators[index]));
            upper.back().leftChild = page;
        } else {
            lastPage = page;
        }
    }
    return buildLevel(std::move(upper), lastPage, root);
}

std::uint32_t DatabaseWriter::buildTree(const std::vector<Row>& rows, std::optional<std::uint32_t> root) {
    std::vector<Cell> cells;
    cells.reserve(rows.size());
    for (const Row& row : rows)
        cells.push_back(makeCell(row.rowid, encodeRecord(row.fields)));
    return buildLevel(std::move(cells), 0, root);
}

std::uint32_t DatabaseWriter::addTable(const std::string& name, const std::string& createSql,
                                       const std::vector<Row>& rows) {
    const std::uint32_t root = buildTree(rows, std::nullopt);
    registerTable(name, createSql, root);
    return root;
}

void DatabaseWriter::registerTable(const std::string& name, const std::string& createSql,
                                   std::uint32_t rootPage) {
    const auto rowid = static_cast<std::int32_t>(masterRows.size() + 1);
    masterRows.push_back(Row{rowid, {"table", name, name, std::to_string(rootPage), createSql}});
}

void DatabaseWriter::addIndex(const std::string& name, const std::string& tableName,
                              const std::optional<std::string>& createSql) {
    const std::uint32_t root = buildTree({}, std::nullopt);
    const auto rowid = static_cast<std::int32_t>(masterRows.size() + 1);
    masterRows.push_back(Row{rowid, {"index", name, tableName, std::to_string(root), createSql}});
}

std::string DatabaseWriter::automaticIndexName(const std::string& tableName, int number) {
    return "(" + tableName + " autoindex " + std::to_string(number) + ")";
}

std::string DatabaseWriter::image() {
    buildTree(masterRows, MasterRootPage);
    std::uint8_t* header = pages[0].data();
    std::memcpy(header, MagicText, sizeof MagicText);
    put32(header + 48, MagicNumber);
    put32(header + 64, FileFormat);
    std::string bytes;
    bytes.reserve(pages.size() * PageSize);
    for (const Page& page : pages)
        bytes.append(reinterpret_cast<const char*>(page.data()), PageSize);
    return bytes;
}

} // namespace sqlite2test
