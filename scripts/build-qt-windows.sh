#!/usr/bin/env bash
# Builds Qt for Windows into the cache unless it is there, and prints its
# folder on the last line (scripts/build-qt-windows.cmake says how).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/deps.sh "${QT_WINDOWS_BUILD_PACKAGES[@]}" >&2
exec cmake -P scripts/build-qt-windows.cmake
