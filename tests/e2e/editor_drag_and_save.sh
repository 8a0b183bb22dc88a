# The real editor under a mouse and keyboard: a drag moves the first vertex two cells
# right and two up, S saves it, and the saved file holds the new vertex, still
# loads in the editor (whose marker is back where it was dragged) and in the game.
# With SCREENSHOT_DIR set, the grid and the preview are kept there as PNG files.
set -euo pipefail
bin_dir=$(cd "$1" && pwd)
repo=$(pwd)
source "$(dirname "$0")/lib/window.sh"

committed=$(md5sum <data/model/Ship.mdata)
run_in_copy_of_data
export SDL_AUDIODRIVER=no-such-device # the game part needs no sound
model=data/model/Ship.mdata
# Line 0 of the committed ship ends at (-9, 11): cell (7, 27), pixel (194, 394).
[ "$(sed -n '6,7p' "$model" | tr -d '\r' | tr '\n' ' ')" = "-9  11 " ] || fail "unexpected ship: $(head -n 9 "$model")"

start_program "$bin_dir/editor" "Ship.mdata - Ship Editor"
screenshot_showing "$WORK_DIR/start.png" 11x11+189+389 '#FF0000' 60
drag_mouse 194 394 208 380 222 366
# The red marker follows to cell (9, 25), pixel (222, 366); none is left behind.
screenshot_showing "$WORK_DIR/grid.png" 11x11+217+361 '#FF0000' 60
[ "$(count_colour "$WORK_DIR/grid.png" 11x11+189+389 '#FF0000')" -eq 0 ] || fail "a red marker stayed behind"
xdotool mousemove --window "$WINDOW_ID" 600 470 # off the grid: no hovered box in the pictures
sleep 0.3
screenshot "$WORK_DIR/grid.png"

# first_vertex_is "X  Y ": line 0's end in the model file, as the file writes it.
first_vertex_is() {
    local vertex
    vertex=$(sed -n '6,7p' "$model" | tr -d '\r' | tr '\n' ' ')
    [ "$vertex" = "$1" ] || { echo "the file's first vertex is '$vertex'"; return 1; }
}

press_key s
wait_for 30 "S to save the new vertex" first_vertex_is "-7  9 "
[ "$(wc -l <"$model")" -eq 33 ] || fail "saved file has $(wc -l <"$model") lines, not 33"
[ "$(head -n 1 "$model")" = $' 3\r' ] || fail "count line is not ' 3' with CR LF"
# Sealed before saving: line 1 starts where line 0 now ends.
[ "$(sed -n '10,11p' "$model" | tr -d '\r' | tr '\n' ' ')" = "-7  9 " ] ||
    fail "line 1 does not start at the new vertex"

# preview_lit: a screenshot whose middle has more than 2000 pixels that are not black.
preview_lit() {
    local lit
    screenshot "$WORK_DIR/preview.png" || return 1
    lit=$(convert "$WORK_DIR/preview.png" -crop 200x200+220+140 +repage -fill white +opaque '#000000' \
        -fill black -opaque '#000000' -format '%[fx:round(mean*w*h)]' info:) || return 1
    [ "$lit" -gt 2000 ] || { echo "$lit lit pixels"; return 1; }
}

press_key g
wait_for 30 "the textured preview" preview_lit
press_key Escape
expect_exit_within 15
[ -z "$(cat "$WORK_DIR/stderr")" ] || fail "the editor complained: $(cat "$WORK_DIR/stderr")"

if [ -n "${SCREENSHOT_DIR:-}" ]; then
    mkdir -p "$repo/$SCREENSHOT_DIR"
    cp "$WORK_DIR/grid.png" "$repo/$SCREENSHOT_DIR/editor_grid.png"
    cp "$WORK_DIR/preview.png" "$repo/$SCREENSHOT_DIR/editor_preview.png"
fi

# The saved file loads again: the editor starts with line 0 selected at the new place.
start_program "$bin_dir/editor" "Ship.mdata - Ship Editor"
screenshot_showing "$WORK_DIR/again.png" 11x11+217+361 '#FF0000' 60
press_key Escape
expect_exit_within 15

# And the game flies it: it starts without "Could not load file!" and ends on Escape.
start_program "$bin_dir/game" "Space Game"
sleep 1
kill -0 "$PROGRAM_PID" || fail "the game ended with the edited ship"
press_key Escape
expect_exit_within 15
! grep -q "Could not load file!" "$WORK_DIR/stdout" || fail "the game could not load the edited ship"
[ "$(md5sum <"$repo/$model")" = "$committed" ] || fail "the repository's Ship.mdata changed"
