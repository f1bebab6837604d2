#!/usr/bin/env bash
# Static checks, all of which must pass:
#   clang-tidy with the checked-in .clang-tidy on the sources of core/ log/ results/ ui/ app/ tools/,
#   cppcheck (warning, performance, portability) on the same folders,
#   clang-format --dry-run --Werror on every .cpp and .h of the project,
#   the layering: core/ and log/ include neither each other nor ui/ or app/, ui/ no app/.
# Usage: scripts/check-static.sh [build-dir]   (default build/static)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/packages.sh"
"$root/scripts/deps.sh" "${BUILD_PACKAGES[@]}" "${QT_PACKAGES[@]}" clang clang-tidy clang-format cppcheck

build="${1:-$root/build/static}"
folders=(core log results ui app tools)
status=0

# clang-tidy reads the compile commands of a configured tree; moc's generated
# headers must exist for the window sources to parse.
CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DTANDREL_TESTS=OFF -DTANDREL_BENCH=OFF >/dev/null
autogen_targets=$(ninja -C "$build" -t targets all | sed -n 's/^\([A-Za-z0-9_]*_autogen\): .*/\1/p' | sort -u)
if [ -n "$autogen_targets" ]; then
    # shellcheck disable=SC2086
    cmake --build "$build" -j2 --target $autogen_targets >/dev/null
fi

echo "== clang-tidy"
source_regex="^$root/($(IFS='|'; echo "${folders[*]}"))/.*\\.cpp\$"
if ! run-clang-tidy -quiet -p "$build" -j 2 -header-filter="^$root/($(IFS='|'; echo "${folders[*]}"))/" \
    "$source_regex" >"$build/clang-tidy.log" 2>&1; then
    grep -E 'warning:|error:' "$build/clang-tidy.log" | sort -u || cat "$build/clang-tidy.log"
    echo "clang-tidy: findings above (full output in $build/clang-tidy.log)"
    status=1
else
    echo "clang-tidy: clean"
fi

echo "== cppcheck"
suppressions=()
[ -f "$root/.cppcheck-suppressions" ] && suppressions=(--suppressions-list="$root/.cppcheck-suppressions")
if cppcheck --quiet --std=c++20 --language=c++ --library=qt --inline-suppr \
    --enable=warning,performance,portability --error-exitcode=1 \
    --suppress=missingIncludeSystem "${suppressions[@]}" -I "$root" \
    "${folders[@]/#/$root/}"; then
    echo "cppcheck: clean"
else
    status=1
fi

echo "== clang-format"
mapfile -t sources < <(cd "$root" && find core log results ui app tests bench fuzz tools \
    -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
if (cd "$root" && clang-format --dry-run --Werror "${sources[@]}"); then
    echo "clang-format: ${#sources[@]} files clean"
else
    status=1
fi

echo "== layering"
# Every library publishes the repository root as its include folder, so only
# this check keeps the engine and the log free of each other and of the
# windows, and the windows free of the start-up.
layering_violations() {
    grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](log|results|ui|app)/' "$root/core"
    grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](core|results|ui|app)/' "$root/log"
    grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]app/' "$root/ui"
}
violations="$(layering_violations || true)"
if [ -z "$violations" ]; then
    echo "layering: clean"
else
    echo "$violations"
    echo "layering: core/ and log/ may include neither each other nor ui/ or app/, ui/ no app/"
    status=1
fi

exit $status
