#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Quendal need.
# Does nothing when everything is already there.
set -euo pipefail

packages=(
    g++ cmake ninja-build make pkg-config
    qt6-base-dev qt6-charts-dev libgl-dev
    libcli11-dev libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-dev clang-format
    fonts-dejavu-core xvfb xauth
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
