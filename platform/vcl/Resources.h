// Resources by name: the files under resources/ are embedded into the program
// at build time (cmake/EmbedResources.cmake) and found here by name and kind,
// as FindResource finds them in a Windows executable.
#pragma once

#include "platform/core/Exceptions.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class EResNotFound : public Exception {
public:
    using Exception::Exception;
};

// The kind of a resource, from its file's extension: *.dfm form resources,
// *.bmp bitmaps, *.cur cursors, *.ico icons; everything else is data.
enum TResourceKind { rkForm, rkBitmap, rkCursor, rkIcon, rkData };

struct TResourceFile {
    // Found by: the class of its top object for a form resource ("TMainForm"),
    // the file name without extension for the others ("FEDITBMP").
    AnsiString Name;
    TResourceKind Kind = rkData;
    // The path below resources/, with "/": "Forms/Main.dfm".
    AnsiString Path;
    std::span<const Byte> Data;

    AnsiString Text() const { return AnsiString(reinterpret_cast<const char*>(Data.data()), Data.size()); }
};

// The resource of that kind whose name (or whose path below resources/, with
// "/" or "\") is Name, compared case-insensitively as Windows compares
// resource names; null when there is none.
const TResourceFile* FindResource(const AnsiString& Name, TResourceKind Kind);
// The same, raising EResNotFound "Resource %s not found" when there is none.
const TResourceFile& GetResource(const AnsiString& Name, TResourceKind Kind);

// The Win32 calls over the same resources, for code written against them.
// Only data resources (RT_RCDATA, the files of kind rkData) are found this
// way; the data lives as long as the program, so nothing needs freeing.
struct HINSTANCE__;
using HRSRC = const TResourceFile*;
inline const char* const RT_RCDATA = reinterpret_cast<const char*>(std::uintptr_t{10});
HRSRC FindResourceA(HINSTANCE__* Module, const char* Name, const char* Type);
// The resource's data handle, which LockResource turns into its first byte.
void* LoadResource(HINSTANCE__* Module, HRSRC Resource);
const void* LockResource(void* Data);
unsigned long SizeofResource(HINSTANCE__* Module, HRSRC Resource);
// FALSE, as for Win32, where the call is obsolete: there is nothing to free.
int FreeResource(void* Data);

// What the generated source of cmake/EmbedResources.cmake hands over.
struct TEmbeddedFile {
    const char* Path;
    const unsigned char* Data;
    std::size_t Size;
};

namespace resources_detail {
// Kept inline so that a library of embedded files registers itself without
// depending on where this unit is linked.
inline std::vector<std::span<const TEmbeddedFile>>& EmbeddedFileSets() {
    static std::vector<std::span<const TEmbeddedFile>> sets;
    return sets;
}
} // namespace resources_detail

// Called by the generated sources during static set-up.
inline bool RegisterEmbeddedFiles(std::span<const TEmbeddedFile> Files) {
    resources_detail::EmbeddedFileSets().push_back(Files);
    return true;
}
