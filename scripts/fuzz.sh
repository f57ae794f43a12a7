#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer) and runs
# each for a number of seconds, two at a time, then prints executions and findings per target.
#
# Usage: scripts/fuzz.sh [seconds-per-target] [target ...]
#   seconds-per-target  default 300; a smoke run is e.g. `scripts/fuzz.sh 10`
#   target              e.g. hex_text eval_number (default: every target)
# Environment:
#   KSV_FUZZ_BUILD      build directory (default <repo>/build-fuzz)
#   KSV_FUZZ_PARALLEL   targets run at the same time (default 2)
#
# The seeds in fuzz/corpus/<target> are only read; the fuzzer's own corpus grows in
# <build>/corpus/<target>. Logs and crash inputs go to <build>/fuzz-out/<target>/. A crash
# input worth keeping goes to fuzz/regressions/<target>/, where test_fuzz_regressions feeds it.
# Exit status 1 when any target found a crash, leak, timeout or out-of-memory input.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
shift || true
build=${KSV_FUZZ_BUILD:-$here/build-fuzz}
parallel=${KSV_FUZZ_PARALLEL:-2}
all=(hex_text time_ticks date_time bit_list num_list decode_index value_roundtrip vb_text
     eval_number eval_condition substitute_values)
[ $# -gt 0 ] && targets=("$@") || targets=("${all[@]}")

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKSV_BUILD_FUZZ=ON -DKSV_BUILD_TESTS=OFF \
    -DKSV_BUILD_BENCH=OFF -DKSV_SANITIZE=ON >/dev/null
cmake --build "$build" -j "$parallel" --target "${targets[@]/#/fuzz_}"

run_one() {
    local t=$1 out=$build/fuzz-out/$1 corpus=$build/corpus/$1
    rm -rf "$out"
    mkdir -p "$out" "$corpus"
    local start=$SECONDS
    # -jobs=1 -workers=1: one fuzzing process on one core; its log is fuzz-0.log.
    (cd "$out" && "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -jobs=1 -workers=1 \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$out/" \
        "$corpus" "$here/fuzz/corpus/$t" >"$out/driver.log" 2>&1) || true
    echo $((SECONDS - start)) >"$out/seconds"
}

running=0
for t in "${targets[@]}"; do
    run_one "$t" &
    running=$((running + 1))
    if [ "$running" -ge "$parallel" ]; then
        wait -n || true
        running=$((running - 1))
    fi
done
wait || true

status=0
printf '%-18s %12s %8s %9s %s\n' target executions seconds corpus findings
for t in "${targets[@]}"; do
    out=$build/fuzz-out/$t
    log=$out/fuzz-0.log
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" 2>/dev/null | tail -1 || true)
    took=$(cat "$out/seconds" 2>/dev/null || true)
    units=$(find "$build/corpus/$t" -type f 2>/dev/null | wc -l)
    findings=$(find "$out" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
    note=$findings
    if [ "$findings" -gt 0 ]; then
        status=1
        note="$findings: $(find "$out" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' \
            -o -name 'timeout-*' -o -name 'oom-*' \) -printf '%f ' || true)"
    fi
    printf '%-18s %12s %8s %9s %s\n' "$t" "${execs:-?}" "${took:-?}" "$units" "$note"
done
exit $status
