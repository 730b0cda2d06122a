#!/usr/bin/env bash
# Builds Grain Mix for the browser with its tests: the core's whole suite runs
# as WebAssembly under Node.js, and the page, served on localhost, is driven
# in headless Chromium. Then makes the web ZIP.
#   bash scripts/test-web.sh [build-dir]   (default: build-web)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$here/build-web}")

bash "$here/scripts/deps.sh" web
cd "$here"
cmake --preset web -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)"
ctest --preset web --test-dir "$build" -j "$(nproc)"
cmake --build "$build" --target web_zip
ls "$build"/packages/grainmix-*-web.zip
