// The keys form a tree in memory, read from the file on first use and written
// back whole after every change. The file is UTF-8 text of this layout:
//
//   Quorvane registry 1
//   [Software\Maker\Program]
//   "Name" = sz:"text"
//   @ = dword:42
//   "Data" = hex(3):01,ff
//
// The first line names the format. A key line holds the path from
// HKEY_CURRENT_USER ("[]" is HKEY_CURRENT_USER itself); every key has its line,
// so empty keys survive. The value lines below it give the name ("@" for the
// default value) in double quotes, the type and the data: "sz" and
// "expand_sz" for a string stored with exactly one terminating NUL, "dword"
// for four bytes, as a decimal number, and "hex(<type number>)" with the bytes
// for anything else. In quoted text "\\", "\"" and "\uHHHH" (a UTF-16 code
// unit: control characters and unpaired surrogates) are escapes; in key paths,
// where "\" separates the names, "%uHHHH" is. Lines starting with ";" and
// blank lines are ignored; a line that cannot be read is skipped, and the
// file is then kept as "<file>.bak" before it is first rewritten.
#include "platform/win/Registry.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/win/ConfigurationFolder.h"
#include "platform/win/LastError.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// ---- The tree -----------------------------------------------------------------------

using Bytes = std::vector<BYTE>;

// 100-nanosecond intervals since 1601, the FILETIME scale.
using FileTimeValue = UInt64;

struct RegistryValue {
    WideString name;
    DWORD type = REG_NONE;
    Bytes data;
};

WideString upperCase(const WideString& text) {
    WideString upper = text;
    std::transform(upper.begin(), upper.end(), upper.begin(), WideCharUpper);
    return upper;
}

struct KeyNode {
    WideString name;
    // By upper-case name, which is also the enumeration order.
    std::map<WideString, std::shared_ptr<KeyNode>> subKeys;
    std::vector<RegistryValue> values;
    bool deleted = false;
    FileTimeValue lastWrite = 0;

    std::shared_ptr<KeyNode> subKey(const WideString& keyName) const {
        auto found = subKeys.find(upperCase(keyName));
        return found == subKeys.end() ? nullptr : found->second;
    }
    std::vector<RegistryValue>::iterator findValue(const WideString& valueName) {
        const WideString wanted = upperCase(valueName);
        return std::find_if(values.begin(), values.end(),
                            [&](const RegistryValue& value) { return upperCase(value.name) == wanted; });
    }
};

using KeyPointer = std::shared_ptr<KeyNode>;

constexpr FileTimeValue UnixEpochInFileTime = 116444736000000000ULL;
constexpr FileTimeValue FileTimeTicksPerMicrosecond = 10;

FileTimeValue fileTimeNow() {
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    const auto micro = std::chrono::duration_cast<std::chrono::microseconds>(sinceEpoch).count();
    return UnixEpochInFileTime + static_cast<FileTimeValue>(micro) * FileTimeTicksPerMicrosecond;
}

void markDeleted(KeyNode& key) {
    key.deleted = true;
    for (auto& [upper, child] : key.subKeys)
        markDeleted(*child);
}

// ---- Text forms ---------------------------------------------------------------------

constexpr char FormatHeader[] = "Quorvane registry 1";
constexpr WCHAR KeySeparator = u'\\';
constexpr char PathEscape = '%';
constexpr char TextEscape = '\\';
constexpr char DefaultValueName = '@';
constexpr int HexDigitsPerUnit = 4;
constexpr std::size_t MaxKeyNameLength = 255;

bool isHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}
bool isDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isHighSurrogate(WCHAR unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(WCHAR unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}
bool isControl(WCHAR unit) {
    return unit < 0x20 || unit == 0x7F;
}

std::string hexUnit(char escape, WCHAR unit) {
    char text[8];
    std::snprintf(text, sizeof text, "%cu%04X", escape, static_cast<unsigned>(unit));
    return text;
}

// UTF-8 of the text with control characters, unpaired surrogates and the
// characters `special` picks escaped; `shortForm` gives an escape its
// two-character form when it has one.
std::string escapeText(const WideString& text, char escape, bool (*special)(WCHAR),
                       bool (*shortForm)(WCHAR)) {
    std::string result;
    WideString run;
    auto flushRun = [&] {
        result += UTF8Encode(run);
        run.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const WCHAR unit = text[i];
        const bool pairedHigh = isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1]);
        if (pairedHigh) {
            run += text.substr(i++, 2);
        } else if (isControl(unit) || isHighSurrogate(unit) || isLowSurrogate(unit) || special(unit)) {
            flushRun();
            result += shortForm(unit) ? std::string{escape, static_cast<char>(unit)} : hexUnit(escape, unit);
        } else {
            run += unit;
        }
    }
    flushRun();
    return result;
}

bool isQuotedSpecial(WCHAR unit) {
    return unit == u'"' || unit == u'\\';
}
bool isPathSpecial(WCHAR unit) {
    return unit == u'%';
}
bool noShortForm(WCHAR) {
    return false;
}

std::string quote(const WideString& text) {
    return '"' + escapeText(text, TextEscape, isQuotedSpecial, isQuotedSpecial) + '"';
}

