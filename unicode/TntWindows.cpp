// The wide wrappers: a direct call on the NT family, an ANSI detour elsewhere
// that converts names in and results back out.
#include "unicode/TntWindows.h"

#include "platform/core/CodePages.h"
#include "platform/win/DrawText.h"
#include "platform/win/LastError.h"
#include "platform/win/Modules.h"
#include "platform/win/Shell.h"
#include "platform/win/VersionInfo.h"
#include "platform/win/Windows.h"
#include "unicode/TntSysUtils.h"
#include "unicode/TntSystem.h"

#include <algorithm>
#include <vector>

using namespace kernel32;

namespace {

constexpr DWORD AnsiBufferStart = MAX_PATH + 1;

AnsiString ansiOf(LPCWSTR text) {
    return text ? WideToAnsi(text) : AnsiString();
}

// The pointer an ANSI call takes for an optional name.
LPCSTR ansiOrNull(LPCWSTR text, const AnsiString& converted) {
    return text ? converted.c_str() : nullptr;
}

// The whole text an ANSI call delivers into a buffer, asking again with a
// larger buffer until it fits; empty with the call's failure when it fails.
template <typename Call> AnsiString ansiResult(Call call) {
    std::vector<char> buffer(AnsiBufferStart);
    for (;;) {
        const DWORD length = call(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return AnsiString(buffer.data(), length);
        buffer.resize(length + 1);
    }
}

void copyTerminated(const WideString& text, std::size_t count, LPWSTR buffer) {
    std::copy_n(text.begin(), count, buffer);
    buffer[count] = 0;
}

// How a text that does not fit the caller's buffer is handed back.
enum class Overflow { LeaveBuffer, EmptyBuffer, TempPath, ShortPath };

// Copies an ANSI call's result into the caller's buffer of `size` characters:
// the length when it fits; otherwise the size needed with its terminator.
DWORD deliverAnsiResult(const AnsiString& result, LPWSTR buffer, DWORD size, Overflow overflow) {
    const WideString text = AnsiToWide(result);
    if (text.size() < size) {
        copyTerminated(text, text.size(), buffer);
        return static_cast<DWORD>(text.size());
    }
    if (size > 0) {
        switch (overflow) {
        case Overflow::LeaveBuffer:
            break;
        case Overflow::EmptyBuffer:
            buffer[0] = 0;
            break;
        case Overflow::TempPath:
            copyTerminated(text, size == text.size() ? size - 1 : 0, buffer);
            break;
        case Overflow::ShortPath: {
            const std::size_t delimiter = text.find_last_of(u'\\', size - 1);
            copyTerminated(text, delimiter == WideString::npos ? 0 : delimiter, buffer);
            break;
        }
        }
    }
    return static_cast<DWORD>(text.size() + 1);
}

void widenFindData(const WIN32_FIND_DATAA& ansi, WIN32_FIND_DATAW& wide) {
    wide = WIN32_FIND_DATAW();
    wide.dwFileAttributes = ansi.dwFileAttributes;
    wide.ftCreationTime = ansi.ftCreationTime;
    wide.ftLastAccessTime = ansi.ftLastAccessTime;
    wide.ftLastWriteTime = ansi.ftLastWriteTime;
    wide.nFileSizeHigh = ansi.nFileSizeHigh;
    wide.nFileSizeLow = ansi.nFileSizeLow;
    const WideString name = AnsiToWide(ansi.cFileName);
    copyTerminated(name, std::min<std::size_t>(name.size(), MAX_PATH - 1), wide.cFileName);
    const WideString alternate = AnsiToWide(ansi.cAlternateFileName);
    copyTerminated(alternate, std::min<std::size_t>(alternate.size(), 13), wide.cAlternateFileName);
}

// A name call of the BOOL kind: *size counts characters in and out.
template <typename Call> BOOL nameThroughAnsi(Call call, LPWSTR buffer, LPDWORD size) {
    DWORD ansiSize = AnsiBufferStart;
    std::vector<char> ansi(ansiSize);
    if (!call(ansi.data(), &ansiSize)) return FALSE;
    const WideString text = AnsiToWide(ansi.data());
    if (!size || !buffer || *size <= text.size()) {
        if (size) *size = static_cast<DWORD>(text.size() + 1);
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    copyTerminated(text, text.size(), buffer);
    return TRUE;
}

WideString countedWide(LPCWSTR text, int count) {
    return count < 0 ? WideString(text) : WideString(text, static_cast<std::size_t>(count));
}

// One character mapped through its ANSI form, when it has one that maps to one character.
template <typename Map> WideChar mapThroughAnsi(WideChar character, Map map) {
    if (!IsWideCharMappableToAnsi(character)) return character;
    AnsiString ansi = WideToAnsi(WideString(1, character));
    for (char& c : ansi)
        c = map(c);
    const WideString mapped = AnsiToWide(ansi);
    return mapped.size() == 1 ? mapped[0] : character;
}

template <typename Map> LPWSTR mapCharactersThroughAnsi(LPWSTR text, Map map) {
    if (Tnt_Is_IntResource(text)) {
        const auto character = static_cast<WideChar>(reinterpret_cast<UINT_PTR>(text));
        return reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(mapThroughAnsi(character, map)));
    }
    for (LPWSTR p = text; *p; ++p)
        *p = mapThroughAnsi(*p, map);
    return text;
}

template <typename Map> DWORD mapBufferThroughAnsi(LPWSTR text, DWORD length, Map map) {
    for (DWORD i = 0; i < length; ++i)
        text[i] = mapThroughAnsi(text[i], map);
    return length;
}

bool carriesMenuText(const MENUITEMINFOW& info) {
    if (info.fMask & MIIM_STRING) return true;
    constexpr UINT nonText = MFT_BITMAP | MFT_SEPARATOR | MFT_OWNERDRAW;
    return (info.fMask & MIIM_TYPE) && !(info.fType & nonText);
}

MENUITEMINFOA ansiMenuItemInfo(const MENUITEMINFOW& wide, AnsiString& text) {
    MENUITEMINFOA ansi;
    ansi.fMask = wide.fMask;
    ansi.fType = wide.fType;
    ansi.fState = wide.fState;
    ansi.wID = wide.wID;
    ansi.hSubMenu = wide.hSubMenu;
    ansi.hbmpChecked = wide.hbmpChecked;
    ansi.hbmpUnchecked = wide.hbmpUnchecked;
    ansi.dwItemData = wide.dwItemData;
    ansi.hbmpItem = wide.hbmpItem;
    ansi.cch = wide.cch;
    // Without text the field carries a bitmap handle or nothing.
    ansi.dwTypeData = reinterpret_cast<char*>(wide.dwTypeData);
    ansi.cbSize = wide.cbSize == MENUITEMINFO_SIZE_VERSION_400W ? MENUITEMINFO_SIZE_VERSION_400A
                                                                : static_cast<UINT>(sizeof(MENUITEMINFOA));
    if (carriesMenuText(wide) && wide.dwTypeData) {
        text = WideToAnsi(wide.dwTypeData);
        ansi.dwTypeData = text.data();
        ansi.cch = static_cast<UINT>(text.size());
    }
    return ansi;
}

// The start-up record without its texts, which the caller converts.
STARTUPINFOA ansiStartupInfo(const STARTUPINFOW& wide) {
    STARTUPINFOA ansi;
    ansi.dwX = wide.dwX;
    ansi.dwY = wide.dwY;
    ansi.dwXSize = wide.dwXSize;
    ansi.dwYSize = wide.dwYSize;
    ansi.dwXCountChars = wide.dwXCountChars;
    ansi.dwYCountChars = wide.dwYCountChars;
    ansi.dwFillAttribute = wide.dwFillAttribute;
    ansi.dwFlags = wide.dwFlags;
    ansi.wShowWindow = wide.wShowWindow;
    ansi.hStdInput = wide.hStdInput;
    ansi.hStdOutput = wide.hStdOutput;
    ansi.hStdError = wide.hStdError;
    return ansi;
}

// A list of names, each ended by a zero and the list by a second one, in the ANSI code page.
AnsiString ansiNameList(LPCWSTR list) {
    AnsiString ansi;
    while (list && *list) {
        ansi += WideToAnsi(list);
        ansi += '\0';
        list += std::char_traits<WideChar>::length(list) + 1;
    }
    ansi += '\0';
    return ansi;
}

// Copies a wide text into a fixed wide field, cut to fit.
template <std::size_t Size> void widenInto(const char* ansi, WideChar (&field)[Size]) {
    const WideString text = AnsiToWide(ansi);
    copyTerminated(text, std::min(text.size(), Size - 1), field);
}

} // namespace

// ---- Windows and text -----------------------------------------------------------------------

BOOL Tnt_SetWindowTextW(HWND hWnd, LPCWSTR lpString) {
    if (Win32PlatformIsUnicode) return SetWindowTextW(hWnd, lpString);
    const AnsiString text = ansiOf(lpString);
    return SetWindowTextA(hWnd, ansiOrNull(lpString, text));
}

HMODULE Tnt_LoadLibraryW(LPCWSTR lpLibFileName) {
    if (Win32PlatformIsUnicode) return LoadLibraryW(lpLibFileName);
    const AnsiString name = WideToAnsi(lpLibFileName ? WideString(lpLibFileName) : WideString());
    return LoadLibraryA(lpLibFileName ? name.c_str() : nullptr);
}

HMODULE Tnt_LoadLibraryExW(LPCWSTR lpLibFileName, HANDLE hFile, DWORD dwFlags) {
    if (Win32PlatformIsUnicode) return LoadLibraryExW(lpLibFileName, hFile, dwFlags);
    return Tnt_LoadLibraryW(lpLibFileName);
}

BOOL Tnt_InsertMenuItemW(HMENU hMenu, UINT uItem, BOOL fByPosition, const MENUITEMINFOW* lpmii) {
    if (Win32PlatformIsUnicode || !lpmii) return InsertMenuItemW(hMenu, uItem, fByPosition, lpmii);
    AnsiString text;
    const MENUITEMINFOA ansi = ansiMenuItemInfo(*lpmii, text);
    return InsertMenuItemA(hMenu, uItem, fByPosition, &ansi);
}

int Tnt_LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int nBufferMax) {
    if (Win32PlatformIsUnicode) return LoadStringW(hInstance, uID, lpBuffer, nBufferMax);
    std::vector<char> ansi(static_cast<std::size_t>(std::max(nBufferMax, 1)) * 2);
    if (LoadStringA(hInstance, uID, ansi.data(), static_cast<int>(ansi.size())) == 0) {
        if (lpBuffer && nBufferMax > 0) lpBuffer[0] = 0;
        return 0;
    }
    const WideString text = AnsiToWide(ansi.data());
    if (!lpBuffer || nBufferMax <= 0) return static_cast<int>(text.size());
    const std::size_t copied = std::min(text.size(), static_cast<std::size_t>(nBufferMax - 1));
    copyTerminated(text, copied, lpBuffer);
    return static_cast<int>(copied);
}

