#!/usr/bin/env bash
# Prints the run engine's figures: (1) 100,000 files on the in-memory
# platform, natively and under Wine; (2) under Wine, real runs of 200 files
# with a trivial program beside a system() loop and a "cmd /c for" loop.
#   bash bench/engine/run.sh [windows-build-dir [native-build-dir]]
# Without arguments it builds build/windows and build/native and uses both.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ $# -eq 0 ]; then
  # The project's own build trees, made (or brought up to date) first.
  bash "$root/scripts/setup.sh"
  bash "$root/scripts/build.sh" >/dev/null
  set -- "$root/build/windows" "$root/build/native"
fi
# Build folders may be given relative to the current directory: Wine takes
# only an absolute prefix, so they are made absolute first.
absolute() {
  [ -d "$1" ] || { echo "run.sh: $1 is no build folder (make one with scripts/build.sh)" >&2; exit 2; }
  (cd "$1" && pwd)
}
build() {  # quiet, unless it fails
  local log
  log=$(cmake --build "$@" -j2 2>&1) || { echo "$log" >&2; echo "run.sh: building the benchmark failed" >&2; exit 1; }
}
win=$(absolute "${1:-$root/build/windows}")
native=""
[ -z "${2:-}" ] || native=$(absolute "$2")

if [ -n "$native" ]; then
  build "$native" --target engine_bench
  echo "== native"
  "$native/bench/engine/engine_bench" fake 100000
fi

build "$win" --target engine_bench bench_noop
# The prefix of that build tree (scripts/wine-env.sh does the same for build/windows).
export WINEPREFIX="$win/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1 || true
fi
wineserver -p 2>/dev/null || true  # keep one server for both runs
echo "== Windows build under Wine"
# Output to a file: Wine's background processes would hold a pipe open.
out=$(mktemp)
status=0
wine "$win/bench/engine/engine_bench.exe" fake 100000 >"$out" 2>&1 </dev/null &&
  wine "$win/bench/engine/engine_bench.exe" real 200 >>"$out" 2>&1 </dev/null || status=$?
tr -d '\r' <"$out"
rm -f "$out"
[ "$status" -eq 0 ] || { echo "run.sh: the benchmark under Wine failed (exit $status)" >&2; exit "$status"; }
