#!/usr/bin/env bash
# Compares the game's sine, cosine and arctangent with GNU MPFR on 10 million inputs
# each (or the count given) and prints each function's worst error in ulps and its
# count of results that are not correctly rounded. Builds what it needs in
# build/release. Takes some minutes.
#   tools/bench/exact_math_accuracy.sh [INPUTS]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build/release
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target exact_math_accuracy >/dev/null
exec "$build/exact_math_accuracy" "$@"