int Tnt_DrawTextW(HDC hDC, LPCWSTR lpString, int nCount, LPRECT lpRect, UINT uFormat) {
    if (Win32PlatformIsUnicode) return DrawTextW(hDC, lpString, nCount, lpRect, uFormat);
    const AnsiString text = WideToAnsi(countedWide(lpString, nCount));
    return DrawTextA(hDC, text.c_str(), -1, lpRect, uFormat);
}

// ---- Files and directories -------------------------------------------------------------------

HANDLE Tnt_CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                       LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                       DWORD dwFlagsAndAttributes, HANDLE hTemplateFile) {
    if (Win32PlatformIsUnicode)
        return CreateFileW(lpFileName, dwDesiredAccess, dwShareMode, lpSecurityAttributes,
                           dwCreationDisposition, dwFlagsAndAttributes, hTemplateFile);
    const AnsiString name = ansiOf(lpFileName);
    return CreateFileA(ansiOrNull(lpFileName, name), dwDesiredAccess, dwShareMode, lpSecurityAttributes,
                       dwCreationDisposition, dwFlagsAndAttributes, hTemplateFile);
}

HANDLE Tnt_FindFirstFileW(LPCWSTR lpFileName, WIN32_FIND_DATAW* lpFindFileData) {
    if (Win32PlatformIsUnicode) return FindFirstFileW(lpFileName, lpFindFileData);
    const AnsiString name = ansiOf(lpFileName);
    WIN32_FIND_DATAA ansi;
    const HANDLE handle = FindFirstFileA(ansiOrNull(lpFileName, name), &ansi);
    if (handle != INVALID_HANDLE_VALUE) widenFindData(ansi, *lpFindFileData);
    return handle;
}

