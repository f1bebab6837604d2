#!/usr/bin/env bash
# Makes the Windows zip and installer from the Windows test build tree
# (TANDREL_WINDOWS_GAME_TREE) and runs the package tests of tests/packaging
# on them: the licence notices of the zip, then under Wine, each time in a
# fresh prefix on an Xvfb display that sees none of this machine's files, the
# zip and the installer (windows_package_tests), and the installer in a
# prefix that reports Windows 7. (Until the Wine test bench runs them.)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${TANDREL_WINDOWS_GAME_TREE:?the Windows test build tree}"

"$root/scripts/deps.sh" wine64 fonts-wine xvfb
"$root/scripts/package-windows.sh"
cmake --build "$build" --target windows_package_tests
ctest --test-dir "$build" --output-on-failure -R zip_names_a_licence

# shellcheck source=packaging/windows/wine-session.sh
source "$root/packaging/windows/wine-session.sh"
# Debian's Wine reports Windows 7 unless the prefix says otherwise.
run_package_tests() { # <prepare options> <gtest filter> <Windows version: win10, win7>
    start_wine_session
    in_wine reg add 'HKCU\Software\Wine' /v Version /d "$3" /f >/dev/null 2>&1
    cmake -DBUILD="$build" -DZIP="$(echo "$root"/build/windows-dist/*-win64.zip)" \
        -DSETUP="$(echo "$root"/build/windows-dist/*-setup.exe)" "$1" \
        -P "$root/tests/packaging/prepare_windows_packages.cmake"
    cp "$build/tests/packaging/windows_package_tests.exe" "$WINEPREFIX/drive_c/"
    TANDREL_PACKAGES='C:\users\Public\Desktop\Tandrel packages' \
        in_wine 'C:\windows_package_tests.exe' --gtest_filter="$2"
    stop_wine_session
}
run_package_tests -DOLDER=1 '-*OnWindows7*' win10
run_package_tests -DOLDER=0 '*OnWindows7*' win7
