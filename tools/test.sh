#!/usr/bin/env bash
# Every test: the unit tests on the simulated Windows (plain, and under
# AddressSanitizer and UndefinedBehaviorSanitizer), the check that the programs
# ask nothing of Windows that XP lacks, then the end-to-end tests of
# the real programs under Wine, and that the commit's release comes out the
# same twice. Installs and builds what it needs first.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
export BUILD_DIR=$build
started=$(date +%s)

"$root/tools/setup.sh" || exit 1
"$root/tools/build.sh" || { echo "build failed"; exit 1; }

passed=0
failed=0
log=$(mktemp)

echo "== Unit tests (simulated Windows; plain and sanitized)"
(cd "$build/native" && ctest --output-on-failure -j "$(nproc)") 2>&1 | tee "$log"
counts=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)
if [ -n "$counts" ]; then
    total=$(echo "$counts" | sed -E 's/.* out of ([0-9]+).*/\1/')
    bad=$(echo "$counts" | sed -E 's/.* ([0-9]+) tests failed.*/\1/')
    passed=$((passed + total - bad)); failed=$((failed + bad))
else
    failed=$((failed + 1))
fi

echo "== What the programs ask of Windows (Windows XP and later)"
python3 "$root/tests/release/windows_minimum_test.py" "$build" 2>&1 | tee "$log"
check_status=${PIPESTATUS[0]}
counts=$(sed -n 's/^windows_minimum: \([0-9]*\) passed, \([0-9]*\) failed$/\1 \2/p' "$log")
if [ -n "$counts" ]; then
    read -r good bad <<< "$counts"
    passed=$((passed + good)); failed=$((failed + bad))
    [ "$check_status" -ne 0 ] && [ "$bad" -eq 0 ] && failed=$((failed + 1))
else
    failed=$((failed + 1))
fi

echo "== End-to-end tests (real programs under Wine)"
"$root/tests/e2e/run.sh" "$build" 2>&1 | tee "$log"
e2e_status=${PIPESTATUS[0]}
# One summary for each prefix the end-to-end tests ran in.
e2e_passed=$(grep -E '^\[  PASSED  \] [0-9]+ test' "$log" | sed -E 's/.*\] ([0-9]+) test.*/\1/' | awk '{ s += $1 } END { if (NR) print s }')
e2e_failed=$(grep -E '^\[  FAILED  \] [0-9]+ test' "$log" | sed -E 's/.*\] ([0-9]+) test.*/\1/' | awk '{ s += $1 } END { if (NR) print s }')
if [ -z "$e2e_passed" ] && [ -z "$e2e_failed" ]; then
    failed=$((failed + 1))
else
    passed=$((passed + ${e2e_passed:-0})); failed=$((failed + ${e2e_failed:-0}))
    # A prefix whose run ended without its summary counts as one failure.
    [ "$e2e_status" -ne 0 ] && [ "${e2e_failed:-0}" -eq 0 ] && failed=$((failed + 1))
fi
rm -f "$log"

echo "== Reproducible release (two releases of this commit, byte for byte)"
if "$root/tools/check_release.sh"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi

echo "== All tests took $(( $(date +%s) - started )) s"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
