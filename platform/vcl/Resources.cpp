// The index of the embedded resource files, built on first use.
#include "platform/vcl/Resources.h"

#include "platform/core/SysUtils.h"
#include "platform/vcl/FormText.h"

#include <algorithm>
#include <memory>
#include <mutex>

namespace {

constexpr const char* SResNotFound = "Resource %s not found";

struct KindOfExtension {
    const char* Extension;
    TResourceKind Kind;
};

constexpr KindOfExtension KindsOfExtensions[] = {
    {".dfm", rkForm}, {".bmp", rkBitmap}, {".cur", rkCursor}, {".ico", rkIcon}};

AnsiString fileName(const AnsiString& path) {
    return path.substr(path.rfind('/') + 1);
}

AnsiString extensionOf(const AnsiString& path) {
    AnsiString name = fileName(path);
    std::size_t dot = name.rfind('.');
    return dot == AnsiString::npos ? AnsiString() : name.substr(dot);
}

AnsiString stemOf(const AnsiString& path) {
    AnsiString name = fileName(path);
    return name.substr(0, name.rfind('.'));
}

TResourceKind kindOf(const AnsiString& path) {
    AnsiString extension = extensionOf(path);
    for (const KindOfExtension& entry : KindsOfExtensions)
        if (SameText(extension, entry.Extension)) return entry.Kind;
    return rkData;
}

AnsiString withSlashes(AnsiString path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

TResourceFile resourceOf(const TEmbeddedFile& file) {
    TResourceFile resource;
    resource.Path = file.Path;
    resource.Kind = kindOf(resource.Path);
    resource.Data = std::span<const Byte>(file.Data, file.Size);
    resource.Name = resource.Kind == rkForm ? formtext::TopClassName(resource.Text()) : stemOf(resource.Path);
    return resource;
}

const std::vector<TResourceFile>& index() {
    static std::vector<TResourceFile> files;
    static std::once_flag built;
    std::call_once(built, [] {
        for (std::span<const TEmbeddedFile> set : resources_detail::EmbeddedFileSets())
            for (const TEmbeddedFile& file : set)
                files.push_back(resourceOf(file));
        std::sort(files.begin(), files.end(),
                  [](const TResourceFile& a, const TResourceFile& b) { return a.Path < b.Path; });
    });
    return files;
}

} // namespace

const TResourceFile* FindResource(const AnsiString& Name, TResourceKind Kind) {
    AnsiString path = withSlashes(Name);
    for (const TResourceFile& file : index())
        if (file.Kind == Kind && (SameText(file.Name, Name) || SameText(file.Path, path))) return &file;
    return nullptr;
}

const TResourceFile& GetResource(const AnsiString& Name, TResourceKind Kind) {
    const TResourceFile* found = FindResource(Name, Kind);
    if (!found) throw EResNotFound(Format(SResNotFound, {Name}));
    return *found;
}

namespace {

// An integer identifier in place of a name (MAKEINTRESOURCE) has its high bits clear.
bool isIntegerResource(const char* Name) {
    return reinterpret_cast<std::uintptr_t>(Name) >> 16 == 0;
}

} // namespace

HRSRC FindResourceA(HINSTANCE__*, const char* Name, const char* Type) {
    // Embedded resources have names only; numbered ones do not exist.
    if (Type != RT_RCDATA || isIntegerResource(Name)) return nullptr;
    return FindResource(Name, rkData);
}

void* LoadResource(HINSTANCE__*, HRSRC Resource) {
    return Resource ? const_cast<TResourceFile*>(Resource) : nullptr;
}

const void* LockResource(void* Data) {
    return Data ? static_cast<const TResourceFile*>(Data)->Data.data() : nullptr;
}

unsigned long SizeofResource(HINSTANCE__*, HRSRC Resource) {
    return Resource ? static_cast<unsigned long>(Resource->Data.size()) : 0;
}

int FreeResource(void*) {
    return 0;
}