BOOL Tnt_FindNextFileW(HANDLE hFindFile, WIN32_FIND_DATAW* lpFindFileData) {
    if (Win32PlatformIsUnicode) return FindNextFileW(hFindFile, lpFindFileData);
    WIN32_FIND_DATAA ansi;
    const BOOL found = FindNextFileA(hFindFile, &ansi);
    if (found) widenFindData(ansi, *lpFindFileData);
    return found;
}

DWORD Tnt_GetFileAttributesW(LPCWSTR lpFileName) {
    if (Win32PlatformIsUnicode) return GetFileAttributesW(lpFileName);
    const AnsiString name = ansiOf(lpFileName);
    return GetFileAttributesA(ansiOrNull(lpFileName, name));
}

BOOL Tnt_SetFileAttributesW(LPCWSTR lpFileName, DWORD dwFileAttributes) {
    if (Win32PlatformIsUnicode) return SetFileAttributesW(lpFileName, dwFileAttributes);
    const AnsiString name = ansiOf(lpFileName);
    return SetFileAttributesA(ansiOrNull(lpFileName, name), dwFileAttributes);
}

BOOL Tnt_CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes) {
    if (Win32PlatformIsUnicode) return CreateDirectoryW(lpPathName, lpSecurityAttributes);
    const AnsiString name = ansiOf(lpPathName);
    return CreateDirectoryA(ansiOrNull(lpPathName, name), lpSecurityAttributes);
}

