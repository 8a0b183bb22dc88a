# The programs installed into a prefix and started from /, as from a desktop menu:
# the game shows its window with its icon, saves F12's screenshot in the Pictures
# folder that the desktop's user-dirs.dirs names and says so in the window for a
# moment, and ends on Escape; the editor, whose installed data
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
    share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/space-game.png \
    share/doc/space-game/README.md; do
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

# The desktop names the Pictures folder in user-dirs.dirs, as xdg-user-dirs-update
# writes it; the game must find it there, not in the environment or the home folder.
pictures="$XDG_CONFIG_HOME/My \"Pictures\""
printf '# written by xdg-user-dirs-update\nXDG_PICTURES_DIR="%s"\n' "${pictures//\"/\\\"}" \
    >"$XDG_CONFIG_HOME/user-dirs.dirs"
unset XDG_PICTURES_DIR

# window_icon: the window carries a 64 x 64 icon for the desktop's task bar.
window_icon() {
    xprop -id "$WINDOW_ID" _NET_WM_ICON | grep -q "Icon (64 x 64)" || { xprop -id "$WINDOW_ID" _NET_WM_ICON | head -c 300; return 1; }
}

# saved_in_pictures: sets SAVED to the screenshot in the Pictures folder, once it is there.
saved_in_pictures() {
    SAVED=$(find "$pictures/space-game" -name 'space-game-*.png' 2>/dev/null | head -n 1 || true)
    [ -n "$SAVED" ] || { echo "no picture; stderr: $(cat "$WORK_DIR/stderr")"; return 1; }
}

# The notice shows for two seconds, and converting a capture of the window can take
# longer than that on a loaded machine: the window is captured as fast as it goes
# while the picture is saved and for three seconds after, and looked at afterwards.
CAPTURES=$(mktemp -d)
SCRATCH_DIRS+=("$CAPTURES")
SAVED_AT=
# capture_until_saved: one raw capture; succeeds once the picture is saved and three
# seconds of captures followed it.
capture_until_saved() {
    xwd -id "$WINDOW_ID" -silent >"$CAPTURES/$(date +%s%N).xwd" 2>/dev/null || true
    saved_in_pictures || return 1
    SAVED_AT=${SAVED_AT:-$SECONDS}
    [ $((SECONDS - SAVED_AT)) -ge 3 ] || { echo "capturing after the save"; return 1; }
}
# a_capture_shows_notice: "Screenshot saved: space-game-....png" in white on its dark
# strip at the top of one of the captures.
a_capture_shows_notice() {
    local capture
    for capture in "$CAPTURES"/*.xwd; do
        convert "xwd:$capture" "$WORK_DIR/notice.png" 2>/dev/null || continue
        [ "$(count_colour "$WORK_DIR/notice.png" 640x16+0+8 '#202040')" -lt 2000 ] || return 0
    done
    echo "none of $(ls "$CAPTURES" | wc -l) captures shows it"
    return 1
}

start_program "$prefix/bin/space-game" "Space Game"
screenshot_showing "$WORK_DIR/game.png" 640x8+0+471 '#FFFF00' 100
wait_for 10 "the window's icon" window_icon
press_key F12
wait_for 40 "a screenshot in $pictures/space-game" capture_until_saved
seen=$(a_capture_shows_notice) || fail "the window never showed the notice: $seen"
[ "$(count_colour "$SAVED" 640x16+0+8 '#202040')" -lt 100 ] || fail "the notice is in the screenshot $SAVED"
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
