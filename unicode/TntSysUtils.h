// The class library's system utilities for UTF-16 text: case, replacing, line
// breaks, quoting and wrapping; file names with "\" as the path delimiter and
// ":" as the drive delimiter; files, folders and searches; locale texts,
// dates and currency; system messages and character classes. Everything that
// reaches the system goes through the Tnt_ wrappers.
#pragma once

#include "platform/core/Exceptions.h"
#include "platform/core/FileUtils.h"
#include "platform/core/SysUtils.h"
#include "platform/win/Kernel.h"
#include "platform/win/KernelCalls.h"

#include <vector>

// ---- Strings ---------------------------------------------------------------------------

WideString Tnt_WideUpperCase(const WideString& S);
WideString Tnt_WideLowerCase(const WideString& S);
// The last code unit, U+0000 for empty text.
WideChar WideLastChar(const WideString& S);

// With rfIgnoreCase the search ignores case; with WholeWord a match counts
// only between spaces, punctuation or the text's ends.
WideString Tnt_WideStringReplace(const WideString& S, const WideString& OldPattern,
                                 const WideString& NewPattern, TReplaceFlags Flags, bool WholeWord = false);

enum TTntTextLineBreakStyle { tlbsLF, tlbsCRLF, tlbsCR };
// Every CR LF, lone CR, lone LF and U+2028 becomes the style's break.
WideString TntAdjustLineBreaks(const WideString& S, TTntTextLineBreakStyle Style = tlbsCRLF);
Integer TntAdjustLineBreaksLength(const WideString& S, TTntTextLineBreakStyle Style = tlbsCRLF);

WideString WideQuotedStr(const WideString& S, WideChar Quote);
// The quoted value at P (empty when P does not start with Quote); P moves past it.
WideString Tnt_WideExtractQuotedStr(const WideChar*& P, WideChar Quote);
// The quoted value of S, or S itself when that value is empty.
WideString WideDequotedStr(const WideString& S, WideChar Quote);

// Breaks Line at break characters (up to U+00FF) outside quotes so that lines
// stay within MaxCol columns; the short form breaks with CR LF at space, TAB and "-".
WideString WideWrapText(const WideString& Line, const WideString& BreakStr, const WideString& BreakChars,
                        Integer MaxCol);
WideString WideWrapText(const WideString& Line, Integer MaxCol);

// 1-based position of SubStr in S, ignoring case; 0 when absent.
Integer WideTextPos(const WideString& SubStr, const WideString& S);
// Whether the ANSI code page holds the character (every character).
bool IsWideCharMappableToAnsi(WideChar C);
bool IsWideStringMappableToAnsi(const WideString& S);
// S starts with "{\rtf" or "{urtf", in any case.
bool IsRTF(const WideString& S);

// Number text with "." as the decimal separator, whatever the settings.
WideString ENG_US_FloatToStr(double Value);
double ENG_US_StrToFloat(const WideString& S);

// Lists of texts each ended by U+0000, the list by an empty one.
WideString ExtractStringArrayStr(const WideChar* P);
// The text up to Separator (P moves past it) or to the end (P moves to the terminator).
WideString ExtractStringFromStringArray(const WideChar*& P, WideChar Separator = 0);
std::vector<WideString> ExtractStringsFromStringArray(const WideChar* P, WideChar Separator = 0);

// ---- File names ---------------------------------------------------------------------------

WideString WideIncludeTrailingPathDelimiter(const WideString& S);
WideString WideIncludeTrailingBackslash(const WideString& S);
WideString WideExcludeTrailingPathDelimiter(const WideString& S);
WideString WideExcludeTrailingBackslash(const WideString& S);
// Index is 1-based.
bool WideIsPathDelimiter(const WideString& S, Integer Index);
bool WideIsDelimiter(const WideString& Delimiters, const WideString& S, Integer Index);
Integer WideLastDelimiter(const WideString& Delimiters, const WideString& S);
WideString WideChangeFileExt(const WideString& FileName, const WideString& Extension);
WideString WideExtractFilePath(const WideString& FileName);
WideString WideExtractFileDir(const WideString& FileName);
// "C:" of "C:\x"; "\\server\share" of "\\server\share\dir\f".
WideString WideExtractFileDrive(const WideString& FileName);
WideString WideExtractFileName(const WideString& FileName);
WideString WideExtractFileExt(const WideString& FileName);
WideString WideExtractRelativePath(const WideString& BaseName, const WideString& DestName);
// Full names of any length.
WideString WideExpandFileName(const WideString& FileName);
WideString WideExtractShortPathName(const WideString& FileName);

// ---- Files and folders ---------------------------------------------------------------------

