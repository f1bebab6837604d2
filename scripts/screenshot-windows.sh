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
xdotool windowactivate --sync "$window" 2>/dev/null || true
sleep 1
# Everything above the form's client area (Wine's frame and the menu bar),
# read from the picture as the game test does, below the dark title bar.
title=20
below_title="$(import -window "$window" -crop "+0+$title" +repage -depth 8 ppm:- |
    python3 "$root/tests/app/windows_game_layout.py")"
top=$((title + below_title))
xdotool mousemove --window "$window" 132 $((242 + top)) click 1  # the name field
sleep 0.4
xdotool type --delay 100 Ann
# File > Go: a click on the menu bar's first title, then the item's access key.
xdotool mousemove --window "$window" 12 $((top - 9)) click 1
sleep 0.5
xdotool key g
sleep 2.2
import -window "$window" "$picture"
close_program
echo "Wrote $picture"
