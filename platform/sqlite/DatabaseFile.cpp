#include "platform/sqlite/DatabaseFile.h"

#include "platform/sqlite/SqliteError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace sqlite2 {

namespace {

constexpr char MagicText[] = "** This file contains an SQLite 2.1 database **";
constexpr std::size_t MagicTextSize = sizeof MagicText; // with its zero byte: 48
constexpr std::size_t MagicNumberOffset = 48;
constexpr std::uint32_t MagicNumber = 0xDAE37528;
constexpr std::size_t FileFormatOffset = 64;
constexpr std::uint32_t NeverHadTableFormat = 0;
constexpr std::uint32_t CurrentFormat = 4;
constexpr std::uint32_t AllColumnsNumericFormat = 3;
// A table's pages mostly follow each other in the file, and one read of many
// pages costs little more than a read of one.
constexpr std::uint32_t ReadAheadPages = 64;

SqliteError cannotOpen(const std::string& name) {
    return SqliteError(SQLITE_CANTOPEN, "unable to open database: " + name);
}

std::string parentFolder(const std::string& name) {
    const auto slash = name.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return name.substr(0, slash);
}

// The engine would create a missing file here; we open it as an empty database
// instead, but only where the engine could have created it.
bool couldBeCreated(const std::string& name) {
    if (name.back() == '/') return false;
    const std::string folder = parentFolder(name);
    struct stat status {};
    return ::stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::uint32_t readLittle32(const std::uint8_t* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::uint32_t readBig32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) << 24 | bytes[1] << 16 | bytes[2] << 8 | bytes[3];
}

} // namespace

std::uint16_t StructureReader::u16(const std::uint8_t* bytes) const {
    return bigEndian ? static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1])
                     : static_cast<std::uint16_t>(bytes[1] << 8 | bytes[0]);
}

std::uint32_t StructureReader::u32(const std::uint8_t* bytes) const {
    return bigEndian ? readBig32(bytes) : readLittle32(bytes);
}

DatabaseFile DatabaseFile::open(const std::string& name) {
    DatabaseFile file;
    // The empty name asks for a private temporary database: an empty one for a reader.
    if (name.empty()) return file;
    // Non-blocking so that a named pipe can't stall the open.
    file.descriptor = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (file.descriptor < 0) {
        if (errno == ENOENT && couldBeCreated(name)) return file;
        throw cannotOpen(name);
    }
    struct stat status {};
    if (::fstat(file.descriptor, &status) != 0 || S_ISDIR(status.st_mode)) throw cannotOpen(name);
    const auto wholePages = static_cast<std::uint64_t>(status.st_size) / PageSize;
    file.pages = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(wholePages, std::numeric_limits<std::uint32_t>::max()));
    // A file shorter than one page is taken as an empty database, unchecked.
    if (file.pages > 0) file.checkHeader();
    return file;
}

void DatabaseFile::checkHeader() {
    Page first{};
    readPage(1, first);
    const bool textMatches = std::memcmp(first.data(), MagicText, MagicTextSize) == 0;
    const std::uint8_t* magic = first.data() + MagicNumberOffset;
    if (textMatches && readLittle32(magic) == MagicNumber) {
        reader = StructureReader(false);
    } else if (textMatches && readBig32(magic) == MagicNumber) {
        reader = StructureReader(true);
    } else {
        throw SqliteError(SQLITE_NOTADB, "file is encrypted or is not a database");
    }
    fileFormat = reader.u32(first.data() + FileFormatOffset);
    if (fileFormat == NeverHadTableFormat) fileFormat = CurrentFormat;
    // Formats 1 and 2 need rewriting before the engine reads them, which a reader can't do.
    if (fileFormat > CurrentFormat || fileFormat < AllColumnsNumericFormat)
        throw SqliteError(SQLITE_ERROR, "unsupported file format");
}

DatabaseFile::DatabaseFile(DatabaseFile&& other) noexcept
    : descriptor(std::exchange(other.descriptor, -1)), pages(std::exchange(other.pages, 0)),
      fileFormat(other.fileFormat), reader(other.reader), run(std::move(other.run)), runFirst(other.runFirst),
      runPages(std::exchange(other.runPages, 0)), runBytes(other.runBytes) {}

DatabaseFile& DatabaseFile::operator=(DatabaseFile&& other) noexcept {
    if (this != &other) {
        if (descriptor >= 0) ::close(descriptor);
        descriptor = std::exchange(other.descriptor, -1);
        pages = std::exchange(other.pages, 0);
        fileFormat = other.fileFormat;
        reader = other.reader;
        run = std::move(other.run);
        runFirst = other.runFirst;
        runPages = std::exchange(other.runPages, 0);
        runBytes = other.runBytes;
    }
    return *this;
}

DatabaseFile::~DatabaseFile() {
    if (descriptor >= 0) ::close(descriptor);
}

void DatabaseFile::readPage(std::uint32_t number, Page& page) const {
    std::size_t done = 0;
    if (number != 0 && number <= pages) {
        if (number < runFirst || number - runFirst >= runPages) readRun(number);
        const std::size_t offset = std::size_t{number - runFirst} * PageSize;
        done = runBytes > offset ? std::min(PageSize, runBytes - offset) : 0;
        std::memcpy(page.data(), run.get() + offset, done);
    }
    // Only what no read filled is zeroed: a page past the end, or the part a shrunken file lacks.
    std::fill(page.begin() + static_cast<std::ptrdiff_t>(done), page.end(), 0);
}

// The pages from `first` on, as many as the run holds and the file had when opened.
void DatabaseFile::readRun(std::uint32_t first) const {
    if (!run) run = std::make_unique_for_overwrite<std::uint8_t[]>(std::size_t{ReadAheadPages} * PageSize);
    runFirst = first;
    runPages = std::min(ReadAheadPages, pages - first + 1);
    runBytes = 0;
    const std::size_t wanted = std::size_t{runPages} * PageSize;
    const auto start = static_cast<off_t>(first - 1) * static_cast<off_t>(PageSize);
    while (runBytes < wanted) {
        const ssize_t count = ::pread(descriptor, run.get() + runBytes, wanted - runBytes,
                                      start + static_cast<off_t>(runBytes));
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) {
            runPages = 0;
            throw SqliteError(SQLITE_IOERR, "disk I/O error");
        }
        // The file shrank since it was opened.
        if (count == 0) break;
        runBytes += static_cast<std::size_t>(count);
    }
}

} // namespace sqlite2
