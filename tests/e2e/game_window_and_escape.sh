# The real game opens a 640 x 480 window, shows the yellow heads-up line in the
# bottom text row, and ends with status 0 within 15 s of Escape.
set -euo pipefail
bin_dir=$1
source "$(dirname "$0")/lib/window.sh"

start_program "$bin_dir/game" "Space Game"
expect_framebuffer_sized_window
screenshot_showing "$WORK_DIR/shot.png" 640x8+0+471 '#FFFF00' 100
[ "$(identify -format '%wx%h' "$WORK_DIR/shot.png")" = 640x480 ] || fail "screenshot is not 640x480"
press_key Escape
expect_exit_within 15
