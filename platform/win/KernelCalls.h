// The kernel's file, folder, path, locale and message entry points (A and W)
// over the POSIX calls: files, folders, the temporary path, find-first,
// attributes, copy, move and delete. File names may use "\" or "/"; names
// handed back use "\", the delimiter the Windows path routines work with.
// They live in their own namespace so that they never meet the platform's own.
#pragma once

#include "platform/core/Types.h"
#include "platform/win/Registry.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/WinUser.h"

namespace kernel32 {

using LPCVOID = const void*;
using LPWORD = WORD*;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

constexpr DWORD MAX_PATH = 260;

// ---- Files ----------------------------------------------------------------------------

inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1));

constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD FILE_SHARE_READ = 0x00000001;
constexpr DWORD FILE_SHARE_WRITE = 0x00000002;
constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x00000001;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x00000002;
constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x00000004;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x00000020;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// Times are FILETIME values (Registry.h): hundreds of nanoseconds since 1 January 1601.
template <typename Char> struct WIN32_FIND_DATA_T {
    DWORD dwFileAttributes = 0;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh = 0;
    DWORD nFileSizeLow = 0;
    DWORD dwReserved0 = 0;
    DWORD dwReserved1 = 0;
    Char cFileName[MAX_PATH] = {};
    Char cAlternateFileName[14] = {};
};
using WIN32_FIND_DATAA = WIN32_FIND_DATA_T<CHAR>;
using WIN32_FIND_DATAW = WIN32_FIND_DATA_T<WCHAR>;

// A file handle carries the file descriptor, so THandle streams can use it.
HANDLE CreateFileA(LPCSTR fileName, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                   DWORD disposition, DWORD flagsAndAttributes, HANDLE templateFile);
HANDLE CreateFileW(LPCWSTR fileName, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                   DWORD disposition, DWORD flagsAndAttributes, HANDLE templateFile);
BOOL CloseHandle(HANDLE handle);

// Masks of "*" and "?" match names without regard to case; a name without
// them matches itself exactly, as the file system compares names. "." and
// ".." come first, the other entries in name order.
HANDLE FindFirstFileA(LPCSTR fileName, WIN32_FIND_DATAA* findData);
HANDLE FindFirstFileW(LPCWSTR fileName, WIN32_FIND_DATAW* findData);
BOOL FindNextFileA(HANDLE findFile, WIN32_FIND_DATAA* findData);
BOOL FindNextFileW(HANDLE findFile, WIN32_FIND_DATAW* findData);
BOOL FindClose(HANDLE findFile);

// Read-only means the owner may not write; hidden, a name starting with ".".
// Setting attributes changes only the read-only bit.
DWORD GetFileAttributesA(LPCSTR fileName);
DWORD GetFileAttributesW(LPCWSTR fileName);
BOOL SetFileAttributesA(LPCSTR fileName, DWORD attributes);
BOOL SetFileAttributesW(LPCWSTR fileName, DWORD attributes);

BOOL CreateDirectoryA(LPCSTR pathName, LPSECURITY_ATTRIBUTES security);
BOOL CreateDirectoryW(LPCWSTR pathName, LPSECURITY_ATTRIBUTES security);
BOOL RemoveDirectoryA(LPCSTR pathName);
BOOL RemoveDirectoryW(LPCWSTR pathName);
// Fails when the new name exists.
BOOL MoveFileA(LPCSTR existingFileName, LPCSTR newFileName);
BOOL MoveFileW(LPCWSTR existingFileName, LPCWSTR newFileName);
constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;
// With MOVEFILE_REPLACE_EXISTING a file of the new name is replaced in one
// step (a folder of that name is not: ERROR_ACCESS_DENIED).
BOOL MoveFileExA(LPCSTR existingFileName, LPCSTR newFileName, DWORD flags);
BOOL MoveFileExW(LPCWSTR existingFileName, LPCWSTR newFileName, DWORD flags);
BOOL CopyFileA(LPCSTR existingFileName, LPCSTR newFileName, BOOL failIfExists);
BOOL CopyFileW(LPCWSTR existingFileName, LPCWSTR newFileName, BOOL failIfExists);
BOOL DeleteFileA(LPCSTR fileName);
BOOL DeleteFileW(LPCWSTR fileName);
BOOL SetCurrentDirectoryA(LPCSTR pathName);
BOOL SetCurrentDirectoryW(LPCWSTR pathName);
// The file system holding rootPathName (the current folder when null).
BOOL GetDiskFreeSpaceA(LPCSTR rootPathName, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector,
                       LPDWORD freeClusters, LPDWORD totalClusters);
BOOL GetDiskFreeSpaceW(LPCWSTR rootPathName, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector,
                       LPDWORD freeClusters, LPDWORD totalClusters);

BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, FILETIME* localFileTime);
BOOL FileTimeToDosDateTime(const FILETIME* fileTime, WORD* fatDate, WORD* fatTime);

// ---- Path and program names -----------------------------------------------------------
// Each copies the name with its terminator and returns its length when it fits,
// else returns the size needed with the terminator (GetModuleFileName: copies
// what fits, unterminated, and returns the buffer size).

