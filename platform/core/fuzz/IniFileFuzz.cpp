// libFuzzer target for the settings-file reader and writer: the input is the
// file. Every key keeps its value through a write of another key, and the
// written key reads back; a file that must not be rewritten stays as it was.
#include "platform/core/IniFiles.h"
#include "platform/core/SysUtils.h"
#include "tests/FuzzCheck.h"
#include "tests/FuzzScratchFile.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <utility>

namespace {

constexpr const char* WrittenSection = "Fuzz";
constexpr const char* WrittenKey = "Written";
constexpr const char* WrittenValue = "value";

using Values = std::map<std::pair<AnsiString, AnsiString>, AnsiString>;

std::string contentOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), {});
}

// Each key as ReadString finds it, by section and key name in upper case.
Values valuesOf(const TIniFile& ini) {
    Values values;
    TStringList sections;
    TStringList keys;
    ini.ReadSections(&sections);
    for (Integer s = 0; s < sections.Count(); ++s) {
        ini.ReadSection(sections[s], &keys);
        for (Integer k = 0; k < keys.Count(); ++k)
            values[{AnsiUpperCase(sections[s]), AnsiUpperCase(keys[k])}] = ini.ReadString(sections[s], keys[k], "");
    }
    return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    static const FuzzScratchFile scratch("inifile-fuzz", "fuzz.ini");
    const std::string& path = scratch.path();
    const std::string bytes(reinterpret_cast<const char*>(Data), Size);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    TIniFile ini(path);
    Values expected = valuesOf(ini);
    try {
        ini.WriteString(WrittenSection, WrittenKey, WrittenValue);
    } catch (const EIniFileException&) {
        fuzzCheck(contentOf(path) == bytes, "a refused write leaves the file as it was");
        return 0;
    }
    fuzzCheck(ini.ReadString(WrittenSection, WrittenKey, "") == WrittenValue, "the written key reads back");
    expected[{AnsiUpperCase(WrittenSection), AnsiUpperCase(WrittenKey)}] = WrittenValue;
    fuzzCheck(valuesOf(ini) == expected, "a write changes only its key");
    return 0;
}
