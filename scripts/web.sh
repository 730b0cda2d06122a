#!/usr/bin/env bash
# Installs what is missing, builds Grain Mix for the browser and serves the
# page on this machine, printing its address.
#   bash scripts/web.sh [port]        (default 8080)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${GRAINMIX_WEB_BUILD_DIR:-$here/build-web}
port=${1:-8080}

bash "$here/scripts/deps.sh" web
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/wasm32-emscripten.cmake" \
    -DGRAINMIX_QT=OFF -DGRAINMIX_BENCH=OFF -DGRAINMIX_GTEST_SOURCE=ON >/dev/null
cmake --build "$build" --target grainmix
echo "Grain Mix is at http://127.0.0.1:$port/ (the folder is $build/web; Ctrl+C stops serving it)."
exec /usr/bin/python3 -m http.server --bind 127.0.0.1 --directory "$build/web" "$port"
