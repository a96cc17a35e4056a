#!/usr/bin/env bash
# Checks the calculation files' MIME type (app/desktop/org.quendal.Quendal.mime.xml): it builds
# into a MIME database without a warning, and in that database a calculation file is known by
# its name (*.cal) and, under another name, by its first line.
# Run from the source folder.
set -euo pipefail
type=application/x-quendal-calculation
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/share/mime/packages" "$root/home"
cp /usr/share/mime/packages/freedesktop.org.xml "$root/share/mime/packages/"
cp app/desktop/org.quendal.Quendal.mime.xml "$root/share/mime/packages/org.quendal.Quendal.xml"
if ! out=$(XDG_DATA_DIRS="$root/share" XDG_DATA_HOME="$root/home" \
    update-mime-database "$root/share/mime" 2>&1) || [ -n "$out" ]; then
    echo "check-mime: update-mime-database: $out" >&2
    exit 1
fi
printf '[QuendalCalculation]\nVersion=1\n' >"$root/colony.cal"
cp "$root/colony.cal" "$root/colony-without-extension"
for file in colony.cal colony-without-extension; do
    found=$(XDG_DATA_DIRS="$root/share" XDG_DATA_HOME="$root/home" \
        gio info -a standard::content-type "$root/$file" | sed -n 's/^ *standard::content-type: //p')
    if [ "$found" != "$type" ]; then
        echo "check-mime: $file is taken for '$found', not $type" >&2
        exit 1
    fi
done
echo "check-mime: calculation files are $type by name and by their first line"
