#!/usr/bin/env bash
# Sets up, builds and runs every test twice: an optimised build, then a build with
# AddressSanitizer and UndefinedBehaviorSanitizer. Warnings fail the build. Then the
# browser build and its tests (node and headless Chromium). Last, every fuzzer runs
# briefly from its seeds, so none of them rots.
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
./web.sh --test
./fuzz.sh all 10
