#!/usr/bin/env bash
# Installs what is missing, builds both trees and runs every test: native,
# then under Wine (on a virtual X display). Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh
bash scripts/build.sh

echo "== Native tests"
ctest --test-dir build/native --output-on-failure

echo "== Windows tests under Wine"
source scripts/wine-env.sh
wineserver -p            # keep one server for all test programs
trap 'wineserver -k 2>/dev/null || true' EXIT
# Start Wine's background services now, away from ctest's output pipes: a
# service started by a test would hold its pipe open and ctest would wait.
wine cmd /c exit </dev/null >/dev/null 2>&1
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --test-dir build/windows --output-on-failure -j1

# Screenshots written by the window tests, as PNG for reading.
shopt -s nullglob
for bmp in build/windows/screenshots/*.bmp; do
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
