#!/usr/bin/env bash
# Runs a test program on a private Xvfb display managed by openbox, so that
# windows get a real frame, and removes both afterwards.
# Usage: run_under_openbox.sh <program> [arguments...]
set -uo pipefail

for tool in Xvfb openbox xprop xwininfo; do
    if ! command -v "$tool" >/dev/null; then
        echo "$tool is missing: install xvfb, openbox and x11-utils (scripts/test.sh does)"
        exit 1
    fi
done

server_pid=""
wm_pid=""
cleanup() {
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
    wait 2>/dev/null
}
trap cleanup EXIT

# Waits up to 30 s for a command to succeed.
wait_for() {
    for _ in $(seq 300); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

log="$(mktemp)"
number="$(mktemp)"
# Xvfb picks a free display itself and writes its number once it listens.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number" >"$log" 2>&1 &
server_pid=$!
has_number() { [ -s "$number" ]; }
if ! wait_for has_number; then
    echo "Xvfb did not start:"
    cat "$log"
    exit 1
fi
export DISPLAY=":$(head -n 1 "$number")"
rm -f "$number"

# openbox announces itself on the root window once it manages the screen.
# Now and then it fails to open a display that has only just started
# listening; it is then started again.
manages() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
for attempt in 1 2 3; do
    openbox >"$log" 2>&1 &
    wm_pid=$!
    for _ in $(seq 300); do
        manages && break
        kill -0 "$wm_pid" 2>/dev/null || break
        sleep 0.1
    done
    manages && break
    echo "openbox did not take the screen $DISPLAY (attempt $attempt):"
    cat "$log"
    kill "$wm_pid" 2>/dev/null
    wm_pid=""
done
[ -n "$wm_pid" ] || exit 1
rm -f "$log"

QT_QPA_PLATFORM=xcb "$@"
