#!/usr/bin/env bash
# Writes CHANGELOG.md (Keep a Changelog) as the Debian changelog of a native
# package, newest release first, for /usr/share/doc/<package>/changelog.gz.
# Releases without a date (Unreleased) are left out; lines are wrapped to fit
# Debian's 80 columns.
#   dist/debian-changelog.sh CHANGELOG.md PACKAGE "NAME <EMAIL>"
set -euo pipefail
LC_ALL=C awk -v package="$2" -v maintainer="$3" '
function flush(    words, n, i, line) {
    if (item == "")
        return
    n = split(item, words, " ")
    line = "  *"
    for (i = 1; i <= n; i++) {
        if (length(line) + 1 + length(words[i]) > 78) {
            print line
            line = "   "
        }
        line = line " " words[i]
    }
    print line
    item = ""
}
function finish(    cmd, stamp) {
    flush()
    if (version == "")
        return
    cmd = "date -u -R -d " date
    cmd | getline stamp
    close(cmd)
    printf "\n -- %s  %s\n", maintainer, stamp
    version = ""
}
/^## \[/ {
    finish()
    if (match($0, /^## \[[^]]+\] - [0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]/)) {
        version = $0
        sub(/^## \[/, "", version)
        sub(/\].*/, "", version)
        date = $NF
        shown = 0
        if (printed++)
            print ""
        printf "%s (%s) unstable; urgency=medium\n\n", package, version
    }
    next
}
version == "" { next }
/^### / { flush(); heading = substr($0, 5); if (shown++) print ""; print "  " heading ":"; next }
/^- / { flush(); item = substr($0, 3); next }
/^  +[^ ]/ && item != "" { sub(/^ +/, ""); item = item " " $0; next }
/^\[.*\]: / { next }
/^$/ { flush(); next }
END { finish() }
' "$1"
