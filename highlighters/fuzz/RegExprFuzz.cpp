// libFuzzer target for the regular-expression engine: the input's first line
// is the expression, the rest the subject. Compiling may fail with the
// engine's error; a search must end (the step budget bounds it) and every
// match it reports must lie inside the subject.
#include "highlighters/SynRegExpr.h"
#include "tests/FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

constexpr int MaximumMatches = 64;

void checkMatch(TRegExpr& regExpr, const std::string& subject) {
    const auto length = static_cast<Integer>(subject.size());
    for (Integer group = 0; group < regExpr.GetSubExprMatchCount() + 1 && group < NSUBEXP; ++group) {
        const Integer position = regExpr.GetMatchPos(group);
        if (position < 0) continue;
        fuzzCheck(position >= 1 && position + regExpr.GetMatchLen(group) <= length + 1, "match inside subject");
    }
}

void searchAll(TRegExpr& regExpr, const std::string& subject) {
    if (!regExpr.Exec(subject)) return;
    for (int found = 0; found < MaximumMatches; ++found) {
        checkMatch(regExpr, regExpr.GetInputString());
        if (!regExpr.ExecNext()) return;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string input(reinterpret_cast<const char*>(Data), Size);
    const std::size_t lineEnd = input.find('\n');
    const std::string expression = input.substr(0, lineEnd);
    const std::string subject = lineEnd == std::string::npos ? std::string() : input.substr(lineEnd + 1);
    TRegExpr regExpr;
    try {
        regExpr.SetExpression(expression);
        regExpr.Compile();
        searchAll(regExpr, subject);
        regExpr.SetModifierStr("i");
        searchAll(regExpr, subject);
    } catch (const ERegExpr&) {
        // Bad expressions and runaway searches end with the engine's error.
    }
    return 0;
}
