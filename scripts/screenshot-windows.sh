#!/usr/bin/env bash
# Makes docs/main-window-wine.png: the Windows build of the game, from its
# zip, under Wine on an Xvfb display, in the middle of a game (a name typed,
# the first boxes lighting). Builds what is missing (scripts/package-windows.sh).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
picture="$root/docs/main-window-wine.png"

"$root/scripts/deps.sh" wine64 fonts-wine xvfb xdotool unzip imagemagick
"$root/scripts/package-windows.sh" >/dev/null
zip_file="$(echo "$root"/build/windows-dist/*-win64.zip)"

# shellcheck source=packaging/windows/wine-session.sh
source "$root/packaging/windows/wine-session.sh"
start_wine_session
# With no window manager on the display, Wine draws the window frames itself,
# as Windows does.
in_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1

mkdir -p "$(unix_path 'C:\Games')"
unzip -q "$zip_file" -d "$(unix_path 'C:\Games')"
start_program "C:\\Games\\$(basename "$zip_file" .zip)\\tandrel.exe" /dev/null
window="$(xdotool search --onlyvisible --name "^$main_window_title\$" | head -n1)"
xdotool windowfocus --sync "$window"
# Amount has the focus; Time, then Name follow it. File > Go by its access keys.
xdotool key --delay 100 Tab Tab
xdotool type --delay 100 Ann
xdotool key --delay 200 alt+f g
sleep 1.5
import -window "$window" "$picture"
close_program
echo "Wrote $picture"
