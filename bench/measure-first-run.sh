#!/usr/bin/env bash
# Measures a new user's first run of the window command on a fresh Debian
# release (default bookworm, Debian 12; trixie is Debian 13): makes a minimal
# root with debootstrap, puts this checkout's tracked files in it (uncommitted
# edits included), and runs scripts/run.sh there as root with no display, so
# it installs, builds, and stops saying it needs a desktop session. Prints the
# time that took, the packages it installed, the root's size after apt-get
# clean, and any foreign architecture added.
# Needs root, debootstrap and Debian's mirror; not part of CI.
#   bash bench/measure-first-run.sh [release] [dir]   (default dir:
#   build-first-run-RELEASE; the root is made in dir/root, the logs and the
#   list of packages go beside it)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
release=${1:-bookworm}
dir=${2:-$here/build-first-run-$release}
target=$dir/root
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}

[ "$(id -u)" = 0 ] || { echo "measure-first-run.sh makes a chroot, so run it as root" >&2; exit 1; }
command -v debootstrap >/dev/null || bash "$here/scripts/deps.sh" firstrun

mounted=()
unmountAll() {
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[i]}" 2>/dev/null || true; done
    mounted=()
}
trap unmountAll EXIT
inRoot() { chroot "$target" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

rm -rf "$target"
mkdir -p "$dir"
debootstrap --variant=minbase "$release" "$target" "$mirror" >"$dir/debootstrap.log" 2>&1 ||
    { tail "$dir/debootstrap.log" >&2; exit 1; }
# The suites an installation of the release has.
cat >"$target/etc/apt/sources.list" <<EOF
deb $mirror $release main
deb $mirror $release-updates main
deb http://deb.debian.org/debian-security $release-security main
EOF
inRoot apt-get clean
packagesBefore=$(inRoot dpkg-query -W -f='${db:Status-Abbrev}\n' | grep -c '^ii')
sizeBefore=$(du -sxm "$target" | cut -f1)

mkdir -p "$target/root/grainmix"
tree=$(git -C "$here" stash create)
git -C "$here" archive "${tree:-HEAD}" | tar -x -C "$target/root/grainmix"
for fs in proc sys dev; do
    mount --bind "/$fs" "$target/$fs" && mounted+=("$target/$fs")
done

log=$dir/run.log
start=$(date +%s%N)
status=0
inRoot bash /root/grainmix/scripts/run.sh >"$log" 2>&1 || status=$?
tenths=$((($(date +%s%N) - start) / 100000000))
unmountAll
tail -n 3 "$log"

inRoot apt-get clean
inRoot dpkg-query -W -f='${db:Status-Abbrev} ${binary:Package}\n' | awk '$1 == "ii" { print $2 }' >"$dir/packages"
packagesAfter=$(wc -l <"$dir/packages")
sizeAfter=$(du -sxm "$target" | cut -f1)
buildSize=$(du -sxm "$target/root/grainmix/build-app" | cut -f1)
foreign=$(inRoot dpkg --print-foreign-architectures)
unwanted=$(grep -E '^(wine|mingw|clang|xvfb|xdotool|strace|lintian|imagemagick|libgtest|googletest)' "$dir/packages" || true)

echo "window command: $((tenths / 10)).$((tenths % 10)) s, exit status $status (log: $log)"
echo "packages: $packagesBefore before, $packagesAfter after: $((packagesAfter - packagesBefore)) installed (list: $dir/packages)"
echo "root after apt-get clean: $sizeBefore MB before, $sizeAfter MB after, of which the build $buildSize MB"
echo "foreign architectures: ${foreign:-none}"
echo "wine, mingw, clang, Xvfb or test tools: ${unwanted:-none}"
grep -q 'needs a desktop session' "$log" || { echo "run.sh did not get as far as the window" >&2; exit 1; }
