#!/usr/bin/env bash
# Installs what is missing, builds, and starts a program under Wine.
#   scripts/run.sh            Lorvan, the batch runner
#   scripts/run.sh kastrelo   Kastrelo, the directory pair mover
# The program starts in the current directory (its working directory).
# It uses your own Wine prefix (~/.wine or $WINEPREFIX), where it keeps its
# settings; without an X display it runs on a virtual one.
set -euo pipefail
here=$(pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-lorvan}

bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" windows >/dev/null

case "$program" in
  kastrelo) exe="$root/build/windows/mover/window/kastrelo.exe" ;;
  lorvan)   exe="$root/build/windows/runner/window/lorvan.exe" ;;
  *) echo "usage: $0 [lorvan|kastrelo]" >&2; exit 2 ;;
esac
[ -f "$exe" ] || { echo "$program has not been built: $exe is missing" >&2; exit 1; }

WINEPREFIX_OWN=1
source "$root/scripts/wine-env.sh"
cd "$here"
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$exe"
else
  echo "No X display: running $program on a virtual display (xvfb-run)."
  exec xvfb-run -a wine "$exe"
fi
