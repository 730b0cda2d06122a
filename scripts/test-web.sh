#!/usr/bin/env bash
# Builds Grain Mix for the browser with its tests: the core's whole suite runs
# as WebAssembly under Node.js, and the page, served on localhost, is driven
# in headless Chromium. Then makes the web ZIP.
#   bash scripts/test-web.sh [build-dir]   (default: build-web)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build-web}

bash "$here/scripts/deps.sh" web
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/wasm32-emscripten.cmake" \
    -DGRAINMIX_QT=OFF -DGRAINMIX_BENCH=OFF -DGRAINMIX_GTEST_SOURCE=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
cmake --build "$build" --target web_zip
ls "$build"/packages/grainmix-*-web.zip
