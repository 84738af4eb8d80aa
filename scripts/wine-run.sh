#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix of the project's own,
# created once, quietly, with no crash dialog and no Mono or Gecko set-up.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$top/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winedbg.exe=d"}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  # Two builds may ask at once; one creates, the other waits.
  exec 9> "$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i > /dev/null 2>&1 || true
    wineserver -w || true
  fi
  flock -u 9
  exec 9>&-
fi
# Debian's server quits the moment its last program ends. Tests start one
# program each, two at a time, and a program that connects while the
# server is quitting dies with "recvmsg: Connection reset by peer". A
# server that stays half a minute after the last program closes that gap.
# When one is already running this returns at once.
wineserver -p30 < /dev/null > /dev/null 2>&1 || true
# Wine's server and services outlive the program and inherit its output.
# Under CTest that output is a pipe the test's end waits on, so a program
# without a terminal writes to files, copied out once it has finished.
if [ -t 1 ]; then
  exec wine "$@"
fi
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
status=0
wine "$@" > "$out" 2> "$err" || status=$?
cat "$out"
cat "$err" >&2
exit $status
