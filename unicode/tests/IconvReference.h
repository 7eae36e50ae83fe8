// The C library's converter as the reference the layer's conversions are
// checked against.
#pragma once

#include "platform/core/Types.h"

#include <cerrno>
#include <iconv.h>
#include <optional>
#include <string>

namespace test {

// The bytes of `input` in `from` converted to `to`; nothing when the
// converter refuses any of them.
inline std::optional<std::string> IconvConvert(const char* to, const char* from, const std::string& input) {
    iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string output(input.size() * 8 + 16, '\0');
    char* in = const_cast<char*>(input.data());
    char* out = output.data();
    std::size_t inLeft = input.size(), outLeft = output.size();
    const bool converted = iconv(converter, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1) &&
                           iconv(converter, nullptr, nullptr, &out, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(converter);
    if (!converted) return std::nullopt;
    output.resize(output.size() - outLeft);
    return output;
}

inline std::string LittleEndianBytes(const WideString& text) {
    std::string bytes;
    for (const char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

inline WideString FromLittleEndianBytes(const std::string& bytes) {
    WideString text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                      (static_cast<unsigned char>(bytes[i + 1]) << 8));
    return text;
}

// Text through the reference: UTF-16 to the code page's bytes and back.
inline std::optional<std::string> IconvEncode(const char* codePage, const WideString& text) {
    return IconvConvert(codePage, "UTF-16LE", LittleEndianBytes(text));
}
inline std::optional<WideString> IconvDecode(const char* codePage, const std::string& bytes) {
    const auto converted = IconvConvert("UTF-16LE", codePage, bytes);
    if (!converted) return std::nullopt;
    return FromLittleEndianBytes(*converted);
}

} // namespace test
