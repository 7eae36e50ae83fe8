// libFuzzer target for the expression evaluator: any text evaluates or
// raises the evaluator's error, nothing else.
#include "gl/glUtils.h"

#include "platform/core/Exceptions.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    try {
        CalcMathString(std::string(reinterpret_cast<const char*>(Data), Size));
    } catch (const Exception&) {
        // Malformed input is reported this way.
    }
    return 0;
}
