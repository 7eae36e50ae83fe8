// The user's profile ("win.ini"): sections of "Key=Value" lines read and
// written by the profile calls, kept in one file of the user's configuration
// folder beside the registry. The file is ANSI, so the W calls go through the
// ANSI code page. Every write reaches the disk at once and replaces the file
// whole only when its new content is safely written.
#pragma once

#include "platform/core/Types.h"
#include "platform/win/WinTypes.h"

#include <optional>
#include <string>

// The value of `keyName` in `appName`, one pair of quotes and the surrounding
// blanks removed, else `defaultText` (null: empty) without its trailing blanks,
// with ERROR_FILE_NOT_FOUND as the last error. A null key gives the key names
// of the section and a null section the section names, each ended by a null
// and the list by a second one. The result is the count of characters copied
// without the final null; a value cut to the buffer gives size - 1, a cut list
// (its last name cut and followed by two nulls) gives size - 2.
DWORD GetProfileStringA(LPCSTR appName, LPCSTR keyName, LPCSTR defaultText, LPSTR returnedString, DWORD size);
DWORD GetProfileStringW(LPCWSTR appName, LPCWSTR keyName, LPCWSTR defaultText, LPWSTR returnedString,
                        DWORD size);

// Sets the value, adding the section or key when missing; a null value deletes
// the key and a null key the whole section. All three null asks for cached
// changes to be written, and every change already is. FALSE with the last
// error when the file cannot be written (it is then left as it was) or the
// section is null.
BOOL WriteProfileStringA(LPCSTR appName, LPCSTR keyName, LPCSTR value);
BOOL WriteProfileStringW(LPCWSTR appName, LPCWSTR keyName, LPCWSTR value);

// ---- For the window units ----

// The value of a key as GetProfileString finds it, leaving the last error alone.
std::optional<AnsiString> ProfileValue(const AnsiString& section, const AnsiString& key);

// The file of the profile: by default $QUORVANE_PROFILE_FILE, else "win.ini"
// in the user's configuration folder. Tests set another; empty restores the default.
void SetProfileFile(const std::string& nativePath);
