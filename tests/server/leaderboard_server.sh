#!/bin/bash
# The leaderboard server as a process on 127.0.0.1 with a real SQLite file: a forged
# run rejected by its replay with the reason, the golden challenge run verified and
# ranked by its own, the same inputs under another name given the same run, hostile
# requests refused with their reasons (one table), the run deleted with its token,
# a stop by SIGTERM, a server without workers holding an address to ten waiting
# runs, and a server too busy to take a run. Run from the repository root:
# leaderboard_server.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
source tests/e2e/lib/window.sh # fail, wait_for, scratch folders; no display is used

golden=tests/data/demos/challenge_2026_12_01.demo
work=$(mktemp -d)
SCRATCH_DIRS+=("$work")

# start_server [OPTION...]: the server on the test's database, its day set to the day
# after the golden run's, which is long past: the run is then yesterday's, which the
# server still takes. stop_server: SIGTERM, which must end it well.
start_server() {
    rm -f "$work/stdout" # a stopped server's line must not be taken for this one's
    SPACE_GAME_SERVER_TODAY=2026-12-02 "$build/server" --listen 127.0.0.1:0 --database "sqlite:$work/runs.sqlite" \
        "$@" >"$work/stdout" 2>"$work/stderr" &
    PROGRAM_PID=$!
    wait_for 30 "the server to say where it listens" listening
    base=$(listening)
}
listening() { grep -o 'http://127\.0\.0\.1:[0-9]*/' "$work/stdout"; }
stop_server() {
    kill -TERM "$PROGRAM_PID"
    wait_for 30 "the server to stop on SIGTERM" stopped
    wait "$PROGRAM_PID" || fail "the server's exit status after SIGTERM: $?; $(cat "$work/stderr")"
    PROGRAM_PID=
}
stopped() { ! kill -0 "$PROGRAM_PID" 2>/dev/null; }
start_server

# request METHOD PATH [CURL-ARGUMENT...]: sets STATUS and BODY.
request() {
    local method=$1 path=$2
    shift 2
    STATUS=$(curl -sS -o "$work/body" -w '%{http_code}' -X "$method" "$@" "$base$path") || fail "$method $path: no answer"
    BODY=$(tr -d '\000' <"$work/body") # a demo's bytes are compared as a file
}
# submit NAME FILE [CURL-ARGUMENT...]: POSTs the file as a run.
submit() {
    local name=$1 file=$2
    shift 2
    request POST "api/runs?name=$name" --data-binary "@$file" -H "Content-Type: application/octet-stream" "$@"
}
field() { jq -r "$1" <<<"$BODY"; }
expect() { # expect STATUS WHAT
    [ "$STATUS" = "$1" ] || fail "$2: status $STATUS, not $1: $BODY"
}
run_is() { # run_is ID STATUS: for wait_for
    request GET "api/runs/$1"
    [ "$(field .status)" = "$2" ] || { echo "$BODY"; return 1; }
}

# A demo with one byte changed: copy_with FILE OFFSET-FROM-END BYTE-IN-OCTAL.
size=$(stat -c %s "$golden")
copy_with() {
    cp "$golden" "$1"
    printf "\\$3" | dd of="$1" bs=1 seek=$((size - $2)) conv=notrunc status=none
}
# The end record is the last 33 bytes: 'E', frames, score, ... and the picture's hash;
# the last frame's 1/60 s step is the 8 bytes before it.
copy_with "$work/forged.demo" 27 177     # the claimed score: 1775 + 0x7900
copy_with "$work/wrong_step.demo" 41 001 # the last step's lowest bit

request GET api/info
expect 200 "the server's info"
[ "$(field .day)" = 2026-12-02 ] || fail "the server's day: $BODY"

# A forged end is judged by the replay, never believed: rejected, with the reason.
submit forger "$work/forged.demo"
expect 202 "the forged run"
forged=$(field .id)
wait_for 180 "the forged run to be judged" run_is "$forged" rejected
grep -q "NOT as recorded" <<<"$(field .reason)" || fail "the forged run's reason: $BODY"
[ "$(field .score)" = null ] || fail "a rejected run has a score: $BODY"

# The true run, under a name that HTML would take for markup: a rejected run with the
# same inputs blocks nobody.
submit '%3Cb%3E%26%22x' "$golden"
expect 202 "the golden run"
id=$(field .id)
token=$(field .delete_token)
[ "$id" != "$forged" ] && [ -n "$token" ] || fail "the golden run's answer: $BODY"
wait_for 180 "the golden run to be verified" run_is "$id" verified
[ "$(field .score) $(field .level) $(field .rank)" = "1775 1 1" ] || fail "the verified run: $BODY"

request GET api/boards/2026-12-01
expect 200 "the day's board"
[ "$(field '.runs | length') $(field '.runs[0].id') $(field '.runs[0].name') $(field '.runs[0].score')" = \
  "1 $id <b>&\"x 1775" ] || fail "the board: $BODY"
