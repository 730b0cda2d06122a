#!/usr/bin/env bash
# Builds the packages users install: the Debian package (deb) or the Windows
# ZIP (zip). Prints where the package is.
#   bash scripts/package.sh deb|zip [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:?usage: package.sh deb|zip [build-dir]}

case "$kind" in
deb)
    bash "$here/scripts/deps.sh" window deb
    build=${2:-$here/build-deb}
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGRAINMIX_TESTS=OFF \
        -DGRAINMIX_BENCH=OFF >/dev/null
    ;;
zip)
    bash "$here/scripts/deps.sh" windows
    build=${2:-$here/build-windows}
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel -DGRAINMIX_QT=OFF \
        -DGRAINMIX_TESTS=OFF -DGRAINMIX_BENCH=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$here/cmake/i686-w64-mingw32.cmake" >/dev/null
    ;;
*)
    echo "usage: package.sh deb|zip [build-dir]" >&2
    exit 2
    ;;
esac
cmake --build "$build" --target grainmix
(cd "$build" && cpack -B "$build/packages" >/dev/null)
ls "$build"/packages/grainmix[_-]*.{deb,zip} 2>/dev/null
