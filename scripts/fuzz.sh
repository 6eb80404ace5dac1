#!/usr/bin/env bash
# The run engine's fuzz targets (libFuzzer, clang, with AddressSanitizer and
# UndefinedBehaviorSanitizer), built in build/sanitize:
#   scripts/fuzz.sh [seconds]     runs each target for that long (default 60)
#   scripts/fuzz.sh --runs N      runs each target for N executions
# Prints executions, seconds, coverage and crashes per target; non-zero on any crash.
# Each target starts from runner/engine/fuzz/corpus/<target> and keeps what it
# finds in build/sanitize/fuzz/corpus/<target>; a crasher is written to
# build/sanitize/fuzz/crashes/<target>/: once mended, add it to
# runner/engine/fuzz/regressions/<target>/, which the engine tests replay.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
limit=(-max_total_time="${1:-60}")
if [ "${1:-}" = --runs ]; then limit=(-runs="${2:?--runs needs a count}"); fi

bash "$root/scripts/build.sh" sanitize >/dev/null
build="$root/build/sanitize"
targets=(templatefuzz translatefuzz reportfuzz runfuzz storedfuzz)
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

printf '%-14s %12s %8s %9s %8s\n' target executions seconds coverage crashes
failed=0 total=0
for t in "${targets[@]}"; do
  corpus="$build/fuzz/corpus/$t" crashes="$build/fuzz/crashes/$t"
  mkdir -p "$corpus" "$crashes"
  cp -n "$root/runner/engine/fuzz/corpus/$t/"* "$corpus/" 2>/dev/null || true
  log="$build/fuzz/$t.log"
  rc=0 start=$SECONDS
  "$build/runner/engine/$t" "${limit[@]}" -artifact_prefix="$crashes/" -print_final_stats=1 \
    "$corpus" >"$log" 2>&1 || rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  found=$(find "$crashes" -type f | wc -l)
  printf '%-14s %12s %8s %9s %8s\n' "$t" "${runs:-?}" "$((SECONDS - start))" "${cov:-?}" "$found"
  total=$((total + ${runs:-0}))
  if [ "$rc" -ne 0 ] || [ "$found" -ne 0 ]; then
    failed=1
    grep -E 'ERROR|finding|runtime error|SUMMARY' "$log" | head -5 || true
  fi
done
echo "all targets: $total executions"
exit $failed
