// The types every part of the editor and its highlighters share: positions in
// the text and on screen, selection modes, search options, character sets and
// the per-line highlighter state.
#pragma once

#include "platform/core/Types.h"

#include <bitset>
#include <cstdint>
#include <initializer_list>
#include <string_view>

// A set of the values of a small enumeration (ordinals 0..63), with the
// operations the editor code uses on such sets.
template <typename Enum> class TSynSet {
public:
    constexpr TSynSet() = default;
    constexpr TSynSet(std::initializer_list<Enum> elements) {
        for (Enum element : elements)
            Include(element);
    }

    constexpr bool Contains(Enum element) const { return (bits_ & bitOf(element)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr void Include(Enum element) { bits_ |= bitOf(element); }
    constexpr void Exclude(Enum element) { bits_ &= ~bitOf(element); }
    constexpr std::uint64_t Bits() const { return bits_; }
    static constexpr TSynSet FromBits(std::uint64_t bits) {
        TSynSet set;
        set.bits_ = bits;
        return set;
    }

    friend constexpr TSynSet operator+(TSynSet a, TSynSet b) { return FromBits(a.bits_ | b.bits_); }
    friend constexpr TSynSet operator-(TSynSet a, TSynSet b) { return FromBits(a.bits_ & ~b.bits_); }
    friend constexpr TSynSet operator*(TSynSet a, TSynSet b) { return FromBits(a.bits_ & b.bits_); }
    friend constexpr bool operator==(TSynSet, TSynSet) = default;

private:
    static constexpr std::uint64_t bitOf(Enum element) {
        return std::uint64_t{1} << static_cast<unsigned>(element);
    }
    std::uint64_t bits_ = 0;
};

// A position in the text: 1-based character index within the line and 1-based line.
struct TBufferCoord {
    Integer Char = 0;
    Integer Line = 0;
    friend bool operator==(const TBufferCoord&, const TBufferCoord&) = default;
};

// A position on screen: 1-based column after tab expansion and 1-based row after word wrap.
struct TDisplayCoord {
    Integer Column = 0;
    Integer Row = 0;
    friend bool operator==(const TDisplayCoord&, const TDisplayCoord&) = default;
};

constexpr TBufferCoord BufferCoord(Integer AChar, Integer ALine) {
    return {AChar, ALine};
}

// Whether A comes before B in the text: by line, then by character.
constexpr bool isBefore(const TBufferCoord& A, const TBufferCoord& B) {
    return A.Line < B.Line || (A.Line == B.Line && A.Char < B.Char);
}
constexpr TDisplayCoord DisplayCoord(Integer AColumn, Integer ARow) {
    return {AColumn, ARow};
}

// One byte wide: it is stored as such in undo items and the private clipboard format.
enum TSynSelectionMode : Byte { smNormal, smLine, smColumn };
using PSynSelectionMode = TSynSelectionMode*;

enum TSynSearchOption {
    ssoMatchCase,
    ssoWholeWord,
    ssoBackwards,
    ssoEntireScope,
    ssoSelectedOnly,
    ssoReplace,
    ssoReplaceAll,
    ssoPrompt
};
using TSynSearchOptions = TSynSet<TSynSearchOption>;

// A set of 8-bit characters: those that form identifiers and words.
class TSynIdentChars {
public:
    TSynIdentChars() = default;
    // Every character of `characters` is a member.
    explicit TSynIdentChars(std::string_view characters) {
        for (char c : characters)
            Include(c);
    }

    bool Contains(char c) const { return bits_.test(static_cast<unsigned char>(c)); }
    void Include(char c) { bits_.set(static_cast<unsigned char>(c)); }
    void Exclude(char c) { bits_.reset(static_cast<unsigned char>(c)); }
    void IncludeRange(char first, char last) {
        for (unsigned c = static_cast<unsigned char>(first); c <= static_cast<unsigned char>(last); ++c)
            bits_.set(c);
    }
    friend bool operator==(const TSynIdentChars&, const TSynIdentChars&) = default;

private:
    std::bitset<256> bits_;
};

// The highlighter's state at the end of a line, one pointer-sized value per line.
using TSynRangeValue = NativeInt;
// Marks a line that no highlighter has scanned yet.
constexpr TSynRangeValue NullRange = -1;
