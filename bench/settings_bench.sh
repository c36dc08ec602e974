#!/usr/bin/env bash
# Runs the patches' benchmark (bench/settings_bench.cpp) under Wine on real files.
set -uo pipefail
. "$(dirname "$0")/prepare.sh"
cp "$PROGRAMS/bench/settings_bench.exe" "$WINEPREFIX/drive_c/tools/"
cd "$WINEPREFIX/drive_c" && "$WINE" 'C:\tools\settings_bench.exe'
stop_prefix
