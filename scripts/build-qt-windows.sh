#!/usr/bin/env bash
# Builds Qt 6 for 64-bit Windows (MinGW-w64) from the source of the very Qt
# that Debian ships, into a cache outside the work tree, and prints the
# install folder on its last line. A cache that is already there is reused.
# build/qt-windows points at it afterwards: the windows preset builds against
# the Qt found there.
#
# Debian has no Qt for MinGW-w64 and nothing but Debian's mirror can be
# reached, so the source comes through `apt-get source` with a temporary
# deb-src list that leaves the system's own sources untouched. Debian's host
# tools (moc, rcc, uic from qt6-base-dev-tools) do the code generation.
#
# The build is shared: tandrel.exe ships with the Qt DLLs beside it, as Qt's
# own deployment lays them out (see the README).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

source "$root/scripts/packages.sh"
"$root/scripts/deps.sh" "${QT_WINDOWS_BUILD_PACKAGES[@]}"

qt_version="$(dpkg-query -W -f='${Version}' qt6-base-dev)"  # 6.4.2+dfsg-10 or the like
options="$root/packaging/windows/qt/options.cmake"
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
patches=("$root"/packaging/windows/qt/patches/*.patch)

key="$(cat <(echo "$qt_version") "$options" "$toolchain" "${patches[@]}" | sha256sum | cut -c1-12)"
cache="${XDG_CACHE_HOME:-$HOME/.cache}/tandrel"
prefix="$cache/qt-${qt_version%%+*}-mingw64-$key"

# Points build/qt-windows at the finished Qt and prints its folder.
found() {
    mkdir -p "$root/build"
    ln -sfn "$prefix" "$root/build/qt-windows"
    echo "$prefix"
    exit 0
}
[ -f "$prefix/.complete" ] && found

# Runs a long step with its output in a log file; shows the log's end when
# the step fails.
logged() {
    local log=$1
    shift
    if ! "$@" >"$log" 2>&1; then
        tail -n 60 "$log" >&2
        echo "build-qt-windows.sh: failed: $*; the whole output is in $log" >&2
        exit 1
    fi
}

work="$cache/qt-build-$key"
mkdir -p "$work"

# One build at a time (the test stage and the packaging may both ask): a
# second caller waits for the first, then finds the cache.
exec 9>"$work/.lock"
if ! flock -n 9; then
    echo "Waiting for another build of Qt for Windows in $work" >&2
    flock 9
fi
[ -f "$prefix/.complete" ] && found

# The source, fetched once: a deb-src list for the suites apt already uses,
# given to apt through its options only.
fetch_source() {
    local apt_dir="$work/apt" list
    [ -n "$(ls "$work"/qt6-base_*.orig.tar.xz 2>/dev/null)" ] && return
    mkdir -p "$apt_dir/lists/partial"
    list="$apt_dir/sources.list"
    local mirror
    # shellcheck disable=SC2016 # apt expands $(REPO_URI) itself
    mirror="$(apt-get indextargets --format '$(REPO_URI)' 'Created-By: Packages' 2>/dev/null |
        grep -v security | head -n1)"
    if [ -z "$mirror" ]; then
        mirror="$(grep -h -m1 -oE '^URIs: *[^ ]+' /etc/apt/sources.list.d/*.sources 2>/dev/null |
            head -n1 | sed 's/^URIs: *//')"
    fi
    [ -n "$mirror" ] || { echo "build-qt-windows.sh: no Debian mirror configured" >&2; exit 1; }
    echo "deb-src ${mirror%/} bookworm main" >"$list"
    local apt_opts=(-o Dir::Etc::sourcelist="$list" -o Dir::Etc::sourceparts=-
        -o Dir::State::Lists="$apt_dir/lists")
    logged "$work/apt-update.log" apt-get "${apt_opts[@]}" update -qq
    (cd "$work" && logged "$work/fetch.log" apt-get "${apt_opts[@]}" source --download-only \
        "qt6-base=$qt_version")
}

# Unpacks the source, as upstream made it (without Debian's own patches), and
# applies ours to it, each of which says what it mends and why.
unpack_source() {
    local src="$work/qtbase" patch
    [ -f "$src/CMakeLists.txt" ] && return
    rm -rf "$src" "$src.tmp"
    mkdir -p "$src.tmp"
    tar -xf "$work"/qt6-base_*.orig.tar.xz -C "$src.tmp" --strip-components=1
    for patch in "${patches[@]}"; do
        patch -d "$src.tmp" -p1 --quiet --forward --no-backup-if-mismatch <"$patch" || {
            echo "build-qt-windows.sh: $patch does not apply to Qt $qt_version" >&2
            exit 1
        }
    done
    mv "$src.tmp" "$src"
}

fetch_source
unpack_source

started=$SECONDS
echo "Building Qt for Windows into $prefix (about 25 minutes on two cores);" \
    "progress in $work/build.log" >&2
# Through ccache where there is one: a build under a new key (a changed
# option or patch) then compiles again only what the change touches.
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="$work" CCACHE_NOHASHDIR=1
fi
logged "$work/configure.log" cmake -S "$work/qtbase" -B "$work/build" -G Ninja -C "$options" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" "${launcher[@]}"
logged "$work/build.log" cmake --build "$work/build" -j"$(nproc)"
rm -rf "$prefix"
logged "$work/install.log" cmake --install "$work/build"
touch "$prefix/.complete"
echo "Qt for Windows built in $((SECONDS - started)) s" >&2
rm -rf "$work/build"
found
