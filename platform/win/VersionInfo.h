// The version information of files. The program's files carry no version
// resource (nor does any file of this system), so every call answers as
// Windows does for a file without one.
#pragma once

#include "platform/win/WinTypes.h"
#include "platform/win/WinUser.h"

// 0 with ERROR_RESOURCE_TYPE_NOT_FOUND for a file that exists,
// ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND for one that does not; *handle is 0.
DWORD GetFileVersionInfoSizeA(LPCSTR fileName, DWORD* handle);
DWORD GetFileVersionInfoSizeW(LPCWSTR fileName, DWORD* handle);
// FALSE with the error GetFileVersionInfoSize leaves.
BOOL GetFileVersionInfoA(LPCSTR fileName, DWORD handle, DWORD length, void* data);
BOOL GetFileVersionInfoW(LPCWSTR fileName, DWORD handle, DWORD length, void* data);
// No block holds a value: FALSE, with *buffer null and *length 0.
BOOL VerQueryValueA(const void* block, LPCSTR subBlock, void** buffer, UINT* length);
BOOL VerQueryValueW(const void* block, LPCWSTR subBlock, void** buffer, UINT* length);
