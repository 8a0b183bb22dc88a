# Runs one end-to-end script on a private Xvfb server: with_xvfb.sh SCRIPT ARGS...
# The server chooses a display number it could take whole (-displayfd), so two servers
# never share one, and it is waited for at the end, so the next test never meets a
# server that is still shutting down on the number it is about to use. -noreset: by
# default the server resets whenever its last client leaves, and a program connecting
# during that reset is refused; with xdotool polling and SDL opening the display twice
# that happened to one program start in a few hundred.
set -euo pipefail

scratch=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp -noreset 3>"$scratch/display" 2>"$scratch/log" &
server=$!
stop_server() {
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
    rm -rf "$scratch"
}
trap stop_server EXIT

for _ in $(seq 300); do
    [ -s "$scratch/display" ] && break
    kill -0 "$server" 2>/dev/null || { echo "FAIL: Xvfb did not start: $(cat "$scratch/log")" >&2; exit 1; }
    sleep 0.1
done
[ -s "$scratch/display" ] || { echo "FAIL: Xvfb gave no display number within 30 s" >&2; exit 1; }

unset XAUTHORITY
DISPLAY=":$(head -n 1 "$scratch/display")" bash "$@"
