// One wrapper for every operating-system call of the layer that takes or
// returns text, with the wide entry point's parameters: on the NT family it is
// the wide call itself; otherwise the text goes through the ANSI code page to
// the ANSI call and results come back into the caller's wide buffer.
#pragma once

#include "platform/win/KernelCalls.h"
#include "platform/win/Menus.h"
#include "platform/win/Processes.h"
#include "platform/win/ShellFileOperations.h"
#include "platform/win/ShellFolders.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/WinUser.h"

// ---- Windows and text -------------------------------------------------------------------

BOOL Tnt_SetWindowTextW(HWND hWnd, LPCWSTR lpString);
int Tnt_DrawTextW(HDC hDC, LPCWSTR lpString, int nCount, LPRECT lpRect, UINT uFormat);
BOOL Tnt_InsertMenuItemW(HMENU hMenu, UINT uItem, BOOL fByPosition, const MENUITEMINFOW* lpmii);
// The program embeds no string tables: 0 for every identifier.
int Tnt_LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int nBufferMax);

// ---- Files and directories -----------------------------------------------------------------

HANDLE Tnt_CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                       kernel32::LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                       DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);
HANDLE Tnt_FindFirstFileW(LPCWSTR lpFileName, kernel32::WIN32_FIND_DATAW* lpFindFileData);
BOOL Tnt_FindNextFileW(HANDLE hFindFile, kernel32::WIN32_FIND_DATAW* lpFindFileData);
DWORD Tnt_GetFileAttributesW(LPCWSTR lpFileName);
BOOL Tnt_SetFileAttributesW(LPCWSTR lpFileName, DWORD dwFileAttributes);
BOOL Tnt_CreateDirectoryW(LPCWSTR lpPathName, kernel32::LPSECURITY_ATTRIBUTES lpSecurityAttributes);
BOOL Tnt_RemoveDirectoryW(LPCWSTR lpPathName);
BOOL Tnt_MoveFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName);
BOOL Tnt_MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags);
BOOL Tnt_CopyFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists);
BOOL Tnt_DeleteFileW(LPCWSTR lpFileName);
BOOL Tnt_SetCurrentDirectoryW(LPCWSTR lpPathName);
BOOL Tnt_GetDiskFreeSpaceW(LPCWSTR lpRootPathName, LPDWORD lpSectorsPerCluster, LPDWORD lpBytesPerSector,
                           LPDWORD lpNumberOfFreeClusters, LPDWORD lpTotalNumberOfClusters);

// ---- Path and system names -------------------------------------------------------------------

DWORD Tnt_GetShortPathNameW(LPCWSTR lpszLongPath, LPWSTR lpszShortPath, DWORD cchBuffer);
DWORD Tnt_GetFullPathNameW(LPCWSTR lpFileName, DWORD nBufferLength, LPWSTR lpBuffer, LPWSTR* lpFilePart);
DWORD Tnt_GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize);
DWORD Tnt_GetTempPathW(DWORD nBufferLength, LPWSTR lpBuffer);
// The fixed folders "\usr" and "\usr\lib".
UINT Tnt_GetWindowsDirectoryW(LPWSTR lpBuffer, UINT uSize);
UINT Tnt_GetSystemDirectoryW(LPWSTR lpBuffer, UINT uSize);
BOOL Tnt_GetComputerNameW(LPWSTR lpBuffer, LPDWORD nSize);
BOOL Tnt_GetUserNameW(LPWSTR lpBuffer, LPDWORD nSize);

// ---- Processes -----------------------------------------------------------------------------

HINSTANCE Tnt_ShellExecuteW(HWND hWnd, LPCWSTR Operation, LPCWSTR FileName, LPCWSTR Parameters,
                            LPCWSTR Directory, INT ShowCmd);
using TStartupInfoW = kernel32::STARTUPINFOW;
// Starts the program itself, without a shell, its arguments split from the command line.
BOOL Tnt_CreateProcessW(LPCWSTR lpApplicationName, LPWSTR lpCommandLine,
                        kernel32::LPSECURITY_ATTRIBUTES lpProcessAttributes,
                        kernel32::LPSECURITY_ATTRIBUTES lpThreadAttributes, BOOL bInheritHandles,
                        DWORD dwCreationFlags, void* lpEnvironment, LPCWSTR lpCurrentDirectory,
                        TStartupInfoW* lpStartupInfo, kernel32::PROCESS_INFORMATION* lpProcessInformation);
