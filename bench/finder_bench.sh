#!/usr/bin/env bash
# Runs the game finder's benchmark (bench/finder_bench.cpp) under Wine on two real
# trees, each made in turn on drive D: with the game alone on drive E:: "wide",
# 10 x width directories of 100 files (about 100,000 entries by default), and
# "modern", shaped as today's system disks are, 134 x width folders of 3 files
# each (about 13,400 folders and 54,000 entries by default). The first run also
# walks drive B:, woven with links (tools/wine_prefix.sh, make_web_of_links).
#   bench/finder_bench.sh [width, default 100]
# Below a width of 20 the trees are too small for the goals (a check that it runs):
# the figures are printed without them.
set -euo pipefail
width=${1:-100}
check=""
if [ "$width" -lt 20 ]; then
    check=check
    echo "A check run on small trees (width $width): its figures mean little, and no goal is set against them."
fi
. "$(dirname "$0")/prepare.sh"
drives=$build/bench-drives
rm -rf "$drives"
for tree in wide modern; do
    mkdir -p "$drives/$tree/e"
    cp "$PROGRAMS/sample/standin/Drifthvn.exe" "$drives/$tree/e/"
done
python3 - "$drives" "$width" <<'PY'
import os, sys
top, width = sys.argv[1], int(sys.argv[2])
def folder(path, files):
    os.makedirs(path)
    for c in range(files):
        open(os.path.join(path, "file%03d.dat" % c), "w").close()
for a in range(width):
    for b in range(10):
        folder(os.path.join(top, "wide", "d", "d%03d" % a, "s%d" % b), 100)
    # Three levels, a folder of 3 files at each: 1 + 7 + 7 x 18 folders.
    base = os.path.join(top, "modern", "d", "p%03d" % a)
    folder(base, 3)
    for b in range(7):
        folder(os.path.join(base, "q%d" % b), 3)
        for c in range(18):
            folder(os.path.join(base, "q%d" % b, "r%02d" % c), 3)
PY
make_web_of_links "$drives/wide/b"
cp "$PROGRAMS/bench/finder_bench.exe" "$WINEPREFIX/drive_c/tools/"
status=0
for tree in wide modern; do
    map_drives "$drives/$tree" b:network c:network d:hd e:hd
    extra=$check
    [ "$tree" = wide ] && extra="web $check"
    (cd "$WINEPREFIX/drive_c" && on_virtual_display 1024x768 "$WINE" 'C:\tools\finder_bench.exe' $tree $extra) || status=$?
done
stop_prefix
rm -rf "$drives"
exit $status
