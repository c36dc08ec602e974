#!/usr/bin/env bash
# Builds every tree into build/: native (core, simulated Windows, unit tests),
# windows (the 32-bit programs), windows64 (the same programs for 64-bit Wine),
# both with the C++ runtime's win32 thread model, and windows-tests and
# windows64-tests (the end-to-end test programs, with the posix thread model that
# GoogleTest needs; see cmake/mingw.cmake).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
jobs=$(nproc)

cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Debug > /dev/null
cmake --build "$build/native" -j "$jobs"
for arch in i686 x86_64; do
    for threads in win32 posix; do
        tree=$build/windows
        [ "$arch" = x86_64 ] && tree=${tree}64
        [ "$threads" = posix ] && tree=$tree-tests
        cmake -S "$root" -B "$tree" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw.cmake" -DMINGW_ARCH="$arch" \
            -DMINGW_THREADS="$threads" -DCMAKE_BUILD_TYPE=Release > /dev/null
        cmake --build "$tree" -j "$jobs"
    done
done
