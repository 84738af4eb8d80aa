#!/usr/bin/env bash
# The Velquorin.ini players unpack: Notepad's line ends on every line, and
# nothing for the checker to warn or note but one.
set -euo pipefail
sim=$1 ini=$2
fail() { echo "FAIL: $*"; exit 1; }

lines=$(wc -l < "$ini")
[ "$lines" -gt 0 ] && [ "$(grep -c $'\r$' "$ini")" = "$lines" ] || fail "not every line of $ini ends with CR LF"
[ "$(tail -c 2 "$ini" | od -An -c | tr -d ' ')" = '\r\n' ] || fail "$ini does not end with CR LF"

# One warning stays: the reload chord's Alt, which the game also reads on
# foot (its character wheel), where Velquorin leaves every key to it.
status=0
report=$("$sim" check "$ini") || status=$?
findings=$(grep -E '^(warning|note|error)' <<< "$report" || true)
[ $status = 1 ] && [ "$(wc -l <<< "$findings")" = 1 ] &&
  grep -qE '^warning: line [0-9]+: reload_ini_file_modifier = ALT: on foot LMENU .*character wheel' <<< "$findings" ||
  { echo "$report"; fail "the checker's status is $status for $ini, or it finds more than the reload chord's Alt"; }
echo "$ini: CR LF throughout, checks clean but for the reload chord's Alt on foot"
