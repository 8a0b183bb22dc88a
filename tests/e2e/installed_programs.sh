# The programs installed into a prefix and started from /, as from a desktop menu:
# the game shows its window and ends on Escape; the editor, whose installed data
# folder is read-only, saves the edited ship to the user's data folder (and says so),
# leaving the installed ship alone; the game then flies the user's ship.
set -euo pipefail
bin_dir=$(cd "$1" && pwd)
source "$(dirname "$0")/lib/window.sh"

prefix=$(mktemp -d)
SCRATCH_DIRS+=("$prefix")
cmake --install "$bin_dir" --prefix "$prefix" >"$prefix/install.log" || fail "install: $(cat "$prefix/install.log")"
data="$prefix/share/space-game/data"
for file in bin/space-game bin/space-game-editor share/space-game/data/visual/ship2.png \
    share/icons/hicolor/256x256/apps/space-game.png share/doc/space-game/README.md; do
    [ -e "$prefix/$file" ] || fail "not installed: $file"
done
# Every picture the installed README shows is installed beside it.
doc="$prefix/share/doc/space-game"
for picture in $(grep -o '](docs/[^)]*)' "$doc/README.md" | sed 's/^](//; s/)$//'); do
    [ -f "$doc/$picture" ] || fail "the installed README shows $picture, which is not installed"
done
desktop-file-validate "$prefix"/share/applications/space-game.desktop \
    "$prefix"/share/applications/space-game-editor.desktop || fail "a desktop entry is not valid"
[ "$(identify -format '%wx%h' "$prefix/share/icons/hicolor/256x256/apps/space-game.png")" = 256x256 ] ||
    fail "the icon is not 256 x 256"
chmod -R a-w "$data"
shipped=$(md5sum <"$data/model/Ship.mdata")
own="$XDG_DATA_HOME/space-game/model/Ship.mdata"
export SDL_AUDIODRIVER=no-such-device
cd /

start_program "$prefix/bin/space-game" "Space Game"
screenshot_showing "$WORK_DIR/game.png" 640x8+0+471 '#FFFF00' 100
press_key Escape
expect_exit_within 15

saved_own_ship() {
    [ -f "$own" ] || { echo "no file; stderr: $(cat "$WORK_DIR/stderr")"; return 1; }
}

# Line 0 of the shipped ship ends at (-9, 11), cell (7, 27); drag it one cell up and right.
start_program "$prefix/bin/space-game-editor" "Ship.mdata - Ship Editor"
screenshot_showing "$WORK_DIR/start.png" 11x11+189+389 '#FF0000' 60
drag_mouse 194 394 208 380
press_key s
wait_for 30 "S to save $own" saved_own_ship
[ "$(sed -n '6,7p' "$own" | tr -d '\r' | tr '\n' ' ')" = "-8  10 " ] || fail "the saved ship: $(head -n 9 "$own")"
screenshot_showing "$WORK_DIR/saved.png" 640x8+0+472 '#FFFF00' 100 # "Saved to ..." under the grid
press_key Escape
expect_exit_within 15
[ "$(md5sum <"$data/model/Ship.mdata")" = "$shipped" ] || fail "the installed ship changed"

# With the shipped ship gone, a game that loaded it would say "Could not load file!".
chmod u+w "$data/model"
rm "$data/model/Ship.mdata"
start_program "$prefix/bin/space-game" "Space Game"
sleep 1
press_key Escape
expect_exit_within 15
! grep -q "Could not load file!" "$WORK_DIR/stdout" || fail "the game did not load the user's ship"
[ -z "$(grep -v '^error: XDG_RUNTIME_DIR' "$WORK_DIR/stderr" | grep -v 'playing without sound')" ] ||
    fail "the game complained: $(cat "$WORK_DIR/stderr")"
