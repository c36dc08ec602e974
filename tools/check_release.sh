#!/usr/bin/env bash
# Checks that a release can be made again bit for bit: clones the current commit
# into two differently named folders, makes the release in each some seconds
# apart (tools/release.sh), and compares the two zips and the programs in them
# byte for byte. Exits nonzero on any difference. Uncommitted changes are not
# part of the check: it is the commit that must give the same bytes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export LC_ALL=C
commit=$(git -C "$root" rev-parse HEAD) || { echo "check_release needs a git checkout"; exit 1; }
[ -z "$(git -C "$root" status --porcelain --untracked-files=no)" ] ||
    echo "Note: uncommitted changes are left out; checking commit $commit."

work=$(mktemp -d "${TMPDIR:-/tmp}/valkor-check-release.XXXXXX")
trap 'rm -rf "$work"' EXIT
started=$(date +%s)
# Two paths of different names and lengths, so that any folder compiled in shows.
trees=("$work/first" "$work/the-second-clone/src")
for tree in "${trees[@]}"; do
    git clone -q --no-checkout "$root" "$tree"
    git -C "$tree" checkout -q "$commit"
    [ "$tree" = "${trees[0]}" ] || sleep 2
    echo "== Release in $tree"
    "$tree/tools/release.sh" > "$tree.log" 2>&1 || { cat "$tree.log"; echo "release failed in $tree"; exit 1; }
done

zips=()
for tree in "${trees[@]}"; do
    found=("$tree"/dist/valkor-launchers-*.zip)
    [ "${#found[@]}" -eq 1 ] && [ -f "${found[0]}" ] || { echo "no single zip in $tree/dist"; exit 1; }
    zips+=("${found[0]}")
    mkdir -p "$tree/unpacked"
    python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "${found[0]}" "$tree/unpacked"
done

different=0
compare() {
    local name=$1 a=$2 b=$3 sum_a sum_b
    sum_a=$(sha256sum "$a" | cut -d' ' -f1)
    sum_b=$(sha256sum "$b" | cut -d' ' -f1)
    printf '%-30s %9d / %9d bytes  %s\n' "$name" "$(stat -c %s "$a")" "$(stat -c %s "$b")" "$sum_a"
    if ! cmp -s "$a" "$b"; then
        echo "  DIFFERENT: second is $sum_b; first differing bytes (offset, octal a, octal b):"
        { cmp -l "$a" "$b" 2>&1 || true; } | head -5 | sed 's/^/    /'
        different=1
    fi
}
echo "== Compared (first / second)"
compare "$(basename "${zips[0]}")" "${zips[0]}" "${zips[1]}"
[ "$(basename "${zips[0]}")" = "$(basename "${zips[1]}")" ] || { echo "  DIFFERENT names"; different=1; }
for file in valkor.exe novalkor.exe README.txt SHA256SUMS; do
    a=${trees[0]}/unpacked/$file b=${trees[1]}/unpacked/$file
    if [ -f "$a" ] && [ -f "$b" ]; then compare "$file" "$a" "$b"; else echo "$file: missing"; different=1; fi
done
echo "== check_release took $(( $(date +%s) - started )) s"
if [ "$different" -ne 0 ]; then
    echo "The two releases differ."
    exit 1
fi
echo "The two releases are identical."
