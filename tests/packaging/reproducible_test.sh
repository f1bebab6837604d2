#!/usr/bin/env bash
# Packs the committed sources twice, from two clones in different folders,
# one after the other and under different umasks, and checks that every
# package comes out byte for byte the same (diffoscope, when installed, shows
# what differs).
#
#   reproducible_test.sh <repository> <packages, a glob in a clone> <command...>
#
# The command runs in each clone and makes the packages.
set -euo pipefail
repository="$1" packages="$2"
shift 2
commit="$(git -C "$repository" rev-parse HEAD)"
work="$(mktemp -d "${TMPDIR:-/tmp}/tandrel-reproducible.XXXXXX")"
trap 'rm -rf "$work"' EXIT

pack() { # <clone folder> <umask> <command...>
    local clone="$1" mask="$2"
    shift 2
    git clone -q --no-checkout "$repository" "$clone"
    git -C "$clone" checkout -q "$commit"
    if ! (cd "$clone" && umask "$mask" && "$@") >"$clone.log" 2>&1; then
        tail -n 40 "$clone.log"
        echo "FAIL: packing in $clone failed" >&2
        exit 1
    fi
}
pack "$work/first" 022 "$@"
pack "$work/second/clone" 077 "$@"

failures=0
found=0
# shellcheck disable=SC2086 # the glob is meant to expand
for first in $(cd "$work/first" && echo $packages); do
    found=$((found + 1))
    if cmp "$work/first/$first" "$work/second/clone/$first"; then
        echo "same bytes: $first"
    else
        failures=$((failures + 1))
        if command -v diffoscope >/dev/null; then
            diffoscope "$work/first/$first" "$work/second/clone/$first" | head -n 80 || true
        fi
    fi
done
((found > 0)) || { echo "FAIL: no package matches $packages" >&2; exit 1; }
((failures == 0)) || { echo "FAIL: $failures package(s) differ" >&2; exit 1; }
