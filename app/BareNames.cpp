#include "app/BareNames.h"

namespace {

bool isSeparator(char C) {
    return C == '\\' || C == '/';
}

bool hasParentPart(const AnsiString& Entry) {
    std::size_t start = 0;
    while (start <= Entry.size()) {
        std::size_t end = start;
        while (end < Entry.size() && !isSeparator(Entry[end]))
            ++end;
        if (Entry.compare(start, end - start, "..") == 0 && end - start == 2) return true;
        start = end + 1;
    }
    return false;
}

// "C:..." or "\\host\...": a place the program folder does not lead to.
bool isAbsoluteElsewhere(const AnsiString& Entry) {
    const bool drive = Entry.size() >= 2 && Entry[1] == ':';
    const bool host = Entry.size() >= 2 && isSeparator(Entry[0]) && isSeparator(Entry[1]);
    return drive || host;
}

} // namespace

AnsiString AfterLastSeparator(const AnsiString& Path) {
    const std::size_t last = Path.find_last_of("\\/");
    return last == AnsiString::npos ? Path : Path.substr(last + 1);
}

AnsiString BareName(const AnsiString& Entry) {
    AnsiString name = AfterLastSeparator(Entry);
    if (name == "." || name == "..") return {};
    return name;
}

// The system reads a path only up to a NUL byte: "..\0x" would be "..".
bool IsAttachableEntry(const AnsiString& Entry) {
    return !BareName(Entry).empty() && !hasParentPart(Entry) && !isAbsoluteElsewhere(Entry) &&
           Entry.find('\0') == AnsiString::npos;
}

// Empty and "." parts name no folder; ".." parts were refused before.
AnsiString AttachedFilePath(const AnsiString& AppDir, const AnsiString& Entry) {
    if (!IsAttachableEntry(Entry)) return {};
    AnsiString path = AppDir;
    std::size_t start = 0;
    while (start < Entry.size()) {
        std::size_t end = start;
        while (end < Entry.size() && !isSeparator(Entry[end]))
            ++end;
        const AnsiString part = Entry.substr(start, end - start);
        if (!part.empty() && part != ".") path += "/" + part;
        start = end + 1;
    }
    return path;
}
