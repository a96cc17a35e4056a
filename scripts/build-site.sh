#!/usr/bin/env bash
# Puts the page together in BUILD/site: the page's own files (web/), the core that emscripten
# built in BUILD (quendal_web.js and .wasm), the page's catalogues of every i18n/quendal_*.ts,
# the chart library from node_modules and the icons.
set -euo pipefail
build="$1"
root="$(cd "$(dirname "$0")/.." && pwd)"
site="$build/site"
rm -rf "$site"
mkdir -p "$site/lib" "$site/icons"
cp "$root"/web/*.html "$root"/web/*.js "$root"/web/*.css "$root"/web/*.webmanifest "$site/"
cp "$build/bin/quendal_web.js" "$build/bin/quendal_web.wasm" "$site/" 2>/dev/null ||
    cp "$build/web/quendal_web.js" "$build/web/quendal_web.wasm" "$site/"
cp "$root/node_modules/uplot/dist/uPlot.esm.js" "$root/node_modules/uplot/dist/uPlot.min.css" \
    "$site/lib/"
cp "$root/app/icons/hicolor/scalable/apps/org.quendal.Quendal.svg" "$site/icons/quendal.svg"
cp "$root/app/icons/hicolor/128x128/apps/org.quendal.Quendal.png" "$site/icons/quendal-128.png"
# The sizes an installed app asks for, drawn once per build folder by the icon's own script.
for size in 192 512; do
    icon="$build/icons/quendal-$size.png"
    if [ ! -f "$icon" ]; then
        mkdir -p "$build/icons"
        python3 -c "import sys; sys.path.insert(0, sys.argv[1]); import make_icon as m
open(sys.argv[3], 'wb').write(m.png(int(sys.argv[2]), m.render(int(sys.argv[2]))))" \
            "$root/app/icons" "$size" "$icon"
    fi
    cp "$icon" "$site/icons/"
done
# The page's texts in every language of i18n/ (and their names), which the service worker keeps.
python3 "$root/scripts/catalogue.py" --json "$site/i18n" "$root"/i18n/quendal_*.ts
python3 "$root/scripts/catalogue.py" --manifest "$site/manifest.webmanifest" "$root"/i18n/quendal_*.ts
catalogues=$(cd "$site" && find i18n -name '*.json' | sort | sed "s/.*/'&'/" | paste -sd, |
    sed 's/,/, /g')
sed -i "s|'@CATALOGUES@'|$catalogues|" "$site/sw.js"
# The build's id, a hash of its files: the service worker keeps each build's files apart under
# it, and the page and its workers carry it, so that they never mix two builds.
version=$(cd "$site" && find . -type f | sort | xargs sha256sum | sha256sum | cut -c1-16)
sed -i "s/@SITE_VERSION@/$version/" "$site/sw.js" "$site/core_module.js"
grep -q "$version" "$site/sw.js" && grep -q "$version" "$site/core_module.js"
du -cb "$site"/* "$site"/lib/* "$site"/icons/* | tail -1 | awk '{print "site: " $1 " bytes"}'
