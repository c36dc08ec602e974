#!/usr/bin/env bash
# Runs the end-to-end tests: one new Wine prefix for the run, on a virtual display.
#   tests/e2e/run.sh <build dir> [gtest arguments]
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd); shift
. "$root/tools/wine_prefix.sh"
wine_setup "$build" "$build/e2e-prefix"
make_prefix
map_test_drives "$build/e2e-drives"
cd "$WINEPREFIX/drive_c"
xvfb-run -a -s "-screen 0 1024x768x24" "$WINE" 'C:\tools\e2e_tests.exe' "$@"
status=$?
stop_prefix
exit $status
