#!/usr/bin/env bash
# Builds Grain Mix with AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer and runs every test, the offscreen window tests
# included. Qt and the libraries under it keep a few allocations for the life
# of the process; tests/lsan-qt.supp names each one and says why it is benign.
# Usage: scripts/test-gui-asan.sh [build-dir]   (default: build-asan)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$here/build-asan}")

cd "$here"
cmake --preset asan -B "$out" >/dev/null
cmake --build "$out" -j "$(nproc)"

# The asan test preset runs Qt offscreen, sets the sanitizers' options and
# the suppressions, and gives each test 300 s: a modal box that no test
# dismisses would otherwise wait for ever.
ctest --preset asan --test-dir "$out" -j "$(nproc)"
