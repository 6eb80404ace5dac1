#!/usr/bin/env bash
# Runs one test program of the Windows build under Wine, as ctest's command.
# A start that fails before the program prints its first line (Wine's own
# launch, on a loaded machine), a window test whose dialog stopped taking
# messages (exit code 99, after it listed its windows), and a program still
# running after $limit seconds (a thread stuck where the program's own
# watchdog cannot act) are tried once more, and say so; a failure of the
# program itself stands. Two attempts fit ctest's limit of 600 seconds.
#   scripts/wine-test.sh program.exe [arguments...]
out=$(mktemp)
trap 'rm -f "$out"' EXIT
limit=${WINE_TEST_LIMIT:-280}
rc=1
for attempt in 1 2; do
  timeout -k 10 "$limit" wine "$@" 2>&1 | tee "$out"
  rc=${PIPESTATUS[0]}
  if [ "$rc" -eq 124 ] || [ "$rc" -eq 137 ]; then
    echo "wine-test.sh: $1 was still running after $limit s (attempt $attempt of 2)" >&2
    continue
  fi
  if [ "$rc" -eq 99 ]; then
    echo "wine-test.sh: a dialog of $1 stopped taking messages (attempt $attempt of 2)" >&2
    continue
  fi
  if [ "$rc" -eq 0 ] || grep -q "Running main()" "$out"; then exit "$rc"; fi
  echo "wine-test.sh: $1 did not start (exit $rc); starting it again" >&2
done
exit "$rc"
