#!/usr/bin/env bash
# Redraws the Windows icon from the scalable one; run after changing the SVG.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/deps.sh" icon
/usr/bin/convert -background none -density 384 "$here/dist/org.example.GrainMix.svg" \
    -define icon:auto-resize=256,48,32,16 "$here/dist/grainmix.ico"