std::string pathText(const std::vector<WideString>& path) {
    std::string result;
    for (const WideString& name : path) {
        if (!result.empty()) result += '\\';
        result += escapeText(name, PathEscape, isPathSpecial, noShortForm);
    }
    return result;
}

// A name that a path given to the calls can reach: an escape could smuggle
// in a separator or a NUL, which no caller's path can hold.
bool isAddressableKeyName(const WideString& name) {
    return !name.empty() && name.size() <= MaxKeyNameLength && name.find(KeySeparator) == WideString::npos &&
           name.find(u'\0') == WideString::npos;
}

// Reads the parts of a line that escapeText wrote, from a starting position on.
class TextReader {
public:
    TextReader(const std::string& line, std::size_t position) : line_(line), position_(position) {}

    bool atEnd() const { return position_ >= line_.size(); }
    char peek() const { return atEnd() ? '\0' : line_[position_]; }
    void skip() { ++position_; }
    void skipBlanks() {
        while (!atEnd() && isBlank(peek()))
            skip();
    }
    bool accept(char expected) {
        if (peek() != expected) return false;
        skip();
        return true;
    }

    // The unit of a "<escape>uHHHH" at the position, consumed.
    std::optional<WCHAR> hexEscape() {
        if (position_ + 2 + HexDigitsPerUnit > line_.size() || line_[position_ + 1] != 'u')
            return std::nullopt;
        const std::string digits = line_.substr(position_ + 2, HexDigitsPerUnit);
        if (!std::all_of(digits.begin(), digits.end(), isHexDigit)) return std::nullopt;
        position_ += 2 + HexDigitsPerUnit;
        return static_cast<WCHAR>(std::stoul(digits, nullptr, 16));
    }

