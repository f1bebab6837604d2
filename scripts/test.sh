#!/usr/bin/env bash
# Sets everything up and runs every test: installs the missing Debian
# packages, configures, builds and runs the suite under ctest.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/packages.sh"

"$root/scripts/deps.sh" "${BUILD_PACKAGES[@]}" "${QT_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

build="$root/build/test"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
