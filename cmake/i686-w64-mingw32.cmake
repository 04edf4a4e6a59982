# Cross-compiles for 32-bit Windows with the i686 mingw-w64 tool chain; the
# executables run under wine.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(EZU_MINGW_PREFIX i686-w64-mingw32)
set(EZU_WINE_LOADER_NAMES wine)
# SSE2 (every processor that runs a supported 32-bit Windows has it) lets the
# encoding core convert runs of ASCII sixteen bytes at a time. Floating-point
# math stays on the x87 unit.
set(CMAKE_C_FLAGS_INIT "-msse2")
set(CMAKE_CXX_FLAGS_INIT "-msse2")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
