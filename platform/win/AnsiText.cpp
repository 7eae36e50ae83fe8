// Graphics calls take 8-bit text as a pointer and a count; the conversion
// itself is the core's system code page.
#include "platform/win/AnsiText.h"

#include "platform/core/CodePages.h"

#include <cstring>

WCHAR WideFromAnsiChar(Byte character) {
    return AnsiCharToWide(static_cast<AnsiChar>(character));
}

WideString WideFromAnsi(const char* text, int count) {
    if (!text) return {};
    std::size_t length = count < 0 ? std::strlen(text) : static_cast<std::size_t>(count);
    WideString wide(length, u'\0');
    for (std::size_t i = 0; i < length; ++i)
        wide[i] = AnsiCharToWide(text[i]);
    return wide;
}
