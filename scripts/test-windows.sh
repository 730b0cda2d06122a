#!/usr/bin/env bash
# Cross-builds the Windows program with its tests and runs them under Wine on
# a virtual X display, in a Wine prefix of its own that is thrown away after.
# Usage: scripts/test-windows.sh [build-dir]   (default: build-<preset>)
# The preset is windows, the 32-bit program; GRAINMIX_WINDOWS_PRESET=windows64
# builds and tests the 64-bit program instead, where the machine runs no
# 32-bit code.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
preset=${GRAINMIX_WINDOWS_PRESET:-windows}
case "$preset" in
windows | windows64) ;;
*) echo "test-windows.sh: GRAINMIX_WINDOWS_PRESET is windows or windows64, not $preset" >&2; exit 2 ;;
esac
build=$(realpath -m "${1:-$root/build-$preset}")
started=$SECONDS

bash "$root/scripts/deps.sh" windows wine

cd "$root"
cmake --preset "$preset" -B "$build"
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
    # Each test program runs once, all its tests in one process: Wine takes a
    # second or so to start a program, which, for every test on its own (as
    # the ctest preset runs them), adds up to minutes.
    find "$1/tests" -name "*_tests.exe" | sort | while read -r tests; do
        echo "$(basename "$tests"):"
        "$wine" "$tests" --gtest_brief=1 </dev/null
    done
    for dpi in 120 144 192; do
        "$wine" reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d $dpi /f \
            >/dev/null 2>&1
        echo "Captions at $dpi DPI:"
        "$wine" "$1/tests/window/win32/win32_window_tests.exe" \
            --gtest_filter="*EveryCaptionFits*:*AnotherScale*" --gtest_brief=1
    done
' bash "$build" "$wine" "$preset" || status=$?

echo "Built in $((built - started)) s, tested in $((SECONDS - built)) s."
exit $status