    // A double-quoted string; nothing when it is malformed.
    std::optional<WideString> quotedText() {
        if (!accept('"')) return std::nullopt;
        WideString text;
        std::string pending;
        auto flush = [&] {
            text += UTF8Decode(pending);
            pending.clear();
        };
        while (!atEnd()) {
            const char c = peek();
            if (c == '"') {
                skip();
                flush();
                return text;
            }
            if (c != TextEscape) {
                pending += c;
                skip();
                continue;
            }
            flush();
            const char next = position_ + 1 < line_.size() ? line_[position_ + 1] : '\0';
            if (next == '"' || next == '\\') {
                text += static_cast<WCHAR>(next);
                position_ += 2;
            } else if (std::optional<WCHAR> unit = hexEscape()) {
                text += *unit;
            } else {
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

    // The names of a key path running to `end`.
    std::optional<std::vector<WideString>> pathNames(std::size_t end) {
        std::vector<WideString> names;
        WideString name;
        std::string pending;
        auto flush = [&] {
            name += UTF8Decode(pending);
            pending.clear();
        };
        while (position_ < end) {
            const char c = peek();
            if (c == '\\') {
                flush();
                names.push_back(std::move(name));
                name.clear();
                skip();
            } else if (c == PathEscape) {
                flush();
                std::optional<WCHAR> unit = hexEscape();
                if (!unit) return std::nullopt;
                name += *unit;
            } else {
                pending += c;
                skip();
            }
        }
        flush();
        if (!name.empty() || !names.empty()) names.push_back(std::move(name));
        if (!std::all_of(names.begin(), names.end(), isAddressableKeyName)) return std::nullopt;
        return names;
    }

    std::string rest() const { return atEnd() ? std::string() : line_.substr(position_); }

private:
    const std::string& line_;
    std::size_t position_;
};

// ---- Values in the file -------------------------------------------------------------

Bytes bytesOfText(const WideString& text) {
    Bytes bytes;
    bytes.reserve(text.size() * 2);
    for (WCHAR unit : text) {
        bytes.push_back(static_cast<BYTE>(unit & 0xFF));
        bytes.push_back(static_cast<BYTE>(unit >> 8));
    }
    return bytes;
}

// The code units of string data; an odd last byte is dropped.
WideString textOfBytes(const Bytes& bytes) {
    WideString text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += static_cast<WCHAR>(bytes[i] | (bytes[i + 1] << 8));
    return text;
}

bool isStringType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// The string of data holding one string with exactly one terminator at its end.
std::optional<WideString> plainString(const Bytes& data) {
    if (data.size() < 2 || data.size() % 2 != 0) return std::nullopt;
    WideString text = textOfBytes(data);
    if (text.back() != 0) return std::nullopt;
    text.pop_back();
    if (text.find(u'\0') != WideString::npos) return std::nullopt;
    return text;
}

constexpr std::size_t DwordSize = 4;

DWORD dwordOf(const Bytes& data) {
    return data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<DWORD>(data[3]) << 24);
}

Bytes bytesOfDword(DWORD value) {
    return {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
            static_cast<BYTE>(value >> 24)};
}

constexpr std::string_view StringTag = "sz:";
constexpr std::string_view ExpandStringTag = "expand_sz:";
constexpr std::string_view DwordTag = "dword:";
constexpr std::string_view BytesTagStart = "hex(";
constexpr std::string_view BytesTagEnd = "):";

std::string dataText(const RegistryValue& value) {
    if (value.type == REG_SZ || value.type == REG_EXPAND_SZ)
        if (std::optional<WideString> text = plainString(value.data))
            return std::string(value.type == REG_SZ ? StringTag : ExpandStringTag) + quote(*text);
    if (value.type == REG_DWORD && value.data.size() == DwordSize)
        return std::string(DwordTag) + std::to_string(dwordOf(value.data));
    std::string text = std::string(BytesTagStart) + std::to_string(value.type) + std::string(BytesTagEnd);
    char digits[4];
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        std::snprintf(digits, sizeof digits, i == 0 ? "%02x" : ",%02x", value.data[i]);
        text += digits;
    }
    return text;
}

std::string valueLine(const RegistryValue& value) {
    const std::string name = value.name.empty() ? std::string(1, DefaultValueName) : quote(value.name);
    return name + " = " + dataText(value);
}

std::optional<Bytes> hexBytes(const std::string& text) {
    Bytes bytes;
    std::istringstream input(text);
    std::string item;
    while (std::getline(input, item, ',')) {
        item.erase(std::remove_if(item.begin(), item.end(), isBlank), item.end());
        if (item.empty() || item.size() > 2 || !std::all_of(item.begin(), item.end(), isHexDigit))
            return std::nullopt;
        bytes.push_back(static_cast<BYTE>(std::stoul(item, nullptr, 16)));
    }
    return bytes;
}

std::optional<DWORD> decimalNumber(const std::string& text) {
    constexpr std::size_t MaxDigits = 10;
    if (text.empty() || text.size() > MaxDigits || !std::all_of(text.begin(), text.end(), isDecimalDigit))
        return std::nullopt;
    const unsigned long long number = std::stoull(text);
    if (number > 0xFFFFFFFFULL) return std::nullopt;
    return static_cast<DWORD>(number);
}

// The type and data after " = ".
bool readData(TextReader& reader, RegistryValue& value) {
    const std::string rest = reader.rest();
    auto stringValue = [&](DWORD type, std::size_t prefix) {
        TextReader text(rest, prefix);
        std::optional<WideString> string = text.quotedText();
        text.skipBlanks();
        if (!string || !text.atEnd()) return false;
        value.type = type;
        value.data = bytesOfText(*string + u'\0');
        return true;
    };
    if (rest.starts_with(StringTag)) return stringValue(REG_SZ, StringTag.size());
    if (rest.starts_with(ExpandStringTag)) return stringValue(REG_EXPAND_SZ, ExpandStringTag.size());
    if (rest.starts_with(DwordTag)) {
        std::optional<DWORD> number = decimalNumber(rest.substr(DwordTag.size()));
        if (number) value = {value.name, REG_DWORD, bytesOfDword(*number)};
        return number.has_value();
    }
    const std::size_t close = rest.find(BytesTagEnd);
    if (!rest.starts_with(BytesTagStart) || close == std::string::npos) return false;
    std::optional<DWORD> type =
        decimalNumber(rest.substr(BytesTagStart.size(), close - BytesTagStart.size()));
    std::optional<Bytes> bytes = hexBytes(rest.substr(close + BytesTagEnd.size()));
    if (!type || !bytes) return false;
    value.type = *type;
    value.data = std::move(*bytes);
    return true;
}

std::optional<RegistryValue> parseValueLine(const std::string& line) {
    TextReader reader(line, 0);
    RegistryValue value;
    if (!reader.accept(DefaultValueName)) {
        std::optional<WideString> name = reader.quotedText();
        if (!name) return std::nullopt;
        value.name = *name;
    }
    reader.skipBlanks();
    if (!reader.accept('=')) return std::nullopt;
    reader.skipBlanks();
    if (!readData(reader, value)) return std::nullopt;
    return value;
}

// ---- Whole files --------------------------------------------------------------------

void writeKey(const KeyNode& key, std::vector<WideString>& path, std::string& text) {
    if (!path.empty() || !key.values.empty()) {
        text += "\n[" + pathText(path) + "]\n";
        for (const RegistryValue& value : key.values)
            text += valueLine(value) + "\n";
    }
    for (const auto& [upper, child] : key.subKeys) {
        path.push_back(child->name);
        writeKey(*child, path, text);
        path.pop_back();
    }
}

std::string registryText(const KeyNode& root) {
    std::string text = FormatHeader;
    text += "\n";
    std::vector<WideString> path;
    writeKey(root, path, text);
    return text;
}

KeyPointer descendCreating(const KeyPointer& root, const std::vector<WideString>& path, FileTimeValue time) {
    KeyPointer key = root;
    for (const WideString& name : path) {
        KeyPointer child = key->subKey(name);
        if (!child) {
            child = std::make_shared<KeyNode>();
            child->name = name;
            child->lastWrite = time;
            key->subKeys[upperCase(name)] = child;
        }
        key = child;
    }
    return key;
}

void storeValue(KeyNode& key, RegistryValue value) {
    auto existing = key.findValue(value.name);
    if (existing != key.values.end())
        *existing = std::move(value);
    else
        key.values.push_back(std::move(value));
}

struct ParsedRegistry {
    KeyPointer root = std::make_shared<KeyNode>();
    bool complete = true;
};

std::optional<std::vector<WideString>> parseKeyLine(const std::string& line) {
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
    TextReader reader(line, 1);
    return reader.pathNames(line.size() - 1);
}

ParsedRegistry parseRegistryText(const std::string& text, FileTimeValue time) {
    ParsedRegistry parsed;
    parsed.root->lastWrite = time;
    KeyPointer current = parsed.root;
    std::istringstream input(text);
    std::string line;
    if (text.empty()) return parsed;
    if (std::getline(input, line) && line != FormatHeader) {
        // Not written by us: whatever can be read is kept, the file itself too.
        parsed.complete = false;
        input.seekg(0);
    }
    while (std::getline(input, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            // The values under a key line that cannot be read are skipped with it.
            std::optional<std::vector<WideString>> path = parseKeyLine(line);
            current = path ? descendCreating(parsed.root, *path, time) : nullptr;
            parsed.complete = parsed.complete && path.has_value();
            continue;
        }
        std::optional<RegistryValue> value = current ? parseValueLine(line) : std::nullopt;
        if (value) storeValue(*current, std::move(*value));
        parsed.complete = parsed.complete && value.has_value();
    }
    return parsed;
}

// ---- The file on disk ---------------------------------------------------------------

std::string defaultRegistryFile() {
    if (const char* file = std::getenv("QUORVANE_REGISTRY_FILE"); file && *file) return file;
    return UserConfigurationFolder() + "/registry";
}

// Writes a temporary file beside the target and renames it over the target,
// so the file is always either the old or the new registry. 0 or the errno.
int writeAtomically(const std::string& path, const std::string& text) {
    const std::filesystem::path target(path);
    if (!CreatePrivateFolders(target.parent_path())) return errno;
    std::string temporary = path + ".XXXXXX";
    const int file = ::mkstemp(temporary.data());
    if (file < 0) return errno;
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = ::write(file, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) break;
        written += static_cast<std::size_t>(count);
    }
    int error = written == text.size() ? 0 : (errno ? errno : EIO);
    if (error == 0 && ::fsync(file) != 0) error = errno;
    if (::close(file) != 0 && error == 0) error = errno;
    if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) ::unlink(temporary.c_str());
    return error;
}

