#!/usr/bin/env bash
# A rebuild of a release, set beside the release's BUILDINFO.txt: warns of
# another commit, and of each package whose version differs from the
# release's, since any of them may change the bytes.
#   compare-toolchain.sh RELEASE_BUILDINFO THIS_BUILDINFO
set -euo pipefail
release=$1 this=$2
# A record missing or unreadable compares with nothing: no silence that
# reads as "the same toolchain".
for record in "$release" "$this"; do
  [ -f "$record" ] && [ -r "$record" ] || { echo "compare-toolchain.sh: cannot read $record" >&2; exit 2; }
done
# A copy that went through Windows has CR LF line ends: the same record.
field() { sed -n "s/\r\$//; s/^$1: //p" "$2"; }
packages() { sed -n 's/\r$//; s/^ //p' "$1" | LC_ALL=C sort; }

if [ "$(field Commit "$release")" != "$(field Commit "$this")" ]; then
  echo "warning: the release was built from commit $(field Commit "$release"), this is $(field Commit "$this"):" \
    "its files differ for that alone"
fi
# name, the release's version, this machine's ("-" for none)
differing=$(LC_ALL=C join -a 1 -a 2 -e - -o 0,1.2,2.2 <(packages "$release") <(packages "$this") | awk '$2 != $3')
if [ -n "$differing" ]; then
  echo "warning: this toolchain is not the one that built the release:"
  awk '{printf "  %s: the release had %s, this machine has %s\n", $1, $2, $3}' <<< "$differing"
  [ "$(field Debian "$release")" = "$(field Debian "$this")" ] ||
    echo "  (the release was built on Debian $(field Debian "$release"), this is $(field Debian "$this"))"
  echo "A sum below that differs may come from these alone: README.md, \"Check a download\", says how to build with the release's versions."
fi
