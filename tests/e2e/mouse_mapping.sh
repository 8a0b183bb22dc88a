# Pointer positions map back to framebuffer pixels at any window size: doubled,
# letterboxed, and over the black bars (which count as outside the picture).
set -euo pipefail
bin_dir=$1
source "$(dirname "$0")/lib/window.sh"

start_program "$bin_dir/mouse_probe" "Mouse Probe"

# expect_report "X Y BUTTONS": the probe's latest line becomes this within 30 s.
expect_report() {
    wait_for 30 "the report '$1'" last_report "$1"
}

last_report() {
    local report
    report=$(tail -n 1 "$WORK_DIR/stdout")
    [ "$report" = "$1" ] || { echo "the last report is '$report'"; return 1; }
}

# expect_mouse WINDOW_X WINDOW_Y "X Y BUTTONS"
expect_mouse() {
    xdotool mousemove --window "$WINDOW_ID" "$1" "$2"
    expect_report "$3"
}

# resize_window W H: the window at the screen's corner, so every point is reachable.
resize_window() {
    xdotool windowmove "$WINDOW_ID" 0 0 windowsize "$WINDOW_ID" "$1" "$2"
    sleep 0.5
}

expect_mouse 30 40 "30 40 0"
resize_window 1280 960
expect_mouse 200 100 "100 50 0"
expect_mouse 1279 959 "639 479 0"
resize_window 1000 600 # scale 1.25, bars 100 pixels wide left and right
expect_mouse 500 300 "320 240 0"
xdotool mousedown 3
expect_report "320 240 2"
xdotool mouseup 3
expect_report "320 240 0"
expect_mouse 50 300 "-1 -1 -1"
expect_mouse 100 0 "0 0 0"
press_key Escape
expect_exit_within 15
