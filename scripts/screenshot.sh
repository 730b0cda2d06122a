#!/usr/bin/env bash
# Renders the window as it opens into docs/screenshot.png, with no desktop:
# Qt's offscreen platform draws it and QWidget::grab() takes the picture.
# Builds with the app preset, in its folder unless one is given.
#   bash scripts/screenshot.sh [BUILD_DIR] [OUTPUT.png]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
output=$(realpath -m "${2:-$here/docs/screenshot.png}")
folder=()
[ -z "${1:-}" ] || folder=(-B "$(realpath -m "$1")")

bash "$here/scripts/deps.sh" window
cd "$here"
build=$(cmake --preset app "${folder[@]}" | sed -n 's/^-- Build files have been written to: //p')
cmake --build "$build" --target grainmix_screenshot
QT_QPA_PLATFORM=offscreen "$build/window/qt/grainmix_screenshot" "$output"
echo "wrote $output"