BOOL Tnt_RemoveDirectoryW(LPCWSTR lpPathName) {
    if (Win32PlatformIsUnicode) return RemoveDirectoryW(lpPathName);
    const AnsiString name = ansiOf(lpPathName);
    return RemoveDirectoryA(ansiOrNull(lpPathName, name));
}

BOOL Tnt_MoveFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName) {
    if (Win32PlatformIsUnicode) return MoveFileW(lpExistingFileName, lpNewFileName);
    const AnsiString existing = ansiOf(lpExistingFileName), target = ansiOf(lpNewFileName);
    return MoveFileA(ansiOrNull(lpExistingFileName, existing), ansiOrNull(lpNewFileName, target));
}

BOOL Tnt_MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags) {
    if (Win32PlatformIsUnicode) return MoveFileExW(lpExistingFileName, lpNewFileName, dwFlags);
    const AnsiString existing = ansiOf(lpExistingFileName), target = ansiOf(lpNewFileName);
    return MoveFileExA(ansiOrNull(lpExistingFileName, existing), ansiOrNull(lpNewFileName, target), dwFlags);
}

BOOL Tnt_CopyFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists) {
    if (Win32PlatformIsUnicode) return CopyFileW(lpExistingFileName, lpNewFileName, bFailIfExists);
    const AnsiString existing = ansiOf(lpExistingFileName), target = ansiOf(lpNewFileName);
    return CopyFileA(ansiOrNull(lpExistingFileName, existing), ansiOrNull(lpNewFileName, target),
                     bFailIfExists);
}

BOOL Tnt_DeleteFileW(LPCWSTR lpFileName) {
    if (Win32PlatformIsUnicode) return DeleteFileW(lpFileName);
    const AnsiString name = ansiOf(lpFileName);
    return DeleteFileA(ansiOrNull(lpFileName, name));
}

BOOL Tnt_SetCurrentDirectoryW(LPCWSTR lpPathName) {
    if (Win32PlatformIsUnicode) return SetCurrentDirectoryW(lpPathName);
    const AnsiString name = ansiOf(lpPathName);
    return SetCurrentDirectoryA(ansiOrNull(lpPathName, name));
}

BOOL Tnt_GetDiskFreeSpaceW(LPCWSTR lpRootPathName, LPDWORD lpSectorsPerCluster, LPDWORD lpBytesPerSector,
                           LPDWORD lpNumberOfFreeClusters, LPDWORD lpTotalNumberOfClusters) {
    if (Win32PlatformIsUnicode)
        return GetDiskFreeSpaceW(lpRootPathName, lpSectorsPerCluster, lpBytesPerSector,
                                 lpNumberOfFreeClusters, lpTotalNumberOfClusters);
    const AnsiString name = ansiOf(lpRootPathName);
    return GetDiskFreeSpaceA(ansiOrNull(lpRootPathName, name), lpSectorsPerCluster, lpBytesPerSector,
                             lpNumberOfFreeClusters, lpTotalNumberOfClusters);
}

// ---- Path and system names --------------------------------------------------------------------

DWORD Tnt_GetShortPathNameW(LPCWSTR lpszLongPath, LPWSTR lpszShortPath, DWORD cchBuffer) {
    if (Win32PlatformIsUnicode) return GetShortPathNameW(lpszLongPath, lpszShortPath, cchBuffer);
    const AnsiString name = ansiOf(lpszLongPath);
    const AnsiString result =
        ansiResult([&](LPSTR buffer, DWORD size) { return GetShortPathNameA(name.c_str(), buffer, size); });
    if (result.empty()) return 0;
    return deliverAnsiResult(result, lpszShortPath, cchBuffer, Overflow::ShortPath);
}

