// The ground floor of the Unicode control layer: the platform flags that pick
// the wide or the ANSI road, the layer's exceptions, the conversions between
// UTF-16 and byte strings (code pages, UTF-8, UTF-7, raw UTF-16), and resource
// strings and command-line parameters as wide text.
#pragma once

#include "platform/core/Exceptions.h"
#include "platform/core/Types.h"
#include "platform/win/WinUser.h"

// ---- Exceptions -------------------------------------------------------------------

// Failures of the layer: bad input ("Invalid UTF7"), user mistakes, broken
// invariants ("TNT Internal Error: ...").
class ETntUserError : public Exception {
public:
    using Exception::Exception;
};
class ETntGeneralError : public Exception {
public:
    using Exception::Exception;
};
class ETntInternalError : public Exception {
public:
    using Exception::Exception;
};

inline constexpr const char* SInvalidUTF7 = "Invalid UTF7";

// ---- Platform flags ---------------------------------------------------------------

// True on the NT family, whose wide entry points every wide/ANSI decision of
// the layer takes. Set at start-up; tests may set it false to reach the ANSI road.
extern bool Win32PlatformIsUnicode;
// True from version 5.1 on.
extern bool Win32PlatformIsXP;
// Sets both flags from the version the system reports; start-up calls it.
void ReadPlatformFlags();

// ---- Code pages ---------------------------------------------------------------------

constexpr Cardinal CP_UTF7_CODE_PAGE = 65000;
constexpr Cardinal CP_UTF8_CODE_PAGE = 65001;

// The code page of ANSI text in the layer: always 0, the system's ANSI code page.
Cardinal DefaultSystemCodePage();

// UTF-8, one UTF-16 code unit at a time (a surrogate pair gives two
// three-byte sequences). Decoding takes one- to four-byte sequences (four
// bytes become a surrogate pair); an overlong form decodes as U+FFFD; any
// other ill-formed or truncated sequence makes the whole result empty.
AnsiString WideStringToUTF8(const WideString& S);
WideString UTF8ToWideString(const AnsiString& S);

// UTF-7 after RFC 2152, writing the optional direct characters directly.
// Decoding raises ETntGeneralError "Invalid UTF7" for malformed input.
AnsiString WideStringToUTF7(const WideString& W);
WideString UTF7ToWideString(const AnsiString& S);

// Conversion through a code page: 65000 and 65001 go to the coders above,
// others to MultiByteToWideChar/WideCharToMultiByte (characters a code page
// lacks become its default character). An unknown code page gives empty text.
WideString StringToWideStringEx(const AnsiString& S, Cardinal CodePage);
AnsiString WideStringToStringEx(const WideString& W, Cardinal CodePage);

// Raw UTF-16 little-endian bytes; an odd last byte is dropped.
WideString UCS2ToWideString(const AnsiString& S);
AnsiString WideStringToUCS2(const WideString& W);
// Swaps the bytes of each code unit of a null-terminated buffer in place.
void StrSwapByteOrder(WideChar* Str);

// The ANSI code page of a font character set; raises EOSError for a character
// set without one (DEFAULT_CHARSET, OEM_CHARSET, ...).
Cardinal CharSetToCodePage(DWORD CharSet);
// The default ANSI code page of a locale; GetACP() when it has none.
Cardinal LCIDToCodePage(DWORD Locale);
// The ANSI code page of the keyboard's input language.
Cardinal KeyboardCodePage();
// The UTF-16 character of a key's character code: codes below 256 are bytes
// of the keyboard's code page (U+0000 when not convertible); others are
// returned unchanged.
Word KeyUnicode(Word CharCode);

// ---- Resource strings and the command line --------------------------------------------

// A resource string as the compiler records it: an Identifier of 65536 or more
// is the address of the null-terminated text itself; a smaller one names an
// entry of Module's string table.
struct TResStringRec {
    HMODULE* Module = nullptr;
    NativeUInt Identifier = 0;
};
using PResStringRec = const TResStringRec*;

// When set and returning true, it supplies the text of every resource string.
using TWideCustomLoadResString = bool (*)(PResStringRec ResStringRec, WideString& Value);
extern TWideCustomLoadResString WideCustomLoadResString;

// The text as UTF-16: text held in the record starting with the UTF-8 mark is
// decoded as UTF-8, other text converted from the ANSI code page. There are
// no string tables: a numbered entry gives empty text.
WideString WideLoadResString(PResStringRec ResStringRec);

// The parameters after the program name on the command line, split at blanks
// with double quotes grouping (and dropped).
Integer WideParamCount();
// Parameter Index; 0 is the program's full file name.
WideString WideParamStr(Integer Index);
