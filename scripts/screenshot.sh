#!/usr/bin/env bash
# Renders the window as it opens into docs/screenshot.png, with no desktop:
# Qt's offscreen platform draws it and QWidget::grab() takes the picture.
#   scripts/screenshot.sh [BUILD_DIR] [OUTPUT.png]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build-screenshot}")
output=$(realpath -m "${2:-$root/docs/screenshot.png}")

bash "$root/scripts/deps.sh" window
cd "$root"
if [ ! -f "$build/build.ninja" ] && [ ! -f "$build/Makefile" ]; then
    cmake --preset app -B "$build"
fi
cmake --build "$build" --target grainmix_screenshot
QT_QPA_PLATFORM=offscreen "$build/window/qt/grainmix_screenshot" "$output"
echo "wrote $output"
