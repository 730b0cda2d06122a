#!/usr/bin/env bash
# Builds the fuzz targets with clang, replays their corpora, then fuzzes each
# target for a while from a scratch copy of its corpus, so the corpora are
# never written. Fails if any target finds a fault; the inputs that did it are
# kept in <build dir>/findings/<target>/.
#
#   scripts/fuzz.sh [build dir]      (default: the fuzz preset's folder)
#   FUZZ_SECONDS   time per target in seconds (default 60)
#   FUZZ_TARGETS   targets to run (default: all four)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
folder=()
[ -z "${1:-}" ] || folder=(-B "$(realpath -m "$1")")
seconds=${FUZZ_SECONDS:-60}
targets=${FUZZ_TARGETS:-"fuzz_readings fuzz_roundtrip fuzz_recalculate fuzz_form1"}

bash "$root/scripts/deps.sh" fuzz

# Only the fuzz targets are built (the fuzz preset): they need clang, the
# calc and window sources, and neither Qt nor GoogleTest. Its tests replay
# the corpora.
cd "$root"
build=$(cmake --preset fuzz "${folder[@]}" | sed -n 's/^-- Build files have been written to: //p')
cmake --build "$build" --target fuzz_targets
# Not ctest --preset, which would test the preset's folder whatever folder
# was given.
ctest --test-dir "$build" --output-on-failure --no-tests=error

scratch=$(mktemp -d /tmp/grainmix-fuzz-corpus.XXXXXX)
trap 'rm -rf "$scratch"' EXIT

# Each target on a core of its own, as many at a time as there are cores:
# the same time for each, in a fraction of the wall-clock time.
fuzz() {
    local target=$1 options findings
    cp -r "$root/fuzz/corpus/$target" "$scratch/$target"
    findings="$build/findings/$target"
    mkdir -p "$findings"
    # The dictionary holds pieces of number texts; the round trip reads only
    # the eight bytes of one double. A session of the window is a few bytes an
    # event: short ones run many more sequences in the time.
    case "$target" in
    fuzz_roundtrip) options=(-max_len=8) ;;
    fuzz_form1) options=(-dict="$root/fuzz/numbers.dict" -max_len=128) ;;
    *) options=(-dict="$root/fuzz/numbers.dict") ;;
    esac
    "$build/fuzz/$target" \
        -max_total_time="$seconds" \
        "${options[@]}" \
        -artifact_prefix="$findings/" \
        -print_final_stats=1 \
        "$scratch/$target" >"$scratch/$target.log" 2>&1
}

for target in $targets; do
    while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do wait -n || true; done
    echo "== $target: ${seconds} s"
    { fuzz "$target" && echo ok || echo failed; } >"$scratch/$target.status" &
done
wait
failed=()
for target in $targets; do
    echo "== $target"
    cat "$scratch/$target.log"
    [ "$(cat "$scratch/$target.status")" = ok ] || failed+=("$target")
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing found faults in: ${failed[*]} (inputs in $build/findings/)" >&2
    exit 1
fi
echo "fuzzing found no faults"
