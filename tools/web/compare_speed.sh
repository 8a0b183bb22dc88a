#!/usr/bin/env bash
# The browser build's speed beside the desktop's, measured in one run: the same
# random play at level 20 (seed and frames alike) by the native runner and by the
# WebAssembly runner under node, in turns, so that both see the same machine. Each
# round gives the runner's own median frame (--timing, wall clock) and the processor
# time per frame (the process's user and system time, less a one-frame run's, so
# start-up and compiling the module are left out). A busy machine preempts long
# frames more often than short ones, which skews the wall-clock medians; the
# processor time is not skewed so. Prints the median ratio of each measure.
#   tools/web/compare_speed.sh [ROUNDS] [NATIVE_RUNNER] [WASM_RUNNER]
set -euo pipefail
cd "$(dirname "$0")/../.."
rounds=${1:-3}
native=${2:-build/release/runner}
wasm=${3:-build/web/site/runner.js}
frames=3000
play=(--random --seed 3 --level 20)

median_frame() { "$@" --frames "$frames" --timing | sed -n 's/^median frame \([0-9.]*\) ms.*/\1/p'; }
seconds() { /usr/bin/time -f "%U %S" "$@" 2>&1 >/dev/null | tail -1 | awk '{ print $1 + $2 }'; }
cpu_frame() { awk -v all="$(seconds "$@" --frames "$frames")" -v one="$(seconds "$@" --frames 1)" -v n="$frames" \
                  'BEGIN { printf "%.3f", (all - one) / (n - 1) * 1000 }'; }
ratio() { awk -v w="$1" -v n="$2" 'BEGIN { printf "%.2f", w / n }'; }
middle() { sort -n | sed -n "$(((rounds + 1) / 2))p"; }

wall=() cpu=()
for round in $(seq "$rounds"); do
    native_wall=$(median_frame "$native" "${play[@]}")
    wasm_wall=$(median_frame node "$wasm" "${play[@]}")
    native_cpu=$(cpu_frame "$native" "${play[@]}")
    wasm_cpu=$(cpu_frame node "$wasm" "${play[@]}")
    wall+=("$(ratio "$wasm_wall" "$native_wall")")
    cpu+=("$(ratio "$wasm_cpu" "$native_cpu")")
    echo "round $round: median frame native $native_wall ms, WebAssembly $wasm_wall ms (ratio ${wall[-1]});" \
         "processor time per frame native $native_cpu ms, WebAssembly $wasm_cpu ms (ratio ${cpu[-1]})"
done
echo "median ratios: wall-clock median frame $(printf '%s\n' "${wall[@]}" | middle)," \
     "processor time per frame $(printf '%s\n' "${cpu[@]}" | middle)"
