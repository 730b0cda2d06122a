#!/usr/bin/env bash
# The release check, for each kind of package (default: deb web zip):
# 1. Each is built twice: in this checkout (uncommitted edits included) and
#    from a copy of its tracked files in another folder, both with the last
#    commit's time; every file made must be the same byte for byte, or
#    diffoscope says where they differ.
# 2. The Debian package as a user and Debian meet it: the launcher and the
#    software-centre description validate, lintian --pedantic finds no error
#    and no warning, apt installs it, the installed program stays up on its
#    own, and on a virtual display it takes an amount, Clear and Exit while
#    writing nothing (the desktop test, run on the installed program).
#    Then in a fresh Debian 13 root, with only what the package depends on:
#    its window on a virtual display shows every caption whole.
# 3. The Windows ZIP: one 32-bit GUI program that needs only Windows' own
#    DLLs, a read-me, the licence and the third-party notices.
#   bash scripts/check-release.sh [deb|web|zip...]
#   bash scripts/check-release.sh --root   (makes the Debian 13 root alone)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
sudo=()
[ "$(id -u)" = 0 ] || sudo=(sudo)

# The Debian 13 root the package is installed into. It is made once per
# machine, by debootstrap, and kept as made under /var/cache/grainmix, named
# by a hash of what went into it; each check installs into an overlay of it,
# which goes afterwards. Packages apt fetches for it are kept beside the root.
# Making it mostly waits on the network, so scripts/test.sh starts it
# (--root) while the first builds run.
makeRoot() {
    command -v debootstrap >/dev/null || bash "$here/scripts/deps.sh" firstrun
    mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
    rootPackages=python3,xauth,xvfb
    key=$(printf 'trixie %s minbase %s\n' "$mirror" "$rootPackages" | sha256sum | cut -c1-12)
    rootDir=${GRAINMIX_ROOT_CACHE:-/var/cache/grainmix}/trixie-$key
    root=$rootDir/root
    [ ! -e "$rootDir/done" ] || return 0
    local start=$SECONDS log=$rootDir/debootstrap.log size
    "${sudo[@]}" rm -rf "$rootDir"
    "${sudo[@]}" mkdir -p "$rootDir"
    "${sudo[@]}" debootstrap --variant=minbase --include="$rootPackages" trixie "$root" "$mirror" 2>&1 |
        "${sudo[@]}" tee "$log" >/dev/null || { tail "$log" >&2; exit 1; }
    "${sudo[@]}" chroot "$root" apt-get clean
    "${sudo[@]}" touch "$rootDir/done"
    size=$("${sudo[@]}" du -sxm "$root" | cut -f1)
    echo "made the Debian 13 root in $((SECONDS - start)) s: $size MB ($rootDir)"
}
if [ "${1:-}" = --root ]; then
    makeRoot
    exit 0
fi

