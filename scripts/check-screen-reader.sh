#!/usr/bin/env bash
# Starts the Linux program on a virtual display with the accessibility bus a
# desktop has, and reads it as a screen reader would (AT-SPI).
#   bash scripts/check-screen-reader.sh <build-dir>
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: check-screen-reader.sh <build-dir>}

if [ "${2:-}" != --on-display ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- bash "$0" "$build" --on-display
fi

/usr/libexec/at-spi-bus-launcher --launch-immediately &
bus=$!
# Qt exposes its widgets once it sees the accessibility bus; this makes it
# do so without waiting for a screen reader to announce itself.
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$build/app/grainmix" &
app=$!
sleep 2
status=0
/usr/bin/python3 "$here/tests/screenreader/read_window.py" || status=$?
kill "$app" "$bus" 2>/dev/null || true
exit $status
