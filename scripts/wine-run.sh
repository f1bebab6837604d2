#!/usr/bin/env bash
# Runs a Windows program under Wine; the cross build's test launcher.
# Uses the caller's WINEPREFIX (scripts/test-windows.sh makes a fresh one).
#
# Wine's server sends SIGKILL to a program whose Linux process is still there
# half a second after its last Windows thread ended. On a busy machine that
# now and then catches a test program that had finished and was only exiting,
# and its exit status is lost. Such a run is repeated once, and the repeat's
# status counts, but only when what the killed run printed shows that it had
# completed: GoogleTest's summary with no failed test, or the list of tests
# asked for. A run that printed a failure is never repeated.
set -euo pipefail

export WINEDEBUG="${WINEDEBUG:--all}"
# Debian's 64-bit loader, which is not on PATH; the wine wrapper otherwise.
for candidate in /usr/lib/wine/wine64 "$(command -v wine64 || true)" "$(command -v wine || true)"; do
    if [ -n "$candidate" ] && [ -x "$candidate" ]; then
        wine="$candidate"
        break
    fi
done
if [ -z "${wine:-}" ]; then
    echo "wine-run.sh: Wine is not installed (Debian package wine64)" >&2
    exit 127
fi

killed=137 # the status the shell gives a program ended by SIGKILL
output="$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")"
trap 'rm -f "$output"' EXIT

# Runs the program once more; that run's status is the one that counts.
run_again() {
    echo "wine-run.sh: Wine killed the program as it was exiting; running it once more" >&2
    rm -f "$output"
    exec "$wine" "$@"
}

status=0
if [[ " $* " == *" --gtest_list_tests "* ]]; then
    # The list is printed once, from the run that counts: CMake reads it.
    "$wine" "$@" >"$output" || status=$?
    [ "$status" -ne "$killed" ] || run_again "$@"
    cat "$output"
    exit "$status"
fi
"$wine" "$@" | tee "$output" || status=$?
if [ "$status" -eq "$killed" ] && grep -qF '[  PASSED  ]' "$output" &&
    ! grep -qF '[  FAILED  ]' "$output"; then
    run_again "$@"
fi
exit "$status"
