// The shell's answers about files and folders: the folder chooser with its
// item lists, the display and type names and icon of a file, and the icon
// of the program a document opens with. There are no shell extensions,
// associations or icon sets here: every file shows the stock icon.
#pragma once

#include "platform/win/KernelCalls.h"
#include "platform/win/WinTypes.h"
#include "platform/win/WinUser.h"

// ---- Item lists --------------------------------------------------------------------------

using DWORD_PTR = ULONG_PTR;

// An item list: items of cb bytes (cb counting itself), ended by an item of 0.
struct SHITEMID {
    USHORT cb = 0;
    BYTE abID[1] = {};
};
struct ITEMIDLIST {
    SHITEMID mkid;
};
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;
using PIDLIST_ABSOLUTE = ITEMIDLIST*;

// Frees memory the shell handed out (item lists among it); null is ignored.
void CoTaskMemFree(void* memory);
void ILFree(LPITEMIDLIST list);

// ---- Choosing a folder -------------------------------------------------------------------

constexpr UINT BIF_RETURNONLYFSDIRS = 0x0001;
constexpr UINT BIF_EDITBOX = 0x0010;
constexpr UINT BIF_NEWDIALOGSTYLE = 0x0040;

using BFFCALLBACK = int (*)(HWND window, UINT message, LPARAM lParam, LPARAM data);

template <typename Char> struct BROWSEINFO_T {
    HWND hwndOwner = nullptr;
    LPCITEMIDLIST pidlRoot = nullptr;
    // MAX_PATH characters that receive the chosen folder's display name.
    Char* pszDisplayName = nullptr;
    const Char* lpszTitle = nullptr;
    UINT ulFlags = 0;
    BFFCALLBACK lpfn = nullptr;
    LPARAM lParam = 0;
    int iImage = 0;
};
using BROWSEINFOA = BROWSEINFO_T<char>;
using BROWSEINFOW = BROWSEINFO_T<WCHAR>;

// The backend's folder chooser, starting at pidlRoot's folder when given,
// with lpszTitle as its title; the chosen folder's item list (freed with
// CoTaskMemFree) or null when cancelled. The chooser is the desktop's own:
// the flags and the callback are not used.
PIDLIST_ABSOLUTE SHBrowseForFolderA(BROWSEINFOA* info);
PIDLIST_ABSOLUTE SHBrowseForFolderW(BROWSEINFOW* info);
// The full name of a list's folder or file into MAX_PATH characters; FALSE
// (and an empty path) for a null list or one whose name does not fit.
BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path);
BOOL SHGetPathFromIDListW(LPCITEMIDLIST list, LPWSTR path);

// ---- File information --------------------------------------------------------------------

constexpr UINT SHGFI_LARGEICON = 0x000000;
constexpr UINT SHGFI_SMALLICON = 0x000001;
constexpr UINT SHGFI_PIDL = 0x000008;
constexpr UINT SHGFI_USEFILEATTRIBUTES = 0x000010;
constexpr UINT SHGFI_ICON = 0x000100;
constexpr UINT SHGFI_DISPLAYNAME = 0x000200;
constexpr UINT SHGFI_TYPENAME = 0x000400;

template <typename Char> struct SHFILEINFO_T {
    HICON hIcon = nullptr;
    int iIcon = 0;
    DWORD dwAttributes = 0;
    Char szDisplayName[kernel32::MAX_PATH] = {};
    Char szTypeName[80] = {};
};
using SHFILEINFOA = SHFILEINFO_T<char>;
using SHFILEINFOW = SHFILEINFO_T<WCHAR>;

// What the flags ask of a file or folder (an item list with SHGFI_PIDL):
// SHGFI_DISPLAYNAME its name without the folder; SHGFI_TYPENAME "File
// folder", "File" for a name without extension, else the extension in upper
// case and " File" ("TXT File"); SHGFI_ICON a new copy of the stock icon
// (the caller destroys it) with iIcon 0. With SHGFI_USEFILEATTRIBUTES the
// file need not exist (FILE_ATTRIBUTE_DIRECTORY in `attributes` makes it a
// folder). Non-zero on success; 0 for a file that does not exist, a null
// record or a record size below the record's.
DWORD_PTR SHGetFileInfoA(LPCSTR path, DWORD attributes, SHFILEINFOA* info, UINT infoSize, UINT flags);
DWORD_PTR SHGetFileInfoW(LPCWSTR path, DWORD attributes, SHFILEINFOW* info, UINT infoSize, UINT flags);

// The icon of the program that opens the file: with no associations here,
// a new copy of the stock icon for any file (*iconIndex 0); the caller
// destroys it. Null for a null path.
HICON ExtractAssociatedIconA(HINSTANCE instance, LPSTR iconPath, WORD* iconIndex);
HICON ExtractAssociatedIconW(HINSTANCE instance, LPWSTR iconPath, WORD* iconIndex);
