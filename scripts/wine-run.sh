#!/usr/bin/env bash
# Runs a Windows program under Wine; the cross build's test launcher.
# Uses the caller's WINEPREFIX (scripts/test-windows.sh makes a fresh one).
set -euo pipefail

export WINEDEBUG="${WINEDEBUG:--all}"
# Debian's 64-bit loader, which is not on PATH; the wine wrapper otherwise.
for wine in /usr/lib/wine/wine64 "$(command -v wine64 || true)" "$(command -v wine || true)"; do
    [ -n "$wine" ] && [ -x "$wine" ] && exec "$wine" "$@"
done
echo "wine-run.sh: Wine is not installed (Debian package wine64)" >&2
exit 127
