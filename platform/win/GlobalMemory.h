// Global memory blocks: the handles the clipboard and other exchanges pass
// around. A fixed block's handle is its address; a movable block has a handle
// of its own, is reached through GlobalLock and keeps a lock count.
#pragma once

#include "platform/win/WinTypes.h"

#include <cstddef>

using SIZE_T = std::size_t;
using HGLOBAL = HANDLE;

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GMEM_SHARE = 0x2000;
constexpr UINT GMEM_DDESHARE = GMEM_SHARE;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

// Contents start zeroed whatever the flags. A movable block of 0 bytes is a
// discarded block: it has a handle but GlobalLock gives no memory.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// The block's memory, counting one more lock for a movable block.
LPVOID GlobalLock(HGLOBAL memory);
// Nonzero while a movable block stays locked; zero with NO_ERROR once it is
// unlocked, with ERROR_NOT_LOCKED when it was not locked.
BOOL GlobalUnlock(HGLOBAL memory);
// The size asked for at allocation; 0 with ERROR_INVALID_HANDLE for an unknown handle.
SIZE_T GlobalSize(HGLOBAL memory);
// Null on success (locked blocks are freed too); the handle itself on failure.
HGLOBAL GlobalFree(HGLOBAL memory);
