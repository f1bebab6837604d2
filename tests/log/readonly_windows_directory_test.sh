#!/usr/bin/env bash
# The score log of a user who may not write to the Windows directory, as on
# every Windows since Vista for a user without administrator rights: runs the
# Windows-directory log tests as an unprivileged user, in a Wine prefix of
# that user's own whose drive_c/windows is read-only. (Root writes anywhere,
# so the test makes a user of its own; without root it is skipped.)
#
#   readonly_windows_directory_test.sh <windows_log_tests.exe>
set -euo pipefail
tests_exe=$1
skipped=77
if [ "$(id -u)" -ne 0 ]; then
    echo "needs root to make an unprivileged user; skipped"
    exit "$skipped"
fi

user=tandrel-wine-user
if ! id "$user" >/dev/null 2>&1; then
    useradd --system --no-create-home --shell /usr/sbin/nologin "$user"
fi
home="$(mktemp -d "${TMPDIR:-/tmp}/tandrel-readonly.XXXXXX")"
chmod 755 "$home"
chown "$user:" "$home"
cp "$tests_exe" "$home/"

as_user() {
    setpriv --reuid="$user" --regid="$user" --clear-groups \
        env -i PATH=/usr/bin:/bin HOME="$home" WINEPREFIX="$home/prefix" WINEARCH=win64 \
        WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" "$@"
}

cleanup() {
    as_user /usr/lib/wine/wineserver64 -k 2>/dev/null || true
    as_user /usr/lib/wine/wineserver64 -w 2>/dev/null || true
    rm -rf "$home"
}
trap cleanup EXIT

as_user /usr/lib/wine/wine64 wineboot --init </dev/null >/dev/null 2>&1
as_user /usr/lib/wine/wineserver64 -w
chmod a-w "$home/prefix/drive_c/windows"
if as_user touch "$home/prefix/drive_c/windows/probe" 2>/dev/null; then
    echo "the Windows directory is still writable for $user" >&2
    exit 1
fi

output="$(as_user /usr/lib/wine/wine64 "$home/$(basename "$tests_exe")" \
    --gtest_filter='WindowsDirectoryLog.FirstAppendCreatesTheLogWhereItIsReadBack' </dev/null 2>&1)" ||
    { echo "$output"; exit 1; }
echo "$output"
# Passed, and really run: a skip would also count as passed.
grep -q '^\[  PASSED  \] 1 test' <<<"$output"
! grep -q '^\[  SKIPPED \]' <<<"$output"
