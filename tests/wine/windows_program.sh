# shellcheck shell=bash
# Starting and closing tandrel.exe in a Wine prefix of the bench, on its
# display. Sourced by the scripts that try the game as a player would; they
# run through the bench's launcher (tests/wine/run.cmake), which sets
# WINEPREFIX, DISPLAY, WINELOADER and WINESERVER.

main_window_title='Corvanelle Tandrel'

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
