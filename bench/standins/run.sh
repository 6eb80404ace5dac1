#!/usr/bin/env bash
# Prints what stand-in names cost: under Wine, real runs of 1,000 files with a
# trivial program, stand-ins Off and Always by turns. The last line reads
# "stand-ins Always / Off = R".
#   bash bench/standins/run.sh [windows-build-dir] [files]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ $# -eq 0 ]; then
  bash "$root/scripts/setup.sh"
  bash "$root/scripts/build.sh" windows >/dev/null
fi
win=$(cd "${1:-$root/build/windows}" && pwd)
files=${2:-1000}
cmake --build "$win" --target engine_bench bench_noop -j2 >/dev/null
export WINEPREFIX="$win/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1 || true
fi
wineserver -p 2>/dev/null || true
# Output to a file: Wine's background processes would hold a pipe open.
out=$(mktemp)
wine "$win/bench/engine/engine_bench.exe" standins "$files" >"$out" 2>&1 </dev/null
tr -d '\r' <"$out"
rm -f "$out"
