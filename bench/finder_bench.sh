#!/usr/bin/env bash
# Runs the game finder's benchmark (bench/finder_bench.cpp) under Wine over a real
# tree of about 100,000 entries made on drive D:, with the game alone on drive E:,
# and drive B: woven with links (tools/wine_prefix.sh, make_web_of_links).
#   bench/finder_bench.sh [directories of the first level, default 100]
set -euo pipefail
width=${1:-100}
. "$(dirname "$0")/prepare.sh"
drives=$build/bench-drives
rm -rf "$drives"
mkdir -p "$drives/e"
cp "$PROGRAMS/sample/standin/Drifthvn.exe" "$drives/e/"
# width x 10 directories of 100 files each.
python3 - "$drives/d" "$width" <<'PY'
import os, sys
top, width = sys.argv[1], int(sys.argv[2])
for a in range(width):
    for b in range(10):
        folder = os.path.join(top, "d%03d" % a, "s%d" % b)
        os.makedirs(folder)
        for c in range(100):
            open(os.path.join(folder, "file%03d.dat" % c), "w").close()
PY
make_web_of_links "$drives/b"
map_drives "$drives" b:network c:network d:hd e:hd
cp "$PROGRAMS/bench/finder_bench.exe" "$WINEPREFIX/drive_c/tools/"
status=0
cd "$WINEPREFIX/drive_c" && xvfb-run -a -s "-screen 0 1024x768x24" "$WINE" 'C:\tools\finder_bench.exe' || status=$?
stop_prefix
rm -rf "$drives"
exit $status
