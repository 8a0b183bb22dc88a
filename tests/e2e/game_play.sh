# The real game is played with keys: it flies (Up), turns, fires (W), raises the
# laser sight (A), pings (Space) and the shield (S). The screenshots must show the
# red sight, the sonar ring and the yellow heads-up line; Escape ends it with status 0.
# With SHOTS_DIR set, the quiet and the busy screenshot are kept there.
set -euo pipefail
bin_dir=$1
source "$(dirname "$0")/lib/window.sh"

export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null
start_program "$bin_dir/game" "Space Game"
screenshot_showing "$WORK_DIR/quiet.png" 640x8+0+471 '#FFFF00' 100
sleep 1.5 # the view settles from zoom 4 to 1
screenshot "$WORK_DIR/quiet.png"

hold() { xdotool windowfocus --sync "$WINDOW_ID" 2>/dev/null || true; xdotool keydown "$@"; }
release() { xdotool keyup "$@"; }

# pinged: pings and takes a screenshot while the ring grows. A ring missed (a slow
# frame, a ship that had just been destroyed) is tried again by the next call.
pinged() {
    local ring
    hold space; sleep 0.2; release space
    sleep 0.4
    screenshot "$WORK_DIR/busy.png" || return 1
    ring=$(count_colour "$WORK_DIR/busy.png" 640x470+0+0 '#646400') || return 1
    [ "$ring" -ge 30 ] || { echo "the sonar ring shows $ring pixels"; return 1; }
}

# sight_in_view: the red laser sight is on screen, or else the ship jumps (Down) and
# raises the sight again for the next call. The ship starts at a random place; at the
# world's edge the view stops following and the sight may point out of it.
sight_in_view() {
    local red
    screenshot "$WORK_DIR/sight.png" || return 1
    red=$(count_colour "$WORK_DIR/sight.png" 640x470+0+0 '#FF0000') || return 1
    [ "$red" -ge 40 ] && return 0
    echo "the laser sight shows $red red pixels"
    hold Down a; sleep 0.2; release Down a
    sleep 1.5 # the view catches up with the ship
    return 1
}

hold a; sleep 0.2; release a
hold Up w; sleep 0.4; hold Right; sleep 0.3; release Right Up
wait_for 30 "the sonar ring" pinged
release w
wait_for 30 "the laser sight in view" sight_in_view
hud=$(count_colour "$WORK_DIR/busy.png" 640x8+0+471 '#FFFF00')
[ "$hud" -ge 100 ] || fail "no heads-up line while busy"
# Thrust burns fuel and the sight and the ping cost battery: the heads-up line must
# change. (How far the view slides depends on the start place and the machine's
# speed, so the picture as a whole is only required to change somewhat.)
hud_changed=$(compare -metric AE "$WORK_DIR/quiet.png[640x8+0+471]" "$WORK_DIR/busy.png[640x8+0+471]" null: 2>&1 || true)
[ "${hud_changed%% *}" -ge 1 ] || fail "fuel and battery did not change while flying"
changed=$(compare -metric AE "$WORK_DIR/quiet.png" "$WORK_DIR/busy.png" null: 2>&1 || true)
[ "${changed%% *}" -ge 1000 ] || fail "the picture hardly changed while flying: $changed pixels"

hold s; sleep 0.3; release s
kill -0 "$PROGRAM_PID" || fail "the game ended while being played"
if [ -n "${SHOTS_DIR:-}" ]; then
    cp "$WORK_DIR/quiet.png" "$SHOTS_DIR/game_quiet.png"
    cp "$WORK_DIR/busy.png" "$SHOTS_DIR/game_busy.png"
fi
press_key Escape
expect_exit_within 15
