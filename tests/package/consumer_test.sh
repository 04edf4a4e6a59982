#!/usr/bin/env bash
# Installs a built ezu tree into a temporary prefix, checks that exactly the
# public headers went there and that each compiles on its own, then builds the
# consumer project of consumer/ against it twice, with find_package(ezu
# CONFIG) and with pkg-config, and runs both results and the installed
# ezutool. The tree may hold either kind of the library: a shared one must
# export nothing but what the installed headers declare.
#
#   consumer_test.sh BUILD_DIR WORK_DIR CXX [EMULATOR TOOLCHAIN_FILE]
#
# EZU_CONSUMER_FLAGS, when set, go to every compile and link of the consumer
# (the sanitizer flags of a sanitized build). With EMULATOR and TOOLCHAIN_FILE the tree is a Windows build: the
# consumer is cross-compiled with that tool-chain file and run by EMULATOR.
set -euo pipefail
if [ $# -ne 3 ] && [ $# -ne 5 ]; then
    echo "usage: consumer_test.sh BUILD_DIR WORK_DIR CXX [EMULATOR TOOLCHAIN_FILE]" >&2
    exit 2
fi
build=$1 work=$2 cxx=$3 emulator=${4:-} toolchain=${5:-}
flags=${EZU_CONSUMER_FLAGS:-}
here=$(cd "$(dirname "$0")" && pwd)
prefix=$work/prefix
exe= static=
if [ -n "$toolchain" ]; then
    exe=.exe
    static="-static -static-libgcc -static-libstdc++" # runs under wine as it is
fi
expected='consumer: 42 4 C:\dir\file.txt'

fail() { echo "consumer_test: $*" >&2; exit 1; }
run() {
    if [ -n "$emulator" ]; then
        WINEDEBUG=-all "$emulator" "$@"
    else
        LD_LIBRARY_PATH="$libdir${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}" "$@"
    fi
}
# A program linked to ezu.dll finds it beside itself.
place_dll() {
    if [ -n "$dll" ]; then cp "$dll" "$(dirname "$1")/"; fi
}
check_output() {
    local got
    got=$(run "$1" | tr -d '\r') || fail "$1 failed"
    [ "$got" = "$expected" ] || fail "$1 printed '$got', expected '$expected'"
    # A shared library must be what the program ran with (no static copy).
    if [ -n "$shared" ] && [ -z "$emulator" ]; then
        LD_LIBRARY_PATH="$libdir" ldd "$1" | grep "libezu\.so\.0 => /.*/libezu\.so\.0" >/dev/null ||
            fail "$1 does not use the installed libezu.so.0"
    fi
    echo "ok: $1"
}

rm -rf "$work"
mkdir -p "$work"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; fail "install"; }
[ -f "$prefix/bin/ezutool$exe" ] || fail "not installed: bin/ezutool$exe"

# Headers: ezu.h, what it includes and the generated ones; nothing else.
inc=$prefix/include
[ -f "$inc/ezu/ezu.h" ] || fail "not installed: include/ezu/ezu.h"
public=$( (echo ezu/ezu.h ezu/ezu_export.h ezu/ezu_wchar.h ezu/ezu_build.h
           sed -n 's/^#include "\(ezu\/[^"]*\)".*/\1/p' "$inc/ezu/ezu.h") | tr ' ' '\n' | sort -u)
installed=$(cd "$inc" && find . -type f | sed 's|^\./||' | sort)
[ "$installed" = "$public" ] ||
    fail "installed headers differ from the public ones:$(diff <(echo "$public") <(echo "$installed") | grep '^[<>]')"
[ "$(echo "$public" | wc -l)" -ge 20 ] || fail "ezu.h names too few headers"
# Each one compiles on its own, with the flags pkg-config gives.
pc=$(find "$prefix" -name ezu.pc)
[ -n "$pc" ] || fail "no ezu.pc"
libdir=$(dirname "$(dirname "$pc")")
eval "cflag_words=($(PKG_CONFIG_LIBDIR=$(dirname "$pc") pkg-config --cflags ezu))"
mkdir -p "$work/headers"
for header in $public; do
    echo "#include \"$header\"" >"$work/headers/alone.cpp"
    # shellcheck disable=SC2086
    "$cxx" $flags -fsyntax-only -Wall -Wextra -Werror "${cflag_words[@]}" "$work/headers/alone.cpp" ||
        fail "$header does not compile on its own"
done
echo "ok: $(echo "$public" | wc -l) public headers installed, each compiles alone"

# The kind: a shared library exports only names its headers declare.
shared= dll=
if [ -n "$toolchain" ]; then
    dll=$(find "$prefix/bin" -name 'ezu.dll' | head -n 1)
    [ -n "$dll" ] && shared=1
    exports() { "${cxx%g++*}objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
                    sed -n 's/^[[:space:]]*\[ *[0-9]*\] //p'; }
