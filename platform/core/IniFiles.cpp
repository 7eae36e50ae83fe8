// Settings files read and written line by line, so that a write touches only
// the line it concerns; the file is replaced as a whole only once the new
// content is safely on disk.
#include "platform/core/IniFiles.h"

#include "platform/core/CodePages.h"
#include "platform/core/FileUtils.h"
#include "platform/core/SysUtils.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* SIniFileWriteError = "Unable to write to %s";
constexpr const char* SIniFileUtf16Error = "Unable to write to %s: the file is in UTF-16";
constexpr const char* Utf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr const char* Utf16LittleEndianMark = "\xFF\xFE";
constexpr const char* Utf16BigEndianMark = "\xFE\xFF";

// Reads answer defaults from a file they cannot read; a write must not
// replace such a file, as it would lose everything in it.
enum class Purpose { Reading, Writing };

enum class LineKind { Other, Section, Key };

struct IniLine {
    AnsiString text;
    LineKind kind = LineKind::Other;
    AnsiString name;  // section name or key name
    AnsiString value; // key value, blanks and quotes removed
};

AnsiString trimBlanks(const AnsiString& s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == AnsiString::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

AnsiString unquoted(const AnsiString& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool sameName(const AnsiString& a, const AnsiString& b) {
    return AnsiUpperCase(a) == AnsiUpperCase(b);
}

IniLine classify(AnsiString text, bool first) {
    IniLine line;
    line.text = std::move(text);
    AnsiString content = line.text;
    if (first && content.starts_with(Utf8ByteOrderMark)) content.erase(0, 3);
    content = trimBlanks(content);
    if (content.empty() || content[0] == ';') return line;
    if (content[0] == '[') {
        const std::size_t close = content.find(']');
        if (close != AnsiString::npos) {
            line.kind = LineKind::Section;
            line.name = trimBlanks(content.substr(1, close - 1));
        }
        return line;
    }
    const std::size_t equals = content.find('=');
    if (equals == AnsiString::npos) return line;
    line.kind = LineKind::Key;
    line.name = trimBlanks(content.substr(0, equals));
    line.value = unquoted(trimBlanks(content.substr(equals + 1)));
    return line;
}

// The file's bytes, NUL included; none from a missing file. A file that is
// there but cannot be read raises the stream's error when it is to be written.
std::string fileBytes(const AnsiString& fileName, Purpose purpose) {
    try {
        TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
        std::string bytes(static_cast<std::size_t>(stream.Size()), '\0');
        stream.ReadBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
        return bytes;
    } catch (const EStreamError&) {
        if (purpose == Purpose::Writing && (FileExists(fileName) || DirectoryExists(fileName))) throw;
        return {};
    }
}

bool isUtf16(const std::string& bytes) {
    return bytes.starts_with(Utf16LittleEndianMark) || bytes.starts_with(Utf16BigEndianMark);
}

// A UTF-16 file is read in the ANSI code page; it is never written, since
// the characters outside that code page would be lost.
AnsiString decodedUtf16(const std::string& bytes) {
    const bool bigEndian = bytes.starts_with(Utf16BigEndianMark);
    WideString text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        text += static_cast<WideChar>(bigEndian ? first << 8 | second : second << 8 | first);
    }
    return WideToAnsi(text);
}

// Lines end at CR LF, LF or CR; a break at the very end starts no line.
std::vector<AnsiString> splitLines(const AnsiString& text) {
    std::vector<AnsiString> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == AnsiString::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

// The lines of one settings file and where its sections lie.
class IniDocument {
public:
    IniDocument(const AnsiString& fileName, Purpose purpose) {
        const std::string bytes = fileBytes(fileName, purpose);
        if (isUtf16(bytes) && purpose == Purpose::Writing) {
            SetLastOSError(OSErrorCode::Success);
            throw EIniFileException(Format(SIniFileUtf16Error, {fileName}));
        }
        const std::vector<AnsiString> text = splitLines(isUtf16(bytes) ? decodedUtf16(bytes) : bytes);
        for (std::size_t i = 0; i < text.size(); ++i)
            lines_.push_back(classify(text[i], i == 0));
    }

    const std::vector<IniLine>& lines() const { return lines_; }

    std::optional<std::size_t> findSection(const AnsiString& section) const {
        for (std::size_t i = 0; i < lines_.size(); ++i)
            if (lines_[i].kind == LineKind::Section && sameName(lines_[i].name, section)) return i;
        return std::nullopt;
    }

    // The index after the section's last line.
    std::size_t sectionEnd(std::size_t header) const {
        std::size_t i = header + 1;
        while (i < lines_.size() && lines_[i].kind != LineKind::Section)
            ++i;
        return i;
    }

    std::vector<std::size_t> keysOf(const AnsiString& section) const {
        std::vector<std::size_t> keys;
        if (const auto header = findSection(section))
            for (std::size_t i = *header + 1, end = sectionEnd(*header); i < end; ++i)
                if (lines_[i].kind == LineKind::Key) keys.push_back(i);
        return keys;
    }

    std::optional<std::size_t> findKey(const AnsiString& section, const AnsiString& key) const {
        for (std::size_t i : keysOf(section))
            if (sameName(lines_[i].name, key)) return i;
        return std::nullopt;
    }

    void setValue(const AnsiString& section, const AnsiString& key, const AnsiString& value) {
        if (const auto found = findKey(section, key)) {
            lines_[*found] = classify(lines_[*found].name + "=" + value, false);
            return;
        }
        const auto header = findSection(section);
        if (!header) {
            if (!lines_.empty() && !trimBlanks(lines_.back().text).empty()) lines_.push_back({});
            lines_.push_back(classify("[" + section + "]", false));
            lines_.push_back(classify(key + "=" + value, false));
            return;
        }
        // A new key follows the section's last line that is not blank.
        std::size_t at = *header + 1;
        for (std::size_t i = *header + 1, end = sectionEnd(*header); i < end; ++i)
            if (!trimBlanks(lines_[i].text).empty()) at = i + 1;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), classify(key + "=" + value, false));
    }

    bool eraseSection(const AnsiString& section) {
        const auto header = findSection(section);
        if (!header) return false;
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*header),
                     lines_.begin() + static_cast<std::ptrdiff_t>(sectionEnd(*header)));
        return true;
    }

    bool eraseKey(const AnsiString& section, const AnsiString& key) {
        const auto found = findKey(section, key);
        if (!found) return false;
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*found));
        return true;
    }

    AnsiString text() const {
        AnsiString text;
        for (const IniLine& line : lines_)
            text += line.text + "\r\n";
        return text;
    }

