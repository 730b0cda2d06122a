#!/usr/bin/env bash
# Installs what is missing, builds every variant of Grain Mix and runs all of
# its tests, in this order: formatting, licences, the Linux program with its
# window and desktop tests, the release check (every package built twice and
# compared, the Debian package installed and run, the Windows ZIP), everything
# again under the sanitizers, the core as 32-bit x86, the Windows program
# under Wine, the web page in headless Chromium, and the fuzz targets for a
# bounded time. Every build is a preset's, in the preset's folder.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
# The presets are read from the current folder.
cd "$here"
export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$(nproc)}
# deps.sh installs everything every test needs, so here a test that finds
# something missing fails instead of skipping.
export GRAINMIX_REQUIRE_ALL_TESTS=1

bash scripts/deps.sh test

# The release check's Debian 13 root, made once per machine, mostly waits on
# the network: it is made while the first steps build.
log=$(mktemp) rootLog=$(mktemp)
bash scripts/check-release.sh --root >"$rootLog" 2>&1 &
rootJob=$!
trap 'kill "$rootJob" 2>/dev/null || true; rm -f "$log" "$rootLog"' EXIT

started=$SECONDS
times=()
step() {
    [ -z "${stepName:-}" ] || times+=("$(printf '%5d s  %s' $((SECONDS - stepStart)) "$stepName")")
    stepName=$1 stepStart=$SECONDS
    printf '\n=== %s\n' "$1"
}

step "Formatting"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror

step "Licence and copyright of every file (reuse lint)"
reuse lint

step "Linux: core, window offscreen, desktop (strace, screen reader) on a virtual display"
cmake --workflow --preset linux

step "Release: packages built twice, Debian package installed and run, Windows ZIP"
wait "$rootJob" || { cat "$rootLog" >&2; exit 1; }
cat "$rootLog"
bash scripts/check-release.sh

step "Everything, the window tests included, under AddressSanitizer, LeakSanitizer and UBSan"
cmake --workflow --preset asan

step "Core as 32-bit x86"
cmake --workflow --preset i686 | tee "$log"
# The configure step says whether the tests ran natively or under QEMU.
i686Ran=$(sed -n 's/^-- \(Tests run .*\)/\1/p' "$log")

# Where this machine runs no 32-bit code (the 32-bit build's configure step
# found out), or deps.sh could not install Wine's 32-bit half, the 64-bit
# Windows program under 64-bit Wine.
windows=windows why=
case "$i686Ran" in
"Tests run natively"*) ;;
*) windows=windows64 why=" (this machine runs no 32-bit code)" ;;
esac
if [ $windows = windows ] &&
    ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
    windows=windows64 why=" (Wine's 32-bit half is not installed)"
fi
step "Windows program under Wine ($windows preset)"
cmake --workflow --preset "$windows"

step "Web: the core under Node.js, the page in Chromium, WebKit and Firefox"
cmake --workflow --preset web
# Each engine's own count, which CTest keeps in its log.
engines=$(grep -E '^(chromium|webkit|firefox): [0-9]+ passed' build-web/Testing/Temporary/LastTest.log || true)

step "Fuzz targets"
FUZZ_SECONDS=${FUZZ_SECONDS:-30} bash scripts/fuzz.sh

step "All tests passed"
printf '%s\n' "${times[@]}"
echo "32-bit x86 core: ${i686Ran:-tests not run}"
echo "Windows: the $windows preset$why"
echo "The page's tests in each engine:"
echo "${engines:-  none counted}"
echo "Whole run: $((SECONDS - started)) s"
