#include "platform/sqlite/TableTree.h"

#include "platform/sqlite/SqliteError.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace sqlite2 {

namespace {

constexpr std::size_t PageHeaderSize = 8;
constexpr std::size_t CellHeaderSize = 12;
constexpr std::size_t LocalPayloadMax = 236;
constexpr std::size_t OverflowLinkSize = 4;
constexpr std::size_t OverflowDataSize = PageSize - OverflowLinkSize;
constexpr std::size_t UsableSpace = PageSize - PageHeaderSize;
constexpr std::size_t MinimumCellSize = 16;
constexpr std::size_t MaximumCellsPerPage = UsableSpace / MinimumCellSize;
constexpr std::size_t FreeBlockHeaderSize = 4;
constexpr std::size_t CellAlignment = 4;
constexpr std::size_t RowKeySize = 4;
constexpr std::uint32_t RowKeySignBit = 0x80000000u;
// Far deeper than any real file: 2,000 rows make six levels.
constexpr std::size_t MaximumDepth = 64;

// Page header fields.
constexpr std::size_t RightChildOffset = 0;
constexpr std::size_t FirstCellOffset = 4;
constexpr std::size_t FirstFreeBlockOffset = 6;
// Cell header fields.
constexpr std::size_t LeftChildField = 0;
constexpr std::size_t KeySizeLowField = 4;
constexpr std::size_t NextCellField = 6;
constexpr std::size_t KeySizeHighField = 8;
constexpr std::size_t DataSizeHighField = 9;
constexpr std::size_t DataSizeLowField = 10;
// Free block fields.
constexpr std::size_t FreeSizeField = 0;
constexpr std::size_t NextFreeField = 2;

std::size_t roundUpToCellAlignment(std::size_t size) {
    return (size + CellAlignment - 1) / CellAlignment * CellAlignment;
}

std::size_t cellSizeFor(std::size_t payloadSize) {
    if (payloadSize <= LocalPayloadMax) return CellHeaderSize + roundUpToCellAlignment(payloadSize);
    return CellHeaderSize + LocalPayloadMax + OverflowLinkSize;
}

std::int32_t rowidFromKey(const std::uint8_t* key) {
    const std::uint32_t bigEndian =
        static_cast<std::uint32_t>(key[0]) << 24 | key[1] << 16 | key[2] << 8 | key[3];
    return static_cast<std::int32_t>(bigEndian ^ RowKeySignBit);
}

} // namespace

struct TableTree::Cell {
    std::size_t offset;
    std::uint32_t leftChild;
    std::size_t keySize;
    std::size_t dataSize;
};

struct TableTree::Level {
    Page page{};
    std::uint32_t rightChild = 0;
    std::size_t cellCount = 0;
    std::array<Cell, MaximumCellsPerPage> cells{};
};

// Reads the cell chain and the free-block chain, with the engine's consistency checks.
void TableTree::readLayout(Level& level) const {
    const StructureReader& structure = file.structure();
    const std::uint8_t* page = level.page.data();
    level.rightChild = structure.u32(page + RightChildOffset);
    level.cellCount = 0;
    std::size_t spaceInCells = 0;
    for (std::size_t offset = structure.u16(page + FirstCellOffset); offset != 0;) {
        if (level.cellCount == MaximumCellsPerPage || offset < PageHeaderSize ||
            offset > PageSize - MinimumCellSize || offset % CellAlignment != 0)
            throwCorrupt();
        const std::uint8_t* header = page + offset;
        Cell cell{offset, structure.u32(header + LeftChildField),
                  structure.u16(header + KeySizeLowField) + (std::size_t{header[KeySizeHighField]} << 16),
                  structure.u16(header + DataSizeLowField) + (std::size_t{header[DataSizeHighField]} << 16)};
        const std::size_t size = cellSizeFor(cell.keySize + cell.dataSize);
        if (offset + size > PageSize) throwCorrupt();
        spaceInCells += size;
        level.cells[level.cellCount++] = cell;
        offset = structure.u16(header + NextCellField);
    }
    std::size_t freeSpace = 0;
    const std::size_t firstFree = structure.u16(page + FirstFreeBlockOffset);
    for (std::size_t offset = firstFree; offset != 0;) {
        if (offset < PageHeaderSize || offset > PageSize - FreeBlockHeaderSize) throwCorrupt();
        freeSpace += structure.u16(page + offset + FreeSizeField);
        const std::size_t next = structure.u16(page + offset + NextFreeField);
        if (next != 0 && next <= offset) throwCorrupt();
        offset = next;
    }
    // A page never written has neither cells nor free blocks and counts as empty.
    const bool written = level.cellCount != 0 || firstFree != 0;
    if (written && freeSpace + spaceInCells != UsableSpace) throwCorrupt();
}

