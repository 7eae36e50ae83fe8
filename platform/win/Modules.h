// Loading system libraries by name. The program is one executable: the
// libraries whose classes the platform provides are answered from a table
// (the rich edit's "RICHED20.DLL", whose classes are always registered), each
// with a module handle of its own; any other name is not found.
#pragma once

#include "platform/core/Exceptions.h"
#include "platform/win/WinUser.h"

// A package (a library of the program's classes) that cannot be loaded.
class EPackageError : public Exception {
public:
    using Exception::Exception;
};

// A name without an extension gets ".DLL"; folders and case do not matter.
// Null with ERROR_MOD_NOT_FOUND for a library that is not in the table.
HMODULE LoadLibraryA(LPCSTR fileName);
HMODULE LoadLibraryW(LPCWSTR fileName);
// The flags change nothing here.
HMODULE LoadLibraryExW(LPCWSTR fileName, HANDLE file, DWORD flags);
// FALSE with ERROR_INVALID_HANDLE for a handle no load gave.
BOOL FreeLibrary(HMODULE module);

// String tables: the program embeds none, so every string is missing. 0
// with ERROR_RESOURCE_TYPE_NOT_FOUND (the buffer, when it has room, emptied).
int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax);
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferMax);
