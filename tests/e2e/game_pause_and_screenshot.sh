# The real game pauses and resumes with P and saves a screenshot with F12: while
# paused two screenshots a second apart are identical and show the white "PAUSED"
# line; after P they differ again; F12 writes a 640 x 480 PNG into the pictures
# folder (here $HOME/space-game) and prints its path. Escape then ends the game.
set -euo pipefail
bin_dir=$1
source "$(dirname "$0")/lib/window.sh"

export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null
HOME=$(mktemp -d)
SCRATCH_DIRS+=("$HOME")
export HOME
unset XDG_PICTURES_DIR

start_program "$bin_dir/game" "Space Game"
screenshot_showing "$WORK_DIR/playing.png" 640x8+0+471 '#FFFF00' 100

press_key p
sleep 0.5
screenshot "$WORK_DIR/paused1.png"
sleep 1
screenshot "$WORK_DIR/paused2.png"
changed=$(compare -metric AE "$WORK_DIR/paused1.png" "$WORK_DIR/paused2.png" null: 2>&1 || true)
[ "$changed" = 0 ] || fail "the paused picture changed in $changed pixels"
[ "$(count_colour "$WORK_DIR/paused1.png" 160x8+240+236 '#FFFFFF')" -ge 100 ] || fail "no PAUSED line in the middle"

press_key p
sleep 0.5
screenshot "$WORK_DIR/moving1.png"
sleep 1
screenshot "$WORK_DIR/moving2.png"
changed=$(compare -metric AE "$WORK_DIR/moving1.png" "$WORK_DIR/moving2.png" null: 2>&1 || true)
[ "$changed" != 0 ] || fail "the picture stood still after the resume"

press_key F12
saved=
for _ in $(seq 100); do
    saved=$(find "$HOME/space-game" -name 'space-game-*.png' 2>/dev/null | head -n 1)
    [ -n "$saved" ] && break
    sleep 0.1
done
[ -n "$saved" ] || fail "F12 wrote no screenshot under $HOME/space-game; stderr: $(cat "$WORK_DIR/stderr")"
[ "$(identify -format '%wx%h' "$saved")" = 640x480 ] || fail "the screenshot is not 640x480"
grep -qxF "$saved" "$WORK_DIR/stdout" || fail "the path $saved was not printed; stdout: $(cat "$WORK_DIR/stdout")"

press_key Escape
expect_exit_within 15
