#!/usr/bin/env bash
# Runs one test program of the Windows build under Wine, as ctest's command.
# A start that fails before the program prints its first line (Wine's own
# launch, on a loaded machine), and a window test whose dialog stopped taking
# messages (exit code 99, after it listed its windows), are tried once more,
# and say so; a failure of the program itself stands.
#   scripts/wine-test.sh program.exe [arguments...]
out=$(mktemp)
trap 'rm -f "$out"' EXIT
rc=1
for attempt in 1 2; do
  wine "$@" 2>&1 | tee "$out"
  rc=${PIPESTATUS[0]}
  if [ "$rc" -eq 99 ]; then
    echo "wine-test.sh: a dialog of $1 stopped taking messages (attempt $attempt of 2)" >&2
    continue
  fi
  if [ "$rc" -eq 0 ] || grep -q "Running main()" "$out"; then exit "$rc"; fi
  echo "wine-test.sh: $1 did not start (exit $rc); starting it again" >&2
done
exit "$rc"
