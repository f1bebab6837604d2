#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer and runs each for a bounded time (60 s, or
# FUZZ_SECONDS) from a copy of its checked-in seed corpus, so the repository is
# left as it was. Any crash, sanitizer report or mismatch fails the run; the
# input that caused it is kept in the build folder.
# Usage: scripts/test-fuzz.sh [build-dir]   (default build/fuzz)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/packages.sh"
"$root/scripts/deps.sh" "${BUILD_PACKAGES[@]}" clang libclang-rt-14-dev

build="${1:-$root/build/fuzz}"
seconds="${FUZZ_SECONDS:-60}"
targets=(fuzz_log_reader fuzz_spin_value fuzz_short_date)

CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DCMAKE_CXX_FLAGS="-D_GLIBCXX_ASSERTIONS" \
    -DTANDREL_FUZZ=ON -DTANDREL_SANITIZE=ON -DTANDREL_WARNINGS_AS_ERRORS=ON \
    -DTANDREL_UI=OFF -DTANDREL_TESTS=OFF -DTANDREL_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target "${targets[@]}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# A smaller quarantine keeps freed memory in use-after-free watch while
# sparing a page fault for most allocations; the log reader's scratch file
# goes to memory when /dev/shm is there.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:quarantine_size_mb=16"
[ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"

status=0
for target in "${targets[@]}"; do
    corpus="$work/$target"
    mkdir -p "$corpus"
    seeds="$root/fuzz/corpus/${target#fuzz_}"
    [ -d "$seeds" ] && cp -r "$seeds/." "$corpus/"
    log="$build/$target.log"
    echo "== $target: ${seconds}s from $(find "$corpus" -type f | wc -l) seeds"
    if "$build/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build/$target-" "$corpus" >"$log" 2>&1; then
        execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "$target: ${execs:-?} executions, no finding"
    else
        tail -n 40 "$log"
        echo "$target: FAILED (input kept as $build/$target-*, log in $log)"
        status=1
    fi
done
exit $status
