#!/usr/bin/env bash
# Builds the Windows ZIP from a configured cross build and checks what users
# get: one 32-bit GUI program that needs only Windows' own DLLs, and a read-me.
#   bash scripts/check-zip.sh <configured Windows build dir>
set -euo pipefail
build=${1:?usage: check-zip.sh <build-dir>}

cmake --build "$build" --target grainmix
rm -rf "$build/packages"
(cd "$build" && cpack -G ZIP -B "$build/packages" >/dev/null)
zip=$(ls "$build"/packages/grainmix-*-win32.zip)
unzip -l "$zip"

exe="$build/app/grainmix.exe"
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
