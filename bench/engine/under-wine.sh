#!/usr/bin/env bash
# Runs one real-run figure of engine_bench under Wine, in the build tree's
# own prefix; the benchmarks' scripts call it.
#   bash bench/engine/under-wine.sh MODE DEFAULT-FILES [windows-build-dir] [files]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
mode=$1
default_files=$2
shift 2
if [ $# -eq 0 ]; then
  bash "$root/scripts/setup.sh"
  bash "$root/scripts/build.sh" windows >/dev/null
fi
win=${1:-$root/build/windows}
[ -d "$win" ] || { echo "$(basename "$0"): $win is no build folder (make one with scripts/build.sh)" >&2; exit 2; }
win=$(cd "$win" && pwd)  # Wine takes only an absolute prefix
files=${2:-$default_files}
log=$(cmake --build "$win" --target engine_bench -j2 2>&1) || { echo "$log" >&2; echo "building the benchmark failed" >&2; exit 1; }
export WINEPREFIX="$win/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1 || true
fi
wineserver -p 2>/dev/null || true
# Output to a file: Wine's background processes would hold a pipe open.
out=$(mktemp)
status=0
wine "$win/bench/engine/engine_bench.exe" "$mode" "$files" >"$out" 2>&1 </dev/null || status=$?
tr -d '\r' <"$out"
rm -f "$out"
[ "$status" -eq 0 ] || { echo "the benchmark under Wine failed (exit $status)" >&2; exit "$status"; }
