#!/usr/bin/env bash
# Runs the end-to-end tests on a virtual display, on Wine's own desktop (so the
# windows have their close boxes on the screen), in two new Wine prefixes: one
# with the test drives of tools/wine_prefix.sh (drive C: reported as a network
# drive), and one as Wine makes it for a player (drive C: fixed, with its links
# into the home folder, which holds the prefix) beside a fixed drive B: woven with
# links, for the disk search. The first prefix has a small disk of its own (a
# tmpfs, mounted as root) for the test of a full disk. Last, a third prefix is a
# Japanese player's: made and run under the host's locale ja_JP.UTF-8, from which
# Wine takes the ANSI code page, 932. Last, the row of the display scale runs
# again in a prefix at 144 DPI and one at 192 DPI (150 and 200 %), each on a
# screen of the size players have at that scale; the first prefix is at 96.
#   tests/e2e/run.sh <build dir> [gtest arguments, for the first prefix only; with
#   any, the other prefixes are left out]
#   E2E_RUN=japanese tests/e2e/run.sh <build dir>: the Japanese prefix's run alone
#   E2E_RUN=scale tests/e2e/run.sh <build dir>: the runs at 144 and 192 DPI alone
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
# The virtual display's size; Wine's desktop has the same (virtual_desktop).
screen=1024x768
run_tests() {
    local name=$1 status
    shift
    (cd "$WINEPREFIX/drive_c" && on_virtual_display "$screen" "$WINE" 'C:\tools\e2e_tests.exe' \
        '--gtest_output=xml:C:\report.xml' "$@")
    status=$?
    cp "$WINEPREFIX/drive_c/report.xml" "$reports/$name.xml" || echo "The $name run left no report" >&2
    return $status
}

# Drive C: a network drive, so that a search walks only drive J:, which holds
# nothing before a row puts the game into a Japanese-named folder there.
japanese_run() {
    export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
    wine_setup "$build" "$build/e2e-japanese-prefix" > /dev/null
    make_prefix || return 1
    virtual_desktop 1024x768 || return 1
    listen_to_sound "$WINEPREFIX/drive_c/sounds" || return 1
    rm -rf "$build/e2e-japanese"
    mkdir -p "$build/e2e-japanese/j"
    map_drives "$build/e2e-japanese" c:network j:hd || return 1
    run_tests japanese --gtest_filter="Japanese/*"
    local status=$?
    stop_prefix
    return $status
}
if [ "${E2E_RUN:-}" = japanese ]; then japanese_run; exit; fi

# The display scale of a player's Windows: LogPixels, read as Wine starts.
scale_run() {
    local dpi=$1
    screen=$2
    wine_setup "$build" "$build/e2e-scale-$dpi-prefix" > /dev/null
    make_prefix || return 1
    wine_reg_add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f || return 1
    virtual_desktop "$screen" || return 1
    listen_to_sound "$WINEPREFIX/drive_c/sounds" || return 1
    run_tests "scale-$dpi" --gtest_filter="Scale/*"
    local status=$?
    stop_prefix
    return $status
}
if [ "${E2E_RUN:-}" = scale ]; then scale_run 144 1920x1080 && scale_run 192 3840x2160; exit; fi

wine_setup "$build" "$build/e2e-prefix"
make_prefix || exit 1
virtual_desktop 1024x768 || exit 1
listen_to_sound "$WINEPREFIX/drive_c/sounds" || exit 1
map_test_drives "$build/e2e-drives" || exit 1
mount_small_disk
run_tests test-drives --gtest_filter="-Links/*:Japanese/*" "$@"
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
japanese_run || status=1
scale_run 144 1920x1080 || status=1
scale_run 192 3840x2160 || status=1
exit $status
