#!/usr/bin/env bash
# velquorin-check.exe under Wine as a player starts it: with no argument it
# checks the Velquorin.ini beside it, else the one in the current folder,
# and says which. Its input is no console, so it never waits for Enter.
set -euo pipefail
exe=$1 corpus=$2 version=$3 wine=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/game" "$work/elsewhere"
cp "$exe" "$work/game/velquorin-check.exe"
fail() { echo "FAIL: $*"; cat "$work/out"; exit 1; }
run() {  # folder, arguments...
  local dir=$1; shift
  set +e
  (cd "$dir" && "$wine" "$work/game/velquorin-check.exe" "$@" < /dev/null) > "$work/out" 2>&1
  status=$?
  set -e
}
says() { grep -qF -- "$1" "$work/out" || fail "no '$1'"; }

# A bad file beside the program and a clean one in the current folder: the
# one beside it is the game's.
cp "$corpus/position_not_a_number.ini" "$work/game/Velquorin.ini"
cp "$corpus/clean.ini" "$work/elsewhere/Velquorin.ini"
run "$work/elsewhere"
[ $status = 2 ] || fail "status $status for the bad file beside the program"
says 'game\Velquorin.ini'
says "error: line 2: gui_position_y_1: invalid stof argument"

rm "$work/game/Velquorin.ini"
run "$work/elsewhere"
[ $status = 0 ] || fail "status $status for the clean file in the current folder"
says "checking the one in the current folder"
says 'elsewhere\Velquorin.ini'

run "$work"
[ $status = 2 ] || fail "status $status with no Velquorin.ini anywhere"
says "there is no Velquorin.ini beside velquorin-check.exe"
! grep -qF '\x0a' "$work/out" || fail "the line break shown as \\x0a"

run "$work" --help
[ $status = 0 ] || fail "--help gave status $status"
says "Usage: velquorin-check [OPTIONS] [FILE]"
run "$work" --version
# The version and the commit it was built from.
[[ "$(tr -d '\r' < "$work/out")" =~ ^velquorin-check\ ${version//./\\.}\+([0-9a-f]{7}|unknown)(-dirty)?$ ]] ||
  fail "--version"
run "$work" --no-such-option
[ $status = 2 ] || fail "a usage error gave status $status"
echo "velquorin-check.exe found, read and named the right file"
