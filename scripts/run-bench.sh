#!/usr/bin/env bash
# Builds the benchmarks (Release, native only) and runs them, then prints per
# group every candidate's figure and its ratio to ezu as Markdown tables.
#   run-bench.sh [BENCHMARK-OPTION...]   e.g. --benchmark_filter=utf8
# Options are passed to every bench program. The JSON results stay in
# build/bench/results (or $EZU_BUILD_ROOT/bench/results). A whole run takes a
# few minutes; EZU_BENCH_MIN_TIME (seconds per repetition, default 0.5)
# shortens or lengthens it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${EZU_BUILD_ROOT:-$root/build}/bench
min_time=${EZU_BENCH_MIN_TIME:-0.5}

"$root/scripts/ensure-deps.sh" bench || exit 1

mkdir -p "$out"
echo "=== bench: configure and build ($out)" >&2
if ! cmake -S "$root" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release -DEZU_BUILD_BENCH=ON \
        -DEZU_BUILD_TESTS=OFF -DEZU_BUILD_EXAMPLES=OFF -DEZU_BUILD_TOOLS=OFF >"$out.configure.log" 2>&1; then
    cat "$out.configure.log" >&2
    exit 1
fi
cmake --build "$out" >&2

results=$out/results
mkdir -p "$results"
rm -f "$results"/*.json
status=0
files=()
for program in convert validate format list settings append; do
    echo "=== bench: ${program}_bench" >&2
    if ! "$out/bench/${program}_bench" --benchmark_format=json --benchmark_repetitions=3 \
            --benchmark_report_aggregates_only=true --benchmark_min_time="$min_time" "$@" \
            >"$results/$program.json"; then
        echo "=== bench: ${program}_bench failed" >&2
        status=1
    fi
    files+=("$results/$program.json")
done

python3 "$root/bench/ratio_table.py" "${files[@]}"
exit $status
