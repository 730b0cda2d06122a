#!/usr/bin/env bash
# Checks the Linux package the way a user and Debian meet it: the launcher
# and the software-centre description validate, lintian --pedantic finds no
# error and no warning, the .deb installs with apt, and the installed program
# starts and stays up until Exit is clicked.
#   bash scripts/check-package.sh <configured Linux build dir> [package.deb]
# Without a package it makes one with scripts/package.sh in <build dir>-deb.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: check-package.sh <build-dir> [package.deb]}
deb=${2:-}

desktop-file-validate "$here/dist/org.example.GrainMix.desktop"
appstreamcli validate --no-net --pedantic "$build/dist/org.example.GrainMix.metainfo.xml"

if [ -z "$deb" ]; then
    bash "$here/scripts/package.sh" deb "$build-deb" >/dev/null
    deb=$(ls "$build-deb"/packages/grainmix_*.deb)
fi
# Info tags are shown too: each is either mended or overridden with a reason.
status=0
report=$(lintian --pedantic --info --fail-on error,warning "$deb" 2>&1) || status=$?
printf '%s\n' "$report" | grep -v '^running with root privileges' || true
[ $status = 0 ] || { echo "lintian finds errors or warnings in $(basename "$deb")" >&2; exit 1; }
echo "lintian --pedantic: no error, no warning: $(basename "$deb")"
dpkg-deb --info "$deb" | sed -n 's/^ *\(Package\|Version\|Depends\):/\1:/p'
dpkg-deb --contents "$deb" | awk '{print $6}'
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --reinstall "$deb" >/dev/null

for f in /usr/bin/grainmix /usr/share/man/man1/grainmix.1.gz /usr/share/doc/grainmix/copyright \
    /usr/share/applications/org.example.GrainMix.desktop \
    /usr/share/icons/hicolor/scalable/apps/org.example.GrainMix.svg \
    /usr/share/metainfo/org.example.GrainMix.metainfo.xml; do
    test -e "$f" || { echo "not installed: $f" >&2; exit 1; }
done

# On the offscreen platform it starts and stays up; nothing there can click,
# so it is stopped from outside.
QT_QPA_PLATFORM=offscreen grainmix &
pid=$!
sleep 2
kill -0 "$pid" 2>/dev/null || { echo "the installed grainmix did not stay up offscreen" >&2; exit 1; }
kill "$pid"
wait "$pid" 2>/dev/null || true

# Start it on a virtual display, then click Exit as a user would: it must
# still be running until then, and end with status 0.
cat > "$build/click-exit.sh" <<'SH'
set -euo pipefail
grainmix &
pid=$!
for _ in $(seq 50); do
    win=$(xdotool search --name '^The Composition of Grains $' 2>/dev/null | head -n 1) || true
    [ -n "$win" ] && break
    sleep 0.2
done
[ -n "$win" ] || { echo "no window appeared" >&2; kill "$pid"; exit 1; }
sleep 1
kill -0 "$pid" || { echo "the installed grainmix did not stay up" >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$win")"
# The Exit button's centre, from its place in twips (15 to a pixel).
xdotool mousemove $((X + (6360 + 1500) / 15)) $((Y + (5760 + 367) / 15)) click 1
wait "$pid"
SH
xvfb-run -a bash "$build/click-exit.sh"
echo "installed package starts, stays up, and ends on Exit: $(basename "$deb")"
