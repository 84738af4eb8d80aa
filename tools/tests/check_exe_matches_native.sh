#!/usr/bin/env bash
# velquorin-check.exe under Wine says what the native checker says, word for
# word and with the same status, about every settings file of the corpus
# and every player's log beside it: Windows' profile reader and ours, and
# the two C runtimes, must not part ways in front of a player.
set -euo pipefail
exe=$1 native=$2 corpus=$3 wine=$4
failed=0
for file in "$corpus"/*.ini "$corpus"/*/Velquorin.log; do
  cd "$(dirname "$file")"
  set +e
  want=$("$native" check "$(basename "$file")"); wantStatus=$?
  got=$("$wine" "$exe" "$(basename "$file")" < /dev/null | tr -d '\r'); gotStatus=$?
  set -e
  if [ "$got" != "$want" ] || [ $gotStatus != $wantStatus ]; then
    echo "FAIL: $file: the .exe (status $gotStatus) and the native checker (status $wantStatus) differ:"
    diff <(echo "$want") <(echo "$got") || true
    failed=1
  fi
done
[ $failed = 0 ] && echo "velquorin-check.exe said what the native checker said about each file"
exit $failed
