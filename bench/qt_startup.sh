#!/usr/bin/env bash
# The Grain Mix window against a bare Qt 6 window, both built the same way:
# the whole process's wall-clock and CPU time, the time from launch to the
# window shown, and the peak memory (max RSS). Medians over alternating runs.
#   bench/qt_startup.sh [BUILD_DIR] [RUNS]
# BUILD_DIR defaults to the release preset's folder, configured with that
# preset unless it is already; the qt_startup target is built there if it is
# missing.
# Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise; under
# xvfb-run, pass QT_QPA_PLATFORM=xcb.
set -euo pipefail

checkout=$(cd "$(dirname "$0")/.." && pwd)
runs=${2:-30}
if [ -n "${1:-}" ] && [ -f "$1/CMakeCache.txt" ]; then
    build=$(realpath "$1")
else
    build=$(cd "$checkout" && cmake --preset release ${1:+-B "$(realpath -m "$1")"} |
        sed -n 's/^-- Build files have been written to: //p')
fi
exe="$build/bench/qt_startup"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
[ -x "$exe" ] || cmake --build "$build" --target qt_startup -j2 >/dev/null

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# One run: prints the whole process's wall-clock time, its user plus system
# CPU time, the time from launch to the window shown (all in ms) and the peak
# resident memory in KiB.
once() {
    local start shown real user sys
    start=$(date +%s%N)
    TIMEFORMAT='%3R %3U %3S'
    { time /usr/bin/time -f '%M' -o "$rssFile" "$exe" "$1" >"$shownFile" 2>/dev/null; } 2>"$timeFile"
    read -r real user sys <"$timeFile"
    shown=$(cat "$shownFile")
    awk -v r="$real" -v u="$user" -v s="$sys" -v d="$(((shown - start) / 1000))" -v m="$(tail -n 1 "$rssFile")" \
        'BEGIN { printf "%.1f %.1f %.1f %d\n", r * 1000, (u + s) * 1000, d / 1000, m }'
}

rssFile=$(mktemp) timeFile=$(mktemp) shownFile=$(mktemp)
trap 'rm -f "$rssFile" "$timeFile" "$shownFile"' EXIT
once form1 >/dev/null # warm the file cache
once bare >/dev/null
# Alternate the two, so that both see the same load on the machine.
declare -A values
for ((i = 0; i < runs; i++)); do
    for kind in form1 bare; do
        read -r wall cpu shown rss < <(once "$kind")
        values[$kind.wall]+="$wall " values[$kind.cpu]+="$cpu "
        values[$kind.shown]+="$shown " values[$kind.rss]+="$rss "
    done
done
med() { printf '%s\n' ${values[$1]} | median; }

printf '%-22s %10s %10s %12s %10s\n' "$QT_QPA_PLATFORM, $runs runs, median" wall CPU "start→shown" "max RSS"
for kind in form1 bare; do
    name=$([ "$kind" = form1 ] && echo "Grain Mix (Form1)" || echo "bare QWidget + QLabel")
    printf '%-22s %7.1f ms %7.1f ms %9.1f ms %6.0f KiB\n' "$name" \
        "$(med "$kind.wall")" "$(med "$kind.cpu")" "$(med "$kind.shown")" "$(med "$kind.rss")"
done
awk -v a="$(med form1.wall)" -v b="$(med bare.wall)" -v c="$(med form1.cpu)" -v d="$(med bare.cpu)" \
    -v e="$(med form1.shown)" -v f="$(med bare.shown)" -v g="$(med form1.rss)" -v h="$(med bare.rss)" \
    'BEGIN { printf "ratio: wall %.2fx, CPU %.2fx, start→shown %.2fx, memory %.2fx\n", a / b, c / d, e / f, g / h }'
