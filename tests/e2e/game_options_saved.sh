# The options over the paused game: P pauses, O opens them; Left three times lowers
# the volume to 70, and the controls add T to thrust. Leaving the options writes the
# settings file; the game started again shows both on its options and controls pages,
# exactly as the first run left them.
set -euo pipefail
bin_dir=$1
source "$(dirname "$0")/lib/window.sh"

export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null
settings=$XDG_CONFIG_HOME/space-game/settings.ini

# The pages' layout: the options' Volume line and the controls' THRUST line, each the
# first of its page and selected when the page opens.
VOLUME_LINE=448x10+96+192
THRUST_LINE=624x10+8+143
OPTIONS_PANEL=464x158+88+161
CONTROLS_PANEL=640x256+0+112

# crop FILE GEOMETRY OUT: the part of a screenshot.
crop() { convert "$1" -crop "$2" +repage "$3"; }

# panel_changed GEOMETRY BEFORE: a new screenshot differs from BEFORE inside GEOMETRY.
panel_changed() {
    screenshot "$WORK_DIR/now.png" || return 1
    crop "$WORK_DIR/now.png" "$1" "$WORK_DIR/now_part.png"
    local changed
    changed=$(compare -metric AE "$WORK_DIR/now_part.png" "$2" null: 2>&1 || true)
    [ "$changed" != 0 ] || { echo "unchanged"; return 1; }
}

# press_and_see KEY GEOMETRY: presses KEY and waits until the page inside GEOMETRY
# shows its effect, so that no press falls into the same turn as the one before.
press_and_see() {
    screenshot "$WORK_DIR/before.png"
    crop "$WORK_DIR/before.png" "$2" "$WORK_DIR/before_part.png"
    press_key "$1"
    wait_for 30 "$1 to change the page" panel_changed "$2" "$WORK_DIR/before_part.png"
}

# open_options: pauses the game and opens the options (the selected line's yellow).
open_options() {
    start_program "$bin_dir/game" "Space Game"
    screenshot_showing "$WORK_DIR/playing.png" 640x8+0+471 '#FFFF00' 100
    press_key p
    screenshot_showing "$WORK_DIR/paused.png" 160x8+240+236 '#FFFFFF' 100
    press_key o
    screenshot_showing "$WORK_DIR/options.png" "$VOLUME_LINE" '#FFE040' 100
}

# leave_and_quit: from the controls back to the options, out of them to the pause
# screen (saving), and Escape again quits.
leave_and_quit() {
    press_and_see Escape "$CONTROLS_PANEL"
    press_and_see Escape "$OPTIONS_PANEL"
    press_key Escape
    expect_exit_within 15
}

open_options
for step in 1 2 3; do press_and_see Left "$VOLUME_LINE"; done
screenshot "$WORK_DIR/lowered.png"
crop "$WORK_DIR/lowered.png" "$VOLUME_LINE" "$WORK_DIR/volume_first.png"
for step in 1 2 3 4; do press_and_see Down "$OPTIONS_PANEL"; done # to Controls
press_and_see Return "$OPTIONS_PANEL"
press_and_see Return "$CONTROLS_PANEL" # waits for THRUST's key
press_and_see t "$CONTROLS_PANEL"
screenshot "$WORK_DIR/bound.png"
crop "$WORK_DIR/bound.png" "$THRUST_LINE" "$WORK_DIR/thrust_first.png"
leave_and_quit
grep -qx 'volume = 70' "$settings" || fail "no volume = 70 in the settings: $(cat "$settings" 2>&1)"
grep -qx 'thrust = Up, Keypad 8, T' "$settings" || fail "T is not thrust's in the settings: $(cat "$settings")"

# same_part FILE GEOMETRY EXPECTED: FILE's part inside GEOMETRY is EXPECTED to the pixel.
same_part() {
    crop "$1" "$2" "$WORK_DIR/part.png"
    local changed
    changed=$(compare -metric AE "$WORK_DIR/part.png" "$3" null: 2>&1 || true)
    [ "$changed" = 0 ] || fail "$2 differs from the first run's in $changed pixels"
}

first_run=$WORK_DIR
open_options
! grep -q 'settings.ini' "$WORK_DIR/stderr" || fail "the saved settings were not read cleanly: $(cat "$WORK_DIR/stderr")"
same_part "$WORK_DIR/options.png" "$VOLUME_LINE" "$first_run/volume_first.png"
for step in 1 2 3 4; do press_and_see Down "$OPTIONS_PANEL"; done
press_and_see Return "$OPTIONS_PANEL"
screenshot "$WORK_DIR/controls.png"
same_part "$WORK_DIR/controls.png" "$THRUST_LINE" "$first_run/thrust_first.png"
leave_and_quit
