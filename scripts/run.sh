#!/usr/bin/env bash
# Sets everything up and starts the game: installs the missing Debian
# packages, then configures and builds the program (the release workflow of
# CMakePresets.json) and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/deps.sh "${BUILD_PACKAGES[@]}" "${QT_PACKAGES[@]}"
cmake --workflow --preset release
exec build/release/app/tandrel
