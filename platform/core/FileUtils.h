// Files, folders and paths with the framework's names and the system's
// semantics. Every call takes "\" and "/" alike as folder separators and
// returns native "/" paths; names are ANSI text, stored on disk as UTF-8.
#pragma once

#include "platform/core/Types.h"

#include <memory>

constexpr char PathDelim = '/';

// ---- Names between the program and the file system -----------------------------

// The file-system form of a name: separators made "/", text made UTF-8.
std::string NativeFileName(const AnsiString& FileName);
std::string NativeFileName(const WideString& FileName);
// A file-system name as the program sees it (characters the ANSI code page
// lacks become "?").
AnsiString FromNativeFileName(const std::string& NativeName);
WideString WideFromNativeFileName(const std::string& NativeName);

// ---- Path text ------------------------------------------------------------------

bool IsPathDelimiter(const AnsiString& S, Integer Index); // Index 1-based
// Up to and including the last separator.
AnsiString ExtractFilePath(const AnsiString& FileName);
// The same without the final separator, unless it is the only one ("/").
AnsiString ExtractFileDir(const AnsiString& FileName);
AnsiString ExtractFileName(const AnsiString& FileName);
// From the last "." of the name part, or empty.
AnsiString ExtractFileExt(const AnsiString& FileName);
AnsiString ChangeFileExt(const AnsiString& FileName, const AnsiString& Extension);
// S ending in a separator ("/" is appended unless S ends in "/" or "\").
AnsiString IncludeTrailingPathDelimiter(const AnsiString& S);
AnsiString IncludeTrailingBackslash(const AnsiString& S);
AnsiString ExcludeTrailingPathDelimiter(const AnsiString& S);
AnsiString ExcludeTrailingBackslash(const AnsiString& S);
// An absolute native path with "." and ".." resolved against the current folder.
AnsiString ExpandFileName(const AnsiString& FileName);

// ---- Files and folders ------------------------------------------------------------
// The calls returning bool leave the reason of a failure in GetLastOSError().

constexpr Integer faReadOnly = 0x01;
constexpr Integer faHidden = 0x02;
constexpr Integer faSysFile = 0x04;
constexpr Integer faVolumeID = 0x08;
constexpr Integer faDirectory = 0x10;
constexpr Integer faArchive = 0x20;
constexpr Integer faAnyFile = 0x3F;

// False for folders.
bool FileExists(const AnsiString& FileName);
bool DirectoryExists(const AnsiString& Name);
// The fa* attributes (hidden = a name starting with "."), or -1.
Integer FileGetAttr(const AnsiString& FileName);
// Deletes a file, never a folder.
bool DeleteFile(const AnsiString& FileName);
// Copies contents, permissions and modification time. Fails when the target
// exists and FailIfExists is set, when both name the same file, or when the
// source is a folder; a failed copy leaves no partial target behind.
bool CopyFile(const AnsiString& ExistingFileName, const AnsiString& NewFileName, bool FailIfExists);
// Moves a file or folder; fails when NewName exists.
bool RenameFile(const AnsiString& OldName, const AnsiString& NewName);
bool CreateDir(const AnsiString& Dir);
bool RemoveDir(const AnsiString& Dir);
// Creates Dir and its missing parents; raises Exception "Unable to create
// directory" for an empty name.
bool ForceDirectories(const AnsiString& Dir);
AnsiString GetCurrentDir();
bool SetCurrentDir(const AnsiString& Dir);

// ---- Searching ----------------------------------------------------------------------

struct TSearchState;

struct TSearchRec {
    Integer Time = 0; // DOS date and time of the last write, local time
    Int64 Size = 0;
    Integer Attr = 0;
    AnsiString Name;
    Integer ExcludeAttr = 0;
    std::shared_ptr<TSearchState> FindHandle;
};

// Path is a folder followed by a mask of "*" and "?" that matches names
// without regard to case ("*.*" matches every name). Entries whose
// attributes include a hidden, system or folder bit missing from Attr are
// skipped; entries come in name order. Results: 0, or ERROR_FILE_NOT_FOUND /
// ERROR_PATH_NOT_FOUND (FindFirst) and ERROR_NO_MORE_FILES (FindNext).
Integer FindFirst(const AnsiString& Path, Integer Attr, TSearchRec& F);
Integer FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);
bool MatchesFileMask(const AnsiString& Name, const AnsiString& Mask);

// ---- Handles (file descriptors) ---------------------------------------------------

using THandle = NativeInt;
// What FileOpen and FileCreate return on failure.
constexpr THandle InvalidHandle = -1;

constexpr Word fmCreate = 0xFFFF;
constexpr Word fmOpenRead = 0x0000;
constexpr Word fmOpenWrite = 0x0001;
constexpr Word fmOpenReadWrite = 0x0002;
constexpr Word fmShareCompat = 0x0000;
constexpr Word fmShareExclusive = 0x0010;
constexpr Word fmShareDenyWrite = 0x0020;
constexpr Word fmShareDenyRead = 0x0030;
constexpr Word fmShareDenyNone = 0x0040;

// Opens an existing file (not a folder) with the access of Mode's low bits;
// the share bits are accepted and not enforced. InvalidHandle on failure.
THandle FileOpen(const AnsiString& FileName, Cardinal Mode);
// Creates or truncates a file for reading and writing.
THandle FileCreate(const AnsiString& FileName);
// Bytes read or written, -1 on failure.
Integer FileRead(THandle Handle, void* Buffer, Cardinal Count);
Integer FileWrite(THandle Handle, const void* Buffer, Cardinal Count);
// The new position, -1 on failure (Origin 0 beginning, 1 current, 2 end).
Int64 FileSeek(THandle Handle, Int64 Offset, Integer Origin);
void FileClose(THandle Handle);

// The system's error code for the errno a call on NativeName left: a missing
// file is ERROR_FILE_NOT_FOUND, a missing folder on the way to it
// ERROR_PATH_NOT_FOUND, as the system tells them apart.
DWORD OSErrorForPath(int ErrorNumber, const std::string& NativeName);

// ---- Special folders ----------------------------------------------------------------

// The executable's full path.
AnsiString ProgramFileName();
// The executable's folder, without a trailing separator.
AnsiString ProgramFolder();
// A folder private to the user below $TMPDIR (or /tmp when that is unset or
// unusable), created with mode 0700 and used only when it is a real folder
// owned by the user and closed to others; returned with a trailing "/".
AnsiString GetTempFolder();
