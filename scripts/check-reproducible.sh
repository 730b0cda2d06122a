#!/usr/bin/env bash
# Builds each package twice, from two copies of this checkout's tracked files
# (uncommitted edits included) in two different folders, sharing nothing,
# with SOURCE_DATE_EPOCH taken from the last commit, and checks that every
# file each kind makes is the same byte for byte. On a difference diffoscope
# says where, and the check fails. The first copy's packages stay for the
# checks that follow: <out-dir>/a/<kind>/packages/.
#   bash scripts/check-reproducible.sh <out-dir> [kind...]   (default: every kind below)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:?usage: check-reproducible.sh <out-dir> [kind...]}")
shift

# The kinds scripts/package.sh makes, and what each makes that is compared
# besides its packages/ folder (the packages and SHA256SUMS).
declare -A alsoMade=(
    [deb]=""
    [zip]="app/grainmix.exe"
    [web]="web/grainmix.wasm web/grainmix.js"
)
kinds=("$@")
[ ${#kinds[@]} -gt 0 ] || mapfile -t kinds < <(printf '%s\n' "${!alsoMade[@]}" | LC_ALL=C sort)

bash "$here/scripts/deps.sh" release
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(git -C "$here" log -1 --format=%ct)
tree=$(git -C "$here" stash create)
rm -rf "$out/a" "$out/b"
for side in a b; do
    mkdir -p "$out/$side/src"
    git -C "$here" archive "${tree:-HEAD}" | tar -x -C "$out/$side/src"
done

differ=0
for kind in "${kinds[@]}"; do
    [ -v "alsoMade[$kind]" ] || { echo "check-reproducible.sh: no such kind: $kind" >&2; exit 2; }
    for side in a b; do
        bash "$out/$side/src/scripts/package.sh" "$kind" "$out/$side/$kind" >/dev/null
    done
    files=$(cd "$out" && find {a,b}/"$kind"/packages -maxdepth 1 -type f | cut -d/ -f3- | LC_ALL=C sort -u)
    for f in $files ${alsoMade[$kind]}; do
        if cmp -s "$out/a/$kind/$f" "$out/b/$kind/$f"; then
            echo "same: $kind/$f ($(stat -c %s "$out/a/$kind/$f") bytes)"
        else
            echo "DIFFERENT: $kind/$f" >&2
            diffoscope --text - "$out/a/$kind/$f" "$out/b/$kind/$f" >&2 || true
            differ=1
        fi
    done
done
[ $differ = 0 ] || { echo "the two builds differ" >&2; exit 1; }
for kind in "${kinds[@]}"; do
    (cd "$out/a/$kind/packages" && cat SHA256SUMS && sha256sum -c --quiet SHA256SUMS)
done
echo "the two builds are the same byte for byte: ${kinds[*]}"
