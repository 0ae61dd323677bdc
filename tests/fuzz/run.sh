#!/usr/bin/env bash
# Fuzzes every built target for a bounded time each, starting from its seed
# corpus (new inputs go to a temporary folder, the seeds stay as they are).
#   tests/fuzz/run.sh BUILD_DIR [SECONDS]      (default 60 s per target)
# A failing input is kept under BUILD_DIR/fuzz-artifacts/ and the run fails.
set -uo pipefail
build="$1"
seconds="${2:-60}"
here="$(cd "$(dirname "$0")" && pwd)"
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1:max_allocation_size_mb=4096:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
passed=0
failed=0
for exe in "$build"/tests/fuzz/fuzz_*; do
    [ -x "$exe" ] || continue
    name="$(basename "$exe")"
    work="$(mktemp -d)"
    log="$artifacts/$name.log"
    if "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
           -artifact_prefix="$artifacts/$name-" "$work" "$here/corpus/$name" >"$log" 2>&1; then
        echo "$name: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$') runs in ${seconds} s, no failure"
        passed=$((passed + 1))
    else
        echo "$name: FAILED (log $log)"
        tail -n 40 "$log"
        failed=$((failed + 1))
    fi
    rm -rf "$work"
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