TableTree::TableTree(const DatabaseFile& file, std::uint32_t rootPage)
    : file(file), rootPage(rootPage), visited(std::size_t{file.pageCount()} + 1) {}

TableTree::~TableTree() = default;

bool TableTree::forEachRow(const std::function<bool(const TableEntry&)>& visit) {
    if (rootPage == 0) throwCorrupt();
    return walk(rootPage, 0, visit);
}

TableTree::Level& TableTree::level(std::size_t depth) {
    if (depth == levels.size()) levels.push_back(std::make_unique<Level>());
    return *levels[depth];
}

void TableTree::claimPage(std::uint32_t pageNumber) {
    if (pageNumber > file.pageCount()) return;
    if (visited[pageNumber]) throwCorrupt();
    visited[pageNumber] = true;
}

bool TableTree::walk(std::uint32_t pageNumber, std::size_t depth,
                     const std::function<bool(const TableEntry&)>& visit) {
    if (depth == MaximumDepth) throwCorrupt();
    claimPage(pageNumber);
    Level& current = level(depth);
    file.readPage(pageNumber, current.page);
    readLayout(current);
    // An empty root is an empty table whatever its right child says; an empty child
    // page (also one past the end of the file) is damage.
    if (current.cellCount == 0) {
        if (depth > 0) throwCorrupt();
        return true;
    }
    for (std::size_t index = 0; index < current.cellCount; ++index) {
        const Cell& cell = current.cells[index];
        if (cell.leftChild != 0 && !walk(cell.leftChild, depth + 1, visit)) return false;
        if (cell.keySize != RowKeySize) throwCorrupt();
        startPayload(current.page, cell);
        if (!visit(TableEntry{rowidFromKey(localPayload), cell.dataSize, this})) return false;
    }
    return current.rightChild == 0 || walk(current.rightChild, depth + 1, visit);
}

void TableTree::startPayload(const Page& page, const Cell& cell) {
    localPayload = page.data() + cell.offset + CellHeaderSize;
    payloadSize = cell.keySize + cell.dataSize;
    if (payloadSize <= LocalPayloadMax) return;
    // More than the whole file could hold: refuse before allocating for it.
    if (payloadSize - LocalPayloadMax > std::size_t{file.pageCount()} * OverflowDataSize) throwCorrupt();
    if (payload.size() < payloadSize) payload.resize(payloadSize);
    std::memcpy(payload.data(), localPayload, LocalPayloadMax);
    gathered = LocalPayloadMax;
    nextOverflow = file.structure().u32(localPayload + LocalPayloadMax);
}

std::span<const std::uint8_t> TableTree::payloadPrefix(std::size_t count) {
    count = std::min(count, payloadSize);
    if (payloadSize <= LocalPayloadMax) return {localPayload, count};
    while (gathered < count) {
        if (nextOverflow == 0 || nextOverflow > file.pageCount()) throwCorrupt();
        claimPage(nextOverflow);
        file.readPage(nextOverflow, overflowPage);
        const std::size_t part = std::min(OverflowDataSize, payloadSize - gathered);
        std::memcpy(payload.data() + gathered, overflowPage.data() + OverflowLinkSize, part);
        gathered += part;
        nextOverflow = file.structure().u32(overflowPage.data());
    }
    return {payload.data(), count};
}

std::span<const std::uint8_t> TableEntry::recordPrefix(std::size_t count) const {
    return tree->payloadPrefix(RowKeySize + std::min(count, recordSize)).subspan(RowKeySize);
}

} // namespace sqlite2
