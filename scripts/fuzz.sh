#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for SECONDS (default 60) on a working copy of its
# checked-in seed corpus. Findings are left in build/fuzz/artifacts/; any finding fails the run.
# TZR_FUZZ_SEED fixes the random seed (the test command uses 1, so that CI runs repeat).
#   scripts/fuzz.sh [SECONDS] [TARGET...]     targets: HeaderReader Catalogue FileName RoundTrip Values Campaign
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(HeaderReader Catalogue FileName RoundTrip Values Campaign)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
mkdir -p build/fuzz/artifacts
status=0
passed=0
failed=0
for target in "${targets[@]}"; do
    work=build/fuzz/corpus/$target
    mkdir -p "$work"
    cp -n tests/fuzz/corpus/"$target"/* "$work"/ 2>/dev/null || true
    log=build/fuzz/$target.log
    echo "fuzzing $target for ${seconds}s"
    if ! build/fuzz/tests/fuzz/fuzz_"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -seed="${TZR_FUZZ_SEED:-0}" \
        -max_len=8192 -artifact_prefix=build/fuzz/artifacts/"$target"- -print_final_stats=1 \
        "$work" >"$log" 2>&1; then
        echo "fuzz_$target found a problem:"
        tail -40 "$log"
        status=1
        failed=$((failed + 1))
    else
        passed=$((passed + 1))
    fi
    grep -E '^stat::number_of_executed_units' "$log" | sed "s/^/  $target /" || true
done
echo "fuzz: $passed passed, $failed failed"
exit $status
