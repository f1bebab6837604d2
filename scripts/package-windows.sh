#!/usr/bin/env bash
# Makes the two files Windows players get, in build/windows-dist/:
#   corvanelle-tandrel-<version>-win64.zip   unzip anywhere, run tandrel.exe
#   corvanelle-tandrel-<version>-setup.exe   the installer
# CPack packs what the install rules install (packaging/windows/); Qt for
# Windows is built first when its cache is missing. The game is built in a
# Release tree of its own, or taken from the configured Windows build tree
# named by TANDREL_WINDOWS_GAME_TREE (the test stage's), not compiled twice.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${TANDREL_WINDOWS_GAME_TREE:-$root/build/windows-release}"
dist="$root/build/windows-dist"

"$root/scripts/deps.sh" cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 nsis
qt="$("$root/scripts/build-qt-windows.sh" | tail -n1)"
if [ -z "${TANDREL_WINDOWS_GAME_TREE:-}" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64-qt.cmake" \
        -DTANDREL_TESTS=OFF -DTANDREL_BENCH=OFF -DTANDREL_FUZZ=OFF >/dev/null
fi
cmake --build "$build" --target tandrel
(cd "$build" && cpack)
rm -rf "$dist"
mkdir -p "$dist"
cp "$build"/corvanelle-tandrel-*-win64.zip "$build"/corvanelle-tandrel-*-setup.exe "$dist/"
ls -l "$dist"