constexpr FileTimeValue FileTimeTicksPerSecond = 10000000;
constexpr FileTimeValue NanosecondsPerFileTimeTick = 100;

FileTimeValue fileTimeOf(const struct stat& status) {
    return UnixEpochInFileTime + static_cast<FileTimeValue>(status.st_mtim.tv_sec) * FileTimeTicksPerSecond +
           static_cast<FileTimeValue>(status.st_mtim.tv_nsec) / NanosecondsPerFileTimeTick;
}

// The whole file into `text`; 0 or the errno (EISDIR for a folder).
int readWholeFile(const std::string& path, std::string& text) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) return errno;
    struct stat status {};
    int error = ::fstat(file, &status) != 0 ? errno : S_ISDIR(status.st_mode) ? EISDIR : 0;
    char buffer[64 * 1024];
    while (error == 0) {
        const ssize_t count = ::read(file, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) error = errno;
        if (count <= 0) break;
        text.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(file);
    return error;
}

// A registry file reached through a symbolic link is replaced where the link points.
std::string linkTarget(const std::string& path) {
    std::error_code error;
    const std::filesystem::path target = std::filesystem::canonical(path, error);
    return error ? path : target.string();
}

// ---- Open keys and the registry state -----------------------------------------------

constexpr REGSAM GenericRead = 0x80000000;
constexpr REGSAM GenericWrite = 0x40000000;
constexpr REGSAM GenericAll = 0x10000000;
constexpr REGSAM MaximumAllowed = 0x02000000;

REGSAM specificRights(REGSAM access) {
    REGSAM rights = access & KEY_ALL_ACCESS;
    if (access & (GenericAll | MaximumAllowed)) rights |= KEY_ALL_ACCESS;
    if (access & GenericRead) rights |= KEY_READ;
    if (access & GenericWrite) rights |= KEY_WRITE;
    return rights;
}

struct OpenKey {
    KeyPointer key;
    REGSAM access = 0;
    bool readOnlyHive = false;
};

constexpr UINT_PTR FirstKeyHandle = 0x100;
constexpr UINT_PTR KeyHandleStep = 4;

class RegistryState {
public:
    std::mutex mutex;

    void setFile(const std::string& path) {
        if (userRoot_) markDeleted(*userRoot_);
        userRoot_.reset();
        fileOverride_ = path;
    }

    // What a handle stands for; fails with the reason.
    LSTATUS resolve(HKEY handle, OpenKey& result) {
        if (handle == HKEY_CURRENT_USER) {
            // A file that is there but cannot be read is no empty registry.
            if (userRoot(); loadError_ != ERROR_SUCCESS) return loadError_;
            result = {userRoot(), KEY_ALL_ACCESS, false};
        } else if (handle == HKEY_LOCAL_MACHINE) {
            result = {machineRoot_, KEY_READ, true};
        } else {
            auto found = openKeys_.find(handle);
            if (found == openKeys_.end()) return ERROR_INVALID_HANDLE;
            result = found->second;
        }
        return result.key->deleted ? ERROR_KEY_DELETED : ERROR_SUCCESS;
    }

    HKEY open(OpenKey key) {
        HKEY handle = reinterpret_cast<HKEY>(nextHandle_);
        nextHandle_ += KeyHandleStep;
        openKeys_[handle] = std::move(key);
        return handle;
    }

    LSTATUS close(HKEY handle) {
        if (handle == HKEY_CURRENT_USER || handle == HKEY_LOCAL_MACHINE) return ERROR_SUCCESS;
        return openKeys_.erase(handle) == 1 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
    }

