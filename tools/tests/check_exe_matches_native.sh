#!/usr/bin/env bash
# velquorin-check.exe under Wine says what the native checker says, word for
# word and with its status, about each settings file and log of the corpus.
set -euo pipefail
exe=$1 native=$2 corpus=$3 wine=$4
failed=0
for file in "$corpus"/*.ini "$corpus"/*/Velquorin.log; do
  cd "$(dirname "$file")" && name=$(basename "$file") wantStatus=0 gotStatus=0
  want=$("$native" check "$name") || wantStatus=$?
  got=$("$wine" "$exe" "$name" < /dev/null | tr -d '\r') || gotStatus=$?
  if [ "$got" != "$want" ] || [ $gotStatus != $wantStatus ]; then
    echo "FAIL: $file: the .exe (status $gotStatus) and the native checker (status $wantStatus) differ:"
    diff <(echo "$want") <(echo "$got") || true
    failed=1
  fi
done
exit $failed
