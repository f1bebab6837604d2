#!/usr/bin/env bash
# Builds the game for 64-bit Windows and packs it the two ways Windows players
# expect, in build/windows-dist/ (TANDREL_WINDOWS_DIST overrides it):
#
#   corvanelle-tandrel-<version>-win64.zip   unzip anywhere, run tandrel.exe
#   corvanelle-tandrel-<version>-setup.exe   installer made with NSIS
#
# Both hold the same files, laid out as Qt's own deployment lays them out:
# tandrel.exe with the Qt and MinGW runtime DLLs beside it and the plugins Qt
# loads at run time in platforms\ and styles\. Qt for Windows is built first
# when its cache is missing (scripts/build-qt-windows.sh).
#
# The game is built in a Release tree of its own, or taken from the Windows
# build tree named by TANDREL_WINDOWS_GAME_TREE (the test stage's, whose
# tandrel.exe has just passed the tests), so that it is not compiled twice.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dist="${TANDREL_WINDOWS_DIST:-$root/build/windows-dist}"
build="${TANDREL_WINDOWS_GAME_TREE:-$root/build/windows-release}"
triplet=x86_64-w64-mingw32

"$root/scripts/deps.sh" cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
    nsis zip

qt="$("$root/scripts/build-qt-windows.sh" | tail -n1)"

# Qt's toolchain file finds Qt and its host tools, then loads the project's.
if [ -z "${TANDREL_WINDOWS_GAME_TREE:-}" ]; then
    cmake -S "$root" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64-qt.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DTANDREL_TESTS=OFF -DTANDREL_BENCH=OFF -DTANDREL_FUZZ=OFF \
        >/dev/null
elif [ ! -f "$build/CMakeCache.txt" ]; then
    echo "package-windows.sh: no configured build tree in $build" >&2
    exit 1
fi
cmake --build "$build" --target tandrel -j"$(nproc)"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
[ -n "$version" ] || { echo "package-windows.sh: no project version in $build" >&2; exit 1; }

name="corvanelle-tandrel-$version"
stage="$dist/stage/$name-win64"
rm -rf "$dist"
mkdir -p "$stage"

# The plugins Qt loads by name at run time, which no import table lists.
plugins=(platforms/qwindows.dll styles/qwindowsvistastyle.dll)

# Where the DLLs that are not part of Windows come from: Qt's own and the
# MinGW runtime that Qt and the game are linked against.
dll_folders=(
    "$qt/bin"
    "$(dirname "$("$triplet-g++-posix" -print-file-name=libstdc++-6.dll)")"
    "$(dirname "$("$triplet-g++-posix" -print-file-name=libwinpthread-1.dll)")"
)

imported_dlls() {
    "$triplet-objdump" -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p'
}

# The path of a DLL in those folders; nothing for one of Windows' own.
find_dll() {
    local folder
    for folder in "${dll_folders[@]}"; do
        if [ -f "$folder/$1" ]; then
            echo "$folder/$1"
            return
        fi
    done
}

# Copies the DLLs that a program or DLL imports into the program's folder,
# and the DLLs those import in turn.
deploy_imports() {
    local dll source
    for dll in $(imported_dlls "$1"); do
        source="$(find_dll "$dll")"
        if [ -n "$source" ] && [ ! -f "$stage/$dll" ]; then
            cp "$source" "$stage/$dll"
            deploy_imports "$source"
        fi
    done
}

cp "$build/app/tandrel.exe" "$stage/tandrel.exe"
deploy_imports "$stage/tandrel.exe"
for plugin in "${plugins[@]}"; do
    mkdir -p "$stage/$(dirname "$plugin")"
    cp "$qt/plugins/$plugin" "$stage/$plugin"
    deploy_imports "$stage/$plugin"
done
find "$stage" \( -name '*.exe' -o -name '*.dll' \) -exec "$triplet-strip" --strip-unneeded {} +

# The same time on every file, so that the same sources pack the same bytes.
stamp="${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)}"
find "$stage" -exec touch -h -d "@$stamp" {} +

zip_file="$dist/$name-win64.zip"
(cd "$(dirname "$stage")" && find "$(basename "$stage")" | LC_ALL=C sort |
    zip -q -X -9 "$zip_file" -@)

# The installer's file list, and the uninstaller's list of the same files.
files="$dist/stage/install-files.nsh"
unfiles="$dist/stage/uninstall-files.nsh"
: >"$files"
: >"$unfiles"
(cd "$stage" && find . -type d | LC_ALL=C sort) | while read -r folder; do
    folder="${folder#.}"
    windows_folder="${folder//\//\\}"
    echo "SetOutPath \"\$INSTDIR$windows_folder\"" >>"$files"
    find "$stage$folder" -maxdepth 1 -type f | LC_ALL=C sort | while read -r file; do
        echo "File \"$file\"" >>"$files"
        echo "Delete \"\$INSTDIR$windows_folder\\$(basename "$file")\"" >>"$unfiles"
    done
done
(cd "$stage" && find . -mindepth 1 -type d | LC_ALL=C sort -r) | while read -r folder; do
    windows_folder="${folder#.}"
    echo "RMDir \"\$INSTDIR${windows_folder//\//\\}\"" >>"$unfiles"
done

setup_file="$dist/$name-setup.exe"
makensis -V2 -WX -DVERSION="$version" -DFILES="$files" -DUNFILES="$unfiles" \
    -DICON="$root/app/icons/tandrel.ico" -DOUTFILE="$setup_file" "$root/packaging/windows/tandrel.nsi"

for file in "$zip_file" "$setup_file"; do
    echo "Wrote $file ($(du -k "$file" | cut -f1) KiB)"
done
