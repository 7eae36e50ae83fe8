#!/bin/bash
# Configures BUILD_FOLDER for the instrumented build that `make sanitize` and
# `make fuzz` share: clang, address and undefined-behaviour sanitizers, and
# the coverage the fuzzers need. Usage: configure-instrumented.sh BUILD_FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: configure-instrumented.sh BUILD_FOLDER}
if [ ! -f "$build/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DQUORVANE_SANITIZE=address,undefined -DQUORVANE_FUZZ=ON
fi
