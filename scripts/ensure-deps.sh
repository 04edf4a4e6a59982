#!/usr/bin/env bash
# Makes sure the tools a build needs are present.
#   ensure-deps.sh native    cmake, ninja, g++, GoogleTest, pkg-config, python3,
#                            the locale sources
#   ensure-deps.sh windows   the above plus mingw-w64 and wine (32- and 64-bit)
#   ensure-deps.sh bench     the native set plus Qt 5 Core, ICU, fmt and
#                            Google Benchmark (the benchmarks' peers)
#   ensure-deps.sh fuzz      the above plus clang and its libFuzzer run-time
#   ensure-deps.sh docs      the native set plus Doxygen (the HTML reference)
# As root it installs what is missing from Debian's packages; otherwise it
# names what is missing and fails.
set -euo pipefail

want_windows=false
want_bench=false
want_fuzz=false
want_docs=false
for arg in "$@"; do
    case "$arg" in
        native) ;;
        windows) want_windows=true ;;
        bench) want_bench=true ;;
        fuzz) want_fuzz=true ;;
        docs) want_docs=true ;;
        *) echo "ensure-deps.sh: unknown set '$arg'" >&2; exit 2 ;;
    esac
done

missing=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

have_cmd cmake || missing+=(cmake)
have_cmd ninja || missing+=(ninja-build)
have_cmd g++ || missing+=(g++)
[ -f /usr/src/googletest/CMakeLists.txt ] || missing+=(googletest)
have_pkg libgtest-dev || missing+=(libgtest-dev)
have_cmd pkg-config || missing+=(pkg-config)
have_cmd python3 || missing+=(python3)
# The sources of the locales the tests make (number text under a "," point).
[ -f /usr/share/i18n/locales/de_DE ] || missing+=(locales)
if $want_windows; then
    have_cmd i686-w64-mingw32-g++ || missing+=(mingw-w64)
    have_cmd x86_64-w64-mingw32-g++ || missing+=(mingw-w64)
    have_cmd wine || missing+=(wine)
    [ -x /usr/lib/wine/wine64 ] || missing+=(wine64)
    have_pkg wine32:i386 || missing+=(wine32:i386)
fi
if $want_bench; then
    for pkg in qtbase5-dev libicu-dev libfmt-dev libbenchmark-dev; do
        have_pkg "$pkg" || missing+=("$pkg")
    done
fi
if $want_fuzz; then
    have_cmd clang++ || missing+=(clang)
    have_pkg libclang-rt-14-dev || missing+=(libclang-rt-14-dev)
fi

if $want_docs; then
    have_cmd doxygen || missing+=(doxygen)
fi

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Install them as root (apt-get install ${missing[*]}; wine32:i386 needs 'dpkg --add-architecture i386' and 'apt-get update' first), or run this command as root." >&2
    exit 1
fi

echo "Installing: ${missing[*]}"
for pkg in "${missing[@]}"; do
    if [[ "$pkg" == *:i386 ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
done
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# mingw-w64 is listed once even when both of its compilers are missing.
mapfile -t missing < <(printf '%s\n' "${missing[@]}" | awk '!seen[$0]++')
apt-get install -y -qq "${missing[@]}" >/dev/null
