#!/usr/bin/env bash
# Sets everything up and runs every test: installs the missing Debian
# packages, configures, builds and runs the suite under ctest, then the same
# suite under the sanitizers, the static checks, the fuzzers and the Windows
# build of the whole game under Wine, then the Windows zip and installer
# under Wine.
#
# TANDREL_STAGES picks stages by name (default: all of them), for example
#   TANDREL_STAGES="linux windows" scripts/test.sh
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/packages.sh"
stages="${TANDREL_STAGES:-linux sanitize static fuzz windows}"

linux_tests() {
    "$root/scripts/deps.sh" "${BUILD_PACKAGES[@]}" "${QT_PACKAGES[@]}" "${TEST_PACKAGES[@]}" &&
        cmake -S "$root" -B "$root/build/test" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DTANDREL_WARNINGS_AS_ERRORS=ON &&
        cmake --build "$root/build/test" -j"$(nproc)" &&
        QT_QPA_PLATFORM=offscreen ctest --test-dir "$root/build/test" --output-on-failure \
            -j"$(nproc)"
}

run_stage() {
    local name=$1 started=$SECONDS
    shift
    echo "==== $name"
    if "$@"; then
        echo "==== $name passed in $((SECONDS - started)) s"
        passed=$((passed + 1))
    else
        echo "==== $name FAILED after $((SECONDS - started)) s"
        failed=$((failed + 1))
    fi
}

# Where no cache holds Qt for Windows, building it takes about half an hour.
# It starts at once, at the lowest priority, on what the other stages leave
# of the cores (the fuzzers use one, the window tests wait on timers), and
# the Windows stage waits for it: the build holds a lock until it is done.
start_qt_for_windows() {
    [[ " $stages " == *" windows "* ]] || return 0
    "$root/scripts/deps.sh" "${QT_WINDOWS_BUILD_PACKAGES[@]}" || return 0
    mkdir -p "$root/build"
    echo "Qt for Windows: built beside the other stages unless cached; output in build/qt-windows.log"
    # A session of its own, so that it can be stopped with all its compilers.
    # Where the kernel shares the processor between sessions (autogroups),
    # nice counts only within one, so the new session's share is lowered too.
    # shellcheck disable=SC2016 # $0 is the inner shell's
    setsid bash -c 'echo 19 2>/dev/null >/proc/self/autogroup; exec nice -n 19 "$0"' \
        "$root/scripts/build-qt-windows.sh" >"$root/build/qt-windows.log" 2>&1 &
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
    case "$stage" in
    linux) run_stage "Linux tests" linux_tests ;;
    sanitize) run_stage "Tests under the sanitizers" "$root/scripts/test-sanitize.sh" ;;
    static) run_stage "Static checks" "$root/scripts/check-static.sh" ;;
    fuzz) run_stage "Fuzzing" "$root/scripts/test-fuzz.sh" ;;
    windows)
        run_stage "Windows tests under Wine" \
            env TANDREL_WINDOWS_BUILD="$root/build/windows" "$root/scripts/test-windows.sh"
        run_stage "Windows zip and installer under Wine" \
            env TANDREL_WINDOWS_GAME_TREE="$root/build/windows/tandrel-qt" \
            "$root/scripts/test-windows-package.sh"
        ;;
    *)
        echo "Unknown stage: $stage"
        failed=$((failed + 1))
        ;;
    esac
done

echo "stages: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
