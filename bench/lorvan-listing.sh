#!/usr/bin/env bash
# Builds and runs the Lorvan window benchmark under Wine on a virtual
# display, in the build tree's own Wine prefix.
#   bench/lorvan-listing.sh [count...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" windows >/dev/null
source "$root/scripts/wine-env.sh"
wineserver -k 2>/dev/null || true
# With Wine's server and background processes already running, as on a
# desktop where Wine is in use, the start time is the program's own.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  wineserver -p
  trap "wineserver -k 2>/dev/null || true" EXIT
  wine cmd /c exit </dev/null >/dev/null 2>&1
  wine "$0" "$@"' "$root/build/windows/bench/lorvan_listing.exe" "$@"
