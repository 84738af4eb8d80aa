#!/usr/bin/env bash
# plot: speeds worked out by hand from the speed model's steps, once a
# frame and paced by speed_steps_per_second.
set -euo pipefail
sim=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
mkdir "$out/tmp"
export TMPDIR=$out/tmp

# Freight at full throttle gains 0.02 - 0.004 = 0.016 m/s a step; once a
# frame, after 625 frames 10 m/s, 36 km/h, at any frame rate.
printf '[gameplay]\nspeed_steps_per_second=0\n' > "$out/per-frame.ini"
"$sim" plot --throttle 100 --brake 0 --model freight --frames 625 --fps 144 --settings "$out/per-frame.ini" \
  --out "$out/freight.png" > "$out/freight.txt"
grep -qxF "after 625 frames (4.34 s at 144 frames a second): 36.0 km/h" "$out/freight.txt" || { cat "$out/freight.txt"; fail "freight speed"; }
grep -qF "freight: top speed 180 km/h at full throttle" "$out/freight.txt" || fail "freight top speed"
[ -s "$out/freight.png" ] || fail "no chart"

# The metro's hard brake (0.06) outweighs its acceleration (0.04): it never
# leaves rest.
"$sim" plot --throttle 100 --brake 3 --model metrotrain --frames 100 --out "$out/metro.png" > "$out/metro.txt"
grep -qxF "after 100 frames (1.67 s at 60 frames a second): 0.0 km/h" "$out/metro.txt" || { cat "$out/metro.txt"; fail "metro held by brake"; }

# A mistyped command is refused with status 2 and no chart.
for bad in "--throttle 101 --brake 0 --model freight --frames 10" \
           "--throttle 50 --brake 4 --model freight --frames 10" \
           "--throttle 50 --brake 0 --model tram --frames 10" \
           "--throttle 50 --brake 0 --frames 10" \
           "--throttle 50 --model freight --fps 5" \
           "--throttle 50 --model freight --frame-rates --fps 144"; do
  set +e
  (cd "$out" && "$sim" plot $bad > /dev/null 2>&1)
  status=$?
  set -e
  [ $status = 2 ] || fail "plot $bad gave status $status"
done
[ ! -e "$out/velquorin-plot.png" ] || fail "a refused command wrote a chart"

# Without --frames each run goes on until the speed settles: the metro's
# 35 m/s (126 km/h) at full throttle comes within 1 % after 990 steps.
# Once a frame that takes 33 s at 30 frames a second and 4.1 s at 240; at
# the shipped 60 steps a second, 16.5 s at each, on Windows' 15.6 ms tick.
"$sim" plot --throttle 100 --model metro --frame-rates --out "$out/rates.png" > "$out/rates.txt"
want="once a frame,  30 frames a second: within 1 % of 126 km/h after 33.00 s
once a frame,  60 frames a second: within 1 % of 126 km/h after 16.50 s
once a frame, 144 frames a second: within 1 % of 126 km/h after 6.88 s
once a frame, 240 frames a second: within 1 % of 126 km/h after 4.12 s"
[ "$(grep '^once a frame' "$out/rates.txt")" = "$want" ] || { cat "$out/rates.txt"; fail "once a frame"; }
[ "$(grep -cE '^60 steps a second, +(30|60|144|240) frames a second: within 1 % of 126 km/h after 16\.(4[89]|5[01]) s$' \
  "$out/rates.txt")" = 4 ] || { cat "$out/rates.txt"; fail "paced runs differ"; }
[ "$(od -An -tu1 -j16 -N8 "$out/rates.png" | awk '{print $3*256+$4 "x" $7*256+$8}')" = "1000x760" ] || fail "chart size"
# A run that fails still leaves no working folder behind.
printf '[keys]\nenter_exit=300\n' > "$out/no-board.ini"
set +e
"$sim" plot --throttle 100 --model metro --settings "$out/no-board.ini" --out "$out/x.png" > /dev/null 2>&1
status=$?
set -e
[ $status = 1 ] || fail "a player who cannot board gave status $status"
[ -z "$(ls -A "$out/tmp")" ] || fail "plot left $(ls "$out/tmp") behind"
echo "plot figures as worked out"
