// An item list here holds one item, the full name in UTF-16, so that any
// list the shell hands out names its folder or file directly.
#include "platform/win/ShellFolders.h"

#include "platform/core/CodePages.h"
#include "platform/core/FileUtils.h"
#include "platform/core/SysUtils.h"
#include "platform/win/BackendInterface.h"
#include "platform/win/Icons.h"
#include "platform/win/LastError.h"
#include "platform/win/ResourceImages.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

constexpr std::size_t ItemSizeField = sizeof(USHORT);

// Copies as much of `text` as fits with a terminating zero; false when it was cut.
template <typename Char> bool copyInto(const WideString& text, Char* buffer, std::size_t size) {
    const std::basic_string<Char> converted = TextAs<Char>(text);
    const std::size_t copied = std::min(converted.size(), size - 1);
    std::copy_n(converted.data(), copied, buffer);
    buffer[copied] = 0;
    return copied == converted.size();
}

PIDLIST_ABSOLUTE itemListOf(const WideString& fullName) {
    const std::size_t nameBytes = fullName.size() * sizeof(WCHAR);
    auto* memory = static_cast<BYTE*>(std::calloc(1, ItemSizeField + nameBytes + ItemSizeField));
    const auto itemSize = static_cast<USHORT>(ItemSizeField + nameBytes);
    std::memcpy(memory, &itemSize, ItemSizeField);
    std::memcpy(memory + ItemSizeField, fullName.data(), nameBytes);
    return reinterpret_cast<PIDLIST_ABSOLUTE>(memory);
}

WideString fullNameOf(LPCITEMIDLIST list) {
    if (!list) return {};
    const auto* bytes = reinterpret_cast<const BYTE*>(list);
    USHORT itemSize = 0;
    std::memcpy(&itemSize, bytes, ItemSizeField);
    if (itemSize <= ItemSizeField) return {};
    WideString name((itemSize - ItemSizeField) / sizeof(WCHAR), u'\0');
    std::memcpy(name.data(), bytes + ItemSizeField, name.size() * sizeof(WCHAR));
    return name;
}

WideString lastPartOf(const WideString& fullName) {
    const std::size_t delimiter =
        fullName.find_last_of(u"\\/", fullName.size() > 1 ? fullName.size() - 2 : 0);
    WideString name = delimiter == WideString::npos ? fullName : fullName.substr(delimiter + 1);
    if (name.size() > 1 && (name.back() == u'\\' || name.back() == u'/')) name.pop_back();
    return name;
}

template <typename Char> PIDLIST_ABSOLUTE browseForFolder(BROWSEINFO_T<Char>* info) {
    if (!info) return nullptr;
    FileDialogRequest request;
    request.ChooseFolder = true;
    request.Owner = info->hwndOwner;
    request.Title = TextOf(info->lpszTitle);
    request.InitialDirectory = fullNameOf(info->pidlRoot);
    if (!CurrentBackend().RunFileDialog(request) || request.FileName.empty()) return nullptr;
    const WideString folder = WideFromNativeFileName(NativeFileName(request.FileName));
    if (info->pszDisplayName) copyInto(lastPartOf(folder), info->pszDisplayName, kernel32::MAX_PATH);
    info->iImage = 0;
    return itemListOf(folder);
}

template <typename Char> BOOL pathFromItemList(LPCITEMIDLIST list, Char* path) {
    if (!path) return FALSE;
    path[0] = 0;
    const WideString name = fullNameOf(list);
    if (name.empty() || !copyInto(name, path, kernel32::MAX_PATH)) {
        path[0] = 0;
        return FALSE;
    }
    return TRUE;
}

// "TXT File", "File" or "File folder", as the shell names a type it knows nothing more of.
WideString typeNameOf(const WideString& name, bool folder) {
    if (folder) return u"File folder";
    const WideString part = lastPartOf(name);
    const std::size_t dot = part.find_last_of(u'.');
    if (dot == WideString::npos || dot + 1 == part.size()) return u"File";
    WideString extension = part.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(), WideCharUpper);
    return extension + u" File";
}

HICON stockIcon() {
    return CopyIcon(LoadIconW(nullptr, IDI_APPLICATION));
}

template <typename Char>
DWORD_PTR fileInfo(const WideString& name, DWORD attributes, SHFILEINFO_T<Char>* info, UINT infoSize,
                   UINT flags) {
    if (!info || infoSize < sizeof(SHFILEINFO_T<Char>) || name.empty()) return 0;
    std::error_code error;
    const std::filesystem::path path(NativeFileName(name));
    const bool described = flags & SHGFI_USEFILEATTRIBUTES;
    if (!described && !std::filesystem::exists(path, error)) return 0;
    const bool folder = described ? (attributes & kernel32::FILE_ATTRIBUTE_DIRECTORY)
                                  : std::filesystem::is_directory(path, error);
    if (flags & SHGFI_DISPLAYNAME) copyInto(lastPartOf(name), info->szDisplayName, kernel32::MAX_PATH);
    if (flags & SHGFI_TYPENAME)
        copyInto(typeNameOf(name, folder), info->szTypeName, std::size(info->szTypeName));
    if (flags & SHGFI_ICON) {
        info->hIcon = stockIcon();
        info->iIcon = 0;
    }
    return 1;
}

template <typename Char> WideString nameOfFileInfoPath(const Char* path, UINT flags) {
    if (flags & SHGFI_PIDL) return fullNameOf(reinterpret_cast<LPCITEMIDLIST>(path));
    return TextOf(path);
}

} // namespace

void CoTaskMemFree(void* memory) {
    std::free(memory);
}

void ILFree(LPITEMIDLIST list) {
    CoTaskMemFree(list);
}

PIDLIST_ABSOLUTE SHBrowseForFolderA(BROWSEINFOA* info) {
    return browseForFolder(info);
}

PIDLIST_ABSOLUTE SHBrowseForFolderW(BROWSEINFOW* info) {
    return browseForFolder(info);
}

BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path) {
    return pathFromItemList(list, path);
}

BOOL SHGetPathFromIDListW(LPCITEMIDLIST list, LPWSTR path) {
    return pathFromItemList(list, path);
}

DWORD_PTR SHGetFileInfoA(LPCSTR path, DWORD attributes, SHFILEINFOA* info, UINT infoSize, UINT flags) {
    return fileInfo(nameOfFileInfoPath(path, flags), attributes, info, infoSize, flags);
}

DWORD_PTR SHGetFileInfoW(LPCWSTR path, DWORD attributes, SHFILEINFOW* info, UINT infoSize, UINT flags) {
    return fileInfo(nameOfFileInfoPath(path, flags), attributes, info, infoSize, flags);
}

HICON ExtractAssociatedIconA(HINSTANCE, LPSTR iconPath, WORD* iconIndex) {
    if (!iconPath) return nullptr;
    if (iconIndex) *iconIndex = 0;
    return stockIcon();
}

HICON ExtractAssociatedIconW(HINSTANCE, LPWSTR iconPath, WORD* iconIndex) {
    if (!iconPath) return nullptr;
    if (iconIndex) *iconIndex = 0;
    return stockIcon();
}
