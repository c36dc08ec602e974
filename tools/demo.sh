#!/usr/bin/env bash
# The main job: builds both programs and runs valkor.exe on the bundled sample
# installation of the game, in a private Wine prefix. The launcher appears on
# your display when there is one (with its taunt on your sound), on a virtual
# display otherwise (its taunt recorded). It takes a picture of the launcher,
# presses Play and says what happened.
# No -e: once the launcher has run, the demo says what it left behind whatever
# its status; a set-up step that fails stops it.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
export BUILD_DIR=$build
out=$build/demo
"$root/tools/setup.sh" || exit 1
mkdir -p "$build"
echo "Building..."
"$root/tools/build.sh" > "$build/build.log" 2>&1 || { cat "$build/build.log"; echo "build failed"; exit 1; }

. "$root/tools/wine_prefix.sh"
wine_setup "$build" "$build/demo-prefix"
make_prefix || exit 1
install_sample_game || exit 1
game=$GAME_DIR
# On a virtual display nobody hears the taunt: what it plays is recorded instead.
if [ -z "${DISPLAY:-}" ]; then listen_to_sound "$WINEPREFIX/drive_c/sounds" || exit 1; fi
mkdir -p "$out"

run=("$WINE" 'C:\tools\demo.exe' 'C:\launchers\valkor.exe' 'Corvane 2: Drifthaven: Valkor' 'C:\launcher.bmp')
cd "$WINEPREFIX/drive_c"
if [ -n "${DISPLAY:-}" ]; then
    echo "Showing the launcher on your display $DISPLAY."
    "${run[@]}"
else
    echo "No display: showing the launcher on a virtual display."
    on_virtual_display 1024x768 "${run[@]}"
fi
status=$?
# The game runs on after the launcher has closed; let it finish its record.
timeout 30 "$WINESERVER" -w
stop_prefix

echo
if [ -z "${DISPLAY:-}" ]; then
    python3 "$root/tools/heard.py" "$WINEPREFIX/drive_c/sounds" "$root"/resources/valkor/taunt*.wav
fi
if [ -f "$WINEPREFIX/drive_c/launcher.bmp" ]; then
    python3 "$root/tools/bmp_to_png.py" "$WINEPREFIX/drive_c/launcher.bmp" "$out/launcher.png"
    echo "The picture of the launcher: $out/launcher.png"
fi
if [ -s "$game/standin.log" ]; then
    echo "The game was started: $(cat "$game/standin.log")"
    echo "  (show=2 is minimised; flux=0 means flux.ini was free, so the launcher had closed it)"
else
    echo "The game was not started."
fi
if cmp -s "$root/sample/game/flux.ini" "$game/flux.ini"; then
    echo "flux.ini is unchanged."
else
    echo "What Play changed in flux.ini:"
    # diff's own "\ No newline at end of file" said as what it means here.
    diff <(tr -d '\r' < "$root/sample/game/flux.ini") <(tr -d '\r' < "$game/flux.ini") |
        sed 's/^\\ No newline at end of file$/(the file now ends with its last value and no line break: sections added at the end are written so)/'
fi
cp "$game/flux.ini" "$out/flux.ini"
exit $status
