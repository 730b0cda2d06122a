#!/usr/bin/env bash
# Builds the packages users install: the Debian package (deb), the Windows
# ZIP and installer (zip), the installer alone (setup) or the web page's ZIP
# (web), and writes SHA256SUMS beside them. The same commit gives the
# same bytes in any folder and at any time: every time stamp is the commit's
# (SOURCE_DATE_EPOCH, taken from git unless set) and no build path is kept.
# Prints where the packages are. Each kind's build starts from its preset
# (package-deb, package-windows, package-web), in build-<preset> unless a
# folder is given.
#   bash scripts/package.sh deb|zip|setup|web [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:?usage: package.sh deb|zip|setup|web [build-dir]}

export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$here" log -1 --format=%ct)}
export TZ=UTC
umask 022

case "$kind" in
deb)
    bash "$here/scripts/deps.sh" window deb
    preset=package-deb
    # Debian's hardening flags, for the package's build only: fortify,
    # stack protector, format checks, PIE, and full RELRO with -z now.
    flags=$(cd "$here" && DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CPPFLAGS)
    flags+=" $(cd "$here" && DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS)"
    ldflags=$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)
    options=(-DCMAKE_EXE_LINKER_FLAGS="$ldflags")
    ;;
zip | setup)
    bash "$here/scripts/deps.sh" windows
    preset=package-windows
    flags=
    options=()
    ;;
web)
    bash "$here/scripts/deps.sh" web
    preset=package-web
    flags=
    options=()
    ;;
*)
    echo "usage: package.sh deb|zip|setup|web [build-dir]" >&2
    exit 2
    ;;
esac
build=$(realpath -m "${2:-$here/build-$preset}")

# Neither the source's folder nor the build's stays in the program; where
# both match, the build's (the later option) wins.
flags+=" -ffile-prefix-map=$here=. -ffile-prefix-map=$build=."
cd "$here"
cmake --preset "$preset" -B "$build" -DCMAKE_CXX_FLAGS="$flags" "${options[@]}" >/dev/null
cmake --build "$build" --target grainmix -j "$(nproc)"

packages=$build/packages
rm -rf "$packages"
mkdir -p "$packages"
if [ "$kind" = deb ]; then
    (cd "$build" && cpack -G DEB -B "$packages" >/dev/null)
    rm -rf "$packages/_CPack_Packages"
elif [ "$kind" = setup ]; then
    cmake --build "$build" --target setup >/dev/null
elif [ "$kind" = web ]; then
    cmake --build "$build" --target web_zip >/dev/null
else
    # zip itself, not CPack: files in a fixed order, with the commit's time
    # and fixed permissions, and no extra fields holding owners or times.
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
    name=grainmix-$version-win32
    stage=$build/zip-stage
    rm -rf "$stage"
    cmake --install "$build" --prefix "$stage/$name" --strip >/dev/null
    find "$stage" -type d -exec chmod 755 {} + -o -type f -exec chmod 644 {} +
    chmod 755 "$stage/$name/grainmix.exe"
    find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
    (cd "$stage" && find "$name" -type f | LC_ALL=C sort | zip -X -D -9 -q "$packages/$name.zip" -@)
    # The installer carries the same program: one build makes both.
    cmake --build "$build" --target setup >/dev/null
fi
shopt -s nullglob
(cd "$packages" && sha256sum -- grainmix[_-]*.deb grainmix[_-]*.zip grainmix-*.exe >SHA256SUMS)
ls "$packages"/grainmix[_-]*.deb "$packages"/grainmix[_-]*.zip "$packages"/grainmix-*.exe \
    "$packages/SHA256SUMS"