kinds=("$@")
[ ${#kinds[@]} -gt 0 ] || kinds=(deb web zip)

# What each kind makes besides its packages, compared as well.
declare -A alsoMade=([deb]="" [zip]="app/grainmix.exe" [web]="web/grainmix.wasm web/grainmix.js")
for kind in "${kinds[@]}"; do
    [ -v "alsoMade[$kind]" ] || { echo "check-release.sh: no such kind: $kind" >&2; exit 2; }
done

bash "$here/scripts/deps.sh" release
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(git -C "$here" log -1 --format=%ct)
copy=$(mktemp -d /tmp/grainmix-release.XXXXXX)
trap 'rm -rf "$copy"' EXIT
tree=$(git -C "$here" stash create)
git -C "$here" archive "${tree:-HEAD}" | tar -x -C "$copy"

step() { printf '\n== %s\n' "$*"; }
differ=0
declare -A built
for kind in "${kinds[@]}"; do
    step "$kind: built twice, in two folders"
    # package.sh names what it made; the build folders hold packages/.
    a=$(bash "$here/scripts/package.sh" "$kind" | sed -n 's|/packages/SHA256SUMS$||p')
    b=$(bash "$copy/scripts/package.sh" "$kind" | sed -n 's|/packages/SHA256SUMS$||p')
    built[$kind]=$a
    for f in $(cd "$a" && ls packages/*) ${alsoMade[$kind]}; do
        if cmp -s "$a/$f" "$b/$f"; then
            echo "same: $f ($(stat -c %s "$a/$f") bytes)"
        else
            echo "DIFFERENT: $kind: $f" >&2
            diffoscope --text - "$a/$f" "$b/$f" >&2 || true
            differ=1
        fi
    done
    (cd "$a/packages" && cat SHA256SUMS && sha256sum -c --quiet SHA256SUMS)
done
[ $differ = 0 ] || { echo "the two builds differ" >&2; exit 1; }
echo "the two builds are the same byte for byte: ${kinds[*]}"

if [ -v "built[deb]" ]; then
    step "deb: launcher, description, lintian, install, start, Exit"
    build=${built[deb]}
    deb=$(ls "$build"/packages/grainmix_*.deb)
    desktop-file-validate "$build/dist/qt/org.example.GrainMix.desktop"
    appstreamcli validate --no-net --pedantic "$build/dist/qt/org.example.GrainMix.metainfo.xml"
    # Info tags are shown too: each is either mended or overridden with a reason.
    status=0
    report=$(lintian --pedantic --info --fail-on error,warning "$deb" 2>&1) || status=$?
    printf '%s\n' "$report" | grep -v '^running with root privileges' || true
    [ $status = 0 ] || { echo "lintian finds errors or warnings in $(basename "$deb")" >&2; exit 1; }
    echo "lintian --pedantic: no error, no warning: $(basename "$deb")"
    dpkg-deb --info "$deb" | sed -n 's/^ *\(Package\|Version\|Depends\):/\1:/p'
    dpkg-deb --contents "$deb" | awk '{print $6}'
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --reinstall "$deb" >/dev/null
    for f in /usr/bin/grainmix /usr/share/man/man1/grainmix.1.gz /usr/share/doc/grainmix/copyright \
        /usr/share/applications/org.example.GrainMix.desktop \
        /usr/share/icons/hicolor/scalable/apps/org.example.GrainMix.svg \
        /usr/share/metainfo/org.example.GrainMix.metainfo.xml; do
        test -e "$f" || { echo "not installed: $f" >&2; exit 1; }
    done

    # On the offscreen platform nothing can click, so it is stopped from outside.
    QT_QPA_PLATFORM=offscreen grainmix &
    pid=$!
    sleep 2
    kill -0 "$pid" 2>/dev/null || { echo "the installed grainmix did not stay up offscreen" >&2; exit 1; }
    kill "$pid"
    wait "$pid" 2>/dev/null || true

    # Where Barley, Clear and Exit stand comes from the control table.
    cd "$here"
    linux=$(cmake --preset linux | sed -n 's/^-- Build files have been written to: //p')
    cmake --build "$linux" --target form1_layout_dump >/dev/null
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24 -noreset" dbus-run-session -- \
        python3 "$here/tests/desktop/no_writes.py" --program /usr/bin/grainmix \
        --layout "$linux/tests/window/form1_layout_dump"
    echo "the installed package starts, stays up, takes an amount and ends on Exit: $(basename "$deb")"

    step "deb: on Debian 13, with only what the package depends on, every caption whole"
    makeRoot
    fresh=$(mktemp -d /tmp/grainmix-trixie.XXXXXX)
    mkdir -p "$fresh/upper" "$fresh/work" "$fresh/root"
    "${sudo[@]}" mkdir -p "$rootDir/archives"
    mounts=()
    unmountFresh() {
        for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do "${sudo[@]}" umount "${mounts[i]}" || true; done
        # Never into what may still be mounted there.
        "${sudo[@]}" rm -rf --one-file-system "$fresh" "$copy"
    }
    trap unmountFresh EXIT
    "${sudo[@]}" mount -t overlay overlay \
        -o "lowerdir=$root,upperdir=$fresh/upper,workdir=$fresh/work" "$fresh/root"
    mounts+=("$fresh/root")
    for fs in proc sys dev; do
        "${sudo[@]}" mount --bind "/$fs" "$fresh/root/$fs" && mounts+=("$fresh/root/$fs")
    done
    "${sudo[@]}" mount --bind "$rootDir/archives" "$fresh/root/var/cache/apt/archives"
    mounts+=("$fresh/root/var/cache/apt/archives")
    "${sudo[@]}" cp "$deb" "$here/tests/desktop/captions_whole.py" "$fresh/root/tmp/"
    "$linux/tests/window/form1_layout_dump" | "${sudo[@]}" tee "$fresh/root/tmp/layout.json" >/dev/null
    inFresh() {
        "${sudo[@]}" chroot "$fresh/root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
            LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"
    }
    inFresh apt-get update -q >/dev/null
    inFresh apt-get install -y -q -o Dpkg::Use-Pty=0 --no-install-recommends \
        "/tmp/$(basename "$deb")" >/dev/null
    inFresh dpkg-query -W -f='${binary:Package} ${Version}\n' grainmix libqt6widgets6 \
        fonts-liberation-sans-narrow
    inFresh python3 /tmp/captions_whole.py --program /usr/bin/grainmix --layout /tmp/layout.json
    echo "on Debian 13 the package's window shows every caption whole: $(basename "$deb")"
fi

if [ -v "built[zip]" ]; then
    step "zip: contents"
    zip=$(ls "${built[zip]}"/packages/grainmix-*-win32.zip)
    unzip -l "$zip"
    name=$(basename "$zip" .zip)
    for f in grainmix.exe README.txt LICENSE.txt THIRD-PARTY.txt; do
        unzip -l "$zip" "$name/$f" >/dev/null || { echo "$(basename "$zip") lacks $name/$f" >&2; exit 1; }
    done
    unzip -q "$zip" "$name/grainmix.exe" -d "$copy/unzipped"
    exe=$copy/unzipped/$name/grainmix.exe
    file "$exe" | grep -q 'PE32 executable (GUI) Intel 80386' || { file "$exe"; exit 1; }
    dlls=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/.*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
    echo "imports:" $dlls
    for dll in $dlls; do
        case "$dll" in
        kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | msvcrt.dll | ole32.dll | oleaut32.dll) ;;
        *) echo "grainmix.exe needs $dll, which Windows does not bring" >&2; exit 1 ;;
        esac
    done
    size=$(stat -c %s "$exe")
    echo "grainmix.exe: $size bytes; $(basename "$zip"): $(stat -c %s "$zip") bytes"
    [ "$size" -le 1048576 ] || { echo "grainmix.exe is over 1 MiB" >&2; exit 1; }
fi
