#!/usr/bin/env bash
# The long reliability checks, after tools/test.sh:
#   1. builds everything with AddressSanitizer, UndefinedBehaviorSanitizer and the fuzzers'
#      coverage feedback (clang, build-asan/) and runs the whole test suite there;
#   2. runs the slow harnesses (kills during import and compaction, full disks, damaged leagues)
#      against that command line;
#   3. runs each fuzz target for FUZZ_SECONDS (60) and replays the corpus and any crash file.
# Prints the figures of every harness at the end. Needs tools/setup.sh to have run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ASAN_BUILD_DIR:-$root/build-asan}
fuzz_seconds=${FUZZ_SECONDS:-60}
logs="$build/reliability-logs"

# A report stops the process; its exit status tells it apart from the program's own failures.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:exitcode=86:detect_leaks=1:detect_stack_use_after_return=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:exitcode=86"
# Leaks inside Qt's own libraries only; see the file for why.
export LSAN_OPTIONS="suppressions=$root/tests/reliability/lsan-qt.supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen

timings=()
step_start=0
step() {
    step_start=$(date +%s)
    echo "== $1"
}
step_done() {
    timings+=("$(printf '%-44s %4d s' "$1" $(($(date +%s) - step_start)))")
}

step "sanitizer build ($build)"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=None \
    -DCMAKE_CXX_FLAGS="-O1 -gline-tables-only" -DSCOREWELL_FUZZ=ON -DSCOREWELL_BUILD_BENCH=ON \
    >/dev/null
cmake --build "$build" -j2
mkdir -p "$logs"
step_done "sanitizer build"

step "whole test suite under the sanitizers"
ctest --test-dir "$build" -LE 'slow' -j2 -V --output-log "$logs/suite.log" >/dev/null || {
    grep -E "Failure|Which is|FAILED|Sanitizer|runtime error|\(Failed\)" "$logs/suite.log" | head -n 60
    echo "tests failed under the sanitizers; the whole log is $logs/suite.log"
    exit 1
}
grep -E "tests passed|Total Test time" "$logs/suite.log"
step_done "test suite under the sanitizers"

step "slow harnesses against the sanitizer command line"
# Leaks are the whole suite's business above; here every run would pay for the check at exit.
# The harnesses kill processes, they do not cut the power, so a memory file system serves them
# as well as a disk and spares thousands of flushes.
fast_tmp=${TMPDIR:-/tmp}
[ -d /dev/shm ] && [ -w /dev/shm ] && fast_tmp=/dev/shm
ASAN_OPTIONS="${ASAN_OPTIONS/detect_leaks=1/detect_leaks=0}" TMPDIR="$fast_tmp" \
    ctest --test-dir "$build" -L slow -j2 -V --output-log "$logs/slow.log" >/dev/null || {
    grep -E "Failure|Which is|FAILED|Sanitizer|runtime error" "$logs/slow.log" | head -n 60
    echo "slow harnesses failed; the whole log is $logs/slow.log"
    exit 1
}
step_done "slow harnesses"

step "fuzzing, ${fuzz_seconds} s per target"
fuzz_status=0
pids=()
for target in race_final exported_standings; do
    corpus="$build/fuzz/corpus/$target"
    crashes="$build/fuzz/crashes/$target"
    mkdir -p "$corpus" "$crashes"
    case $target in
    race_final) seeds=("$root/tests/fixtures/stn" "$root/resources/demo") ;;
    exported_standings) seeds=("$root/tests/fixtures/nr4") ;;
    esac
    kept="$root/tests/fuzz/corpus/$target"
    [ -d "$kept" ] && seeds+=("$kept")
    "$build/tests/fuzz/fuzz_$target" "$corpus" "${seeds[@]}" \
        -max_total_time="$fuzz_seconds" \
        -print_final_stats=1 -artifact_prefix="$crashes/" -rss_limit_mb=2048 \
        >"$logs/fuzz_$target.log" 2>&1 &
    pids+=($!)
done
for pid in "${pids[@]}"; do
    wait "$pid" || fuzz_status=1
done
step_done "fuzzing"

step "replaying the corpus and the crash files"
SCOREWELL_FUZZ_EXTRA="$build/fuzz/corpus:$build/fuzz/crashes" \
    ctest --test-dir "$build" -L fuzz --output-on-failure --output-log "$logs/replay.log" |
    tail -n 3
step_done "replay"

echo
echo "== figures"
# ctest puts the test's number before each line of its output.
sed -E 's/^[0-9]+: //' "$logs/slow.log" "$logs/suite.log" |
    grep -E "^(kills .* survived|kills (while|that)|full-disk fault points|damaged leagues opened|malicious SQL|legitimate SQL|pages checked|refused [0-9]|imports (finished|done)|one batch|a command with|rounds )" |
    sort -u || true
for target in race_final exported_standings; do
    runs=$(grep -hE "stat::number_of_executed_units" "$logs/fuzz_$target.log" | awk '{print $2}')
    crashes=$(find "$build/fuzz/crashes/$target" -type f | wc -l)
    echo "inputs fuzzed ($target): ${runs:-?} in ${fuzz_seconds} s, crash files: $crashes"
done
reports=$(cat "$logs"/*.log | grep -cE "ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:" || true)
echo "sanitizer reports: $reports"
echo
echo "== time per step"
printf '%s\n' "${timings[@]}"

if [ "$fuzz_status" -ne 0 ]; then
    echo "a fuzz target failed; see $logs/fuzz_*.log and $build/fuzz/crashes/"
    exit 1
fi
[ "$reports" -eq 0 ]
