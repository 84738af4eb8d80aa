#!/usr/bin/env bash
# The shipped DLL may import only from KERNEL32.dll, msvcrt.dll (or UCRT's
# api-ms sets) and exactly the eight decorated ScriptHookV.dll names: any
# other DLL is one a player's game folder does not have. It exports
# nothing: the loader needs no name, and nothing else should reach inside.
set -euo pipefail
objdump=$1 dll=$2
table=$(mktemp); trap 'rm -f "$table"' EXIT
"$objdump" -p "$dll" > "$table"

expected='?keyboardHandlerRegister@@YAXP6AXKGEHHHH@Z@Z
?keyboardHandlerUnregister@@YAXP6AXKGEHHHH@Z@Z
?nativeCall@@YAPEA_KXZ
?nativeInit@@YAX_K@Z
?nativePush64@@YAX_K@Z
?scriptRegister@@YAXPEAUHINSTANCE__@@P6AXXZ@Z
?scriptUnregister@@YAXP6AXXZ@Z
?scriptWait@@YAXK@Z'

status=0
dlls=$(awk '/DLL Name:/ {print $3}' "$table" | sort -u)
[ -n "$dlls" ] || { echo "no import table found in $dll"; exit 1; }
for d in $dlls; do
  case "${d,,}" in
    kernel32.dll|msvcrt.dll|scripthookv.dll|api-ms-win-crt-*.dll) echo "imports from $d: allowed" ;;
    *) echo "FAIL: imports from $d, which a player's game folder does not have"; status=1 ;;
  esac
done

# The names listed under the ScriptHookV.dll entry, up to the blank line
# that ends it.
actual=$(awk '/DLL Name:/ {inside = ($3 == "ScriptHookV.dll"); next}
              inside && /^[[:space:]]*$/ {inside = 0}
              inside && NF >= 3 && $1 ~ /^[0-9a-f]+$/ {print $NF}' "$table" | sort)
if [ "$actual" != "$(sort <<< "$expected")" ]; then
  echo "FAIL: ScriptHookV.dll names differ from the eight expected:"
  diff <(sort <<< "$expected") <(echo "$actual") || true
  status=1
else
  echo "ScriptHookV.dll: exactly the eight decorated names"
fi
# The two lines after "Number in:" give the sizes of the export address
# and name tables in hex; with no export directory there is no such line.
exports=0
for n in $(awk '/^Number in:/ {left = 2; next} left-- > 0 {print $NF}' "$table"); do
  (( 16#$n > exports )) && exports=$(( 16#$n ))
done
if [ "$exports" != 0 ]; then
  echo "FAIL: exports $exports entries; it should export nothing:"
  awk '/\[Ordinal\/Name Pointer\] Table/ {inside = 1; next} inside && /^[[:space:]]*$/ {exit} inside {print "  " $NF}' "$table" | head -20
  status=1
else
  echo "exports: none"
fi
exit $status
