#!/usr/bin/env bash
# Installs the Debian packages, and the page's npm packages, that one use of Quendal needs:
#   run      building and running the window and the companion (make run)
#   web      building and serving the page (make run-web)
#   package  run, and what cpack's Debian package needs (make package)
#   test     everything: every test, benchmark, fuzz target, other processor and validator
# Several words install their union; none means test. Does nothing when everything is there.
# With --list, prints the Debian package names and stops.
# Usage: install-deps.sh [--list] [run|web|package|test]...
set -euo pipefail

# Python makes the core's table of translations; lrelease (qt6-l10n-tools) the window's.
run=(
    g++ cmake ninja-build make pkg-config python3
    qt6-base-dev qt6-charts-dev qt6-svg-dev libqt6opengl6-dev libgl-dev qt6-translations-l10n
    qt6-l10n-tools libcli11-dev libtbb-dev fonts-dejavu-core
)
# The companion's folder is part of every configure step, so CLI11 is too.
web=(cmake ninja-build make python3 emscripten libcli11-dev)
package=("${run[@]}" dpkg-dev file)
test=(
    "${run[@]}" "${web[@]}" "${package[@]}"
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-dev clang-format llvm
    xvfb xauth
    desktop-file-utils appstream shared-mime-info libglib2.0-bin
    g++-aarch64-linux-gnu qemu-user googletest
    chromium chromium-driver python3-selenium
)

list=0
sets=()
for word in "$@"; do
    case "$word" in
        --list) list=1 ;;
        run | web | package | test) sets+=("$word") ;;
        *)
            echo "install-deps: unknown set '$word' (run, web, package or test)" >&2
            exit 2
            ;;
    esac
done
[ ${#sets[@]} -gt 0 ] || sets=(test)

# The union of the sets, each name once, in the order the sets give them.
packages=()
npm_needed=0
declare -A seen=()
for set in "${sets[@]}"; do
    declare -n names=$set
    for p in "${names[@]}"; do
        if [ -z "${seen[$p]:-}" ]; then
            seen[$p]=1
            packages+=("$p")
        fi
    done
    unset -n names
    case "$set" in web | test) npm_needed=1 ;; esac
done

if [ $list -eq 1 ]; then
    printf '%s\n' "${packages[@]}"
    exit 0
fi

root="$(cd "$(dirname "$0")/.." && pwd)"

# One run at a time on this machine (apt's lock, and node_modules when two builds of one tree
# start it together); a run that waited then finds everything installed.
lock="${TMPDIR:-/tmp}/quendal-install-deps.lock"
{ exec 9>>"$lock"; } 2>/dev/null || exec 9<"$0"
if ! flock -n 9; then
    echo "install-deps: waiting for another install-deps.sh to finish"
    flock 9
fi

missing=()
# npm for the page's libraries: Debian's, unless a node installed otherwise brings its own.
if [ $npm_needed -eq 1 ] && ! command -v npm >/dev/null 2>&1; then
    missing+=(npm)
fi
installed=$(dpkg-query -W -f='${Package} ${Status}\n' "${packages[@]}" 2>/dev/null |
    sed -n 's/ install ok installed$//p' || true)
for p in "${packages[@]}"; do
    grep -qxF "$p" <<<"$installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The page's libraries as package-lock.json pins them, installed again whenever node_modules
# differs from it: npm records what it installed in node_modules/.package-lock.json, which
# must hold the lock's packages, each at the lock's version and integrity, and no others.
npm_current() {
    [ -f "$root/node_modules/.package-lock.json" ] || return 1
    node -e '
        const fs = require("fs");
        const [lock, installed, root] = process.argv.slice(1);
        const want = JSON.parse(fs.readFileSync(lock, "utf8")).packages || {};
        const have = JSON.parse(fs.readFileSync(installed, "utf8")).packages || {};
        delete want[""];
        const same = (a, b) => a.version === b.version && a.integrity === b.integrity;
        const paths = Object.keys(want);
        const ok = paths.length === Object.keys(have).length &&
            paths.every((p) => have[p] && same(want[p], have[p]) &&
                               fs.existsSync(root + "/" + p + "/package.json"));
        process.exit(ok ? 0 : 1);' \
        "$root/package-lock.json" "$root/node_modules/.package-lock.json" "$root"
}
if [ $npm_needed -eq 1 ] && ! npm_current; then
    echo "Installing the npm packages of package-lock.json"
    (cd "$root" && npm ci --no-audit --no-fund --silent)
fi
