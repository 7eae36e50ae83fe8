// Code pages: conversions between byte strings and UTF-16 with the semantics
// of the system's MultiByteToWideChar/WideCharToMultiByte, and the character
// classes and case mapping of the ANSI code page (Windows-1252, single-byte).
#pragma once

#include "platform/core/Types.h"

#include <string>
#include <type_traits>

// Code-page numbers.
constexpr Cardinal CP_ACP = 0;
constexpr Cardinal CP_OEMCP = 1;
constexpr Cardinal CP_MACCP = 2;
constexpr Cardinal CP_THREAD_ACP = 3;
constexpr Cardinal CP_WINDOWS_1252 = 1252;
constexpr Cardinal CP_US_ASCII = 20127;
constexpr Cardinal CP_ISO_8859_1 = 28591;
constexpr Cardinal CP_UTF7 = 65000;
constexpr Cardinal CP_UTF8 = 65001;

// The system's ANSI code page: what CP_ACP and CP_THREAD_ACP stand for.
constexpr Cardinal SystemAnsiCodePage = CP_WINDOWS_1252;

// Flags of MultiByteToWideChar.
constexpr DWORD MB_PRECOMPOSED = 0x01;
constexpr DWORD MB_COMPOSITE = 0x02;
constexpr DWORD MB_USEGLYPHCHARS = 0x04;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x08;

// Flags of WideCharToMultiByte.
constexpr DWORD WC_DISCARDNS = 0x10;
constexpr DWORD WC_SEPCHARS = 0x20;
constexpr DWORD WC_DEFAULTCHAR = 0x40;
constexpr DWORD WC_ERR_INVALID_CHARS = 0x80;
constexpr DWORD WC_COMPOSITECHECK = 0x200;
constexpr DWORD WC_NO_BEST_FIT_CHARS = 0x400;

// Converts bytes of CodePage into UTF-16. Count -1 means "up to and including
// the terminating NUL". With WideCharCount 0 it only measures. Returns the
// number of code units written (or needed), or 0 on failure with the reason in
// GetLastOSError(): ERROR_INVALID_PARAMETER (unknown code page, bad arguments),
// ERROR_INVALID_FLAGS, ERROR_INSUFFICIENT_BUFFER, ERROR_NO_UNICODE_TRANSLATION
// (ill-formed UTF-8 with MB_ERR_INVALID_CHARS).
Integer MultiByteToWideChar(Cardinal CodePage, DWORD Flags, const char* MultiByteStr, Integer MultiByteCount,
                            WideChar* WideCharStr, Integer WideCharCount);

// Converts UTF-16 into bytes of CodePage. A character the code page lacks
// becomes DefaultChar (the code page's own, "?", when null) and sets
// *UsedDefaultChar; both must be null for UTF-8 and UTF-7. No best-fit
// mapping is made: only exact equivalents count as mapped.
Integer WideCharToMultiByte(Cardinal CodePage, DWORD Flags, const WideChar* WideCharStr,
                            Integer WideCharCount, char* MultiByteStr, Integer MultiByteCount,
                            const char* DefaultChar, Integer* UsedDefaultChar);

// Whole-string forms of the two calls above.
WideString CodePageToWide(const AnsiString& Bytes, Cardinal CodePage);
AnsiString WideToCodePage(const WideString& Text, Cardinal CodePage, bool* UsedDefaultChar = nullptr);

// ANSI (the system code page) <-> UTF-16: the framework's implicit conversions.
WideString AnsiToWide(const AnsiString& Text);
// One byte of the system code page as UTF-16 (a single-byte code page: every byte maps).
WideChar AnsiCharToWide(AnsiChar Char);
AnsiString WideToAnsi(const WideString& Text);

// The text an ANSI or a UTF-16 entry point was given, as UTF-16; a null pointer is empty.
WideString TextOf(const char* Text);
WideString TextOf(const WideChar* Text);
// UTF-16 text in the character type of an ANSI or a UTF-16 entry point.
template <typename Char> std::basic_string<Char> TextAs(const WideString& Text) {
    if constexpr (std::is_same_v<Char, char>)
        return WideToAnsi(Text);
    else
        return Text;
}

