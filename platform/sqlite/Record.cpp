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

void splitRecord(std::span<const std::uint8_t> record, std::size_t columnCount,
                 std::vector<FieldValue>& values) {
    values.assign(columnCount, std::nullopt);
    const std::size_t size = record.size();
    if (size == 0) return;
    const std::size_t width = offsetWidthFor(size);
    const std::size_t tableSize = readOffset(record.data(), width);
    if (tableSize < width || tableSize > size) throwCorrupt();
    const std::size_t fieldCount = tableSize / width - 1;
    for (std::size_t index = 0; index < std::min(fieldCount, columnCount); ++index) {
        const std::size_t start = readOffset(record.data() + index * width, width);
        const std::size_t end = readOffset(record.data() + (index + 1) * width, width);
        if (end < start || end > size) throwCorrupt();
        if (end > start) values[index] = textOfField(record.data() + start, end - start);
    }
}

} // namespace sqlite2
