#!/usr/bin/env bash
# Takes the Windows installer round as a user would, in the Wine session: a
# silent install, the program, its notices, its Start-menu shortcut and its
# "Apps & features" entry, the installed program started and ended with its
# Exit button, a silent uninstall, and nothing left behind.
#   winesession.sh shell FOLDER bash installerroundtrip.sh SETUP VERSION PRESSEXIT NOTICE...
set -euo pipefail
setup=$1 version=$2 pressexit=$3
shift 3

fail() {
    echo "installer: $*" >&2
    exit 1
}
folder() { "$WINE" winepath -u "$("$WINE" cmd /c echo "%$1%" | tr -d '\r')" 2>/dev/null; }
dir="$(folder LOCALAPPDATA)/Programs/Grain Mix"
shortcut="$(folder APPDATA)/Microsoft/Windows/Start Menu/Programs/Grain Mix.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\GrainMix'
[ ! -e "$dir" ] || fail "$dir is there before the install"

echo "$(basename "$setup"): $(stat -c %s "$setup") bytes"
"$WINE" "$setup" /S
[ -f "$dir/grainmix.exe" ] || fail "no $dir/grainmix.exe"
[ -f "$dir/uninstall.exe" ] || fail "no uninstaller"
for notice in "$@"; do
    [ -f "$dir/$notice" ] || fail "no $notice"
done
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
strings -el "$shortcut" | grep -qi "grainmix.exe" || fail "the shortcut does not start grainmix.exe"
entry=$("$WINE" reg query "$key" | tr -d '\r')
for value in "DisplayName.*Grain Mix" "DisplayVersion.*$version" "Publisher.*Grain Mix" \
    "DisplayIcon.*grainmix.exe" "EstimatedSize.*REG_DWORD.*0x[1-9a-f]" \
    "UninstallString.*uninstall.exe" "QuietUninstallString.*uninstall.exe\" /S"; do
    grep -q "^ *$value" <<<"$entry" || fail "the uninstall entry lacks $value: $entry"
done

"$WINE" "$dir/grainmix.exe" &
program=$!
"$WINE" "$pressexit" || { kill "$program" 2>/dev/null; fail "Exit did not end the installed program"; }
wait "$program" || fail "the installed program ended with status $?"

# The uninstaller runs on from a copy of itself in the temporary folder, and
# the session's Wine server outlives it: wait for what it leaves.
"$WINE" "$dir/uninstall.exe" /S
gone() { [ ! -e "$dir" ] && [ ! -e "$shortcut" ] && ! "$WINE" reg query "$key" >/dev/null 2>&1; }
for _ in $(seq 60); do
    gone && break
    sleep 1
done
[ ! -e "$dir" ] || fail "left behind: $(ls -A "$dir")"
[ ! -e "$shortcut" ] || fail "left behind: the shortcut"
! "$WINE" reg query "$key" >/dev/null 2>&1 || fail "left behind: the uninstall entry"
echo "installed, started, ended with Exit, uninstalled: nothing left behind"
