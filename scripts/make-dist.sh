#!/usr/bin/env bash
# The release package: dist/Velquorin-<version>.zip with the plug-in, its
# settings file, the settings checker, the settings page, INSTALL.txt,
# CHANGELOG.md and LICENSE. `make dist` builds the Windows files and the
# page first. The version is the
# CMake project's, as the build generated it. An output folder other than
# dist/ may be given (the tests use one). Beside the zip, BUILDINFO.txt
# names the commit and the packages that built it, and SHA256SUMS.txt
# holds the sums of the zip, of each file in it and of BUILDINFO.txt.
# With BUILDINFO=a release's BUILDINFO.txt, this build is compared with
# that release: its toolchain, then its sums (compare-buildinfo.sh).
#
# The same commit gives the same zip, byte for byte: the entries go in in
# the order below, all dated the commit's time, with the same mode, and
# without the extra fields that would carry this machine's clock and
# owner.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dist=$top/dist out=${1:-$top/dist}

# The zip's files, in the zip's order. One that this script does not write
# itself (below) is taken from dist/, where the Windows build puts it.
files=(
  Velquorin.asi
  Velquorin.ini
  velquorin-check.exe
  Velquorin-settings.html
  INSTALL.txt
  CHANGELOG.md
  LICENSE
)

generated=$top/build/windows/generated
define() {  # NAME HEADER: the value the generated header gives NAME, unquoted
  awk -v name="$1" '$1 == "#define" && $2 == name {gsub(/"/, "", $3); print $3}' "$generated/$2" 2> /dev/null || true
}
version=$(define VELQUORIN_VERSION velquorin_version.h)
source_version=$(define VELQUORIN_SOURCE_VERSION velquorin_source.h)
source_date=$(define VELQUORIN_SOURCE_DATE velquorin_source.h)
[ -n "$version" ] && [ -n "$source_version" ] && [ -n "$source_date" ] ||
  { echo "no version in $generated: run 'make windows' first" >&2; exit 1; }
# The boarding rule's reach, in whole metres, as the plug-in has it.
reach() { sed -n "s/^constexpr float $1 = \([0-9]*\)\.0f;.*/\1/p" "$top/src/driving/drive_state.h"; }
cab_reach=$(reach CabDoorReach) train_reach=$(reach TrainReach)
[ -n "$cab_reach" ] && [ -n "$train_reach" ] ||
  { echo "no CabDoorReach or TrainReach in src/driving/drive_state.h" >&2; exit 1; }
zip=Velquorin-$version.zip
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
# The release's record is read before anything is written: it may be the
# one in the output folder.
if [ -n "${BUILDINFO:-}" ]; then
  mkdir "$stage/release"
  cp "$BUILDINFO" "$stage/release/BUILDINFO.txt"
  release_sums=$(dirname "$BUILDINFO")/SHA256SUMS.txt
  [ -f "$release_sums" ] && cp "$release_sums" "$stage/release/SHA256SUMS.txt"
fi

