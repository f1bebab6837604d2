#!/usr/bin/env bash
# Makes docs/main-window-wine.png: the Windows build of the game under Wine on
# an Xvfb display, in the middle of a game (a name typed, the first boxes
# lighting), with the window frame Wine draws itself. Builds what is missing;
# the picture is taken by the Windows build's test labelled "screenshot".
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/deps.sh "${BUILD_PACKAGES[@]}" "${QT_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}"
scripts/build-qt-windows.sh >/dev/null
cmake --workflow --preset windows-screenshot
echo "Wrote docs/main-window-wine.png"
