#!/bin/sh
# Builds the reader's libFuzzer target with clang (address and undefined-behaviour
# sanitizers) and runs it, seeded with the shared fixture files.
# Usage: run-fuzz.sh BUILD_FOLDER [SECONDS]
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
out="${1:?usage: run-fuzz.sh BUILD_FOLDER [SECONDS]}/sqlite-fuzz"
seconds="${2:-60}"
fixtures="${QUORVANE_SHARED_DIR:-$root/../shared}/fixtures/db"

mkdir -p "$out/corpus" "$out/seeds"
for seed in "$fixtures"/*.db "$fixtures"/*.txt; do
    install -m 644 "$seed" "$out/seeds/"
done

clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root" "$root"/platform/sqlite/*.cpp "$here/SqliteFuzz.cpp" -o "$out/sqlite_fuzz"

# New finds go into corpus/; the seeds stay as copied.
cd "$out"
exec ./sqlite_fuzz -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 corpus seeds
