#!/usr/bin/env bash
# Installs, from Debian's packages, what one or more purposes of Grain Mix
# need, and nothing else. Safe to run again: it installs only what is missing.
#   bash scripts/deps.sh PURPOSE...
# Every list lives here, so the commands cannot drift apart. As root it
# installs; as another user it uses sudo if there is one, and otherwise names
# what is missing and the command that installs it, and fails.
set -euo pipefail

# The narrow face the window and the page are drawn in: in fonts-liberation
# up to Debian 12, a package of its own since Liberation 2 (Debian 13).
narrowFace=fonts-liberation
debianVersion=$(. /etc/os-release 2>/dev/null && echo "${VERSION_ID:-}")
# apt-cache knows a package that an installed one names even where no archive
# has it ("Candidate: (none)"); Debian's version decides where the lists are empty.
candidate=$(apt-cache policy fonts-liberation-sans-narrow 2>/dev/null | sed -n 's/^ *Candidate: //p')
if [ -n "$candidate" ] && [ "$candidate" != "(none)" ]; then
    narrowFace=fonts-liberation-sans-narrow
elif [ -z "$candidate" ] && [ "${debianVersion%%.*}" -ge 13 ] 2>/dev/null; then
    narrowFace=fonts-liberation-sans-narrow
fi
# Building and running the Linux program: the command that opens the window.
window=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev "$narrowFace")
# The Debian package: dpkg-shlibdeps and dpkg-buildflags.
deb=(cmake ninja-build g++ dpkg-dev file)
# Cross-building the 32-bit Windows program, its ZIP and its installer; the
# windows preset's tests build GoogleTest from its sources.
windows=(cmake ninja-build mingw-w64 nsis zip unzip file googletest)
# Running Windows programs: Wine's 32-bit half needs the i386 architecture.
wine=(wine wine32 wine64 xvfb xauth)
# The fuzz targets: clang with libFuzzer, which comes with the runtime of the
# release's own clang (14 in Debian 12, 19 in Debian 13).
clangVersion=$(apt-cache depends clang 2>/dev/null | sed -n 's/^ *Depends: clang-\([0-9]*\)$/\1/p')
[ -n "$clangVersion" ] || { [ "${debianVersion%%.*}" -ge 13 ] 2>/dev/null && clangVersion=19 || clangVersion=14; }
fuzz=(cmake ninja-build clang "libclang-rt-$clangVersion-dev")
# The web build (its tests build GoogleTest from its sources), and the three
# engines to test it in: Chromium, WebKit (MiniBrowser on a virtual display)
# and Firefox, driven over WebDriver BiDi.
web=(cmake ninja-build emscripten node-acorn nodejs fonttools python3-brotli "$narrowFace" chromium chromium-driver
    python3-selenium zip googletest webkit2gtk-driver xvfb firefox-esr python3-websocket)
# Release checks: the package's lint, the licence check, and the account of
# any difference between two builds.
release=(lintian reuse diffoscope-minimal)
# Redrawing the Windows icon and the web page's PNG icons.
icon=(imagemagick librsvg2-bin)
# Fresh Debian roots: the release check on Debian 13, and measuring the
# first run. The tests install it up front with the rest.
firstrun=(debootstrap)
# What scripts/test.sh needs besides the purposes it builds; qemu-user runs
# the 32-bit core's tests where the machine itself runs no 32-bit code, and
# the captions are also tested in DejaVu Sans and in Liberation Mono.
testOnly=(
    googletest libgtest-dev libbenchmark-dev g++-multilib clang-format locales
    fonts-dejavu-core fonts-liberation xvfb xauth xdotool x11-utils strace time dbus-daemon
    desktop-file-utils appstream imagemagick unzip file
    at-spi2-core python3-pyatspi gir1.2-atspi-2.0 qemu-user
)
testPurposes=(window deb windows wine fuzz web release firstrun)

