#!/usr/bin/env bash
# Installs (Debian packages, as root) whatever the build and the tests need
# and is not there yet. Quiet when everything is present.
set -euo pipefail

packages=(
  cmake make g++ python3
  googletest libgtest-dev libgmock-dev
  clang libfuzzer-14-dev clang-format
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine wine64
  xvfb xauth imagemagick x11-utils
  dosbox nasm
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
