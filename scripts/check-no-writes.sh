#!/usr/bin/env bash
# Proves that the Linux program writes nothing and opens no network socket:
# starts it under strace on a virtual display with an empty home, types an
# amount, clears (dismissing the message), exits, and reads the trace. Any
# file opened for writing, created, renamed or removed outside /dev, /proc,
# /sys and /tmp (the home counts as outside, though it lives in /tmp) fails,
# as does any socket other than a local or netlink one.
# Usage: scripts/check-no-writes.sh [build-dir]   (default: build-linux)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" = --on-display ]; then
    shift
else
    out=$(realpath -m "${1:-$here/build-linux}")
    (cd "$here" && cmake --preset linux -B "$out" >/dev/null)
    cmake --build "$out" --target grainmix -j "$(nproc)"
    # The whole check runs again inside a virtual display and a session bus,
    # as on a desktop. Without a bus the D-Bus library would try to start one
    # itself with dbus-launch, which is no part of this program.
    exec xvfb-run -a -s "-screen 0 1024x768x24" \
        dbus-run-session -- bash "$0" --on-display "$out"
fi

out=$1
bin=$out/app/grainmix
work=$(mktemp -d /tmp/grainmix-nowrite.XXXXXX)
home=$work/home
mkdir -p "$home/.config" "$home/.cache" "$home/.local/share" "$home/.local/state" "$home/run"
chmod 700 "$home/run"

fail() {
    echo "check-no-writes: $*" >&2
    exit 1
}

# Nothing of the caller's session leaks in: an empty home, its XDG folders
# inside it, and only the display and the bus made for this check.
strace -f -ff -qq -y -o "$work/trace" \
    -e trace=execve,execveat,open,openat,openat2,creat,truncate,mkdir,mkdirat,rename,renameat,renameat2,unlink,unlinkat,rmdir,link,linkat,symlink,symlinkat,socket,connect,bind \
    env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$home" DISPLAY="$DISPLAY" XAUTHORITY="${XAUTHORITY:-}" \
    DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" \
    XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" \
    XDG_DATA_HOME="$home/.local/share" XDG_STATE_HOME="$home/.local/state" \
    XDG_RUNTIME_DIR="$home/run" \
    "$bin" &
traced=$!

window=$(timeout 30 xdotool search --sync --onlyvisible --name '^The Composition of Grains $' | head -n 1) ||
    fail "the window did not open"
eval "$(xdotool getwindowgeometry --shell "$window")"
echo "window $window at $X,$Y, ${WIDTH}x$HEIGHT (no window manager: no frame, no decoration)"
[ "$WIDTH" = 634 ] && [ "$HEIGHT" = 440 ] || fail "the window is ${WIDTH}x$HEIGHT, not 634x440"

# A point of the client area, from twips, a few pixels inside the control.
click() {
    xdotool mousemove --sync $((X + $1 / 15 + 6)) $((Y + $2 / 15 + 6)) click 1
}
grabFigures() { # Frame1, where the five results stand
    import -window root -crop 281x217+$((X + 344))+$((Y + 8)) +repage "$1"
}

grabFigures "$work/figures-before.png"
click $((120 + 1560)) $((120 + 720)) # Barley's field, inside Frame2
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 80 10
sleep 0.5
grabFigures "$work/figures-after.png"
changed=$(compare -metric AE "$work/figures-before.png" "$work/figures-after.png" null: 2>&1 || true)
[ "${changed%% *}" != 0 ] || fail "typing 10 into Barley changed no figure on screen"
xdotool getwindowname "$window" >/dev/null || fail "the window is gone after typing"

# Clear shows the message only when some amount was not 0: its box proves
# that the typing arrived.
click 3240 5760
box=$(timeout 10 xdotool search --sync --onlyvisible --name '^Grain Mix$' | head -n 1) ||
    fail "Clear showed no message, so the typed amount never arrived"
eval "$(xdotool getwindowgeometry --shell --prefix BOX_ "$box")"
echo "message box $box at $BOX_X,$BOX_Y, ${BOX_WIDTH}x$BOX_HEIGHT"
xdotool windowfocus --sync "$box" key Return
for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^Grain Mix$' >/dev/null || break
    sleep 0.1
done
! xdotool search --onlyvisible --name '^Grain Mix$' >/dev/null || fail "Return left the message up"
xdotool getwindowname "$window" >/dev/null || fail "the window is gone before Exit"

click 6360 5760
for _ in $(seq 100); do
    kill -0 "$traced" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$traced" 2>/dev/null; then
    kill "$traced"
    fail "Exit did not end the program"
fi
status=0
wait "$traced" || status=$?
[ "$status" = 0 ] || fail "the program ended with status $status"

cat "$work"/trace.* >"$work/trace"
if grep -E -e '--- SIG(SEGV|ABRT|BUS|FPE|ILL)' -e '\+\+\+ killed by' "$work/trace"; then
    fail "the program crashed"
fi

# Writes are open flags that allow writing, and every call that makes, moves
# or removes a name; each path named must lie in the allowed places. A call
# that found its name already there changed nothing. The program starts no
# other program: env is how it was started.
findings=$(awk -v home="$home" -v bin="$bin" '
    function allowed(p) {
        if (p == home || index(p, home "/") == 1)
            return 0
        return p ~ /^\/(dev|proc|sys|tmp)(\/|$)/
    }
    function pathsAllowed(line,    rest, p) {
        rest = line
        while (match(rest, /"([^"\\]|\\.)*"/)) {
            p = substr(rest, RSTART + 1, RLENGTH - 2)
            rest = substr(rest, RSTART + RLENGTH)
            if (!allowed(p))
                return 0
        }
        return 1
    }
    {
        call = $0
        sub(/\(.*/, "", call)
        if ($0 ~ /= -1 EEXIST/)
            next
        if (call ~ /^(execve|execveat)$/) {
            if (index($0, "\"" bin "\"") == 0 && $0 !~ /^execve\("\/usr\/bin\/env"/)
                print
        } else if (call ~ /^(open|openat|openat2)$/) {
            if ($0 ~ /O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND|O_TMPFILE/ && !pathsAllowed($0))
                print
        } else if (call ~ /^(creat|truncate|mkdir|mkdirat|rename|renameat|renameat2|unlink|unlinkat|rmdir|link|linkat|symlink|symlinkat)$/) {
            if (!pathsAllowed($0))
                print
        } else if (call == "socket") {
            if ($0 !~ /AF_UNIX|AF_LOCAL|AF_NETLINK/)
                print
        } else if (call == "connect" || call == "bind") {
            if ($0 ~ /AF_INET/)
                print
        }
    }' "$work/trace")
left=$(find "$home" -mindepth 1 -not -type d)
if [ -n "$findings" ] || [ -n "$left" ]; then
    [ -z "$findings" ] || printf 'written or connected:\n%s\n' "$findings" >&2
    [ -z "$left" ] || printf 'left in the home:\n%s\n' "$left" >&2
    fail "the program wrote, connected or started another program (trace: $work/trace)"
fi
echo "no file written, no network socket opened, no other program started; exit status 0 (trace: $work/trace)"
