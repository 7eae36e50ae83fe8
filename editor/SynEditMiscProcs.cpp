// Tab expansion, position conversion and scanning over single lines of text.
#include "editor/SynEditMiscProcs.h"

#include "platform/core/SysUtils.h"
#include "platform/vcl/Graphics.h"
#include "platform/win/TextOut.h"

#include <algorithm>

namespace {

constexpr char TabChar = '\t';
constexpr char BlankChar = ' ';
// The widest tab for which the bit-mask expansion is chosen.
constexpr Integer LargestMaskedTabWidth = 65536;

bool isLeadByte(char c) {
    return IsDBCSLeadByte(static_cast<Byte>(c));
}

// The next tab stop after `column` for any width of 2 or more.
struct DividingTabStops {
    static std::size_t next(std::size_t column, std::size_t width) { return column + width - column % width; }
};

// The same for a power-of-two width, with a mask in place of the division.
struct MaskedTabStops {
    static std::size_t next(std::size_t column, std::size_t width) { return (column + width) & ~(width - 1); }
};

template <typename TabStops>
std::size_t expandedLengthFrom(const AnsiString& line, std::size_t firstTab, std::size_t width) {
    std::size_t column = firstTab;
    for (std::size_t i = firstTab; i < line.size(); ++i)
        column = line[i] == TabChar ? TabStops::next(column, width) : column + 1;
    return column;
}

// Tabs become runs of tab characters reaching the next tab stop; the text
// between tabs is copied in runs.
template <typename TabStops> AnsiString expandTabs(const AnsiString& line, Integer tabWidth, bool& hasTabs) {
    std::size_t tab = line.find(TabChar);
    hasTabs = tab != AnsiString::npos;
    if (!hasTabs) return line;
    const auto width = static_cast<std::size_t>(tabWidth);
    AnsiString result;
    result.reserve(expandedLengthFrom<TabStops>(line, tab, width));
    std::size_t copied = 0;
    while (tab != AnsiString::npos) {
        result.append(line, copied, tab - copied);
        const std::size_t column = result.size();
        result.append(TabStops::next(column, width) - column, TabChar);
        copied = tab + 1;
        tab = line.find(TabChar, copied);
    }
    result.append(line, copied, AnsiString::npos);
    return result;
}

AnsiString replaceTabsByBlanks(const AnsiString& line, Integer, bool& hasTabs) {
    hasTabs = line.find(TabChar) != AnsiString::npos;
    if (!hasTabs) return line;
    AnsiString result = line;
    std::replace(result.begin(), result.end(), TabChar, BlankChar);
    return result;
}

AnsiString expandTabsMasked(const AnsiString& line, Integer tabWidth, bool& hasTabs) {
    return expandTabs<MaskedTabStops>(line, tabWidth, hasTabs);
}

template <TConvertTabsProcEx Expand> AnsiString withoutHasTabs(const AnsiString& line, Integer tabWidth) {
    bool hasTabs = false;
    return Expand(line, tabWidth, hasTabs);
}

bool isMaskablePowerOfTwo(Integer tabWidth) {
    Integer power = 2;
    while (power < LargestMaskedTabWidth && power < tabWidth)
        power *= 2;
    return power == tabWidth;
}

// Whether the byte at `index` (0-based) is the second byte of a double-byte character.
bool isTrailByte(const AnsiString& line, std::size_t index) {
    return ByteType(line, static_cast<Integer>(index) + 1) == mbTrailByte;
}

bool startIsOutside(const AnsiString& line, Integer start) {
    return start < 1 || static_cast<std::size_t>(start) > line.size();
}

} // namespace

AnsiString ConvertTabsEx(const AnsiString& Line, Integer TabWidth, bool& HasTabs) {
    // Narrower widths can't be divided by; they take the blank variant.
    if (TabWidth < 2) return replaceTabsByBlanks(Line, TabWidth, HasTabs);
    return expandTabs<DividingTabStops>(Line, TabWidth, HasTabs);
}

AnsiString ConvertTabs(const AnsiString& Line, Integer TabWidth) {
    return withoutHasTabs<ConvertTabsEx>(Line, TabWidth);
}

TConvertTabsProcEx GetBestConvertTabsProcEx(Integer TabWidth) {
    if (TabWidth < 2) return &replaceTabsByBlanks;
    if (isMaskablePowerOfTwo(TabWidth)) return &expandTabsMasked;
    return &ConvertTabsEx;
}