DWORD Tnt_GetFullPathNameW(LPCWSTR lpFileName, DWORD nBufferLength, LPWSTR lpBuffer, LPWSTR* lpFilePart) {
    if (Win32PlatformIsUnicode) return GetFullPathNameW(lpFileName, nBufferLength, lpBuffer, lpFilePart);
    const AnsiString name = ansiOf(lpFileName);
    std::size_t partOffset = 0;
    const AnsiString result = ansiResult([&](LPSTR buffer, DWORD size) {
        LPSTR part = nullptr;
        const DWORD length = GetFullPathNameA(name.c_str(), size, buffer, &part);
        partOffset = part ? static_cast<std::size_t>(part - buffer) : AnsiString::npos;
        return length;
    });
    if (result.empty()) return 0;
    const DWORD length = deliverAnsiResult(result, lpBuffer, nBufferLength, Overflow::EmptyBuffer);
    if (lpFilePart) {
        const bool fits = length < nBufferLength && partOffset != AnsiString::npos;
        *lpFilePart = fits ? lpBuffer + AnsiToWide(result.substr(0, partOffset)).size() : nullptr;
    }
    return length;
}

DWORD Tnt_GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
    if (Win32PlatformIsUnicode) return GetModuleFileNameW(hModule, lpFilename, nSize);
    const AnsiString result =
        ansiResult([&](LPSTR buffer, DWORD size) { return GetModuleFileNameA(hModule, buffer, size); });
    const WideString text = AnsiToWide(result);
    if (text.size() < nSize) return deliverAnsiResult(result, lpFilename, nSize, Overflow::LeaveBuffer);
    std::copy_n(text.begin(), nSize, lpFilename);
    return nSize;
}

DWORD Tnt_GetTempPathW(DWORD nBufferLength, LPWSTR lpBuffer) {
    if (Win32PlatformIsUnicode) return GetTempPathW(nBufferLength, lpBuffer);
    const AnsiString result = ansiResult([](LPSTR buffer, DWORD size) { return GetTempPathA(size, buffer); });
    if (result.empty()) return 0;
    return deliverAnsiResult(result, lpBuffer, nBufferLength, Overflow::TempPath);
}

UINT Tnt_GetWindowsDirectoryW(LPWSTR lpBuffer, UINT uSize) {
    if (Win32PlatformIsUnicode) return GetWindowsDirectoryW(lpBuffer, uSize);
    const AnsiString result =
        ansiResult([](LPSTR buffer, DWORD size) { return GetWindowsDirectoryA(buffer, size); });
    if (result.empty()) return 0;
    return deliverAnsiResult(result, lpBuffer, uSize, Overflow::LeaveBuffer);
}

UINT Tnt_GetSystemDirectoryW(LPWSTR lpBuffer, UINT uSize) {
    if (Win32PlatformIsUnicode) return GetSystemDirectoryW(lpBuffer, uSize);
    const AnsiString result =
        ansiResult([](LPSTR buffer, DWORD size) { return GetSystemDirectoryA(buffer, size); });
    if (result.empty()) return 0;
    return deliverAnsiResult(result, lpBuffer, uSize, Overflow::LeaveBuffer);
}

BOOL Tnt_GetComputerNameW(LPWSTR lpBuffer, LPDWORD nSize) {
    if (Win32PlatformIsUnicode) return GetComputerNameW(lpBuffer, nSize);
    if (!nameThroughAnsi([](LPSTR buffer, LPDWORD size) { return GetComputerNameA(buffer, size); }, lpBuffer,
                         nSize))
        return FALSE;
    // Success counts the name without its terminator.
    *nSize = static_cast<DWORD>(std::char_traits<WideChar>::length(lpBuffer));
    return TRUE;
}

BOOL Tnt_GetUserNameW(LPWSTR lpBuffer, LPDWORD nSize) {
    if (Win32PlatformIsUnicode) return GetUserNameW(lpBuffer, nSize);
    if (!nameThroughAnsi([](LPSTR buffer, LPDWORD size) { return GetUserNameA(buffer, size); }, lpBuffer,
                         nSize))
        return FALSE;
    *nSize = static_cast<DWORD>(std::char_traits<WideChar>::length(lpBuffer) + 1);
    return TRUE;
}

// ---- Processes ----------------------------------------------------------------------------------

HINSTANCE Tnt_ShellExecuteW(HWND hWnd, LPCWSTR Operation, LPCWSTR FileName, LPCWSTR Parameters,
                            LPCWSTR Directory, INT ShowCmd) {
    if (Operation && !*Operation) Operation = nullptr;
    if (Win32PlatformIsUnicode)
        return ShellExecuteW(hWnd, Operation, FileName, Parameters, Directory, ShowCmd);
    const AnsiString operation = ansiOf(Operation), fileName = ansiOf(FileName),
                     parameters = ansiOf(Parameters), directory = ansiOf(Directory);
    return ShellExecuteA(hWnd, ansiOrNull(Operation, operation), ansiOrNull(FileName, fileName),
                         ansiOrNull(Parameters, parameters), ansiOrNull(Directory, directory), ShowCmd);
}

