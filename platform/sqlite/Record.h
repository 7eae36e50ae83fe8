// Splits a row's record into its column values. Every value is stored as text: an
// offset table of 1-, 2- or 3-byte entries, then each value with a closing zero byte,
// an empty field standing for NULL.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace sqlite2 {

using FieldValue = std::optional<std::string_view>;

// Fills values with columnCount entries viewing the record's bytes; a field the record
// lacks is NULL, extra fields are ignored. Throws SqliteError (SQLITE_CORRUPT) when the
// offsets don't fit the record.
void splitRecord(std::span<const std::uint8_t> record, std::size_t columnCount,
                 std::vector<FieldValue>& values);

// How many of the first bytes of a record of `recordSize` bytes hold its offsets and
// the values of its first `columns` fields; `prefix` hands out the record's first bytes
// as they are asked for. A damaged offset asks for the whole record, so that
// splitRecord finds the damage.
std::size_t bytesHoldingColumns(const std::function<std::span<const std::uint8_t>(std::size_t)>& prefix,
                                std::size_t recordSize, std::size_t columns);
// The values of the fields that `prefix`, the first bytes of a record of `recordSize`
// bytes, holds whole (as bytesHoldingColumns counts them); the others are NULL.
void splitRecordPrefix(std::span<const std::uint8_t> prefix, std::size_t recordSize, std::size_t columnCount,
                       std::vector<FieldValue>& values);

} // namespace sqlite2
