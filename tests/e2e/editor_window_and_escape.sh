# The editor opens its 640 x 480 window, shows the grid under the status word "LINE"
# and ends with status 0 on Escape, leaving the model file as it was.
set -euo pipefail
bin_dir=$(cd "$1" && pwd)
source "$(dirname "$0")/lib/window.sh"

run_in_copy_of_data
before=$(md5sum data/model/Ship.mdata)
start_program "$bin_dir/editor" "Ship.mdata - Ship Editor"
expect_framebuffer_sized_window
screenshot_showing "$WORK_DIR/shot.png" 640x8+0+1 '#FFFFFF' 20
[ "$(count_colour "$WORK_DIR/shot.png" 463x463+89+9 '#606060')" -gt 10000 ] || fail "no grid"
press_key Escape
expect_exit_within 15
[ "$(md5sum data/model/Ship.mdata)" = "$before" ] || fail "the model file changed without S"
