#!/usr/bin/env bash
# Builds the native tree (build/native) and the Windows tree (build/windows).
#   scripts/build.sh            both
#   scripts/build.sh windows    only the Windows programs and their tests
#   scripts/build.sh sanitize   the native tree with clang, AddressSanitizer
#                               and UndefinedBehaviorSanitizer, and the fuzz
#                               targets (build/sanitize); not part of "all"
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
what=${1:-all}

if [ "$what" = all ] || [ "$what" = native ]; then
  cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$root/build/native" -j "$jobs"
fi
if [ "$what" = sanitize ]; then
  cmake -S "$root" -B "$root/build/sanitize" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DRUNNER_FUZZ=ON \
        -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
        >/dev/null
  cmake --build "$root/build/sanitize" -j "$jobs"
fi
if [ "$what" = all ] || [ "$what" = windows ]; then
  cmake -S "$root" -B "$root/build/windows" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$root/build/windows" -j "$jobs"
fi
