#!/usr/bin/env bash
# Installs what is missing, builds the one program it starts, and starts it
# under Wine.
#   scripts/run.sh            Lorvan, the batch runner
#   scripts/run.sh kastrelo   Kastrelo, the directory pair mover
# The program starts in the current directory (its working directory).
# It uses your own Wine prefix (~/.wine or $WINEPREFIX), where it keeps its
# settings; without an X display it runs on a virtual one, and says how to
# see and close it.
set -euo pipefail
here=$(pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-lorvan}

case "$program" in
  kastrelo) name=Kastrelo target=kastrelo exe="$root/build/windows/mover/window/kastrelo.exe" ;;
  lorvan)   name=Lorvan target=lorvan exe="$root/build/windows/runner/window/lorvan.exe" ;;
  *) echo "usage: $0 [lorvan|kastrelo]" >&2; exit 2 ;;
esac

bash "$root/scripts/setup.sh"
echo "Preparing the Windows build in build/windows ..."
cmake -S "$root" -B "$root/build/windows" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
echo "Building $name only (the first build takes a few minutes; later ones only what changed) ..."
cmake --build "$root/build/windows" --target "$target" -j "$(nproc)"
[ -f "$exe" ] || { echo "$name has not been built: $exe is missing" >&2; exit 1; }

WINEPREFIX_OWN=1
source "$root/scripts/wine-env.sh"
cd "$here"
if [ -n "${DISPLAY:-}" ]; then
  echo "Starting $name on $DISPLAY ($exe)."
  exec wine "$exe"
fi

# No display: a virtual one of our own, on the first free display number.
display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
export DISPLAY=":$display"
cat <<EOF
No X display: $name runs on the virtual display $DISPLAY (Xvfb, 1280x1024), which nobody sees.
  To see it, take a screenshot from another terminal:
      DISPLAY=$DISPLAY import -window root shot.png
  To close it, press Ctrl+C here; the virtual display closes with it.
EOF
status=0
wine "$exe" || status=$?
echo "$name has ended."
exit "$status"
