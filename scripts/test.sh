#!/usr/bin/env bash
# Installs what is missing, builds every variant of Grain Mix and runs all of
# its tests: the Linux program with its offscreen window tests, the core under
# AddressSanitizer and UndefinedBehaviorSanitizer, the core as a 32-bit x86
# build, the Windows program under Wine, and the fuzz targets for a bounded time.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=${GRAINMIX_TEST_DIR:-/tmp/grainmix-test}
jobs=$(nproc)

bash "$here/scripts/deps.sh"

step() { printf '\n=== %s\n' "$*"; }

step "Linux program, core and window tests"
cmake -S "$here" -B "$out/linux" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$out/linux" -j "$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$out/linux" --output-on-failure -j "$jobs"

step "Linux package: launcher, description, install, start"
bash "$here/scripts/check-package.sh" "$out/linux"

step "Core under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S "$here" -B "$out/asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DGRAINMIX_QT=OFF \
    -DGRAINMIX_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
    >/dev/null
cmake --build "$out/asan" -j "$jobs"
ctest --test-dir "$out/asan" --output-on-failure -j "$jobs"

step "Core as a 32-bit x86 build"
cmake -S "$here" -B "$out/i686" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGRAINMIX_QT=OFF \
    -DGRAINMIX_BENCH=OFF -DGRAINMIX_GTEST_SOURCE=ON \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/i686-linux-gnu.cmake" >/dev/null
cmake --build "$out/i686" -j "$jobs"
ctest --test-dir "$out/i686" --output-on-failure -j "$jobs"

if [ -f "$here/scripts/test-windows.sh" ]; then
    step "Windows program under Wine"
    bash "$here/scripts/test-windows.sh" "$out/windows"
fi

if [ -f "$here/scripts/fuzz.sh" ]; then
    step "Fuzz targets"
    bash "$here/scripts/fuzz.sh" "$out/fuzz"
fi

step "All tests passed"
