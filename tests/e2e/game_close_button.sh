# Pressing the window's close button ends the game with status 0, as Escape does.
set -euo pipefail
bin_dir=$1
source "$(dirname "$0")/lib/window.sh"

start_program "$bin_dir/game" "Space Game"
sleep 0.5
"$bin_dir/close_window" "$WINDOW_ID" || fail "could not send the close request"
expect_exit_within 15
