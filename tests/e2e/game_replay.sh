# The real game replays a golden demo in its window at the speed it was recorded
# (6.7 s of play), ends by itself with status 0, and says that the final state and
# picture are as recorded: the window's backend draws the frames the headless one did.
set -euo pipefail
bin_dir=$1
source "$(dirname "$0")/lib/window.sh"

export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null
demo=tests/data/demos/zoom_in_and_out.demo
started_ms=$(($(date +%s%N) / 1000000))
start_program "$bin_dir/game" "Space Game" --replay "$demo"
expect_exit_within 60
elapsed_ms=$(($(date +%s%N) / 1000000 - started_ms))
grep -q "^$demo: 290 frames replayed; the final state and picture match the recording$" "$WORK_DIR/stdout" ||
    fail "unexpected verdict: $(cat "$WORK_DIR/stdout")"
[ "$elapsed_ms" -ge 6500 ] || fail "the replay took $elapsed_ms ms, not the 6.7 s recorded"
