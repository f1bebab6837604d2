#!/usr/bin/env bash
# Makes the Windows zip and installer (scripts/package-windows.sh) and tries
# them as a player would, under Wine on an Xvfb display, in a fresh Wine prefix
# that sees none of this machine's other files (the Wine bench's prefix
# "package", whose launcher runs this script):
#   - the zip, unpacked into a new folder: tandrel.exe starts and closes, with
#     every DLL and plugin it loads from that folder;
#   - the installer, run silently: the files in Program Files, the Start-menu
#     shortcut starts the game, the uninstaller is registered; then the
#     registered uninstaller, run silently: everything gone but the score logs.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dist="$root/build/windows-dist"

"$root/scripts/deps.sh" wine64 fonts-wine xvfb xdotool unzip
"$root/scripts/package-windows.sh"
zip_file="$(echo "$dist"/*-win64.zip)"
setup_file="$(echo "$dist"/*-setup.exe)"
version="${setup_file##*/corvanelle-tandrel-}"
version="${version%-setup.exe}"

# shellcheck source=tests/wine/windows_program.sh
source "$root/tests/wine/windows_program.sh"
work="$WINEPREFIX/test"
mkdir -p "$work"

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# The files of a folder, one relative path a line.
file_list() {
    (cd "$1" && find . -type f | LC_ALL=C sort)
}

# Starts the game ($1, the C: path of a tandrel.exe), checks that
# its window shows and that it ends with exit code 0 when closed, and that
# every DLL it loaded that is not part of Wine came from the folder $2.
check_game_runs() {
    local program="$1" folder="$2" trace="$work/loaddll.log" status=0
    if ! WINEDEBUG=+loaddll start_program "$program" "$trace"; then
        fail "no window of $program within 60 s; the last DLLs Wine loaded for it:"
        tail -n 15 "$trace" >&2
    fi
    close_program || status=$?
    ((status == 0)) || fail "$program ended with exit code $status"
    local loaded
    loaded="$(sed -n 's/.*Loaded L"\(.*\)" at .*: native$/\1/p' "$trace" | sed 's/\\\\/\\/g')"
    echo "$loaded" | grep -qix "${folder//\\/\\\\}\\\\platforms\\\\qwindows.dll" ||
        fail "the windows platform plugin was not loaded from $folder"
    echo "$loaded" | grep -qix "${folder//\\/\\\\}\\\\styles\\\\qwindowsvistastyle.dll" ||
        fail "the Windows style was not loaded from $folder"
    local elsewhere
    elsewhere="$(echo "$loaded" | grep -viF "$folder\\" || true)"
    [ -z "$elsewhere" ] || fail "DLLs loaded from outside $folder: $elsewhere"
}

echo "== the zip, unpacked into a new folder"
zip_folder='C:\users\Public\Desktop\Tandrel from the zip'
mkdir -p "$(unix_path "$zip_folder")"
unzip -q "$zip_file" -d "$(unix_path "$zip_folder")"
unpacked="$zip_folder\\$(basename "$zip_file" .zip)"
check_game_runs "$unpacked\\tandrel.exe" "$unpacked"

echo "== the installer, run silently"
downloads='C:\users\Public\Downloads'
mkdir -p "$(unix_path "$downloads")"
cp "$setup_file" "$(unix_path "$downloads")/"
in_wine "$downloads\\$(basename "$setup_file")" /S || fail "installer failed"
installed='C:\Program Files\Corvanelle Tandrel'
[ -f "$(unix_path "$installed")/uninstall.exe" ] || fail "no uninstaller in $installed"
diff <(file_list "$(unix_path "$unpacked")") \
    <(file_list "$(unix_path "$installed")" | grep -vx './uninstall.exe') ||
    fail "the installer and the zip hold different files"
while read -r file; do
    cmp -s "$(unix_path "$unpacked")/$file" "$(unix_path "$installed")/$file" ||
        fail "installed $file differs from the zip's"
done < <(file_list "$(unix_path "$unpacked")")

key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\CorvanelleTandrel'
registered() {
    in_wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$1 *REG_SZ *//p"
}
[ "$(registered DisplayName)" = "Corvanelle Tandrel" ] || fail "DisplayName not registered"
[ "$(registered DisplayVersion)" = "$version" ] || fail "DisplayVersion is not $version"
uninstaller="$(registered UninstallString)"
[ "$uninstaller" = "\"$installed\\uninstall.exe\"" ] || fail "UninstallString is '$uninstaller'"

shortcut='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Corvanelle Tandrel.lnk'
[ -f "$(unix_path "$shortcut")" ] || fail "no Start-menu shortcut"
check_game_runs "$installed\\tandrel.exe" "$installed"
# The shortcut, opened by the Windows shell, starts the installed game.
in_wine start "$shortcut" </dev/null >/dev/null 2>&1
if wait_for_main_window; then
    in_wine taskkill /IM tandrel.exe >/dev/null 2>&1
    wait_until_closed || fail "the game started from its shortcut did not close"
else
    fail "the Start-menu shortcut did not start the game"
fi

echo "== the registered uninstaller, run silently"
# A player's scores, in the Windows folder and in the VirtualStore.
local_app_data="$(in_wine cmd /c 'echo %LOCALAPPDATA%' | tr -d '\r')"
logs=('C:\windows\trl.txt' "$local_app_data\VirtualStore\windows\trl.txt")
for log in "${logs[@]}"; do
    mkdir -p "$(dirname "$(unix_path "$log")")"
    printf '12/6/26    Ann    2 out of 3\r\n' >"$(unix_path "$log")"
done
uninstaller="${uninstaller//\"/}"
in_wine "$uninstaller" /S || fail "uninstaller failed"
# It runs on from a copy of itself, so that it can delete its own file: wait
# (two minutes at the most) until what it removes is gone.
uninstalled() {
    [ ! -e "$(unix_path "$installed")" ] && [ ! -e "$(unix_path "$shortcut")" ] &&
        ! in_wine reg query "$key" >/dev/null 2>&1
}
for _ in $(seq 240); do uninstalled && break; sleep 0.5; done
[ ! -e "$(unix_path "$installed")" ] || fail "left behind: $(ls -A "$(unix_path "$installed")")"
[ ! -e "$(unix_path "$shortcut")" ] || fail "the Start-menu shortcut is still there"
in_wine reg query "$key" >/dev/null 2>&1 && fail "the uninstaller is still registered"
for log in "${logs[@]}"; do
    [ "$(cat "$(unix_path "$log")" 2>/dev/null)" = $'12/6/26    Ann    2 out of 3\r' ] ||
        fail "the uninstaller changed or removed $log"
done

if ((failures > 0)); then
    echo "$failures Windows package check(s) failed" >&2
    exit 1
fi
echo "Windows zip and installer checks passed"
