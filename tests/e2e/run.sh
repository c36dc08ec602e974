#!/usr/bin/env bash
# Runs the end-to-end tests on a virtual display, on Wine's own desktop (so the
# windows have their close boxes on the screen), in two new Wine prefixes: one
# with the test drives of tools/wine_prefix.sh (drive C: reported as a network
# drive), and one as Wine makes it for a player (drive C: fixed, with its links
# into the home folder, which holds the prefix) beside a fixed drive B: woven with
# links, for the disk search.
#   tests/e2e/run.sh <build dir> [gtest arguments, for the first prefix only; with
#   any, the second prefix is left out]
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd); shift
. "$root/tools/wine_prefix.sh"
run_tests() {
    (cd "$WINEPREFIX/drive_c" && xvfb-run -a -s "-screen 0 1024x768x24" "$WINE" 'C:\tools\e2e_tests.exe' "$@")
}

wine_setup "$build" "$build/e2e-prefix"
make_prefix
virtual_desktop 1024x768
listen_to_sound "$WINEPREFIX/drive_c/sounds"
map_test_drives "$build/e2e-drives"
run_tests --gtest_filter="-Links/*" "$@"
status=$?
stop_prefix
[ $# -eq 0 ] || exit $status

# The player's own prefix: a home folder of the test run's, never the machine's.
home=$build/e2e-home
rm -rf "$home"
mkdir -p "$home"
export HOME=$home
wine_setup "$build" "$home/.wine" > /dev/null
make_prefix
virtual_desktop 1024x768
make_web_of_links "$build/e2e-web/b"
map_drives "$build/e2e-web" b:hd
run_tests --gtest_filter="Links/*" || status=1
stop_prefix
exit $status
