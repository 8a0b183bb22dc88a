# Without data/model/Ship.mdata the real game says "Could not load file!" and flies
# on with an empty ship, until Escape ends it with status 0.
set -euo pipefail
bin_dir=$(cd "$1" && pwd) # absolute: the script changes folder
source "$(dirname "$0")/lib/window.sh"

game_dir=$(mktemp -d)
SCRATCH_DIRS+=("$game_dir")
cp -r data "$game_dir/"
rm "$game_dir/data/model/Ship.mdata"
cd "$game_dir"
export SDL_AUDIODRIVER=no-such-device
start_program "$bin_dir/game" "Space Game"
sleep 1
kill -0 "$PROGRAM_PID" || fail "the game ended without its ship model"
press_key Escape
expect_exit_within 15
grep -qx "Could not load file!" "$WORK_DIR/stdout" || fail "standard output was: $(cat "$WORK_DIR/stdout")"
