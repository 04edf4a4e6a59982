#!/usr/bin/env bash
# Builds the scaling benchmark (Release, native only) and prints the growth
# exponent of every operation on input of variable size; fails when one
# exceeds 1.15 (EZU_SCALING_LIMIT overrides).
#   run-scaling.sh [BENCHMARK-OPTION...]   e.g. --benchmark_filter=append
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${EZU_BUILD_ROOT:-$root/build}/bench

"$root/scripts/ensure-deps.sh" bench || exit 1

mkdir -p "$out"
echo "=== scaling: configure and build ($out)" >&2
if ! cmake -S "$root" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release -DEZU_BUILD_BENCH=ON \
        -DEZU_BUILD_TESTS=OFF -DEZU_BUILD_EXAMPLES=OFF -DEZU_BUILD_TOOLS=OFF >"$out.configure.log" 2>&1; then
    cat "$out.configure.log" >&2
    exit 1
fi
cmake --build "$out" --target scaling_bench >&2
exec python3 "$root/bench/scaling_table.py" --limit "${EZU_SCALING_LIMIT:-1.15}" "$out/bench/scaling_bench" "$@"
