// libFuzzer target for form text: what parses prints as a text that parses to
// the same tree (compared through its canonical print).
#include "platform/vcl/FormText.h"
#include "tests/FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const AnsiString text(reinterpret_cast<const char*>(Data), Size);
    formtext::FormObject parsed;
    try {
        parsed = formtext::ParseFormText(text);
    } catch (const EParserError&) {
        return 0;
    }
    const AnsiString printed = formtext::PrintFormText(parsed);
    formtext::FormObject again;
    try {
        again = formtext::ParseFormText(printed);
    } catch (const EParserError&) {
        fuzzCheck(false, "a printed form parses");
    }
    fuzzCheck(formtext::PrintFormText(again) == printed, "parse, print and parse again gives the same");
    formtext::TopClassName(text);
    return 0;
}
