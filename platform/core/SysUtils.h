// The framework's run-time helpers: formatting and parsing of numbers, string
// case, comparison, trimming and replacing, the standard message texts,
// operating-system error texts and the clock. File helpers are in FileUtils.h,
// which this header brings in as the framework's SysUtils does.
#pragma once

#include "platform/core/Exceptions.h"
#include "platform/core/FileUtils.h"
#include "platform/core/System.h"
#include "platform/core/Types.h"

#include <concepts>
#include <initializer_list>
#include <source_location>
#include <variant>
#include <vector>

// Where a call was made. Compilers whose standard library lacks
// std::source_location (clang 14 with the GNU library of the same age) get
// the same from the builtins both compilers have.
#if defined(__cpp_lib_source_location)
using TSourceLocation = std::source_location;
#else
class TSourceLocation {
public:
    static constexpr TSourceLocation current(const char* File = __builtin_FILE(),
                                             unsigned Line = __builtin_LINE()) noexcept {
        return TSourceLocation(File, Line);
    }
    constexpr const char* file_name() const noexcept { return file_; }
    constexpr unsigned line() const noexcept { return line_; }

private:
    constexpr TSourceLocation(const char* File, unsigned Line) : file_(File), line_(Line) {}
    const char* file_;
    unsigned line_;
};
#endif

// ---- Message texts (the framework's resource strings) -------------------------

inline constexpr const char* SListIndexError = "List index out of bounds (%d)";
inline constexpr const char* SListCapacityError = "List capacity out of bounds (%d)";
inline constexpr const char* SListCountError = "List count out of bounds (%d)";
inline constexpr const char* SDuplicateString = "String list does not allow duplicates";
inline constexpr const char* SSortedListError = "Operation not allowed on sorted list";
inline constexpr const char* SInvalidInteger = "'%s' is not a valid integer value";
inline constexpr const char* SInvalidFloat = "'%s' is not a valid floating point value";
inline constexpr const char* SInvalidFormat = "Format '%s' invalid or incompatible with argument";
inline constexpr const char* SArgumentMissing = "No argument for format '%s'";
inline constexpr const char* SAbstractError = "Abstract Error";
inline constexpr const char* SAssertionFailed = "Assertion failure";
inline constexpr const char* SAssertError = "%s (%s, line %d)";
inline constexpr const char* SInvalidCast = "Invalid class typecast";
inline constexpr const char* SOutOfMemory = "Out of memory";
inline constexpr const char* SOperationAborted = "Operation aborted";
inline constexpr const char* SAssignError = "Cannot assign a %s to a %s";
inline constexpr const char* SFOpenErrorEx = "Cannot open file \"%s\". %s";
inline constexpr const char* SFCreateErrorEx = "Cannot create file \"%s\". %s";
inline constexpr const char* SReadError = "Stream read error";
inline constexpr const char* SWriteError = "Stream write error";
inline constexpr const char* SMemoryStreamError = "Out of memory while expanding memory stream";
inline constexpr const char* SOSError = "System Error.  Code: %d.\r\n%s";
inline constexpr const char* SUnkOSError = "A call to an OS function failed";
inline constexpr const char* SCannotCreateDir = "Unable to create directory";
inline constexpr const char* SBitsIndexError = "Bits index out of range";

// ---- Formatting settings (the framework's globals; US defaults) ----------------

inline char DecimalSeparator = '.';
inline char ThousandSeparator = ',';
inline AnsiString CurrencyString = "$";
// 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
inline Byte CurrencyFormat = 0;
// 0 "($1)" as the framework's table of sixteen negative currency forms.
inline Byte NegCurrFormat = 0;
inline Byte CurrencyDecimals = 2;

// ---- Format and its arguments -------------------------------------------------

// One argument of Format (the framework's TVarRec): integers keep whether they
// were 32 or 64 bits wide, so that %x of -1 gives eight or sixteen digits.
class TVarRec {
public:
    struct Int32 {
        Integer value;
    };
    struct Int64Value {
        Int64 value;
    };
    using Value = std::variant<Int32, Int64Value, double, bool, AnsiChar, WideChar, AnsiString, WideString,
                               const void*>;

