#!/usr/bin/env bash
# Makes docs/main-window.png: the main window in the middle of a game (a name
# typed, a box lit, the Sequence field counting), drawn by the offscreen
# platform so that it can be made again on any machine. Builds what is missing.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/packages.sh"

"$root/scripts/deps.sh" "${BUILD_PACKAGES[@]}" "${QT_PACKAGES[@]}"

build="$root/build/screenshot"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTANDREL_TESTS=OFF -DTANDREL_BENCH=OFF >/dev/null
cmake --build "$build" --target main_window_screenshot -j"$(nproc)"

mkdir -p "$root/docs"
QT_QPA_PLATFORM=offscreen "$build/tools/screenshot/main_window_screenshot" "$root/docs/main-window.png"
echo "Wrote $root/docs/main-window.png"
