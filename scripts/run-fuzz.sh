#!/usr/bin/env bash
# Fuzzes each target for a bounded time (60 s by default, or the first
# argument in seconds), one after the other on a copy of its seed corpus,
# and prints executions and findings per target. Findings (crash-*, leak-*,
# timeout-*, oom-*) land in build/fuzz/findings/<target>/; a crash found
# becomes a regression test and, once fixed, a file of the seed corpus.
# Paths are absolute: each target works in a fresh directory of its own.
# To rerun one finding: build/fuzz/fuzz-<target> <file>, or without
# libFuzzer: build/linux/velquorin-replay-<target> <file>.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
seconds=${1:-60}
build=$top/${VELQUORIN_FUZZ_BUILD:-build/fuzz}
targets=${VELQUORIN_FUZZ_TARGETS:-settings keys hostile_host}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DVELQUORIN_FUZZ=ON > "$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j2 --target $(printf 'fuzz-%s ' $targets) || exit 1

export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:print_stacktrace=1
export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1
status=0
for target in $targets; do
  work=$build/corpus/$target findings=$build/findings/$target log=$build/fuzz-$target.log
  mkdir -p "$work" "$findings"
  cp -n "$top/tests/fuzz/corpus/$target"/* "$work"/ 2> /dev/null
  dict=$top/tests/fuzz/$target.dict
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -artifact_prefix="$findings/" -print_final_stats=1)
  [ -f "$dict" ] && options+=(-dict="$dict")
  # A settings file may be as large as a player makes it; 1 MiB reaches
  # well past every buffer and line the reader keeps.
  [ "$target" = settings ] && options+=(-max_len=1048576)
  "$build/fuzz-$target" "$work" "${options[@]}" > "$log" 2>&1
  rc=$?
  runs=$(grep -E '^stat::number_of_executed_units:' "$log" | awk '{print $2}')
  found=$(ls "$findings" | wc -l)
  rate=$(grep -E '^stat::average_exec_per_sec:' "$log" | awk '{print $2}')
  echo "== $target: ${runs:-?} executions in ${seconds} s (${rate:-?} per second), $found finding(s), exit $rc (log: $log)"
  if [ $rc -ne 0 ] || [ "$found" -ne 0 ]; then
    status=1
    grep -E -A12 'ERROR:|property broken|runtime error' "$log" | head -40
    ls "$findings"
  fi
done
exit $status
