#!/usr/bin/env bash
# Builds and runs the Kastrelo refresh benchmark under Wine on a virtual
# display, in the build tree's own Wine prefix.
#   bench/kastrelo-refresh.sh [count]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" windows >/dev/null
source "$root/scripts/wine-env.sh"
xvfb-run -a -s "-screen 0 1280x1024x24" wine "$root/build/windows/bench/kastrelo_refresh.exe" "$@"
