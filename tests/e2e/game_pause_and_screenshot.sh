# The real game pauses and resumes with P and saves a screenshot with F12: once the
# white "PAUSED" line shows, two screenshots a second apart are identical; after P
# they differ again; F12 writes a 640 x 480 PNG into the pictures
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

# pictures_differ A B: succeeds when the two screenshots differ, else says so.
pictures_differ() {
    local changed
    changed=$(compare -metric AE "$1" "$2" null: 2>&1 || true)
    [ "$changed" != 0 ] || { echo "the two pictures are the same"; return 1; }
}

# moving: two screenshots half a second apart differ.
moving() {
    screenshot "$WORK_DIR/moving1.png" && sleep 0.5 && screenshot "$WORK_DIR/moving2.png" &&
        pictures_differ "$WORK_DIR/moving1.png" "$WORK_DIR/moving2.png"
}

# saved_screenshot: sets SAVED to the first PNG in the pictures folder, which does not
# exist until the first screenshot makes it. The game renames a whole file into place.
saved_screenshot() {
    SAVED=$(find "$HOME/space-game" -name 'space-game-*.png' 2>/dev/null | head -n 1 || true)
    [ -n "$SAVED" ] || { echo "no picture; stderr: $(cat "$WORK_DIR/stderr")"; return 1; }
}

press_key p
screenshot_showing "$WORK_DIR/paused1.png" 160x8+240+236 '#FFFFFF' 100 # the PAUSED line
sleep 1
screenshot "$WORK_DIR/paused2.png"
changed=$(compare -metric AE "$WORK_DIR/paused1.png" "$WORK_DIR/paused2.png" null: 2>&1 || true)
[ "$changed" = 0 ] || fail "the paused picture changed in $changed pixels"

press_key p
wait_for 30 "the picture to move again after the resume" moving

press_key F12
wait_for 30 "a screenshot under $HOME/space-game" saved_screenshot
[ "$(identify -format '%wx%h' "$SAVED")" = 640x480 ] || fail "the screenshot is not 640x480"
wait_for 30 "the screenshot's path on standard output" file_line "$WORK_DIR/stdout" "$SAVED"

press_key Escape
expect_exit_within 15