// Handles for THandleStream; InvalidHandle on failure. WideFileOpen's Mode is
// an fmOpen* access with an fmShare* flag; other values fail.
THandle WideFileCreate(const WideString& FileName);
THandle WideFileOpen(const WideString& FileName, Cardinal Mode);
// DOS date (high word) and time of the last write, local time; -1 for a
// missing file or a folder.
Integer WideFileAge(const WideString& FileName);
bool WideFileExists(const WideString& FileName);
bool WideDirectoryExists(const WideString& Name);
Cardinal WideFileGetAttr(const WideString& FileName);
bool WideFileSetAttr(const WideString& FileName, Integer Attr);
// False for a file whose attributes cannot be read.
bool WideFileIsReadOnly(const WideString& FileName);
bool WideFileSetReadOnly(const WideString& FileName, bool ReadOnly);
// Raises ETntGeneralError "Unable to create directory" for an empty name.
bool WideForceDirectories(WideString Dir);
// Name when it exists, else the first existing Name in the ";"-separated folders; empty when none.
WideString WideFileSearch(const WideString& Name, const WideString& DirList);
bool WideRenameFile(const WideString& OldName, const WideString& NewName);
bool WideDeleteFile(const WideString& FileName);
bool WideCopyFile(const WideString& FromFile, const WideString& ToFile, bool FailIfExists);
bool WideCreateDir(const WideString& Dir);
bool WideRemoveDir(const WideString& Dir);
bool WideSetCurrentDir(const WideString& Dir);

struct TSearchRecW {
    Integer Time = 0;
    Int64 Size = 0;
    Integer Attr = 0;
    WideString Name;
    Integer ExcludeAttr = 0;
    HANDLE FindHandle = kernel32::INVALID_HANDLE_VALUE;
    kernel32::WIN32_FIND_DATAW FindData;
};
// Entries whose hidden, system, volume or folder bits are missing from Attr
// are skipped. Results: 0 or the system error code.
Integer WideFindFirst(const WideString& Path, Integer Attr, TSearchRecW& F);
Integer WideFindNext(TSearchRecW& F);
void WideFindClose(TSearchRecW& F);

// The program's full file name; raises EOSError on failure.
WideString WideGetModuleFileName(HMODULE Instance);
// Loads a library with ErrorMode in force meanwhile (the old mode comes
// back); the floating-point exception flags the load left are cleared.
HMODULE WideSafeLoadLibrary(const WideString& FileName, UINT ErrorMode = SEM_NOOPENFILEERRORBOX);
// A package is one of the libraries the program is built with; its units
// were initialised when the program started. EPackageError "Can't load
// package %s.\r\n%s" with the system's message when it is not one of them.
HMODULE WideLoadPackage(const WideString& Name);

// ---- Locale, dates, currency ----------------------------------------------------------------

WideString WideGetLocaleStr(LCID LocaleID, Integer LocaleType, const WideString& Default);

// Dates as the user's locale writes them ("12/31/2004 1:30:00 PM"); the
// conversions raise EConvertError "'%s' is not a valid date..." on failure.
bool ValidDateTimeStr(const WideString& Str);
bool ValidDateStr(const WideString& Str);
bool ValidTimeStr(const WideString& Str);
TDateTime TntStrToDateTime(const WideString& Str);
TDateTime TntStrToDate(const WideString& Str);
TDateTime TntStrToTime(const WideString& Str);
TDateTime TntStrToDateTimeDef(const WideString& Str, TDateTime Default);
TDateTime TntStrToDateDef(const WideString& Str, TDateTime Default);
TDateTime TntStrToTimeDef(const WideString& Str, TDateTime Default);

// The class library's fixed-point currency: the amount times 10000.
using Currency = Int64;
constexpr Currency CurrencyScale = 10000;
Currency TntStrToCurr(const WideString& Str);
bool ValidCurrencyStr(const WideString& Str);
Currency TntStrToCurrDef(const WideString& Str, Currency Default);
// With the locale's format when Format is null; raises EOSError on failure.
WideString TntCurrToStr(Currency Value, const kernel32::CURRENCYFMTW* Format = nullptr);
// The thread locale's currency format; its texts stay valid until the next call on the thread.
kernel32::CURRENCYFMTW GetDefaultCurrencyFmt();

// ---- Errors and checks -------------------------------------------------------------------------

WideString WideSysErrorMessage(Integer ErrorCode);
// "Unspecified error (%d) from %s." when the system has no text.
WideString WideLibraryErrorMessage(const WideString& LibName, HMODULE Dll, Integer ErrorCode);
bool CheckWin32Version(Integer AMajor, Integer AMinor = 0);
// Raise EOSError when the value reports a failure; else return it.
HANDLE WinCheckH(HANDLE RetVal);
HANDLE WinCheckFileH(HANDLE RetVal);
void* WinCheckP(void* RetVal);

// ---- Character classes --------------------------------------------------------------------------

bool IsWideCharUpper(WideChar WC);
bool IsWideCharLower(WideChar WC);
bool IsWideCharDigit(WideChar WC);
bool IsWideCharSpace(WideChar WC);
bool IsWideCharPunct(WideChar WC);
bool IsWideCharCntrl(WideChar WC);
bool IsWideCharBlank(WideChar WC);
bool IsWideCharXDigit(WideChar WC);
bool IsWideCharAlpha(WideChar WC);
bool IsWideCharAlphaNumeric(WideChar WC);
