#!/usr/bin/env bash
# Builds the packages users install, with SHA256SUMS beside them:
#   deb   the Debian package
#   zip   the Windows ZIP and installer (one build makes both)
#   web   the web page's ZIP
# The same commit gives the same bytes in any folder and at any time: every
# time stamp is the commit's (SOURCE_DATE_EPOCH, taken from git unless set)
# and the presets keep no build path. Each kind builds with its preset
# (package-deb, package-windows, package-web), in the preset's folder unless
# one is given. Progress goes to stderr; stdout names the packages made.
#   bash scripts/package.sh deb|zip|web [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
usage="usage: package.sh deb|zip|web [build-dir]"
kind=${1:?$usage}

export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$here" log -1 --format=%ct)}
export TZ=UTC
umask 022

options=()
preset=package-$kind
case "$kind" in
deb)
    bash "$here/scripts/deps.sh" window deb >&2
    # Debian's hardening flags: fortify, stack protector, format checks, PIE,
    # and full RELRO with -z now.
    hardening() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
    options=(-DCMAKE_CXX_FLAGS="$(hardening CPPFLAGS) $(hardening CXXFLAGS)"
        -DCMAKE_EXE_LINKER_FLAGS="$(hardening LDFLAGS)")
    ;;
zip)
    bash "$here/scripts/deps.sh" windows >&2
    preset=package-windows
    ;;
web) bash "$here/scripts/deps.sh" web >&2 ;;
*) echo "$usage" >&2; exit 2 ;;
esac
[ -z "${2:-}" ] || options+=(-B "$(realpath -m "$2")")

cd "$here"
build=$(cmake --preset "$preset" "${options[@]}" | sed -n 's/^-- Build files have been written to: //p')
[ -n "$build" ] || { echo "package.sh: configuring failed" >&2; exit 1; }
cmake --build "$build" --target grainmix >&2
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")

packages=$build/packages
rm -rf "$packages"
mkdir -p "$packages"
case "$kind" in
deb)
    (cd "$build" && cpack -G DEB -B "$packages" >/dev/null)
    rm -rf "$packages/_CPack_Packages"
    ;;
zip)
    name=grainmix-$version-win32
    stage=$build/zip-stage
    rm -rf "$stage"
    cmake --install "$build" --prefix "$stage/$name" --strip >/dev/null
    python3 "$here/cmake/zip-folder.py" "$stage" "$packages/$name.zip"
    cmake --build "$build" --target setup >&2
    ;;
web) cmake --build "$build" --target web_zip >&2 ;;
esac
(cd "$packages" && sha256sum -- grainmix[_-]* >SHA256SUMS)
ls "$packages"/grainmix[_-]* "$packages/SHA256SUMS"
