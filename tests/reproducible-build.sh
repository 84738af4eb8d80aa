#!/usr/bin/env bash
# Anyone who builds a release's commit gets the release's bytes. This tree's
# Windows files and the settings page are built again from a copy of its source in another
# folder (a path of another length), a minute later, and packed again; the
# zip, and every file in it, must equal the first ones byte for byte. A
# difference is named by file, offset and the header field or section it
# falls in.
#   reproducible-build.sh SOURCE_DIR   (its build/windows, build/web and dist/ built)
set -euo pipefail
top=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/velquorin-again.XXXXXX)
trap 'rm -rf "$work"' EXIT
again=$work/another/folder/velquorin
mkdir -p "$again"

# The source as the first build saw it: what git tracks, changes and new
# files included, but no build output. (Without git: all but the output.)
if git -C "$top" rev-parse --show-toplevel > /dev/null 2>&1; then
  git -C "$top" ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do [ -e "$top/$f" ] && printf '%s\0' "$f"; done |
    tar -C "$top" --null -T - -cf - | tar -C "$again" -xf -
else
  tar -C "$top" --exclude=./build --exclude=./dist -cf - . | tar -C "$again" -xf -
fi
# The copy has no .git: it is told the commit the first build found.
stamp=$top/build/windows/generated/velquorin_source.h
source_version=$(awk '$2 == "VELQUORIN_SOURCE_VERSION" {gsub(/"/, "", $3); print $3}' "$stamp")
export VELQUORIN_COMMIT=${source_version#*+}
export SOURCE_DATE_EPOCH=$(awk '$2 == "VELQUORIN_SOURCE_DATE" {print $3}' "$stamp")

log=$work/build.log
if ! (cd "$again" && cmake --preset windows && cmake --build --preset windows -j 2 --target Velquorin velquorin-check &&
       cmake --preset web && cmake --build --preset web -j 2 --target settings-page) > "$log" 2>&1; then
  echo "FAIL: the second build failed:"; tail -40 "$log"; exit 1
fi
bash "$top/scripts/make-dist.sh" "$work/first" > /dev/null
bash "$again/scripts/make-dist.sh" "$work/second" > /dev/null

# The zip and the files unpacked from it, as SHA256SUMS.txt lists them.
unzip -q "$work/first"/*.zip -d "$work/first"
unzip -q "$work/second"/*.zip -d "$work/second"
status=0 count=0
while read -r _ name; do
  count=$((count + 1))
  if [ ! -f "$work/second/$name" ]; then
    echo "FAIL: $name: only the first build made it"; status=1
  elif ! cmp -s "$work/first/$name" "$work/second/$name"; then
    # cmp counts from 1; when one file is the other's start it names no byte.
    at=$(cmp "$work/first/$name" "$work/second/$name" 2>&1 | sed -n 's/.* differ: byte \([0-9]*\).*/\1/p' || true)
    [ -n "$at" ] || at=$(( $(stat -c %s "$work/first/$name" "$work/second/$name" | sort -n | head -1) + 1 ))
    at=$((at - 1))
    echo "FAIL: $name differs ($(cmp -l "$work/first/$name" "$work/second/$name" 2> /dev/null | wc -l || true) bytes)," \
      "first at $(python3 "$here/locate-difference.py" "$work/first/$name" "$at")"
    status=1
  fi
done < "$work/first/SHA256SUMS.txt"
cmp -s "$work/first/SHA256SUMS.txt" "$work/second/SHA256SUMS.txt" || {
  echo "FAIL: the two SHA256SUMS.txt differ:"; diff "$work/first/SHA256SUMS.txt" "$work/second/SHA256SUMS.txt" || true
  status=1
}
[ $status = 0 ] && echo "built again in $again: the $count files of SHA256SUMS.txt are the same, byte for byte"
exit $status
