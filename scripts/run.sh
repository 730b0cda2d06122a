#!/usr/bin/env bash
# Installs what is missing, builds Grain Mix and opens its window.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${GRAINMIX_BUILD_DIR:-$here/build}

bash "$here/scripts/deps.sh" window
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGRAINMIX_TESTS=OFF -DGRAINMIX_BENCH=OFF >/dev/null
cmake --build "$build" --target grainmix
exec "$build/app/grainmix"