    // Saves the tree after a change; on failure `undo` takes the change back.
    LSTATUS commit(const std::function<void()>& undo) {
        userRoot();
        LSTATUS status = loadError_;
        if (status == ERROR_SUCCESS) {
            int error = keepDamagedFile();
            if (error == 0) error = writeAtomically(linkTarget(filePath_), registryText(*userRoot_));
            if (error != 0) status = OSErrorFromErrno(error);
        }
        if (status != ERROR_SUCCESS) undo();
        return status;
    }

private:
    const KeyPointer& userRoot() {
        if (!userRoot_) load();
        return userRoot_;
    }

    void load() {
        filePath_ = fileOverride_.empty() ? defaultRegistryFile() : fileOverride_;
        loadError_ = ERROR_SUCCESS;
        damagedFile_ = false;
        userRoot_ = std::make_shared<KeyNode>();
        userRoot_->lastWrite = fileTimeNow();
        std::string text;
        const int error = readWholeFile(filePath_, text);
        if (error == ENOENT || error == ENOTDIR) return;
        // A file that exists but cannot be read must be neither overwritten nor taken as empty.
        if (error != 0) {
            loadError_ = ERROR_ACCESS_DENIED;
            return;
        }
        struct stat status {};
        ::stat(filePath_.c_str(), &status);
        ParsedRegistry parsed = parseRegistryText(text, fileTimeOf(status));
        userRoot_ = std::move(parsed.root);
        damagedFile_ = !parsed.complete;
    }

    // A file with lines we could not read is kept aside before it is replaced;
    // 0 or the errno that stops the replacement. The copy goes through the
    // loops that carry on after a signal and takes the backup's place whole,
    // so no backup is ever cut short.
    int keepDamagedFile() {
        if (!damagedFile_) return 0;
        std::string text;
        int error = readWholeFile(filePath_, text);
        if (error == 0) error = writeAtomically(filePath_ + ".bak", text);
        if (error != 0) return error;
        damagedFile_ = false;
        return 0;
    }

    std::string fileOverride_;
    std::string filePath_;
    KeyPointer userRoot_;
    KeyPointer machineRoot_ = std::make_shared<KeyNode>();
    LSTATUS loadError_ = ERROR_SUCCESS;
    bool damagedFile_ = false;
    std::map<HKEY, OpenKey> openKeys_;
    UINT_PTR nextHandle_ = FirstKeyHandle;
};

RegistryState& registry() {
    static RegistryState state;
    return state;
}

// ---- Paths and names from the callers -----------------------------------------------

WideString wideArgument(LPCWSTR text) {
    return text ? WideString(text) : WideString();
}
WideString wideArgument(LPCSTR text) {
    return text ? AnsiToWide(text) : WideString();
}

// The names of a relative sub-key path; a trailing separator is allowed.
LSTATUS splitSubKey(const WideString& subKey, std::vector<WideString>& names) {
    names.clear();
    if (subKey.empty()) return ERROR_SUCCESS;
    if (subKey.front() == KeySeparator) return ERROR_BAD_PATHNAME;
    std::size_t start = 0;
    while (start < subKey.size()) {
        std::size_t end = subKey.find(KeySeparator, start);
        if (end == WideString::npos) end = subKey.size();
        if (end == start) return ERROR_BAD_PATHNAME;
        if (end - start > MaxKeyNameLength) return ERROR_INVALID_PARAMETER;
        names.push_back(subKey.substr(start, end - start));
        start = end + 1;
    }
    return ERROR_SUCCESS;
}

KeyPointer descend(KeyPointer key, const std::vector<WideString>& names) {
    for (const WideString& name : names) {
        if (!key) break;
        key = key->subKey(name);
    }
    return key;
}

