#include "platform/sqlite/Record.h"

#include "platform/sqlite/SqliteError.h"

#include <algorithm>
#include <cstring>

namespace sqlite2 {

namespace {

constexpr std::size_t OneByteLimit = 256;
constexpr std::size_t TwoByteLimit = 65536;

// The writer picks the narrowest offsets for which the whole record fits, so the
// record's size tells which width it used.
std::size_t offsetWidthFor(std::size_t recordSize) {
    if (recordSize < OneByteLimit) return 1;
    if (recordSize < TwoByteLimit) return 2;
    return 3;
}

std::size_t readOffset(const std::uint8_t* bytes, std::size_t width) {
    std::size_t value = 0;
    for (std::size_t index = width; index-- > 0;)
        value = value << 8 | bytes[index];
    return value;
}

std::string_view textOfField(const std::uint8_t* field, std::size_t length) {
    // The last byte is the closing zero; in a damaged record an earlier zero ends the text.
    const auto* text = reinterpret_cast<const char*>(field);
    const void* zero = std::memchr(text, 0, length - 1);
    return {text, zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - text) : length - 1};
}

} // namespace

std::size_t bytesHoldingColumns(const std::function<std::span<const std::uint8_t>(std::size_t)>& prefix,
                                std::size_t recordSize, std::size_t columns) {
    if (recordSize == 0) return 0;
    const std::size_t width = offsetWidthFor(recordSize);
    const std::span<const std::uint8_t> first = prefix(width);
    if (first.size() < width) return recordSize;
    const std::size_t tableSize = readOffset(first.data(), width);
    if (tableSize < width || tableSize > recordSize) return recordSize;
    const std::size_t lastOffset = std::min(columns, tableSize / width - 1);
    const std::span<const std::uint8_t> offsets = prefix((lastOffset + 1) * width);
    if (offsets.size() < (lastOffset + 1) * width) return recordSize;
    const std::size_t end = readOffset(offsets.data() + lastOffset * width, width);
    if (end < tableSize || end > recordSize) return recordSize;
    return end;
}

void splitRecordPrefix(std::span<const std::uint8_t> prefix, std::size_t recordSize, std::size_t columnCount,
                       std::vector<FieldValue>& values) {
    values.assign(columnCount, std::nullopt);
    if (prefix.empty() || recordSize == 0) return;
    const std::size_t width = offsetWidthFor(recordSize);
    const std::size_t tableSize = readOffset(prefix.data(), width);
    if (tableSize < width || tableSize > recordSize) throwCorrupt();
    const std::size_t fieldCount = tableSize / width - 1;
    for (std::size_t index = 0; index < std::min(fieldCount, columnCount); ++index) {
        if ((index + 2) * width > prefix.size()) break;
        const std::size_t start = readOffset(prefix.data() + index * width, width);
        const std::size_t end = readOffset(prefix.data() + (index + 1) * width, width);
        if (end < start || end > recordSize) throwCorrupt();
        if (end > prefix.size()) break;
        if (end > start) values[index] = textOfField(prefix.data() + start, end - start);
    }
}

void splitRecord(std::span<const std::uint8_t> record, std::size_t columnCount,
                 std::vector<FieldValue>& values) {
    splitRecordPrefix(record, record.size(), columnCount, values);
}

} // namespace sqlite2