BOOL Tnt_CreateProcessW(LPCWSTR lpApplicationName, LPWSTR lpCommandLine,
                        LPSECURITY_ATTRIBUTES lpProcessAttributes, LPSECURITY_ATTRIBUTES lpThreadAttributes,
                        BOOL bInheritHandles, DWORD dwCreationFlags, void* lpEnvironment,
                        LPCWSTR lpCurrentDirectory, TStartupInfoW* lpStartupInfo,
                        PROCESS_INFORMATION* lpProcessInformation) {
    if (Win32PlatformIsUnicode)
        return CreateProcessW(lpApplicationName, lpCommandLine, lpProcessAttributes, lpThreadAttributes,
                              bInheritHandles, dwCreationFlags, lpEnvironment, lpCurrentDirectory,
                              lpStartupInfo, lpProcessInformation);
    AnsiString application = ansiOf(lpApplicationName), commandLine = ansiOf(lpCommandLine),
               directory = ansiOf(lpCurrentDirectory), desktop, title;
    STARTUPINFOA startup;
    if (lpStartupInfo) {
        startup = ansiStartupInfo(*lpStartupInfo);
        desktop = ansiOf(lpStartupInfo->lpDesktop);
        title = ansiOf(lpStartupInfo->lpTitle);
        startup.lpDesktop = lpStartupInfo->lpDesktop ? desktop.data() : nullptr;
        startup.lpTitle = lpStartupInfo->lpTitle ? title.data() : nullptr;
    }
    return CreateProcessA(
        ansiOrNull(lpApplicationName, application), lpCommandLine ? commandLine.data() : nullptr,
        lpProcessAttributes, lpThreadAttributes, bInheritHandles, dwCreationFlags, lpEnvironment,
        ansiOrNull(lpCurrentDirectory, directory), lpStartupInfo ? &startup : nullptr, lpProcessInformation);
}

HICON Tnt_ExtractAssociatedIconW(HINSTANCE hInst, LPWSTR lpIconPath, WORD* lpiIcon) {
    if (Win32PlatformIsUnicode) return ExtractAssociatedIconW(hInst, lpIconPath, lpiIcon);
    if (!lpIconPath) return ExtractAssociatedIconA(hInst, nullptr, lpiIcon);
    // The ANSI call may write the icon's file back into a buffer of MAX_PATH.
    AnsiString path = WideToAnsi(lpIconPath);
    path.resize(std::max<std::size_t>(path.size(), MAX_PATH));
    return ExtractAssociatedIconA(hInst, path.data(), lpiIcon);
}

// ---- Version information ---------------------------------------------------------------------------

DWORD Tnt_GetFileVersionInfoSizeW(LPCWSTR lptstrFilename, DWORD* lpdwHandle) {
    if (Win32PlatformIsUnicode) return GetFileVersionInfoSizeW(lptstrFilename, lpdwHandle);
    const AnsiString name = ansiOf(lptstrFilename);
    return GetFileVersionInfoSizeA(ansiOrNull(lptstrFilename, name), lpdwHandle);
}

BOOL Tnt_GetFileVersionInfoW(LPCWSTR lptstrFilename, DWORD dwHandle, DWORD dwLen, void* lpData) {
    if (Win32PlatformIsUnicode) return GetFileVersionInfoW(lptstrFilename, dwHandle, dwLen, lpData);
    const AnsiString name = ansiOf(lptstrFilename);
    return GetFileVersionInfoA(ansiOrNull(lptstrFilename, name), dwHandle, dwLen, lpData);
}

BOOL Tnt_VerQueryValueW(const void* pBlock, LPCWSTR lpSubBlock, void** lplpBuffer, UINT* puLen) {
    if (Win32PlatformIsUnicode) return VerQueryValueW(pBlock, lpSubBlock, lplpBuffer, puLen);
    // The last string value widened; the pointer handed out stays valid until the next query.
    static WideString lastStringValue;
    const AnsiString subBlock = ansiOf(lpSubBlock);
    void* ansiValue = nullptr;
    UINT ansiLength = 0;
    const BOOL found = VerQueryValueA(pBlock, subBlock.c_str(), &ansiValue, &ansiLength);
    const bool stringValue =
        found && lpSubBlock &&
        Tnt_WideUpperCase(WideString(lpSubBlock).substr(0, 15)) == Tnt_WideUpperCase(u"\\StringFileInfo");
    if (stringValue) {
        lastStringValue = AnsiToWide(static_cast<const char*>(ansiValue));
        ansiValue = lastStringValue.data();
        ansiLength = static_cast<UINT>(lastStringValue.size());
    }
    if (lplpBuffer) *lplpBuffer = ansiValue;
    if (puLen) *puLen = ansiLength;
    return found;
}

