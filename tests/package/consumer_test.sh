#!/usr/bin/env bash
# Installs a built ezu tree into a temporary prefix, then builds the consumer
# project of consumer/ against it twice, with find_package(ezu CONFIG) and
# with pkg-config, and runs both results and the installed ezutool.
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
    if [ -n "$emulator" ]; then WINEDEBUG=-all "$emulator" "$@"; else "$@"; fi
}
check_output() {
    local got
    got=$(run "$1" | tr -d '\r') || fail "$1 failed"
    [ "$got" = "$expected" ] || fail "$1 printed '$got', expected '$expected'"
    echo "ok: $1"
}

rm -rf "$work"
mkdir -p "$work"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; fail "install"; }
for f in include/ezu/ezu.h include/ezu/platform/platform.h include/ezu/io/ezupath.h \
         include/ezu/host/command.h "bin/ezutool$exe"; do
    [ -f "$prefix/$f" ] || fail "not installed: $f"
done
config=$(find "$prefix" -name ezuConfig.cmake)
pc=$(find "$prefix" -name ezu.pc)
[ -n "$config" ] && [ -f "$(dirname "$config")/ezuConfigVersion.cmake" ] || fail "no CMake package"
[ -n "$pc" ] || fail "no ezu.pc"
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
check_output "$work/readme/app$exe"
