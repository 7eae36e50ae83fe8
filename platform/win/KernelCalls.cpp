// The kernel's file, path, locale and message calls over POSIX. The A calls
// convert their names through the ANSI code page and share the W calls' work.
#include "platform/win/KernelCalls.h"

#include "platform/core/CodePages.h"
#include "platform/core/FileUtils.h"
#include "platform/core/SysUtils.h"
#include "platform/win/LastError.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace kernel32 {
namespace {

constexpr DWORD ERROR_MR_MID_NOT_FOUND = 317;
constexpr DWORD ERROR_INVALID_NAME = OSErrorCode::InvalidName;
constexpr DWORD ERROR_ALREADY_EXISTS = OSErrorCode::AlreadyExists;
constexpr DWORD ERROR_NO_MORE_FILES = OSErrorCode::NoMoreFiles;
constexpr DWORD ERROR_FILE_EXISTS = OSErrorCode::FileExists;

// Seconds between 1 January 1601 and 1 January 1970.
constexpr Int64 FileTimeEpochOffset = 11644473600LL;
constexpr Int64 FileTimeUnitsPerSecond = 10000000LL;
constexpr int DosEpochYear = 1980;
constexpr int DosLastYear = 2107;
constexpr DWORD VirtualSectorSize = 512;
constexpr mode_t NewFileMode = 0666;
constexpr mode_t NewFolderMode = 0777;
constexpr mode_t WriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

BOOL fail(DWORD code) {
    SetLastError(code);
    return FALSE;
}

BOOL succeed() {
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL failWithErrnoFor(const std::string& nativeName) {
    return fail(OSErrorForPath(errno, nativeName));
}

// ---- Names -----------------------------------------------------------------------------

WideString wideOf(LPCWSTR text) {
    return text ? WideString(text) : WideString();
}
WideString wideOf(LPCSTR text) {
    return text ? AnsiToWide(text) : WideString();
}

// The text handed back to a caller of the A or W call.
template <typename Char> std::basic_string<Char> callerText(const WideString& text) {
    if constexpr (std::is_same_v<Char, WCHAR>)
        return text;
    else
        return WideToAnsi(text);
}

std::string nativeOf(const WideString& name) {
    return NativeFileName(name);
}

// A file-system name as the layer writes names: with "\".
WideString layerName(const std::string& nativeName) {
    WideString name = WideFromNativeFileName(nativeName);
    std::replace(name.begin(), name.end(), u'/', u'\\');
    return name;
}

bool statOf(const std::string& nativeName, struct stat& info) {
    return !nativeName.empty() && ::stat(nativeName.c_str(), &info) == 0;
}

// Copies text with its terminator when it fits and returns its length; else
// returns the size needed with the terminator.
template <typename Char> DWORD copyName(const std::basic_string<Char>& text, Char* buffer, DWORD size) {
    if (text.size() >= size || !buffer) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return static_cast<DWORD>(text.size() + 1);
    }
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = 0;
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(text.size());
}

// ---- Handles ---------------------------------------------------------------------------

HANDLE handleOf(int descriptor) {
    return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(descriptor));
}
int descriptorOf(HANDLE handle) {
    return static_cast<int>(reinterpret_cast<INT_PTR>(handle));
}

int openFlagsOf(DWORD access, DWORD disposition) {
    const bool reads = (access & GENERIC_READ) != 0, writes = (access & GENERIC_WRITE) != 0;
    int flags = O_CLOEXEC | (writes ? (reads ? O_RDWR : O_WRONLY) : O_RDONLY);
    switch (disposition) {
    case CREATE_NEW:
        return flags | O_CREAT | O_EXCL;
    case CREATE_ALWAYS:
        return flags | O_CREAT | O_TRUNC;
    case OPEN_EXISTING:
        return flags;
    case OPEN_ALWAYS:
        return flags | O_CREAT;
    case TRUNCATE_EXISTING:
        return flags | O_TRUNC;
    default:
        return -1;
    }
}

