#!/usr/bin/env bash
# The release's records where a package is missing, and read back from a CR LF or a missing copy.
set -euo pipefail
scripts=$1/scripts work=$(mktemp -d) absent=velquorin-no-such-package
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

sed "s/^packages=(/packages=($absent /" "$scripts/write-buildinfo.sh" > "$work/lacking.sh"
! bash "$work/lacking.sh" 1.0.0+abc 0 > "$work/out" 2> "$work/err" && [ ! -s "$work/out" ] || fail "written: $(cat "$work/out")"
grep -qx "write-buildinfo.sh: not installed: $absent" "$work/err" || fail "the package is not named: $(cat "$work/err")"
# This machine's record against a CR LF copy of it that names one package more.
bash "$scripts/write-buildinfo.sh" 1.0.0+abc 0 > "$work/lf.txt"
sed "s/\$/\r/; s/^Packages:\r\$/&\n $absent 1.0\r/" "$work/lf.txt" > "$work/crlf.txt"
said=$(bash "$scripts/compare-toolchain.sh" "$work/crlf.txt" "$work/lf.txt")
[ "$(grep '^  ' <<< "$said")" = "  $absent: the release had 1.0, this machine has -" ] || fail "not that one package: $said"
! said=$(bash "$scripts/compare-toolchain.sh" "$work/gone.txt" "$work/lf.txt" 2>&1) &&
  [ "$said" = "compare-toolchain.sh: cannot read $work/gone.txt" ] || fail "a missing record: $said"
echo "a missing package is named and nothing written; a CR LF record reads as written; a missing one is an error"
