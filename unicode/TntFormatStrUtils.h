// Format strings of the class library's Format syntax in UTF-16 text: giving
// every specifier an explicit argument index, comparing the arguments two
// texts use (a text and its translation), and wide formatting that leaves
// floating-point arguments to the ANSI formatter.
#pragma once

#include "platform/core/SysUtils.h"
#include "unicode/TntSystem.h"

#include <vector>

class EFormatSpecError : public ETntGeneralError {
public:
    using ETntGeneralError::ETntGeneralError;
};

// "%s and %d" becomes "%0:s and %1:d". A text whose specifiers all have an
// index, or whose only specifier has none, comes back unchanged. Raises
// EFormatSpecError "Invalid Format Specifier: %s" for a malformed specifier.
WideString GetCanonicalFormatStr(const WideString& Format);

// Each e, f, g, m or n specifier replaced by its value, formatted by the ANSI formatter.
WideString ReplaceFloatingArgumentsInFormatString(const WideString& Format, const std::vector<TVarRec>& Args);

// Raises EFormatSpecError unless both texts use the same argument indexes
// with the same kinds of value (integer, floating point, pointer, string).
void CompareFormatStrings(const WideString& Format1, const WideString& Format2);

// The class library's Format for UTF-16 text: string arguments keep every character.
WideString Tnt_WideFormat(const WideString& Format, const std::vector<TVarRec>& Args);
void Tnt_WideFmtStr(WideString& Result, const WideString& Format, const std::vector<TVarRec>& Args);
// Writes at most BufLen characters of the result (no terminator) and returns their number.
Cardinal Tnt_WideFormatBuf(WideChar* Buffer, Cardinal BufLen, const WideChar* Format, Cardinal FmtLen,
                           const std::vector<TVarRec>& Args);
