#!/usr/bin/env bash
# make bench: counts instructions per pass of the common and busiest frames
# (and their floors) under callgrind, then times every frame with
# velquorin-bench and prints the table. Instructions per pass are the
# difference of two runs that differ only in their number of passes, so
# loading and set-up cancel out; unlike the times they do not move with the
# machine's load. Extra arguments go to velquorin-bench (benchmark flags).
# BENCH_BUILD picks the build directory (default build/linux).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bench=$top/${BENCH_BUILD:-build/linux}/velquorin-bench
[ -x "$bench" ] || { echo "no $bench: build the linux preset first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

collected() {  # scene passes [--floor]: instructions of the whole run
  valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" \
    "$bench" --scenario "$1" --frames "$2" ${3:-} 2>&1 |
    sed -n 's/.*Collected : \([0-9][0-9]*\).*/\1/p'
}

per_pass() {
  local few many
  few=$(collected "$1" 200 "${2:-}")
  many=$(collected "$1" 1200 "${2:-}")
  echo $(( (many - few) / 1000 ))
}

echo "== instructions per pass (callgrind)"
for scene in common busiest; do
  pass=$(per_pass "$scene")
  floor=$(per_pass "$scene" --floor)
  echo "$scene $pass $floor" | tee -a "$work/instructions"
done

echo "== time per pass ($(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg))"
"$bench" --instructions "$work/instructions" "$@"
