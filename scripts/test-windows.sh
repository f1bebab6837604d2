#!/usr/bin/env bash
# Cross-builds the whole program with its tests for 64-bit Windows
# (MinGW-w64, against Qt for Windows built by build-qt-windows.sh, which it
# builds first when its cache is missing) and runs the tests under Wine, in
# fresh Wine prefixes that are removed afterwards: the engine, log, window and
# application suites with Qt's offscreen platform, and tests that start
# tandrel.exe on a virtual display of their own. Reads no input and opens no
# window on the caller's display.
#
# Wine keeps the regional settings in the prefix's registry, and every Wine
# program rewrites them for its own locale as it starts. That includes the
# services a prefix starts when a program first needs them (the RPC server,
# for one), which have the locale the prefix booted in. So the tests labelled
# "german" run in a second prefix, booted in German, after the others.
#
# Build trees go to build-windows/ (TANDREL_WINDOWS_BUILD overrides it);
# GoogleTest is built for the target once and kept there.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${TANDREL_WINDOWS_BUILD:-$root/build-windows}"
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
jobs="$(nproc)"
started=$SECONDS

"$root/scripts/deps.sh" cmake ninja-build googletest g++-mingw-w64-x86-64-posix wine64 \
    fonts-wine xvfb openbox xdotool imagemagick python3

# Debian's 64-bit Wine loader and server, which are not on PATH.
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64

# Builds GoogleTest from Debian's sources into $build/googletest, again only
# when the sources or the options have changed since the last build.
build_googletest() {
    local prefix="$build/googletest" stamp="$build/googletest/built-from"
    local options=(-DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON)
    local built_from
    built_from="$(dpkg-query -W -f='${Version}' googletest) ${options[*]}"
    if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$built_from" ]; then
        return
    fi
    rm -rf "$build/googletest-build" "$prefix"
    cmake -S /usr/src/googletest -B "$build/googletest-build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}"
    cmake --build "$build/googletest-build" -j"$jobs"
    cmake --install "$build/googletest-build" >/dev/null
    echo "$built_from" >"$stamp"
}

# Boots prefix $1 in locale $2: a Wine server that lives until cleanup, and
# the prefix's background services started from a process whose output goes
# nowhere. Otherwise every test would start them afresh, and they would hold
# ctest's output pipe open until the server's idle timeout, several seconds
# per test.
boot_wine_prefix() {
    # Wine reads the locale's name; bash warns when glibc lacks the locale.
    export WINEPREFIX="$1" LC_ALL="$2" 2>/dev/null
    "$wineserver" -p </dev/null >/dev/null 2>&1
    timeout 300 "$wine" wineboot --init </dev/null >/dev/null 2>&1
    # Every Windows machine has its fonts ("MS Sans Serif" among them) in the
    # Windows directory; Debian's Wine does not look for fonts-wine elsewhere.
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
}

# A Windows path list, as WINEPATH takes it, of Linux folders (drive Z: is /).
windows_path_list() {
    local folder list=""
    for folder in "$@"; do
        list+="${list:+;}Z:${folder//\//\\}"
    done
    echo "$list"
}

# Waits for boots still under way first, so that no server can outlive its
# prefix.
stop_wine_prefixes() {
    local status=$?
    [ "$status" -eq 0 ] || echo "Windows tests failed after $((SECONDS - started)) s" >&2
    wait "${booting[@]}" 2>/dev/null || true
    for prefix in "$english_prefix" "$german_prefix"; do
        WINEPREFIX="$prefix" "$wineserver" -k 2>/dev/null || true
        WINEPREFIX="$prefix" "$wineserver" -w 2>/dev/null || true
        rm -rf "$prefix"
    done
}

english_prefix="$(mktemp -d "${TMPDIR:-/tmp}/tandrel-wine.XXXXXX")"
german_prefix="$(mktemp -d "${TMPDIR:-/tmp}/tandrel-wine-de.XXXXXX")"
german_locale=de_DE.UTF-8  # the locale the tests labelled "german" set
export WINEPREFIX="$english_prefix" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no .NET or HTML engine installers
# Wine takes its Windows locale from LC_ALL: English (United States), code
# page 1252, whatever the caller's locale (tests that want another set it).
export LC_ALL=C.UTF-8
export HOME="${HOME:-$WINEPREFIX}"
unset DISPLAY WAYLAND_DISPLAY  # never open a window, also on a desktop
trap stop_wine_prefixes EXIT
trap 'exit 130' INT TERM  # through the EXIT trap, which removes the prefixes

