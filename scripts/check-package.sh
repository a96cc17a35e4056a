#!/usr/bin/env bash
# Checks the Debian package that `make package` left in BUILD_DIR: it holds exactly the files
# a user needs (both programs, the companion's manual page, the desktop entry, the metainfo,
# the calculation files' MIME type, the icons, the samples), its library dependencies were computed from the binaries, and the
# companion it carries runs.
# Run from the source folder. Usage: check-package.sh BUILD_DIR
set -euo pipefail
build=$1
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb="$build/quendal_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { echo "check-package: no $deb" >&2; exit 1; }

id=org.quendal.Quendal
expected=$(
    {
        echo usr/bin/quendal
        echo usr/bin/quendal-calc
        echo usr/share/man/man1/quendal-calc.1
        echo "usr/share/applications/$id.desktop"
        echo "usr/share/metainfo/$id.metainfo.xml"
        echo "usr/share/mime/packages/$id.xml"
        (cd app/icons && find hicolor -type f -printf 'usr/share/icons/%p\n')
        (cd data && find . -maxdepth 1 \( -name '*.urc' -o -name '*.txt' \) \
            -printf 'usr/share/quendal/data/%P\n')
    } | sort
)
actual=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./||' | sort)
if [ "$actual" != "$expected" ]; then
    echo "check-package: $deb does not hold the expected files:" >&2
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    exit 1
fi

depends=$(dpkg-deb -f "$deb" Depends)
if ! grep -q 'libqt6charts6' <<<"$depends"; then
    echo "check-package: the dependencies were not computed from the binaries: $depends" >&2
    exit 1
fi

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
if ! printed=$("$root/usr/bin/quendal-calc" --version 2>&1) || ! grep -qF "$version" <<<"$printed"; then
    echo "check-package: the packaged quendal-calc --version did not print version $version:" >&2
    echo "$printed" | head -n 3 >&2
    exit 1
fi
echo "check-package: $deb ($(du -k "$deb" | cut -f1) KiB) holds the" \
    "$(wc -l <<<"$actual") expected files; its quendal-calc prints '$printed'"
