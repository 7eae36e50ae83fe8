// The framework's basic types: integer aliases with the framework's names and
// sizes, its two string types and the colour value.
#pragma once

#include <cstdint>
#include <string>

using Byte = std::uint8_t;
using ShortInt = std::int8_t;
using Word = std::uint16_t;
using SmallInt = std::int16_t;
using Integer = std::int32_t;
using Cardinal = std::uint32_t;
using LongInt = std::int32_t;
using LongWord = std::uint32_t;
using DWORD = std::uint32_t;
using Int64 = std::int64_t;
using UInt64 = std::uint64_t;
using NativeInt = std::intptr_t;
using NativeUInt = std::uintptr_t;
using WideChar = char16_t;
using AnsiChar = char;

// Bytes in the ANSI code page (Windows-1252).
using AnsiString = std::string;
// UTF-16 code units; surrogate pairs are never interpreted.
using WideString = std::u16string;

// 0x00BBGGRR; system colours are 0x80000000 | index.
using TColor = std::int32_t;

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

struct TPoint {
    Integer x = 0;
    Integer y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    Integer Left = 0;
    Integer Top = 0;
    Integer Right = 0;
    Integer Bottom = 0;
    Integer Width() const { return Right - Left; }
    Integer Height() const { return Bottom - Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Rect(Integer left, Integer top, Integer right, Integer bottom) {
    return {left, top, right, bottom};
}
inline TPoint Point(Integer x, Integer y) {
    return {x, y};
}