// ---- Shell -----------------------------------------------------------------------------------------

int Tnt_SHFileOperationW(SHFILEOPSTRUCTW* lpFileOp) {
    if (Win32PlatformIsUnicode || !lpFileOp) return SHFileOperationW(lpFileOp);
    const AnsiString from = ansiNameList(lpFileOp->pFrom), to = ansiNameList(lpFileOp->pTo),
                     title = ansiOf(lpFileOp->lpszProgressTitle);
    SHFILEOPSTRUCTA ansi;
    ansi.hwnd = lpFileOp->hwnd;
    ansi.wFunc = lpFileOp->wFunc;
    ansi.pFrom = lpFileOp->pFrom ? from.data() : nullptr;
    ansi.pTo = lpFileOp->pTo ? to.data() : nullptr;
    ansi.fFlags = lpFileOp->fFlags;
    ansi.lpszProgressTitle = ansiOrNull(lpFileOp->lpszProgressTitle, title);
    const int result = SHFileOperationA(&ansi);
    lpFileOp->fAnyOperationsAborted = ansi.fAnyOperationsAborted;
    // No mappings are made, so there are none to hand back in wide form.
    lpFileOp->hNameMappings = nullptr;
    return result;
}

void Tnt_SHFreeNameMappings(HANDLE hNameMappings) {
    SHFreeNameMappings(hNameMappings);
}

PIDLIST_ABSOLUTE Tnt_SHBrowseForFolderW(BROWSEINFOW* lpbi) {
    if (Win32PlatformIsUnicode || !lpbi) return SHBrowseForFolderW(lpbi);
    const AnsiString title = ansiOf(lpbi->lpszTitle);
    char displayName[MAX_PATH] = {};
    BROWSEINFOA ansi;
    ansi.hwndOwner = lpbi->hwndOwner;
    ansi.pidlRoot = lpbi->pidlRoot;
    ansi.pszDisplayName = displayName;
    ansi.lpszTitle = ansiOrNull(lpbi->lpszTitle, title);
    ansi.ulFlags = lpbi->ulFlags;
    ansi.lpfn = lpbi->lpfn;
    ansi.lParam = lpbi->lParam;
    PIDLIST_ABSOLUTE list = SHBrowseForFolderA(&ansi);
    if (list && lpbi->pszDisplayName) {
        const WideString name = AnsiToWide(displayName);
        copyTerminated(name, std::min<std::size_t>(name.size(), MAX_PATH - 1), lpbi->pszDisplayName);
    }
    lpbi->iImage = ansi.iImage;
    return list;
}

BOOL Tnt_SHGetPathFromIDListW(LPCITEMIDLIST pidl, LPWSTR pszPath) {
    if (Win32PlatformIsUnicode || !pszPath) return SHGetPathFromIDListW(pidl, pszPath);
    char path[MAX_PATH] = {};
    const BOOL found = SHGetPathFromIDListA(pidl, path);
    const WideString name = AnsiToWide(path);
    copyTerminated(name, std::min<std::size_t>(name.size(), MAX_PATH - 1), pszPath);
    return found;
}

DWORD_PTR Tnt_SHGetFileInfoW(LPCWSTR pszPath, DWORD dwFileAttributes, SHFILEINFOW* psfi, UINT cbFileInfo,
                             UINT uFlags) {
    if (Win32PlatformIsUnicode || !psfi || cbFileInfo < sizeof(SHFILEINFOW))
        return SHGetFileInfoW(pszPath, dwFileAttributes, psfi, cbFileInfo, uFlags);
    const AnsiString path = (uFlags & SHGFI_PIDL) ? AnsiString() : ansiOf(pszPath);
    const char* ansiPath =
        (uFlags & SHGFI_PIDL) ? reinterpret_cast<const char*>(pszPath) : ansiOrNull(pszPath, path);
    SHFILEINFOA ansi;
    const DWORD_PTR result = SHGetFileInfoA(ansiPath, dwFileAttributes, &ansi, sizeof ansi, uFlags);
    if (!result) return result;
    psfi->hIcon = ansi.hIcon;
    psfi->iIcon = ansi.iIcon;
    psfi->dwAttributes = ansi.dwAttributes;
    widenInto(ansi.szDisplayName, psfi->szDisplayName);
    widenInto(ansi.szTypeName, psfi->szTypeName);
    return result;
}

// ---- Locale and characters -------------------------------------------------------------------------

