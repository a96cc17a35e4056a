#!/usr/bin/env bash
# Installs the Debian packages that building, testing, packaging and running Quendal need.
# Does nothing when everything is already there. With --list, prints the names and stops.
set -euo pipefail

packages=(
    g++ cmake ninja-build make pkg-config python3
    qt6-base-dev qt6-charts-dev qt6-svg-dev libqt6opengl6-dev libgl-dev qt6-translations-l10n
    libcli11-dev libgtest-dev libgmock-dev libbenchmark-dev libtbb-dev
    clang libclang-rt-dev clang-format llvm
    fonts-dejavu-core xvfb xauth
    desktop-file-utils appstream shared-mime-info libglib2.0-bin dpkg-dev file
    g++-aarch64-linux-gnu qemu-user googletest emscripten
    chromium chromium-driver python3-selenium
)

if [ "${1:-}" = "--list" ]; then
    printf '%s\n' "${packages[@]}"
    exit 0
fi

missing=()
# npm for the page's libraries: Debian's, unless a node installed otherwise brings its own.
command -v npm >/dev/null 2>&1 || missing+=(npm)
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

install_npm() {
    # The page's libraries, as package-lock.json pins them.
    if [ ! -d "$root/node_modules/uplot" ]; then
        (cd "$root" && npm ci --no-audit --no-fund --silent)
    fi
}

root="$(cd "$(dirname "$0")/.." && pwd)"
if [ ${#missing[@]} -eq 0 ]; then
    install_npm
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
install_npm