// Resolves the handle and checks that it carries `rights`.
LSTATUS resolveWithRights(RegistryState& state, HKEY handle, REGSAM rights, OpenKey& key) {
    LSTATUS status = state.resolve(handle, key);
    if (status != ERROR_SUCCESS) return status;
    return (key.access & rights) == rights ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

LSTATUS resolveForChange(RegistryState& state, HKEY handle, REGSAM rights, OpenKey& key) {
    LSTATUS status = resolveWithRights(state, handle, rights, key);
    if (status == ERROR_SUCCESS && key.readOnlyHive) return ERROR_ACCESS_DENIED;
    return status;
}

// ---- Operations on wide names -------------------------------------------------------

LSTATUS openKey(HKEY handle, const WideString& subKey, REGSAM access, PHKEY result) {
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    std::vector<WideString> names;
    if (LSTATUS status = splitSubKey(subKey, names); status != ERROR_SUCCESS) return status;
    RegistryState& state = registry();
    std::lock_guard lock(state.mutex);
    OpenKey parent;
    if (LSTATUS status = state.resolve(handle, parent); status != ERROR_SUCCESS) return status;
    KeyPointer key = descend(parent.key, names);
    if (!key) return ERROR_FILE_NOT_FOUND;
    *result = state.open({key, specificRights(access), parent.readOnlyHive});
    return ERROR_SUCCESS;
}

LSTATUS createKey(HKEY handle, const WideString& subKey, REGSAM access, PHKEY result, LPDWORD disposition) {
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    std::vector<WideString> names;
    if (LSTATUS status = splitSubKey(subKey, names); status != ERROR_SUCCESS) return status;
    RegistryState& state = registry();
    std::lock_guard lock(state.mutex);
    OpenKey parent;
    if (LSTATUS status = state.resolve(handle, parent); status != ERROR_SUCCESS) return status;
    KeyPointer existing = descend(parent.key, names);
    if (!existing) {
        if ((parent.access & KEY_CREATE_SUB_KEY) == 0 || parent.readOnlyHive) return ERROR_ACCESS_DENIED;
        // Remember the first key that has to be made: taking it away undoes the whole creation.
        KeyPointer owner = parent.key;
        std::size_t firstNew = 0;
        while (KeyPointer next = owner->subKey(names[firstNew])) {
            owner = next;
            ++firstNew;
        }
        const FileTimeValue now = fileTimeNow();
        const std::vector<WideString> missing(names.begin() + static_cast<std::ptrdiff_t>(firstNew),
                                              names.end());
        existing = descendCreating(owner, missing, now);
        owner->lastWrite = now;
        const WideString firstKey = upperCase(missing.front());
        LSTATUS status = state.commit([&] {
            markDeleted(*owner->subKeys[firstKey]);
            owner->subKeys.erase(firstKey);
        });
        if (status != ERROR_SUCCESS) return status;
        if (disposition) *disposition = REG_CREATED_NEW_KEY;
    } else if (disposition) {
        *disposition = REG_OPENED_EXISTING_KEY;
    }
    *result = state.open({existing, specificRights(access), parent.readOnlyHive});
    return ERROR_SUCCESS;
}

LSTATUS deleteKey(HKEY handle, const WideString& subKey) {
    std::vector<WideString> names;
    if (LSTATUS status = splitSubKey(subKey, names); status != ERROR_SUCCESS) return status;
    RegistryState& state = registry();
    std::lock_guard lock(state.mutex);
    OpenKey parent;
    if (LSTATUS status = state.resolve(handle, parent); status != ERROR_SUCCESS) return status;
    KeyPointer key = descend(parent.key, names);
    if (!key) return ERROR_FILE_NOT_FOUND;
    // Neither a key with sub-keys nor the handle's own key can go.
    if (parent.readOnlyHive || !key->subKeys.empty() || names.empty()) return ERROR_ACCESS_DENIED;
    std::vector<WideString> ownerPath(names.begin(), names.end() - 1);
    KeyPointer owner = descend(parent.key, ownerPath);
    const WideString upper = upperCase(names.back());
    owner->subKeys.erase(upper);
    key->deleted = true;
    const FileTimeValue previousWrite = owner->lastWrite;
    owner->lastWrite = fileTimeNow();
    return state.commit([&] {
        key->deleted = false;
        owner->subKeys[upper] = key;
        owner->lastWrite = previousWrite;
    });
}

LSTATUS setValue(HKEY handle, const WideString& name, DWORD type, Bytes data) {
    RegistryState& state = registry();
    std::lock_guard lock(state.mutex);
    OpenKey key;
    if (LSTATUS status = resolveForChange(state, handle, KEY_SET_VALUE, key); status != ERROR_SUCCESS)
        return status;
    KeyNode& node = *key.key;
    auto existing = node.findValue(name);
    std::optional<RegistryValue> previous;
    if (existing != node.values.end()) previous = *existing;
    // A value set again keeps its place in the enumeration and the name it was first given.
    storeValue(node, {previous ? previous->name : name, type, std::move(data)});
    node.lastWrite = fileTimeNow();
    return state.commit([&] {
        auto changed = node.findValue(name);
        if (previous)
            *changed = *previous;
        else
            node.values.erase(changed);
    });
}

LSTATUS deleteValue(HKEY handle, const WideString& name) {
    RegistryState& state = registry();
    std::lock_guard lock(state.mutex);
    OpenKey key;
    if (LSTATUS status = resolveForChange(state, handle, KEY_SET_VALUE, key); status != ERROR_SUCCESS)
        return status;
    KeyNode& node = *key.key;
    auto existing = node.findValue(name);
    if (existing == node.values.end()) return ERROR_FILE_NOT_FOUND;
    const auto position = existing - node.values.begin();
    RegistryValue removed = std::move(*existing);
    node.values.erase(existing);
    node.lastWrite = fileTimeNow();
    return state.commit([&] { node.values.insert(node.values.begin() + position, std::move(removed)); });
}

// ---- Data as the A and W calls see it -----------------------------------------------

struct Wide {
    using Char = WCHAR;
    static Bytes dataIn(DWORD, const BYTE* data, DWORD size) { return Bytes(data, data + size); }
    static Bytes dataOut(const RegistryValue& value) { return value.data; }
    static WideString nameOut(const WideString& name) { return name; }
};

struct Ansi {
    using Char = char;
    static Bytes dataIn(DWORD type, const BYTE* data, DWORD size) {
        if (!isStringType(type)) return Bytes(data, data + size);
        return bytesOfText(AnsiToWide(AnsiString(reinterpret_cast<const char*>(data), size)));
    }
    static Bytes dataOut(const RegistryValue& value) {
        if (!isStringType(value.type)) return value.data;
        const AnsiString text = WideToAnsi(textOfBytes(value.data));
        return Bytes(text.begin(), text.end());
    }
    static AnsiString nameOut(const WideString& name) { return WideToAnsi(name); }
};

// Copies data the registry way: a size query without a buffer, ERROR_MORE_DATA
// with the size needed when the buffer is short.
LSTATUS copyData(const Bytes& bytes, LPBYTE data, LPDWORD dataSize) {
    if (!dataSize) return data ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
    const DWORD needed = static_cast<DWORD>(bytes.size());
    const bool fits = *dataSize >= needed;
    *dataSize = needed;
    if (!data) return ERROR_SUCCESS;
    if (!fits) return ERROR_MORE_DATA;
    std::copy(bytes.begin(), bytes.end(), data);
    return ERROR_SUCCESS;
}

// Copies a name with its terminator; the size goes in with the terminator and
// comes out without it.
template <typename Char, typename Text> LSTATUS copyName(const Text& text, Char* name, LPDWORD nameSize) {
    if (!name || !nameSize) return ERROR_INVALID_PARAMETER;
    if (*nameSize < text.size() + 1) return ERROR_MORE_DATA;
    std::copy(text.begin(), text.end(), name);
    name[text.size()] = 0;
    *nameSize = static_cast<DWORD>(text.size());
    return ERROR_SUCCESS;
}

void putFileTime(FileTimeValue time, FILETIME* target) {
    if (!target) return;
    target->dwLowDateTime = static_cast<DWORD>(time);
    target->dwHighDateTime = static_cast<DWORD>(time >> 32);
}

template <typename Form>
LSTATUS queryValue(HKEY handle, const WideString& name, LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    RegistryState& state = registry();
    std::lock_guard lock(state.mutex);
    OpenKey key;
    if (LSTATUS status = resolveWithRights(state, handle, KEY_QUERY_VALUE, key); status != ERROR_SUCCESS)
        return status;
    auto value = key.key->findValue(name);
    if (value == key.key->values.end()) return ERROR_FILE_NOT_FOUND;
    if (type) *type = value->type;
    return copyData(Form::dataOut(*value), data, dataSize);
}

template <typename Form>
LSTATUS setValueFrom(HKEY handle, const WideString& name, DWORD type, const BYTE* data, DWORD dataSize) {
    if (!data && dataSize > 0) return ERROR_INVALID_PARAMETER;
    return setValue(handle, name, type, data ? Form::dataIn(type, data, dataSize) : Bytes());
}

template <typename Form>
LSTATUS enumKey(HKEY handle, DWORD index, typename Form::Char* name, LPDWORD nameSize,
                typename Form::Char* keyClass, LPDWORD classSize, FILETIME* lastWriteTime) {
    RegistryState& state = registry();
    std::lock_guard lock(state.mutex);
    OpenKey key;
    if (LSTATUS status = resolveWithRights(state, handle, KEY_ENUMERATE_SUB_KEYS, key);
        status != ERROR_SUCCESS)
        return status;
    if (index >= key.key->subKeys.size()) return ERROR_NO_MORE_ITEMS;
    const KeyNode& child = *std::next(key.key->subKeys.begin(), index)->second;
    if (LSTATUS status = copyName(Form::nameOut(child.name), name, nameSize); status != ERROR_SUCCESS)
        return status;
    if (keyClass && classSize && *classSize > 0) keyClass[0] = 0;
    if (classSize) *classSize = 0;
    putFileTime(child.lastWrite, lastWriteTime);
    return ERROR_SUCCESS;
}

template <typename Form>
LSTATUS enumValue(HKEY handle, DWORD index, typename Form::Char* name, LPDWORD nameSize, LPDWORD type,
                  LPBYTE data, LPDWORD dataSize) {
    RegistryState& state = registry();
    std::lock_guard lock(state.mutex);
    OpenKey key;
    if (LSTATUS status = resolveWithRights(state, handle, KEY_QUERY_VALUE, key); status != ERROR_SUCCESS)
        return status;
    if (index >= key.key->values.size()) return ERROR_NO_MORE_ITEMS;
    const RegistryValue& value = key.key->values[index];
    if (LSTATUS status = copyName(Form::nameOut(value.name), name, nameSize); status != ERROR_SUCCESS)
        return status;
    if (type) *type = value.type;
    return copyData(Form::dataOut(value), data, dataSize);
}

void putCount(LPDWORD target, std::size_t count) {
    if (target) *target = static_cast<DWORD>(count);
}

template <typename Char>
LSTATUS queryInfoKey(HKEY handle, Char* keyClass, LPDWORD classSize, LPDWORD subKeys, LPDWORD maxSubKeyLength,
                     LPDWORD maxClassLength, LPDWORD values, LPDWORD maxValueNameLength,
                     LPDWORD maxValueLength, LPDWORD securityDescriptorSize, FILETIME* lastWriteTime) {
    RegistryState& state = registry();
    std::lock_guard lock(state.mutex);
    OpenKey key;
    if (LSTATUS status = resolveWithRights(state, handle, KEY_QUERY_VALUE, key); status != ERROR_SUCCESS)
        return status;
    const KeyNode& node = *key.key;
    std::size_t longestKey = 0;
    for (const auto& [upper, child] : node.subKeys)
        longestKey = std::max(longestKey, child->name.size());
    std::size_t longestName = 0;
    std::size_t largestData = 0;
    for (const RegistryValue& value : node.values) {
        longestName = std::max(longestName, value.name.size());
        largestData = std::max(largestData, value.data.size());
    }
    if (keyClass && classSize && *classSize > 0) keyClass[0] = 0;
    putCount(classSize, 0);
    putCount(subKeys, node.subKeys.size());
    putCount(maxSubKeyLength, longestKey);
    putCount(maxClassLength, 0);
    putCount(values, node.values.size());
    putCount(maxValueNameLength, longestName);
    putCount(maxValueLength, largestData);
    putCount(securityDescriptorSize, 0);
    putFileTime(node.lastWrite, lastWriteTime);
    return ERROR_SUCCESS;
}

} // namespace

LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM access, PHKEY result) {
    return openKey(key, wideArgument(subKey), access, result);
}

LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD, REGSAM access, PHKEY result) {
    return openKey(key, wideArgument(subKey), access, result);
}

LSTATUS RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM access,
                        const SECURITY_ATTRIBUTES*, PHKEY result, LPDWORD disposition) {
    return createKey(key, wideArgument(subKey), access, result, disposition);
}

LSTATUS RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD, LPWSTR, DWORD, REGSAM access,
                        const SECURITY_ATTRIBUTES*, PHKEY result, LPDWORD disposition) {
    return createKey(key, wideArgument(subKey), access, result, disposition);
}

LSTATUS RegCloseKey(HKEY key) {
    RegistryState& state = registry();
    std::lock_guard lock(state.mutex);
    return state.close(key);
}

LSTATUS RegFlushKey(HKEY key) {
    // Every change is already in the file; only the handle is checked.
    RegistryState& state = registry();
    std::lock_guard lock(state.mutex);
    OpenKey resolved;
    return state.resolve(key, resolved);
}

LSTATUS RegDeleteKeyA(HKEY key, LPCSTR subKey) {
    return deleteKey(key, wideArgument(subKey));
}

LSTATUS RegDeleteKeyW(HKEY key, LPCWSTR subKey) {
    return deleteKey(key, wideArgument(subKey));
}

