#!/usr/bin/env bash
# The session the Windows tests run in: a virtual X display and a Wine prefix
# of their own, in one folder of the build, set up once before the first test
# and torn down after the last.
#   winesession.sh start FOLDER WINE WINESERVER XVFB DESKTOPHOLDER
#   winesession.sh run FOLDER [--dpi N] PROGRAM [ARGUMENT...]
#   winesession.sh shell FOLDER COMMAND [ARGUMENT...]
#   winesession.sh stop FOLDER
# `run` runs a Windows program in the session and exits with its status; with
# --dpi the screen has that many dots per inch while it runs (96 without), and
# GRAINMIX_SCREEN_DPI tells the program so. `shell` runs a Linux command in
# the session, with WINE and WINESERVER naming Wine's programs.
set -euo pipefail

usage="usage: winesession.sh start|run|shell|stop FOLDER ..."
command=${1:?$usage}
folder=${2:?$usage}
shift 2
session="$folder/session.env"

fail() {
    echo "winesession.sh: $*" >&2
    exit 1
}

# Wine reads the screen's DPI from the registry when a program starts.
setDpi() {
    "$WINE" reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$1" /f \
        >/dev/null 2>&1
}

stop() {
    if [ -f "$session" ]; then
        # shellcheck source=/dev/null
        source "$session"
        "$WINESERVER" -k 2>/dev/null || true
    fi
    local xvfbPid
    xvfbPid=$(cat "$folder/xvfb.pid" 2>/dev/null || true)
    if [ -n "$xvfbPid" ] && [ "$(cat "/proc/$xvfbPid/comm" 2>/dev/null)" = Xvfb ]; then
        kill "$xvfbPid"
    fi
    rm -rf "$folder"
}

start() {
    local wine=$1 wineserver=$2 xvfb=$3 holder=$4
    for tool in "$wine" "$wineserver" "$xvfb"; do
        [ -x "$tool" ] || fail "no Wine or no Xvfb ($tool): bash scripts/deps.sh wine installs them"
    done
    stop # what a run that was cut short left behind
    mkdir -p "$folder/prefix"

    # Xvfb takes a free display number and writes it once it accepts clients.
    # The screen is large enough for the window at 192 DPI. Its output goes to
    # files, so that nothing of it holds this test's output open.
    "$xvfb" -displayfd 3 -screen 0 2560x1600x24 -nolisten tcp \
        3>"$folder/display" </dev/null >"$folder/xvfb.log" 2>&1 &
    local xvfbPid=$!
    echo "$xvfbPid" >"$folder/xvfb.pid"
    for _ in $(seq 100); do
        [ -s "$folder/display" ] && break
        kill -0 "$xvfbPid" 2>/dev/null || fail "Xvfb ended: $(cat "$folder/xvfb.log")"
        sleep 0.1
    done
    [ -s "$folder/display" ] || fail "Xvfb gave no display"

    cat >"$session" <<EOF
export DISPLAY=:$(head -n1 "$folder/display")
export WINEPREFIX='$folder/prefix'
export WINEDEBUG=-all
# No Gecko or Mono prompts, no Linux menu entries made from shortcuts.
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
export WINE='$wine'
export WINESERVER='$wineserver'
EOF
    # shellcheck source=/dev/null
    source "$session"
    # One server for the whole run, started first: one that quits whenever
    # its last program ends can drop the next program while it connects.
    "$WINESERVER" -p </dev/null >"$folder/wineserver.log" 2>&1
    # The prefix is made on the display: one made without a display would
    # leave Wine unable to open windows later.
    "$WINE" wineboot -i </dev/null >"$folder/wineboot.log" 2>&1
    # Without a window manager Wine waits for one on every window it hides,
    # a second or two each; unmanaged windows need none.
    "$WINE" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
    setDpi 96
    # Ended with everything else by the server at the session's end.
    "$WINE" "$holder" </dev/null >"$folder/desktopholder.log" 2>&1 &
}

enter() {
    [ -f "$session" ] || fail "no session in $folder: its setup test has not run"
    # shellcheck source=/dev/null
    source "$session"
}

run() {
    enter
    local dpi=96
    if [ "${1:-}" = --dpi ]; then
        dpi=${2:?--dpi needs a number}
        shift 2
    fi
    [ "$dpi" = 96 ] || setDpi "$dpi"
    local status=0
    GRAINMIX_SCREEN_DPI=$dpi "$WINE" "$@" </dev/null || status=$?
    [ "$dpi" = 96 ] || setDpi 96
    return $status
}

case "$command" in
start) start "$@" ;;
run) run "$@" ;;
shell)
    enter
    "$@" </dev/null
    ;;
stop) stop ;;
*) fail "no command $command" ;;
esac
