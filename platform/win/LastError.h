// The calling thread's last error, as the operating-system calls report it,
// and the Windows error codes the platform layer sets. The value is the one
// the core's file and code-page calls keep, so both layers share it.
#pragma once

#include "platform/core/System.h"
#include "platform/win/WinTypes.h"

DWORD GetLastError();
void SetLastError(DWORD errorCode);

constexpr DWORD ERROR_SUCCESS = OSErrorCode::Success;
constexpr DWORD NO_ERROR = OSErrorCode::Success;
constexpr DWORD ERROR_FILE_NOT_FOUND = OSErrorCode::FileNotFound;
constexpr DWORD ERROR_PATH_NOT_FOUND = OSErrorCode::PathNotFound;
constexpr DWORD ERROR_ACCESS_DENIED = OSErrorCode::AccessDenied;
constexpr DWORD ERROR_INVALID_HANDLE = OSErrorCode::InvalidHandle;
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = OSErrorCode::NotEnoughMemory;
constexpr DWORD ERROR_OUTOFMEMORY = 14;
constexpr DWORD ERROR_BAD_FORMAT = 11;
constexpr DWORD ERROR_WRITE_FAULT = 29;
constexpr DWORD ERROR_INVALID_PARAMETER = OSErrorCode::InvalidParameter;
constexpr DWORD ERROR_BUFFER_OVERFLOW = 111;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = OSErrorCode::InsufficientBuffer;
constexpr DWORD ERROR_DISCARDED = 157;
constexpr DWORD ERROR_NOT_LOCKED = 158;
constexpr DWORD ERROR_BAD_PATHNAME = 161;
constexpr DWORD ERROR_MORE_DATA = 234;
constexpr DWORD ERROR_NO_MORE_ITEMS = 259;
constexpr DWORD ERROR_INVALID_FLAGS = OSErrorCode::InvalidFlags;
constexpr DWORD ERROR_KEY_DELETED = 1018;
constexpr DWORD ERROR_NO_ASSOCIATION = 1155;
constexpr DWORD ERROR_RESOURCE_TYPE_NOT_FOUND = 1813;
constexpr DWORD ERROR_CLIPBOARD_NOT_OPEN = 1418;
constexpr DWORD ERROR_TIMEOUT = 1460;
