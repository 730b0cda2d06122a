#!/usr/bin/env bash
# Exits 0 where this machine runs 32-bit x86 programs. Some do not at all
# (virtual machines whose kernel turns 32-bit code away), and there neither
# the 32-bit core's tests nor 32-bit Wine can start.
set -u
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf 'int main(void) { return 0; }\n' >"$dir/probe.c"
gcc -m32 "$dir/probe.c" -o "$dir/probe" 2>/dev/null && "$dir/probe" 2>/dev/null
