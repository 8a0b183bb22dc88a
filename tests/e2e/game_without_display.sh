# With no display to open a window on, the game says why on one line and fails.
set -euo pipefail
bin_dir=$1
status=0
message=$(DISPLAY= WAYLAND_DISPLAY= SDL_VIDEODRIVER=x11 timeout 10 "$bin_dir/game" 2>&1 >/dev/null) || status=$?
[ "$status" -ne 0 ] && [ "$status" -ne 124 ] || { echo "FAIL: exit status $status" >&2; exit 1; }
[ "$(printf '%s\n' "$message" | wc -l)" -eq 1 ] || { echo "FAIL: expected one line, got: $message" >&2; exit 1; }
printf '%s\n' "$message" | grep -q "window" || { echo "FAIL: message does not mention the window: $message" >&2; exit 1; }
