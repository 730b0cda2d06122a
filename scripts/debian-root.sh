#!/usr/bin/env bash
# Makes a minimal Debian root of one release with the given packages, once per
# machine, and prints its folder. Later calls with the same release and
# packages reuse it: it is kept under /var/cache/grainmix, named by a hash of
# what went into it. Mount it read-only or under an overlay: it is meant to
# stay as debootstrap left it.
#   bash scripts/debian-root.sh RELEASE [PACKAGE...]   (as root)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 1 ] || { echo "usage: debian-root.sh RELEASE [PACKAGE...]" >&2; exit 2; }
release=$1
shift
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
[ "$(id -u)" = 0 ] || { echo "debian-root.sh makes a chroot, so run it as root" >&2; exit 1; }
command -v debootstrap >/dev/null || bash "$here/scripts/deps.sh" firstrun >&2

packages=$(printf '%s\n' "$@" | sort -u | paste -sd, -)
key=$(printf '%s %s minbase %s\n' "$release" "$mirror" "$packages" | sha256sum | cut -c1-12)
cache=${GRAINMIX_ROOT_CACHE:-/var/cache/grainmix}
dir=$cache/$release-$key
if [ ! -e "$dir/done" ]; then
    rm -rf "$dir"
    mkdir -p "$dir"
    start=$(date +%s)
    debootstrap --variant=minbase ${packages:+--include="$packages"} "$release" "$dir/root" \
        "$mirror" >"$dir/debootstrap.log" 2>&1 || { tail "$dir/debootstrap.log" >&2; exit 1; }
    chroot "$dir/root" apt-get clean
    echo "made the $release root in $(($(date +%s) - start)) s: $(du -sxm "$dir/root" | cut -f1) MB ($dir)" >&2
    touch "$dir/done"
fi
echo "$dir/root"
