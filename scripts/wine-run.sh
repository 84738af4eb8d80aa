#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix of the project's own,
# created once, quietly, with no crash dialog and no Mono or Gecko set-up.
# A program that ends abnormally is named, with its status and what it
# wrote, so a failing test explains itself.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$top/build/wineprefix}
# Wine's own error lines are kept apart from the program's output and shown
# only when it ends abnormally (a DLL that did not load says so there).
quiet=${WINEDEBUG:+no}
export WINEDEBUG=${WINEDEBUG:--all,err+all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winedbg.exe=d"}
mkdir -p "$WINEPREFIX"
# The prefix is ready once wineboot has finished, not when its first
# files appear: two builds may ask at once; one creates, the other waits.
ready=$WINEPREFIX/.velquorin-ready
if [ ! -f "$ready" ]; then
  exec 9> "$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$ready" ]; then
    wineboot -i > "$WINEPREFIX.wineboot.log" 2>&1 && wineserver -w ||
      { echo "wine-run.sh: wineboot could not make $WINEPREFIX:" >&2; cat "$WINEPREFIX.wineboot.log" >&2; exit 1; }
    touch "$ready"
  fi
  exec 9>&-
fi

# Runs the rest of its line with no descriptor open but 0 to 2. The Wine
# server, Wine's services and the keeper outlive this script: what they
# inherit (our locks, a pipe CTest or Ninja waits on) would stay open as
# long.
only_stdio() {
  local fd
  for fd in /proc/$BASHPID/fd/*; do
    fd=${fd##*/}
    [ "$fd" -gt 2 ] && eval "exec $fd>&-"
  done
  exec "$@"
}

# The Wine server quits a while after its last program ends, and a program
# that connects while it is quitting dies at once, with "recvmsg:
# Connection reset by peer" or, worse, with nothing. So the server stays
# up and is stopped here, only while no program of ours runs: each run
# holds the users lock shared, and the keeper below stops the server
# holding it alone, after a minute without a run. Its own time-out of ten
# minutes is for a keeper that was killed.
users=$WINEPREFIX.users
exec 8>> "$users"
flock -s 8
(only_stdio wineserver -p600) < /dev/null > /dev/null 2>&1 || true  # returns at once when one is running
if flock -n "$WINEPREFIX.keeper" true; then
  # Away from our output: CTest and Ninja wait for every holder of theirs.
  (only_stdio setsid bash "$top/scripts/wine-keeper.sh" "$WINEPREFIX") < /dev/null > /dev/null 2>&1 &
fi

# Wine's server and services outlive the program and inherit its output.
# Under CTest that output is a pipe the test's end waits on, so a program
# without a terminal writes to files, copied out once it has finished.
if [ -t 1 ]; then
  [ "$quiet" = no ] || export WINEDEBUG=-all
  status=0
  (only_stdio wine "$@") || status=$?
  touch "$users"
  exit $status
fi
out=$(mktemp) err=$(mktemp) wine_err=$(mktemp)
trap 'rm -f "$out" "$err" "$wine_err"; touch "$users"' EXIT
status=0 start=$(date +%s%N)
(only_stdio wine "$@") > "$out" 2> "$err" || status=$?
took=$(( ($(date +%s%N) - start) / 1000000 ))
if [ "$quiet" != no ]; then
  grep -aE '^[0-9a-f]{4,8}:err:' "$err" > "$wine_err" || true
  grep -avE '^[0-9a-f]{4,8}:err:' "$err" > "$err.program" || true
  mv "$err.program" "$err"
fi
cat "$out"
cat "$err" >&2
if [ $status -ne 0 ]; then
  how="status $status"
  [ $status -gt 128 ] && how="signal $((status - 128)) ($(kill -l $((status - 128)) 2> /dev/null || echo ?))"
  echo "wine-run.sh: $* ended with $how after $took ms; it wrote $(wc -c < "$out") bytes" \
    "to stdout and $(wc -c < "$err") to stderr (above)" >&2
  if [ -s "$wine_err" ]; then
    echo "wine-run.sh: Wine's own errors:" >&2
    tail -20 "$wine_err" >&2
  fi
fi
exit $status
