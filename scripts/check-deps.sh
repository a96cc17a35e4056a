#!/usr/bin/env bash
# Checks that the install script's SET (run, web, package or test: see install-deps.sh) names
# every package the build in BUILD_DIR needs: for each CMake package that its configure step
# found (a <Name>_DIR entry of its cache), and for its compiler, its emulator, CLI11's headers
# and GoogleTest's source folder when it has them, the Debian package that owns the file must be
# named in the set or be among the (recursive) dependencies of one it names. Prints each
# missing package and fails.
# Usage: check-deps.sh BUILD_DIR [SET [INSTALL_SCRIPT]]   (SET: test when left out)
set -euo pipefail
build=$1
set=${2:-test}
script=${3:-$(dirname "$0")/install-deps.sh}

mapfile -t named < <(bash "$script" --list "$set")
closure=$(apt-cache depends --recurse --installed --no-recommends --no-suggests --no-conflicts \
    --no-breaks --no-replaces --no-enhances "${named[@]}" | grep -v '^ ' | sort -u)

checked=0
missing=0
# Fails unless the Debian package that owns FILE is named by the script or pulled in by one it
# names. WHAT says what needs it.
check_owner() {
    local what=$1 file=$2 owners owner found=0
    checked=$((checked + 1))
    # "pkg1:amd64, pkg2: /path" -> one package name a line, without the architecture.
    owners=$(dpkg -S "$file" 2>/dev/null || dpkg -S "$(realpath "$file")" 2>/dev/null || true)
    owners=$(sed 's/: .*//; s/, /\n/g; s/:[a-z0-9]*$//mg' <<<"$owners")
    if [ -z "$owners" ]; then
        echo "check-deps: $what: no Debian package owns $file" >&2
        missing=$((missing + 1))
        return
    fi
    while IFS= read -r owner; do
        if grep -qxF "$owner" <<<"$closure"; then
            found=1
        fi
    done <<<"$owners"
    if [ $found -eq 0 ]; then
        echo "check-deps: $what needs the package $(head -n 1 <<<"$owners")," \
            "which $script does not install in its set $set" >&2
        missing=$((missing + 1))
    fi
}

while IFS= read -r entry; do
    name=${entry%%_DIR:PATH=*}
    dir=${entry#*=}
    for candidate in "$dir/${name}Config.cmake" "$dir/${name,,}-config.cmake"; do
        if [ -f "$candidate" ]; then
            check_owner "$name" "$candidate"
            break
        fi
    done
done < <(grep -E '^[A-Za-z0-9_.+-]+_DIR:PATH=' "$build/CMakeCache.txt")

# The compiler, the emulator that runs the programs of a cross build, CLI11 (header-only, found
# by its folder), the window's lrelease and GoogleTest's source when the build compiles it.
cache_value() {
    sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"
}
compiler=$(sed -n 's/^set(CMAKE_CXX_COMPILER "\(.*\)")$/\1/p' "$build"/CMakeFiles/*/CMakeCXXCompiler.cmake |
    head -n 1)
[ -n "$compiler" ] && check_owner "the compiler" "$compiler"
emulator=$(cache_value CMAKE_CROSSCOMPILING_EMULATOR)
emulator=${emulator%%;*}
[ -n "$emulator" ] && check_owner "the emulator" "$(command -v "$emulator" || echo "$emulator")"
cli11=$(cache_value CLI11_HEADERS)
[ -n "$cli11" ] && check_owner "CLI11" "$cli11/CLI/CLI.hpp"
lrelease=$(cache_value QUENDAL_LRELEASE)
[ -n "$lrelease" ] && check_owner "lrelease" "$lrelease"
gtest_source=$(cache_value QUENDAL_GTEST_SOURCE)
[ -n "$gtest_source" ] && check_owner "GoogleTest" "$gtest_source/CMakeLists.txt"

if [ $missing -ne 0 ]; then
    exit 1
fi
echo "check-deps: the $checked CMake packages and programs the configure step in $build used" \
    "are all installed by $script $set"
