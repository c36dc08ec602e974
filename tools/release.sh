#!/usr/bin/env bash
# Builds the two 32-bit programs (with the C++ runtime's win32 thread model, see
# cmake/mingw.cmake) in a new build tree of their own and packs
#   dist/valkor-launchers-<version>.zip
# with valkor.exe, novalkor.exe, README.txt (for players) and SHA256SUMS.
# The version is the "FileVersion" string of resources/version.rc, the version
# block both programs carry. The zip's entries take the time of the commit
# (or SOURCE_DATE_EPOCH when given), so the same commit packs the same bytes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dist=$root/dist
export LC_ALL=C
# Flags from the environment would give programs that differ from the commit's.
unset CFLAGS CXXFLAGS LDFLAGS CPPFLAGS RCFLAGS

"$root/tools/setup.sh" > /dev/null || { echo "set-up failed"; exit 1; }

versions=$(sed -n 's/^[[:space:]]*VALUE "FileVersion", "\([^"]*\)".*/\1/p' "$root/resources/version.rc")
if [ "$(printf '%s\n' "$versions" | grep -c .)" -ne 1 ]; then
    echo "expected one FileVersion string in resources/version.rc, found: ${versions:-none}"; exit 1
fi
version=$versions
# It becomes part of a file name.
if ! [[ "$version" =~ ^[0-9][0-9A-Za-z.]*$ ]]; then
    echo "the version \"$version\" is not fit for a file name"; exit 1
fi

if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
    epoch=$SOURCE_DATE_EPOCH
elif epoch=$(git -C "$root" log -1 --format=%ct 2> /dev/null) && [ -n "$epoch" ]; then
    if [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
        echo "Note: the tree has uncommitted changes, so this release matches no commit."
    fi
else
    epoch=0
    echo "Note: no commit to date the zip's entries by; they get the earliest time a zip holds."
fi

tree=$(mktemp -d "${TMPDIR:-/tmp}/valkor-release.XXXXXX")
trap 'rm -rf "$tree"' EXIT
echo "Building the 32-bit programs in $tree"
cmake -S "$root" -B "$tree/build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw.cmake" -DMINGW_ARCH=i686 \
    -DMINGW_THREADS=win32 -DCMAKE_BUILD_TYPE=Release > "$tree/configure.log" 2>&1 || { cat "$tree/configure.log"; exit 1; }
cmake --build "$tree/build" -j "$(nproc)" --target valkor novalkor > "$tree/build.log" 2>&1 ||
    { cat "$tree/build.log"; echo "build failed"; exit 1; }

stage=$tree/stage
mkdir -p "$stage"
cp "$tree/build/valkor.exe" "$tree/build/novalkor.exe" "$stage/"
# Nothing of this machine may travel with the programs: its folders, its users' homes.
for program in valkor.exe novalkor.exe; do
    for trace in "$root" "$tree" "$HOME" "/home/"; do
        if [ ${#trace} -gt 3 ] && grep -qaF "$trace" "$stage/$program"; then
            echo "$program holds \"$trace\" from the build machine"; exit 1
        fi
    done
done
# Players run them on plain 32-bit Windows with nothing installed beside them:
# 32-bit GUI programs.
for program in valkor.exe novalkor.exe; do
    headers=$(i686-w64-mingw32-objdump -p "$stage/$program") || exit 1
    if ! grep -q 'file format pei-i386' <<< "$headers" || ! grep -q '^Subsystem.*(Windows GUI)' <<< "$headers"; then
        echo "$program is not a 32-bit Windows GUI program"; exit 1
    fi
done
# Players run them on every Windows from XP on: each function they import is in
# the table of the oldest Windows that has it (tools/release/windows-minimum.tsv)
# at XP or older, and their headers are ones XP loads. They import only the
# system's KnownDLLs, and COMCTL32 of the side-by-side store as their manifest
# asks: DLLs Windows never looks for in the programs' folder.
python3 "$root/tools/windows_minimum.py" "$stage/valkor.exe" "$stage/novalkor.exe" ||
    { echo "the programs ask of Windows what Windows XP does not have, or import a DLL that Windows would look for in their folder"; exit 1; }
# Windows players read it with Notepad: CR LF line ends.
sed -e "s/@VERSION@/$version/" -e 's/$/\r/' "$root/tools/release/README.txt" > "$stage/README.txt"
(cd "$stage" && sha256sum valkor.exe novalkor.exe > SHA256SUMS)

mkdir -p "$dist"
zip=$dist/valkor-launchers-$version.zip
python3 "$root/tools/pack_zip.py" "$zip" "$epoch" \
    "$stage/valkor.exe" "$stage/novalkor.exe" "$stage/README.txt" "$stage/SHA256SUMS"

echo "Release $version: $zip"
for file in "$zip" "$stage/valkor.exe" "$stage/novalkor.exe"; do
    printf '  %-30s %9d bytes  sha256 %s\n' "$(basename "$file")" "$(stat -c %s "$file")" \
        "$(sha256sum "$file" | cut -d' ' -f1)"
done
