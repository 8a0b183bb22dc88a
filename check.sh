#!/usr/bin/env bash
# Sets up, builds and runs every test twice: an optimised build, then a build with
# AddressSanitizer and UndefinedBehaviorSanitizer. Warnings fail the build. Then the
# portable form of the hot loops, which 64-bit ARM runs, is built here too and must
# replay the golden demos and give the pinned runner hashes and the long runs' table
# (tests/data/long_runs.txt); then the browser build and its tests (node and headless
# Chromium). Last, every fuzzer runs briefly from its seeds, so none of them rots.
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh

build_and_test() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DWARNINGS_AS_ERRORS=ON "$@"
    cmake --build "$dir"
    ctest --test-dir "$dir" --output-on-failure -j 2
}

build_and_test build/release -DCMAKE_BUILD_TYPE=Release
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    build_and_test build/sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSANITIZE=ON

# Lean: the unit tests (the golden demos among them) and the pinned and long runs, no more.
cmake -S . -B build/portable -G Ninja -DWARNINGS_AS_ERRORS=ON -DCMAKE_BUILD_TYPE=Release -DPORTABLE_PATHS=ON
cmake --build build/portable --target unit_tests runner
./build/portable/unit_tests --gtest_brief=1
ctest --test-dir build/portable --output-on-failure -j 2 -R '^runner_level_'

./web.sh --test
./fuzz.sh all 10