LSTATUS RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    return queryValue<Ansi>(key, wideArgument(valueName), type, data, dataSize);
}

LSTATUS RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    return queryValue<Wide>(key, wideArgument(valueName), type, data, dataSize);
}

LSTATUS RegSetValueExA(HKEY key, LPCSTR valueName, DWORD, DWORD type, const BYTE* data, DWORD dataSize) {
    return setValueFrom<Ansi>(key, wideArgument(valueName), type, data, dataSize);
}

LSTATUS RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD, DWORD type, const BYTE* data, DWORD dataSize) {
    return setValueFrom<Wide>(key, wideArgument(valueName), type, data, dataSize);
}

LSTATUS RegDeleteValueA(HKEY key, LPCSTR valueName) {
    return deleteValue(key, wideArgument(valueName));
}

LSTATUS RegDeleteValueW(HKEY key, LPCWSTR valueName) {
    return deleteValue(key, wideArgument(valueName));
}

LSTATUS RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD, LPSTR keyClass,
                      LPDWORD classSize, FILETIME* lastWriteTime) {
    return enumKey<Ansi>(key, index, name, nameSize, keyClass, classSize, lastWriteTime);
}

LSTATUS RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameSize, LPDWORD, LPWSTR keyClass,
                      LPDWORD classSize, FILETIME* lastWriteTime) {
    return enumKey<Wide>(key, index, name, nameSize, keyClass, classSize, lastWriteTime);
}

LSTATUS RegEnumValueA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD, LPDWORD type, LPBYTE data,
                      LPDWORD dataSize) {
    return enumValue<Ansi>(key, index, name, nameSize, type, data, dataSize);
}

LSTATUS RegEnumValueW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameSize, LPDWORD, LPDWORD type,
                      LPBYTE data, LPDWORD dataSize) {
    return enumValue<Wide>(key, index, name, nameSize, type, data, dataSize);
}

LSTATUS RegQueryInfoKeyA(HKEY key, LPSTR keyClass, LPDWORD classSize, LPDWORD, LPDWORD subKeys,
                         LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values,
                         LPDWORD maxValueNameLength, LPDWORD maxValueLength, LPDWORD securityDescriptorSize,
                         FILETIME* lastWriteTime) {
    return queryInfoKey(key, keyClass, classSize, subKeys, maxSubKeyLength, maxClassLength, values,
                        maxValueNameLength, maxValueLength, securityDescriptorSize, lastWriteTime);
}

LSTATUS RegQueryInfoKeyW(HKEY key, LPWSTR keyClass, LPDWORD classSize, LPDWORD, LPDWORD subKeys,
                         LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values,
                         LPDWORD maxValueNameLength, LPDWORD maxValueLength, LPDWORD securityDescriptorSize,
                         FILETIME* lastWriteTime) {
    return queryInfoKey(key, keyClass, classSize, subKeys, maxSubKeyLength, maxClassLength, values,
                        maxValueNameLength, maxValueLength, securityDescriptorSize, lastWriteTime);
}

void SetRegistryFile(const std::string& nativePath) {
    RegistryState& state = registry();
    std::lock_guard lock(state.mutex);
    state.setFile(nativePath);
}
