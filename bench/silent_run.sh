#!/usr/bin/env bash
# Times one silent run of valkor.exe (-u) under Wine beside that of an empty Win32
# dialog program that closes itself at once, in the same prefix and the same run,
# and prints both with their ratio. A benchmark: it prints figures, it never fails
# because the machine is slow.
#   bench/silent_run.sh [runs]
set -euo pipefail
runs=${1:-5}
. "$(dirname "$0")/prepare.sh"
install_sample_game accepted
cd "$WINEPREFIX/drive_c"

# The median of several runs of a command, in milliseconds, each until the
# program has ended; it says so when a run failed (a window that could not be
# made ends a program early and would look fast).
median_ms() {
    local times=()
    for _ in $(seq "$runs"); do
        local start end
        start=$(date +%s%N)
        "$@" > /dev/null 2>&1 || { echo "failed"; return; }
        end=$(date +%s%N)
        times+=($(( (end - start) / 1000000 )))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'
}

timed=0
on_virtual_display 1024x768 bash -c '
    "$WINE" "C:\\tools\\empty_dialog.exe" > /dev/null 2>&1   # warm the prefix up
    '"$(declare -f median_ms)"'
    runs='"$runs"'
    empty=$(median_ms "$WINE" "C:\\tools\\empty_dialog.exe")
    silent=$(median_ms "$WINE" "C:\\launchers\\valkor.exe" -u)
    echo "empty dialog program:  ${empty} ms (median of $runs)"
    echo "valkor.exe -u:         ${silent} ms (median of $runs)"
    [ "$empty" != failed ] && [ "$silent" != failed ] &&
        awk -v s="$silent" -v e="$empty" "BEGIN { printf \"ratio:                 %.2f\\n\", s / e }"
' 2> /dev/null || timed=$?
stop_prefix
[ "$timed" -eq 0 ] || { echo "a run failed: nothing was measured"; exit 1; }
if grep -q 'valkormod = 1' "$GAME_DIR/flux.ini"; then
    echo "(valkor.exe -u did switch the mod on in the sample's flux.ini)"
else
    echo "valkor.exe -u did NOT patch flux.ini: its timing is not that of a real run"
    exit 1
fi