# The prefixes boot while the code compiles; tests are listed at test time,
# so the build itself runs nothing under Wine.
boot_wine_prefix "$english_prefix" "$LC_ALL" &
booting=($!)
boot_wine_prefix "$german_prefix" "$german_locale" &
booting+=($!)

build_googletest
gtest_done=$SECONDS
qt="$("$root/scripts/build-qt-windows.sh" | tail -n1)"
qt_done=$SECONDS

# Qt's toolchain file finds Qt for Windows and then loads the project's. (A
# tree of its own: a tree's toolchain cannot change once configured.)
cmake -S "$root" -B "$build/tandrel-qt" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64-qt.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTANDREL_UI=ON -DTANDREL_BENCH=OFF -DTANDREL_FUZZ=OFF -DTANDREL_TESTS=ON \
    -DTANDREL_WARNINGS_AS_ERRORS=ON \
    -DGTest_DIR="$build/googletest/lib/cmake/GTest" \
    -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST
cmake --build "$build/tandrel-qt" -j"$jobs"
build_done=$SECONDS

# The Qt DLLs and the MinGW runtime DLLs they load, found where they are.
compiler=x86_64-w64-mingw32-g++-posix
runtime_folder() { dirname "$(realpath "$("$compiler" -print-file-name="$1")")"; }
WINEPATH="$(windows_path_list "$qt/bin" "$(runtime_folder libstdc++-6.dll)" \
    "$(runtime_folder libwinpthread-1.dll)")"
export WINEPATH

for boot in "${booting[@]}"; do
    if ! wait "$boot"; then
        echo "test-windows.sh: a Wine prefix did not start" >&2
        exit 1
    fi
done

# Holds prefix $1's desktop open, in locale $2, until the prefix's server is
# stopped: without it, Wine closes the desktop whenever the last program on it
# ends, and a test that opens the next window could wait a minute for it.
keep_desktop() {
    WINEPREFIX="$1" LC_ALL="$2" "$wine" "$build/tandrel-qt/tests/support/desktop_keeper.exe" \
        </dev/null >/dev/null 2>&1 &
}
keep_desktop "$english_prefix" "$LC_ALL"
keep_desktop "$german_prefix" "$german_locale"

run_tests() {
    ctest --test-dir "$build/tandrel-qt" --output-on-failure -j"$jobs" --timeout 120 "$@" </dev/null
}

# What ctest recorded as the output of test $1 in its last run.
recorded_output() {
    awk -v name="$1" '
        /^[0-9]+\/[0-9]+ Test: / { inside = substr($0, index($0, "Test: ") + 6) == name; next }
        inside && /^Output:/ { getline; reading = 1; next }
        reading && /^<end of output>/ { exit }
        reading { print }
    ' "$build/tandrel-qt/Testing/Temporary/LastTest.log"
}

# Now and then, in a cold prefix, Wine fails to start a test program at all:
# it prints nothing and runs no test. Only such a test gets a second try; a
# test that printed anything failed for real and is not run again, so that a
# flaky test cannot hide behind the retry.
retry_silent_failures() {
    local name silent=() real=0
    while IFS=: read -r _ name; do
        if [ -z "$(recorded_output "$name" | tr -d '[:space:]')" ]; then
            silent+=("$name")
        else
            real=1
        fi
    done <"$build/tandrel-qt/Testing/Temporary/LastTestsFailed.log"
    [ "$real" -eq 0 ] && [ ${#silent[@]} -gt 0 ] || return 1
    local escaped=()
    for name in "${silent[@]}"; do
        echo "Retrying $name: it printed nothing, so Wine did not start it"
        escaped+=("$(printf '%s' "$name" | sed 's/[][\\.*^$+?(){}|]/\\&/g')")
    done
    run_tests -R "^($(IFS='|' && echo "${escaped[*]}"))\$"
}

run_tests -LE german || retry_silent_failures
WINEPREFIX="$german_prefix" run_tests -L german || WINEPREFIX="$german_prefix" retry_silent_failures

echo "Windows tests passed in $((SECONDS - started)) s" \
    "(GoogleTest $((gtest_done - started)) s, Qt $((qt_done - gtest_done)) s," \
    "build $((build_done - qt_done)) s, Wine and tests $((SECONDS - build_done)) s)"
