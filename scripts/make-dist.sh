#!/usr/bin/env bash
# The release package: dist/Velquorin.zip with the plug-in, its settings
# file and INSTALL.txt (plus the settings checker once it is built).
# `make dist` builds dist/Velquorin.asi and dist/Velquorin.ini first.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dist=$top/dist
for f in Velquorin.asi Velquorin.ini; do
  [ -f "$dist/$f" ] || { echo "missing dist/$f: run 'make windows' first" >&2; exit 1; }
done

# Windows Notepad users read this, so it gets CR LF line ends.
sed 's/$/\r/' > "$dist/INSTALL.txt" <<'EOF'
Velquorin: drive the game's trains by hand
==========================================

What you need first (not included, get them from their own pages):
  - ScriptHookV.dll, the script-hook library, matching your game version;
  - an ASI loader (dinput8.dll).
Both go in the game's main folder, the one holding the game's .exe.

Installing
  Copy Velquorin.asi and Velquorin.ini into that same folder.
  The ASI loader's log lists Velquorin.asi as loaded or failed.
  To uninstall, delete the two files.

Default keys (change them in Velquorin.ini; codes are Windows virtual-key codes)
  F              board the train beside you, or leave it
  W / S          throttle up / down (hold)
  J / K / L      light / medium / hard brake (press again to release)
  Left Ctrl      change direction (only while stopped)
  Numpad 1 / 3   open or shut the left / right doors
  F5             move the driver panel to its next position, or hide it
  Alt + I        reload Velquorin.ini without restarting the game
  F6             show or hide the console

Settings
  Edit Velquorin.ini in the game folder (not a copy elsewhere), save it,
  then press Alt + I in the game. If the folder is read-only, your edit is
  not saved and the old settings stay.
  If a setting cannot be read (a panel position that is not a number, for
  example), the plug-in keeps running and the console (F6) shows the
  setting's name and the error.

Checking your settings file
  velquorin-check.exe (in this zip) reads Velquorin.ini exactly as the
  plug-in will and lists every value, the error the plug-in would raise,
  and mistakes it would accept without a word (a letter where a key code
  belongs, two actions on one key, a misspelt key). From a command prompt
  in the game folder:  velquorin-check.exe Velquorin.ini
EOF

files=("$dist/Velquorin.asi" "$dist/Velquorin.ini" "$dist/INSTALL.txt")
[ -f "$dist/velquorin-check.exe" ] && files+=("$dist/velquorin-check.exe")
rm -f "$dist/Velquorin.zip"
zip -q -X -j "$dist/Velquorin.zip" "${files[@]}"
echo "dist/Velquorin.zip:"
unzip -l "$dist/Velquorin.zip" | sed -n '4,$p' | head -n -2
