// One process-wide table guarded by a mutex; names are compared by their
// upper-case form, and the lowest free number is reused.
#include "platform/win/Atoms.h"

#include "platform/core/CodePages.h"
#include "platform/win/LastError.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace {

constexpr std::size_t MaxAtomNameLength = 255;
constexpr UINT_PTR IntegerNameLimit = 0x10000;
constexpr ATOM LastAtom = 0xFFFF;

struct AtomEntry {
    WideString name;
    unsigned references = 0;
};

struct AtomTable {
    std::mutex mutex;
    std::map<ATOM, AtomEntry> entries;
    std::unordered_map<WideString, ATOM> atomsByKey;
};

AtomTable& atomTable() {
    static AtomTable table;
    return table;
}

WideString lookupKey(const WideString& name) {
    WideString key = name;
    std::transform(key.begin(), key.end(), key.begin(), WideCharUpper);
    return key;
}

// What a name argument asks for: an integer atom, or a string to look up.
struct AtomRequest {
    std::optional<ATOM> integer;
    WideString name;
    bool valid = true;
};

bool isDecimal(const WideString& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](WCHAR c) { return c >= u'0' && c <= u'9'; });
}

AtomRequest integerRequest(unsigned long value) {
    AtomRequest request;
    request.valid = value > 0 && value < MAXINTATOM;
    if (request.valid) request.integer = static_cast<ATOM>(value);
    return request;
}

AtomRequest requestFromText(const WideString& text) {
    const WideString digits = text.empty() ? WideString() : text.substr(1);
    if (!text.empty() && text[0] == u'#' && isDecimal(digits)) {
        unsigned long value = 0;
        for (WCHAR digit : digits)
            value = std::min<unsigned long>(value * 10 + (digit - u'0'), MAXINTATOM);
        return integerRequest(value);
    }
    AtomRequest request;
    request.name = text;
    request.valid = !text.empty() && text.size() <= MaxAtomNameLength;
    return request;
}

AtomRequest requestFromName(const void* name, WideString (*text)(const void*)) {
    if (IsIntegerAtomName(name)) return integerRequest(reinterpret_cast<UINT_PTR>(name));
    return requestFromText(text(name));
}

WideString wideText(const void* name) {
    return static_cast<LPCWSTR>(name);
}

WideString ansiText(const void* name) {
    return AnsiToWide(static_cast<LPCSTR>(name));
}

std::optional<ATOM> lowestFreeAtom(const AtomTable& table) {
    ATOM candidate = MAXINTATOM;
    for (const auto& [atom, entry] : table.entries) {
        if (atom != candidate) break;
        if (candidate == LastAtom) return std::nullopt;
        ++candidate;
    }
    return candidate;
}

ATOM addAtom(const AtomRequest& request) {
    if (!request.valid) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (request.integer) return *request.integer;
    AtomTable& table = atomTable();
    std::lock_guard lock(table.mutex);
    const WideString key = lookupKey(request.name);
    if (auto found = table.atomsByKey.find(key); found != table.atomsByKey.end()) {
        ++table.entries[found->second].references;
        return found->second;
    }
    std::optional<ATOM> atom = lowestFreeAtom(table);
    if (!atom) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    table.entries[*atom] = {request.name, 1};
    table.atomsByKey[key] = *atom;
    return *atom;
}

ATOM findAtom(const AtomRequest& request) {
    if (!request.valid) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (request.integer) return *request.integer;
    AtomTable& table = atomTable();
    std::lock_guard lock(table.mutex);
    auto found = table.atomsByKey.find(lookupKey(request.name));
    if (found != table.atomsByKey.end()) return found->second;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
}

std::optional<WideString> atomName(ATOM atom) {
    if (atom == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return std::nullopt;
    }
    if (atom < MAXINTATOM) {
        const std::string number = std::to_string(atom);
        return u"#" + WideString(number.begin(), number.end());
    }
    AtomTable& table = atomTable();
    std::lock_guard lock(table.mutex);
    auto found = table.entries.find(atom);
    if (found != table.entries.end()) return found->second.name;
    SetLastError(ERROR_INVALID_HANDLE);
    return std::nullopt;
}

template <typename Char, typename Text> UINT copyName(const Text& name, Char* buffer, int size) {
    if (size <= 0 || !buffer) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    const std::size_t count = std::min(name.size(), static_cast<std::size_t>(size) - 1);
    std::copy_n(name.begin(), count, buffer);
    buffer[count] = 0;
    return static_cast<UINT>(count);
}

} // namespace

bool IsIntegerAtomName(const void* name) {
    return reinterpret_cast<UINT_PTR>(name) < IntegerNameLimit;
}

ATOM GlobalAddAtomA(LPCSTR name) {
    return addAtom(requestFromName(name, ansiText));
}

ATOM GlobalAddAtomW(LPCWSTR name) {
    return addAtom(requestFromName(name, wideText));
}

ATOM GlobalDeleteAtom(ATOM atom) {
    if (atom < MAXINTATOM) return 0;
    AtomTable& table = atomTable();
    std::lock_guard lock(table.mutex);
    auto found = table.entries.find(atom);
    if (found == table.entries.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return atom;
    }
    if (--found->second.references == 0) {
        table.atomsByKey.erase(lookupKey(found->second.name));
        table.entries.erase(found);
    }
    return 0;
}

ATOM GlobalFindAtomA(LPCSTR name) {
    return findAtom(requestFromName(name, ansiText));
}

ATOM GlobalFindAtomW(LPCWSTR name) {
    return findAtom(requestFromName(name, wideText));
}

UINT GlobalGetAtomNameA(ATOM atom, LPSTR buffer, int size) {
    std::optional<WideString> name = atomName(atom);
    return name ? copyName(WideToAnsi(*name), buffer, size) : 0;
}

UINT GlobalGetAtomNameW(ATOM atom, LPWSTR buffer, int size) {
    std::optional<WideString> name = atomName(atom);
    return name ? copyName(*name, buffer, size) : 0;
}