request GET boards/2026-12-01
grep -qF '&lt;b&gt;&amp;&quot;x' <<<"$BODY" && ! grep -qF '<b>' <<<"$BODY" || fail "the name unescaped: $BODY"
grep -qF "href=\"/game.html?run=$id\">watch" <<<"$BODY" || fail "no watch link: $BODY"
request GET ""
grep -qF "No run has been verified for 2026-12-02 yet" <<<"$BODY" || fail "today's empty board: $BODY"
grep -qF 'href="/boards/2026-12-01"' <<<"$BODY" || fail "no link to the day before: $BODY"

# The same inputs again, under another name or with a forged end: the first run.
for file in "$golden" "$work/forged.demo"; do
    submit second "$file"
    expect 200 "the same inputs sent again ($file)"
    [ "$(field .id) $(field .status)" = "$id verified" ] || fail "the same inputs sent again: $BODY"
done
request GET "api/runs/$id/demo"
expect 200 "the run's demo"
cmp -s "$work/body" "$golden" || fail "the demo served is not the one sent"

# Hostile submissions, refused before they are stored: STATUS, REASON, NAME, BODY.
head -c $((1024 * 1024 + 1)) /dev/zero >"$work/oversize"
head -c 5000 "$golden" >"$work/cut.demo"
echo "not a demo at all" >"$work/garbage"
runner_demo() { # runner_demo DAY FILE [STEPS]: a random run of the day's challenge
    SPACE_GAME_CHALLENGE_STEPS=${3:-10800} "$build/runner" --challenge "$1" --random --seed 3 --record "$2" >/dev/null
}
runner_demo 2026-11-30 "$work/past.demo"
runner_demo 2026-12-03 "$work/future.demo"
runner_demo 2026-12-02 "$work/shortened.demo" 60
while IFS='|' read -r status reason name file; do
    submit "$name" "$file"
    [ "$STATUS" = "$status" ] && grep -qF "$reason" <<<"$(field .error)" ||
        fail "$file as '$name': $STATUS $BODY, not $status '$reason'"
done <<EOF_ROWS
413|at most 1 MiB|big|$work/oversize
400|1 to 16 characters||$golden
400|1 to 16 characters|seventeen-letters|$golden
400|printable ASCII|tab%09name|$golden
400|not only spaces|%20%20|$golden
400|not a demo|garbage|$work/garbage
422|cut short|cut|$work/cut.demo
422|step 10800 is not exactly 1/60 s|step|$work/wrong_step.demo
422|the run is 2026-11-30's|past|$work/past.demo
422|the run is 2026-12-03's|future|$work/future.demo
422|shortened test run|short|$work/shortened.demo
EOF_ROWS
request GET api/runs/999999
expect 404 "an unknown run"

# Only the submitter's token removes the run.
request DELETE "api/runs/$id?token=not-the-token"
expect 403 "a delete with the wrong token"
request DELETE "api/runs/$id?token=$token"
expect 200 "a delete with the token"
request GET "api/runs/$id"
expect 404 "a deleted run"

# A flood from one address is refused within the minute, whatever X-Forwarded-For
# says when no proxy is trusted.
for _ in $(seq 31); do submit flood "$work/garbage"; done
expect 429 "the 31st run within a minute"
grep -qF "more than 30 runs a minute" <<<"$BODY" || fail "the flood's reason: $BODY"
submit flood "$work/garbage" -H "X-Forwarded-For: 192.0.2.7"
expect 429 "a flood claiming another address"

# Ten runs of one address waiting for their replay are as many as it may have. A
# process without workers leaves the runs waiting (a replay takes a fraction of a
# second, so a verifying server could judge one between two requests).
stop_server
start_server --workers 0
runner_demo 2026-12-02 "$work/today.demo"
for _ in $(seq 10); do
    submit queued "$work/today.demo"
    expect 202 "a run while fewer than ten of the address wait"
    last_id=$(field .id)
done
submit queued "$work/today.demo"
expect 429 "an eleventh run waiting"
grep -qF "10 runs from one address are waiting" <<<"$BODY" || fail "the queue's reason: $BODY"

# A server with more waiting than it can replay in its queue's time (none, here) asks
# the client to come back later, and keeps nothing of the run.
stop_server
SPACE_GAME_SERVER_QUEUE_SECONDS=0 start_server
submit busy "$work/today.demo" -D "$work/headers"
expect 503 "a run while the queue is full"
grep -qF "more runs are waiting than this server can replay" <<<"$(field .error)" || fail "the busy reason: $BODY"
grep -qiE '^Retry-After: [1-9][0-9]*' "$work/headers" || fail "no Retry-After: $(cat "$work/headers")"
request GET "api/runs/$((last_id + 1))"
expect 404 "the refused run, looked for"
echo "leaderboard server: every check held"
