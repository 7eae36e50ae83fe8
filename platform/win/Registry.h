// The registry: HKEY_CURRENT_USER kept in one file of the user's
// configuration folder, and an empty, read-only HKEY_LOCAL_MACHINE. Key and
// value names compare without regard to case; strings are stored as UTF-16
// and converted through the ANSI code page by the A calls. Every change is
// written to the file at once, atomically; the file is read on first use.
#pragma once

#include "platform/win/WinTypes.h"

#include <string>

struct HKEY__;
using HKEY = HKEY__*;
using PHKEY = HKEY*;
using REGSAM = DWORD;
using LSTATUS = LONG;
using LPBYTE = BYTE*;
using LPDWORD = DWORD*;

struct FILETIME {
    DWORD dwLowDateTime = 0;
    DWORD dwHighDateTime = 0;
};

struct SECURITY_ATTRIBUTES {
    DWORD nLength = 0;
    LPVOID lpSecurityDescriptor = nullptr;
    BOOL bInheritHandle = FALSE;
};

// The predefined keys are 32-bit values sign-extended into a handle.
inline const HKEY HKEY_CURRENT_USER = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(LONG(0x80000001)));
inline const HKEY HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(LONG(0x80000002)));

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_CREATE_LINK = 0x0020;
constexpr REGSAM KEY_WOW64_64KEY = 0x0100;
constexpr REGSAM KEY_WOW64_32KEY = 0x0200;
constexpr REGSAM KEY_READ = 0x00020019;
constexpr REGSAM KEY_WRITE = 0x00020006;
constexpr REGSAM KEY_EXECUTE = KEY_READ;
constexpr REGSAM KEY_ALL_ACCESS = 0x000F003F;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;

// Sub-key paths are relative, "\"-separated; empty or null names the key
// itself. A null or empty value name is the key's default value. Results are
// Windows error codes: ERROR_FILE_NOT_FOUND (no such key or value),
// ERROR_ACCESS_DENIED (handle without the right, HKEY_LOCAL_MACHINE, a key
// with sub-keys to delete), ERROR_MORE_DATA (buffer too small, its size
// returned), ERROR_NO_MORE_ITEMS (enumeration done), ERROR_KEY_DELETED,
// ERROR_INVALID_HANDLE, or the file's error when a change cannot be saved (the
// change is then undone).
LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result);
LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
LSTATUS RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options, REGSAM access,
                        const SECURITY_ATTRIBUTES* security, PHKEY result, LPDWORD disposition);
LSTATUS RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options,
                        REGSAM access, const SECURITY_ATTRIBUTES* security, PHKEY result,
                        LPDWORD disposition);
LSTATUS RegCloseKey(HKEY key);
LSTATUS RegFlushKey(HKEY key);
LSTATUS RegDeleteKeyA(HKEY key, LPCSTR subKey);
LSTATUS RegDeleteKeyW(HKEY key, LPCWSTR subKey);

LSTATUS RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD dataSize);
LSTATUS RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD dataSize);
LSTATUS RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                       DWORD dataSize);
LSTATUS RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                       DWORD dataSize);
LSTATUS RegDeleteValueA(HKEY key, LPCSTR valueName);
LSTATUS RegDeleteValueW(HKEY key, LPCWSTR valueName);

// Sub-keys come in the order of their upper-case names, values in the order
// they were first set. Name sizes count characters with the terminator going
// in and without it coming out.
LSTATUS RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD reserved, LPSTR keyClass,
                      LPDWORD classSize, FILETIME* lastWriteTime);
LSTATUS RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameSize, LPDWORD reserved, LPWSTR keyClass,
                      LPDWORD classSize, FILETIME* lastWriteTime);
LSTATUS RegEnumValueA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD reserved, LPDWORD type,
                      LPBYTE data, LPDWORD dataSize);
LSTATUS RegEnumValueW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameSize, LPDWORD reserved, LPDWORD type,
                      LPBYTE data, LPDWORD dataSize);
// Keys have no class (empty); the largest value size is that of the stored
// UTF-16 form, an upper bound for the A calls.
LSTATUS RegQueryInfoKeyA(HKEY key, LPSTR keyClass, LPDWORD classSize, LPDWORD reserved, LPDWORD subKeys,
                         LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values,
                         LPDWORD maxValueNameLength, LPDWORD maxValueLength, LPDWORD securityDescriptorSize,
                         FILETIME* lastWriteTime);
LSTATUS RegQueryInfoKeyW(HKEY key, LPWSTR keyClass, LPDWORD classSize, LPDWORD reserved, LPDWORD subKeys,
                         LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values,
                         LPDWORD maxValueNameLength, LPDWORD maxValueLength, LPDWORD securityDescriptorSize,
                         FILETIME* lastWriteTime);

// The file that holds HKEY_CURRENT_USER: by default $QUORVANE_REGISTRY_FILE,
// else "quorvane/registry" in $XDG_CONFIG_HOME (or ~/.config). Setting another
// (tests do) drops what was read, so the next call reads the new file; keys
// still open from before then report ERROR_KEY_DELETED. Empty restores the default.
void SetRegistryFile(const std::string& nativePath);
