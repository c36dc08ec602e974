#!/usr/bin/env bash
# Pictures of the real programs' windows for the README, made again whenever a
# window changes: builds the programs, runs them in a new Wine prefix on a
# virtual display (Wine's own desktop inside Xvfb, so windows get their frames
# and captions), walks each to a window with tools/screenshots/ and saves it as
# docs/<name>.png: valkor, novalkor, notice, find_game, version, message; then,
# in a prefix of its own at 144 DPI, valkor_150: the launcher at 150 %.
# No -e: every picture is tried, and the ones that could not be made are named;
# a set-up step that fails stops the run.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
export BUILD_DIR=$build
docs=$root/docs
. "$root/tools/wine_prefix.sh"

# The launcher at 150 %, on the virtual display, in the prefix made for it.
if [ "${1:-}" = --on-display-150 ]; then
    (cd "$WINEPREFIX/drive_c" && "$WINE" 'C:\tools\screenshots.exe' 'C:\launchers\valkor.exe' \
        'window=Corvane 2: Drifthaven: Valkor' 'picture=C:\pictures\valkor_150.bmp' click=IDCANCEL)
    status=$?
    "$WINESERVER" -k 2> /dev/null || true
    exit $status
fi

# The second part runs on the virtual display, in the prefix made by the first.
if [ "${1:-}" = --on-display ]; then
    game=$WINEPREFIX/drive_c/Games/Drifthaven
    key='HKLM\Software\Vortigen\Drifthaven'
    shots=$WINEPREFIX/drive_c/pictures
    status=0
    shoot() {
        (cd "$WINEPREFIX/drive_c" && "$WINE" 'C:\tools\screenshots.exe' "$@") || status=1
        "$WINESERVER" -w
    }
    setting() { wine_reg_add "$key\Settings" /v "$1" /t "$2" /d "$3" /f "$REG_VIEW" || status=1; }
    valkor='C:\launchers\valkor.exe' novalkor='C:\launchers\novalkor.exe'

    # A first start: the notice, then (accepted) the launcher; Cancel leaves.
    shoot "$valkor" 'window=No Warranty' 'picture=C:\pictures\notice.bmp' click=IDOK \
        'window=Corvane 2: Drifthaven: Valkor' 'picture=C:\pictures\valkor.bmp' click=IDCANCEL
    shoot "$novalkor" 'window=Corvane 2: Drifthaven' 'picture=C:\pictures\novalkor.bmp' click=IDCANCEL
    # The registry names a folder without the game: Search finds it on D:.
    setting InstallPath REG_SZ 'C:\Elsewhere'
    shoot "$valkor" 'window=Incorrect Install Path' click=IDC_SEARCH until=IDC_STATUS=Found \
        'picture=C:\pictures\find_game.bmp' click=IDCANCEL box click=IDOK
    setting InstallPath REG_SZ 'C:\Games\Drifthaven'
    # The version stored as text and an engine library of no known build: the
    # launcher cannot tell; the player declines to start the game and types it in.
    setting Version REG_SZ 14
    mkdir -p "$game/bin/release"
    head -c 1000 /dev/zero > "$game/bin/release/corv2.dll"
    shoot "$valkor" box click=IDOK box click=IDNO 'window=Enter Drifthaven Version' \
        'picture=C:\pictures\version.bmp' click=IDCANCEL box click=IDOK
    rm -rf "$game/bin"
    setting Version REG_DWORD 14
    # Without the mod's folder the launcher says so and stops.
    mv "$game/mods" "$game/mods.away"
    shoot "$valkor" box 'picture=C:\pictures\message.bmp' click=IDOK
    mv "$game/mods.away" "$game/mods"
    "$WINESERVER" -k 2> /dev/null || true
    exit $status
fi

"$root/tools/setup.sh" || exit 1
mkdir -p "$build"
echo "Building..."
"$root/tools/build.sh" > "$build/build.log" 2>&1 || { cat "$build/build.log"; echo "build failed"; exit 1; }

wine_setup "$build" "$build/screenshots-prefix"
make_prefix || exit 1
cp "$PROGRAMS/tools/screenshots/screenshots.exe" "$WINEPREFIX/drive_c/tools/"
install_sample_game || exit 1
# Nothing is played aloud; the taunts go to files.
listen_to_sound "$WINEPREFIX/drive_c/sounds" || exit 1
# D: holds a copy of the game for Search to find; C: counts as a network drive,
# which the search leaves out.
drives=$build/screenshots-drives
rm -rf "$drives"
mkdir -p "$drives/d/Games/Drifthaven/mods/valkormod"
cp "$PROGRAMS/sample/standin/Drifthvn.exe" "$drives/d/Games/Drifthaven/"
map_drives "$drives" c:network d:hd || exit 1
virtual_desktop 800x600 || exit 1
rm -rf "$WINEPREFIX/drive_c/pictures"
mkdir -p "$WINEPREFIX/drive_c/pictures"

on_virtual_display 1024x768 "$0" --on-display
status=$?
stop_prefix
pictures=$WINEPREFIX/drive_c/pictures

# The display scale of a player's laptop: 150 % (LogPixels 144), read as Wine starts.
wine_setup "$build" "$build/screenshots-150-prefix"
make_prefix || exit 1
cp "$PROGRAMS/tools/screenshots/screenshots.exe" "$WINEPREFIX/drive_c/tools/"
install_sample_game accepted || exit 1
listen_to_sound "$WINEPREFIX/drive_c/sounds" || exit 1
wine_reg_add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f || exit 1
virtual_desktop 1200x1000 || exit 1
mkdir -p "$WINEPREFIX/drive_c/pictures"
on_virtual_display 1200x1000 "$0" --on-display-150 || status=1
stop_prefix
cp "$WINEPREFIX/drive_c/pictures/valkor_150.bmp" "$pictures/" 2> /dev/null

mkdir -p "$docs"
made=0
for name in valkor novalkor notice find_game version message valkor_150; do
    bmp=$pictures/$name.bmp
    if [ -s "$bmp" ]; then
        python3 "$root/tools/bmp_to_png.py" "$bmp" "$docs/$name.png" && made=$((made + 1))
        echo "docs/$name.png"
    else
        echo "no picture of $name"; status=1
    fi
done
echo "$made pictures made."
exit $status