TConvertTabsProc GetBestConvertTabsProc(Integer TabWidth) {
    if (TabWidth < 2) return &withoutHasTabs<replaceTabsByBlanks>;
    if (isMaskablePowerOfTwo(TabWidth)) return &withoutHasTabs<expandTabsMasked>;
    return &ConvertTabs;
}

Integer GetExpandedLength(std::string_view Line, Integer TabWidth) {
    // A width below 1 would divide by zero; a tab then takes one column.
    const auto width = static_cast<std::size_t>(std::max(TabWidth, 1));
    std::size_t length = 0;
    for (char c : Line)
        length = c == TabChar ? DividingTabStops::next(length, width) : length + 1;
    return static_cast<Integer>(length);
}

Integer CharIndex2CaretPos(Integer Index, Integer TabWidth, const AnsiString& Line) {
    if (Index < 2) return 1;
    const std::size_t firstTab = Line.find(TabChar);
    if (TabWidth < 2 || firstTab == AnsiString::npos || static_cast<Integer>(firstTab) + 1 >= Index)
        return Index;
    const auto width = static_cast<std::size_t>(TabWidth);
    std::size_t column = firstTab;
    std::size_t position = firstTab;
    for (Integer remaining = Index - static_cast<Integer>(firstTab + 1); remaining > 0;
         --remaining, ++position) {
        if (position >= Line.size()) {
            column += static_cast<std::size_t>(remaining);
            break;
        }
        column = Line[position] == TabChar ? DividingTabStops::next(column, width) : column + 1;
    }
    return static_cast<Integer>(column) + 1;
}

Integer CaretPos2CharIndex(Integer Position, Integer TabWidth, const AnsiString& Line, bool& InsideTabChar) {
    InsideTabChar = false;
    const std::size_t firstTab = Line.find(TabChar);
    if (Position < 2 || TabWidth < 2 || firstTab == AnsiString::npos ||
        static_cast<Integer>(firstTab) + 1 >= Position)
        return Position;
    const auto width = static_cast<std::size_t>(TabWidth);
    const auto target = static_cast<std::size_t>(Position - 1);
    std::size_t column = firstTab;
    Integer result = static_cast<Integer>(firstTab) + 1;
    for (std::size_t position = firstTab; column < target && position < Line.size(); ++position, ++result) {
        if (Line[position] != TabChar) {
            ++column;
            continue;
        }
        column = DividingTabStops::next(column, width);
        if (column > target) {
            InsideTabChar = true;
            break;
        }
    }
    return result;
}

Integer StrScanForCharInSet(const AnsiString& Line, Integer Start, const TSynIdentChars& Chars) {
    if (startIsOutside(Line, Start)) return 0;
    std::size_t i = static_cast<std::size_t>(Start - 1);
    if (isTrailByte(Line, i)) ++i;
    while (i < Line.size()) {
        if (isLeadByte(Line[i])) {
            i += 2;
            continue;
        }
        if (Chars.Contains(Line[i])) return static_cast<Integer>(i) + 1;
        ++i;
    }
    return 0;
}

Integer StrRScanForCharInSet(const AnsiString& Line, Integer Start, const TSynIdentChars& Chars) {
    if (startIsOutside(Line, Start)) return 0;
    const auto last = static_cast<std::size_t>(Start - 1);
    if (!SysLocaleFarEast) {
        for (std::size_t i = last + 1; i-- > 0;)
            if (Chars.Contains(Line[i])) return static_cast<Integer>(i) + 1;
        return 0;
    }
    Integer found = 0;
    for (std::size_t i = 0; i <= last; ++i) {
        if (isLeadByte(Line[i]))
            ++i;
        else if (Chars.Contains(Line[i]))
            found = static_cast<Integer>(i) + 1;
    }
    return found;
}

Integer StrScanForMultiByteChar(const AnsiString& Line, Integer Start) {
    if (!SysLocaleFarEast || startIsOutside(Line, Start)) return 0;
    std::size_t i = static_cast<std::size_t>(Start - 1);
    if (isTrailByte(Line, i)) ++i;
    for (; i < Line.size(); ++i)
        if (isLeadByte(Line[i])) return static_cast<Integer>(i) + 1;
    return 0;
}

Integer StrRScanForMultiByteChar(const AnsiString& Line, Integer Start) {
    if (!SysLocaleFarEast || startIsOutside(Line, Start)) return 0;
    Integer found = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(Start); ++i) {
        if (!isLeadByte(Line[i])) continue;
        found = static_cast<Integer>(i) + 1;
        ++i;
    }
    return found;
}

const char* GetEOL(const char* P) {
    if (P == nullptr) return nullptr;
    while (*P != '\0' && *P != '\n' && *P != '\r')
        ++P;
    return P;
}

