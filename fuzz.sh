#!/usr/bin/env bash
# Builds the libFuzzer programs with clang, AddressSanitizer and UBSan, and runs them:
#   ./fuzz.sh                 every fuzzer for 60 s
#   ./fuzz.sh all SECONDS     every fuzzer for SECONDS
#   ./fuzz.sh NAME [SECONDS]  one fuzzer (a file name under tools/fuzz, without .cpp)
# Each fuzzer starts from its seeds in tools/fuzz/seeds/NAME, if any, and keeps what it
# finds in build/fuzz/corpus/NAME; a crash leaves its input in build/fuzz/.
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh

cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DBUILD_FUZZERS=ON -DSANITIZE=ON >/dev/null

names=("${1:-all}")
[ "${names[0]}" != all ] || mapfile -t names < <(ls tools/fuzz/*.cpp | xargs -n 1 basename | sed 's/\.cpp$//')
seconds=${2:-60}

for name in "${names[@]}"; do
    cmake --build build/fuzz --target "fuzz_$name"
    corpus=build/fuzz/corpus/$name
    mkdir -p "$corpus"
    seeds=()
    [ -d "tools/fuzz/seeds/$name" ] && seeds=("tools/fuzz/seeds/$name")
    echo "fuzzing $name for $seconds s"
    (cd build/fuzz && ASAN_OPTIONS=detect_leaks=1 "./fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 \
        "corpus/$name" "${seeds[@]/#/../../}")
done
