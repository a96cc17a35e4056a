#!/usr/bin/env bash
# Checks that the install script names every package the build needs: for each CMake package
# that the configure step in BUILD_DIR found (a <Name>_DIR entry of its cache), the Debian
# package that owns the config file must be named by the script or be among the (recursive)
# dependencies of one it names. Prints each missing package and fails.
# Usage: check-deps.sh BUILD_DIR [INSTALL_SCRIPT]
set -euo pipefail
build=$1
script=${2:-$(dirname "$0")/install-deps.sh}

mapfile -t named < <(bash "$script" --list)
closure=$(apt-cache depends --recurse --installed --no-recommends --no-suggests --no-conflicts \
    --no-breaks --no-replaces --no-enhances "${named[@]}" | grep -v '^ ' | sort -u)

checked=0
missing=0
while IFS= read -r entry; do
    name=${entry%%_DIR:PATH=*}
    dir=${entry#*=}
    config=""
    for candidate in "$dir/${name}Config.cmake" "$dir/${name,,}-config.cmake"; do
        if [ -f "$candidate" ]; then
            config=$candidate
            break
        fi
    done
    [ -n "$config" ] || continue
    checked=$((checked + 1))
    # "pkg1:amd64, pkg2: /path" -> one package name a line, without the architecture.
    owners=$(dpkg -S "$config" 2>/dev/null || dpkg -S "$(realpath "$config")" 2>/dev/null || true)
    owners=$(sed 's/: .*//; s/, /\n/g; s/:[a-z0-9]*$//mg' <<<"$owners")
    if [ -z "$owners" ]; then
        echo "check-deps: $name: no Debian package owns $config" >&2
        missing=$((missing + 1))
        continue
    fi
    found=0
    while IFS= read -r owner; do
        if grep -qxF "$owner" <<<"$closure"; then
            found=1
        fi
    done <<<"$owners"
    if [ $found -eq 0 ]; then
        echo "check-deps: $name needs the package $(head -n 1 <<<"$owners")," \
            "which $script does not install" >&2
        missing=$((missing + 1))
    fi
done < <(grep -E '^[A-Za-z0-9_.+-]+_DIR:PATH=' "$build/CMakeCache.txt")

if [ $missing -ne 0 ]; then
    exit 1
fi
echo "check-deps: the $checked CMake packages found by the configure step are all installed by $script"
