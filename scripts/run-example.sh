#!/usr/bin/env bash
# Builds ezu natively and runs ezutool on the bundled sample: converts a
# UTF-16 text to UTF-8, then shows what the framework finds out about this
# machine. Installs what is missing when run as root.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${EZU_BUILD_ROOT:-$root/build}/example
"$root/scripts/ensure-deps.sh" native
cmake -S "$root" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release -DEZU_BUILD_TESTS=OFF >/dev/null
cmake --build "$out" -j "$(nproc 2>/dev/null || echo 2)" >/dev/null
ezutool=$out/tools/ezutool/ezutool
sample=$root/examples/data/sample-utf16.txt

echo "\$ ezutool convert --from utf16 --to utf8 examples/data/sample-utf16.txt"
"$ezutool" convert --from utf16 --to utf8 "$sample"
echo
echo "\$ ezutool info"
"$ezutool" info
