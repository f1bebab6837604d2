#!/usr/bin/env bash
# Builds the whole project a second time with AddressSanitizer and
# UndefinedBehaviorSanitizer (plus the standard library's bounds assertions)
# and runs the complete ctest suite under them. Any report fails the run.
# Usage: scripts/test-sanitize.sh [build-dir]   (default build/sanitize)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/packages.sh"
"$root/scripts/deps.sh" "${BUILD_PACKAGES[@]}" "${QT_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

build="${1:-$root/build/sanitize}"
jobs=2

# -O1 keeps the build and the run quick while the reports stay readable.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DCMAKE_CXX_FLAGS="-D_GLIBCXX_ASSERTIONS" \
    -DTANDREL_SANITIZE=ON -DTANDREL_BENCH=OFF -DTANDREL_WARNINGS_AS_ERRORS=ON
cmake --build "$build" -j"$jobs"

export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:print_stacktrace=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j"$jobs"
