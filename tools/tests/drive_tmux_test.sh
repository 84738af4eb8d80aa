#!/usr/bin/env bash
# drive in a real terminal: board with F, hold W (repeated presses, as a
# terminal's auto-repeat sends them), see the throttle climb, let go, see
# it stop; edit the settings file and reload it; quit with Ctrl-C, leaving
# no temporary folder behind. Every wait is bounded.
set -euo pipefail
sim=$1
unset TMUX
work=$(mktemp -d)
socket="velquorin-desk-$$"
tmux_() { tmux -L "$socket" "$@"; }
cleanup() { tmux_ kill-server 2> /dev/null || true; rm -rf "$work"; }
trap cleanup EXIT

mkdir "$work/tmp"
printf '[gameplay]\nuse_metric_system=1\nwrite_log=1\n[keys]\nenter_exit=G\n' > "$work/mine.ini"
tmux_ -f /dev/null new-session -d -s drive -x 120 -y 40 \
  "cd '$work' && TMPDIR='$work/tmp' '$sim' drive --settings mine.ini; echo \$? > '$work/status'; sleep 5"

screen() { tmux_ capture-pane -p -t drive; }
fail() { echo "FAIL: $*"; screen; exit 1; }
wait_for() {  # pattern, seconds
  local deadline=$((SECONDS + $2))
  until screen | grep -qF -- "$1"; do
    [ $SECONDS -lt $deadline ] || fail "no '$1' within $2 s"
    sleep 0.1
  done
}
throttle() { screen | sed -n 's/^ *Throttle: *\([0-9][0-9]*\) %.*/\1/p' | head -1; }
hold_w() { for _ in $(seq 1 "$1"); do tmux_ send-keys -t drive w; sleep 0.03; done; }

wait_for "q quits" 15
wait_for "Settings: $work/mine.ini, read again" 1
wait_for "Player: on foot (press G by the cab door)" 1
tmux_ send-keys -t drive g
wait_for "Throttle:" 5
[ "$(throttle)" = 0 ] || fail "throttle not 0 after boarding"

hold_w 10
first=$(throttle)
hold_w 10
second=$(throttle)
[ "$first" -gt 0 ] || fail "holding W did not move the throttle"
[ "$second" -gt "$first" ] || fail "throttle did not keep climbing ($first then $second)"

# Let go: the key-up follows 150 ms after the last repeat; then nothing moves.
sleep 0.6
released=$(throttle)
sleep 0.6
later=$(throttle)
[ "$released" = "$later" ] || fail "throttle still moving after release ($released then $later)"
[ $((released - second)) -lt 40 ] || fail "throttle ran on for long after the last press ($second to $released)"

# The panel's colours reach the terminal: the released brakes are green.
tmux_ capture-pane -e -p -t drive | grep -q $'Brake: \033\\[32m\\[L\\]' || fail "brake line not green"
# F5 as the terminal sends it, an escape sequence, steps the panel on.
tmux_ send-keys -t drive F5
wait_for "Panel at position 1" 5

# The reload chord reads the player's file as it is now.
wait_for "Speed:" 1
screen | grep -q "Speed: .* km/h" || fail "not in km/h at the start"
printf '[gameplay]\nuse_metric_system=0\n' > "$work/mine.ini"
tmux_ send-keys -t drive r
wait_for "mph" 5

# The game kills the player: the drive ends by itself within half a second.
tmux_ send-keys -t drive '!'
wait_for "Player: on foot" 5

tmux_ send-keys -t drive C-c
deadline=$((SECONDS + 10))
until [ -f "$work/status" ]; do
  [ $SECONDS -lt $deadline ] || fail "Ctrl-C did not quit"
  sleep 0.1
done
[ "$(cat "$work/status")" = 0 ] || fail "drive exited with status $(cat "$work/status")"
[ -z "$(ls -A "$work/tmp")" ] || fail "drive left $(ls "$work/tmp") behind"
# The log is kept beside the settings it last read (mph), and the checker reads both.
[ -s "$work/velquorin-drive/Velquorin.log" ] || fail "the drive kept no log"
summary=$("$sim" check "$work/velquorin-drive/Velquorin.log") || true
grep -qE "^ +use_metric_system +0 \(off\)" <<< "$summary" || fail "the checker read other settings than the drive's last: $summary"
echo "throttle climbed to $first, then $second, and stayed at $released after release"
