#!/usr/bin/env bash
# The demo without a terminal: plain text, the panel as the player sees it
# at each step, and the pictures: the screen at 1920x1080, the panel close
# up, the chart and the animated drive.
set -euo pipefail
sim=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
log="$out/demo.txt"
mkdir "$out/tmp"
TMPDIR=$out/tmp "$sim" demo --out "$out/pictures" > "$log"

fail() { echo "FAIL: $*"; cat "$log"; exit 1; }
# The panel lines printed right after the step line that matches $1.
panel_after() { grep -F -A6 -- "$1" "$log" | sed -n 's/^    | //p' | head -4; }
expect_panel() {
  local step=$1; shift
  local got; got=$(panel_after "$step")
  local want; want=$(printf '%s\n' "$@")
  [ "$got" = "$want" ] || fail "after '$step' the panel read:
$got
wanted:
$want"
}

grep -q $'\033' "$log" && fail "colour codes in output that is not a terminal"
grep -q "^Settings: the shipped settings, copied to " "$log" || fail "the demo does not say it uses the shipped settings"
grep -q "(no driver panel on the screen)" <(grep -F -A1 "stands half a metre" "$log") || fail "a panel before boarding"
# The shipped file shows the hint on foot: the way to the cab door, why F
# boarded nothing three metres from it, and what F does at it.
hint_after() { grep -F -A2 -- "$1" "$log" | sed -n 's/^    hint: //p' | head -1; }
[ "$(hint_after "three metres from its cab door.")" = "Cab door 3.0 m" ] || fail "no distance hint"
[ "$(hint_after "too far from the cab door")" = "Cab door 3.0 m away" ] || fail "no reason after F"
[ "$(hint_after "stands half a metre")" = "Press F to drive" ] || fail "no hint at the cab door"

expect_panel "F: the player takes the driver's seat." \
  "Speed:   0 km/h" "Throttle:   0 %" "Brake: [L] [M] [H]" "Direction: Forward"
# Throttle 50 % of the metro's 35 m/s is 17.5 m/s, 63 km/h.
expect_panel "W held for" \
  "Speed:   6 km/h" "Throttle:  50 %" "Brake: [L] [M] [H]" "Direction: Forward"
expect_panel "until the speed settled" \
  "Speed:  63 km/h" "Throttle:  50 %" "Brake: [L] [M] [H]" "Direction: Forward"
panel_after "J: light brake" | grep -qxF "Brake: [L] [M] [H]   (red: [L])" || fail "light brake not shown in red"
panel_after "K: medium brake" | grep -qxF "Brake: [L] [M] [H]   (red: [M])" || fail "medium brake not shown in red"
panel_after "L: hard brake, stopped" | grep -qxF "Speed:   0 km/h" || fail "the hard brake did not stop the train"
panel_after "LCONTROL: direction changed" | grep -qxF "Direction: Backward   (red: Backward)" || fail "direction did not change"
grep -F -A1 "F5: the panel is hidden." "$log" | grep -qF "(no driver panel on the screen)" || fail "F5 did not hide"
# The player stood 0.5 from the cab door: the console lists that twice.
[ "$(grep -F -A8 "O: the console" "$log" | grep -c '^    > 0.500000$')" = 2 ] || fail "console distances"
panel_after " + I: settings reloaded" | grep -qxF "Speed:   0 mph" || fail "reload did not switch to mph"
grep -F -A1 "F: the player leaves the cab" "$log" | grep -qF "(no driver panel on the screen)" || fail "still driving"

# PNG: the width and height are the first two words of the IHDR chunk.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $3*256+$4 "x" $7*256+$8}'; }
[ "$(png_size "$out/pictures/screenshot.png")" = "1920x1080" ] || fail "screenshot size"
[ "$(png_size "$out/pictures/panel.png")" = "560x320" ] || fail "close-up size"
[ "$(png_size "$out/pictures/hint.png")" = "560x320" ] || fail "hint close-up size"
[ "$(png_size "$out/pictures/drive-chart.png")" = "1000x592" ] || fail "chart size"
# GIF: the logical screen's width and height follow the six-byte
# signature; each frame's delay (centiseconds) is in its graphic control
# extension, 21 f9 04 flags delay-low delay-high.
gif=$out/pictures/drive.gif
[ "$(head -c 6 "$gif")" = GIF89a ] || fail "drive.gif is no GIF89a"
[ "$(od -An -tu1 -j6 -N4 "$gif" | awk '{print $1+$2*256 "x" $3+$4*256}')" = "600x200" ] || fail "animation size"
[ "$(stat -c %s "$gif")" -lt 300000 ] || fail "drive.gif is $(stat -c %s "$gif") bytes: too big for a README"
centiseconds=0
while read -r _ _ _ _ low high; do
  centiseconds=$(( centiseconds + 16#$high * 256 + 16#$low ))
done < <(od -An -v -tx1 "$gif" | tr -s ' \n' ' ' | grep -o '21 f9 04 [0-9a-f]* [0-9a-f]* [0-9a-f]*')
(( centiseconds >= 300 && centiseconds <= 1000 )) || fail "drive.gif lasts $centiseconds cs, not a few seconds"
[ -z "$(ls -A "$out/tmp")" ] || fail "demo left its working folder behind"
echo "demo output as expected"
