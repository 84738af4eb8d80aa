#!/usr/bin/env bash
# The Velquorin.ini players unpack: Notepad's line ends on every line, and
# nothing for the checker to warn or note.
set -euo pipefail
sim=$1 ini=$2
fail() { echo "FAIL: $*"; exit 1; }

lines=$(wc -l < "$ini")
[ "$lines" -gt 0 ] && [ "$(grep -c $'\r$' "$ini")" = "$lines" ] || fail "not every line of $ini ends with CR LF"
[ "$(tail -c 2 "$ini" | od -An -c | tr -d ' ')" = '\r\n' ] || fail "$ini does not end with CR LF"

status=0
report=$("$sim" check "$ini") || status=$?
[ $status = 0 ] || { echo "$report"; fail "the checker's status is $status for $ini"; }
if grep -E '^(warning|note|error)' <<< "$report"; then fail "the checker finds fault with $ini"; fi
echo "$ini: CR LF throughout, checks clean"
