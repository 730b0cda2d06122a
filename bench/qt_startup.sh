#!/usr/bin/env bash
# Start-up time (process start to window shown) and peak memory (max RSS) of
# the Grain Mix window against a bare Qt 6 window, both built the same way.
#   bench/qt_startup.sh [BUILD_DIR] [RUNS]
# Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
set -euo pipefail

build=${1:-/tmp/build-qt-release}
runs=${2:-30}
exe="$build/bench/qt_startup"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
[ -x "$exe" ] || { echo "build the qt_startup target in $build first" >&2; exit 1; }

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# One run: prints the microseconds from launch to the window shown, and the
# peak resident memory in KiB.
once() {
    local start shown
    start=$(date +%s%N)
    shown=$(/usr/bin/time -f '%M' -o "$rssFile" "$exe" "$1" 2>/dev/null)
    echo "$(((shown - start) / 1000)) $(tail -n 1 "$rssFile")"
}

rssFile=$(mktemp)
trap 'rm -f "$rssFile"' EXIT
once form1 >/dev/null # warm the file cache
once bare >/dev/null
# Alternate the two, so that both see the same load on the machine.
formTimes=() formRss=() bareTimes=() bareRss=()
for ((i = 0; i < runs; i++)); do
    read -r t m < <(once form1)
    formTimes+=("$t") formRss+=("$m")
    read -r t m < <(once bare)
    bareTimes+=("$t") bareRss+=("$m")
done
formTime=$(printf '%s\n' "${formTimes[@]}" | median)
bareTime=$(printf '%s\n' "${bareTimes[@]}" | median)
formRss=$(printf '%s\n' "${formRss[@]}" | median)
bareRss=$(printf '%s\n' "${bareRss[@]}" | median)

printf '%-28s %12s %14s\n' "window ($runs runs, median)" "start→shown" "max RSS"
printf '%-28s %9.0f µs %11.0f KiB\n' "Grain Mix (Form1)" "$formTime" "$formRss"
printf '%-28s %9.0f µs %11.0f KiB\n' "bare QWidget + QLabel" "$bareTime" "$bareRss"
awk -v a="$formTime" -v b="$bareTime" -v c="$formRss" -v d="$bareRss" \
    'BEGIN { printf "ratio: time %.2fx, memory %.2fx\n", a / b, c / d }'
