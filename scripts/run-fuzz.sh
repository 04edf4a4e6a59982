#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/) with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each one from a scratch copy of its
# seed corpus, so that nothing new is written into the source tree. Prints per
# target the executions, the time and whether it found anything; fails when
# any target crashed, broke a property or did not run.
#
#   run-fuzz.sh [target...]    targets by name (encoding, arg, ...); default all
#
# Environment:
#   EZU_FUZZ_TIME    seconds per target (default 30): -max_total_time
#   EZU_FUZZ_RUNS    a number of executions per target instead: -runs
#   EZU_FUZZ_ARGS    further libFuzzer options, e.g. "-jobs=2"
#   EZU_BUILD_ROOT   where build directories go (default build/ in the tree)
#   ASAN_OPTIONS     replaces the sanitizer settings set below
# A finding is copied to <build>/fuzz/findings/<target>/ for a closer look.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${EZU_BUILD_ROOT:-$root/build}
dir=$out/fuzz
fuzz_time=${EZU_FUZZ_TIME:-30}
fuzz_runs=${EZU_FUZZ_RUNS:-}

"$root/scripts/ensure-deps.sh" fuzz || exit 1
mkdir -p "$out"
echo "=== fuzz: configure and build ($dir)"
if ! CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DEZU_BUILD_FUZZ=ON -DEZU_BUILD_TESTS=OFF -DEZU_BUILD_EXAMPLES=OFF \
        -DEZU_BUILD_TOOLS=OFF >"$dir.configure.log" 2>&1; then
    cat "$dir.configure.log"; echo "=== fuzz: configure failed"; exit 1
fi
if ! cmake --build "$dir"; then
    echo "=== fuzz: build failed"; exit 1
fi

if [ $# -gt 0 ]; then
    targets=("$@")
else
    targets=()
    for f in "$root"/fuzz/*_fuzz.cpp; do
        name=$(basename "$f" _fuzz.cpp)
        targets+=("$name")
    done
fi

if [ -n "$fuzz_runs" ]; then
    limit=(-runs="$fuzz_runs")
else
    limit=(-max_total_time="$fuzz_time")
fi

# The sanitizer's allocator otherwise hands freed memory back to the system
# every few seconds, which costs the allocation-heavy targets a fifth of their
# time in page faults (and once stalled a long run for 20 s); short stack
# traces for allocations keep every check and the reports' top frames.
export ASAN_OPTIONS=${ASAN_OPTIONS:-allocator_release_to_os_interval_ms=-1:malloc_context_size=8}

scratch=$(mktemp -d "${TMPDIR:-/tmp}/ezu-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
failed=()
total_runs=0
for name in "${targets[@]}"; do
    exe=$dir/fuzz/${name}_fuzz
    if [ ! -x "$exe" ]; then
        echo "=== fuzz $name: no such target"; failed+=("$name"); continue
    fi
    work=$scratch/$name
    mkdir -p "$work/corpus" "$work/artifacts"
    [ -d "$root/fuzz/corpus/$name" ] && cp -R "$root/fuzz/corpus/$name/." "$work/corpus/"
    options=("${limit[@]}" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1
             -artifact_prefix="$work/artifacts/")
    [ -f "$root/fuzz/dict/$name.dict" ] && options+=(-dict="$root/fuzz/dict/$name.dict")
    # Earlier findings are read as inputs too (libFuzzer only ever adds to the
    # first corpus directory, the scratch copy).
    corpora=("$work/corpus")
    [ -d "$root/fuzz/regressions/$name" ] && corpora+=("$root/fuzz/regressions/$name")
    start=$(date +%s)
    # shellcheck disable=SC2086 # EZU_FUZZ_ARGS is a list of options
    "$exe" "${options[@]}" ${EZU_FUZZ_ARGS:-} "${corpora[@]}" >"$work/log" 2>&1
    status=$?
    seconds=$(($(date +%s) - start))
    runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$work/log" | grep -o '[0-9]*$' | tail -1)
    runs=${runs:-0}
    total_runs=$((total_runs + runs))
    findings=$(find "$work/artifacts" -type f | wc -l)
    if [ $status -ne 0 ] || [ "$findings" -ne 0 ] || [ "$runs" -eq 0 ]; then
        echo "=== fuzz $name: $runs executions in ${seconds}s: FOUND A FAULT (status $status)"
        grep -E 'fuzz property failed|ERROR: |SUMMARY: |runtime error|guarded blocks' "$work/log" | head -20
        mkdir -p "$dir/findings/$name"
        cp "$work/artifacts/"* "$dir/findings/$name/" 2>/dev/null
        cp "$work/log" "$dir/findings/$name/log"
        echo "    inputs and log kept in $dir/findings/$name/"
        failed+=("$name")
    else
        echo "=== fuzz $name: $runs executions in ${seconds}s, no findings"
    fi
done

echo "=== fuzz: ${#targets[@]} targets, $total_runs executions, ${#failed[@]} with findings"
if [ ${#failed[@]} -ne 0 ]; then
    echo "Fuzz targets with findings: ${failed[*]}"
    exit 1
fi
