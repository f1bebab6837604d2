#!/usr/bin/env bash
# Installs the game twice, with `cmake --install` into a prefix and from the
# .deb that cpack builds into a scratch root, and checks that each install puts
# the program, its desktop entry and its icons where a desktop looks for them.
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

# Checks the files under one install prefix.
check_tree() {
    local prefix="$1"
    local entry="$prefix/share/applications/corvanelle-tandrel.desktop"
    local png="$prefix/share/icons/hicolor/32x32/apps/corvanelle-tandrel.png"
    local svg="$prefix/share/icons/hicolor/scalable/apps/corvanelle-tandrel.svg"

    [[ -x "$prefix/bin/tandrel" ]] || fail "$prefix/bin/tandrel missing or not executable"
    [[ -f "$entry" ]] || fail "desktop entry missing: $entry"
    [[ -f "$png" ]] || fail "32x32 icon missing: $png"
    [[ -f "$svg" ]] || fail "scalable icon missing: $svg"
    [[ -f "$png" && "$(png_size "$png")" == "32x32" ]] || fail "icon is not 32x32: $png"
    grep -q '<svg' "$svg" 2>/dev/null || fail "scalable icon is not an SVG: $svg"
    if [[ -f "$entry" ]]; then
        desktop-file-validate "$entry" || fail "desktop entry does not validate"
        grep -qx 'Exec=tandrel' "$entry" || fail "desktop entry does not run tandrel"
        grep -qx 'Icon=corvanelle-tandrel' "$entry" || fail "desktop entry names another icon"
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
    timeout 2 "$work/root/usr/bin/tandrel" >"$work/run.log" 2>&1
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
