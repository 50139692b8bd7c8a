#!/usr/bin/env bash
# Renders the icon sizes the desktop's icon theme wants from resources/icons/scorewell.svg. Run it
# after changing the drawing and commit the PNGs, so that builds need no converter.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
command -v rsvg-convert >/dev/null || bash "$root/tools/setup.sh" librsvg2-bin
for size in 16 32 48 64 128 256; do
    mkdir -p "$root/resources/icons/${size}x${size}"
    rsvg-convert -w "$size" -h "$size" "$root/resources/icons/scorewell.svg" \
        -o "$root/resources/icons/${size}x${size}/scorewell.png"
done
