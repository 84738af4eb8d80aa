#!/usr/bin/env bash
# Every test of every build: the native suite, the same suite under the
# sanitizers, the Windows build's tests under Wine, and the settings page
# in Chromium and Firefox ESR. Ends with one "N passed, N failed" line.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
status=0 passed=0 failed=0
for preset in linux linux-asan windows web; do
  start=$(date +%s)
  log=build/ctest-$preset.log
  ctest --preset "$preset" > "$log" 2>&1
  rc=$?
  [ $rc -eq 0 ] || status=1
  summary=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  echo "== $preset: ${summary:-no tests ran} ($(( $(date +%s) - start )) s)"
  if [ $rc -ne 0 ]; then
    sed -n '/The following tests FAILED/,$p' "$log"
    grep -B2 -A25 -E '\*\*\*Failed|\(Failed\)|FAILED  \]' "$log" | head -150
  fi
  if [ -n "$summary" ]; then
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<< "$summary")
    bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<< "$summary")
    passed=$((passed + total - bad)) failed=$((failed + bad))
  else
    failed=$((failed + 1))
  fi
done
command -v wineserver > /dev/null && WINEPREFIX=$top/build/wineprefix wineserver -k 2> /dev/null
echo "$passed passed, $failed failed"
exit $status
