#!/usr/bin/env bash
# Installs what is missing, builds both trees and runs every test: native,
# then under Wine (on a virtual X display). Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh

echo "== Formatting (.clang-format)"
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

bash scripts/build.sh

echo "== Native tests"
ctest --test-dir build/native --output-on-failure

echo "== Native tests with AddressSanitizer and UndefinedBehaviorSanitizer"
bash scripts/build.sh sanitize
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build/sanitize --output-on-failure

echo "== Engine fuzz targets, a short fixed run each"
bash scripts/fuzz.sh --runs 20000

echo "== Windows tests under Wine"
source scripts/wine-env.sh
wineserver -k 2>/dev/null || true   # a server left from elsewhere may hold another display
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -e
  wineserver -p                     # one server for all test programs
  trap "wineserver -k 2>/dev/null || true" EXIT
  # Wine starts its background processes (services, the desktop) with the
  # first program: now, on this display and away from ctest, which would
  # otherwise wait for them to close its output pipes.
  wine cmd /c exit </dev/null >/dev/null 2>&1
  ctest --test-dir build/windows --output-on-failure -j1'

echo "== The download: the same zip from another folder, and both programs start from it"
bash scripts/dist.sh --check

