# Helpers for the end-to-end tests: start a real program on the private X server that
# with_xvfb.sh provides, find its window, look at it, and drive it with xdotool.

# In a sanitizer build the desktop libraries under SDL (the X client, the desktop
# bus, unloaded drivers) leak a few blocks at exit that we cannot free. Leaks in our
# own code are caught by the headless tests, which keep leak detection on.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# Folders to remove and the program to stop when the script ends, however it ends.
# A test may have made a folder read-only; it is made writable again to be removed.
SCRATCH_DIRS=()
PROGRAM_PID=
clean_up() {
    [ -z "$PROGRAM_PID" ] || kill "$PROGRAM_PID" 2>/dev/null || true
    [ ${#SCRATCH_DIRS[@]} -eq 0 ] || { chmod -R u+w "${SCRATCH_DIRS[@]}" 2>/dev/null; rm -rf "${SCRATCH_DIRS[@]}"; }
}
trap clean_up EXIT

# The user's own files (an edited ship beside an installed game, the settings) are
# the test's own, never the real home folder's.
XDG_DATA_HOME=$(mktemp -d)
SCRATCH_DIRS+=("$XDG_DATA_HOME")
export XDG_DATA_HOME
XDG_CONFIG_HOME=$(mktemp -d)
SCRATCH_DIRS+=("$XDG_CONFIG_HOME")
export XDG_CONFIG_HOME

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# start_program BINARY TITLE [ARGUMENT...]: runs the program from the repository root
# and waits up to 30 s for its window (sanitizer builds on a busy machine start
# slowly); sets PROGRAM_PID and WINDOW_ID.
start_program() {
    local binary=$1 title=$2
    shift 2
    WORK_DIR=$(mktemp -d)
    SCRATCH_DIRS+=("$WORK_DIR")
    "$binary" "$@" >"$WORK_DIR/stdout" 2>"$WORK_DIR/stderr" &
    PROGRAM_PID=$!
    WINDOW_ID=
    for _ in $(seq 300); do
        WINDOW_ID=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1 || true)
        [ -n "$WINDOW_ID" ] && break
        kill -0 "$PROGRAM_PID" 2>/dev/null || fail "$binary ended before its window opened: $(cat "$WORK_DIR/stderr")"
        sleep 0.1
    done
    [ -n "$WINDOW_ID" ] || fail "no window titled '$title' appeared within 30 s; windows: \
$(xdotool search --name . getwindowname %@ 2>&1 | head -n 5); stderr: $(cat "$WORK_DIR/stderr")"
}

# expect_framebuffer_sized_window: the window first opens at 640 x 480, one window
# pixel per framebuffer pixel.
expect_framebuffer_sized_window() {
    xdotool getwindowgeometry "$WINDOW_ID" | grep -q "Geometry: 640x480" || fail "window is not 640x480"
}

# screenshot FILE: the window's contents as a PNG.
screenshot() {
    xwd -id "$WINDOW_ID" -silent | convert xwd:- "$1"
}

# screenshot_showing FILE GEOMETRY COLOUR MINIMUM: takes screenshots until at least
# MINIMUM pixels of COLOUR lie inside GEOMETRY (a loaded sanitizer build may take a
# while to show its first frames); fails after 20 s.
screenshot_showing() {
    local file=$1 geometry=$2 colour=$3 minimum=$4
    for _ in $(seq 40); do
        screenshot "$file"
        [ "$(count_colour "$file" "$geometry" "$colour")" -ge "$minimum" ] && return 0
        sleep 0.5
    done
    fail "fewer than $minimum pixels of $colour in $geometry after 20 s"
}

# count_colour FILE GEOMETRY COLOUR: pixels of exactly COLOUR inside GEOMETRY (WxH+X+Y).
count_colour() {
    convert "$1" -crop "$2" +repage -fill black +opaque "$3" -fill white -opaque "$3" \
        -format '%[fx:round(mean*w*h)]' info:
}

press_key() {
    xdotool windowfocus --sync "$WINDOW_ID" 2>/dev/null || xdotool windowfocus "$WINDOW_ID"
    xdotool key "$1"
}

# expect_exit_within SECONDS: the program must end with status 0 in time.
expect_exit_within() {
    local limit=$1
    for _ in $(seq $((limit * 10))); do
        if ! kill -0 "$PROGRAM_PID" 2>/dev/null; then
            local status=0
            wait "$PROGRAM_PID" || status=$?
            [ "$status" -eq 0 ] || fail "exit status $status; stderr: $(cat "$WORK_DIR/stderr")"
            return 0
        fi
        sleep 0.1
    done
    fail "still running ${limit} s later"
}

# drag_mouse X1 Y1 X2 Y2...: presses the left button over framebuffer pixel (X1, Y1)
# of the window, moves through every further point with the button held, and lets
# go at the last one. Each stop lasts long enough for a slow build to see a frame.
drag_mouse() {
    xdotool mousemove --window "$WINDOW_ID" "$1" "$2"
    sleep 0.5
    xdotool mousedown 1
    sleep 0.5
    shift 2
    while [ $# -ge 2 ]; do
        xdotool mousemove --window "$WINDOW_ID" "$1" "$2"
        sleep 0.5
        shift 2
    done
    xdotool mouseup 1
    sleep 0.3
}

# run_in_copy_of_data: makes a scratch copy of data/ the working directory, so a
# program that writes its files never changes the repository's; sets DATA_COPY.
run_in_copy_of_data() {
    DATA_COPY=$(mktemp -d)
    SCRATCH_DIRS+=("$DATA_COPY")
    cp -r data "$DATA_COPY/"
    cd "$DATA_COPY"
}
