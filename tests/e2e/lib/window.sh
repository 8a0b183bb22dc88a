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

# The script's own standard error: fail also reaches it from inside wait_for, which
# keeps what a polled command prints.
exec {FAIL_OUTPUT}>&2
fail() {
    echo "FAIL: $*" >&"$FAIL_OUTPUT"
    exit 1
}

# wait_for SECONDS WHAT COMMAND...: runs COMMAND until it succeeds, at most SECONDS
# by the clock (each try of a screenshot may itself take a while on a busy machine);
# on giving up, fails naming WHAT and what COMMAND printed last. COMMAND may fail
# while it waits: "not there yet" never ends the script. It runs in this shell, so a
# COMMAND that calls fail ends the script at once.
WAIT_LOG=$(mktemp)
SCRATCH_DIRS+=("$WAIT_LOG")
wait_for() {
    local limit=$1 what=$2
    shift 2
    local deadline=$((SECONDS + limit))
    until "$@" >"$WAIT_LOG" 2>&1; do
        [ "$SECONDS" -lt "$deadline" ] || fail "waited ${limit} s for $what; last seen: $(head -c 2000 "$WAIT_LOG")"
        sleep 0.1
    done
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
    wait_for 30 "a window titled '$title'" find_window "$title" "$binary"
}

# find_window TITLE BINARY: sets WINDOW_ID to the visible window with that title, or
# prints the windows there are; ends the script if the program has ended.
find_window() {
    WINDOW_ID=$(xdotool search --onlyvisible --name "^${1}\$" 2>/dev/null | head -n 1 || true)
    [ -n "$WINDOW_ID" ] && return 0
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "$2 ended before its window opened: $(cat "$WORK_DIR/stderr")"
    echo "windows: $(xdotool search --name . getwindowname %@ 2>&1 | head -n 5 | tr '\n' ';')" \
        "stderr: $(cat "$WORK_DIR/stderr")"
    return 1
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
# while to show its first frames); fails after 30 s.
screenshot_showing() {
    wait_for 30 "$4 pixels of $3 in $2" shows_colour "$@"
}

# shows_colour FILE GEOMETRY COLOUR MINIMUM: one screenshot into FILE; succeeds when
# it has at least MINIMUM pixels of COLOUR inside GEOMETRY, else prints the count.
shows_colour() {
    local count
    screenshot "$1" || return 1
    count=$(count_colour "$1" "$2" "$3") || return 1
    [ "$count" -ge "$4" ] || { echo "$count pixels"; return 1; }
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
    wait_for "$1" "the program to end" program_ended
    local status=0
    wait "$PROGRAM_PID" || status=$?
    PROGRAM_PID=
    [ "$status" -eq 0 ] || fail "exit status $status; stderr: $(cat "$WORK_DIR/stderr")"
}

program_ended() {
    ! kill -0 "$PROGRAM_PID" 2>/dev/null || { echo "still running"; return 1; }
}

# file_line FILE LINE: succeeds when FILE (a program's output, say) has LINE whole.
file_line() {
    grep -qxF "$2" "$1" 2>/dev/null || { echo "$(tail -n 3 "$1" 2>&1)"; return 1; }
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
