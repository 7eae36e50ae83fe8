#!/bin/bash
# Builds every libFuzzer target with clang and the address and undefined-
# behaviour sanitizers, then runs each for SECONDS (60 by default), one after
# the other. New inputs go to BUILD_FOLDER/fuzz-work/<target>/, a crash to
# BUILD_FOLDER/fuzz-work/<target>-crash-...; the seeds in the source tree stay
# as they are. Usage: run-fuzzers.sh BUILD_FOLDER [SECONDS] [TARGET...]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: run-fuzzers.sh BUILD_FOLDER [SECONDS] [TARGET...]}
seconds=${2:-60}
shift $(($# < 2 ? $# : 2))

export LSAN_OPTIONS="suppressions=$root/cmake/lsan-suppressions.txt"
export UBSAN_OPTIONS="print_stacktrace=1"
# The settings and registry targets write a file per input; in memory the
# writers' fsync costs nothing.
if [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi

bash "$root/cmake/configure-instrumented.sh" "$build"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for listing in "$build"/fuzzers/*.corpus; do targets+=("$(basename "$listing" .corpus)"); done
fi
cmake --build "$build" -j "${JOBS:-4}" --target "${targets[@]/%/_fuzz}"

for target in "${targets[@]}"; do
    work="$build/fuzz-work/$target"
    mkdir -p "$work"
    mapfile -t corpus < "$build/fuzzers/$target.corpus"
    echo "== $target: $seconds s"
    "$build/bin/${target}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$work-" "$work" "${corpus[@]}" > "$work.log" 2>&1 ||
        { tail -40 "$work.log"; exit 1; }
    grep -E '^Done|stat::number_of_executed_units|stat::peak_rss_mb' "$work.log"
done
