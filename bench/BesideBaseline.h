// Times a piece of work beside a baseline that does the bare minimum with the
// same bytes, one after the other in every iteration, so that both meet the
// same load of a shared machine. The work's time is the iteration time; the
// baseline's time and the ratio of the two are printed beside it, so that a
// later run on another machine still shows where the work stands.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>

class BesideBaseline {
public:
    explicit BesideBaseline(benchmark::State& state) : state_(state) {}
    BesideBaseline(const BesideBaseline&) = delete;
    BesideBaseline& operator=(const BesideBaseline&) = delete;
    ~BesideBaseline() {
        if (workSeconds_ <= 0 || baselineSeconds_ <= 0) return;
        const double iterations = static_cast<double>(state_.iterations());
        state_.counters["baseline_ms"] = baselineSeconds_ / iterations * MillisecondsPerSecond;
        state_.counters["ratio_to_baseline"] = workSeconds_ / baselineSeconds_;
    }

    // The benchmark must use manual time.
    template <typename Work, typename Baseline> void iteration(Work&& work, Baseline&& baseline) {
        const double seconds = secondsOf(work);
        workSeconds_ += seconds;
        baselineSeconds_ += secondsOf(baseline);
        state_.SetIterationTime(seconds);
    }

    template <typename Work> static double secondsOf(Work&& work) {
        const auto started = std::chrono::steady_clock::now();
        work();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    }

private:
    static constexpr double MillisecondsPerSecond = 1000.0;

    benchmark::State& state_;
    double workSeconds_ = 0;
    double baselineSeconds_ = 0;
};
