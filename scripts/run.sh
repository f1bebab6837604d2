#!/usr/bin/env bash
# Sets everything up and starts the game: installs the missing Debian
# packages, configures, builds and runs the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/packages.sh"

"$root/scripts/deps.sh" "${BUILD_PACKAGES[@]}" "${QT_PACKAGES[@]}"

build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTANDREL_TESTS=OFF -DTANDREL_BENCH=OFF
cmake --build "$build" -j"$(nproc)" --target tandrel
exec "$build/app/tandrel"
