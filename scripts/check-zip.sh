#!/usr/bin/env bash
# Checks the Windows ZIP as users get it: one 32-bit GUI program that needs
# only Windows' own DLLs, a read-me, the licence and the third-party notices.
#   bash scripts/check-zip.sh [zip]
# Without a ZIP it makes one with scripts/package.sh in build-package-windows.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
zip=${1:-}
if [ -z "$zip" ]; then
    bash "$here/scripts/package.sh" zip >/dev/null
    zip=$(ls "$here"/build-package-windows/packages/grainmix-*-win32.zip)
fi
unzip -l "$zip"

name=$(basename "$zip" .zip)
for f in grainmix.exe README.txt LICENSE.txt THIRD-PARTY.txt; do
    unzip -l "$zip" "$name/$f" >/dev/null || { echo "$(basename "$zip") lacks $name/$f" >&2; exit 1; }
done
work=$(mktemp -d /tmp/grainmix-zip.XXXXXX)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip" "$name/grainmix.exe" -d "$work"
exe=$work/$name/grainmix.exe

file "$exe" | grep -q 'PE32 executable (GUI) Intel 80386' || { file "$exe"; exit 1; }
dlls=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/.*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
echo "imports:" $dlls
for dll in $dlls; do
    case "$dll" in
    kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | msvcrt.dll) ;;
    *) echo "grainmix.exe needs $dll, which Windows does not bring" >&2; exit 1 ;;
    esac
done
size=$(stat -c %s "$exe")
echo "grainmix.exe: $size bytes; $(basename "$zip"): $(stat -c %s "$zip") bytes"
[ "$size" -le 1048576 ] || { echo "grainmix.exe is over 1 MiB" >&2; exit 1; }