// The absolute name, "." and ".." resolved against the current folder.
DWORD GetFullPathNameA(LPCSTR fileName, DWORD bufferLength, LPSTR buffer, LPSTR* filePart);
DWORD GetFullPathNameW(LPCWSTR fileName, DWORD bufferLength, LPWSTR buffer, LPWSTR* filePart);
// Names have no short form here: an existing name comes back as it is, with "\".
DWORD GetShortPathNameA(LPCSTR longPath, LPSTR shortPath, DWORD bufferLength);
DWORD GetShortPathNameW(LPCWSTR longPath, LPWSTR shortPath, DWORD bufferLength);
// The executable's full name, whatever the module.
DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);
DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);
// The user's private temporary folder, with a trailing "\".
DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer);
DWORD GetTempPathW(DWORD bufferLength, LPWSTR buffer);

// The Windows folder is "\usr" and the system folder "\usr\lib", where this
// system keeps what Windows keeps in its own folders.
UINT GetWindowsDirectoryA(LPSTR buffer, UINT size);
UINT GetWindowsDirectoryW(LPWSTR buffer, UINT size);
UINT GetSystemDirectoryA(LPSTR buffer, UINT size);
UINT GetSystemDirectoryW(LPWSTR buffer, UINT size);

// The program's command line: its arguments joined by blanks, those holding
// blanks enclosed in double quotes.
LPSTR GetCommandLineA();
LPWSTR GetCommandLineW();

// ---- Locale ----------------------------------------------------------------------------

constexpr DWORD NORM_IGNORECASE = 0x00000001;
constexpr int CSTR_LESS_THAN = 1;
constexpr int CSTR_EQUAL = 2;
constexpr int CSTR_GREATER_THAN = 3;

// The locale's order (LocaleCompareWide); a count of -1 means null-terminated.
// Returns CSTR_LESS_THAN, CSTR_EQUAL or CSTR_GREATER_THAN; 0 on bad arguments.
int CompareStringA(LCID locale, DWORD flags, LPCSTR string1, int count1, LPCSTR string2, int count2);
int CompareStringW(LCID locale, DWORD flags, LPCWSTR string1, int count1, LPCWSTR string2, int count2);

// A pointer whose high 16 bits are 0 carries one character, mapped and returned
// the same way; otherwise the null-terminated text is mapped in place.
LPSTR CharUpperA(LPSTR text);
LPWSTR CharUpperW(LPWSTR text);
LPSTR CharLowerA(LPSTR text);
LPWSTR CharLowerW(LPWSTR text);
DWORD CharUpperBuffA(LPSTR text, DWORD length);
DWORD CharUpperBuffW(LPWSTR text, DWORD length);
DWORD CharLowerBuffA(LPSTR text, DWORD length);
DWORD CharLowerBuffW(LPWSTR text, DWORD length);

// CT_CTYPE1/2/3 bits of each character; a count of -1 means null-terminated.
BOOL GetStringTypeExA(LCID locale, DWORD infoType, LPCSTR source, int count, LPWORD charType);
BOOL GetStringTypeExW(LCID locale, DWORD infoType, LPCWSTR source, int count, LPWORD charType);

template <typename Char> struct CURRENCYFMT_T {
    UINT NumDigits = 0;
    UINT LeadingZero = 0;
    UINT Grouping = 0;
    Char* lpDecimalSep = nullptr;
    Char* lpThousandSep = nullptr;
    UINT NegativeOrder = 0;
    UINT PositiveOrder = 0;
    Char* lpCurrencySymbol = nullptr;
};
using CURRENCYFMTA = CURRENCYFMT_T<CHAR>;
using CURRENCYFMTW = CURRENCYFMT_T<WCHAR>;

// Formats a number text ("-1234.5": digits, one optional "." and a leading
// "-") as currency, by format or the locale's settings. Returns the characters
// written with the terminator (the size needed when size is 0); 0 with
// ERROR_INVALID_PARAMETER for a bad number, ERROR_INSUFFICIENT_BUFFER.
int GetCurrencyFormatA(LCID locale, DWORD flags, LPCSTR value, const CURRENCYFMTA* format, LPSTR buffer,
                       int size);
int GetCurrencyFormatW(LCID locale, DWORD flags, LPCWSTR value, const CURRENCYFMTW* format, LPWSTR buffer,
                       int size);

// ---- Messages ---------------------------------------------------------------------------

constexpr DWORD FORMAT_MESSAGE_IGNORE_INSERTS = 0x00000200;
constexpr DWORD FORMAT_MESSAGE_FROM_HMODULE = 0x00000800;
constexpr DWORD FORMAT_MESSAGE_FROM_SYSTEM = 0x00001000;
constexpr DWORD FORMAT_MESSAGE_ARGUMENT_ARRAY = 0x00002000;

// The system's text of an error code (FORMAT_MESSAGE_FROM_SYSTEM; modules have
// no message tables here) followed by CR LF; returns the characters written,
// 0 with ERROR_MR_MID_NOT_FOUND when there is none.
DWORD FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId, LPSTR buffer, DWORD size,
                     void* arguments);
DWORD FormatMessageW(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId, LPWSTR buffer,
                     DWORD size, void* arguments);

} // namespace kernel32
