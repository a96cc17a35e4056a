#!/usr/bin/env bash
# Puts the page together in BUILD/site: the page's own files (web/), the core that emscripten
# built in BUILD (quendal_web.js and .wasm), the chart library from node_modules and the icons.
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
for size in 128; do
    if [ -f "$root/app/icons/hicolor/${size}x${size}/apps/org.quendal.Quendal.png" ]; then
        cp "$root/app/icons/hicolor/${size}x${size}/apps/org.quendal.Quendal.png" \
            "$site/icons/quendal-$size.png"
    fi
done
# The service worker's cache is named after the files it keeps, so that a new build replaces
# the old cache on the next visit.
version=$(cd "$site" && find . -type f ! -name sw.js | sort | xargs sha256sum | sha256sum |
    cut -c1-16)
sed -i "s/@SITE_VERSION@/$version/" "$site/sw.js"
du -cb "$site"/* "$site"/lib/* "$site"/icons/* | tail -1 | awk '{print "site: " $1 " bytes"}'
