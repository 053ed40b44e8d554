#!/usr/bin/env bash
# Draws the program's pictures with ImageMagick. The PNGs are committed; run
# this only to change them.
set -euo pipefail
cd "$(dirname "$0")/pictures"
FONT=DejaVu-Sans
BOLD=DejaVu-Sans-Bold

# Splash: 476 x 316, an umbrella over the name.
convert -size 476x316 gradient:'#16324f'-'#3d6e96' \
    -fill '#e4572e' -stroke '#f3f1e8' -strokewidth 2 \
    -draw "path 'M 300,150 A 90,80 0 0 1 460,150 Q 440,135 420,150 Q 400,135 380,150 Q 360,135 340,150 Q 320,135 300,150 Z'" \
    -stroke '#f3f1e8' -strokewidth 5 -fill none \
    -draw "line 380,96 380,106" -draw "path 'M 380,150 L 380,232 Q 380,248 366,248 Q 354,248 354,236'" \
    -stroke none -fill '#f3f1e8' -font $BOLD -pointsize 64 -annotate +28+128 'Ombrel' \
    -font $FONT -pointsize 19 -fill '#cfe0ee' -annotate +32+162 'network webcam viewer' \
    -pointsize 15 -annotate +32+270 'Quenfield' -annotate +32+292 'Version 2.01' \
    -fill '#9fb8cc' -annotate +290+292 'www.quenfield.example' \
    splash.png

# Refresh indicator: a circular arrow, 21 x 17 (the box it sits in).
convert -size 84x68 xc:none -stroke '#1b7f3b' -strokewidth 10 -fill none \
    -draw "arc 18,10 66,58 30,295" -stroke none -fill '#1b7f3b' \
    -draw "polygon 70,22 62,0 44,26" -resize 21x17 picrefresh.png

# The full-screen view's refresh indicator, 48 x 48: the same arrow on a
# light disc, so that it shows over any picture.
convert -size 192x192 xc:none -fill '#f3f1e8c0' -stroke none -draw "circle 96,96 96,6" \
    -stroke '#1b7f3b' -strokewidth 22 -fill none -draw "arc 44,44 148,148 30,290" -stroke none \
    -fill '#1b7f3b' -draw "polygon 160,68 140,18 104,76" -resize 48x48 -depth 8 picrefresh48.png

# Closed panel and not-found pictures, 85 x 64.
convert -size 85x64 xc:'#2b2f36' -fill '#3a4049' -draw "rectangle 0,44 85,64" \
    -fill '#59616d' -font $FONT -pointsize 10 -gravity center -annotate +0-6 'no picture' blank.png
convert -size 85x64 xc:'#3b2326' -stroke '#d9534f' -strokewidth 3 -fill none \
    -draw "rectangle 30,10 55,32" -draw "line 30,10 55,32" -stroke none \
    -fill '#f0c8c6' -font $BOLD -pointsize 10 -gravity south -annotate +0+8 'not found' notfound.png

# Button pictures, 16 x 16.
icon() { local out=$1; shift; convert -size 64x64 xc:none "$@" -resize 16x16 "$out"; }
icon add.png -fill '#2e8b57' -draw "rectangle 26,8 38,56" -draw "rectangle 8,26 56,38"
icon remove.png -stroke '#c0392b' -strokewidth 12 -draw "line 12,12 52,52" -draw "line 52,12 12,52"
icon edit.png -fill '#d68910' -draw "polygon 10,54 14,40 44,10 54,20 24,50" -fill '#5d4037' -draw "polygon 10,54 14,40 24,50"
icon start.png -fill '#2e86c1' -draw "polygon 14,8 56,32 14,56"
icon stopall.png -fill '#7b241c' -draw "roundrectangle 10,10 54,54 6,6"
icon website.png -fill none -stroke '#1f618d' -strokewidth 5 -draw "circle 32,32 32,6" \
    -draw "ellipse 32,32 12,26 0,360" -draw "line 6,32 58,32"
convert picrefresh.png -background none -gravity center -extent 21x21 -resize 16x16 refresh.png
convert -size 256x256 gradient:'#16324f'-'#3d6e96' \
    -fill '#e4572e' -draw "path 'M 28,140 A 100,90 0 0 1 228,140 Z'" \
    -stroke '#f3f1e8' -strokewidth 14 -fill none -draw "path 'M 128,140 L 128,210 Q 128,232 106,232 Q 88,232 88,214'" \
    ombrel.png
