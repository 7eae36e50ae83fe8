// Runs a fuzz target without the fuzzer: every file in the folders (and every
// file) named on the command line goes through the target once, so that
// ctest replays the seed corpus and the inputs of faults found earlier.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size);

namespace {

std::vector<std::filesystem::path> inputsIn(const std::filesystem::path& place) {
    std::vector<std::filesystem::path> inputs;
    if (std::filesystem::is_directory(place)) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(place))
            if (entry.is_regular_file()) inputs.push_back(entry.path());
    } else if (std::filesystem::is_regular_file(place)) {
        inputs.push_back(place);
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

void replay(const std::filesystem::path& input) {
    std::ifstream file(input, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), {});
    // Printed first, so that a crash names the input that caused it.
    std::printf("%s\n", input.c_str());
    std::fflush(stdout);
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

} // namespace

int main(int argc, char** argv) {
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto& input : inputsIn(argv[i])) {
            replay(input);
            ++count;
        }
    }
    std::printf("%zu inputs replayed\n", count);
    return count > 0 ? 0 : 1;
}
