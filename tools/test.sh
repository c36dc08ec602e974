#!/usr/bin/env bash
# Every test: the unit tests on the simulated Windows (plain, and under
# AddressSanitizer and UndefinedBehaviorSanitizer), the check that the programs
# ask nothing of Windows that XP lacks, then the end-to-end tests of the real
# programs under Wine, each benchmark once at a small size, and that the
# commit's release comes out the same twice. Installs and builds what it needs
# first. The counts come from the runners' own reports (JUnit XML). Every
# section runs even when one before it failed, so there is no -e here.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
export BUILD_DIR=$build
started=$(date +%s)

"$root/tools/setup.sh" || exit 1
"$root/tools/build.sh" || { echo "build failed"; exit 1; }

passed=0
failed=0
# Adds a section's "PASSED FAILED" to the totals; a section that printed no
# counts at all failed as a whole.
add() {
    local good bad
    read -r good bad <<< "${1:-}"
    if [ -z "${good:-}" ] || [ -z "${bad:-}" ]; then
        failed=$((failed + 1))
    else
        passed=$((passed + good)); failed=$((failed + bad))
    fi
}
count() { python3 "$root/tools/count_results.py" "$@"; }

echo "== Unit tests (simulated Windows; plain and sanitized)"
rm -f "$build/native/unit-report.xml"
(cd "$build/native" && ctest --output-on-failure -j "$(nproc)" --output-junit unit-report.xml)
add "$(count "$build/native/unit-report.xml")"

echo "== What the programs ask of Windows (Windows XP and later)"
log=$(mktemp)
python3 "$root/tests/release/windows_minimum_test.py" "$build" 2>&1 | tee "$log"
check_status=${PIPESTATUS[0]}
counts=$(sed -n 's/^windows_minimum: \([0-9]*\) passed, \([0-9]*\) failed$/\1 \2/p' "$log")
rm -f "$log"
add "$counts"
# A check that failed without saying which case failed counts as one failure.
[ "$check_status" -ne 0 ] && [ -n "$counts" ] && [ "${counts#* }" -eq 0 ] && failed=$((failed + 1))

echo "== End-to-end tests (real programs under Wine)"
"$root/tests/e2e/run.sh" "$build"
e2e_status=$?
# One report for each prefix the end-to-end tests ran in; a missing one fails.
e2e=$(count "$build/e2e-reports/test-drives.xml" "$build/e2e-reports/players-prefix.xml" \
    "$build/e2e-reports/japanese.xml" "$build/e2e-reports/scale-144.xml" "$build/e2e-reports/scale-192.xml")
add "$e2e"
[ "$e2e_status" -ne 0 ] && [ "${e2e#* }" = 0 ] && failed=$((failed + 1))

echo "== Benchmarks (each once, at a small size: a check that it runs and finds something to measure)"
for bench in "silent_run.sh 1" "finder_bench.sh 2" "settings_bench.sh quick"; do
    # shellcheck disable=SC2086 # the name and its argument
    if VALKOR_BUILT=1 "$root"/bench/$bench; then passed=$((passed + 1)); else echo "FAILED: bench/$bench"; failed=$((failed + 1)); fi
done

echo "== Reproducible release (two releases of this commit, byte for byte)"
if "$root/tools/check_release.sh"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi

echo "== All tests took $(( $(date +%s) - started )) s"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
