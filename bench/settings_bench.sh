#!/usr/bin/env bash
# Runs the patches' benchmark (bench/settings_bench.cpp) under Wine on real files.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/tools/setup.sh" > /dev/null || exit 1
"$root/tools/build.sh" > /dev/null 2>&1 || { echo "build failed"; exit 1; }
. "$root/tools/wine_prefix.sh"
wine_setup "$build" "$build/bench-prefix"
make_prefix
cp "$PROGRAMS/bench/settings_bench.exe" "$WINEPREFIX/drive_c/tools/"
cd "$WINEPREFIX/drive_c" && "$WINE" 'C:\tools\settings_bench.exe'
stop_prefix
