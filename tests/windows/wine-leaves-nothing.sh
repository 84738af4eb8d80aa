#!/usr/bin/env bash
# A prefix deleted while its Wine server runs (a `make clean`, a CI clone
# removed) leaves no process behind once the keeper has looked, and the
# keeper and the server hold nothing of their caller's but 0 to 2.
#   wine-leaves-nothing.sh SOURCE_DIR
set -euo pipefail
top=$(cd "$1" && pwd)
tmp=$(mktemp -d /tmp/velquorin-prefix.XXXXXX)
export WINEPREFIX=$tmp/wineprefix
of_prefix() {
  local e
  for e in /proc/[0-9]*/environ; do
    grep -qzxF "WINEPREFIX=$WINEPREFIX" "$e" 2> /dev/null && { e=${e%/environ}; echo "${e#/proc/}"; }
  done
  return 0
}
show() { [ $# -eq 0 ] || ps -o pid=,args= -p "$(tr ' ' , <<< "$*")" || true; }
# A failed run leaves nothing either.
trap 'pids=$(of_prefix); [ -z "$pids" ] || kill -KILL $pids 2> /dev/null; rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

bash "$top/scripts/wine-run.sh" cmd /c exit 0 5> "$tmp/caller-descriptor"
pids=$(of_prefix)
grep -q "^wineserver" < <(for p in $pids; do cat /proc/$p/comm; done) || fail "no Wine server runs after the program; the prefix's processes:$(show $pids)"
for p in $pids; do
  ! ls -l /proc/$p/fd 2> /dev/null | grep -qF "$tmp/caller-descriptor" || fail "$(show $p) holds its caller's descriptor 5"
done

rm -rf "$tmp"
start=$(date +%s)
# The keeper looks every 10 s and gives the server 5 s to end its
# services; 5 more for a busy machine.
while left=$(of_prefix) && [ -n "$left" ] && [ $(( $(date +%s) - start )) -lt 20 ]; do sleep 0.5; done
[ -z "$left" ] || fail "$(( $(date +%s) - start )) s after the prefix was deleted, these still run:"$'\n'"$(show $left)"
echo "the prefix's $(wc -w <<< "$pids") processes ended $(( $(date +%s) - start )) s after it was deleted"
