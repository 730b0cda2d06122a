#!/usr/bin/env bash
# Installs what is missing, builds Grain Mix for the browser and serves the
# page on this machine, printing its address.
#   bash scripts/web.sh [port]        (default 8080)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${GRAINMIX_WEB_BUILD_DIR:-$here/build-web}")
port=${1:-8080}

bash "$here/scripts/deps.sh" web
# The web preset, whose tests scripts/test-web.sh runs in the same folder.
cd "$here"
cmake --preset web -B "$build" >/dev/null
cmake --build "$build" --target grainmix
echo "Grain Mix is at http://127.0.0.1:$port/ (the folder is $build/web; Ctrl+C stops serving it)."
exec /usr/bin/python3 -m http.server --bind 127.0.0.1 --directory "$build/web" "$port"
