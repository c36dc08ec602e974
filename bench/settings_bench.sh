#!/usr/bin/env bash
# Runs the patches' benchmark (bench/settings_bench.cpp) under Wine on real files.
#   bench/settings_bench.sh [quick]   quick: once each, on small files (a check that it runs)
set -euo pipefail
. "$(dirname "$0")/prepare.sh"
cp "$PROGRAMS/bench/settings_bench.exe" "$WINEPREFIX/drive_c/tools/"
status=0
cd "$WINEPREFIX/drive_c" && "$WINE" 'C:\tools\settings_bench.exe' "$@" || status=$?
stop_prefix
exit $status