HANDLE createFile(const WideString& name, DWORD access, DWORD disposition, DWORD attributes) {
    const int flags = openFlagsOf(access, disposition);
    if (flags < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::string nativeName = nativeOf(name);
    struct stat info {};
    const bool existed = statOf(nativeName, info);
    if (existed && S_ISDIR(info.st_mode)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    const mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) ? (NewFileMode & ~WriteBits) : NewFileMode;
    const int descriptor = nativeName.empty() ? -1 : ::open(nativeName.c_str(), flags, mode);
    if (descriptor < 0) {
        if (nativeName.empty()) errno = ENOENT;
        failWithErrnoFor(nativeName);
        return INVALID_HANDLE_VALUE;
    }
    // Windows succeeds with this code when "always" met an existing file.
    const bool always = disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;
    SetLastError(always && existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handleOf(descriptor);
}

// ---- Times -----------------------------------------------------------------------------

FILETIME fileTimeOf(const timespec& time) {
    const Int64 units =
        (static_cast<Int64>(time.tv_sec) + FileTimeEpochOffset) * FileTimeUnitsPerSecond + time.tv_nsec / 100;
    return FILETIME{static_cast<DWORD>(units), static_cast<DWORD>(static_cast<UInt64>(units) >> 32)};
}

Int64 unitsOf(const FILETIME& time) {
    return static_cast<Int64>((static_cast<UInt64>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

FILETIME fileTimeOfUnits(Int64 units) {
    return FILETIME{static_cast<DWORD>(units), static_cast<DWORD>(static_cast<UInt64>(units) >> 32)};
}

// ---- Searching -------------------------------------------------------------------------

struct FoundEntry {
    WideString name;
    DWORD attributes = 0;
    UInt64 size = 0;
    FILETIME created, accessed, written;
};

struct SearchState {
    std::vector<FoundEntry> entries;
    std::size_t next = 0;
};

bool isHiddenName(const WideString& name) {
    return name.size() > 1 && name[0] == u'.' && name != u"..";
}

DWORD attributesOf(const WideString& name, const struct stat& info) {
    DWORD attributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    if ((info.st_mode & S_IWUSR) == 0) attributes |= FILE_ATTRIBUTE_READONLY;
    if (isHiddenName(name)) attributes |= FILE_ATTRIBUTE_HIDDEN;
    return attributes;
}

// "*" any run, "?" one character, letters without regard to case.
bool matchesMask(const WideChar* name, const WideChar* mask) {
    for (; *mask; ++mask, ++name) {
        if (*mask == u'*') {
            while (mask[1] == u'*')
                ++mask;
            for (const WideChar* rest = name;; ++rest) {
                if (matchesMask(rest, mask + 1)) return true;
                if (!*rest) return false;
            }
        }
        if (!*name) return false;
        if (*mask != u'?' && WideCharUpper(*mask) != WideCharUpper(*name)) return false;
    }
    return !*name;
}

// A mask without wildcards names one file, compared as the file system
// compares names, so that a file found is a file that opens.
bool matchesFileMask(const WideString& name, WideString mask) {
    if (mask.find_first_of(u"*?") == WideString::npos) return name == mask;
    // "*.*" matches names without a dot too, as it always has.
    if (mask == u"*.*") mask = u"*";
    return matchesMask(name.c_str(), mask.c_str());
}

std::vector<FoundEntry> entriesMatching(const std::string& folder, const WideString& mask) {
    std::vector<FoundEntry> entries;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
    if (!dir) return entries;
    while (const dirent* entry = ::readdir(dir.get())) {
        FoundEntry found;
        found.name = WideFromNativeFileName(entry->d_name);
        struct stat info {};
        if (!matchesFileMask(found.name, mask) || ::stat((folder + "/" + entry->d_name).c_str(), &info) != 0)
            continue;
        found.attributes = attributesOf(found.name, info);
        found.size = S_ISDIR(info.st_mode) ? 0 : static_cast<UInt64>(info.st_size);
        found.created = fileTimeOf(info.st_ctim);
        found.accessed = fileTimeOf(info.st_atim);
        found.written = fileTimeOf(info.st_mtim);
        entries.push_back(std::move(found));
    }
    auto dotsFirst = [](const FoundEntry& a, const FoundEntry& b) {
        const bool aDots = a.name == u"." || a.name == u"..", bDots = b.name == u"." || b.name == u"..";
        return aDots != bDots ? aDots : a.name < b.name;
    };
    std::sort(entries.begin(), entries.end(), dotsFirst);
    return entries;
}

template <typename Char> void fillFindData(const FoundEntry& entry, WIN32_FIND_DATA_T<Char>& data) {
    data = WIN32_FIND_DATA_T<Char>();
    data.dwFileAttributes = entry.attributes;
    data.ftCreationTime = entry.created;
    data.ftLastAccessTime = entry.accessed;
    data.ftLastWriteTime = entry.written;
    data.nFileSizeHigh = static_cast<DWORD>(entry.size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(entry.size);
    const std::basic_string<Char> name = callerText<Char>(entry.name);
    const std::size_t length = std::min<std::size_t>(name.size(), MAX_PATH - 1);
    std::copy_n(name.begin(), length, data.cFileName);
}

template <typename Char> BOOL findNext(HANDLE findFile, WIN32_FIND_DATA_T<Char>* findData) {
    auto* state = static_cast<SearchState*>(findFile);
    if (!state || findFile == INVALID_HANDLE_VALUE) return fail(ERROR_INVALID_HANDLE);
    if (state->next >= state->entries.size()) return fail(ERROR_NO_MORE_FILES);
    fillFindData(state->entries[state->next++], *findData);
    return succeed();
}

template <typename Char> HANDLE findFirst(const WideString& fileName, WIN32_FIND_DATA_T<Char>* findData) {
    const std::size_t split = fileName.find_last_of(u"\\/");
    const WideString folder = split == WideString::npos ? u"." : fileName.substr(0, split + 1);
    const WideString mask = split == WideString::npos ? fileName : fileName.substr(split + 1);
    const std::string nativeFolder = nativeOf(folder);
    struct stat info {};
    if (mask.empty() || !statOf(nativeFolder, info) || !S_ISDIR(info.st_mode)) {
        SetLastError(mask.empty() ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    auto state = std::make_unique<SearchState>();
    state->entries = entriesMatching(nativeFolder, mask);
    if (state->entries.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE handle = state.release();
    findNext(handle, findData);
    return handle;
}

// ---- Files and folders -----------------------------------------------------------------

DWORD getFileAttributes(const WideString& fileName) {
    const std::string nativeName = nativeOf(fileName);
    struct stat info {};
    if (!statOf(nativeName, info)) {
        if (nativeName.empty()) errno = ENOENT;
        failWithErrnoFor(nativeName);
        return INVALID_FILE_ATTRIBUTES;
    }
    std::string base = nativeName;
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    SetLastError(ERROR_SUCCESS);
    return attributesOf(WideFromNativeFileName(base.substr(base.find_last_of('/') + 1)), info);
}

BOOL setFileAttributes(const WideString& fileName, DWORD attributes) {
    const std::string nativeName = nativeOf(fileName);
    struct stat info {};
    if (!statOf(nativeName, info)) return failWithErrnoFor(nativeName);
    const mode_t mode =
        (attributes & FILE_ATTRIBUTE_READONLY) ? (info.st_mode & ~WriteBits) : (info.st_mode | S_IWUSR);
    return ::chmod(nativeName.c_str(), mode & 07777) == 0 ? succeed() : failWithErrnoFor(nativeName);
}

BOOL createDirectory(const WideString& pathName) {
    const std::string nativeName = nativeOf(pathName);
    if (nativeName.empty()) return fail(ERROR_PATH_NOT_FOUND);
    if (::mkdir(nativeName.c_str(), NewFolderMode) == 0) return succeed();
    return errno == EEXIST ? fail(ERROR_ALREADY_EXISTS) : failWithErrnoFor(nativeName);
}

BOOL removeDirectory(const WideString& pathName) {
    const std::string nativeName = nativeOf(pathName);
    if (nativeName.empty()) return fail(ERROR_PATH_NOT_FOUND);
    return ::rmdir(nativeName.c_str()) == 0 ? succeed() : failWithErrnoFor(nativeName);
}

BOOL deleteFile(const WideString& fileName) {
    const std::string nativeName = nativeOf(fileName);
    struct stat info {};
    if (statOf(nativeName, info) && S_ISDIR(info.st_mode)) return fail(ERROR_ACCESS_DENIED);
    if (nativeName.empty()) return fail(ERROR_FILE_NOT_FOUND);
    return ::unlink(nativeName.c_str()) == 0 ? succeed() : failWithErrnoFor(nativeName);
}

class Descriptor {
public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor() {
        if (descriptor_ >= 0) ::close(descriptor_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return descriptor_; }

private:
    int descriptor_;
};

bool copyContents(int from, int to) {
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t count = ::read(from, buffer.data(), buffer.size());
        if (count == 0) return true;
        if (count < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        for (ssize_t written = 0; written < count;) {
            const ssize_t step =
                ::write(to, buffer.data() + written, static_cast<std::size_t>(count - written));
            if (step < 0 && errno != EINTR) return false;
            if (step > 0) written += step;
        }
    }
}

// The copy is written beside the target and renamed over it at the end, so a
// failure never leaves a half-written target behind.
BOOL copyFile(const WideString& existingName, const WideString& newName, bool failIfExists) {
    const std::string source = nativeOf(existingName), target = nativeOf(newName);
    if (source.empty() || target.empty()) return fail(ERROR_FILE_NOT_FOUND);
    Descriptor from(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (from.get() < 0) return failWithErrnoFor(source);
    struct stat sourceInfo {
    }, targetInfo{};
    if (::fstat(from.get(), &sourceInfo) != 0) return fail(OSErrorFromErrno(errno));
    if (S_ISDIR(sourceInfo.st_mode)) return fail(ERROR_ACCESS_DENIED);
    if (statOf(target, targetInfo)) {
        if (targetInfo.st_dev == sourceInfo.st_dev && targetInfo.st_ino == sourceInfo.st_ino)
            return fail(OSErrorCode::SharingViolation);
        if (failIfExists) return fail(ERROR_FILE_EXISTS);
        if (S_ISDIR(targetInfo.st_mode)) return fail(ERROR_ACCESS_DENIED);
    }
    std::string temporary = target + ".~copy-XXXXXX";
    Descriptor to(::mkostemp(temporary.data(), O_CLOEXEC));
    if (to.get() < 0) return failWithErrnoFor(target);
    const timespec times[2] = {sourceInfo.st_atim, sourceInfo.st_mtim};
    const bool copied = copyContents(from.get(), to.get()) &&
                        ::fchmod(to.get(), sourceInfo.st_mode & 07777) == 0 &&
                        ::futimens(to.get(), times) == 0 && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (copied) return succeed();
    const int reason = errno;
    ::unlink(temporary.c_str());
    return fail(OSErrorFromErrno(reason));
}

BOOL moveFile(const WideString& existingName, const WideString& newName, DWORD flags = 0) {
    const std::string from = nativeOf(existingName), to = nativeOf(newName);
    struct stat info {};
    struct stat targetInfo {};
    if (from.empty() || !statOf(from, info)) return failWithErrnoFor(from);
    if (statOf(to, targetInfo)) {
        if (!(flags & MOVEFILE_REPLACE_EXISTING)) return fail(ERROR_ALREADY_EXISTS);
        if (S_ISDIR(targetInfo.st_mode) || S_ISDIR(info.st_mode)) return fail(ERROR_ACCESS_DENIED);
    }
    if (::rename(from.c_str(), to.c_str()) == 0) return succeed();
    if (errno != EXDEV || S_ISDIR(info.st_mode)) return failWithErrnoFor(to);
    // Across file systems a file moves as a copy followed by a delete.
    return copyFile(existingName, newName, !(flags & MOVEFILE_REPLACE_EXISTING)) && deleteFile(existingName);
}

BOOL setCurrentDirectory(const WideString& pathName) {
    const std::string nativeName = nativeOf(pathName);
    if (nativeName.empty()) return fail(ERROR_PATH_NOT_FOUND);
    return ::chdir(nativeName.c_str()) == 0 ? succeed() : failWithErrnoFor(nativeName);
}

DWORD clampedCount(UInt64 value) {
    return static_cast<DWORD>(std::min<UInt64>(value, 0xFFFFFFFFu));
}

BOOL getDiskFreeSpace(const WideString& rootPathName, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector,
                      LPDWORD freeClusters, LPDWORD totalClusters) {
    const std::string nativeName = rootPathName.empty() ? std::string(".") : nativeOf(rootPathName);
    struct statvfs info {};
    if (::statvfs(nativeName.c_str(), &info) != 0) return failWithErrnoFor(nativeName);
    const DWORD sectors = std::max<DWORD>(1, static_cast<DWORD>(info.f_frsize / VirtualSectorSize));
    if (sectorsPerCluster) *sectorsPerCluster = sectors;
    if (bytesPerSector) *bytesPerSector = VirtualSectorSize;
    if (freeClusters) *freeClusters = clampedCount(info.f_bavail);
    if (totalClusters) *totalClusters = clampedCount(info.f_blocks);
    return succeed();
}

// ---- Path names ------------------------------------------------------------------------

std::string currentNativeFolder() {
    std::string buffer(PATH_MAX, '\0');
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return "/";
        buffer.resize(buffer.size() * 2);
    }
    return buffer.c_str();
}

// Resolves "." and ".." and repeated separators; keeps a final separator.
std::string absoluteNativeName(const std::string& nativeName) {
    const std::string full =
        nativeName.front() == '/' ? nativeName : currentNativeFolder() + "/" + nativeName;
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= full.size()) {
        std::size_t end = full.find('/', start);
        if (end == std::string::npos) end = full.size();
        const std::string part = full.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string result;
    for (const std::string& part : parts)
        result += "/" + part;
    if (result.empty() || full.back() == '/') result += "/";
    return result;
}

template <typename Char>
DWORD getFullPathName(const WideString& fileName, DWORD bufferLength, Char* buffer, Char** filePart) {
    if (fileName.empty()) {
        SetLastError(ERROR_INVALID_NAME);
        return 0;
    }
    const std::basic_string<Char> full = callerText<Char>(layerName(absoluteNativeName(nativeOf(fileName))));
    const DWORD result = copyName(full, buffer, bufferLength);
    if (filePart) {
        const std::size_t nameStart = full.find_last_of(static_cast<Char>('\\')) + 1;
        const bool fits = result < bufferLength && nameStart < full.size();
        *filePart = fits ? buffer + nameStart : nullptr;
    }
    return result;
}

template <typename Char>
DWORD getShortPathName(const WideString& longPath, Char* shortPath, DWORD bufferLength) {
    const std::string nativeName = nativeOf(longPath);
    struct stat info {};
    if (!statOf(nativeName, info)) {
        if (nativeName.empty()) errno = ENOENT;
        failWithErrnoFor(nativeName);
        return 0;
    }
    WideString name = longPath;
    std::replace(name.begin(), name.end(), u'/', u'\\');
    return copyName(callerText<Char>(name), shortPath, bufferLength);
}

WideString moduleFileName() {
    std::string buffer(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    buffer.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return layerName(buffer);
}

// Too small a buffer takes what fits, without a terminator.
template <typename Char> DWORD getModuleFileName(Char* fileName, DWORD size) {
    const std::basic_string<Char> name = callerText<Char>(moduleFileName());
    if (name.size() < size) return copyName(name, fileName, size);
    std::copy_n(name.begin(), size, fileName);
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
}

template <typename Char> DWORD getTempPath(DWORD bufferLength, Char* buffer) {
    return copyName(callerText<Char>(layerName(NativeFileName(GetTempFolder()))), buffer, bufferLength);
}

// The system's folders: fixed, as on Windows, and always there.
constexpr const char16_t* WindowsFolder = u"\\usr";
constexpr const char16_t* SystemFolder = u"\\usr\\lib";

// ---- Command line ----------------------------------------------------------------------

WideString quotedArgument(const WideString& argument) {
    const bool needsQuotes = argument.empty() || argument.find_first_of(u" \t") != WideString::npos;
    return needsQuotes ? u"\"" + argument + u"\"" : argument;
}

WideString commandLineOfProcess() {
    std::ifstream file("/proc/self/cmdline", std::ios::binary);
    WideString line;
    std::string argument;
    while (std::getline(file, argument, '\0')) {
        if (!line.empty()) line += u' ';
        line += quotedArgument(WideFromNativeFileName(argument));
    }
    return line;
}

// ---- Locale ----------------------------------------------------------------------------

template <typename Char> std::basic_string<Char> countedText(const Char* text, int count) {
    if (count < 0) return std::basic_string<Char>(text);
    return std::basic_string<Char>(text, static_cast<std::size_t>(count));
}

bool isSingleCharacter(const void* text) {
    return (reinterpret_cast<UINT_PTR>(text) >> 16) == 0;
}

template <typename Char, typename Map> Char* mapCharacters(Char* text, Map map) {
    using Unsigned = std::make_unsigned_t<Char>;
    if (isSingleCharacter(text)) {
        const auto character = static_cast<Char>(reinterpret_cast<UINT_PTR>(text));
        return reinterpret_cast<Char*>(static_cast<UINT_PTR>(static_cast<Unsigned>(map(character))));
    }
    for (Char* p = text; *p; ++p)
        *p = map(*p);
    return text;
}

template <typename Char, typename Map> DWORD mapBuffer(Char* text, DWORD length, Map map) {
    for (DWORD i = 0; i < length; ++i)
        text[i] = map(text[i]);
    return length;
}

// The number text split into its parts; false when it is not a number.
struct NumberText {
    bool negative = false;
    std::string integerDigits;
    std::string fractionDigits;
};

bool parseNumberText(const std::string& text, NumberText& number) {
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-') {
        number.negative = true;
        ++i;
    }
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
        number.integerDigits += text[i++];
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
            number.fractionDigits += text[i++];
    }
    return i == text.size() && !(number.integerDigits.empty() && number.fractionDigits.empty());
}

// Rounds half away from zero to `digits` fraction digits.
void roundNumber(NumberText& number, UINT digits) {
    std::string all = number.integerDigits + number.fractionDigits;
    const std::size_t keep = number.integerDigits.size() + digits;
    const bool roundUp = all.size() > keep && all[keep] >= '5';
    all.resize(keep, '0');
    if (roundUp) {
        std::size_t i = all.size();
        while (i > 0 && all[i - 1] == '9')
            all[--i] = '0';
        if (i == 0)
            all.insert(all.begin(), '1');
        else
            ++all[i - 1];
    }
    const std::size_t integerLength = all.size() - digits;
    number.integerDigits = all.substr(0, integerLength);
    number.fractionDigits = all.substr(integerLength);
    const std::size_t firstDigit = number.integerDigits.find_first_not_of('0');
    number.integerDigits = firstDigit == std::string::npos ? "" : number.integerDigits.substr(firstDigit);
    if (number.integerDigits.empty() && number.fractionDigits.find_first_not_of('0') == std::string::npos)
        number.negative = false;
}

// Grouping 3 is groups of three; 32 is three, then twos; a final 0 stops repeating.
std::string groupedDigits(const std::string& digits, UINT grouping, const std::string& separator) {
    std::vector<std::size_t> sizes;
    for (const char c : std::to_string(grouping))
        sizes.push_back(static_cast<std::size_t>(c - '0'));
    const bool repeatLast = sizes.back() != 0;
    if (!repeatLast) sizes.pop_back();
    if (sizes.empty()) return digits;
    std::string result;
    std::size_t end = digits.size(), group = 0;
    while (end > 0) {
        const std::size_t size = group < sizes.size() ? sizes[group] : (repeatLast ? sizes.back() : end);
        const std::size_t start = size == 0 || size >= end ? 0 : end - size;
        result.insert(0, digits.substr(start, end - start));
        end = start;
        if (end > 0) result.insert(0, separator);
        ++group;
    }
    return result;
}

std::string currencyText(const NumberText& number, const CURRENCYFMTW& format, const WideString& decimal,
                         const WideString& thousand, const WideString& symbol) {
    const std::string utf8Thousand = UTF8Encode(thousand);
    std::string amount = number.integerDigits.empty()
                             ? std::string(format.LeadingZero ? "0" : "")
                             : groupedDigits(number.integerDigits, format.Grouping, utf8Thousand);
    if (format.NumDigits > 0) amount += UTF8Encode(decimal) + number.fractionDigits;
    const std::string s = UTF8Encode(symbol);
    static const char* const PositivePatterns[] = {"$1", "1$", "$ 1", "1 $"};
    static const char* const NegativePatterns[] = {"($1)", "-$1",  "$-1",   "$1-",  "(1$)", "-1$",
                                                   "1-$",  "1$-",  "-1 $",  "-$ 1", "1 $-", "$ 1-",
                                                   "$ -1", "1- $", "($ 1)", "(1 $)"};
    const char* pattern = number.negative ? NegativePatterns[std::min<UINT>(format.NegativeOrder, 15)]
                                          : PositivePatterns[std::min<UINT>(format.PositiveOrder, 3)];
    std::string result;
    for (const char* p = pattern; *p; ++p) {
        if (*p == '$')
            result += s;
        else if (*p == '1')
            result += amount;
        else
            result += *p;
    }
    return result;
}

WideString localeText(LCID locale, LCTYPE type) {
    WCHAR buffer[16] = {};
    return GetLocaleInfoW(locale, type, buffer, 16) > 0 ? WideString(buffer) : WideString();
}

UINT localeNumber(LCID locale, LCTYPE type) {
    const WideString text = localeText(locale, type);
    UINT value = 0;
    for (const WideChar c : text) {
        if (c < u'0' || c > u'9') break;
        value = value * 10 + (c - u'0');
    }
    return value;
}

WideString textOf(const WideChar* text) {
    return text ? WideString(text) : WideString();
}
WideString textOf(const char* text) {
    return text ? AnsiToWide(text) : WideString();
}

template <typename Char>
int getCurrencyFormat(LCID locale, const WideString& value, const CURRENCYFMT_T<Char>* format, Char* buffer,
                      int size) {
    NumberText number;
    if (!parseNumberText(UTF8Encode(value), number) || size < 0) return fail(ERROR_INVALID_PARAMETER);
    CURRENCYFMTW settings;
    WideString decimal, thousand, symbol;
    if (format) {
        settings.NumDigits = format->NumDigits;
        settings.LeadingZero = format->LeadingZero;
        settings.Grouping = format->Grouping;
        settings.NegativeOrder = format->NegativeOrder;
        settings.PositiveOrder = format->PositiveOrder;
        decimal = textOf(format->lpDecimalSep);
        thousand = textOf(format->lpThousandSep);
        symbol = textOf(format->lpCurrencySymbol);
    } else {
        settings.NumDigits = localeNumber(locale, LOCALE_ICURRDIGITS);
        settings.LeadingZero = localeNumber(locale, LOCALE_ILZERO);
        settings.Grouping = localeNumber(locale, LOCALE_SMONGROUPING);
        settings.NegativeOrder = localeNumber(locale, LOCALE_INEGCURR);
        settings.PositiveOrder = localeNumber(locale, LOCALE_ICURRENCY);
        decimal = localeText(locale, LOCALE_SMONDECIMALSEP);
        thousand = localeText(locale, LOCALE_SMONTHOUSANDSEP);
        symbol = localeText(locale, LOCALE_SCURRENCY);
    }
    roundNumber(number, settings.NumDigits);
    const std::basic_string<Char> text =
        callerText<Char>(UTF8Decode(currencyText(number, settings, decimal, thousand, symbol)));
    const int needed = static_cast<int>(text.size() + 1);
    if (size == 0) return needed;
    if (!buffer || size < needed) return fail(ERROR_INSUFFICIENT_BUFFER);
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = 0;
    SetLastError(ERROR_SUCCESS);
    return needed;
}

// ---- Messages --------------------------------------------------------------------------

template <typename Char> DWORD formatMessage(DWORD flags, DWORD messageId, Char* buffer, DWORD size) {
    const AnsiString message =
        (flags & FORMAT_MESSAGE_FROM_SYSTEM) ? SysErrorMessage(messageId) : AnsiString();
    if (message.empty()) return fail(ERROR_MR_MID_NOT_FOUND);
    const std::basic_string<Char> text = callerText<Char>(AnsiToWide(message + "\r\n"));
    if (!buffer || text.size() >= size) return fail(ERROR_INSUFFICIENT_BUFFER);
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = 0;
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(text.size());
}

} // namespace

// ---- Files ----------------------------------------------------------------------------------

HANDLE CreateFileA(LPCSTR fileName, DWORD access, DWORD, LPSECURITY_ATTRIBUTES, DWORD disposition,
                   DWORD flagsAndAttributes, HANDLE) {
    return createFile(wideOf(fileName), access, disposition, flagsAndAttributes);
}
HANDLE CreateFileW(LPCWSTR fileName, DWORD access, DWORD, LPSECURITY_ATTRIBUTES, DWORD disposition,
                   DWORD flagsAndAttributes, HANDLE) {
    return createFile(wideOf(fileName), access, disposition, flagsAndAttributes);
}

BOOL CloseHandle(HANDLE handle) {
    if (handle == INVALID_HANDLE_VALUE || ::close(descriptorOf(handle)) != 0)
        return fail(ERROR_INVALID_HANDLE);
    return succeed();
}

HANDLE FindFirstFileA(LPCSTR fileName, WIN32_FIND_DATAA* findData) {
    return findFirst(wideOf(fileName), findData);
}
HANDLE FindFirstFileW(LPCWSTR fileName, WIN32_FIND_DATAW* findData) {
    return findFirst(wideOf(fileName), findData);
}
BOOL FindNextFileA(HANDLE findFile, WIN32_FIND_DATAA* findData) {
    return findNext(findFile, findData);
}
BOOL FindNextFileW(HANDLE findFile, WIN32_FIND_DATAW* findData) {
    return findNext(findFile, findData);
}
BOOL FindClose(HANDLE findFile) {
    if (!findFile || findFile == INVALID_HANDLE_VALUE) return fail(ERROR_INVALID_HANDLE);
    delete static_cast<SearchState*>(findFile);
    return succeed();
}

DWORD GetFileAttributesA(LPCSTR fileName) {
    return getFileAttributes(wideOf(fileName));
}
DWORD GetFileAttributesW(LPCWSTR fileName) {
    return getFileAttributes(wideOf(fileName));
}
BOOL SetFileAttributesA(LPCSTR fileName, DWORD attributes) {
    return setFileAttributes(wideOf(fileName), attributes);
}
BOOL SetFileAttributesW(LPCWSTR fileName, DWORD attributes) {
    return setFileAttributes(wideOf(fileName), attributes);
}

BOOL CreateDirectoryA(LPCSTR pathName, LPSECURITY_ATTRIBUTES) {
    return createDirectory(wideOf(pathName));
}
BOOL CreateDirectoryW(LPCWSTR pathName, LPSECURITY_ATTRIBUTES) {
    return createDirectory(wideOf(pathName));
}
BOOL RemoveDirectoryA(LPCSTR pathName) {
    return removeDirectory(wideOf(pathName));
}
BOOL RemoveDirectoryW(LPCWSTR pathName) {
    return removeDirectory(wideOf(pathName));
}
BOOL MoveFileA(LPCSTR existingFileName, LPCSTR newFileName) {
    return moveFile(wideOf(existingFileName), wideOf(newFileName));
}
BOOL MoveFileW(LPCWSTR existingFileName, LPCWSTR newFileName) {
    return moveFile(wideOf(existingFileName), wideOf(newFileName));
}
BOOL MoveFileExA(LPCSTR existingFileName, LPCSTR newFileName, DWORD flags) {
    return moveFile(wideOf(existingFileName), wideOf(newFileName), flags);
}
BOOL MoveFileExW(LPCWSTR existingFileName, LPCWSTR newFileName, DWORD flags) {
    return moveFile(wideOf(existingFileName), wideOf(newFileName), flags);
}
BOOL CopyFileA(LPCSTR existingFileName, LPCSTR newFileName, BOOL failIfExists) {
    return copyFile(wideOf(existingFileName), wideOf(newFileName), failIfExists != FALSE);
}
BOOL CopyFileW(LPCWSTR existingFileName, LPCWSTR newFileName, BOOL failIfExists) {
    return copyFile(wideOf(existingFileName), wideOf(newFileName), failIfExists != FALSE);
}
BOOL DeleteFileA(LPCSTR fileName) {
    return deleteFile(wideOf(fileName));
}
BOOL DeleteFileW(LPCWSTR fileName) {
    return deleteFile(wideOf(fileName));
}
BOOL SetCurrentDirectoryA(LPCSTR pathName) {
    return setCurrentDirectory(wideOf(pathName));
}
BOOL SetCurrentDirectoryW(LPCWSTR pathName) {
    return setCurrentDirectory(wideOf(pathName));
}
BOOL GetDiskFreeSpaceA(LPCSTR rootPathName, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector,
                       LPDWORD freeClusters, LPDWORD totalClusters) {
    return getDiskFreeSpace(wideOf(rootPathName), sectorsPerCluster, bytesPerSector, freeClusters,
                            totalClusters);
}
BOOL GetDiskFreeSpaceW(LPCWSTR rootPathName, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector,
                       LPDWORD freeClusters, LPDWORD totalClusters) {
    return getDiskFreeSpace(wideOf(rootPathName), sectorsPerCluster, bytesPerSector, freeClusters,
                            totalClusters);
}

BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, FILETIME* localFileTime) {
    if (!fileTime || !localFileTime) return fail(ERROR_INVALID_PARAMETER);
    const Int64 units = unitsOf(*fileTime);
    const time_t seconds = static_cast<time_t>(units / FileTimeUnitsPerSecond - FileTimeEpochOffset);
    struct tm local {};
    if (!::localtime_r(&seconds, &local)) return fail(ERROR_INVALID_PARAMETER);
    *localFileTime = fileTimeOfUnits(units + static_cast<Int64>(local.tm_gmtoff) * FileTimeUnitsPerSecond);
    return succeed();
}

BOOL FileTimeToDosDateTime(const FILETIME* fileTime, WORD* fatDate, WORD* fatTime) {
    if (!fileTime || !fatDate || !fatTime) return fail(ERROR_INVALID_PARAMETER);
    const time_t seconds =
        static_cast<time_t>(unitsOf(*fileTime) / FileTimeUnitsPerSecond - FileTimeEpochOffset);
    struct tm parts {};
    if (!::gmtime_r(&seconds, &parts)) return fail(ERROR_INVALID_PARAMETER);
    const int year = parts.tm_year + 1900;
    if (year < DosEpochYear || year > DosLastYear) return fail(ERROR_INVALID_PARAMETER);
    *fatDate = static_cast<WORD>(((year - DosEpochYear) << 9) | ((parts.tm_mon + 1) << 5) | parts.tm_mday);
    *fatTime = static_cast<WORD>((parts.tm_hour << 11) | (parts.tm_min << 5) | (parts.tm_sec / 2));
    return succeed();
}

// ---- Path and program names -------------------------------------------------------------

DWORD GetFullPathNameA(LPCSTR fileName, DWORD bufferLength, LPSTR buffer, LPSTR* filePart) {
    return getFullPathName(wideOf(fileName), bufferLength, buffer, filePart);
}
DWORD GetFullPathNameW(LPCWSTR fileName, DWORD bufferLength, LPWSTR buffer, LPWSTR* filePart) {
    return getFullPathName(wideOf(fileName), bufferLength, buffer, filePart);
}
DWORD GetShortPathNameA(LPCSTR longPath, LPSTR shortPath, DWORD bufferLength) {
    return getShortPathName(wideOf(longPath), shortPath, bufferLength);
}
DWORD GetShortPathNameW(LPCWSTR longPath, LPWSTR shortPath, DWORD bufferLength) {
    return getShortPathName(wideOf(longPath), shortPath, bufferLength);
}
DWORD GetModuleFileNameA(HMODULE, LPSTR fileName, DWORD size) {
    return getModuleFileName(fileName, size);
}
DWORD GetModuleFileNameW(HMODULE, LPWSTR fileName, DWORD size) {
    return getModuleFileName(fileName, size);
}
DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer) {
    return getTempPath(bufferLength, buffer);
}
DWORD GetTempPathW(DWORD bufferLength, LPWSTR buffer) {
    return getTempPath(bufferLength, buffer);
}

UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) {
    return copyName(callerText<char>(WindowsFolder), buffer, size);
}
UINT GetWindowsDirectoryW(LPWSTR buffer, UINT size) {
    return copyName(callerText<WCHAR>(WindowsFolder), buffer, size);
}
UINT GetSystemDirectoryA(LPSTR buffer, UINT size) {
    return copyName(callerText<char>(SystemFolder), buffer, size);
}
UINT GetSystemDirectoryW(LPWSTR buffer, UINT size) {
    return copyName(callerText<WCHAR>(SystemFolder), buffer, size);
}

LPSTR GetCommandLineA() {
    static AnsiString line = WideToAnsi(commandLineOfProcess());
    return line.data();
}
LPWSTR GetCommandLineW() {
    static WideString line = commandLineOfProcess();
    return line.data();
}

// ---- Locale ------------------------------------------------------------------------------------

int CompareStringA(LCID, DWORD flags, LPCSTR string1, int count1, LPCSTR string2, int count2) {
    if (!string1 || !string2) return fail(ERROR_INVALID_PARAMETER);
    const Integer order = LocaleCompareAnsi(countedText(string1, count1), countedText(string2, count2),
                                            (flags & NORM_IGNORECASE) != 0);
    return order < 0 ? CSTR_LESS_THAN : order > 0 ? CSTR_GREATER_THAN : CSTR_EQUAL;
}
int CompareStringW(LCID, DWORD flags, LPCWSTR string1, int count1, LPCWSTR string2, int count2) {
    if (!string1 || !string2) return fail(ERROR_INVALID_PARAMETER);
    const Integer order = LocaleCompareWide(countedText(string1, count1), countedText(string2, count2),
                                            (flags & NORM_IGNORECASE) != 0);
    return order < 0 ? CSTR_LESS_THAN : order > 0 ? CSTR_GREATER_THAN : CSTR_EQUAL;
}

LPSTR CharUpperA(LPSTR text) {
    return mapCharacters(text, AnsiCharUpper);
}
LPWSTR CharUpperW(LPWSTR text) {
    return mapCharacters(text, WideCharUpper);
}
LPSTR CharLowerA(LPSTR text) {
    return mapCharacters(text, AnsiCharLower);
}
LPWSTR CharLowerW(LPWSTR text) {
    return mapCharacters(text, WideCharLower);
}
DWORD CharUpperBuffA(LPSTR text, DWORD length) {
    return mapBuffer(text, length, AnsiCharUpper);
}
DWORD CharUpperBuffW(LPWSTR text, DWORD length) {
    return mapBuffer(text, length, WideCharUpper);
}
DWORD CharLowerBuffA(LPSTR text, DWORD length) {
    return mapBuffer(text, length, AnsiCharLower);
}
DWORD CharLowerBuffW(LPWSTR text, DWORD length) {
    return mapBuffer(text, length, WideCharLower);
}

BOOL GetStringTypeExA(LCID, DWORD infoType, LPCSTR source, int count, LPWORD charType) {
    if (!source || !charType) return fail(ERROR_INVALID_PARAMETER);
    const AnsiString text = countedText(source, count);
    for (std::size_t i = 0; i < text.size(); ++i)
        charType[i] = AnsiCharType(text[i], infoType);
    return succeed();
}
BOOL GetStringTypeExW(LCID, DWORD infoType, LPCWSTR source, int count, LPWORD charType) {
    if (!source || !charType) return fail(ERROR_INVALID_PARAMETER);
    const WideString text = countedText(source, count);
    for (std::size_t i = 0; i < text.size(); ++i)
        charType[i] = WideCharType(text[i], infoType);
    return succeed();
}

int GetCurrencyFormatA(LCID locale, DWORD, LPCSTR value, const CURRENCYFMTA* format, LPSTR buffer, int size) {
    return getCurrencyFormat(locale, wideOf(value), format, buffer, size);
}
int GetCurrencyFormatW(LCID locale, DWORD, LPCWSTR value, const CURRENCYFMTW* format, LPWSTR buffer,
                       int size) {
    return getCurrencyFormat(locale, wideOf(value), format, buffer, size);
}

// ---- Messages ------------------------------------------------------------------------------

DWORD FormatMessageA(DWORD flags, LPCVOID, DWORD messageId, DWORD, LPSTR buffer, DWORD size, void*) {
    return formatMessage(flags, messageId, buffer, size);
}
DWORD FormatMessageW(DWORD flags, LPCVOID, DWORD messageId, DWORD, LPWSTR buffer, DWORD size, void*) {
    return formatMessage(flags, messageId, buffer, size);
}

} // namespace kernel32
