# The real editor ends at start-up with the run-time error message and its number
# as exit status: 2 "file not found" in LOAD without data/model/Ship.mdata, and 1
# "illegal function call" when no window can open. Nothing goes to standard output.
set -euo pipefail
bin_dir=$(cd "$1" && pwd)
repo=$(pwd)
source "$(dirname "$0")/lib/window.sh"

run_in_copy_of_data
rm data/model/Ship.mdata
status=0
timeout 30 "$bin_dir/editor" >"$DATA_COPY/out" 2>"$DATA_COPY/err" || status=$?
[ "$status" -eq 2 ] || fail "exit status $status without the model; stderr: $(cat "$DATA_COPY/err")"
[ "$(cat "$DATA_COPY/err")" = "$(printf '\nAborting due to runtime error 2 (file not found) in src/model::LOAD()')" ] ||
    fail "stderr without the model: $(cat -A "$DATA_COPY/err")"
[ ! -s "$DATA_COPY/out" ] || fail "standard output: $(cat "$DATA_COPY/out")"

cp "$repo/data/model/Ship.mdata" data/model/
status=0
DISPLAY= WAYLAND_DISPLAY= SDL_VIDEODRIVER=x11 timeout 30 "$bin_dir/editor" >"$DATA_COPY/out" 2>"$DATA_COPY/err" ||
    status=$?
[ "$status" -eq 1 ] || fail "exit status $status without a display; stderr: $(cat "$DATA_COPY/err")"
grep -qE '^Aborting due to runtime error 1 \(illegal function call\) at line [0-9]+ of src/editor::startEditor\(\)$' \
    "$DATA_COPY/err" || fail "stderr without a display: $(cat -A "$DATA_COPY/err")"
[ ! -s "$DATA_COPY/out" ] || fail "standard output: $(cat "$DATA_COPY/out")"
