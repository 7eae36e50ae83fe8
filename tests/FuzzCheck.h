// What a fuzz target checks besides memory safety: a broken invariant stops
// the run with its description, which libFuzzer and the replay report as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void fuzzCheck(bool Holds, const char* Invariant) {
    if (Holds) return;
    std::fprintf(stderr, "fuzz invariant broken: %s\n", Invariant);
    std::abort();
}