    template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char> && !std::same_as<T, char16_t>) TVarRec(T number)
        : value_(fromInteger(number)) {}
    TVarRec(bool flag) : value_(flag) {}
    TVarRec(char character) : value_(character) {}
    TVarRec(char16_t character) : value_(character) {}
    TVarRec(double number) : value_(number) {}
    TVarRec(long double number) : value_(static_cast<double>(number)) {}
    TVarRec(float number) : value_(static_cast<double>(number)) {}
    TVarRec(const char* text) : value_(AnsiString(text != nullptr ? text : "")) {}
    TVarRec(AnsiString text) : value_(std::move(text)) {}
    TVarRec(WideString text) : value_(std::move(text)) {}
    TVarRec(const char16_t* text) : value_(WideString(text != nullptr ? text : u"")) {}
    TVarRec(const void* pointer) : value_(pointer) {}
    TVarRec(std::nullptr_t) : value_(static_cast<const void*>(nullptr)) {}

    const Value& value() const { return value_; }

private:
    template <std::integral T> static Value fromInteger(T number) {
        if constexpr (sizeof(T) < sizeof(Integer) || (sizeof(T) == sizeof(Integer) && std::is_signed_v<T>))
            return Int32{static_cast<Integer>(number)};
        else
            return Int64Value{static_cast<Int64>(number)};
    }

    Value value_;
};

// The framework's Format: "%" [index ":"] ["-"] [width] ["." precision] type,
// where index, width and precision may be "*" (taken from the arguments) and
// type is one of d u x X e f g n m p s c (either case); "%%" is a percent sign.
// Raises EConvertError when an argument is missing or of the wrong kind.
AnsiString Format(const AnsiString& FormatText, std::initializer_list<TVarRec> Args);
AnsiString Format(const AnsiString& FormatText, const std::vector<TVarRec>& Args);

// ---- Integers -----------------------------------------------------------------

AnsiString IntToStr(Int64 Value);

// Upper-case hexadecimal with at least Digits digits; a negative value shows
// its two's complement in the width of its type.
AnsiString IntToHexBits(UInt64 Bits, Integer Digits);
template <std::integral T> AnsiString IntToHex(T Value, Integer Digits) {
    using Unsigned = std::make_unsigned_t<T>;
    return IntToHexBits(static_cast<UInt64>(static_cast<Unsigned>(Value)), Digits);
}

// Decimal, or hexadecimal after "$", "0x", "0X", "x" or "X"; an optional sign
// and leading blanks. Hexadecimal may use all 32 (64) bits. Raises
// EConvertError "'%s' is not a valid integer value".
Integer StrToInt(const AnsiString& S);
Integer StrToIntDef(const AnsiString& S, Integer Default);
bool TryStrToInt(const AnsiString& S, Integer& Value);
Int64 StrToInt64(const AnsiString& S);
Int64 StrToInt64Def(const AnsiString& S, Int64 Default);
bool TryStrToInt64(const AnsiString& S, Int64& Value);

// Windows' MulDiv: Number * Numerator / Denominator with a 64-bit product,
// rounded half away from zero; -1 for a zero denominator or an overflow.
Integer MulDiv(Integer Number, Integer Numerator, Integer Denominator);

// ---- Floating point -----------------------------------------------------------

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// Shortest form with up to 15 significant digits (the framework's FloatToStr).
AnsiString FloatToStr(double Value);
AnsiString FloatToStrF(double Value, TFloatFormat Format, Integer Precision, Integer Digits);
// Picture formats: "0" digit, "#" optional digit, "." decimal separator,
// "," thousands separators, "E+0"/"E-0" exponent, quoted literal text, and
// "positive;negative;zero" sections.
AnsiString FormatFloat(const AnsiString& Format, double Value);
double StrToFloat(const AnsiString& S);
double StrToFloatDef(const AnsiString& S, double Default);
bool TryStrToFloat(const AnsiString& S, double& Value);

