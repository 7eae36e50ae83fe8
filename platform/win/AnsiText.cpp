// The Windows-1252 table: identical to Latin-1 except for 0x80 to 0x9F.
#include "platform/win/AnsiText.h"

#include <array>
#include <cstring>

namespace {

constexpr std::array<WCHAR, 32> upperControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
constexpr Byte firstUpperControl = 0x80;
constexpr Byte lastUpperControl = 0x9F;

} // namespace

WCHAR WideFromAnsiChar(Byte character) {
    if (character >= firstUpperControl && character <= lastUpperControl)
        return upperControlRange[character - firstUpperControl];
    return character;
}

WideString WideFromAnsi(const char* text, int count) {
    if (!text) return {};
    std::size_t length = count < 0 ? std::strlen(text) : static_cast<std::size_t>(count);
    WideString wide(length, u'\0');
    for (std::size_t i = 0; i < length; ++i)
        wide[i] = WideFromAnsiChar(static_cast<Byte>(text[i]));
    return wide;
}
