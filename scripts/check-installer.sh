#!/usr/bin/env bash
# Builds the Windows installer from a configured cross build with its tests
# and takes it round under Wine, as a user would: a silent install, the
# program, its Start-menu shortcut and its "Apps & features" entry, the
# installed program started and ended with its Exit button, a silent
# uninstall, and nothing left behind. In a Wine prefix of its own.
#   bash scripts/check-installer.sh <configured Windows build dir>
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: check-installer.sh <build-dir>}" && pwd)

cmake --build "$build" --target setup pressexit
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
setup="$build/packages/grainmix-$version-setup.exe"
wine=$(sed -n 's/^GRAINMIX_WINE:FILEPATH=//p' "$build/CMakeCache.txt")
echo "$(basename "$setup"): $(stat -c %s "$setup") bytes"
# The licences go with the program once the checkout carries them.
notices=()
[ -f "$here/LICENSE" ] && notices+=(LICENSE.txt)
[ -f "$here/THIRD-PARTY.md" ] && notices+=(THIRD-PARTY.txt)

WINEPREFIX="$(mktemp -d /tmp/grainmix-setup.XXXXXX)"
# No Gecko or Mono prompts, and no Linux menu entries made from the shortcut.
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
cleanUp() {
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
}
trap cleanUp EXIT

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -euo pipefail
    wine=$1 setup=$2 version=$3 pressexit=$4
    shift 4
    fail() { echo "check-installer: $*" >&2; exit 1; }
    "$wine" wineboot -i >/dev/null 2>&1
    "$wine" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
    folder() { "$wine" winepath -u "$("$wine" cmd /c echo "%$1%" | tr -d "\r")" 2>/dev/null; }
    dir="$(folder LOCALAPPDATA)/Programs/Grain Mix"
    shortcut="$(folder APPDATA)/Microsoft/Windows/Start Menu/Programs/Grain Mix.lnk"
    key="HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\GrainMix"

    "$wine" "$setup" /S
    wineserver -w
    [ -f "$dir/grainmix.exe" ] || fail "no $dir/grainmix.exe"
    [ -f "$dir/uninstall.exe" ] || fail "no uninstaller"
    for notice in "$@"; do
        [ -f "$dir/$notice" ] || fail "no $notice"
    done
    [ -f "$shortcut" ] || fail "no Start-menu shortcut"
    strings -el "$shortcut" | grep -qi "grainmix.exe" || fail "the shortcut does not start grainmix.exe"
    entry=$("$wine" reg query "$key" | tr -d "\r")
    echo "$entry"
    for value in "DisplayName.*Grain Mix" "DisplayVersion.*$version" "Publisher.*Grain Mix" \
        "DisplayIcon.*grainmix.exe" "EstimatedSize.*REG_DWORD.*0x[1-9a-f]" \
        "UninstallString.*uninstall.exe" "QuietUninstallString.*uninstall.exe\" /S"; do
        grep -q "^ *$value" <<<"$entry" || fail "the uninstall entry lacks $value"
    done

    "$wine" "$dir/grainmix.exe" &
    program=$!
    "$wine" "$pressexit" || fail "Exit did not end the installed program"
    wait "$program" || fail "the installed program ended with status $?"

    "$wine" "$dir/uninstall.exe" /S
    # The uninstaller runs on from a copy of itself in the temporary folder.
    wineserver -w
    [ ! -e "$dir" ] || fail "left behind: $(ls -A "$dir")"
    [ ! -e "$shortcut" ] || fail "left behind: the shortcut"
    ! "$wine" reg query "$key" >/dev/null 2>&1 || fail "left behind: the uninstall entry"
    echo "installed, started, ended with Exit, uninstalled: nothing left behind"
' bash "$wine" "$setup" "$version" "$build/tests/window/win32/pressexit.exe" "${notices[@]}"
