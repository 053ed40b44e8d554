#!/usr/bin/env bash
# Renders the desktop icon into the icon theme's fixed sizes. The PNGs are
# committed; run this (it needs rsvg-convert from librsvg2-bin) only after
# changing ombrel.svg.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" ombrel.svg --output "ombrel-$size.png"
done