private:
    std::vector<IniLine> lines_;
};

bool writeAll(THandle handle, const AnsiString& text) {
    return FileWrite(handle, text.data(), static_cast<Cardinal>(text.size())) ==
           static_cast<Integer>(text.size());
}

// 0 or the errno of the failure; a short write without one counts as EIO.
int errnoOrIo() {
    return errno != 0 ? errno : EIO;
}

int writeInPlace(const std::string& target, const AnsiString& text) {
    errno = 0;
    const THandle handle = FileCreate(FromNativeFileName(target));
    if (handle == InvalidHandle) return errnoOrIo();
    const int error = writeAll(handle, text) ? 0 : errnoOrIo();
    FileClose(handle);
    return error;
}

// A file the user may not write is refused, as the profile calls refuse it:
// one without write permission for the user (the read-only attribute, which
// binds every user, the administrator too), or one the user's rights do not
// let them write. Leave to create files in its folder is no leave to replace it.
int writeRefusal(const std::string& target, const struct stat& existing) {
    if ((existing.st_mode & S_IWUSR) == 0) return EACCES;
    return ::access(target.c_str(), W_OK) == 0 ? 0 : errno;
}

// An existing file gets its new content beside it and is then replaced by a
// rename, so that a failure in the middle never leaves a cut settings file;
// when the folder takes no new file, the file is written in place. 0 or the
// errno of the failure.
int replaceFileContents(const AnsiString& fileName, const AnsiString& text) {
    std::string target = NativeFileName(fileName);
    if (char* real = ::realpath(target.c_str(), nullptr)) {
        target = real;
        std::free(real);
    }
    struct stat existing {};
    if (::stat(target.c_str(), &existing) != 0) return writeInPlace(target, text);
    if (const int refusal = writeRefusal(target, existing)) return refusal;
    std::string temporary = target + ".~ini-XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return writeInPlace(target, text);
    errno = 0;
    int error = writeAll(fd, text) && ::fchmod(fd, existing.st_mode & 07777) == 0 && ::fsync(fd) == 0
                    ? 0
                    : errnoOrIo();
    ::close(fd);
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) == 0) return 0;
    if (error == 0) error = errno;
    ::unlink(temporary.c_str());
    return error;
}

