// Search speed of the regular-expression engine against PCRE2 over 10 MB of
// JavaScript-like text, finding every match of four typical patterns, plus
// two pathological patterns that must end. After the usual table it prints
// each pattern's time with this engine divided by PCRE2's (below 1: faster).
#include "highlighters/SynRegExpr.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr size_t TextSize = 10 * 1024 * 1024;
constexpr double BytesPerMegabyte = 1e6;

// Deterministic script text: functions, calls, keywords, strings and comments.
const std::string& javaScriptText() {
    static const std::string text = [] {
        static const char* const names[] = {"value", "count", "element", "total",
                                            "index", "node",  "item",    "result"};
        static const char* const words[] = {"hello world", "click here", "", "a \\\"quoted\\\" word",
                                            "#ff0000"};
        std::string result;
        std::uint32_t seed = 12345;
        auto next = [&seed](std::uint32_t bound) {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 16) % bound;
        };
        for (int block = 0; result.size() < TextSize; ++block) {
            const std::string name = names[next(8)] + std::to_string(block % 97);
            result += "function " + name + "(event, " + names[next(8)] + ") {\n";
            result += "    var " + std::string(names[next(8)]) + " = document.getElementById(\"" +
                      words[next(5)] + "\");\n";
            result += "    // keep the " + std::string(names[next(8)]) + " in range\n";
            result += "    if (" + name + " > " + std::to_string(next(1000)) + ") {\n";
            result +=
                "        return " + std::string(names[next(8)]) + ".toString() + '" + words[next(5)] + "';\n";
            result += "    } else {\n        window.alert(\"" + std::string(words[next(5)]) + "\");\n    }\n";
            result +=
                "    for (var i = 0; i < " + std::string(names[next(8)]) + ".length; i++) total += i;\n}\n";
        }
        result.resize(TextSize);
        return result;
    }();
    return text;
}

// Group 1 holds the expression in both engines' syntax.
const char* const LiteralWord = "getElementById";
const char* const IdentifierCall = "[A-Za-z_][A-Za-z0-9_]*\\(";
const char* const KeywordAlternation = "\\b(function|return|var|if|else|for|while)\\b";
const char* const QuotedString = "\"[^\"]*\"";

// As the multi-language highlighter searches: over the caller's text, which
// is not copied.
Integer countOurMatches(TRegExpr& regExpr, const std::string& text) {
    Integer matches = 0;
    if (regExpr.ExecFrom(text, 1)) {
        do
            ++matches;
        while (regExpr.ExecNext());
    }
    return matches;
}

void ourEngine(benchmark::State& state, const char* expression) {
    const std::string& text = javaScriptText();
    TRegExpr regExpr;
    regExpr.SetExpression(expression);
    Integer matches = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(matches = countOurMatches(regExpr, text));
    state.counters["MB"] = benchmark::Counter(static_cast<double>(text.size()) / BytesPerMegabyte,
                                              benchmark::Counter::kIsIterationInvariantRate);
    state.counters["matches"] = matches;
}

class Pcre2Pattern {
public:
    explicit Pcre2Pattern(const char* expression) {
        int error = 0;
        PCRE2_SIZE offset = 0;
        code_ = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(expression), PCRE2_ZERO_TERMINATED, 0, &error,
                              &offset, nullptr);
        if (!code_) throw std::runtime_error(std::string("PCRE2 rejects ") + expression);
        data_ = pcre2_match_data_create_from_pattern(code_, nullptr);
    }
    ~Pcre2Pattern() {
        pcre2_match_data_free(data_);
        pcre2_code_free(code_);
    }
    Pcre2Pattern(const Pcre2Pattern&) = delete;
    Pcre2Pattern& operator=(const Pcre2Pattern&) = delete;

    // Every match from the start, stepping past empty ones; a negative result
    // is PCRE2's error (such as its match limit).
    int countMatches(const std::string& text) {
        const auto* subject = reinterpret_cast<PCRE2_SPTR>(text.data());
        int matches = 0;
        for (PCRE2_SIZE start = 0; start <= text.size();) {
            const int result = pcre2_match(code_, subject, text.size(), start, 0, data_, nullptr);
            if (result == PCRE2_ERROR_NOMATCH) break;
            if (result < 0) return result;
            ++matches;
            const PCRE2_SIZE* offsets = pcre2_get_ovector_pointer(data_);
            start = offsets[1] > offsets[0] ? offsets[1] : offsets[1] + 1;
        }
        return matches;
    }

