#!/usr/bin/env bash
# Builds ezu and runs every test in both kinds of the library: native static
# (with the benchmarks built) and shared, shared with AddressSanitizer and
# UndefinedBehaviorSanitizer, and Windows static and shared under wine; then
# fuzzes for a bounded time. The native leg also builds the HTML reference,
# which fails on any Doxygen warning. Prints each leg's time. Installs what is missing
# when run as root.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${EZU_BUILD_ROOT:-$root/build}
jobs=$(nproc 2>/dev/null || echo 2)

"$root/scripts/ensure-deps.sh" native windows bench docs || exit 1
export WINEDEBUG=-all

total_passed=0
total_failed=0
legs_failed=()

# Sums the counts of the GoogleTest XML reports of one leg.
count_results() {
    local dir=$1 tests=0 failures=0 disabled=0 f t fl d
    for f in "$dir"/tests/test-results/*.xml; do
        [ -f "$f" ] || continue
        t=$(grep -o '<testsuites [^>]*' "$f" | grep -o ' tests="[0-9]*"' | grep -o '[0-9]*')
        fl=$(grep -o '<testsuites [^>]*' "$f" | grep -o ' failures="[0-9]*"' | grep -o '[0-9]*')
        d=$(grep -o '<testsuites [^>]*' "$f" | grep -o ' disabled="[0-9]*"' | grep -o '[0-9]*')
        tests=$((tests + ${t:-0})); failures=$((failures + ${fl:-0})); disabled=$((disabled + ${d:-0}))
    done
    echo "$((tests - failures - disabled)) $failures"
}

run_leg() {
    local name=$1 dir=$2 started=$SECONDS
    shift 2
    echo "=== $name: configure and build ($dir)"
    if ! cmake -S "$root" -B "$dir" -G Ninja "$@" >"$dir.configure.log" 2>&1; then
        cat "$dir.configure.log"; legs_failed+=("$name (configure)"); return
    fi
    if ! cmake --build "$dir" -j "$jobs"; then
        legs_failed+=("$name (build)"); return
    fi
    rm -f "$dir"/tests/test-results/*.xml
    echo "=== $name: tests"
    local status=0
    (cd "$dir" && ctest --output-on-failure -j "$jobs") || status=1
    read -r passed failed < <(count_results "$dir")
    echo "=== $name: $passed passed, $failed failed ($((SECONDS - started)) s)"
    total_passed=$((total_passed + passed))
    total_failed=$((total_failed + failed))
    # A leg that reports no passing test at all has not really run.
    if [ $status -ne 0 ] || [ "$passed" -eq 0 ]; then legs_failed+=("$name"); fi
}

mkdir -p "$out"
# The native leg also builds the benchmarks (built, never run as tests).
run_leg native "$out/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DEZU_BUILD_BENCH=ON
# The reference of the public headers: an undocumented public name, or any
# other Doxygen warning, fails the run.
echo "=== docs: the HTML reference ($out/native/docs/html)"
if cmake --build "$out/native" --target docs; then
    echo "=== docs: built without a warning"
else
    echo "=== docs: failed"
    legs_failed+=(docs)
fi
run_leg native-shared "$out/native-shared" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_SHARED_LIBS=ON
run_leg sanitized-shared "$out/sanitized-shared" -DCMAKE_BUILD_TYPE=Debug -DEZU_SANITIZE=ON \
    -DBUILD_SHARED_LIBS=ON
# The Windows leg runs the i686 build under wine. Some hosts cannot execute
# 32-bit programs at all (the kernel's 32-bit emulation is switched off), and
# there 32-bit wine cannot start: the i686 library and ezutool are then still compiled and
# linked, and the tests run in the x86_64 Windows build under 64-bit wine.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    wine_loader=/usr/lib/wine/wine
    win_toolchain=i686-w64-mingw32
else
    echo "=== notice: this host cannot execute 32-bit programs; the i686 Windows library and"
    echo "=== ezutool are compiled and linked only, and the Windows tests run in the x86_64"
    echo "=== build under wine64"
    echo "=== windows-i686: configure and build ($out/windows-i686)"
    started=$SECONDS
    if ! { cmake -S "$root" -B "$out/windows-i686" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DCMAKE_TOOLCHAIN_FILE="$root/cmake/i686-w64-mingw32.cmake" >"$out/windows-i686.configure.log" 2>&1 &&
           cmake --build "$out/windows-i686" -j "$jobs" --target ezu ezutool; }; then
        legs_failed+=("windows-i686 (build)")
    fi
    echo "=== windows-i686: built ($((SECONDS - started)) s)"
    wine_loader=/usr/lib/wine/wine64
    win_toolchain=x86_64-w64-mingw32
fi
# A fresh wine prefix takes a while to make; make it once before the tests.
"$wine_loader" wineboot --init >/dev/null 2>&1 || true
win_leg=windows-${win_toolchain%%-*}
run_leg "$win_leg" "$out/$win_leg" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$win_toolchain.cmake"
run_leg "$win_leg-shared" "$out/$win_leg-shared" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$win_toolchain.cmake" -DBUILD_SHARED_LIBS=ON

# Fuzz leg: each fuzz target runs for a bounded time (EZU_FUZZ_TIME seconds,
# 10 here) from its seed corpus. It adds nothing to the GoogleTest counts:
# run-fuzz.sh prints a line per target and fails when any found something.
started=$SECONDS
if EZU_BUILD_ROOT="$out" EZU_FUZZ_TIME=${EZU_FUZZ_TIME:-10} "$root/scripts/run-fuzz.sh"; then
    echo "=== fuzz: passed ($((SECONDS - started)) s)"
else
    echo "=== fuzz: failed ($((SECONDS - started)) s)"
    legs_failed+=(fuzz)
fi

if [ ${#legs_failed[@]} -ne 0 ]; then
    echo "Failed legs: ${legs_failed[*]}"
    [ $total_failed -eq 0 ] && total_failed=1
fi
echo "all legs: $total_passed passed, $total_failed failed"
[ ${#legs_failed[@]} -eq 0 ]