int Tnt_GetCurrencyFormatW(LCID Locale, DWORD dwFlags, LPCWSTR lpValue, const CURRENCYFMTW* lpFormat,
                           LPWSTR lpCurrencyStr, int cchCurrency) {
    if (Win32PlatformIsUnicode)
        return GetCurrencyFormatW(Locale, dwFlags, lpValue, lpFormat, lpCurrencyStr, cchCurrency);
    const AnsiString value = ansiOf(lpValue);
    AnsiString decimal, thousand, symbol;
    CURRENCYFMTA ansiFormat;
    if (lpFormat) {
        decimal = ansiOf(lpFormat->lpDecimalSep);
        thousand = ansiOf(lpFormat->lpThousandSep);
        symbol = ansiOf(lpFormat->lpCurrencySymbol);
        ansiFormat.NumDigits = lpFormat->NumDigits;
        ansiFormat.LeadingZero = lpFormat->LeadingZero;
        ansiFormat.Grouping = lpFormat->Grouping;
        ansiFormat.lpDecimalSep = decimal.data();
        ansiFormat.lpThousandSep = thousand.data();
        ansiFormat.NegativeOrder = lpFormat->NegativeOrder;
        ansiFormat.PositiveOrder = lpFormat->PositiveOrder;
        ansiFormat.lpCurrencySymbol = symbol.data();
    }
    const CURRENCYFMTA* format = lpFormat ? &ansiFormat : nullptr;
    const int ansiSize = GetCurrencyFormatA(Locale, dwFlags, value.c_str(), format, nullptr, 0);
    if (ansiSize == 0) return 0;
    std::vector<char> ansi(static_cast<std::size_t>(ansiSize));
    GetCurrencyFormatA(Locale, dwFlags, value.c_str(), format, ansi.data(), ansiSize);
    const WideString text = AnsiToWide(ansi.data());
    const int length = static_cast<int>(text.size() + 1);
    if (cchCurrency == 0) return length;
    if (cchCurrency < length) return 0;
    copyTerminated(text, text.size(), lpCurrencyStr);
    return length;
}

int Tnt_CompareStringW(LCID Locale, DWORD dwCmpFlags, LPCWSTR lpString1, int cchCount1, LPCWSTR lpString2,
                       int cchCount2) {
    if (Win32PlatformIsUnicode)
        return CompareStringW(Locale, dwCmpFlags, lpString1, cchCount1, lpString2, cchCount2);
    const WideString first = countedWide(lpString1, cchCount1), second = countedWide(lpString2, cchCount2);
    if (dwCmpFlags == 0) {
        const int order = first.compare(second);
        return order < 0 ? CSTR_LESS_THAN : order > 0 ? CSTR_GREATER_THAN : CSTR_EQUAL;
    }
    return CompareStringA(Locale, dwCmpFlags, WideToAnsi(first).c_str(), -1, WideToAnsi(second).c_str(), -1);
}

LPWSTR Tnt_CharUpperW(LPWSTR lpsz) {
    if (Win32PlatformIsUnicode) return CharUpperW(lpsz);
    return mapCharactersThroughAnsi(lpsz, AnsiCharUpper);
}

DWORD Tnt_CharUpperBuffW(LPWSTR lpsz, DWORD cchLength) {
    if (Win32PlatformIsUnicode) return CharUpperBuffW(lpsz, cchLength);
    return mapBufferThroughAnsi(lpsz, cchLength, AnsiCharUpper);
}

LPWSTR Tnt_CharLowerW(LPWSTR lpsz) {
    if (Win32PlatformIsUnicode) return CharLowerW(lpsz);
    return mapCharactersThroughAnsi(lpsz, AnsiCharLower);
}

DWORD Tnt_CharLowerBuffW(LPWSTR lpsz, DWORD cchLength) {
    if (Win32PlatformIsUnicode) return CharLowerBuffW(lpsz, cchLength);
    return mapBufferThroughAnsi(lpsz, cchLength, AnsiCharLower);
}

BOOL Tnt_GetStringTypeExW(LCID Locale, DWORD dwInfoType, LPCWSTR lpSrcStr, int cchSrc, WORD* lpCharType) {
    if (Win32PlatformIsUnicode) return GetStringTypeExW(Locale, dwInfoType, lpSrcStr, cchSrc, lpCharType);
    // The ANSI code page is single-byte: one type per character either way.
    const AnsiString text = WideToAnsi(countedWide(lpSrcStr, cchSrc));
    return GetStringTypeExA(Locale, dwInfoType, text.data(), static_cast<int>(text.size()), lpCharType);
}

// ---- Small value routines -----------------------------------------------------------------------------

bool Tnt_Is_IntResource(const void* ResStr) {
    return (reinterpret_cast<UINT_PTR>(ResStr) >> 16) == 0;
}
