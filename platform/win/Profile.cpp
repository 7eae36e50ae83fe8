// The profile calls over the settings-file reader, which already keeps the
// profile's rules for names, blanks, quotes and safe writes; what is left
// here is the calls' buffers, their truncation rules and their errors.
#include "platform/win/Profile.h"

#include "platform/core/CodePages.h"
#include "platform/core/FileUtils.h"
#include "platform/core/IniFiles.h"
#include "platform/core/SysUtils.h"
#include "platform/win/ConfigurationFolder.h"
#include "platform/win/LastError.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <vector>

namespace {

std::mutex& profileMutex() {
    static std::mutex mutex;
    return mutex;
}

std::string& profileFileOverride() {
    static std::string path;
    return path;
}

std::string profileFile() {
    std::lock_guard lock(profileMutex());
    if (!profileFileOverride().empty()) return profileFileOverride();
    if (const char* file = std::getenv("QUORVANE_PROFILE_FILE"); file && *file) return file;
    return UserConfigurationFolder() + "/win.ini";
}

TIniFile profile() {
    return TIniFile(FromNativeFileName(profileFile()));
}

// What a read found: one value, or a list of names.
struct ProfileAnswer {
    std::vector<AnsiString> strings;
    bool isList = false;
};

std::vector<AnsiString> linesOf(const TStrings& strings) {
    std::vector<AnsiString> lines;
    for (Integer i = 0; i < strings.Count(); ++i)
        lines.push_back(strings[i]);
    return lines;
}

AnsiString withoutTrailingBlanks(AnsiString text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

// The last error tells whether what was asked for is there.
ProfileAnswer readProfile(const char* section, const char* key, const char* defaultText) {
    const TIniFile file = profile();
    TStringList names;
    if (!section) {
        file.ReadSections(&names);
        SetLastError(ERROR_SUCCESS);
        return {linesOf(names), true};
    }
    if (!key) {
        file.ReadSection(section, &names);
        SetLastError(names.Count() > 0 ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND);
        return {linesOf(names), true};
    }
    if (file.ValueExists(section, key)) {
        const AnsiString value = file.ReadString(section, key, "");
        SetLastError(ERROR_SUCCESS);
        return {{value}, false};
    }
    SetLastError(ERROR_FILE_NOT_FOUND);
    return {{withoutTrailingBlanks(defaultText ? defaultText : "")}, false};
}

template <class Char> using Text = std::basic_string<Char>;

std::vector<Text<char>> inCharSet(const std::vector<AnsiString>& strings, char) {
    return strings;
}

std::vector<Text<WCHAR>> inCharSet(const std::vector<AnsiString>& strings, WCHAR) {
    std::vector<Text<WCHAR>> wide;
    for (const AnsiString& text : strings)
        wide.push_back(AnsiToWide(text));
    return wide;
}

template <class Char> DWORD copyValue(const Text<Char>& value, Char* buffer, DWORD size) {
    const DWORD copied = std::min<DWORD>(static_cast<DWORD>(value.size()), size - 1);
    std::copy_n(value.begin(), copied, buffer);
    buffer[copied] = 0;
    return copied;
}

// Each name ends with a null and the list with one more; the count leaves the last one out.
template <class Char> DWORD copyList(const std::vector<Text<Char>>& names, Char* buffer, DWORD size) {
    if (names.empty()) {
        buffer[0] = 0;
        if (size > 1) buffer[1] = 0;
        return 0;
    }
    Text<Char> list;
    for (const Text<Char>& name : names)
        list += name + Char(0);
    list += Char(0);
    if (list.size() <= size) {
        std::copy(list.begin(), list.end(), buffer);
        return static_cast<DWORD>(list.size() - 1);
    }
    if (size < 2) {
        buffer[0] = 0;
        return 0;
    }
    std::copy_n(list.begin(), size - 2, buffer);
    buffer[size - 2] = buffer[size - 1] = 0;
    return size - 2;
}

template <class Char> DWORD answer(const ProfileAnswer& found, Char* buffer, DWORD size) {
    if (!buffer || size == 0) return 0;
    const std::vector<Text<Char>> strings = inCharSet(found.strings, Char());
    return found.isList ? copyList(strings, buffer, size) : copyValue(strings.front(), buffer, size);
}

std::optional<AnsiString> ansiOf(LPCWSTR text) {
    if (!text) return std::nullopt;
    return WideToAnsi(text);
}

const char* pointerOf(const std::optional<AnsiString>& text) {
    return text ? text->c_str() : nullptr;
}

bool makeProfileFolder() {
    errno = 0;
    if (CreatePrivateFolders(std::filesystem::path(profileFile()).parent_path())) return true;
    SetLastError(OSErrorFromErrno(errno));
    return false;
}

// Every font made asks for its substitute: values are read from the file
// again only once it has changed.
struct FileStamp {
    std::string path;
    bool exists = false;
    std::filesystem::file_time_type written{};
    std::uintmax_t size = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp stampOf(const std::string& path) {
    std::error_code missing;
    const auto written = std::filesystem::last_write_time(path, missing);
    if (missing) return {path};
    const auto size = std::filesystem::file_size(path, missing);
    return {path, !missing, written, missing ? 0 : size};
}

struct ValueCache {
    FileStamp stamp;
    std::map<std::pair<AnsiString, AnsiString>, std::optional<AnsiString>> values;
};

std::mutex& valueCacheMutex() {
    static std::mutex mutex;
    return mutex;
}

ValueCache& valueCache() {
    static ValueCache cache;
    return cache;
}

} // namespace

DWORD GetProfileStringA(LPCSTR appName, LPCSTR keyName, LPCSTR defaultText, LPSTR returnedString,
                        DWORD size) {
    return answer(readProfile(appName, keyName, defaultText), returnedString, size);
}

DWORD GetProfileStringW(LPCWSTR appName, LPCWSTR keyName, LPCWSTR defaultText, LPWSTR returnedString,
                        DWORD size) {
    const auto section = ansiOf(appName), key = ansiOf(keyName), fallback = ansiOf(defaultText);
    return answer(readProfile(pointerOf(section), pointerOf(key), pointerOf(fallback)), returnedString, size);
}

BOOL WriteProfileStringA(LPCSTR appName, LPCSTR keyName, LPCSTR value) {
    if (!appName) {
        if (!keyName && !value) return TRUE;
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!makeProfileFolder()) return FALSE;
    TIniFile file = profile();
    try {
        if (!keyName)
            file.EraseSection(appName);
        else if (!value)
            file.DeleteKey(appName, keyName);
        else
            file.WriteString(appName, keyName, value);
    } catch (const Exception&) {
        // The reader left the reason of the failed write in the last error.
        return FALSE;
    }
    return TRUE;
}

BOOL WriteProfileStringW(LPCWSTR appName, LPCWSTR keyName, LPCWSTR value) {
    const auto section = ansiOf(appName), key = ansiOf(keyName), text = ansiOf(value);
    return WriteProfileStringA(pointerOf(section), pointerOf(key), pointerOf(text));
}

std::optional<AnsiString> ProfileValue(const AnsiString& section, const AnsiString& key) {
    const DWORD lastError = GetLastError();
    const std::string path = profileFile();
    const FileStamp stamp = stampOf(path);
    std::lock_guard lock(valueCacheMutex());
    ValueCache& cache = valueCache();
    if (!(cache.stamp == stamp)) cache = ValueCache{stamp, {}};
    const auto name = std::make_pair(LowerCase(section), LowerCase(key));
    auto found = cache.values.find(name);
    if (found == cache.values.end()) {
        const TIniFile file(FromNativeFileName(path));
        std::optional<AnsiString> value;
        if (file.ValueExists(section, key)) value = file.ReadString(section, key, "");
        found = cache.values.emplace(name, value).first;
    }
    SetLastError(lastError);
    return found->second;
}

void SetProfileFile(const std::string& nativePath) {
    std::lock_guard lock(profileMutex());
    profileFileOverride() = nativePath;
}
