// Read-only access to a database file as numbered 1024-byte pages: the open rules
// (missing, short and foreign files), the header check and the file's byte order.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace sqlite2 {

inline constexpr std::size_t PageSize = 1024;
using Page = std::array<std::uint8_t, PageSize>;

// Structure integers are stored in the byte order of the machine that wrote the file.
class StructureReader {
public:
    explicit StructureReader(bool bigEndian = false) : bigEndian(bigEndian) {}
    std::uint16_t u16(const std::uint8_t* bytes) const;
    std::uint32_t u32(const std::uint8_t* bytes) const;

private:
    bool bigEndian;
};

class DatabaseFile {
public:
    // An empty database with no file behind it.
    DatabaseFile() = default;
    // Throws SqliteError with the engine's texts when the file can't be used.
    static DatabaseFile open(const std::string& name);

    DatabaseFile(DatabaseFile&& other) noexcept;
    DatabaseFile& operator=(DatabaseFile&& other) noexcept;
    DatabaseFile(const DatabaseFile&) = delete;
    DatabaseFile& operator=(const DatabaseFile&) = delete;
    ~DatabaseFile();

    std::uint32_t pageCount() const { return pages; }
    const StructureReader& structure() const { return reader; }
    // Files written before format 4 compare every column as a number.
    bool comparesAllColumnsAsNumbers() const { return fileFormat == 3; }

    // A page beyond the end of the file reads as zeros.
    void readPage(std::uint32_t number, Page& page) const;

private:
    void checkHeader();

    int descriptor = -1;
    std::uint32_t pages = 0;
    std::uint32_t fileFormat = 4;
    StructureReader reader;
};

} // namespace sqlite2
