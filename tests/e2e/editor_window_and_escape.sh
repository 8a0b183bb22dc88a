# The editor opens its 640 x 480 window, shows its status line and ends on Escape.
set -euo pipefail
bin_dir=$1
source "$(dirname "$0")/lib/window.sh"

start_program "$bin_dir/editor" "Ship Editor"
expect_framebuffer_sized_window
screenshot_showing "$WORK_DIR/shot.png" 640x8+0+471 '#FFFFFF' 50
press_key Escape
expect_exit_within 15
