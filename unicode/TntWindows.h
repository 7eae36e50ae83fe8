// One wrapper for every operating-system call of the layer that takes or
// returns text, with the wide entry point's parameters: on the NT family it is
// the wide call itself; otherwise the text goes through the ANSI code page to
// the ANSI call and results come back into the caller's wide buffer.
#pragma once

#include "platform/win/KernelCalls.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/WinUser.h"

// ---- Windows and text -------------------------------------------------------------------

BOOL Tnt_SetWindowTextW(HWND hWnd, LPCWSTR lpString);
int Tnt_DrawTextW(HDC hDC, LPCWSTR lpString, int nCount, LPRECT lpRect, UINT uFormat);

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
BOOL Tnt_GetComputerNameW(LPWSTR lpBuffer, LPDWORD nSize);
BOOL Tnt_GetUserNameW(LPWSTR lpBuffer, LPDWORD nSize);

// ---- Processes -----------------------------------------------------------------------------

HINSTANCE Tnt_ShellExecuteW(HWND hWnd, LPCWSTR Operation, LPCWSTR FileName, LPCWSTR Parameters,
                            LPCWSTR Directory, INT ShowCmd);
// The libraries the platform has built in ("RICHED20.DLL"); null for any other.
HMODULE Tnt_LoadLibraryW(LPCWSTR lpLibFileName);
HMODULE Tnt_LoadLibraryExW(LPCWSTR lpLibFileName, HANDLE hFile, DWORD dwFlags);

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
