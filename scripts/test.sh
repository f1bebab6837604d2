#!/usr/bin/env bash
# Sets everything up and runs every test, in stages: the whole suite headless,
# the same suite under the sanitizers, the static checks, the fuzzers, and the
# Windows build of the whole game with its tests under Wine, then its zip and
# installer. Each stage installs the Debian packages it needs that are
# missing, then runs its workflow of CMakePresets.json (configure, build,
# test), whose builds go through ccache.
#
# TANDREL_STAGES picks stages by name (default: all of them), for example
#   TANDREL_STAGES="linux windows" scripts/test.sh
set -uo pipefail
cd "$(dirname "$0")/.." || exit
source scripts/packages.sh
stages="${TANDREL_STAGES:-linux sanitize static fuzz windows}"
# As many compilers, and tests, at once as there are cores.
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
export CTEST_PARALLEL_LEVEL="${CTEST_PARALLEL_LEVEL:-$(nproc)}"

stage_packages() {
    case "$1" in
    linux | sanitize) echo "${QT_PACKAGES[*]} ${TEST_PACKAGES[*]}" ;;
    static) echo "${QT_PACKAGES[*]} ${STATIC_PACKAGES[*]}" ;;
    fuzz) echo "${FUZZ_PACKAGES[*]}" ;;
    windows) echo "${QT_PACKAGES[*]} ${WINDOWS_PACKAGES[*]}" ;;
    esac
}

# The Windows build needs Qt for Windows: it waits for the build started
# below, or finds the cache.
windows_qt() {
    local started=$SECONDS
    scripts/build-qt-windows.sh >/dev/null || return
    echo "Qt for Windows ready after $((SECONDS - started)) s"
}

run_stage() {
    local stage=$1 started=$SECONDS
    echo "==== $stage"
    # shellcheck disable=SC2046 # one package a word
    if scripts/deps.sh "${BUILD_PACKAGES[@]}" $(stage_packages "$stage") &&
        { [ "$stage" != windows ] || windows_qt; } &&
        cmake --workflow --preset "$stage"; then
        echo "==== $stage passed in $((SECONDS - started)) s"
        passed=$((passed + 1))
    else
        echo "==== $stage FAILED after $((SECONDS - started)) s"
        failed=$((failed + 1))
    fi
}

# Where no cache holds Qt for Windows, building it takes about half an hour.
# It starts at once, at the lowest priority, on what the other stages leave
# of the cores, and the Windows stage waits for it: the build holds a lock
# until it is done.
start_qt_for_windows() {
    [[ " $stages " == *" windows "* ]] || return 0
    scripts/deps.sh "${QT_WINDOWS_BUILD_PACKAGES[@]}" || return 0
    mkdir -p build
    echo "Qt for Windows: built beside the other stages unless cached; output in build/qt-windows.log"
    # A session of its own, so that it can be stopped with all its compilers.
    # Where the kernel shares the processor between sessions (autogroups),
    # nice counts only within one, so the new session's share is lowered too.
    # shellcheck disable=SC2016 # $0 is the inner shell's
    setsid bash -c 'echo 19 2>/dev/null >/proc/self/autogroup; exec nice -n 19 "$0"' \
        scripts/build-qt-windows.sh >build/qt-windows.log 2>&1 &
    qt_build=$!
}

# An interrupted run leaves no build of Qt behind.
stop_qt_for_windows() {
    [ -n "${qt_build:-}" ] && kill -0 "$qt_build" 2>/dev/null && kill -- "-$qt_build"
    return 0
}

passed=0
failed=0
trap stop_qt_for_windows EXIT
start_qt_for_windows
for stage in $stages; do
    run_stage "$stage"
done
echo "stages: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
