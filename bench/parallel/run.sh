#!/usr/bin/env bash
# Prints what several commands at once gain: under Wine, real runs of 200
# files with a program that works about 50 ms of processor time each, 1 and
# 2 commands at once by turns. The last line reads "2 at once / 1 at once = R".
#   bash bench/parallel/run.sh [windows-build-dir] [files]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ $# -eq 0 ]; then
  bash "$root/scripts/setup.sh"
  bash "$root/scripts/build.sh" windows >/dev/null
fi
win=$(cd "${1:-$root/build/windows}" && pwd)
files=${2:-200}
cmake --build "$win" --target engine_bench bench_busy -j2 >/dev/null
export WINEPREFIX="$win/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1 || true
fi
wineserver -p 2>/dev/null || true
# Output to a file: Wine's background processes would hold a pipe open.
out=$(mktemp)
wine "$win/bench/engine/engine_bench.exe" parallel "$files" >"$out" 2>&1 </dev/null
tr -d '\r' <"$out"
rm -f "$out"
