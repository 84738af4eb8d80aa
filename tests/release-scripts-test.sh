#!/usr/bin/env bash
# The release's records on a machine that lacks a package, and read back
# from a copy that went through Windows (CR LF) or went missing.
#   release-scripts-test.sh SOURCE_DIR
set -euo pipefail
scripts=$1/scripts
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
absent=velquorin-no-such-package

# A package list naming one dpkg has never heard of: the package named, no line written.
sed "s/^packages=(/packages=($absent /" "$scripts/write-buildinfo.sh" > "$work/write-buildinfo.sh"
! bash "$work/write-buildinfo.sh" 1.0.0+abc 0 > "$work/out" 2> "$work/err" || fail "it wrote a record: $(cat "$work/out")"
grep -qx "write-buildinfo.sh: not installed: $absent" "$work/err" || fail "the package is not named: $(cat "$work/err")"
[ ! -s "$work/out" ] || fail "a half record: $(cat "$work/out")"

# This machine's record, against itself in CR LF and against a release built with a package it lacks.
bash "$scripts/write-buildinfo.sh" 1.0.0+abc 0 > "$work/lf.txt"
sed 's/$/\r/' "$work/lf.txt" > "$work/crlf.txt"
sed "s/^Packages:\r$/&\n $absent 1.0\r/" "$work/crlf.txt" > "$work/with-absent.txt"
compare() { bash "$scripts/compare-toolchain.sh" "$@" 2>&1; }
[ -z "$(compare "$work/crlf.txt" "$work/lf.txt")" ] || fail "CR LF read as differing: $(compare "$work/crlf.txt" "$work/lf.txt")"
[ "$(compare "$work/with-absent.txt" "$work/lf.txt" | grep '^  ')" = "  $absent: the release had 1.0, this machine has -" ] ||
  fail "not the one package: $(compare "$work/with-absent.txt" "$work/lf.txt")"
! said=$(compare "$work/gone.txt" "$work/lf.txt") || fail "a missing record compared: $said"
[ "$said" = "compare-toolchain.sh: cannot read $work/gone.txt" ] || fail "said: $said"
echo "a package missing stops the record unwritten; CR LF records compare equal; a missing one is an error"
