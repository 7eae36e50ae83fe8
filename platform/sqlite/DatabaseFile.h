// Read-only access to a database file as numbered 1024-byte pages: the open rules
// (missing, short and foreign files), the header check and the file's byte order.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
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

    // A page beyond the end of the file reads as zeros. Pages are read
    // ahead in runs; a run read is used until forgetReadAhead.
    void readPage(std::uint32_t number, Page& page) const;
    // Each statement sees the file as it is when the statement starts.
    void forgetReadAhead() const { runPages = 0; }

private:
    void checkHeader();
    void readRun(std::uint32_t first) const;

    int descriptor = -1;
    std::uint32_t pages = 0;
    std::uint32_t fileFormat = 4;
    StructureReader reader;
    // The pages read ahead: runPages pages from runFirst on, of which the
    // first runBytes bytes came from the file.
    mutable std::unique_ptr<std::uint8_t[]> run;
    mutable std::uint32_t runFirst = 0;
    mutable std::uint32_t runPages = 0;
    mutable std::size_t runBytes = 0;
};

} // namespace sqlite2
