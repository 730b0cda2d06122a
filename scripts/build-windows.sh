#!/usr/bin/env bash
# Cross-builds the 32-bit Windows program with mingw-w64.
# Usage: scripts/build-windows.sh [build-dir]   (default: build-windows)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build-windows}"

bash "$root/scripts/deps.sh" windows

cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/i686-w64-mingw32.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DGRAINMIX_QT=OFF -DGRAINMIX_BENCH=OFF -DGRAINMIX_TESTS=OFF
cmake --build "$build" --target grainmix

exe="$build/app/grainmix.exe"
echo "Built $exe ($(stat -c %s "$exe") bytes)"