// Keeps a BeginUpdate/EndUpdate bracket balanced when an exception passes.
class UpdateBracket {
public:
    explicit UpdateBracket(TStrings* strings) : strings_(strings) { strings_->BeginUpdate(); }
    UpdateBracket(const UpdateBracket&) = delete;
    UpdateBracket& operator=(const UpdateBracket&) = delete;
    ~UpdateBracket() { strings_->EndUpdate(); }

private:
    TStrings* strings_;
};

// The reason of a refused write is left in GetLastOSError(), where the
// profile calls leave it.
void save(const AnsiString& fileName, const IniDocument& document) {
    const int error = replaceFileContents(fileName, document.text());
    if (error == 0) return;
    SetLastOSError(OSErrorFromErrno(error));
    throw EIniFileException(Format(SIniFileWriteError, {fileName}));
}

} // namespace

AnsiString TIniFile::ReadString(const AnsiString& Section, const AnsiString& Ident,
                                const AnsiString& Default) const {
    const IniDocument document(fileName_, Purpose::Reading);
    const auto found = document.findKey(Section, Ident);
    return found ? document.lines()[*found].value : Default;
}

void TIniFile::WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value) {
    IniDocument document(fileName_, Purpose::Writing);
    document.setValue(Section, Ident, Value);
    save(fileName_, document);
}

Integer TIniFile::ReadInteger(const AnsiString& Section, const AnsiString& Ident, Integer Default) const {
    AnsiString text = ReadString(Section, Ident, "");
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text = "$" + text.substr(2);
    return StrToIntDef(text, Default);
}

void TIniFile::WriteInteger(const AnsiString& Section, const AnsiString& Ident, Integer Value) {
    WriteString(Section, Ident, IntToStr(Value));
}

bool TIniFile::ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default) const {
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value) {
    WriteString(Section, Ident, Value ? "1" : "0");
}

void TIniFile::ReadSection(const AnsiString& Section, TStrings* Strings) const {
    const IniDocument document(fileName_, Purpose::Reading);
    UpdateBracket update(Strings);
    Strings->Clear();
    for (std::size_t i : document.keysOf(Section))
        Strings->Add(document.lines()[i].name);
}

void TIniFile::ReadSections(TStrings* Strings) const {
    const IniDocument document(fileName_, Purpose::Reading);
    UpdateBracket update(Strings);
    Strings->Clear();
    for (std::size_t i = 0; i < document.lines().size(); ++i) {
        const IniLine& line = document.lines()[i];
        // A section written twice is listed once.
        if (line.kind == LineKind::Section && document.findSection(line.name) == i) Strings->Add(line.name);
    }
}

void TIniFile::ReadSectionValues(const AnsiString& Section, TStrings* Strings) const {
    const IniDocument document(fileName_, Purpose::Reading);
    UpdateBracket update(Strings);
    Strings->Clear();
    for (std::size_t i : document.keysOf(Section))
        Strings->Add(document.lines()[i].name + "=" + document.lines()[i].value);
}

bool TIniFile::SectionExists(const AnsiString& Section) const {
    return !IniDocument(fileName_, Purpose::Reading).keysOf(Section).empty();
}

bool TIniFile::ValueExists(const AnsiString& Section, const AnsiString& Ident) const {
    return IniDocument(fileName_, Purpose::Reading).findKey(Section, Ident).has_value();
}

void TIniFile::EraseSection(const AnsiString& Section) {
    IniDocument document(fileName_, Purpose::Writing);
    if (document.eraseSection(Section)) save(fileName_, document);
}

void TIniFile::DeleteKey(const AnsiString& Section, const AnsiString& Ident) {
    IniDocument document(fileName_, Purpose::Writing);
    if (document.eraseKey(Section, Ident)) save(fileName_, document);
}
