// libFuzzer target for the Files entries of the script table: every entry
// that may be attached names a file below the program folder, as the system
// sees the path, and is copied under its bare name.
#include "app/BareNames.h"
#include "tests/FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace {

constexpr const char* ProgramFolder = "/opt/quorvane";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const AnsiString entry(reinterpret_cast<const char*>(Data), Size);
    const AnsiString path = AttachedFilePath(ProgramFolder, entry);
    fuzzCheck(path.empty() == !IsAttachableEntry(entry), "exactly the attachable entries name a file");
    if (path.empty()) return 0;
    // The system reads a path up to its first NUL byte.
    const std::string seen = std::filesystem::path(path.c_str()).lexically_normal().string();
    const std::string inside = std::string(ProgramFolder) + "/";
    fuzzCheck(seen.starts_with(inside), "an attached file lies below the program folder");
    fuzzCheck(path.ends_with("/" + BareName(entry)), "the copy takes the name the file has there");
    return 0;
}
