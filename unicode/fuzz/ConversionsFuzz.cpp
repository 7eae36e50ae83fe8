// libFuzzer target for the Unicode conversions: the input read as UTF-16
// survives UTF-8, UTF-7 and UCS-2 and back; read as UTF-8 it decodes (one
// U+FFFD per bad sequence) to a text that survives a second round; read as
// ANSI it survives the code page and back. A wide list loading it as a file
// with the UTF-8 mark gets every line.
#include "platform/core/CodePages.h"
#include "tests/FuzzCheck.h"
#include "unicode/TntClasses.h"
#include "unicode/TntSystem.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

WideString utf16Of(const std::string& bytes) {
    WideString text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += static_cast<WideChar>(static_cast<unsigned char>(bytes[i]) |
                                      static_cast<unsigned char>(bytes[i + 1]) << 8);
    return text;
}

// The conversions stop at a NUL, as the system's do.
WideString upToNul(const WideString& text) {
    return text.substr(0, text.find(u'\0'));
}

void checkUtf8FileLoads(const std::string& bytes) {
    constexpr const char* Utf8Mark = "\xEF\xBB\xBF";
    TStringStream stream(Utf8Mark + bytes);
    TTntStringList list;
    list.LoadFromStream(&stream);
    // The text may end at a NUL, as the framework's text does.
    const auto beforeNul = bytes.begin() + static_cast<std::ptrdiff_t>(std::min(bytes.find('\0'), bytes.size()));
    const auto lineFeeds = std::count(bytes.begin(), beforeNul, '\n');
    fuzzCheck(list.Count() >= lineFeeds, "a UTF-8 file loads every line");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string bytes(reinterpret_cast<const char*>(Data), Size);
    const WideString wide = upToNul(utf16Of(bytes));
    fuzzCheck(UTF8ToWideString(WideStringToUTF8(wide)) == wide, "UTF-16 through UTF-8");
    fuzzCheck(UTF7ToWideString(WideStringToUTF7(wide)) == wide, "UTF-16 through UTF-7");
    fuzzCheck(UCS2ToWideString(WideStringToUCS2(wide)) == wide, "UTF-16 through UCS-2");

    const WideString decoded = UTF8Decode(bytes);
    fuzzCheck(UTF8Decode(UTF8Encode(decoded)) == decoded, "decoded UTF-8 through UTF-8");
    UTF8ToWideString(bytes);
    try {
        UTF7ToWideString(bytes);
    } catch (const Exception&) {
        // Malformed UTF-7 is reported this way.
    }

    checkUtf8FileLoads(bytes);

    const AnsiString ansi = bytes.substr(0, bytes.find('\0'));
    fuzzCheck(WideToAnsi(AnsiToWide(ansi)) == ansi, "ANSI through UTF-16");
    return 0;
}
