#!/usr/bin/env bash
# Installs what is missing, builds Grain Mix and opens it:
#   bash scripts/run.sh [qt]         the window on this desktop (the app preset)
#   bash scripts/run.sh web [PORT]   the page, served on 127.0.0.1:PORT (default
#                                    8080) until Ctrl+C (the web preset)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
configure() { cmake --preset "$1" | sed -n 's/^-- Build files have been written to: //p'; }

case "${1:-qt}" in
qt)
    bash "$here/scripts/deps.sh" window
    build=$(configure app)
    cmake --build "$build" --target grainmix
    exec "$build/app/grainmix"
    ;;
web)
    port=${2:-8080}
    bash "$here/scripts/deps.sh" web
    build=$(configure web)
    cmake --build "$build" --target grainmix
    echo "Grain Mix is at http://127.0.0.1:$port/ (the folder is $build/web; Ctrl+C stops serving it)."
    exec python3 -m http.server --bind 127.0.0.1 --directory "$build/web" "$port"
    ;;
*)
    echo "usage: run.sh [qt | web [port]]" >&2
    exit 2
    ;;
esac
