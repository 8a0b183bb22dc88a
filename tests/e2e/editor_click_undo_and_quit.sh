# The real editor under quick clicks and the keyboard: a fast click on a grid cell
# (pressed and released between two frames) moves the selected vertex and marks the
# title unsaved; Ctrl+Z puts it back; with unsaved changes the first Escape, or the
# first press of the close button, only asks and a second one quits. Nothing is
# saved. With SCREENSHOT_DIR set, the TEXTURE view is kept there as a PNG file.
set -euo pipefail
bin_dir=$(cd "$1" && pwd)
repo=$(pwd)
source "$(dirname "$0")/lib/window.sh"

run_in_copy_of_data
model=data/model/Ship.mdata
before=$(md5sum <"$model")
title="Ship.mdata - Ship Editor"

# expect_title TITLE: the window's title becomes TITLE within 30 s.
expect_title() {
    wait_for 30 "the title '$1'" titled "$1"
}

titled() {
    local title
    title=$(xdotool getwindowname "$WINDOW_ID") || return 1
    [ "$title" = "$1" ] || { echo "the title is '$title'"; return 1; }
}

# expect_red_marker_at WxH+X+Y ELSEWHERE: the red marker fills the first box and
# nothing red is left in the second (boxes inside a marker, clear of the red line).
expect_red_marker_at() {
    screenshot_showing "$WORK_DIR/marker.png" "$1" '#FF0000' 40
    [ "$(count_colour "$WORK_DIR/marker.png" "$2" '#FF0000')" -eq 0 ] || fail "a red marker is still at $2"
}

# expect_running_after SECONDS: the editor is still running that much later.
expect_running_after() {
    sleep "$1"
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the editor quit with unsaved changes"
}

# Line 0 of the committed ship ends at (-9, 11): cell (7, 27), pixel (194, 394).
start_program "$bin_dir/editor" "$title"
screenshot_showing "$WORK_DIR/start.png" 11x11+189+389 '#FF0000' 60
# Cell (10, 20) is pixel (236, 296). xdotool clicks without a pause between press
# and release, far quicker than a frame, and this first one also gives the window
# the focus.
xdotool mousemove --window "$WINDOW_ID" 236 296 click 1
expect_red_marker_at 7x7+233+293 7x7+191+391
expect_title "*$title"

press_key ctrl+z
expect_red_marker_at 7x7+191+391 7x7+233+293
expect_title "$title"

xdotool mousemove --window "$WINDOW_ID" 236 296 click 1
expect_title "*$title"
xdotool mousemove --window "$WINDOW_ID" 600 470 # off the grid: no hovered box in the pictures
press_key Escape
expect_running_after 1
screenshot_showing "$WORK_DIR/asking.png" 640x8+0+472 '#FFFF00' 100
press_key Escape
expect_exit_within 15

start_program "$bin_dir/editor" "$title"
xdotool mousemove --window "$WINDOW_ID" 236 296 click 1
expect_title "*$title"
"$bin_dir/close_window" "$WINDOW_ID" || fail "could not send the close request"
expect_running_after 1
"$bin_dir/close_window" "$WINDOW_ID" || fail "could not send the second close request"
expect_exit_within 15

[ "$(md5sum <"$model")" = "$before" ] || fail "the model file changed without S"

# The TEXTURE view of the ship as it is, for the README.
start_program "$bin_dir/editor" "$title"
xdotool mousemove --window "$WINDOW_ID" 600 470
press_key m
screenshot_showing "$WORK_DIR/texture.png" 640x8+0+1 '#FFFFFF' 40
sleep 0.5
screenshot "$WORK_DIR/texture.png"
press_key Escape
expect_exit_within 15
if [ -n "${SCREENSHOT_DIR:-}" ]; then
    mkdir -p "$repo/$SCREENSHOT_DIR"
    cp "$WORK_DIR/texture.png" "$repo/$SCREENSHOT_DIR/editor_texture.png"
fi
