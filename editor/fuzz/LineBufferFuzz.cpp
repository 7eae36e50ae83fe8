// libFuzzer target for the editor's line buffer: the input is a file; what
// it loads as saves to a file that loads as the same lines.
#include "editor/SynEditTextBuffer.h"
#include "tests/FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

std::vector<AnsiString> linesOf(const TSynEditStringList& list) {
    std::vector<AnsiString> lines;
    for (Integer i = 0; i < list.Count(); ++i)
        lines.push_back(list.Get(i));
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    TStringStream file(std::string(reinterpret_cast<const char*>(Data), Size));
    TSynEditStringList loaded;
    loaded.LoadFromStream(&file);
    TStringStream saved;
    loaded.SaveToStream(&saved);
    saved.SetPosition(0);
    TSynEditStringList reloaded;
    reloaded.LoadFromStream(&saved);
    fuzzCheck(linesOf(reloaded) == linesOf(loaded), "load, save and load gives the same lines");
    return 0;
}
