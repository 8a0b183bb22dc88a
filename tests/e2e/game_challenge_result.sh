# A challenge shortened to two seconds through its testing variable plays to its end
# in the real window: the result screen asks for a name, which the keyboard types as
# text; Enter enters the run, with its demo beside it, among the shortened runs' own
# tables, and the screen marks its row. game --scores, which shows the real tables,
# never lists it. W watches the run's demo in the window (the tables give way to it)
# until its end brings them back (an Escape, which does the same, could come after the
# end on a slow machine and quit); R plays a new run, whose name entry offers the last
# name, which Enter keeps. Escape then quits.
set -euo pipefail
bin_dir=$1
source "$(dirname "$0")/lib/window.sh"

export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null
export SPACE_GAME_CHALLENGE_STEPS=180 # three seconds: long enough to see the demo play
today=$(date -u +%F)
tables="$XDG_DATA_HOME/space-game/challenge"
mark='#FFD040' # the chosen line's colour

start_program "$bin_dir/game" "Challenge $today \\(UTC\\)" --challenge # the title is a pattern
wait_for 60 "the result on standard output" grep -q "^challenge $today: score [0-9]*, level 1 (a shortened test run)\$" \
    "$WORK_DIR/stdout"
screenshot_showing "$WORK_DIR/name_entry.png" 640x480+0+0 "$mark" 100

# entered_run: sets ENTRY to the shortened runs' entry, which appears whole once written.
entered_run() {
    ENTRY=$(find "$tables/shortened" -name '*.score' 2>/dev/null | head -n 1 || true)
    [ -n "$ENTRY" ] || { echo "no entry; stderr: $(cat "$WORK_DIR/stderr")"; return 1; }
}

xdotool windowfocus --sync "$WINDOW_ID" 2>/dev/null || xdotool windowfocus "$WINDOW_ID"
xdotool type --delay 50 "Tester 1"
press_key Return
wait_for 30 "the run's entry under $tables/shortened" entered_run
grep -qxF "name=Tester 1" "$ENTRY" || fail "the entry does not hold the typed name: $(cat "$ENTRY")"
demo=$(sed -n 's/^demo=//p' "$ENTRY")
[ -n "$demo" ] && [ -f "$tables/shortened/$demo" ] || fail "the run's demo '$demo' is not beside its entry"
screenshot_showing "$WORK_DIR/result.png" 640x480+0+0 "$mark" 100

"$bin_dir/game" --scores >"$WORK_DIR/scores" || fail "game --scores failed"
! grep -q "Tester 1" "$WORK_DIR/scores" || fail "a shortened run entered the real tables: $(cat "$WORK_DIR/scores")"

# no_mark: succeeds while the marked line is off the screen (the demo plays).
no_mark() {
    local count
    screenshot "$WORK_DIR/watching.png" && count=$(count_colour "$WORK_DIR/watching.png" 640x480+0+0 "$mark") &&
        [ "$count" -eq 0 ] || { echo "$count marked pixels"; return 1; }
}
press_key w
wait_for 30 "the demo to play in place of the tables" no_mark
screenshot_showing "$WORK_DIR/back.png" 640x480+0+0 "$mark" 100

# entries: succeeds once the shortened runs' tables hold $1 entries.
entries() {
    local count
    count=$(find "$tables/shortened" -name '*.score' | wc -l)
    [ "$count" -eq "$1" ] || { echo "$count entries"; return 1; }
}
press_key r
wait_for 60 "the new run's result" bash -c "[ \$(grep -c '^challenge $today:' '$WORK_DIR/stdout') -ge 2 ]"
screenshot_showing "$WORK_DIR/name_offered.png" 640x480+0+0 "$mark" 100
press_key Return
wait_for 30 "the new run's entry" entries 2
[ "$(grep -lxF "name=Tester 1" "$tables"/shortened/*.score | wc -l)" -eq 2 ] || fail "Enter did not keep the name offered"

press_key Escape
expect_exit_within 15
