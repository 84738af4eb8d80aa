#!/usr/bin/env bash
# The formatting sweep: the linux preset's texts piped into the Windows
# program, which formats the same values with the DLL's objects under Wine
# and names every value whose texts differ.
#   format-sweep.sh LINUX_SWEEP WINDOWS_SWEEP
set -uo pipefail
linux=$1 windows=$2
if [ ! -x "$linux" ]; then
  echo "FAIL: no $linux; build the linux preset first (make linux)"
  exit 1
fi
"$linux" | "$(dirname "$0")/../../scripts/wine-run.sh" "$windows" --compare
