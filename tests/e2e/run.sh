#!/usr/bin/env bash
# Runs the end-to-end tests on a virtual display, on Wine's own desktop (so the
# windows have their close boxes on the screen), in two new Wine prefixes: one
# with the test drives of tools/wine_prefix.sh (drive C: reported as a network
# drive), and one as Wine makes it for a player (drive C: fixed, with its links
# into the home folder, which holds the prefix) beside a fixed drive B: woven with
# links, for the disk search. The first prefix has a small disk of its own (a
# tmpfs, mounted as root) for the test of a full disk.
#   tests/e2e/run.sh <build dir> [gtest arguments, for the first prefix only; with
#   any, the second prefix is left out]
# No -e: the second prefix runs even when tests of the first failed; a set-up
# step that fails stops the run.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd); shift
. "$root/tools/wine_prefix.sh"
# Each prefix's run leaves its GoogleTest report in $build/e2e-reports/<name>.xml.
reports=$build/e2e-reports
rm -rf "$reports"
mkdir -p "$reports"
run_tests() {
    local name=$1 status
    shift
    (cd "$WINEPREFIX/drive_c" && xvfb-run -a -s "-screen 0 1024x768x24" "$WINE" 'C:\tools\e2e_tests.exe' \
        '--gtest_output=xml:C:\report.xml' "$@")
    status=$?
    cp "$WINEPREFIX/drive_c/report.xml" "$reports/$name.xml" || echo "The $name run left no report" >&2
    return $status
}

wine_setup "$build" "$build/e2e-prefix"
make_prefix || exit 1
virtual_desktop 1024x768 || exit 1
listen_to_sound "$WINEPREFIX/drive_c/sounds" || exit 1
map_test_drives "$build/e2e-drives" || exit 1
mount_small_disk
run_tests test-drives --gtest_filter="-Links/*" "$@"
status=$?
stop_prefix
unmount_disks_under "$WINEPREFIX"
[ $# -eq 0 ] || exit $status

# The player's own prefix: a home folder of the test run's, never the machine's.
home=$build/e2e-home
rm -rf "$home"
mkdir -p "$home"
export HOME=$home
wine_setup "$build" "$home/.wine" > /dev/null
make_prefix || exit 1
virtual_desktop 1024x768 || exit 1
make_web_of_links "$build/e2e-web/b" || exit 1
map_drives "$build/e2e-web" b:hd || exit 1
run_tests players-prefix --gtest_filter="Links/*" || status=1
stop_prefix
exit $status
