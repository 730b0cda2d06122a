#!/usr/bin/env bash
# Installs what is missing, builds every variant of Grain Mix and runs all of
# its tests: the Linux program with its offscreen window tests and its package,
# a check that it writes nothing, a screen reader's reading of the window,
# everything again under AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer, the core as a 32-bit x86 build, the Windows
# program, its ZIP and its installer under Wine, the web page in headless
# Chromium, and the fuzz targets for a bounded time.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${GRAINMIX_TEST_DIR:-$here/build-test}")
# The presets are read from the current folder.
cd "$here"
jobs=$(nproc)

bash "$here/scripts/deps.sh" test

step() { printf '\n=== %s\n' "$*"; }

# Where the machine runs no 32-bit code, the Windows program and its installer
# are tested as a 64-bit build under 64-bit Wine, and the 32-bit core is built
# but not run.
if bash "$here/scripts/runs-32bit.sh"; then
    runs32bit=yes
else
    runs32bit=no
    export GRAINMIX_WINDOWS_PRESET=windows64
    echo "NOTE: this machine runs no 32-bit x86 code; 32-bit programs are built but not run."
fi

step "Formatting"
(cd "$here" && git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror)

step "Licence and copyright of every file (reuse lint)"
(cd "$here" && reuse lint)

step "Linux program, core and window tests"
cmake --preset linux -B "$out/linux" >/dev/null
cmake --build "$out/linux" -j "$jobs"
ctest --preset linux --test-dir "$out/linux" -j "$jobs"

step "Packages built twice, in two folders: byte for byte the same"
bash "$here/scripts/check-reproducible.sh" "$out/release"

step "Linux package: launcher, description, lintian, install, start"
bash "$here/scripts/check-package.sh" "$out/linux" "$(ls "$out"/release/a/deb/packages/grainmix_*.deb)"

step "Nothing written, no network: the program under strace"
bash "$here/scripts/check-no-writes.sh" "$out/linux"

step "What a screen reader reads"
bash "$here/scripts/check-screen-reader.sh" "$out/linux"

step "Everything, the window tests included, under AddressSanitizer, LeakSanitizer and UBSan"
bash "$here/scripts/test-gui-asan.sh" "$out/asan"

step "Core as a 32-bit x86 build"
cmake --preset i686 -B "$out/i686" >/dev/null
cmake --build "$out/i686" -j "$jobs"
if [ "$runs32bit" = yes ]; then
    ctest --preset i686 --test-dir "$out/i686" -j "$jobs"
else
    echo "SKIPPED: this machine runs no 32-bit x86 code, so the 32-bit core is built but not run."
fi

step "Windows program under Wine"
bash "$here/scripts/test-windows.sh" "$out/windows"

step "Windows ZIP"
bash "$here/scripts/check-zip.sh" "$(ls "$out"/release/a/zip/packages/grainmix-*-win32.zip)"

step "Windows installer: silent install, Start menu, Exit, silent uninstall"
# The installer of the build tested above: 64-bit where the machine runs no
# 32-bit code. Users' 32-bit installer was built twice above.
bash "$here/scripts/check-installer.sh" "$out/windows"

step "Web page: the core as WebAssembly under Node.js, the page in headless Chromium, the web ZIP"
bash "$here/scripts/test-web.sh" "$out/web"

step "Fuzz targets"
FUZZ_SECONDS=${FUZZ_SECONDS:-30} bash "$here/scripts/fuzz.sh" "$out/fuzz"

step "All tests passed"
