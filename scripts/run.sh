#!/usr/bin/env bash
# Installs what is missing, builds Grain Mix and opens its window.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${GRAINMIX_BUILD_DIR:-$here/build-app}")

bash "$here/scripts/deps.sh" window
cd "$here"
# The program alone: the app preset.
cmake --preset app -B "$build" >/dev/null
cmake --build "$build" --target grainmix
exec "$build/app/grainmix"
