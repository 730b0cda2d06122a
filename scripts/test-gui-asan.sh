#!/usr/bin/env bash
# Builds Grain Mix with AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer and runs every test, the offscreen window tests
# included. Qt and the libraries under it keep a few allocations for the life
# of the process; tests/lsan-qt.supp names each one and says why it is benign.
# Usage: scripts/test-gui-asan.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$here/build-gui-asan}

cmake -S "$here" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DGRAINMIX_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$out" -j "$(nproc)"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$here/tests/lsan-qt.supp:print_suppressions=0
# A modal box that no test dismisses would otherwise wait for ever.
ctest --test-dir "$out" --output-on-failure --timeout 300 -j "$(nproc)"
