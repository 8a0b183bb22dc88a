# With no display to open a window on, the game says why on one line and fails,
# rather than falling back to an invisible offscreen window and running unseen. The
# Wayland client library's own complaint about a missing runtime folder is not ours.
set -euo pipefail
bin_dir=$1
status=0
message=$(DISPLAY= WAYLAND_DISPLAY= SDL_AUDIODRIVER=no-such-device timeout 10 "$bin_dir/game" 2>&1 >/dev/null) ||
    status=$?
message=$(printf '%s\n' "$message" | grep -v '^error: XDG_RUNTIME_DIR' || true)
[ "$status" -ne 0 ] && [ "$status" -ne 124 ] || { echo "FAIL: exit status $status" >&2; exit 1; }
[ "$(printf '%s\n' "$message" | wc -l)" -eq 1 ] || { echo "FAIL: expected one line, got: $message" >&2; exit 1; }
printf '%s\n' "$message" | grep -q "^game: cannot open the 640 x 480 window: no display" ||
    { echo "FAIL: message does not say there is no display: $message" >&2; exit 1; }
