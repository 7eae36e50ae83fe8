// Stateless helpers of the editor: tab expansion, conversion between
// character indexes and screen columns, character scanning, small
// utilities on numbers, points and key names, and filling areas.
#pragma once

#include "editor/SynEditTypes.h"
#include "platform/core/CodePages.h"
#include "platform/win/WinTypes.h"

#include <string_view>
#include <vector>

// The character class of a character's third-table type flags (C3_*).
enum TStringType {
    stNone,
    stHalfNumAlpha,
    stHalfSymbol,
    stHalfKatakana,
    stWideNumAlpha,
    stWideSymbol,
    stWideKatakana,
    stHiragana,
    stIdeograph,
    stControl,
    stKashida
};

using TConvertTabsProc = AnsiString (*)(const AnsiString& Line, Integer TabWidth);
using TConvertTabsProcEx = AnsiString (*)(const AnsiString& Line, Integer TabWidth, bool& HasTabs);

// Tab expansion: each tab becomes a run of tab characters reaching the next
// multiple of TabWidth (one blank when TabWidth is below 2); a line without a
// tab comes back unchanged.
AnsiString ConvertTabsEx(const AnsiString& Line, Integer TabWidth, bool& HasTabs);
AnsiString ConvertTabs(const AnsiString& Line, Integer TabWidth);
TConvertTabsProcEx GetBestConvertTabsProcEx(Integer TabWidth);
TConvertTabsProc GetBestConvertTabsProc(Integer TabWidth);
Integer GetExpandedLength(std::string_view Line, Integer TabWidth);

// Conversion between 1-based character indexes and 1-based screen columns.
Integer CharIndex2CaretPos(Integer Index, Integer TabWidth, const AnsiString& Line);
Integer CaretPos2CharIndex(Integer Position, Integer TabWidth, const AnsiString& Line, bool& InsideTabChar);

// Scanning; positions are 1-based and 0 means "not found" or "Start outside the line".
Integer StrScanForCharInSet(const AnsiString& Line, Integer Start, const TSynIdentChars& Chars);
Integer StrRScanForCharInSet(const AnsiString& Line, Integer Start, const TSynIdentChars& Chars);
Integer StrScanForMultiByteChar(const AnsiString& Line, Integer Start);
Integer StrRScanForMultiByteChar(const AnsiString& Line, Integer Start);
// The first NUL, LF or CR at or after P; nullptr stays nullptr.
const char* GetEOL(const char* P);
TStringType IsStringType(Word Value);

// X limited to Max, then raised to Min.
Integer MinMax(Integer X, Integer Min, Integer Max);
// Integer division that treats a zero divisor as one: the font never reports
// zero metrics, but a zero there would stop the program.
inline Integer safeDiv(Integer Value, Integer Divisor) {
    return Value / (Divisor > 1 ? Divisor : 1);
}
// A line's length as the editor's coordinates count it.
inline Integer lengthOf(const AnsiString& Text) {
    return static_cast<Integer>(Text.size());
}
void SwapInt(Integer& A, Integer& B);
// The later and the earlier of two points, ordered by y then x; a tie gives P1.
TPoint MaxPoint(const TPoint& P1, const TPoint& P2);
TPoint MinPoint(const TPoint& P1, const TPoint& P2);
std::vector<Integer> GetIntArray(Cardinal Count, Integer InitialValue);

class TCanvas;
// Fills Rect with the device context's background colour.
void InternalFillRect(HDC dc, const TRect& rcPaint);
// Fills Rect in Steps bands (2 to 256) along its width (Horizontal) or
// height, from StartColor in the first band to EndColor in the last.
void SynDrawGradient(TCanvas* ACanvas, TColor AStartColor, TColor AEndColor, Integer ASteps,
                     const TRect& ARect, bool AHorizontal);

// Make a text usable as one key name where slashes are not allowed, and back.
AnsiString EncodeString(const AnsiString& S);
AnsiString DecodeString(const AnsiString& S);
