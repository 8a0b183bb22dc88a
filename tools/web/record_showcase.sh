#!/usr/bin/env bash
# Records the demo that the browser's index page shows (src/platform/web/showcase.demo):
# forty seconds of play in steps of a sixtieth of a second, as a player's display would give
# them, so the replay moves as smoothly as a game. The golden demos are for tests and
# step far coarser.
#   tools/web/record_showcase.sh [RUNNER]    (default build/release/runner)
set -euo pipefail
cd "$(dirname "$0")/../.."
runner=${1:-build/release/runner}
script=$(mktemp)
trap 'rm -f "$script"' EXIT
step=0.016666667

# frames KEY...: hold the keys for that many steps.
hold() { echo "$1 $step ${*:2}"; }
# Turns one way and fires between turns, count times.
sweep() {
    for _ in $(seq "$2"); do
        hold 12 "$1"
        hold 1 W
        hold 6
    done
}

{
    hold 120
    hold 40 A
    sweep LEFT 30
    hold 45 UP
    hold 60
    hold 20 RIGHT
    hold 30 UP
    hold 90
    hold 6 SPACE
    hold 90
    sweep RIGHT 30
    hold 30 S
    hold 60
    hold 30 PGUP
    hold 90
    hold 30 PGDN
    sweep LEFT 20
    hold 120
} > "$script"
"$runner" --script "$script" --seed 6 --frames 100000 --force --record src/platform/web/showcase.demo
