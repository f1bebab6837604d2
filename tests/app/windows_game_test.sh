#!/usr/bin/env bash
# One whole game of tandrel.exe under Wine, on a virtual X display with a
# window manager and Qt's windows platform plugin: real clicks on the menu
# and the boxes, a name typed with a letter outside ASCII, then File > Exit.
# Checks the bytes of the log line (code page 1252, Wine's default) and the
# exit code 0. Uses a Wine prefix of its own, removed afterwards.
#
#   windows_game_test.sh <tandrel.exe>
set -euo pipefail
exe="$(realpath "$1")"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d "${TMPDIR:-/tmp}/tandrel-game.XXXXXX")"
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export QT_QPA_PLATFORM=windows
# English (United States) in Wine, code page 1252; UTF-8 for xdotool's text.
export LC_ALL=C.UTF-8
unset QT_PLUGIN_PATH

pids=()
cleanup() {
    "$wineserver" -k 2>/dev/null || true
    "$wineserver" -w 2>/dev/null || true
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "windows_game_test.sh: $*" >&2
    import -window root "$work/screen.png" 2>/dev/null &&
        cp "$work/screen.png" "${TMPDIR:-/tmp}/tandrel-game-failure.png" &&
        echo "the screen at the failure: ${TMPDIR:-/tmp}/tandrel-game-failure.png" >&2
    exit 1
}

# A display of our own: Xvfb picks a free number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"
openbox >/dev/null 2>&1 &
pids+=($!)

timeout 300 "$wine" wineboot --init </dev/null >/dev/null 2>&1
# Every Windows machine has its fonts in the Windows directory; Debian's Wine
# does not look for those of fonts-wine elsewhere.
cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
log="$WINEPREFIX/drive_c/windows/trl.txt"

"$wine" "$exe" </dev/null >"$work/program.out" 2>&1 &
program=$!
window="$(timeout 60 xdotool search --sync --onlyvisible --name '^Corvanelle Tandrel$' | head -n1)" ||
    fail "the main window did not appear"
xdotool windowactivate --sync "$window" 2>/dev/null || true
sleep 1

# The window's client area starts with the menu bar, whose height depends on
# the font; the form's controls lie below it. The top of the BOX3 label's
# text, the first dark pixels in its column, gives the offset.
menu_height="$(import -window "$window" -depth 8 ppm:- | python3 "$here/windows_game_layout.py")" ||
    fail "no BOX3 label in the window font's 8-point face found in the window"
client_x() { echo "$1"; }
client_y() { echo $(($1 + menu_height)); }
click_at() {
    xdotool mousemove --window "$window" "$(client_x "$1")" "$(client_y "$2")" click 1
    sleep 0.4
}
# File > item: a click on the menu, then the item's access key.
file_menu() {
    xdotool windowactivate --sync "$window" 2>/dev/null || true
    xdotool mousemove --window "$window" 12 $((menu_height / 2)) click 1
    sleep 0.5
    xdotool key "$1"
    sleep 0.5
}

click_at 132 242  # the name field
xdotool type --delay 150 "Zoë"
file_menu g
# Three flashes, one every 2 s, then the answers: three clicks on box labels.
sleep 8
click_at 38 38   # BOX1
click_at 110 38  # BOX2
click_at 38 118  # BOX4
for _ in $(seq 50); do [ -s "$log" ] && break; sleep 0.2; done
[ -s "$log" ] || fail "the game wrote no line to the log"
sleep 1
file_menu x

status=0
timeout 30 tail --pid="$program" -f /dev/null || fail "the program did not end after File > Exit"
wait "$program" || status=$?
[ "$status" -eq 0 ] || fail "exit code $status"

# One line: the date in Wine's short date pattern (M/d/yyyy), the name in
# code page 1252 ("e" with diaeresis is byte 0xEB), the result.
python3 - "$log" <<'PY' || fail "unexpected log: $(od -c "$log" | head)"
import re, sys
data = open(sys.argv[1], "rb").read()
print("log line:", data)
sys.exit(0 if re.fullmatch(rb"\d{1,2}/\d{1,2}/\d{4}    Zo\xeb    [0-3] out of 3\r\n", data) else 1)
PY
