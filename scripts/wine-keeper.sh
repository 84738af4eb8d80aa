#!/usr/bin/env bash
# Beside a Wine server started by wine-run.sh, one per prefix: stops the
# server, and with it Wine's services, once no run of ours has held the
# users lock for a minute, or as soon as the prefix is gone (deleted by
# `make clean` or with the whole tree) or its lock cannot be opened.
#   wine-keeper.sh PREFIX
prefix=$1

# The server is found by the prefix folder's device and inode, the name of
# its socket folder: once the folder is deleted nothing else leads to it,
# and a prefix made afresh at the same path is another server's.
folder_id() { stat -c '%d %i' "$prefix" 2> /dev/null; }

server_pid() {
  local p comm cwd
  # Builtins only in this loop: a fork for each of the machine's processes
  # would take seconds on a busy one.
  for p in /proc/[0-9]*; do
    read -r comm < "$p/comm" 2> /dev/null || continue
    [[ $comm == wineserver* ]] || continue
    cwd=$(readlink "$p/cwd" 2> /dev/null) || continue
    [[ $cwd == */"$server" ]] && { echo "${p#/proc/}"; return; }
  done
}

# As wineserver -k does, which needs the prefix: SIGINT, on which the
# server ends its programs and itself; SIGKILL if it has not in 5 s.
stop_server() {
  local state i
  kill -INT "$1" 2> /dev/null
  for i in 1 2 3 4 5 6 7 8 9 10; do
    read -r _ _ state _ < "/proc/$1/stat" 2> /dev/null && [ "$state" != Z ] || return 0
    sleep 0.5
  done
  kill -KILL "$1" 2> /dev/null
}

keep() {
  { exec 7> "$prefix.keeper"; } 2> /dev/null && flock -n 7 || exit 0
  id=$(folder_id)
  [ -n "$id" ] || exit 0
  server=$(printf 'server-%x-%x' $id)
  while sleep 10; do
    # A server ended by other hands leaves nothing to keep.
    pid=$(server_pid)
    [ -n "$pid" ] || exit 0
    if [ "$(folder_id)" != "$id" ] || ! { exec 6>> "$prefix.users"; } 2> /dev/null; then
      stop_server "$pid"
      exit 0
    fi
    if flock -n -x 6 && [ $(( $(date +%s) - $(stat -c %Y "$prefix.users" 2> /dev/null || date +%s) )) -ge 60 ]; then
      stop_server "$pid"
      exit 0
    fi
    exec 6>&-
  done
}
# Read whole before it runs: bash reads a script as it goes, and a tree
# checked out afresh or deleted under it must not change what runs.
keep
