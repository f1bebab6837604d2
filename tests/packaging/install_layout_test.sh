#!/usr/bin/env bash
# Installs the game three ways: with `cmake --install` into a prefix, from the
# .deb that cpack builds by unpacking it, and with dpkg into a scratch root.
# Checks that each install puts the program, its desktop entry, metadata,
# icons, manual page and documents where a desktop and Debian look for them,
# then checks the package as Debian's maintainers would: lintian, the
# AppStream and desktop entry validators, and the manual page rendered by man.
# Usage: install_layout_test.sh <build directory>
set -euo pipefail

build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Width and height of a PNG, from its header.
png_size() {
    od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }'
}

app_id=org.example.tandrel
icon_sizes=(16 22 24 32 48 64 128 256)

# Checks that the files under one install prefix are where they belong.
check_tree() {
    local prefix="$1"
    local svg="$prefix/share/icons/hicolor/scalable/apps/$app_id.svg"
    local doc="$prefix/share/doc/corvanelle-tandrel"
    local file png size

    [[ -x "$prefix/games/tandrel" ]] || fail "$prefix/games/tandrel missing or not executable"
    for file in "$prefix/share/applications/$app_id.desktop" \
        "$prefix/share/metainfo/$app_id.metainfo.xml" "$prefix/share/man/man6/tandrel.6.gz" \
        "$doc/copyright" "$doc/changelog.gz"; do
        [[ -f "$file" ]] || fail "missing: $file"
    done
    for size in "${icon_sizes[@]}"; do
        png="$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
        [[ -f "$png" && "$(png_size "$png")" == "${size}x${size}" ]] ||
            fail "no ${size}x${size} icon at $png"
    done
    grep -q '<svg' "$svg" 2>/dev/null || fail "scalable icon missing or not an SVG: $svg"
}

# Runs a checker that must pass and print nothing, e.g. no warning or hint.
expect_silent() {
    local name="$1" output
    shift
    if ! output="$("$@" 2>&1)" || [[ -n "$output" ]]; then
        printf '%s\n' "$output" >&2
        fail "$name is not clean"
    fi
}

echo "== cmake --install"
cmake --install "$build" --prefix "$work/prefix" >"$work/install.log" ||
    { cat "$work/install.log"; fail "cmake --install failed"; }
check_tree "$work/prefix"

echo "== cpack -G DEB"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/deb" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack failed"; exit 1; }
debs=("$work"/deb/*.deb)
[[ ${#debs[@]} -eq 1 && -f "${debs[0]}" ]] || { fail "expected one .deb, got: ${debs[*]}"; exit 1; }
deb="${debs[0]}"

dpkg-deb -x "$deb" "$work/root"
check_tree "$work/root/usr"
entry="$work/root/usr/share/applications/$app_id.desktop"
grep -qx 'Exec=tandrel' "$entry" || fail "desktop entry does not run tandrel"
grep -qx "Icon=$app_id" "$entry" || fail "desktop entry names another icon"

echo "== validators"
expect_silent desktop-file-validate desktop-file-validate "$entry"
# validate-tree also checks that the metadata's desktop entry and icon exist.
appstreamcli validate-tree --no-net --strict "$work/root" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log"; fail "AppStream metadata does not validate"; }
# man passes groff's warnings on to stderr; the page itself goes to stdout.
MANWIDTH=80 man --warnings -l "$work/root/usr/share/man/man6/tandrel.6.gz" \
    >"$work/man.txt" 2>"$work/man.log" || fail "man cannot render the manual page"
[[ ! -s "$work/man.log" ]] || { cat "$work/man.log"; fail "man warns about the manual page"; }
grep -q 'tandrel - memory game' "$work/man.txt" || fail "manual page renders without its name line"
# Only errors and warnings count; lintian's informational tags are advice.
if ! lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 ||
    grep -qv '^running with root privileges' "$work/lintian.log"; then
    cat "$work/lintian.log"
    fail "lintian finds faults"
fi

strays="$(dpkg-deb -c "$deb" | awk '{ print $NF }' | grep -v -e '^\./$' -e '^\./usr/' || true)"
[[ -z "$strays" ]] || fail "files outside /usr: $strays"

[[ "$(dpkg-deb -f "$deb" Package)" == "corvanelle-tandrel" ]] || fail "wrong package name"
[[ "$(dpkg-deb -f "$deb" Section)" == "games" ]] || fail "wrong section"
dpkg-deb -f "$deb" Maintainer | grep -q '@example\.org>' || fail "maintainer lacks its address"
depends="$(dpkg-deb -f "$deb" Depends)"
[[ "$depends" == *libqt6widgets6* ]] || fail "Depends lacks Qt Widgets: '$depends'"

# The packaged program starts and keeps running (it runs until its window closes).
set +e
QT_QPA_PLATFORM=offscreen XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work" \
    timeout 2 "$work/root/usr/games/tandrel" >"$work/run.log" 2>&1
status=$?
set -e
((status == 124)) || { cat "$work/run.log"; fail "packaged program ended early with status $status"; }

# The package installs with dpkg itself into a scratch root.
mkdir -p "$work/dpkg-root/var/lib/dpkg/updates" "$work/dpkg-root/var/lib/dpkg/info"
touch "$work/dpkg-root/var/lib/dpkg/status"
dpkg --root="$work/dpkg-root" --force-depends --force-not-root --log=/dev/null \
    -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg -i failed"; }
check_tree "$work/dpkg-root/usr"

if ((failures > 0)); then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "all install checks passed"
