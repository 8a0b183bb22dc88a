# With no audio device the real game runs silently: its standard output carries the
# six wave files and six sound names it loads and nothing else, its standard error
# the one warning line, and Escape still ends it with status 0.
set -euo pipefail
bin_dir=$1
source "$(dirname "$0")/lib/window.sh"

export SDL_AUDIODRIVER=no-such-device
start_program "$bin_dir/game" "Space Game"
sleep 1
press_key Escape
expect_exit_within 15

expected="data/audio/effects/thrust.wav
data/audio/effects/asstroblast.wav
data/audio/effects/zap.wav
data/audio/effects/ping.wav
data/audio/effects/ping_return.wav
data/audio/effects/shield.wav
THRUST
EXPLODE
ZAP
PING
PING RETURN
SHIELD"
[ "$(cat "$WORK_DIR/stdout")" = "$expected" ] || fail "standard output was: $(cat "$WORK_DIR/stdout")"
grep -v '^error: XDG_RUNTIME_DIR' "$WORK_DIR/stderr" > "$WORK_DIR/warnings" || true
[ "$(wc -l < "$WORK_DIR/warnings")" -eq 1 ] && grep -q '^game: playing without sound: ' "$WORK_DIR/warnings" ||
    fail "standard error was: $(cat "$WORK_DIR/stderr")"
