#!/usr/bin/env bash
# Builds Qt 6 for 64-bit Windows (MinGW-w64) from the source of the very Qt
# that Debian ships, into a cache outside the work tree, and prints the
# install folder on its last line. A cache that is already there is reused.
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
# Only what the game and its tests use is built: a shorter build, where a
# machine without the cache has to wait for it.
features=(
    # Modules.
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF
    -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF
    # Debian's source leaves out the tablet header the windows platform needs.
    -DFEATURE_tabletevent=OFF
    # Plugins the game does not ship: the Direct2D platform (Direct2D itself
    # stays, Gui's DirectWrite fonts need it) and the image formats.
    -DFEATURE_direct2d1_1=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF
    # Widgets, dialogs and document formats the game does not use (the Vista
    # style needs the input dialog).
    -DFEATURE_graphicsview=OFF -DFEATURE_filedialog=OFF -DFEATURE_colordialog=OFF
    -DFEATURE_fontdialog=OFF -DFEATURE_wizard=OFF -DFEATURE_mdiarea=OFF
    -DFEATURE_calendarwidget=OFF -DFEATURE_datetimeedit=OFF -DFEATURE_dial=OFF
    -DFEATURE_lcdnumber=OFF -DFEATURE_fontcombobox=OFF -DFEATURE_keysequenceedit=OFF
    -DFEATURE_splashscreen=OFF -DFEATURE_toolbox=OFF -DFEATURE_columnview=OFF
    -DFEATURE_datawidgetmapper=OFF -DFEATURE_errormessage=OFF
    -DFEATURE_commandlinkbutton=OFF -DFEATURE_undoview=OFF -DFEATURE_textodfwriter=OFF
    -DFEATURE_pdf=OFF -DFEATURE_movie=OFF
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DBUILD_SHARED_LIBS=ON
    -DCMAKE_BUILD_TYPE=Release
)
# Two mends to Qt 6.4.2's Windows code, made to the unpacked source before it
# is built. Idempotent: a source tree already mended is left as it is.
#  - The windows platform plugin asks for dynamic OpenGL in one place without
#    asking whether OpenGL is built at all, and so fails to compile with
#    OpenGL off.
#  - Bitmap fonts ("MS Sans Serif") are listed under their cell height but
#    asked of Windows by character height, so a font at 11 pixels, 8 points,
#    came out in the next face up, 10 points. They are listed under their
#    character height now, as they are asked for.
mend_source() {
    local window="$work/qtbase/src/plugins/platforms/windows/qwindowswindow.cpp"
    local fonts="$work/qtbase/src/gui/text/windows/qwindowsfontdatabase.cpp"
    local opengl='#if QT_CONFIG(opengl) \&\& QT_CONFIG(dynamicgl)'
    local size='const int size = scalable ? SMOOTH_SCALABLE : textmetric->tmHeight'
    sed -i "/^static inline bool isSoftwareGl()\$/,/^}\$/ s/^#if QT_CONFIG(dynamicgl)\$/$opengl/" \
        "$window"
    sed -i "s/^    $size;\$/    $size - textmetric->tmInternalLeading;/" "$fonts"
    grep -q "^${opengl//\\/}\$" "$window" &&
        grep -q "^    $size - textmetric->tmInternalLeading;\$" "$fonts"
}

key="$(printf '%s\n' "$qt_version" "${features[@]}" "$(cat "$root/cmake/mingw-w64-x86_64.cmake")" \
    "$(declare -f mend_source)" |
    sha256sum | cut -c1-12)"
cache="${XDG_CACHE_HOME:-$HOME/.cache}/tandrel"
prefix="$cache/qt-${qt_version%%+*}-mingw64-$key"

if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

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
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

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

unpack_source() {
    local src="$work/qtbase"
    [ -f "$src/CMakeLists.txt" ] && return
    rm -rf "$src" "$src.tmp"
    mkdir -p "$src.tmp"
    tar -xf "$work"/qt6-base_*.orig.tar.xz -C "$src.tmp" --strip-components=1
    mv "$src.tmp" "$src"
}

fetch_source
unpack_source
mend_source || {
    echo "build-qt-windows.sh: the Qt source in $work/qtbase is not the one its mends are for" >&2
    exit 1
}

# The project's toolchain, less its static linking and its Wine runner: Qt's
# DLLs share one MinGW runtime with the programs that load them.
toolchain="$work/toolchain.cmake"
cat >"$toolchain" <<END
include("$root/cmake/mingw-w64-x86_64.cmake")
set(CMAKE_EXE_LINKER_FLAGS_INIT "")
unset(CMAKE_CROSSCOMPILING_EMULATOR)
END

started=$SECONDS
echo "Building Qt for Windows into $prefix (about 25 minutes on two cores);" \
    "progress in $work/build.log" >&2
logged "$work/configure.log" cmake -S "$work/qtbase" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$prefix" "${features[@]}"
logged "$work/build.log" cmake --build "$work/build" -j"$(nproc)"
rm -rf "$prefix"
logged "$work/install.log" cmake --install "$work/build"
touch "$prefix/.complete"
echo "Qt for Windows built in $((SECONDS - started)) s" >&2
rm -rf "$work/build"
echo "$prefix"