# Windows Notepad users read these, so they get CR LF line ends.
crlf() { sed 's/\r$//; s/$/\r/' "$@"; }
crlf "$top/CHANGELOG.md" > "$stage/CHANGELOG.md"
crlf "$top/LICENSE" > "$stage/LICENSE"
title="Velquorin $version: drive the game's trains by hand"
crlf > "$stage/INSTALL.txt" <<EOF
$title
${title//?/=}
This is $zip. Velquorin is a script plug-in: walk up to a
freight or metro train, press F to take the driver's seat, and drive it
yourself with throttle, brakes, direction and doors, watching a driver
panel.

In this zip
  Velquorin.asi         the plug-in
  Velquorin.ini         its settings, each line explained
  velquorin-check.exe   finds mistakes in Velquorin.ini
  Velquorin-settings.html  edits Velquorin.ini in your web browser: see
                        where the panel goes, press the keys you want
  INSTALL.txt           this file
  CHANGELOG.md          what this version brings
  LICENSE               the MIT licence

What you need first (not included; get them from their own pages)
  - ScriptHookV.dll, the script-hook library, for your game version;
  - an ASI loader (dinput8.dll).
  Both go in the game's main folder, the one holding the game's .exe.

Installing
  1. Copy Velquorin.asi and Velquorin.ini into that same folder, and
     velquorin-check.exe too if you like. Nothing else is needed.
  2. Start the game in single-player. The ASI loader's log lists
     Velquorin.asi as loaded (or failed).
  3. Walk up to a freight or metro train: where the driver panel will be,
     a line shows the way ("Cab door 2.4 m"), then "Press F to drive".
     Press F at the cab door.
  The version installed: right-click Velquorin.asi, Properties, Details.
  To uninstall, delete the three files, Velquorin.log and
  Velquorin.previous.log.

Compatibility
  - The script-hook library must match your game version. After a game
    update it stops loading plug-ins until its maker releases a matching
    version: wait for that, install the new ScriptHookV.dll, and keep
    Velquorin and your Velquorin.ini as they are.
  - Single-player only: plug-ins like this one do not run online.

Keys (the defaults; Velquorin.ini can change every one)
  F              board the train beside you, or leave it
  W / S          throttle up / down (hold)
  J / K / L      light / medium / hard brake (press again to release)
                 (on the panel, a brake's mark is green released, red applied)
  Left Ctrl      forward or backward (only while stopped)
  Numpad 1 / 3   open or shut the left / right doors
  F5             move the driver panel to its next position, then hide it
  Alt + I        reload Velquorin.ini without restarting the game
  O              show or hide the console (toggle_console=O; left out: F6)
  In Velquorin.ini a key is written by name, as in throttle_up=W or
  open_left_doors=NUMPAD1; a number (Windows' virtual-key code, such as
  87 for W) works too.

Keys the game also uses
  The game reads some of these keys itself: F leaves a vehicle (on foot
  it enters one), F5 to F7 switch character, holding Alt opens the
  character wheel, W and S drive. While you drive, Velquorin takes every
  such control on a key of yours from the game, so F5 only moves the
  panel, F leaves only by Velquorin's rule, Alt + I brings up no wheel.
  The rest stay the game's (horn on E, headlights on H). On foot every
  key is the game's, except F where the hint says "Press F to drive":
  there F seats you in the train, not in a car parked beside it. So on
  foot Alt also opens the wheel (the right Alt does not), and a console
  on F6 would switch character: the console is on O, which the game does
  not use; toggle_console in [keys] moves it. velquorin-check.exe lists
  what the game does with each of your keys.

With a gamepad
  With use_gamepad=1 (the [gameplay] section; as shipped) a pad drives
  too, while it gave the game its last input (a key press hands over to
  the keys again). Each button does what its key does:
    RT / LT          throttle up / down (pulled beyond half way)
    A / X / RB       light / medium / hard brake
    LB               forward or backward (only while stopped)
    D-pad left/right open or shut the left / right doors
    D-pad down       move the driver panel on, or hide it
    Y                leave the train; at the cab door, board it
  The game keeps its own buttons: horn on L3, cameras on R3 and B,
  pause on Start. The reload chord and the console have keys only.

The hint on foot
  With show_hints=1 (the [gui] section; as shipped) a line where the
  driver panel shows tells you what F does where you stand:
    Press F to drive      F boards this train now
    Cab door 2.4 m        the cab door is that far; walk to within $cab_reach m
  After a press of F that boarded nothing, for 3 seconds, why:
    No train near, This train cannot be driven (not a freight or metro
    train), Cab door 2.4 m away, or Train 12.3 m away (with
    enter_realistic=0, the train must be within $train_reach m).
  To turn it off, set show_hints=0 and press Alt + I. F5's hidden panel
  hides the line too.

Key names (names and codes of the common keys)
  A to Z        65-90      F1 to F12       112-123   SPACE    32
  NUMPAD0-9     96-105     SHIFT           16        RETURN   13 (ENTER)
  (or NUM0-9)              CONTROL (CTRL)  17        TAB       9
  LEFT UP       37 38      MENU (ALT)      18        BACK      8 (BACKSPACE)
  RIGHT DOWN    39 40      LSHIFT RSHIFT   160 161   ESCAPE   27 (ESC)
  INSERT        45         LCONTROL        162       PRIOR    33 (PAGEUP)
  DELETE        46         RCONTROL        163       NEXT     34 (PAGEDOWN)
  HOME END      36 35      LMENU RMENU     164 165   (LALT, RALT)
  The punctuation keys, by the characters they type on a US keyboard:
  SEMICOLON ;:  186        PLUS =+         187       COMMA ,<  188
  MINUS -_      189        PERIOD .>       190       SLASH /?  191
  TILDE \`~      192        LBRACKET [{     219       QUOTE '"  222
  BACKSLASH \\|  220        RBRACKET ]}     221
  (Windows' own names work too: OEM_1, OEM_PLUS, OEM_COMMA, OEM_MINUS,
  OEM_PERIOD, OEM_2 to OEM_7.) On another keyboard layout the same key
  types other characters: to bind a key by what it types there, use the
  Change button of Velquorin-settings.html, which writes the code your
  keyboard sends.
  Names are not case-sensitive. Digits are numbers, not keys: write
  NUMPAD1, not 1. A code of 255 or more switches an action off.
  Left and right keys are told apart: LCONTROL is the left Ctrl only,
  RCONTROL the right one, CONTROL either (the same for SHIFT and MENU).
  AltGr on many European keyboards also counts as the left Ctrl. The
  keypad works with NumLock on or off; with it off, keypad 1 also counts
  as END (the separate End key is END only), and so on.

Moving the panel
  The panel starts at the bottom middle; F5 moves it to the bottom right,
  the middle right and the top left, the next press hides it, and the one
  after brings it back to the bottom middle.
  To choose your own places, edit gui_position_x_0 to gui_position_y_3 in
  the [gui] section: fractions of the screen from its top-left corner
  (0.5 is the middle). 0.06 to 0.94 keeps the whole panel on the screen.

Settings
  Edit the Velquorin.ini in the game folder (not a copy elsewhere), save
  it, then press Alt + I in the game: the panel goes back to its first
  place. A setting left out takes its default. If a setting cannot be read
  (a panel position that is not a number), the plug-in keeps running and
  the console (O) names the setting.
  When the game reloads (a save loaded, a mission started over),
  Velquorin starts afresh: you are on foot, the settings are read again,
  and F boards the next train; throttle, brakes, direction and the console
  keep what they had.
  If you leave the driver's seat any other way (killed, arrested, pulled
  out, a switch of character, the game's own exit) or the train is gone,
  the drive ends by itself within half a second: the panel goes, W and S
  no longer touch the throttle, and the train runs on as you left it.
  speed_steps_per_second (60 as shipped) keeps the train's pace at any
  frame rate: every value from 1 to 1000 holds down to 4 frames a second.

The log, for a bug report
  With write_log=1 (as shipped) Velquorin writes Velquorin.log in the game
  folder, beside Velquorin.ini: what it saw and did in this game session
  (the settings it read, each press of F and what came of it, the keys
  your keyboard sent, any error). It begins afresh each time the game
  starts, keeping the one before as Velquorin.previous.log, and stops at
  256 KiB. For a bug report, quit the game and send Velquorin.log and
  Velquorin.ini with what you did. If the game crashed and you have
  started it again since, send Velquorin.previous.log instead: that is
  the crash's log. velquorin-check.exe sums the log up after its report.
  Set write_log=0 for no log file at all. A game folder you may not write
  to gets no log; nothing else changes.

Editing your settings in the browser
  Double-click Velquorin-settings.html: it opens in your web browser,
  needs no internet and sends nothing anywhere. Open your Velquorin.ini
  (or drop it on the page), drag the panel on the picture of the screen to
  where you want it for each of the four positions, click Change beside an
  action and press the key you want, then Save: the browser downloads a
  Velquorin.ini that keeps your own lines and comments. Put it in the
  game's folder in place of the old one. Below the editor the page shows
  what velquorin-check.exe would say about the file.

Checking your settings file
  Double-click velquorin-check.exe in the game folder: it checks the
  Velquorin.ini beside it, lists every value the game will use, says what
  is wrong, and waits for Enter. You can also drop a file onto it, or run
  velquorin-check.exe FILE from a command prompt.

Troubleshooting
  The panel does not show
    - It shows only while you drive. On foot the hint line in its place
      says where the cab door is: walk until it reads "Press F to drive"
      (within $cab_reach m of the door), then press F. No line at all? Then no
      train you can drive is near, or show_hints is 0.
    - F5 hides it after the top-left place: press F5 again.
    - A position near or past the screen's edge, or an opacity of 0, hides
      part or all of it: velquorin-check.exe points these out.
  Keys do nothing
    - Is Velquorin loaded? The ASI loader's log says; without
      ScriptHookV.dll and the loader nothing runs.
    - A key misspelt in Velquorin.ini reads as no key: run
      velquorin-check.exe, which shows what each key reads as.
    - Direction changes only while stopped; throttle, brakes, doors and F5
      act only in the driver's seat; F boards only freight and metro
      trains.
  The panel went away while driving
    - The game took you out of the seat (a death, an arrest, a switch of
      character, its own exit) or removed the train: the drive ended by
      itself. Walk to the cab door and press F to drive again.
  Settings are ignored
    - The game reads the Velquorin.ini in its own folder, beside its .exe.
      A copy on the desktop or in Downloads is never read.
    - A game folder under Program Files may not take your edit: check the
      file's date after saving, or save it as administrator.
    - Press Alt + I after saving, or restart the game.
  After a game update
    - See Compatibility: wait for the script-hook library's update.

Checking your download
  This zip was built from the Velquorin source at $source_version (the
  part after "+" names the commit). Beside the zip on its download page
  is SHA256SUMS.txt, the SHA-256 sum of the zip and of each file in it,
  and BUILDINFO.txt, naming the packages the release was built with.
  To check Velquorin.asi, open a command prompt in its folder and run
    certutil -hashfile Velquorin.asi SHA256
  The 64 letters and digits it prints must be the ones on the
  Velquorin.asi line (certutil may print them in groups of two); the same
  goes for the other files. Right-click Velquorin.asi, Properties,
  Details: the product version names the same commit. Anyone can build
  the release again from that commit and get the same sums: the README's
  "Check a download" says how.
EOF

for f in "${files[@]}"; do
  [ -f "$stage/$f" ] && continue
  [ -f "$dist/$f" ] || { echo "missing dist/$f: run 'make windows web' first" >&2; exit 1; }
  cp "$dist/$f" "$stage/$f"
done
# zip writes local time; in UTC the commit's time is the same everywhere.
chmod 644 "${files[@]/#/$stage/}"
touch -d "@$source_date" "${files[@]/#/$stage/}"
# The three files are made aside and replace the old ones only once all
# are there: a release that stops (a package missing) leaves the folder as
# it was.
made=$stage/made
mkdir "$made"
bash "$top/scripts/write-buildinfo.sh" "$source_version" "$source_date" > "$made/BUILDINFO.txt"
(cd "$stage" && TZ=UTC zip -q -X "$made/$zip" "${files[@]}")
{
  (cd "$made" && sha256sum "$zip")
  (cd "$stage" && sha256sum "${files[@]}")
  (cd "$made" && sha256sum BUILDINFO.txt)
} > "$made/SHA256SUMS.txt"
rm -f "$out"/Velquorin*.zip "$out/SHA256SUMS.txt" "$out/BUILDINFO.txt"
mkdir -p "$out"
mv "$made/$zip" "$made/BUILDINFO.txt" "$made/SHA256SUMS.txt" "$out/"
shown=${out#"$top"/}
echo "$shown/$zip ($(stat -c %s "$out/$zip") bytes), built from $source_version:"
unzip -l "$out/$zip" | sed -n '4,$p' | head -n -2
echo "$shown/BUILDINFO.txt:"
cat "$out/BUILDINFO.txt"
# Before the sums a reader would compare, the toolchain's differences.
[ -z "${BUILDINFO:-}" ] || bash "$top/scripts/compare-toolchain.sh" "$stage/release/BUILDINFO.txt" "$out/BUILDINFO.txt"
echo "$shown/SHA256SUMS.txt:"
cat "$out/SHA256SUMS.txt"
[ -f "$stage/release/SHA256SUMS.txt" ] || exit 0
# Each of the release's files, with "-" for one not made here.
# BUILDINFO.txt's own sum differs whenever a package does, as said above; a
# copy with CR LF line ends is the same list.
sums() { tr -d '\r' < "$1" | grep -v ' BUILDINFO.txt$' | awk '{print $2, $1}' | LC_ALL=C sort; }
differing=$(LC_ALL=C join -a 1 -e - -o 0,1.2,2.2 <(sums "$stage/release/SHA256SUMS.txt") <(sums "$out/SHA256SUMS.txt") |
  awk '$2 != $3 {print $1}')
[ -z "$differing" ] || { echo "FAIL: not the release's bytes:" $differing; exit 1; }
echo "The zip and every file in it have the release's sums ($release_sums)."
