# With no display to open a window on, the game says why on one line and fails,
# rather than falling back to an invisible offscreen window and running unseen. The
# Wayland client library's own complaint about a missing runtime folder is not ours.
# Nor does a failed start cost a file named with --record, and output that cannot be
# written (help into a full disk) is a failure.
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

# A game that cannot start costs no file: an existing demo is refused without --force
# and kept as it was with it, and a new one is not left behind empty.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
printf 'an older recording\n' >"$scratch/old.demo"
for force in "" --force; do
    DISPLAY= WAYLAND_DISPLAY= SDL_AUDIODRIVER=no-such-device timeout 10 "$bin_dir/game" --record "$scratch/old.demo" \
        $force >/dev/null 2>"$scratch/stderr" && { echo "FAIL: started without a display" >&2; exit 1; }
    [ "$(cat "$scratch/old.demo")" = "an older recording" ] ||
        { echo "FAIL: --record $force changed the existing file before the game started" >&2; exit 1; }
done
refusal=$(DISPLAY= WAYLAND_DISPLAY= SDL_AUDIODRIVER=no-such-device timeout 10 "$bin_dir/game" \
    --record "$scratch/old.demo" 2>&1 >/dev/null) && { echo "FAIL: started without a display" >&2; exit 1; }
[ "$refusal" = "game: cannot record: $scratch/old.demo: the file exists; --force replaces it" ] ||
    { echo "FAIL: an existing demo file was not refused by name: $refusal" >&2; exit 1; }
DISPLAY= WAYLAND_DISPLAY= SDL_AUDIODRIVER=no-such-device timeout 10 "$bin_dir/game" --record "$scratch/new.demo" \
    >/dev/null 2>&1 || true
[ ! -e "$scratch/new.demo" ] || { echo "FAIL: a game that did not start left $scratch/new.demo behind" >&2; exit 1; }

# Help or a version that cannot be written is a failure, said on standard error.
for option in --help --version; do
    status=0
    "$bin_dir/game" "$option" >/dev/full 2>"$scratch/stderr" || status=$?
    [ "$status" -eq 1 ] && grep -q "cannot write to standard output" "$scratch/stderr" ||
        { echo "FAIL: game $option into a full disk: status $status, stderr: $(cat "$scratch/stderr")" >&2; exit 1; }
done
