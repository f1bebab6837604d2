#!/usr/bin/env bash
# Makes the two files Windows players get, in build/windows-dist/:
#   corvanelle-tandrel-<version>-win64.zip   unzip anywhere, run tandrel.exe
#   corvanelle-tandrel-<version>-setup.exe   the installer
# Qt for Windows is built first when its cache is missing; then the game in
# the `windows` build, whose install rules CPack packs (packaging/windows/).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/deps.sh "${BUILD_PACKAGES[@]}" "${QT_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}"
scripts/build-qt-windows.sh >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows --target tandrel
rm -rf build/windows-dist
cpack --preset windows
rm -rf build/windows-dist/_CPack_Packages
