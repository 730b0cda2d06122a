#!/usr/bin/env bash
# Cross-builds the Windows program with its tests and runs them under Wine on
# a virtual X display, in a Wine prefix of its own that is thrown away after.
# Usage: scripts/test-windows.sh [build-dir]   (default: build-windows-tests)
# GRAINMIX_WINDOWS_TOOLCHAIN=cmake/x86_64-w64-mingw32.cmake builds and tests
# the 64-bit program instead, where the machine runs no 32-bit code.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build-windows-tests}"
started=$SECONDS

bash "$root/scripts/deps.sh" windows wine

cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="${GRAINMIX_WINDOWS_TOOLCHAIN:-$root/cmake/i686-w64-mingw32.cmake}" \
    -DCMAKE_BUILD_TYPE=Release \
    -DGRAINMIX_QT=OFF -DGRAINMIX_BENCH=OFF -DGRAINMIX_TESTS=ON -DGRAINMIX_GTEST_SOURCE=ON
cmake --build "$build"
built=$SECONDS
wine=$(sed -n 's/^GRAINMIX_WINE:FILEPATH=//p' "$build/CMakeCache.txt")

WINEPREFIX="$(mktemp -d /tmp/grainmix-wine.XXXXXX)"
export WINEPREFIX WINEDEBUG=-all
cleanUp() {
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
}
trap cleanUp EXIT

# Everything that talks to Wine runs on the one virtual display: a prefix set
# up without a display would leave Wine unable to open windows later.
# Without a window manager Wine waits for one on every window it hides, a
# second or two each; unmanaged windows need no manager. The screen is large
# enough for the window at 192 DPI.
# Then the captions are measured again at 120, 144 and 192 DPI: Wine takes
# the DPI from the registry when a program starts.
status=0
xvfb-run -a -s "-screen 0 2560x1600x24" bash -c '
    set -euo pipefail
    wine=$2
    # One server for the whole run, started first: one that quits whenever
    # its last program ends can drop the next program while it connects.
    wineserver -p
    WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot -i >/dev/null 2>&1
    "$wine" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
    ctest --test-dir "$1" --output-on-failure -j "$(nproc)"
    for dpi in 120 144 192; do
        "$wine" reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d $dpi /f \
            >/dev/null 2>&1
        echo "Captions at $dpi DPI:"
        "$wine" "$1/tests/window/win32/win32_window_tests.exe" \
            --gtest_filter="*EveryCaptionFits*:*AnotherScale*" --gtest_brief=1
    done
' bash "$build" "$wine" || status=$?

echo "Built in $((built - started)) s, tested in $((SECONDS - built)) s."
exit $status
