#!/usr/bin/env bash
# One whole game of tandrel.exe under Wine, on a virtual X display with a
# window manager and Qt's windows platform plugin: real clicks on the menu
# and the boxes, a name typed with a letter outside ASCII, then File > Exit.
# Checks the bytes of the log line (code page 1252, Wine's default) and the
# exit code 0. Runs through the Wine bench's launcher (tests/wine/run.cmake),
# which sets WINEPREFIX, DISPLAY, WINELOADER and WINESERVER, in a prefix of
# its own.
#
# With --picture, plays only the start of a game (a name typed, the first
# boxes lighting) and saves the window as that picture instead: the README's
# picture of the game under Wine, taken where Wine draws the window frames.
#
#   windows_game_test.sh [--picture <file.png>] <tandrel.exe>
set -euo pipefail
picture=""
if [ "$1" = --picture ]; then
    picture="$2"
    shift 2
fi
exe="$(realpath "$1")"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d "${TMPDIR:-/tmp}/tandrel-game.XXXXXX")"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=windows
unset QT_PLUGIN_PATH
main_window_title='Corvanelle Tandrel'

fail() {
    echo "windows_game_test.sh: $*" >&2
    import -window root "$work/screen.png" 2>/dev/null &&
        cp "$work/screen.png" "${TMPDIR:-/tmp}/tandrel-game-failure.png" &&
        echo "the screen at the failure: ${TMPDIR:-/tmp}/tandrel-game-failure.png" >&2
    exit 1
}

# Runs a Windows program (a C: path, or a command of Wine's) from drive C.
in_wine() {
    (cd "$WINEPREFIX/drive_c" && "$WINELOADER" "$@")
}

# Runs a command ten times a second until it succeeds, for up to a minute.
poll() {
    local tries
    for ((tries = 0; tries < 600; tries++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# Puts the game's main window, if it shows, into `window`. (xdotool's search
# fails now and then, when a window goes away while it looks: Wine makes and
# ends a few as a program starts.)
find_main_window() {
    window="$(xdotool search --onlyvisible --name "^$main_window_title\$" 2>/dev/null | head -n1)"
    [ -n "$window" ]
}

# Waits up to a minute for the game's main window and puts it in `window`.
wait_for_main_window() {
    poll find_main_window || return 1
    xdotool windowactivate --sync "$window" 2>/dev/null || true
}

# Starts a Windows program ($1, a C: or Linux path) with its output in the
# file $2, and waits until its main window shows.
start_program() {
    (cd "$WINEPREFIX/drive_c" && exec "$WINELOADER" "$1") </dev/null >"$2" 2>&1 &
    program_pid=$!
    wait_for_main_window
}

# Waits up to a minute for the program started last to end; returns its
# exit code.
wait_for_program() {
    local status=0
    timeout 60 tail --pid="$program_pid" -f /dev/null || kill "$program_pid" 2>/dev/null
    wait "$program_pid" || status=$?
    return "$status"
}

# Closes every window of tandrel.exe the way Windows asks a program to close
# (WM_CLOSE), and returns its exit code.
close_program() {
    in_wine taskkill /IM tandrel.exe >/dev/null 2>&1 || true
    wait_for_program
}

# The keyboard has "ë" on a key of its own (AltGr+e): xdotool need not map a
# spare key for it while Wine, on a busy machine, is slow to see the change.
setxkbmap -layout us -variant altgr-weur
log="$WINEPREFIX/drive_c/windows/trl.txt"
start_program "$exe" "$work/program.out" || fail "the main window did not appear"
sleep 1

# The window's client area starts with the menu bar, whose height depends on
# the font; the form's controls lie below it. The top of the BOX3 label's
# text, the first dark pixels in its column, gives the offset. Where Wine
# draws the frame, its title bar takes the window's first 20 rows.
title=0
[ -z "$picture" ] || title=20
menu_height="$(import -window "$window" -crop "+0+$title" +repage -depth 8 ppm:- |
    python3 "$here/windows_game_layout.py")" ||
    fail "no BOX3 label in the window font's 8-point face found in the window"
top=$((title + menu_height))
click_at() {
    xdotool mousemove --window "$window" "$1" $(($2 + top)) click 1
    sleep 0.4
}
# File > item: a click on the menu, then the item's access key.
file_menu() {
    xdotool windowactivate --sync "$window" 2>/dev/null || true
    xdotool mousemove --window "$window" 12 $((top - menu_height / 2)) click 1
    sleep 0.5
    xdotool key "$1"
    sleep 0.5
}

click_at 132 242 # the name field
if [ -n "$picture" ]; then
    xdotool type --delay 100 Ann
    file_menu g
    sleep 1.7
    import -window "$window" "$picture"
    close_program
    echo "Wrote $picture"
    exit 0
fi
xdotool type --delay 150 "Zoë"
file_menu g
# Three flashes, one every 2 s, then the answers: three clicks on box labels.
sleep 8
click_at 38 38  # BOX1
click_at 110 38 # BOX2
click_at 38 118 # BOX4
for _ in $(seq 50); do [ -s "$log" ] && break; sleep 0.2; done
[ -s "$log" ] || fail "the game wrote no line to the log"
sleep 1
file_menu x
status=0
wait_for_program || status=$?
[ "$status" -eq 0 ] || fail "exit code $status after File > Exit (143: it did not end in a minute)"

# One line: the date in Wine's short date pattern (M/d/yyyy), the name in
# code page 1252 ("e" with diaeresis is byte 0xEB), the result.
python3 - "$log" <<'PY' || fail "unexpected log: $(od -c "$log" | head)"
import re, sys
data = open(sys.argv[1], "rb").read()
print("log line:", data)
sys.exit(0 if re.fullmatch(rb"\d{1,2}/\d{1,2}/\d{4}    Zo\xeb    [0-3] out of 3\r\n", data) else 1)
PY
