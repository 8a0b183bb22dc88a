#!/usr/bin/env bash
# Records the golden demos again from their scripts. Only for a deliberate change of
# the game's behaviour: commit the new demos together with the change, update the
# frame hashes and scores pinned in tests/runner/golden_demos_test.cpp, and say why in the
# commit message.
#   tests/data/demos/record.sh [RUNNER]    (default build/release/runner)
# Each demo is a runner script (FRAMES SECONDS KEY... per line) played from a seed.
set -euo pipefail
cd "$(dirname "$0")/../../.."
runner=${1:-build/release/runner}
scripts=$(mktemp -d)
trap 'rm -rf "$scripts"' EXIT

# Turns a quarter second at a time, firing a shot between turns in a frame of a
# millisecond: a shot costs battery by its frame's length, so this fires cheaply all
# around the ship for as long as the pattern repeats.
sweep() {
    for _ in $(seq "$1"); do
        echo "1 0.25 LEFT"
        echo "1 0.001 W"
    done
}

# record NAME SEED: the script on stdin, the demo into tests/data/demos/NAME.demo.
record() {
    cat > "$scripts/$1.txt"
    "$runner" --script "$scripts/$1.txt" --seed "$2" --frames 100000 --force --record "tests/data/demos/$1.demo" >/dev/null
    echo "$1: $(stat -c %s "tests/data/demos/$1.demo") bytes"
}

record fly_and_wrap 12 <<'SCRIPT'
60 0.03 UP
300 0.04
20 0.02 LEFT
40 0.03 UP
200 0.04
SCRIPT

sweep 150 | record shoot_to_fragments 2

sweep 910 | record clear_level_1 6

record die_and_respawn 5 <<'SCRIPT'
60 0.02 UP
20 0.02 RIGHT UP
60 0.02 UP
300 0.02
200 0.02 LEFT
SCRIPT

record shield_sight_ping 3 <<'SCRIPT'
140 0.04
10 0.02 S
60 0.02
10 0.02 A
100 0.02
5 0.02 SPACE
100 0.02
SCRIPT

# The day's challenge, random keys from seed 7: a format-2 demo of 10,800 steps.
"$runner" --challenge 2026-12-01 --random --seed 7 --force --record tests/data/demos/challenge_2026_12_01.demo >/dev/null
echo "challenge_2026_12_01: $(stat -c %s tests/data/demos/challenge_2026_12_01.demo) bytes"

record zoom_in_and_out 4 <<'SCRIPT'
60 0.02
30 0.02 PGUP
60 0.02
80 0.02 PGDN
60 0.02
SCRIPT
