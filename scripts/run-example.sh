#!/usr/bin/env bash
# Builds ezu natively and runs its example program. Installs what is missing
# when run as root.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${EZU_BUILD_ROOT:-$root/build}/example
"$root/scripts/ensure-deps.sh" native
cmake -S "$root" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release -DEZU_BUILD_TESTS=OFF >/dev/null
cmake --build "$out" -j "$(nproc 2>/dev/null || echo 2)" >/dev/null
"$out/examples/convert_text" "$@"
