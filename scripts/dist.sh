#!/usr/bin/env bash
# Makes dist/lorvan-kastrelo-0.97.zip for Windows users: lorvan.exe,
# kastrelo.exe and README.txt (Windows line ends). The same sources give
# the same zip, byte for byte.
#   scripts/dist.sh           build the two programs (build/dist) and pack
#   scripts/dist.sh --check   also pack a second time from a copy of the
#                             sources in another folder and compare, and
#                             start both programs from the unpacked zip
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh

zipname=lorvan-kastrelo-0.97.zip

# pack SOURCE_ROOT BUILD_DIR OUT.zip
pack() {
  local src=$1 build=$2 out=$3
  cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$build" -j "$(nproc)" --target lorvan kastrelo >/dev/null
  sed 's/$/\r/' "$src/scripts/windows-readme.txt" > "$build/README.txt"
  python3 "$src/tools/pack_zip.py" "$out" \
    "$build/runner/window/lorvan.exe=lorvan.exe" \
    "$build/mover/window/kastrelo.exe=kastrelo.exe" \
    "$build/README.txt=README.txt"
}

mkdir -p dist
pack "$root" "$root/build/dist" "dist/$zipname"
echo "dist/$zipname: $(stat -c %s "dist/$zipname") bytes, sha256 $(sha256sum "dist/$zipname" | cut -c1-16)"
[ "${1:-}" = --check ] || exit 0

echo "== The zip again, from a copy of the sources elsewhere"
other=$(mktemp -d /tmp/dist-check.XXXXXX)
trap 'rm -rf "$other"' EXIT
git ls-files -z --cached --others --exclude-standard | tar -c --null -T - | tar -x -C "$other" -f -
mkdir -p "$other/src-$$"  # a different depth as well as a different name
pack "$other" "$other/src-$$/build" "$other/$zipname"
cmp "dist/$zipname" "$other/$zipname"
echo "same bytes"

echo "== Both programs start from the unpacked zip"
mkdir -p "$other/unpacked"
python3 -c 'import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); print(" ".join(z.namelist())); z.extractall(sys.argv[2])' \
  "dist/$zipname" "$other/unpacked"
export WINEPREFIX="$root/build/dist/wineprefix"   # a prefix of its own, not the tests' nor the user's
WINEPREFIX_OWN=1 source scripts/wine-env.sh
export OTHER="$other"
wineserver -k 2>/dev/null || true
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -e
  wineserver -p
  trap "wineserver -k 2>/dev/null || true" EXIT
  for program in "lorvan:Lorvan" "kastrelo:*_files"; do
    exe=${program%%:*} caption=${program#*:}
    (cd "$OTHER/unpacked" && wine "$exe.exe" </dev/null >/dev/null 2>&1 &)
    shown=""
    for _ in $(seq 1 60); do
      if xwininfo -root -tree | grep -qF "\"$caption\""; then shown=yes; break; fi
      sleep 0.5
    done
    wineserver -k 2>/dev/null || true
    [ -n "$shown" ] || { echo "$exe.exe showed no window \"$caption\""; exit 1; }
    echo "$exe.exe started and showed its window"
    wineserver -p
  done'
