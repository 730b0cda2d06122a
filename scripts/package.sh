#!/usr/bin/env bash
# Builds the packages users install: the Debian package (deb), the Windows
# ZIP (zip), the Windows installer (setup) or the web page's ZIP (web). Prints
# where the package is.
#   bash scripts/package.sh deb|zip|setup|web [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:?usage: package.sh deb|zip|setup|web [build-dir]}

bash "$here/scripts/deps.sh"
case "$kind" in
deb)
    build=${2:-$here/build-deb}
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGRAINMIX_TESTS=OFF \
        -DGRAINMIX_BENCH=OFF >/dev/null
    ;;
zip | setup)
    build=${2:-$here/build-windows}
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel -DGRAINMIX_QT=OFF \
        -DGRAINMIX_TESTS=OFF -DGRAINMIX_BENCH=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$here/cmake/i686-w64-mingw32.cmake" >/dev/null
    ;;
web)
    build=${2:-$here/build-web}
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel -DGRAINMIX_QT=OFF \
        -DGRAINMIX_TESTS=OFF -DGRAINMIX_BENCH=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$here/cmake/wasm32-emscripten.cmake" >/dev/null
    cmake --build "$build" --target web_zip
    ls "$build"/packages/grainmix-*-web.zip
    exit 0
    ;;
*)
    echo "usage: package.sh deb|zip|setup|web [build-dir]" >&2
    exit 2
    ;;
esac
if [ "$kind" = setup ]; then
    cmake --build "$build" --target setup
    ls "$build"/packages/grainmix-*-setup.exe
    exit 0
fi
cmake --build "$build" --target grainmix
(cd "$build" && cpack -B "$build/packages" >/dev/null)
ls "$build"/packages/grainmix[_-]*.{deb,zip} 2>/dev/null