private:
    pcre2_code* code_ = nullptr;
    pcre2_match_data* data_ = nullptr;
};

void pcre2Engine(benchmark::State& state, const char* expression) {
    const std::string& text = javaScriptText();
    Pcre2Pattern pattern(expression);
    int matches = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(matches = pattern.countMatches(text));
    state.counters["MB"] = benchmark::Counter(static_cast<double>(text.size()) / BytesPerMegabyte,
                                              benchmark::Counter::kIsIterationInvariantRate);
    state.counters["matches"] = matches;
}

BENCHMARK_CAPTURE(ourEngine, literal_word, LiteralWord)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(pcre2Engine, literal_word, LiteralWord)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ourEngine, identifier_call, IdentifierCall)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(pcre2Engine, identifier_call, IdentifierCall)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ourEngine, keyword_alternation, KeywordAlternation)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(pcre2Engine, keyword_alternation, KeywordAlternation)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ourEngine, quoted_string, QuotedString)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(pcre2Engine, quoted_string, QuotedString)->Unit(benchmark::kMillisecond);

// Pathological patterns: exponential backtracking over 30 characters, and one
// repetition per two characters of 1 MB of spaces. Group syntax differs: this
// engine has no "(?:", so both capture.
const std::string NestedPlusSubject = std::string(30, 'a') + "b";
const std::string MegabyteOfSpaces(1024 * 1024, ' ');

void ourPathological(benchmark::State& state, const char* expression, const std::string* subject) {
    TRegExpr regExpr;
    regExpr.SetExpression(expression);
    bool matched = false;
    for (auto _ : state)
        benchmark::DoNotOptimize(matched = regExpr.Exec(*subject));
    state.counters["matched"] = matched;
}

void pcre2Pathological(benchmark::State& state, const char* expression, const std::string* subject) {
    Pcre2Pattern pattern(expression);
    int result = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(result = pattern.countMatches(*subject));
    state.counters["result"] = result; // negative: PCRE2 gave up with an error
}

BENCHMARK_CAPTURE(ourPathological, nested_plus_30, "(a+)+$", &NestedPlusSubject)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(pcre2Pathological, nested_plus_30, "(a+)+$", &NestedPlusSubject)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ourPathological, space_pairs_1mb, "(\\s\\s)+", &MegabyteOfSpaces)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(pcre2Pathological, space_pairs_1mb, "(\\s\\s)+", &MegabyteOfSpaces)
    ->Unit(benchmark::kMillisecond);

// The console table, then this engine's time over PCRE2's for every pattern
// both ran, each time averaged over the repetitions.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            const std::string name = run.benchmark_name();
            const size_t slash = name.find('/');
            if (slash == std::string::npos) continue;
            const std::string pattern = name.substr(slash + 1, name.find('/', slash + 1) - slash - 1);
            Times& times = times_[pattern];
            (name.rfind("our", 0) == 0 ? times.ours : times.pcre2).push_back(run.GetAdjustedRealTime());
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-22s %14s %14s %8s\n", "pattern", "ours", "PCRE2", "ratio");
        for (const auto& [pattern, times] : times_) {
            if (times.ours.empty() || times.pcre2.empty()) continue;
            const double ours = mean(times.ours);
            const double pcre2 = mean(times.pcre2);
            std::printf("%-22s %14.3f %14.3f %8.2f\n", pattern.c_str(), ours, pcre2, ours / pcre2);
        }
    }

private:
    struct Times {
        std::vector<double> ours;
        std::vector<double> pcre2;
    };

    static double mean(const std::vector<double>& values) {
        double sum = 0;
        for (double value : values)
            sum += value;
        return sum / static_cast<double>(values.size());
    }

    std::map<std::string, Times> times_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