// ---- Strings --------------------------------------------------------------------

// ASCII letters only.
AnsiString UpperCase(const AnsiString& S);
AnsiString LowerCase(const AnsiString& S);
// Every letter of the ANSI code page.
AnsiString AnsiUpperCase(const AnsiString& S);
AnsiString AnsiLowerCase(const AnsiString& S);

// Ordinal comparisons (CompareText folds ASCII letters only). Return <0, 0, >0.
Integer CompareStr(const AnsiString& S1, const AnsiString& S2);
Integer CompareText(const AnsiString& S1, const AnsiString& S2);
bool SameText(const AnsiString& S1, const AnsiString& S2);
// The user locale's comparison (see LocaleCompareAnsi).
Integer AnsiCompareStr(const AnsiString& S1, const AnsiString& S2);
Integer AnsiCompareText(const AnsiString& S1, const AnsiString& S2);
bool AnsiSameText(const AnsiString& S1, const AnsiString& S2);
bool AnsiSameStr(const AnsiString& S1, const AnsiString& S2);

// Remove characters up to and including the space.
AnsiString Trim(const AnsiString& S);
AnsiString TrimLeft(const AnsiString& S);
AnsiString TrimRight(const AnsiString& S);

// 1-based position of SubStr in S; 0 when absent or SubStr is empty.
Integer Pos(const AnsiString& SubStr, const AnsiString& S);
Integer AnsiPos(const AnsiString& SubStr, const AnsiString& S);
// 1-based position of the last character of S that is one of Delimiters, or 0.
Integer LastDelimiter(const AnsiString& Delimiters, const AnsiString& S);

enum TReplaceFlags : unsigned { rfNone = 0, rfReplaceAll = 1, rfIgnoreCase = 2 };
constexpr TReplaceFlags operator|(TReplaceFlags a, TReplaceFlags b) {
    return static_cast<TReplaceFlags>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
AnsiString StringReplace(const AnsiString& S, const AnsiString& OldPattern, const AnsiString& NewPattern,
                         TReplaceFlags Flags);

// Quote + S with every Quote doubled + Quote.
AnsiString QuotedStr(const AnsiString& S);
AnsiString AnsiQuotedStr(const AnsiString& S, char Quote);
// The quoted value starting at Text[Position] (0-based): after the opening
// Quote up to the first Quote not doubled, doubled Quotes made single, to the
// end when none closes it; empty when Text[Position] is not Quote. Position
// moves past the value.
AnsiString AnsiExtractQuotedStr(const AnsiString& Text, std::size_t& Position, char Quote);

// ---- Exceptions and operating-system errors -------------------------------------

// The Windows text of an error code of GetLastOSError().
AnsiString SysErrorMessage(DWORD ErrorCode);
// The Windows error code for a C library errno.
DWORD OSErrorFromErrno(int ErrorNumber);
// Raises EOSError "System Error.  Code: %d.\r\n%s" for the code (the thread's
// last error when none is given).
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseLastOSError(DWORD ErrorCode);

[[noreturn]] void Abort();
[[noreturn]] void AbstractError();
// Raises EAssertionFailed "<message or 'Assertion failure'> (<file>, line <n>)"
// when Condition is false; the file is the caller's source file name.
void Assert(bool Condition, const AnsiString& Message = AnsiString(),
            TSourceLocation Where = TSourceLocation::current());

// ---- Time ---------------------------------------------------------------------

// Days since 30 December 1899, the fraction being the time of day.
using TDateTime = double;
TDateTime Now();
// Both read the program's clock (Clock.h): under stepped time Sleep moves the
// clock on by its time and returns, and with pauses turned off it returns at once.
// Milliseconds since the system started; wraps after 49.7 days.
DWORD GetTickCount();
void Sleep(DWORD Milliseconds);