usage="usage: deps.sh window|deb|windows|wine|fuzz|web|release|icon|firstrun|test..."
[ $# -gt 0 ] || { echo "$usage" >&2; exit 2; }

want=()
needI386=0
needLocale=0
for purpose in "$@"; do
    case "$purpose" in
    test)
        for p in "${testPurposes[@]}"; do
            declare -n list=$p
            want+=("${list[@]}")
            unset -n list
        done
        want+=("${testOnly[@]}")
        needI386=1
        needLocale=1
        ;;
    window | deb | windows | wine | fuzz | web | release | icon | firstrun)
        declare -n list=$purpose
        want+=("${list[@]}")
        unset -n list
        [ "$purpose" != wine ] || needI386=1
        ;;
    *) echo "$usage" >&2; exit 2 ;;
    esac
done

# The page's tests take axe-core from npm (Debian has none), pinned by the lock
# file beside them. A Node.js that brings its own npm needs no other.
needNpm=0
for purpose in "$@"; do
    case "$purpose" in web | test) needNpm=1 ;; esac
done
[ $needNpm = 0 ] || command -v npm >/dev/null || want+=(npm)
npmTools() {
    [ $needNpm = 1 ] || return 0
    local dir
    dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/tests/window/web"
    [ "$dir/node_modules/.package-lock.json" -nt "$dir/package-lock.json" ] ||
        (cd "$dir" && npm ci --no-audit --no-fund --loglevel=error)
}

missing=()
for p in $(printf '%s\n' "${want[@]}" | sort -u); do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# Test only: a locale with a decimal comma, to prove that no number depends on it.
localeMissing=0
if [ $needLocale = 1 ] && ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    localeMissing=1
fi
[ ${#missing[@]} -gt 0 ] || [ $localeMissing = 1 ] || { npmTools; exit 0; }

addI386=0
if [ $needI386 = 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    addI386=1
fi

if [ "$(id -u)" = 0 ]; then
    asRoot=()
elif command -v sudo >/dev/null; then
    asRoot=(sudo)
else
    steps=()
    if [ ${#missing[@]} -gt 0 ]; then
        [ $addI386 = 0 ] || steps+=("dpkg --add-architecture i386")
        steps+=("apt-get update" "apt-get install --no-install-recommends ${missing[*]}")
    fi
    [ $localeMissing = 0 ] || steps+=("sed -i 's/^# *de_DE.UTF-8/de_DE.UTF-8/' /etc/locale.gen" "locale-gen")
    what=${missing[*]:-}
    [ $localeMissing = 0 ] || what="${what:+$what and }the de_DE.UTF-8 locale"
    joined=$(printf ' && %s' "${steps[@]}")
    echo "Grain Mix needs $what, which only root can install: run as root: ${joined# && }" >&2
    exit 1
fi

install() {
    "${asRoot[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q --no-install-recommends "$@"
}

if [ ${#missing[@]} -gt 0 ]; then
    [ $addI386 = 0 ] || "${asRoot[@]}" dpkg --add-architecture i386
    # A mirror caught mid-sync serves an index that does not match its
    # release file, and the update fails; it is usually whole again soon.
    updated=0
    for wait in 30 90 0; do
        if "${asRoot[@]}" apt-get update -q; then
            updated=1
            break
        fi
        [ $wait = 0 ] || { echo "deps.sh: apt-get update failed; again in $wait s" >&2; sleep $wait; }
    done
    if ! install "${missing[@]}"; then
        # Without the i386 lists, Wine's 32-bit half cannot match the 64-bit
        # libraries the security archive updated. The rest still installs,
        # and scripts/test.sh then tests the 64-bit Windows program instead.
        rest=()
        for p in "${missing[@]}"; do [ "$p" = wine32 ] || rest+=("$p"); done
        [ $updated = 0 ] && [ ${#rest[@]} -lt ${#missing[@]} ] || exit 1
        echo "deps.sh: the archive's lists could not all be read; installing without wine32" >&2
        install "${rest[@]}"
    fi
fi

if [ $localeMissing = 1 ]; then
    "${asRoot[@]}" sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen ||
        echo 'de_DE.UTF-8 UTF-8' | "${asRoot[@]}" tee -a /etc/locale.gen >/dev/null
    "${asRoot[@]}" locale-gen >/dev/null
fi

npmTools