// The libraries the platform has built in ("RICHED20.DLL"); null for any other.
HMODULE Tnt_LoadLibraryW(LPCWSTR lpLibFileName);
HMODULE Tnt_LoadLibraryExW(LPCWSTR lpLibFileName, HANDLE hFile, DWORD dwFlags);
// The stock icon, for any file: there are no associations here.
HICON Tnt_ExtractAssociatedIconW(HINSTANCE hInst, LPWSTR lpIconPath, WORD* lpiIcon);

// ---- Locale and characters ------------------------------------------------------------------

int Tnt_GetCurrencyFormatW(LCID Locale, DWORD dwFlags, LPCWSTR lpValue,
                           const kernel32::CURRENCYFMTW* lpFormat, LPWSTR lpCurrencyStr, int cchCurrency);
int Tnt_CompareStringW(LCID Locale, DWORD dwCmpFlags, LPCWSTR lpString1, int cchCount1, LPCWSTR lpString2,
                       int cchCount2);
LPWSTR Tnt_CharUpperW(LPWSTR lpsz);
DWORD Tnt_CharUpperBuffW(LPWSTR lpsz, DWORD cchLength);
LPWSTR Tnt_CharLowerW(LPWSTR lpsz);
DWORD Tnt_CharLowerBuffW(LPWSTR lpsz, DWORD cchLength);
BOOL Tnt_GetStringTypeExW(LCID Locale, DWORD dwInfoType, LPCWSTR lpSrcStr, int cchSrc, WORD* lpCharType);

// ---- Version information ------------------------------------------------------------------
// No file carries a version resource: size 0 and ERROR_RESOURCE_TYPE_NOT_FOUND.

DWORD Tnt_GetFileVersionInfoSizeW(LPCWSTR lptstrFilename, DWORD* lpdwHandle);
BOOL Tnt_GetFileVersionInfoW(LPCWSTR lptstrFilename, DWORD dwHandle, DWORD dwLen, void* lpData);
BOOL Tnt_VerQueryValueW(const void* pBlock, LPCWSTR lpSubBlock, void** lplpBuffer, UINT* puLen);

// ---- Shell ----------------------------------------------------------------------------------

// Copy, move, delete and rename without confirmation windows; 0 or the error.
int Tnt_SHFileOperationW(SHFILEOPSTRUCTW* lpFileOp);
void Tnt_SHFreeNameMappings(HANDLE hNameMappings);
// The backend's folder chooser.
PIDLIST_ABSOLUTE Tnt_SHBrowseForFolderW(BROWSEINFOW* lpbi);
BOOL Tnt_SHGetPathFromIDListW(LPCITEMIDLIST pidl, LPWSTR pszPath);
// Display and type names, and the stock icon.
DWORD_PTR Tnt_SHGetFileInfoW(LPCWSTR pszPath, DWORD dwFileAttributes, SHFILEINFOW* psfi, UINT cbFileInfo,
                             UINT uFlags);

// ---- Small value routines -------------------------------------------------------------------

// Whether a name pointer carries a resource number (its high 16 bits are 0).
bool Tnt_Is_IntResource(const void* ResStr);
constexpr WORD MAKELANGID(WORD Primary, WORD Sub) {
    return static_cast<WORD>((Sub << 10) | Primary);
}
constexpr WORD PRIMARYLANGID(WORD LangId) {
    return LangId & 0x3FF;
}
constexpr WORD SUBLANGID(WORD LangId) {
    return LangId >> 10;
}
constexpr DWORD MAKELCID(WORD LangId, WORD SortId) {
    return (static_cast<DWORD>(SortId) << 16) | LangId;
}
constexpr WORD SORTIDFROMLCID(DWORD Lcid) {
    return static_cast<WORD>(Lcid >> 16);
}
constexpr WORD LANGIDFROMLCID(DWORD Lcid) {
    return static_cast<WORD>(Lcid);
}