// UTF-8. Ill-formed input decodes to U+FFFD per bad sequence; an unpaired
// surrogate encodes as U+FFFD.
std::string UTF8Encode(const WideString& Text);
WideString UTF8Decode(const std::string& Bytes);
std::string AnsiToUtf8(const AnsiString& Text);
AnsiString Utf8ToAnsi(const std::string& Bytes);

// Character classes (GetStringTypeEx info types and their bits).
constexpr DWORD CT_CTYPE1 = 0x01;
constexpr DWORD CT_CTYPE2 = 0x02;
constexpr DWORD CT_CTYPE3 = 0x04;

constexpr Word C1_UPPER = 0x0001;
constexpr Word C1_LOWER = 0x0002;
constexpr Word C1_DIGIT = 0x0004;
constexpr Word C1_SPACE = 0x0008;
constexpr Word C1_PUNCT = 0x0010;
constexpr Word C1_CNTRL = 0x0020;
constexpr Word C1_BLANK = 0x0040;
constexpr Word C1_XDIGIT = 0x0080;
constexpr Word C1_ALPHA = 0x0100;
constexpr Word C1_DEFINED = 0x0200;

constexpr Word C3_NONSPACING = 0x0001;
constexpr Word C3_DIACRITIC = 0x0002;
constexpr Word C3_VOWELMARK = 0x0004;
constexpr Word C3_SYMBOL = 0x0008;
constexpr Word C3_KATAKANA = 0x0010;
constexpr Word C3_HIRAGANA = 0x0020;
constexpr Word C3_HALFWIDTH = 0x0040;
constexpr Word C3_FULLWIDTH = 0x0080;
constexpr Word C3_IDEOGRAPH = 0x0100;
constexpr Word C3_KASHIDA = 0x0200;
constexpr Word C3_LEXICAL = 0x0400;
constexpr Word C3_ALPHA = 0x8000;

// The CT_CTYPE1 or CT_CTYPE3 bits of one character (0 for another info type).
// Characters of the ANSI code page's repertoire are classified exactly; others
// by the C library's Unicode tables.
Word WideCharType(WideChar Char, DWORD InfoType);
// The same for a byte of the ANSI code page.
Word AnsiCharType(AnsiChar Char, DWORD InfoType);

// Case mapping of one character, as CharUpper/CharLower give it: a character
// without a one-character counterpart in its own repertoire stays unchanged
// (so "ß" and "µ" stay, "ÿ" <-> "Ÿ" map within the ANSI code page).
AnsiChar AnsiCharUpper(AnsiChar Char);
AnsiChar AnsiCharLower(AnsiChar Char);
WideChar WideCharUpper(WideChar Char);
WideChar WideCharLower(WideChar Char);

// The locale's string comparison (what CompareString gives for the user's
// locale): letters compare by their base letter before accents and case,
// lower case sorts before upper case, punctuation before digits before
// letters, and hyphens, apostrophes and control characters only decide
// between otherwise equal strings. Returns <0, 0 or >0.
Integer LocaleCompareAnsi(const AnsiString& A, const AnsiString& B, bool IgnoreCase);
Integer LocaleCompareWide(const WideString& A, const WideString& B, bool IgnoreCase);

// Lead-byte tests: the system code page is single-byte, so no byte leads a
// double-byte character.
enum TMbcsByteType { mbSingleByte, mbLeadByte, mbTrailByte };
// Whether the system locale is a Far-East one (captions may carry bracketed
// hot keys such as "(&F)") or a Middle-East one (menus read right to left).
// Both false here; tests may set them to reach those paths.
extern bool SysLocaleFarEast;
extern bool SysLocaleMiddleEast;
bool IsDBCSLeadByte(Byte TestChar);
bool IsDBCSLeadByteEx(Cardinal CodePage, Byte TestChar);
// Index is 1-based, as the framework's ByteType takes it.
TMbcsByteType ByteType(const AnsiString& S, Integer Index);
