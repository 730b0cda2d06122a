#!/usr/bin/env bash
# Cross-builds the 32-bit Windows program with mingw-w64.
# Usage: scripts/build-windows.sh [build-dir]   (default: build-windows)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build=$(realpath -m "${1:-$root/build-windows}")

bash "$root/scripts/deps.sh" windows

# The windows preset, whose tests scripts/test-windows.sh runs in the same
# folder; only the program is built here.
cd "$root"
cmake --preset windows -B "$build"
cmake --build "$build" --target grainmix

exe="$build/app/grainmix.exe"
echo "Built $exe ($(stat -c %s "$exe") bytes)"
