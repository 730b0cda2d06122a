#!/usr/bin/env bash
# Installs what building, running and testing Grain Mix needs, from Debian's
# packages. Safe to run again: it installs only what is missing.
set -euo pipefail

want=(
    cmake ninja-build g++ pkg-config
    googletest libgtest-dev libbenchmark-dev
    g++-multilib
    clang libclang-rt-14-dev clang-format
    locales
    qt6-base-dev qt6-base-dev-tools libgl-dev
    fonts-liberation fonts-dejavu-core
    xvfb xauth xdotool x11-utils strace time dbus-daemon
    desktop-file-utils appstream dpkg-dev imagemagick unzip file
    at-spi2-core python3-pyatspi gir1.2-atspi-2.0
    mingw-w64 wine wine32 wine64
    emscripten nodejs node-acorn fonttools python3-brotli
    chromium chromium-driver python3-selenium
    nsis
)

missing=()
for p in "${want[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        # Wine runs the 32-bit Windows program with its 32-bit half.
        dpkg --add-architecture i386
    fi
    apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# A locale with a decimal comma, to prove that no number depends on it.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
fi
