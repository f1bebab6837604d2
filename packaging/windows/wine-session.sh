# shellcheck shell=bash
# A throwaway Windows machine for the package test and the screenshot: a fresh
# 64-bit Wine prefix on its own Xvfb display. Sourced; the caller sets
# `set -euo pipefail`. start_wine_session sets WINEPREFIX and DISPLAY and
# removes both again when the calling script exits.

wine=/usr/lib/wine/wine64 # Debian's 64-bit loader and server, not on PATH
wineserver=/usr/lib/wine/wineserver64
main_window_title='Corvanelle Tandrel'

stop_wine_session() {
    "$wineserver" -k 2>/dev/null || true
    "$wineserver" -w 2>/dev/null || true
    [ -z "${xvfb_pid:-}" ] || kill "$xvfb_pid" 2>/dev/null || true
    [ -z "${WINEPREFIX:-}" ] || rm -rf "$WINEPREFIX"
}

start_xvfb() {
    local fifo display
    fifo="$(mktemp -u)"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    xvfb_pid=$!
    read -r -t 30 display <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$display"
}

# Like a Windows machine fresh from its installer: Windows' fonts in its Fonts
# folder (Wine does not look for Debian's fonts-wine by itself), and none of
# this machine's files in sight, as Wine's Z: drive would show all of them.
start_wine_session() {
    export WINEPREFIX WINEARCH=win64 WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=" # no .NET or HTML engine installers
    WINEPREFIX="$(mktemp -d "${TMPDIR:-/tmp}/tandrel-wine.XXXXXX")"
    # Nothing from this machine's environment tells Wine or Qt where to look.
    unset WINEPATH QT_PLUGIN_PATH QT_QPA_PLATFORM QT_QPA_PLATFORM_PLUGIN_PATH
    trap stop_wine_session EXIT
    trap 'exit 130' INT TERM
    start_xvfb
    timeout 300 "$wine" wineboot --init </dev/null >/dev/null 2>&1
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    rm "$WINEPREFIX/dosdevices/z:"
}

# Runs a Windows program (a C: path, or a command of Wine's) from drive C.
in_wine() {
    (cd "$WINEPREFIX/drive_c" && "$wine" "$@")
}

# The path under the prefix of a path on drive C.
unix_path() {
    local path="${1#[Cc]:\\}"
    echo "$WINEPREFIX/drive_c/${path//\\//}"
}

wait_for_main_window() {
    timeout 60 xdotool search --sync --onlyvisible --name "^$main_window_title\$" \
        >/dev/null 2>&1
}

wait_until_closed() {
    local waited
    for ((waited = 0; waited < 600; waited++)); do
        xdotool search --onlyvisible --name "^$main_window_title\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}

# Starts a Windows program (a C: path) and waits until its main window shows.
# Wine's trace of every DLL it loads goes to the file $2.
start_program() {
    (cd "$WINEPREFIX/drive_c" && WINEDEBUG=+loaddll exec "$wine" "$1") </dev/null \
        >/dev/null 2>"$2" &
    program_pid=$!
    wait_for_main_window
}

# Closes every window of tandrel.exe the way Windows asks a program to close
# (WM_CLOSE), and returns its exit code.
close_program() {
    local status=0
    in_wine taskkill /IM tandrel.exe >/dev/null 2>&1 || true
    timeout 60 tail --pid="$program_pid" -f /dev/null || kill "$program_pid" 2>/dev/null
    wait "$program_pid" || status=$?
    return "$status"
}
