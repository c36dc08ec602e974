#!/usr/bin/env bash
# Builds every tree into build/: native (core, simulated Windows, unit tests),
# windows (the 32-bit programs) and windows64 (the same programs for 64-bit Wine,
# with the end-to-end test programs).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
jobs=$(nproc)

cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Debug > /dev/null
cmake --build "$build/native" -j "$jobs"
for arch in i686 x86_64; do
    tree=$build/windows; [ "$arch" = x86_64 ] && tree=$build/windows64
    cmake -S "$root" -B "$tree" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw.cmake" -DMINGW_ARCH="$arch" \
        -DCMAKE_BUILD_TYPE=Release > /dev/null
    cmake --build "$tree" -j "$jobs"
done
