#!/usr/bin/env bash
# Redraws the Windows icon and the web page's PNG icons from the scalable one;
# run after changing the SVG.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/deps.sh" icon
svg="$here/dist/org.example.GrainMix.svg"
web="$here/dist/web"
/usr/bin/convert -background none -density 384 "$svg" \
    -define icon:auto-resize=256,48,32,16 "$here/dist/grainmix.ico"
# rsvg-convert draws the PNGs at their own size; the PNGs carry no time.
png=(-strip -define png:exclude-chunks=date,time -define png:compression-level=9)
for size in 192 512; do
    /usr/bin/rsvg-convert -w "$size" -h "$size" "$svg" |
        /usr/bin/convert png:- "${png[@]}" "$web/grainmix-$size.png"
done
# A maskable icon is cut to the launcher's own shape: the drawing stays inside
# the middle circle (four fifths of the width), on the page's background colour.
/usr/bin/rsvg-convert -w 360 -h 360 "$svg" |
    /usr/bin/convert png:- -background '#d8dde0' -gravity center -extent 512x512 \
        -alpha remove -alpha off "${png[@]}" "$web/grainmix-maskable-512.png"
