// Code-page conversions, character classes, case mapping and the locale's
// string order for the single-byte ANSI code page and for UTF-16.
#include "platform/core/CodePages.h"

#include "platform/core/System.h"

#include <array>
#include <cstring>
#include <locale.h>
#include <optional>
#include <wctype.h>

bool SysLocaleFarEast = false;
bool SysLocaleMiddleEast = false;

namespace {

constexpr WideChar ReplacementCharacter = 0xFFFD;
constexpr char DefaultAnsiChar = '?';

// Windows-1252 at 0x80..0x9F; the five bytes the code page leaves undefined
// map to the C1 control of the same number, both ways.
constexpr std::array<WideChar, 32> Windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr Byte FirstHighByte = 0x80;
constexpr Byte LastHighByte = 0x9F;

WideChar windows1252ToWide(Byte byte) {
    if (byte >= FirstHighByte && byte <= LastHighByte) return Windows1252High[byte - FirstHighByte];
    return byte;
}

std::optional<Byte> wideToWindows1252(WideChar c) {
    if (c < FirstHighByte || (c > LastHighByte && c <= 0xFF)) return static_cast<Byte>(c);
    for (std::size_t i = 0; i < Windows1252High.size(); ++i)
        if (Windows1252High[i] == c) return static_cast<Byte>(FirstHighByte + i);
    return std::nullopt;
}

bool isHighSurrogate(WideChar c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(WideChar c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}
bool isSurrogate(WideChar c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

// ---- Output sinks: measure or write into a bounded buffer -----------------

template <typename Unit> class BoundedOutput {
public:
    BoundedOutput(Unit* buffer, Integer capacity) : buffer_(buffer), capacity_(capacity) {}
    void put(Unit unit) {
        if (buffer_ != nullptr && count_ < capacity_) buffer_[count_] = unit;
        ++count_;
    }
    bool overflowed() const { return buffer_ != nullptr && count_ > capacity_; }
    Integer count() const { return count_; }

private:
    Unit* buffer_;
    Integer capacity_;
    Integer count_ = 0;
};

enum class CodePageKind { Windows1252, Latin1, Ascii, Utf8, Unsupported };

CodePageKind kindOf(Cardinal codePage) {
    switch (codePage) {
    case CP_ACP:
    case CP_THREAD_ACP:
    case CP_WINDOWS_1252:
        return CodePageKind::Windows1252;
    case CP_ISO_8859_1:
        return CodePageKind::Latin1;
    case CP_US_ASCII:
        return CodePageKind::Ascii;
    case CP_UTF8:
        return CodePageKind::Utf8;
    default:
        return CodePageKind::Unsupported;
    }
}

Integer fail(DWORD code) {
    SetLastOSError(code);
    return 0;
}

// ---- Decoding -------------------------------------------------------------

WideChar singleByteToWide(CodePageKind kind, Byte byte) {
    switch (kind) {
    case CodePageKind::Windows1252:
        return windows1252ToWide(byte);
    case CodePageKind::Ascii:
        // The system maps the upper half of US-ASCII by clearing the top bit.
        return byte & 0x7F;
    default:
        return byte;
    }
}

struct Utf8Step {
    char32_t codePoint;
    int length;
    bool valid;
};

// One UTF-8 sequence at the start of [p, end): an ill-formed one reports the
// length of its maximal valid prefix (at least 1) so that it becomes one U+FFFD.
Utf8Step decodeUtf8(const Byte* p, const Byte* end) {
    const Byte lead = p[0];
    if (lead < 0x80) return {lead, 1, true};
    int length = 0;
    char32_t codePoint = 0;
    Byte lowest = 0x80, highest = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        if (lead == 0xE0) lowest = 0xA0;  // overlong
        if (lead == 0xED) highest = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        if (lead == 0xF0) lowest = 0x90;  // overlong
        if (lead == 0xF4) highest = 0x8F; // beyond U+10FFFF
    } else {
        return {0, 1, false};
    }
    for (int i = 1; i < length; ++i) {
        if (p + i >= end) return {0, i, false};
        const Byte next = p[i];
        const Byte low = i == 1 ? lowest : 0x80, high = i == 1 ? highest : 0xBF;
        if (next < low || next > high) return {0, i, false};
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    return {codePoint, length, true};
}

void putCodePoint(BoundedOutput<WideChar>& out, char32_t codePoint) {
    if (codePoint < 0x10000) {
        out.put(static_cast<WideChar>(codePoint));
        return;
    }
    codePoint -= 0x10000;
    out.put(static_cast<WideChar>(0xD800 + (codePoint >> 10)));
    out.put(static_cast<WideChar>(0xDC00 + (codePoint & 0x3FF)));
}

bool decodeUtf8Into(const Byte* p, const Byte* end, bool stopOnInvalid, BoundedOutput<WideChar>& out) {
    while (p < end) {
        const Utf8Step step = decodeUtf8(p, end);
        if (!step.valid && stopOnInvalid) return false;
        putCodePoint(out, step.valid ? step.codePoint : ReplacementCharacter);
        p += step.length;
    }
    return true;
}

// ---- Encoding -------------------------------------------------------------

std::optional<Byte> wideToSingleByte(CodePageKind kind, WideChar c) {
    switch (kind) {
    case CodePageKind::Windows1252:
        return wideToWindows1252(c);
    case CodePageKind::Latin1:
        if (c <= 0xFF) return static_cast<Byte>(c);
        return std::nullopt;
    default:
        if (c < 0x80) return static_cast<Byte>(c);
        return std::nullopt;
    }
}

void putUtf8(BoundedOutput<char>& out, char32_t codePoint) {
    auto put = [&](unsigned value) { out.put(static_cast<char>(value)); };
    if (codePoint < 0x80) {
        put(codePoint);
    } else if (codePoint < 0x800) {
        put(0xC0 | (codePoint >> 6));
        put(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        put(0xE0 | (codePoint >> 12));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    } else {
        put(0xF0 | (codePoint >> 18));
        put(0x80 | ((codePoint >> 12) & 0x3F));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    }
}

bool encodeUtf8Into(const WideChar* p, const WideChar* end, bool stopOnInvalid, BoundedOutput<char>& out) {
    while (p < end) {
        const WideChar c = *p++;
        if (isHighSurrogate(c) && p < end && isLowSurrogate(*p)) {
            putUtf8(out, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(*p++) - 0xDC00));
        } else if (isSurrogate(c)) {
            if (stopOnInvalid) return false;
            putUtf8(out, ReplacementCharacter);
        } else {
            putUtf8(out, c);
        }
    }
    return true;
}

void encodeSingleByteInto(CodePageKind kind, const WideChar* p, const WideChar* end, char defaultChar,
                          bool& usedDefault, BoundedOutput<char>& out) {
    while (p < end) {
        const WideChar c = *p++;
        if (const auto byte = wideToSingleByte(kind, c)) {
            out.put(static_cast<char>(*byte));
            continue;
        }
        // A surrogate pair is one character and gets one default character.
        if (isHighSurrogate(c) && p < end && isLowSurrogate(*p)) ++p;
        out.put(defaultChar);
        usedDefault = true;
    }
}

Integer lengthWithTerminator(const char* text) {
    return static_cast<Integer>(std::strlen(text)) + 1;
}
Integer lengthWithTerminator(const WideChar* text) {
    Integer length = 0;
    while (text[length] != 0)
        ++length;
    return length + 1;
}

// ---- Character classes --------------------------------------------------------

locale_t unicodeLocale() {
    static const locale_t locale = [] {
        locale_t found = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        return found != static_cast<locale_t>(nullptr) ? found : newlocale(LC_CTYPE_MASK, "C", nullptr);
    }();
    return locale;
}

bool inAnsiRepertoire(WideChar c) {
    return wideToWindows1252(c).has_value();
}

bool isAnsiRepertoireUpper(WideChar c) {
    return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || c == 0x160 || c == 0x152 ||
           c == 0x17D || c == 0x178;
}

bool isAnsiRepertoireLower(WideChar c) {
    return (c >= 'a' && c <= 'z') || (c >= 0xDF && c <= 0xFF && c != 0xF7) || c == 0x161 || c == 0x153 ||
           c == 0x17E || c == 0x192 || c == 0xB5 || c == 0xAA || c == 0xBA;
}

bool isAnsiRepertoireLetter(WideChar c) {
    return isAnsiRepertoireUpper(c) || isAnsiRepertoireLower(c) || c == 0x02C6;
}

bool isAnsiRepertoireSpace(WideChar c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0xA0;
}
bool isAnsiRepertoireControl(WideChar c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}
bool isSuperscriptDigit(WideChar c) {
    return c == 0xB2 || c == 0xB3 || c == 0xB9;
}

Word ansiRepertoireType1(WideChar c) {
    Word type = C1_DEFINED;
    if (isAnsiRepertoireUpper(c)) type |= C1_UPPER | C1_ALPHA;
    if (isAnsiRepertoireLower(c)) type |= C1_LOWER | C1_ALPHA;
    if (c == 0x02C6) type |= C1_ALPHA;
    if (c >= '0' && c <= '9') type |= C1_DIGIT | C1_XDIGIT;
    if ((c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f')) type |= C1_XDIGIT;
    if (isSuperscriptDigit(c)) type |= C1_DIGIT | C1_PUNCT;
    if (isAnsiRepertoireSpace(c)) type |= C1_SPACE;
    if (c == 0x09 || c == 0x20 || c == 0xA0) type |= C1_BLANK;
    if (isAnsiRepertoireControl(c)) type |= C1_CNTRL;
    const bool plain = (type & (C1_ALPHA | C1_DIGIT | C1_SPACE | C1_CNTRL)) == 0;
    if (plain) type |= C1_PUNCT;
    return type;
}

// The single-byte code page has no width distinction: every printable
// character counts as halfwidth, so that words with accented letters hold
// together like plain ones.
Word ansiRepertoireType3(WideChar c) {
    if (isAnsiRepertoireControl(c)) return 0;
    Word type = C3_HALFWIDTH;
    if (isAnsiRepertoireLetter(c))
        type |= C3_ALPHA;
    else if ((ansiRepertoireType1(c) & C1_PUNCT) != 0 && !isSuperscriptDigit(c))
        type |= C3_SYMBOL;
    return type;
}

Word unicodeType1(WideChar c) {
    if (isSurrogate(c)) return 0;
    const locale_t locale = unicodeLocale();
    const wint_t w = c;
    Word type = 0;
    if (iswupper_l(w, locale)) type |= C1_UPPER;
    if (iswlower_l(w, locale)) type |= C1_LOWER;
    if (iswdigit_l(w, locale)) type |= C1_DIGIT;
    if (iswspace_l(w, locale)) type |= C1_SPACE;
    if (iswpunct_l(w, locale)) type |= C1_PUNCT;
    if (iswcntrl_l(w, locale)) type |= C1_CNTRL;
    if (iswblank_l(w, locale)) type |= C1_BLANK;
    if (iswxdigit_l(w, locale)) type |= C1_XDIGIT;
    if (iswalpha_l(w, locale)) type |= C1_ALPHA;
    if (type != 0 || iswprint_l(w, locale)) type |= C1_DEFINED;
    return type;
}

bool isFullwidth(WideChar c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF01 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6);
}

Word unicodeType3(WideChar c) {
    const Word type1 = unicodeType1(c);
    if (type1 == 0 || (type1 & C1_CNTRL) != 0) return 0;
    Word type = isFullwidth(c) ? C3_FULLWIDTH : C3_HALFWIDTH;
    if ((type1 & C1_ALPHA) != 0) type |= C3_ALPHA;
    if ((type1 & C1_PUNCT) != 0) type |= C3_SYMBOL;
    if (c >= 0x0300 && c <= 0x036F) type |= C3_NONSPACING | C3_DIACRITIC;
    if (c >= 0x3040 && c <= 0x309F) type |= C3_HIRAGANA;
    if ((c >= 0x30A0 && c <= 0x30FF) || (c >= 0xFF66 && c <= 0xFF9F)) type |= C3_KATAKANA;
    if ((c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF))
        type |= C3_IDEOGRAPH;
    return type;
}

// ---- Case mapping -----------------------------------------------------------

std::optional<WideChar> ansiRepertoireUpper(WideChar c) {
    if (c >= 'a' && c <= 'z') return static_cast<WideChar>(c - 0x20);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<WideChar>(c - 0x20);
    switch (c) {
    case 0xFF:
        return 0x178;
    case 0x161:
        return 0x160;
    case 0x153:
        return 0x152;
    case 0x17E:
        return 0x17D;
    case 0x192:
        return 0x191;
    case 0xB5:
        return 0x39C;
    default:
        break;
    }
    if (c < 0x100 || inAnsiRepertoire(c)) return c;
    return std::nullopt;
}

std::optional<WideChar> ansiRepertoireLower(WideChar c) {
    if (c >= 'A' && c <= 'Z') return static_cast<WideChar>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<WideChar>(c + 0x20);
    switch (c) {
    case 0x178:
        return 0xFF;
    case 0x160:
        return 0x161;
    case 0x152:
        return 0x153;
    case 0x17D:
        return 0x17E;
    default:
        break;
    }
    if (c < 0x100 || inAnsiRepertoire(c)) return c;
    return std::nullopt;
}

WideChar unicodeCaseMapped(WideChar c, wint_t (*map)(wint_t, locale_t)) {
    if (isSurrogate(c)) return c;
    const wint_t mapped = map(c, unicodeLocale());
    if (mapped > 0xFFFF || isSurrogate(static_cast<WideChar>(mapped))) return c;
    return static_cast<WideChar>(mapped);
}

// ---- The locale's string order ------------------------------------------------

// One collation element: compared first by Primary over the whole string,
// then by Secondary (accents), then by Tertiary (case).
struct CollationElement {
    std::uint32_t primary = 0;
    std::uint32_t secondary = 0;
    std::uint32_t tertiary = 0;
};

struct CollationWeights {
    std::array<CollationElement, 2> elements{};
    int count = 0; // 0: ignorable except as the last tie-break
};

constexpr std::uint32_t SymbolBase = 0x10000;
constexpr std::uint32_t DigitBase = 0x20000;
constexpr std::uint32_t LetterBase = 0x30000;
constexpr std::uint32_t OtherBase = 0x40000;
constexpr std::uint32_t LetterStride = 4;
constexpr std::uint32_t Uppercase = 1;

std::uint32_t letterWeight(char base) {
    return LetterBase + static_cast<std::uint32_t>(base - 'a') * LetterStride;
}

// The base letter of a letter of the ANSI repertoire, or 0. Ligatures and
// the sharp s expand into two letters.
const char* baseLettersOf(WideChar lower) {
    static const std::array<const char*, 32> latin1 = {
        "a", "a", "a", "a", "a", "a", "ae", "c",     "e", "e", "e", "e", "i", "i", "i",     "i",
        "d", "n", "o", "o", "o", "o", "o",  nullptr, "o", "u", "u", "u", "u", "y", nullptr, "y"};
    if (lower >= 'a' && lower <= 'z') {
        static std::array<char[2], 26> single = [] {
            std::array<char[2], 26> letters{};
            for (int i = 0; i < 26; ++i)
                letters[i][0] = static_cast<char>('a' + i);
            return letters;
        }();
        return single[lower - 'a'];
    }
    if (lower >= 0xE0 && lower <= 0xFF) return latin1[lower - 0xE0];
    switch (lower) {
    case 0xDF:
        return "ss";
    case 0x161:
        return "s";
    case 0x153:
        return "oe";
    case 0x17E:
        return "z";
    case 0x192:
        return "f";
    case 0xAA:
        return "a";
    case 0xBA:
        return "o";
    default:
        return nullptr;
    }
}

bool isWordSortIgnorable(WideChar c) {
    return c == '-' || c == '\'' || c == 0xAD || (isAnsiRepertoireControl(c) && !isAnsiRepertoireSpace(c));
}

CollationWeights collationWeightsOf(WideChar c) {
    CollationWeights weights;
    if (isWordSortIgnorable(c)) return weights;
    const WideChar lower = WideCharLower(c);
    const std::uint32_t tertiary = lower != c ? Uppercase : 0;
    if (c >= '0' && c <= '9') {
        weights.elements[0] = {DigitBase + (c - '0'), 0, 0};
        weights.count = 1;
    } else if (isSuperscriptDigit(c)) {
        const std::uint32_t digit = c == 0xB9 ? 1 : c - 0xB0;
        weights.elements[0] = {DigitBase + digit, c, 0};
        weights.count = 1;
    } else if (const char* letters = baseLettersOf(lower)) {
        // A plain letter has no accent; ß = "ss" exactly, other ligatures and
        // accented letters carry their own mark on the first element.
        const bool plain = (lower >= 'a' && lower <= 'z') || lower == 0xDF;
        for (int i = 0; letters[i] != 0; ++i)
            weights.elements[weights.count++] = {letterWeight(letters[i]), i == 0 && !plain ? lower : 0u,
                                                 tertiary};
    } else if (lower == 0xFE) {
        weights.elements[0] = {letterWeight('z') + 1, 0, tertiary};
        weights.count = 1;
    } else if ((WideCharType(c, CT_CTYPE1) & (C1_ALPHA | C1_DIGIT)) != 0 || isSurrogate(c)) {
        weights.elements[0] = {OtherBase + lower, 0, tertiary};
        weights.count = 1;
    } else {
        weights.elements[0] = {SymbolBase + c, 0, 0};
        weights.count = 1;
    }
    return weights;
}

// Walks the collation elements of a string, one level at a time.
template <typename Text> class CollationCursor {
public:
    explicit CollationCursor(const Text& text) : text_(text) {}

    // The next element that is not ignorable, or nothing at the end.
    const CollationElement* next() {
        while (pending_ >= current_.count) {
            if (index_ >= text_.size()) return nullptr;
            current_ = collationWeightsOf(text_.at(index_++));
            pending_ = 0;
        }
        ++elementsSeen_;
        return &current_.elements[pending_++];
    }

    // The next ignorable character with the number of elements before it.
    bool nextIgnorable(std::size_t& position, WideChar& character) {
        while (index_ < text_.size()) {
            const WideChar c = text_.at(index_++);
            const CollationWeights weights = collationWeightsOf(c);
            if (weights.count == 0) {
                position = elementsSeen_;
                character = c;
                return true;
            }
            elementsSeen_ += weights.count;
        }
        return false;
    }

private:
    const Text& text_;
    std::size_t index_ = 0;
    std::size_t elementsSeen_ = 0;
    CollationWeights current_;
    int pending_ = 0;
};

template <typename Compare> Integer threeWay(Compare a, Compare b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

template <typename Text, typename Level> Integer compareLevel(const Text& a, const Text& b, Level level) {
    CollationCursor<Text> left(a), right(b);
    for (;;) {
        const CollationElement* x = left.next();
        const CollationElement* y = right.next();
        if (x == nullptr || y == nullptr) return threeWay(x != nullptr, y != nullptr);
        if (const Integer order = threeWay(level(*x), level(*y))) return order;
    }
}

template <typename Text> Integer compareIgnorables(const Text& a, const Text& b) {
    CollationCursor<Text> left(a), right(b);
    for (;;) {
        std::size_t leftPosition = 0, rightPosition = 0;
        WideChar leftChar = 0, rightChar = 0;
        const bool hasLeft = left.nextIgnorable(leftPosition, leftChar);
        const bool hasRight = right.nextIgnorable(rightPosition, rightChar);
        if (!hasLeft || !hasRight) return threeWay(hasLeft, hasRight);
        // An ignorable character further to the right weighs less.
        if (leftPosition != rightPosition) return threeWay(rightPosition, leftPosition);
        if (leftChar != rightChar) return threeWay(leftChar, rightChar);
    }
}

template <typename Text> Integer localeCompare(const Text& a, const Text& b, bool ignoreCase) {
    if (const Integer order = compareLevel(a, b, [](const CollationElement& e) { return e.primary; }))
        return order;
    if (const Integer order = compareLevel(a, b, [](const CollationElement& e) { return e.secondary; }))
        return order;
    if (!ignoreCase)
        if (const Integer order = compareLevel(a, b, [](const CollationElement& e) { return e.tertiary; }))
            return order;
    return compareIgnorables(a, b);
}

// Presents ANSI text as UTF-16 code units without converting the whole string.
class AnsiAsWide {
public:
    explicit AnsiAsWide(const AnsiString& text) : text_(text) {}
    std::size_t size() const { return text_.size(); }
    WideChar at(std::size_t index) const { return windows1252ToWide(static_cast<Byte>(text_[index])); }

private:
    const AnsiString& text_;
};

class WideText {
public:
    explicit WideText(const WideString& text) : text_(text) {}
    std::size_t size() const { return text_.size(); }
    WideChar at(std::size_t index) const { return text_[index]; }

private:
    const WideString& text_;
};

} // namespace

Integer MultiByteToWideChar(Cardinal CodePage, DWORD Flags, const char* MultiByteStr, Integer MultiByteCount,
                            WideChar* WideCharStr, Integer WideCharCount) {
    const CodePageKind kind = kindOf(CodePage);
    if (kind == CodePageKind::Unsupported || MultiByteStr == nullptr || MultiByteCount == 0 ||
        MultiByteCount < -1 || WideCharCount < 0 || (WideCharStr == nullptr && WideCharCount != 0))
        return fail(OSErrorCode::InvalidParameter);
    const bool utf8 = kind == CodePageKind::Utf8;
    const DWORD allowed = utf8 ? MB_ERR_INVALID_CHARS
                               : (MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS);
    if ((Flags & ~allowed) != 0 ||
        (Flags & (MB_PRECOMPOSED | MB_COMPOSITE)) == (MB_PRECOMPOSED | MB_COMPOSITE))
        return fail(OSErrorCode::InvalidFlags);

    const Integer length = MultiByteCount == -1 ? lengthWithTerminator(MultiByteStr) : MultiByteCount;
    const auto* begin = reinterpret_cast<const Byte*>(MultiByteStr);
    BoundedOutput<WideChar> out(WideCharCount == 0 ? nullptr : WideCharStr, WideCharCount);
    if (utf8) {
        if (!decodeUtf8Into(begin, begin + length, (Flags & MB_ERR_INVALID_CHARS) != 0, out))
            return fail(OSErrorCode::NoUnicodeTranslation);
    } else {
        for (Integer i = 0; i < length; ++i)
            out.put(singleByteToWide(kind, begin[i]));
    }
    if (out.overflowed()) return fail(OSErrorCode::InsufficientBuffer);
    SetLastOSError(OSErrorCode::Success);
    return out.count();
}

Integer WideCharToMultiByte(Cardinal CodePage, DWORD Flags, const WideChar* WideCharStr,
                            Integer WideCharCount, char* MultiByteStr, Integer MultiByteCount,
                            const char* DefaultChar, Integer* UsedDefaultChar) {
    const CodePageKind kind = kindOf(CodePage);
    if (kind == CodePageKind::Unsupported || WideCharStr == nullptr || WideCharCount == 0 ||
        WideCharCount < -1 || MultiByteCount < 0 || (MultiByteStr == nullptr && MultiByteCount != 0))
        return fail(OSErrorCode::InvalidParameter);
    const bool utf8 = kind == CodePageKind::Utf8;
    if (utf8 && (DefaultChar != nullptr || UsedDefaultChar != nullptr))
        return fail(OSErrorCode::InvalidParameter);
    const DWORD allowed =
        utf8 ? WC_ERR_INVALID_CHARS
             : (WC_DISCARDNS | WC_SEPCHARS | WC_DEFAULTCHAR | WC_COMPOSITECHECK | WC_NO_BEST_FIT_CHARS);
    if ((Flags & ~allowed) != 0) return fail(OSErrorCode::InvalidFlags);

    const Integer length = WideCharCount == -1 ? lengthWithTerminator(WideCharStr) : WideCharCount;
    BoundedOutput<char> out(MultiByteCount == 0 ? nullptr : MultiByteStr, MultiByteCount);
    bool usedDefault = false;
    if (utf8) {
        if (!encodeUtf8Into(WideCharStr, WideCharStr + length, (Flags & WC_ERR_INVALID_CHARS) != 0, out))
            return fail(OSErrorCode::NoUnicodeTranslation);
    } else {
        const char defaultChar = DefaultChar != nullptr ? *DefaultChar : DefaultAnsiChar;
        encodeSingleByteInto(kind, WideCharStr, WideCharStr + length, defaultChar, usedDefault, out);
    }
    if (out.overflowed()) return fail(OSErrorCode::InsufficientBuffer);
    if (UsedDefaultChar != nullptr) *UsedDefaultChar = usedDefault ? 1 : 0;
    SetLastOSError(OSErrorCode::Success);
    return out.count();
}

WideString CodePageToWide(const AnsiString& Bytes, Cardinal CodePage) {
    if (Bytes.empty()) return {};
    const auto length = static_cast<Integer>(Bytes.size());
    const Integer needed = MultiByteToWideChar(CodePage, 0, Bytes.data(), length, nullptr, 0);
    WideString result(static_cast<std::size_t>(needed), u'\0');
    if (needed > 0) MultiByteToWideChar(CodePage, 0, Bytes.data(), length, result.data(), needed);
    return result;
}

AnsiString WideToCodePage(const WideString& Text, Cardinal CodePage, bool* UsedDefaultChar) {
    if (UsedDefaultChar != nullptr) *UsedDefaultChar = false;
    if (Text.empty()) return {};
    const auto length = static_cast<Integer>(Text.size());
    const bool utf8 = kindOf(CodePage) == CodePageKind::Utf8;
    Integer usedDefault = 0;
    Integer* usedDefaultOut = utf8 ? nullptr : &usedDefault;
    const Integer needed =
        WideCharToMultiByte(CodePage, 0, Text.data(), length, nullptr, 0, nullptr, usedDefaultOut);
    AnsiString result(static_cast<std::size_t>(needed), '\0');
    if (needed > 0)
        WideCharToMultiByte(CodePage, 0, Text.data(), length, result.data(), needed, nullptr, usedDefaultOut);
    if (UsedDefaultChar != nullptr) *UsedDefaultChar = usedDefault != 0;
    return result;
}

WideChar AnsiCharToWide(AnsiChar Char) {
    return windows1252ToWide(static_cast<Byte>(Char));
}

WideString AnsiToWide(const AnsiString& Text) {
    WideString result(Text.size(), u'\0');
    for (std::size_t i = 0; i < Text.size(); ++i)
        result[i] = windows1252ToWide(static_cast<Byte>(Text[i]));
    return result;
}

AnsiString WideToAnsi(const WideString& Text) {
    return WideToCodePage(Text, CP_ACP);
}

WideString TextOf(const char* Text) {
    return Text ? AnsiToWide(Text) : WideString();
}

WideString TextOf(const WideChar* Text) {
    return Text ? WideString(Text) : WideString();
}

std::string UTF8Encode(const WideString& Text) {
    return WideToCodePage(Text, CP_UTF8);
}
WideString UTF8Decode(const std::string& Bytes) {
    return CodePageToWide(Bytes, CP_UTF8);
}
std::string AnsiToUtf8(const AnsiString& Text) {
    return UTF8Encode(AnsiToWide(Text));
}
AnsiString Utf8ToAnsi(const std::string& Bytes) {
    return WideToAnsi(UTF8Decode(Bytes));
}

Word WideCharType(WideChar Char, DWORD InfoType) {
    const bool ansi = inAnsiRepertoire(Char);
    switch (InfoType) {
    case CT_CTYPE1:
        return ansi ? ansiRepertoireType1(Char) : unicodeType1(Char);
    case CT_CTYPE3:
        return ansi ? ansiRepertoireType3(Char) : unicodeType3(Char);
    default:
        return 0;
    }
}

Word AnsiCharType(AnsiChar Char, DWORD InfoType) {
    return WideCharType(windows1252ToWide(static_cast<Byte>(Char)), InfoType);
}

AnsiChar AnsiCharUpper(AnsiChar Char) {
    const auto upper = wideToWindows1252(WideCharUpper(windows1252ToWide(static_cast<Byte>(Char))));
    return upper ? static_cast<AnsiChar>(*upper) : Char;
}

AnsiChar AnsiCharLower(AnsiChar Char) {
    const auto lower = wideToWindows1252(WideCharLower(windows1252ToWide(static_cast<Byte>(Char))));
    return lower ? static_cast<AnsiChar>(*lower) : Char;
}

WideChar WideCharUpper(WideChar Char) {
    if (const auto upper = ansiRepertoireUpper(Char)) return *upper;
    return unicodeCaseMapped(Char, towupper_l);
}

WideChar WideCharLower(WideChar Char) {
    if (const auto lower = ansiRepertoireLower(Char)) return *lower;
    return unicodeCaseMapped(Char, towlower_l);
}

Integer LocaleCompareAnsi(const AnsiString& A, const AnsiString& B, bool IgnoreCase) {
    return localeCompare(AnsiAsWide(A), AnsiAsWide(B), IgnoreCase);
}

Integer LocaleCompareWide(const WideString& A, const WideString& B, bool IgnoreCase) {
    return localeCompare(WideText(A), WideText(B), IgnoreCase);
}

bool IsDBCSLeadByte(Byte) {
    return false;
}
bool IsDBCSLeadByteEx(Cardinal, Byte) {
    return false;
}
TMbcsByteType ByteType(const AnsiString&, Integer) {
    return mbSingleByte;
}
