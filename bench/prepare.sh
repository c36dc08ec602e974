# Sourced by the benchmark scripts: installs and builds what they need, then makes
# a new Wine prefix for the run (tools/wine_prefix.sh). Sets root and build.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build}
# tools/test.sh, which has just built everything, says so with VALKOR_BUILT=1.
if [ -z "${VALKOR_BUILT:-}" ]; then
    "$root/tools/setup.sh" > /dev/null || exit 1
    "$root/tools/build.sh" > /dev/null 2>&1 || { echo "build failed"; exit 1; }
fi
. "$root/tools/wine_prefix.sh"
wine_setup "$build" "$build/bench-prefix"
make_prefix || exit 1