else
    [ -n "$(find "$prefix" -name 'libezu.so*' | head -n 1)" ] && shared=1
    exports() { nm -D --defined-only "$(find "$prefix" -name 'libezu.so.0' | head -n 1)" | awk '{print $3}'; }
fi
if [ -n "$shared" ]; then
    words=$(cat "$inc"/ezu/*.h "$inc"/ezu/*/*.h | grep -o '[A-Za-z_][A-Za-z_0-9]*' | sort -u)
    names=$(exports | c++filt | sed -E 's/^(vtable|typeinfo|typeinfo name|non-virtual thunk) (for|to) //' |
            sed -E 's/^([A-Za-z_][A-Za-z_0-9]*).*/\1/' | sort -u)
    [ "$(echo "$names" | wc -l)" -ge 20 ] || fail "the shared library exports too little: $names"
    # A sanitized build adds the sanitizers' own markers (__odr_asan...).
    stray=$(comm -23 <(echo "$names") <(echo "$words") | grep -Ev '^__(odr_asan|asan|ubsan|sanitizer)' || true)
    [ -z "$stray" ] || fail "the shared library exports names no public header declares: $stray"
    echo "ok: shared library exports $(exports | wc -l) symbols, all declared in the public headers"
else
    grep -q -- '-DEZU_STATIC_DEFINE' "$pc" || fail "a static ezu.pc must give -DEZU_STATIC_DEFINE"
fi

config=$(find "$prefix" -name ezuConfig.cmake)
[ -n "$config" ] && [ -f "$(dirname "$config")/ezuConfigVersion.cmake" ] || fail "no CMake package"
version=$(run "$prefix/bin/ezutool$exe" --version | tr -d '\r')
[ "$version" = "ezutool $(PKG_CONFIG_LIBDIR=$(dirname "$pc") pkg-config --modversion ezu)" ] ||
    fail "installed ezutool says '$version'"
echo "ok: installed files, $version"

# CMake: find_package(ezu CONFIG) through the prefix path.
cmake_args=(-S "$here/consumer" -B "$work/cmake" -G Ninja -DCMAKE_BUILD_TYPE=Release
            -DCMAKE_PREFIX_PATH="$prefix")
[ -n "$toolchain" ] && cmake_args+=(-DCMAKE_TOOLCHAIN_FILE="$toolchain")
[ -n "$flags" ] && cmake_args+=(-DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags")
{ cmake "${cmake_args[@]}" && cmake --build "$work/cmake"; } >"$work/cmake.log" 2>&1 ||
    { cat "$work/cmake.log"; fail "the CMake consumer does not build"; }
place_dll "$work/cmake/consumer$exe"
check_output "$work/cmake/consumer$exe"

# pkg-config: the flags it gives are all a compiler needs.
pc_flags=$(PKG_CONFIG_LIBDIR=$(dirname "$pc") pkg-config --cflags --libs ezu)
# pkg-config writes them for the shell, with a backslash before each blank
# or other special byte of a path: the shell reads them back into words.
eval "pc_words=($pc_flags)"
mkdir -p "$work/pkg-config"
# shellcheck disable=SC2086 # the flag lists are meant to split into words
"$cxx" $flags $static "$here/consumer/main.cpp" "${pc_words[@]}" -o "$work/pkg-config/consumer$exe" ||
    fail "the pkg-config consumer does not build with: $pc_flags"
place_dll "$work/pkg-config/consumer$exe"
check_output "$work/pkg-config/consumer$exe"

# The README's pkg-config lines as written, with this build's compiler for
# g++ and the scratch prefix for /opt/ezu. The shell splits what pkg-config
# prints at blanks, so the prefix is reached through a link whose path has
# none, as /opt/ezu has none.
mapfile -t readme_lines < <(grep -E '^    (export PKG_CONFIG_PATH=|g\+\+ app\.cpp )' "$here/../../README.md")
[ ${#readme_lines[@]} -eq 2 ] || fail "README: expected its two pkg-config lines, found ${#readme_lines[@]}"
mkdir -p "$work/readme"
cp "$here/consumer/main.cpp" "$work/readme/app.cpp"
link_dir=$(mktemp -d /tmp/ezu-prefix.XXXXXX)
trap 'rm -rf "$link_dir"' EXIT
ln -s "$prefix" "$link_dir/ezu"
quoted_prefix=$(printf '%q' "$link_dir/ezu")
(
    cd "$work/readme"
    for line in "${readme_lines[@]}"; do
        line=${line#    }
        line=${line//\/opt\/ezu/$quoted_prefix}
        line=${line/#g++/$cxx $flags $static}
        eval "$line"
    done
) || fail "the README's pkg-config lines do not build app.cpp"
mv "$work/readme/app" "$work/readme/app$exe" 2>/dev/null || true
place_dll "$work/readme/app$exe"
check_output "$work/readme/app$exe"
