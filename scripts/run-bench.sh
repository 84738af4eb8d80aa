#!/usr/bin/env bash
# make bench: the frame benchmark on both builds. First instructions per
# pass of a few frames and their floors under callgrind (Linux build), then
# every frame timed on the Linux build and on the shipped DLL under Wine,
# each table printed, then the two side by side. Instructions per pass are
# the difference of two runs that differ only in their number of passes, so
# loading and set-up cancel out; unlike the times they do not move with the
# machine's load. Extra arguments go to both benchmark programs (e.g.
# --filter common,busiest or --repetitions 9).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bench=$top/build/linux/velquorin-bench
wine_bench=$top/build/windows/wine/velquorin-bench-wine.exe
[ -x "$bench" ] || { echo "no $bench: build the linux preset first" >&2; exit 1; }
[ -f "$wine_bench" ] || { echo "no $wine_bench: build the windows preset first" >&2; exit 1; }
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

machine() { echo "$(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"; }

echo "== instructions per pass (callgrind, Linux build)"
for scene in common commonpad console100000 busiest hintlook hintline; do
  echo "$scene $(per_pass "$scene") $(per_pass "$scene" --floor)" | tee -a "$work/instructions"
done

echo "== Linux build: $(machine)"
"$bench" --instructions "$work/instructions" --tsv "$work/linux.tsv" "$@"
echo
echo "== the shipped DLL under Wine: $(machine)"
bash "$top/scripts/wine-run.sh" "$wine_bench" --tsv "$work/wine.tsv" "$@"
echo
echo "== side by side: median ns per pass, ratio to the floor's median, allocations per pass"
echo
echo "| Frame | Linux ns | Linux ratio | Linux allocations | Wine ns | Wine ratio | Wine allocations |"
echo "|---|---:|---:|---:|---:|---:|---:|"
awk -F '\t' '
  NR == FNR { wine[$1] = sprintf("%.0f | %.2f | %.2f", $4, $4 / $6, $7); next }
  { printf "| %s | %.0f | %.2f | %.2f | %s |\n", $2, $4, $4 / $6, $7, ($1 in wine) ? wine[$1] : "- | - | -" }
' "$work/wine.tsv" "$work/linux.tsv"
