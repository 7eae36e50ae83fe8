// The shell's file operations: copying, moving, deleting and renaming files
// and folders in one call, as a program asks for them with SHFileOperation.
// There is no one here to confirm, show progress or undo: what would need a
// question is refused instead, and a failure is reported, never half done.
#pragma once

#include "platform/win/WinTypes.h"
#include "platform/win/WinUser.h"

constexpr UINT FO_MOVE = 0x0001;
constexpr UINT FO_COPY = 0x0002;
constexpr UINT FO_DELETE = 0x0003;
constexpr UINT FO_RENAME = 0x0004;

using FILEOP_FLAGS = WORD;
constexpr FILEOP_FLAGS FOF_MULTIDESTFILES = 0x0001;
constexpr FILEOP_FLAGS FOF_SILENT = 0x0004;
constexpr FILEOP_FLAGS FOF_RENAMEONCOLLISION = 0x0008;
constexpr FILEOP_FLAGS FOF_NOCONFIRMATION = 0x0010;
constexpr FILEOP_FLAGS FOF_WANTMAPPINGHANDLE = 0x0020;
constexpr FILEOP_FLAGS FOF_ALLOWUNDO = 0x0040;
constexpr FILEOP_FLAGS FOF_FILESONLY = 0x0080;
constexpr FILEOP_FLAGS FOF_SIMPLEPROGRESS = 0x0100;
constexpr FILEOP_FLAGS FOF_NOCONFIRMMKDIR = 0x0200;
constexpr FILEOP_FLAGS FOF_NOERRORUI = 0x0400;

// Results besides the Win32 error codes: the source and target are one, and
// a folder would go into itself.
constexpr int DE_SAMEFILE = 0x71;
constexpr int DE_DESTSUBTREE = 0x76;

template <typename Char> struct SHFILEOPSTRUCT_T {
    HWND hwnd = nullptr;
    UINT wFunc = 0;
    // Lists of names, each ended by a zero, the list by a second one.
    const Char* pFrom = nullptr;
    const Char* pTo = nullptr;
    FILEOP_FLAGS fFlags = 0;
    BOOL fAnyOperationsAborted = FALSE;
    void* hNameMappings = nullptr;
    const Char* lpszProgressTitle = nullptr;
};
using SHFILEOPSTRUCTA = SHFILEOPSTRUCT_T<char>;
using SHFILEOPSTRUCTW = SHFILEOPSTRUCT_T<WCHAR>;

// 0 on success, else an error code. Every source and target is checked
// before anything is done; a failure while working leaves the item at hand
// as it was (what it had copied removed) and stops there. The last
// part of a source may hold "*" and "?" (case ignored; FOF_FILESONLY: files
// only). A copy or move goes into the target when it is a folder, else to
// the target's name (its folder made when missing); with FOF_MULTIDESTFILES
// each source has its own target. A target that exists is replaced only
// with FOF_NOCONFIRMATION (else ERROR_ALREADY_EXISTS). A rename's target is
// the new name, in the source's folder when it names none. A delete removes
// for good: there is no recycle bin here, whatever FOF_ALLOWUNDO asks.
// Errors: ERROR_FILE_NOT_FOUND (a source is missing or a wildcard matches nothing), ERROR_INVALID_PARAMETER
// (an unknown operation, no source, no target), DE_SAMEFILE, DE_DESTSUBTREE,
// ERROR_ALREADY_EXISTS, or the file system's error. No name mappings are
// made (hNameMappings stays null) and fAnyOperationsAborted stays FALSE.
int SHFileOperationA(SHFILEOPSTRUCTA* operation);
int SHFileOperationW(SHFILEOPSTRUCTW* operation);
// Name mappings are never made, so there is nothing to free.
void SHFreeNameMappings(HANDLE nameMappings);
