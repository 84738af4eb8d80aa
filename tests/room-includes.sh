#!/usr/bin/env bash
# The rooms of src/ and who may include whom: host/ is the floor and
# includes nothing of the rooms above it; settings/, driving/, overlay/ and
# log/ include of one another only the record headers (a *_state.h, or
# settings/settings.h), never an operation; plugin/ alone includes across.
set -euo pipefail
src=$1
status=0
for file in $(find "$src/host" "$src/settings" "$src/driving" "$src/overlay" "$src/log" -name '*.h' -o -name '*.cpp' | sort); do
  room=$(basename "$(dirname "$file")")
  while IFS= read -r header; do
    other=${header%%/*}
    [ "$other" = "$room" ] && continue
    case "$room:$header" in
      host:*) ;;
      *:*_state.h | *:settings/settings.h) [ "$other" != plugin ] && continue ;;
    esac
    echo "FAIL: ${file#"$src"/} includes $header"
    status=1
  done < <(sed -n 's/^#include "\(\(settings\|driving\|overlay\|log\|plugin\)\/[^"]*\)".*/\1/p' "$file")
done
[ $status = 0 ] && echo "every room includes only what it may"
exit $status
