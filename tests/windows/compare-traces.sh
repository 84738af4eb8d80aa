#!/usr/bin/env bash
# The shipped DLL under Wine against the Linux build, scenario by scenario:
# every trace the Wine run left must equal the Linux run's byte for byte.
# On a difference, prints the scenario, the frame and both lines.
#   compare-traces.sh LINUX_BUILD WINE_TRACES
set -uo pipefail
linux_build=$1 wine=$2
linux=$linux_build/traces
shopt -s nullglob

linux_traces=("$linux"/*.trace)
if [ ${#linux_traces[@]} -eq 0 ]; then
  echo "FAIL: no Linux traces in $linux; run the linux preset's tests first (ctest --preset linux)"
  exit 1
fi
for built in "$linux_build/libvelquorin.so" "$linux_build/velquorin-scenarios"; do
  if [ -n "$(find "$linux" -name '*.trace' ! -newer "$built" | head -1)" ]; then
    echo "FAIL: the Linux traces are older than $built; run ctest --preset linux again"
    exit 1
  fi
done
wine_traces=("$wine"/*.trace)
if [ ${#wine_traces[@]} -eq 0 ]; then
  echo "FAIL: no Wine traces in $wine"
  exit 1
fi

# A line as printed: at most 300 characters of it.
show() { sed -n "${2}{p;q}" "$1" | cut -c1-300; }

compared=0 frames=0 missing=()
for trace in "${wine_traces[@]}"; do
  name=$(basename "$trace" .trace)
  twin=$linux/$name.trace
  if [ ! -f "$twin" ]; then
    missing+=("$name")
    continue
  fi
  if ! difference=$(cmp "$twin" "$trace" 2>&1); then
    line=$(sed -nE 's/.*line ([0-9]+).*/\1/p' <<< "$difference")
    frame=$(head -n "${line:-1}" "$twin" | grep '^frame' | tail -1)
    echo "FAIL: $name differs, ${frame:-before the first frame}, line ${line:-?}:"
    echo "  linux: $(show "$twin" "${line:-1}")"
    echo "  wine:  $(show "$trace" "${line:-1}")"
    [ -z "$line" ] && echo "  ($difference)"
    exit 1
  fi
  compared=$((compared + 1))
  frames=$((frames + $(grep -c '^frame' "$trace")))
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "FAIL: ${#missing[@]} scenarios ran under Wine but left no Linux trace (run ctest --preset linux): ${missing[*]}"
  exit 1
fi
echo "$compared scenarios, $frames frames: the Linux and Wine traces are byte for byte equal" \
  "($(( ${#linux_traces[@]} - compared )) Linux-only scenarios not compared)"
