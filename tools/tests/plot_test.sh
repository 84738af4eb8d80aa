#!/usr/bin/env bash
# plot: speeds worked out by hand from the speed model's per-frame steps.
set -euo pipefail
sim=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
mkdir "$out/tmp"
export TMPDIR=$out/tmp

# Freight at full throttle gains 0.02 - 0.004 = 0.016 m/s a frame:
# after 625 frames 10 m/s, 36 km/h.
"$sim" plot --throttle 100 --brake 0 --model freight --frames 625 --out "$out/freight.png" > "$out/freight.txt"
grep -qxF "after 625 frames (10.42 s at 60 frames a second): 36.0 km/h" "$out/freight.txt" || { cat "$out/freight.txt"; fail "freight speed"; }
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
           "--throttle 50 --brake 0 --frames 10"; do
  set +e
  (cd "$out" && "$sim" plot $bad > /dev/null 2>&1)
  status=$?
  set -e
  [ $status = 2 ] || fail "plot $bad gave status $status"
done
[ ! -e "$out/velquorin-plot.png" ] || fail "a refused command wrote a chart"

# Without --frames the run goes on until the speed settles: the metro's
# 35 m/s (126 km/h) at full throttle, within 1 % after 990 frames.
"$sim" plot --throttle 100 --model metro --out "$out/settled.png" > "$out/settled.txt"
grep -qxF "within 1 % of 126 km/h after 990 frames (16.50 s at 60 frames a second)" "$out/settled.txt" || { cat "$out/settled.txt"; fail "not settled"; }
# A run that fails still leaves no working folder behind.
printf '[keys]\nenter_exit=300\n' > "$out/no-board.ini"
set +e
"$sim" plot --throttle 100 --model metro --settings "$out/no-board.ini" --out "$out/x.png" > /dev/null 2>&1
status=$?
set -e
[ $status = 1 ] || fail "a player who cannot board gave status $status"
[ -z "$(ls -A "$out/tmp")" ] || fail "plot left $(ls "$out/tmp") behind"
echo "plot figures as worked out"