TStringType IsStringType(Word Value) {
    if (Value == C3_SYMBOL) return stControl;
    if ((Value & C3_HALFWIDTH) != 0) {
        if (Value == C3_HALFWIDTH || Value == (C3_HALFWIDTH | C3_ALPHA)) return stHalfNumAlpha;
        if ((Value & (C3_SYMBOL | C3_LEXICAL)) != 0) return stHalfSymbol;
        if ((Value & C3_KATAKANA) != 0) return stHalfKatakana;
        return stNone;
    }
    if (Value == C3_FULLWIDTH || Value == (C3_FULLWIDTH | C3_ALPHA)) return stWideNumAlpha;
    if ((Value & (C3_SYMBOL | C3_LEXICAL)) != 0) return stWideSymbol;
    if ((Value & C3_KATAKANA) != 0) return stWideKatakana;
    if ((Value & C3_HIRAGANA) != 0) return stHiragana;
    if ((Value & C3_IDEOGRAPH) != 0) return stIdeograph;
    return stNone;
}

Integer MinMax(Integer X, Integer Min, Integer Max) {
    return std::max(std::min(X, Max), Min);
}

void SwapInt(Integer& A, Integer& B) {
    std::swap(A, B);
}

TPoint MaxPoint(const TPoint& P1, const TPoint& P2) {
    const bool secondIsLater = P2.y > P1.y || (P2.y == P1.y && P2.x > P1.x);
    return secondIsLater ? P2 : P1;
}

TPoint MinPoint(const TPoint& P1, const TPoint& P2) {
    const bool secondIsEarlier = P2.y < P1.y || (P2.y == P1.y && P2.x < P1.x);
    return secondIsEarlier ? P2 : P1;
}

std::vector<Integer> GetIntArray(Cardinal Count, Integer InitialValue) {
    return std::vector<Integer>(Count, InitialValue);
}

AnsiString EncodeString(const AnsiString& S) {
    AnsiString result;
    result.reserve(S.size());
    for (char c : S) {
        if (c == '\\')
            result += "\\\\";
        else if (c == '/')
            result += "\\.";
        else
            result += c;
    }
    return result;
}

AnsiString DecodeString(const AnsiString& S) {
    AnsiString result;
    result.reserve(S.size());
    for (std::size_t i = 0; i < S.size(); ++i) {
        if (S[i] != '\\') {
            result += S[i];
            continue;
        }
        // The character after the backslash is consumed either way.
        const bool escapedBackslash = i + 1 < S.size() && S[i + 1] == '\\';
        result += escapedBackslash ? '\\' : '/';
        ++i;
    }
    return result;
}

void InternalFillRect(HDC dc, const TRect& rcPaint) {
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rcPaint, nullptr, 0, nullptr);
}

namespace {

constexpr Integer MinGradientSteps = 2;
constexpr Integer MaxGradientSteps = 256;
constexpr Integer ChannelMask = 0xFF;

Integer channel(Integer Rgb, Integer Shift) {
    return (Rgb >> Shift) & ChannelMask;
}

// Band Band of Steps between two RGB values, each channel interpolated on its own.
TColor gradientColor(Integer StartRgb, Integer EndRgb, Integer Band, Integer Steps) {
    Integer colour = 0;
    for (Integer shift : {0, 8, 16}) {
        const Integer start = channel(StartRgb, shift);
        const Integer value = start + MulDiv(Band, channel(EndRgb, shift) - start, Steps - 1);
        colour |= (value & ChannelMask) << shift;
    }
    return colour;
}

} // namespace

void SynDrawGradient(TCanvas* ACanvas, TColor AStartColor, TColor AEndColor, Integer ASteps,
                     const TRect& ARect, bool AHorizontal) {
    const Integer startRgb = ColorToRGB(AStartColor);
    const Integer endRgb = ColorToRGB(AEndColor);
    const Integer steps = MinMax(ASteps, MinGradientSteps, MaxGradientSteps);
    const Integer size = AHorizontal ? ARect.Width() : ARect.Height();
    for (Integer band = 0; band < steps; ++band) {
        TRect area = ARect;
        const Integer from = MulDiv(band, size, steps);
        const Integer to = MulDiv(band + 1, size, steps);
        if (AHorizontal) {
            area.Left = ARect.Left + from;
            area.Right = ARect.Left + to;
        } else {
            area.Top = ARect.Top + from;
            area.Bottom = ARect.Top + to;
        }
        ACanvas->Brush()->SetColor(gradientColor(startRgb, endRgb, band, steps));
        ACanvas->FillRect(area);
    }
}
